#ifndef VINTREL_PLATFORM_CORE_STRING_MAP_H_
#define VINTREL_PLATFORM_CORE_STRING_MAP_H_

#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vintrel {

// A map from byte strings to byte strings. Keys compare exactly, byte for byte (case
// matters). Lookups by string_view never allocate. Not thread-safe.
class CMapStringToString {
 public:
  CMapStringToString() = default;
  // BLOCK_SIZE is a growth hint of the original container; it is accepted and ignored.
  explicit CMapStringToString(int block_size) { (void)block_size; }

  // Sets the value of KEY, adding the key when it is missing.
  void SetAt(std::string_view key, std::string_view value);
  // True when KEY is present; then copies its value to *VALUE unless VALUE is null.
  bool Lookup(std::string_view key, std::string* value) const;
  // True when KEY is present.
  bool Contains(std::string_view key) const {
    return MayContain(key) && map_.find(key) != map_.end();
  }
  // Removes KEY; true when it was present.
  bool RemoveKey(std::string_view key);
  void RemoveAll() {
    map_.clear();
    lengths_ = 0;
    for (uint64_t& bits : first_bytes_) bits = 0;
  }
  size_t GetCount() const { return map_.size(); }
  bool IsEmpty() const { return map_.empty(); }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  // False when no key can equal KEY, by its length and its first byte: most lookups end
  // here without hashing. Keys added set bits; removing a key leaves them (still true).
  bool MayContain(std::string_view key) const {
    if ((lengths_ >> (key.size() < 63 ? key.size() : 63) & 1) == 0) return false;
    if (key.empty()) return true;
    const unsigned char first = static_cast<unsigned char>(key[0]);
    return (first_bytes_[first >> 6] >> (first & 63) & 1) != 0;
  }

  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> map_;
  uint64_t lengths_ = 0;          // bit N: a key of N bytes (63: of 63 or more)
  uint64_t first_bytes_[4] = {};  // bit B: a key that starts with the byte B
};

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_STRING_MAP_H_
