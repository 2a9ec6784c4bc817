#include "settings/settings_store.h"

#include <string>

#include "gtest/gtest.h"
#include "platform/core/profile.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedTempDir;

struct OptionsCase {
  const char* name;
  std::string profile;  // file text; "(none)" for no file at all
  int lead_mode;
  int column;
  bool collapse;
};

const OptionsCase kOptionsCases[] = {
    {"no profile file", "(none)", LeadKeep, 4, false},
    {"empty file", "", LeadKeep, 4, false},
    {"DelAll set", "[Default]\r\nDelAll=1\r\n", LeadDelAll, 4, false},
    {"DelColumn set", "[Default]\r\nDelColumn=1\r\nColumn=6\r\n", LeadDelColumn, 6, false},
    {"DelAll wins over DelColumn", "[Default]\r\nDelColumn=1\r\nDelAll=1\r\n", LeadDelAll, 4,
     false},
    {"DelAll 2 is not set", "[Default]\r\nDelAll=2\r\n", LeadKeep, 4, false},
    {"DelAll 2 leaves DelColumn", "[Default]\r\nDelAll=2\r\nDelColumn=1\r\n", LeadDelColumn, 4,
     false},
    {"DelColumn 2 is not set", "[Default]\r\nDelColumn=2\r\n", LeadKeep, 4, false},
    {"DelAll -1 is not set", "[Default]\r\nDelAll=-1\r\n", LeadKeep, 4, false},
    {"DelSpac3 1", "[Default]\r\nDelSpac3=1\r\n", LeadKeep, 4, true},
    {"DelSpac3 2 collapses", "[Default]\r\nDelSpac3=2\r\n", LeadKeep, 4, true},
    {"DelSpac3 -7 collapses", "[Default]\r\nDelSpac3=-7\r\n", LeadKeep, 4, true},
    {"DelSpac3 0", "[Default]\r\nDelSpac3=0\r\n", LeadKeep, 4, false},
    {"Column 12", "[Default]\r\nColumn=12\r\n", LeadKeep, 12, false},
    {"Column 0", "[Default]\r\nColumn=0\r\n", LeadKeep, 0, false},
    {"negative Column reads as 0", "[Default]\r\nColumn=-5\r\n", LeadKeep, 0, false},
    {"Column of letters reads as 0", "[Default]\r\nColumn=abc\r\n", LeadKeep, 0, false},
    {"Column with a tail", "[Default]\r\nColumn=8 cols\r\n", LeadKeep, 8, false},
    {"empty Column is the default", "[Default]\r\nColumn=\r\n", LeadKeep, 4, false},
    {"names without regard to case", "[DEFAULT]\r\ndelall=1\r\nDELSPAC3=1\r\n", LeadDelAll, 4,
     true},
    {"other section does not count", "[Initial]\r\nDelAll=1\r\n", LeadKeep, 4, false},
    {"LF line ends", "[Default]\nDelColumn=1\nColumn=2\n", LeadDelColumn, 2, false},
};

TEST(SettingsStoreTest, ConvertOptionsFromProfile) {
  for (const OptionsCase& c : kOptionsCases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    std::string path = dir.Child("vintrel.INI");
    if (std::string(c.profile) != "(none)") dir.WriteFile("vintrel.INI", c.profile);
    const ConvertOptions options = ReadConvertOptions(Profile(path));
    EXPECT_EQ(options.lead_mode, c.lead_mode);
    EXPECT_EQ(options.column, c.column);
    EXPECT_EQ(options.collapse_spaces, c.collapse);
  }
}

struct TextCase {
  const char* name;
  std::string profile;
  std::string output_ext;
  std::string dialog_ext;
  int mode;
  std::string out_dir;
  std::string column_text;
  std::string initial_filter;
};

