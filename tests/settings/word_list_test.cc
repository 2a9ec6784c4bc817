#include "settings/word_list.h"

#include <errno.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/core/file_error.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedTempDir;
using namespace std::string_literals;
using Entries = std::vector<std::string>;

Entries Load(const std::string& path, bool* opened = nullptr) {
  Entries entries;
  const bool ok =
      LoadWordList(path, [&entries](std::string_view entry) { entries.emplace_back(entry); });
  if (opened != nullptr) *opened = ok;
  return entries;
}

struct LoadCase {
  const char* name;
  std::string file;
  Entries expected;
};

const LoadCase kLoadCases[] = {
    {"empty file", "", {}},
    {"CR LF lines", "socio-\r\nanti-\r\n", {"socio-", "anti-"}},
    {"LF lines", "socio-\nanti-\n", {"socio-", "anti-"}},
    {"last line without a line end", "socio-\r\nanti-", {"socio-", "anti-"}},
    {"empty line is an empty entry", "a-\r\n\r\nb-\r\n", {"a-", "", "b-"}},
    {"only a line end", "\r\n", {""}},
    {"no trimming", "  spaced-  \r\n\tx-\r\n", {"  spaced-  ", "\tx-"}},
    {"0x1A ends the list", "a-\r\nb-\x1A\r\nc-\r\n", {"a-", "b-"}},
    {"0x1A at the start",
     "\x1A"
     "a-\r\n",
     {}},
    {"lone CR dropped", "ab\rc-\n", {"abc-"}},
    {"300-byte line gives 254 and 46",
     std::string(300, 'w') + "\r\n",
     {std::string(254, 'w'), std::string(46, 'w')}},
    {"254-byte line is one entry",
     std::string(254, 'w') + "\r\nx\r\n",
     {std::string(254, 'w'), "x"}},
    {"254-byte line then an empty line",
     std::string(254, 'w') + "\r\n\r\nx\r\n",
     {std::string(254, 'w'), "", "x"}},
    {"508-byte line gives two full entries",
     std::string(508, 'w') + "\r\n",
     {std::string(254, 'w'), std::string(254, 'w')}},
    {"255-byte line leaves its last byte",
     std::string(255, 'w') + "\r\n",
     {std::string(254, 'w'), "w"}},
    {"253 bytes and CR LF", std::string(253, 'w') + "\r\n", {std::string(253, 'w')}},
    {"bytes as typed", "\x95\x5c-\r\ncaf\xc3\xa9-\r\n", {"\x95\x5c-", "caf\xc3\xa9-"}},
    {"duplicates are handed on", "a-\r\na-\r\nA-\r\n", {"a-", "a-", "A-"}},
    {"zero byte ends an entry", "ab\0cd-\r\ne-\r\n"s, {"ab", "e-"}},
};

TEST(WordListTest, Load) {
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    bool opened = false;
    EXPECT_EQ(Load(dir.WriteFile("vintrel.lst", c.file), &opened), c.expected);
    EXPECT_TRUE(opened);
  }
}

