#include "settings/settings_store.h"

#include "platform/core/profile.h"

namespace vintrel {

int ReadEntry(const Profile& profile, const IntEntry& entry) {
  return profile.GetProfileInt(entry.section, entry.name, entry.default_value);
}

std::string ReadEntry(const Profile& profile, const TextEntry& entry) {
  return profile.GetProfileString(entry.section, entry.name, entry.default_value);
}

bool WriteEntry(Profile& profile, const IntEntry& entry, int value) {
  return profile.WriteProfileInt(entry.section, entry.name, value);
}

bool WriteEntry(Profile& profile, const TextEntry& entry, std::string_view value) {
  return profile.WriteProfileString(entry.section, entry.name, value);
}

ConvertOptions ReadConvertOptions(const Profile& profile) {
  ConvertOptions options;
  if (ReadEntry(profile, kDelAll) == 1) {
    options.lead_mode = LeadDelAll;
  } else if (ReadEntry(profile, kDelColumn) == 1) {
    options.lead_mode = LeadDelColumn;
  } else {
    options.lead_mode = LeadKeep;
  }
  const int column = ReadEntry(profile, kColumn);
  options.column = column < 0 ? 0 : column;
  options.collapse_spaces = ReadEntry(profile, kDelSpac3) != 0;
  return options;
}

std::string ReadOutputExt(const Profile& profile) { return ReadEntry(profile, kExtForNaming); }

std::string ReadDialogExt(const Profile& profile) { return ReadEntry(profile, kExtForDialogs); }

int ReadCollisionMode(const Profile& profile) {
  const int mode = ReadEntry(profile, kMode);
  return mode == 1 || mode == 2 ? mode : 0;
}

std::string ReadOutDir(const Profile& profile) { return ReadEntry(profile, kOutDir); }

std::string ReadColumnText(const Profile& profile) { return ReadEntry(profile, kColumnText); }

std::string ReadInitialFilter(const Profile& profile) { return ReadEntry(profile, kInitialFilter); }

std::string UserFilterEntryName(int number) { return "UserDef" + std::to_string(number); }

std::string ReadUserFilter(const Profile& profile, int number) {
  if (number < 1 || number > kUserFilterCount) return std::string();
  const std::string name = UserFilterEntryName(number);
  return profile.GetProfileString(kSectionInitial, name, "");
}

}  // namespace vintrel