const TextCase kTextCases[] = {
    {"defaults", "", ".TXT", ".txt", 0, "", "4", "*.*"},
    {"stored values",
     "[Default]\r\nExt=.out\r\nColumn=12\r\n[Filename]\r\nMode=1\r\n"
     "[Regist]\r\nOutDir=/tmp/out/\r\n[Initial]\r\nFilename=*.txt\r\n",
     ".out", ".out", 1, "/tmp/out/", "12", "*.txt"},
    {"Mode 2", "[Filename]\r\nMode=2\r\n", ".TXT", ".txt", 2, "", "4", "*.*"},
    {"Mode 7 acts as 0", "[Filename]\r\nMode=7\r\n", ".TXT", ".txt", 0, "", "4", "*.*"},
    {"Mode -1 acts as 0", "[Filename]\r\nMode=-1\r\n", ".TXT", ".txt", 0, "", "4", "*.*"},
    {"section FILENAME in capitals", "[FILENAME]\r\nmode=1\r\n", ".TXT", ".txt", 1, "", "4", "*.*"},
    {"Outdir as the dialog spells it", "[Regist]\r\nOutdir=out/\r\n", ".TXT", ".txt", 0, "out/",
     "4", "*.*"},
    {"Column text kept as typed", "[Default]\r\nColumn=abc\r\n", ".TXT", ".txt", 0, "", "abc",
     "*.*"},
    {"empty Ext stays empty", "[Default]\r\nExt=\r\n", "", "", 0, "", "4", "*.*"},
};

TEST(SettingsStoreTest, TextEntriesAndMode) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    const Profile profile(dir.WriteFile("vintrel.INI", c.profile));
    EXPECT_EQ(ReadOutputExt(profile), c.output_ext);
    EXPECT_EQ(ReadDialogExt(profile), c.dialog_ext);
    EXPECT_EQ(ReadCollisionMode(profile), c.mode);
    EXPECT_EQ(ReadOutDir(profile), c.out_dir);
    EXPECT_EQ(ReadColumnText(profile), c.column_text);
    EXPECT_EQ(ReadInitialFilter(profile), c.initial_filter);
  }
}

TEST(SettingsStoreTest, UserFilters) {
  ScopedTempDir dir;
  std::string text = "[Initial]\r\n";
  for (int i = 1; i <= 11; ++i) {
    if (i == 4) continue;
    text += "UserDef" + std::to_string(i) + "=*.f" + std::to_string(i) + "\r\n";
  }
  const Profile profile(dir.WriteFile("vintrel.INI", text));
  EXPECT_EQ(UserFilterEntryName(1), "UserDef1");
  EXPECT_EQ(UserFilterEntryName(10), "UserDef10");
  EXPECT_EQ(ReadUserFilter(profile, 1), "*.f1");
  EXPECT_EQ(ReadUserFilter(profile, 4), "");
  EXPECT_EQ(ReadUserFilter(profile, 10), "*.f10");
  // Only ten of them exist for the program.
  EXPECT_EQ(ReadUserFilter(profile, 11), "");
  EXPECT_EQ(ReadUserFilter(profile, 0), "");
}

// Nothing is cached: a value written between two reads is seen by the second.
TEST(SettingsStoreTest, WritesTakeEffectAtTheNextRead) {
  ScopedTempDir dir;
  Profile profile(dir.Child("vintrel.INI"));
  EXPECT_EQ(ReadConvertOptions(profile).lead_mode, LeadKeep);
  EXPECT_TRUE(WriteEntry(profile, kDelColumn, 1));
  EXPECT_TRUE(WriteEntry(profile, kColumnText, "7"));
  EXPECT_TRUE(WriteEntry(profile, kDelSpac3, 1));
  ConvertOptions options = ReadConvertOptions(profile);
  EXPECT_EQ(options.lead_mode, LeadDelColumn);
  EXPECT_EQ(options.column, 7);
  EXPECT_TRUE(options.collapse_spaces);

  // Another writer of the same file (the options dialog's own Profile object).
  Profile other(dir.Child("vintrel.INI"));
  EXPECT_TRUE(WriteEntry(other, kDelAll, 1));
  EXPECT_TRUE(WriteEntry(other, TextEntry{kSectionRegist, "Outdir", ""}, "/x/"));
  EXPECT_EQ(ReadConvertOptions(profile).lead_mode, LeadDelAll);
  EXPECT_EQ(ReadOutDir(profile), "/x/");
  EXPECT_EQ(ReadEntry(profile, kColumn), 7);
}

}  // namespace
}  // namespace vintrel
