#ifndef VINTREL_SETTINGS_SETTINGS_STORE_H_
#define VINTREL_SETTINGS_SETTINGS_STORE_H_

#include <string>
#include <string_view>

#include "engine/convert_file.h"

namespace vintrel {

class Profile;

// Every entry of the profile that the program reads or writes, with its section, its name
// and its default. Names are matched without regard to case by the profile, so `Outdir`
// and `OutDir`, `FileName` and `Filename` are the same entries.
//
// Settings are never cached: each reader below reads the profile file at the moment it is
// called, so a value stored by a dialog takes effect at the next read.

// An entry read and written as a signed decimal integer.
struct IntEntry {
  std::string_view section;
  std::string_view name;
  int default_value;
};

// An entry read and written as text.
struct TextEntry {
  std::string_view section;
  std::string_view name;
  std::string_view default_value;
};

inline constexpr std::string_view kSectionDefault = "Default";
inline constexpr std::string_view kSectionFilename = "Filename";
inline constexpr std::string_view kSectionRegist = "Regist";
inline constexpr std::string_view kSectionInitial = "Initial";

// Section Default: the conversion options. DelAll and DelColumn count as set only when
// they hold exactly 1; DelSpac3 counts as set whenever it is not 0.
inline constexpr IntEntry kDelAll{kSectionDefault, "DelAll", 0};
inline constexpr IntEntry kDelColumn{kSectionDefault, "DelColumn", 0};
inline constexpr IntEntry kColumn{kSectionDefault, "Column", 4};         // read by a run
inline constexpr TextEntry kColumnText{kSectionDefault, "Column", "4"};  // the dialog
inline constexpr IntEntry kDelSpac3{kSectionDefault, "DelSpac3", 0};
// The default extension of output files, with its dot. Output naming falls back on ".TXT",
// the dialogs show ".txt" when the entry is missing.
inline constexpr TextEntry kExtForNaming{kSectionDefault, "Ext", ".TXT"};
inline constexpr TextEntry kExtForDialogs{kSectionDefault, "Ext", ".txt"};

// Section Filename: the collision policy of output names.
inline constexpr IntEntry kMode{kSectionFilename, "Mode", 0};

// Section Regist: the output folder, a plain prefix of output names; empty when none.
inline constexpr TextEntry kOutDir{kSectionRegist, "OutDir", ""};

// Section Initial: the filter the main form starts with and up to ten more filters
// (UserDef1 to UserDef10); an empty one is left out by the form.
inline constexpr TextEntry kInitialFilter{kSectionInitial, "Filename", "*.*"};
inline constexpr int kUserFilterCount = 10;

// Reads ENTRY from PROFILE; its default when the entry or the file is missing.
int ReadEntry(const Profile& profile, const IntEntry& entry);
std::string ReadEntry(const Profile& profile, const TextEntry& entry);

// Stores VALUE as ENTRY. False when the profile file could not be written (it is then
// unchanged); the window program ignores the result.
bool WriteEntry(Profile& profile, const IntEntry& entry, int value);
bool WriteEntry(Profile& profile, const TextEntry& entry, std::string_view value);

// The run options: the leading-blank mode (DelAll exactly 1 gives LeadDelAll, otherwise
// DelColumn exactly 1 gives LeadDelColumn, otherwise LeadKeep), the column count (Column as
// an integer, default 4; a negative count reads as 0) and blank collapsing (DelSpac3 not 0).
ConvertOptions ReadConvertOptions(const Profile& profile);

// The default extension for output naming (".TXT" when missing).
std::string ReadOutputExt(const Profile& profile);
// The default extension as the options and confirmation dialogs show it (".txt" when
// missing).
std::string ReadDialogExt(const Profile& profile);

// The collision policy: 1 (ask) and 2 (overwrite) as stored, every other value 0 (search a
// free numbered name).
int ReadCollisionMode(const Profile& profile);

// The output folder as stored (empty when none).
std::string ReadOutDir(const Profile& profile);

// The column count as text, as the options dialog shows and stores it ("4" when missing).
std::string ReadColumnText(const Profile& profile);

// The filter the main form starts with ("*.*" when missing).
std::string ReadInitialFilter(const Profile& profile);

// The name of the user filter entry NUMBER: "UserDef1" to "UserDef10".
std::string UserFilterEntryName(int number);
// User filter NUMBER (1 to kUserFilterCount), empty when missing; empty for other numbers.
std::string ReadUserFilter(const Profile& profile, int number);

}  // namespace vintrel

#endif  // VINTREL_SETTINGS_SETTINGS_STORE_H_
