#include "platform/core/profile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedTempDir;

// The bytes of PATH when it is a regular file; empty otherwise.
std::string FileBytesIfAny(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::string();
  return ReadFileBytes(path);
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (struct dirent* e = readdir(dir)) {
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    }
    closedir(dir);
  }
  return names;
}

TEST(ProfileTest, ReadsWithDefaults) {
  struct Case {
    const char* name;
    const char* file;          // null: no file
    int int_value;             // read with default -7
    const char* string_value;  // read with default "dflt"
  };
  const Case cases[] = {
      {"no file", nullptr, -7, "dflt"},
      {"no section", "[Other]\r\nE=5\r\n", -7, "dflt"},
      {"no entry", "[S]\r\nF=5\r\n", -7, "dflt"},
      {"empty value", "[S]\r\nE=\r\n", -7, ""},
      {"blank value", "[S]\r\nE=   \r\n", -7, ""},
      {"number", "[S]\r\nE=12\r\n", 12, "12"},
      {"junk is 0", "[S]\r\nE=abc\r\n", 0, "abc"},
      {"LF-only file", "[S]\nE=3\n", 3, "3"},
      {"lone CRs dropped", "[S]\r\nE=1\r2\r\n", 12, "12"},
      {"0x1A ends the file",
       "[S]\r\n\x1a"
       "E=4\r\n",
       -7, "dflt"},
      {"names in other case", "[s]\r\ne=9\r\n", 9, "9"},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.Child("p.INI");
    unlink(path.c_str());
    if (c.file != nullptr) dir.WriteFile("p.INI", c.file);
    Profile profile(path);
    EXPECT_EQ(profile.GetProfileInt("S", "E", -7), c.int_value);
    EXPECT_EQ(profile.GetProfileString("S", "E", "dflt"), c.string_value);
  }
}

TEST(ProfileTest, WritesKeepTheRestAndEndLinesWithCrLf) {
  ScopedTempDir dir;
  std::string path = dir.WriteFile("vintrel.INI",
                                   "; kept comment\n[Recent File List]\nFile1=C:\\A.TXT\n\n"
                                   "[Default]\nDelAll=0\n");
  Profile profile(path);
  EXPECT_TRUE(profile.WriteProfileInt("default", "DELALL", 1));
  EXPECT_TRUE(profile.WriteProfileString("Regist", "Outdir", "/out/"));
  EXPECT_TRUE(profile.WriteProfileInt("Default", "DelSpac3", -3));
  EXPECT_EQ(ReadFileBytes(path),
            "; kept comment\r\n[Recent File List]\r\nFile1=C:\\A.TXT\r\n\r\n"
            "[Default]\r\nDelAll=1\r\nDelSpac3=-3\r\n[Regist]\r\nOutdir=/out/\r\n");
  EXPECT_EQ(profile.GetProfileString("Regist", "OutDir", "x"), "/out/");
  EXPECT_EQ(profile.GetProfileInt("DEFAULT", "delspac3", 0), -3);
}

// A byte 0x1A ends a text-mode read of the whole file, so a write must never store one:
// every entry behind it would vanish for every later read.
TEST(ProfileTest, WrittenTextNeverEndsTheFileEarly) {
  struct Case {  // \032 is the byte 0x1A
    const char* name;
    std::string section;  // written
    std::string entry;
    std::string value;
    const char* read_section;  // what reads back, and where
    const char* read_entry;
    const char* read_value;
  };
  const Case cases[] = {
      {"value", "Regist", "OutDir", "a\032b", "Regist", "OutDir", "a"},
      {"value of only 0x1A", "Regist", "OutDir", "\x1a", "Regist", "OutDir", ""},
      {"entry name", "Regist", "Out\032Dir", "/x/", "Regist", "Out", "/x/"},
      {"section name", "Reg\032ist", "OutDir", "/y/", "Reg", "OutDir", "/y/"},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path =
        dir.WriteFile("vintrel.INI", "[Regist]\r\nOutDir=/old/\r\n[Initial]\r\nUserDef1=*.TXT\r\n");
    Profile profile(path);
    ASSERT_TRUE(profile.WriteProfileString(c.section, c.entry, c.value));
    EXPECT_EQ(ReadFileBytes(path).find('\x1a'), std::string::npos);
    EXPECT_EQ(profile.GetProfileString(c.read_section, c.read_entry, "(missing)"), c.read_value);
    EXPECT_EQ(profile.GetProfileString("Initial", "UserDef1", "(missing)"), "*.TXT");
  }
}

TEST(ProfileTest, EveryReadSeesTheFileAsItIsNow) {
  ScopedTempDir dir;
  std::string path = dir.Child("p.INI");
  Profile reader(path);
  Profile writer(path);
  EXPECT_EQ(reader.GetProfileInt("Filename", "Mode", 0), 0);
  writer.WriteProfileInt("Filename", "Mode", 2);
  EXPECT_EQ(reader.GetProfileInt("FileName", "Mode", 0), 2);
  dir.WriteFile("p.INI", "[Filename]\r\nMode=1\r\n");
  EXPECT_EQ(reader.GetProfileInt("FileName", "Mode", 0), 1);
  unlink(path.c_str());
  EXPECT_EQ(reader.GetProfileInt("FileName", "Mode", 0), 0);
}