TEST(WordListTest, LoadFailsWithoutHandingOnAnything) {
  ScopedTempDir dir;
  struct {
    const char* name;
    std::string path;
    int error;
  } cases[] = {
      {"missing file", dir.Child("missing.lst"), ENOENT},
      {"folder", dir.MakeFolder("folder.lst"), EISDIR},
      {"missing folder", dir.Child("nowhere/vintrel.lst"), ENOENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int error = 0;
    int calls = 0;
    EXPECT_FALSE(LoadWordList(
        c.path, [&calls](std::string_view) { ++calls; }, &error));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(error, c.error);
  }
}

TEST(WordListTest, LoadOfAFileHeldOpenFails) {
  ScopedTempDir dir;
  const std::string path = dir.WriteFile("vintrel.lst", "a-\r\n");
  TextFile holder;
  ASSERT_EQ(holder.Open(path, TextFile::kWrite), 0);
  int error = 0;
  EXPECT_FALSE(LoadWordList(
      path, [](std::string_view) {}, &error));
  EXPECT_EQ(error, EBUSY);
}

TEST(WordListTest, LoadKeepWordsMakesOneKeyPerDistinctEntry) {
  ScopedTempDir dir;
  const std::string path = dir.WriteFile("vintrel.lst", "socio-\r\nSocio-\r\nsocio-\r\n\r\n");
  CMapStringToString map;
  map.SetAt("old-", " ");
  EXPECT_TRUE(LoadKeepWords(path, &map));
  EXPECT_EQ(map.GetCount(), 4u);  // old-, socio-, Socio- and the empty entry
  std::string value;
  EXPECT_TRUE(map.Lookup("socio-", &value));
  EXPECT_EQ(value, " ");
  EXPECT_TRUE(map.Contains("Socio-"));
  EXPECT_TRUE(map.Contains(""));
  EXPECT_TRUE(map.Contains("old-"));

  CMapStringToString untouched;
  int error = 0;
  EXPECT_FALSE(LoadKeepWords(dir.Child("missing.lst"), &untouched, &error));
  EXPECT_TRUE(untouched.IsEmpty());
  EXPECT_EQ(error, ENOENT);
}

struct SaveCase {
  const char* name;
  Entries entries;
  std::string expected;
};

const SaveCase kSaveCases[] = {
    {"no entries give an empty file", {}, ""},
    {"CR LF after each entry", {"anti-", "socio-"}, "anti-\r\nsocio-\r\n"},
    {"empty entry is an empty line", {"a-", "", "b-"}, "a-\r\n\r\nb-\r\n"},
    {"bytes as given", {"\x95\x5c-"}, "\x95\x5c-\r\n"},
    {"longest entry comes back alone",
     {std::string(254, 'w'), "x-"},
     std::string(254, 'w') + "\r\nx-\r\n"},
};

TEST(WordListTest, SaveAndLoadBack) {
  for (const SaveCase& c : kSaveCases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    // An older, longer list is replaced as a whole.
    const std::string path = dir.WriteFile("vintrel.lst", "old-\r\nlonger-\r\nlist-\r\n");
    EXPECT_TRUE(SaveWordList(path, c.entries));
    EXPECT_EQ(ReadFileBytes(path), c.expected);
    EXPECT_EQ(Load(path), c.entries);
  }
}

TEST(WordListTest, SaveCreatesTheFileAndLeavesNoTemporaryBehind) {
  ScopedTempDir dir;
  const std::string path = dir.Child("vintrel.lst");
  EXPECT_TRUE(SaveWordList(path, {"a-"}));
  EXPECT_EQ(ReadFileBytes(path), "a-\r\n");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(WordListTest, SaveKeepsPermissionsAndLinks) {
  ScopedTempDir dir;
  const std::string target = dir.WriteFile("real.lst", "old-\r\n");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  const std::string link = dir.Child("vintrel.lst");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_TRUE(SaveWordList(link, {"new-"}));
  struct stat status;
  ASSERT_EQ(lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(ReadFileBytes(target), "new-\r\n");
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(WordListTest, SaveThatCannotOpenWritesNothing) {
  ScopedTempDir dir;
  struct {
    const char* name;
    std::string path;
    int error;
  } cases[] = {
      {"missing folder", dir.Child("nowhere/vintrel.lst"), ENOENT},
      {"folder", dir.MakeFolder("folder.lst"), EISDIR},
      {"folder part is a file", dir.WriteFile("file", "x") + "/vintrel.lst", ENOTDIR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int error = 0;
    EXPECT_FALSE(SaveWordList(c.path, {"a-"}, &error));
    EXPECT_EQ(error, c.error);
  }
  EXPECT_EQ(ReadFileBytes(dir.Child("file")), "x");
}

TEST(WordListTest, SaveToAReadOnlyFileFails) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
  ScopedTempDir dir;
  const std::string path = dir.WriteFile("vintrel.lst", "old-\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  int error = 0;
  EXPECT_FALSE(SaveWordList(path, {"a-"}, &error));
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(ReadFileBytes(path), "old-\r\n");
}

// A write error in the middle of a save (here: the file size limit) names the list and
// leaves the old list whole.
TEST(WordListTest, WriteErrorKeepsTheOldList) {
  ScopedTempDir dir;
  const std::string path = dir.WriteFile("vintrel.lst", "old-\r\n");
  const Entries entries(100, std::string(200, 'w'));
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction old_action;
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &old_action), 0);
  struct rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  struct rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  try {
    SaveWordList(path, entries);
    ADD_FAILURE() << "no FileError";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), path);
    EXPECT_EQ(error.error_number(), EFBIG);
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &old_action, nullptr);
  EXPECT_EQ(ReadFileBytes(path), "old-\r\n");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace vintrel
