// Fuzzes the profile store and the settings readers. The bytes are a profile file (and,
// behind the last 0xFF byte, a value to write). Every entry of the settings is looked up,
// the readers must give values in their ranges, and a written value must read back as
// written while every other entry keeps its value. The profile is kept in memory: the rules
// are those of a profile file, without a file system below them.

#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/profile.h"
#include "platform/core/profile_text.h"
#include "settings/settings_store.h"

namespace {

// The entries the program reads, other than the one written.
std::vector<std::pair<std::string, std::string>> OtherEntries() {
  std::vector<std::pair<std::string, std::string>> entries = {
      {"Default", "DelAll"},   {"Default", "DelColumn"}, {"Default", "Column"},
      {"Default", "DelSpac3"}, {"Default", "Ext"},       {"Filename", "Mode"},
      {"Initial", "Filename"},
  };
  for (int i = 1; i <= vintrel::kUserFilterCount; ++i) {
    entries.emplace_back("Initial", vintrel::UserFilterEntryName(i));
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const size_t split = raw.rfind('\xff');
  const std::string_view file = split == std::string_view::npos ? raw : raw.substr(0, split);
  const std::string_view value =
      split == std::string_view::npos ? std::string_view() : raw.substr(split + 1);

  // The parser alone.
  const std::string text = vintrel::TextModeBytes(file);
  std::string found;
  for (const auto& [section, entry] : OtherEntries()) {
    if (vintrel::ProfileLookup(text, section, entry, &found)) {
      if (found.size() > vintrel::kProfileValueLimit) abort();
      (void)vintrel::ProfileIntFromValue(found);
    }
  }

  // The settings store over the bytes as a profile in memory.
  std::string bytes(file);
  vintrel::Profile profile = vintrel::Profile::InMemory(&bytes);
  const vintrel::ConvertOptions options = vintrel::ReadConvertOptions(profile);
  if (options.lead_mode < vintrel::LeadKeep || options.lead_mode > vintrel::LeadDelColumn) abort();
  if (options.column < 0) abort();
  const int mode = vintrel::ReadCollisionMode(profile);
  if (mode < 0 || mode > 2) abort();

  std::vector<std::string> before;
  for (const auto& [section, entry] : OtherEntries()) {
    before.push_back(profile.GetProfileString(section, entry, "(missing)"));
  }

  // A value reads back as written, cut where a line of the file must end (CR, LF, or the
  // 0x1A that ends a text file) and at the length limit; nothing else changes.
  if (!profile.WriteProfileString("Regist", "OutDir", value)) abort();
  std::string expected(value.substr(0, value.find_first_of("\r\n\x1a")));
  if (expected.size() > vintrel::kProfileValueLimit) expected.resize(vintrel::kProfileValueLimit);
  if (vintrel::ReadOutDir(profile) != expected) abort();
  size_t i = 0;
  for (const auto& [section, entry] : OtherEntries()) {
    if (profile.GetProfileString(section, entry, "(missing)") != before[i++]) abort();
  }
  return 0;
}