// A profile in memory follows the same rules as one over a file of the same bytes: every
// read gives the same value and every write leaves the same bytes, one step after another.
TEST(ProfileTest, InMemoryActsAsAFileOfTheSameBytes) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"LF lines, lone CRs, comment",
       "; note\n[Default]\nDelAll=1\r\nExt=.d\roc\n\n[regist]\nOutDir = \"/o/ \"\n"},
      {"0x1A ends the text", "[Filename]\r\nMode=1\r\n\x1a[Regist]\r\nOutDir=/hidden/\r\n"},
      {"twice the same section", "[Default]\nColumn=3\n[Default]\nColumn=9\nDelSpac3=2\n"},
      {"no line break at the end", "[Initial]\nUserDef1=*.TXT"},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.WriteFile("vintrel.INI", c.bytes);
    Profile on_file(path);
    std::string bytes = c.bytes;
    Profile in_memory = Profile::InMemory(&bytes);
    EXPECT_EQ(in_memory.path(), "");
    auto same_reads = [&] {
      for (const char* entry :
           {"DelAll", "Column", "DelSpac3", "Ext", "Mode", "OutDir", "UserDef1", "Missing"}) {
        for (const char* section : {"Default", "Filename", "Regist", "Initial"}) {
          EXPECT_EQ(in_memory.GetProfileString(section, entry, "(none)"),
                    on_file.GetProfileString(section, entry, "(none)"))
              << section << "/" << entry;
          EXPECT_EQ(in_memory.GetProfileInt(section, entry, -5),
                    on_file.GetProfileInt(section, entry, -5))
              << section << "/" << entry;
        }
      }
    };
    same_reads();
    for (Profile* profile : {&on_file, &in_memory}) {
      EXPECT_TRUE(profile->WriteProfileInt("Default", "column", 7));
      EXPECT_TRUE(profile->WriteProfileString("Regist", "OutDir", " /new/\r\ncut"));
      EXPECT_TRUE(profile->WriteProfileString("New", "Entry", "\"quoted\""));
    }
    EXPECT_EQ(bytes, ReadFileBytes(path));
    same_reads();
  }
}

TEST(ProfileTest, NewFileAndMissingFolders) {
  ScopedTempDir dir;
  std::string path = dir.Child("a/b/vintrel.INI");
  mode_t old_mask = umask(022);
  EXPECT_TRUE(Profile(path).WriteProfileString("Default", "Ext", ".txt"));
  umask(old_mask);
  EXPECT_EQ(ReadFileBytes(path), "[Default]\r\nExt=.txt\r\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ASSERT_EQ(stat(dir.Child("a").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(FolderNames(dir.Child("a/b")), std::vector<std::string>{"vintrel.INI"})
      << "no temporary file is left behind";
}

TEST(ProfileTest, ReplacementKeepsPermissionsAndLinks) {
  ScopedTempDir dir;
  std::string target = dir.WriteFile("real/p.INI", "[A]\r\nx=1\r\n");
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  std::string link = dir.Child("link.INI");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_TRUE(Profile(link).WriteProfileInt("A", "x", 2));
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link must stay a link";
  EXPECT_EQ(ReadFileBytes(target), "[A]\r\nx=2\r\n");
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(FolderNames(dir.Child("real")), std::vector<std::string>{"p.INI"});
}

TEST(ProfileTest, FailedWriteLeavesTheOldFile) {
  ScopedTempDir dir;
  struct Case {
    const char* name;
    std::string path;
    bool needs_user;  // root could write anyway
    void (*prepare)(const std::string& path);
    void (*restore)(const std::string& path);
  };
  const Case cases[] = {
      {"folder below a regular file", dir.WriteFile("plain", "") + "/vintrel.INI", false, nullptr,
       nullptr},
      {"profile is a folder", dir.MakeFolder("folder.INI"), false, nullptr, nullptr},
      {"unwritable folder", dir.WriteFile("locked/p.INI", "[A]\r\nx=1\r\n"), true,
       [](const std::string& p) { chmod(p.substr(0, p.rfind('/')).c_str(), 0500); },
       [](const std::string& p) { chmod(p.substr(0, p.rfind('/')).c_str(), 0700); }},
      {"unreadable profile", dir.WriteFile("secret/p.INI", "[A]\r\nx=1\r\n"), true,
       [](const std::string& p) { chmod(p.c_str(), 0200); },
       [](const std::string& p) { chmod(p.c_str(), 0600); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_user && geteuid() == 0) continue;  // root may write anywhere
    std::string before = FileBytesIfAny(c.path);
    if (c.prepare) c.prepare(c.path);
    EXPECT_FALSE(Profile(c.path).WriteProfileInt("A", "x", 2));
    if (c.restore) c.restore(c.path);
    EXPECT_EQ(FileBytesIfAny(c.path), before);
    std::string folder = c.path.substr(0, c.path.rfind('/'));
    for (const std::string& name : FolderNames(folder)) {
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << name << " left behind";
    }
  }
}

}  // namespace
}  // namespace vintrel
