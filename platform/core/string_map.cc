#include "platform/core/string_map.h"

namespace vintrel {

void CMapStringToString::SetAt(std::string_view key, std::string_view value) {
  auto it = map_.find(key);
  if (it != map_.end()) {
    it->second.assign(value);
  } else {
    map_.emplace(std::string(key), std::string(value));
    lengths_ |= uint64_t{1} << (key.size() < 63 ? key.size() : 63);
    if (!key.empty()) {
      const unsigned char first = static_cast<unsigned char>(key[0]);
      first_bytes_[first >> 6] |= uint64_t{1} << (first & 63);
    }
  }
}

bool CMapStringToString::Lookup(std::string_view key, std::string* value) const {
  if (!MayContain(key)) return false;
  auto it = map_.find(key);
  if (it == map_.end()) return false;
  if (value != nullptr) *value = it->second;
  return true;
}

bool CMapStringToString::RemoveKey(std::string_view key) {
  auto it = map_.find(key);
  if (it == map_.end()) return false;
  map_.erase(it);
  return true;
}

}  // namespace vintrel
