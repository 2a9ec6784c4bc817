#include "platform/core/dir_list.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedTempDir;

TEST(MatchesDosPatternTest, WildcardRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.*", "readme.txt", true},
      {"*.*", "Makefile", true},
      {"*.*", "a.b.c", true},
      {"*.*", ".", true},
      {"*.*", "..", true},
      {"*", "anything.at.all", true},
      {"*.txt", "notes.txt", true},
      {"*.txt", "NOTES.TXT", true},
      {"*.TXT", "notes.txt", true},
      {"*.txt", "notes.txt.bak", false},
      {"*.txt", "notestxt", false},
      {"*.txt", "a.b.txt", true},
      {"*.txt", ".txt", true},
      {"readme.txt", "README.TXT", true},
      {"readme.txt", "readme.txt2", false},
      {"readme.txt", "readme.tx", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"a?c", "a.c", true},
      {"a??.txt", "a.txt", true},
      {"a??.txt", "ab.txt", true},
      {"a??.txt", "abc.txt", true},
      {"a??.txt", "abcd.txt", false},
      {"???", "ab", true},
      {"???", "abcd", false},
      {"report.?", "report.c", true},
      {"report.?", "report.", true},
      {"report.*", "report", true},
      {"report.*", "report.doc", true},
      {"report.*", "reporter", false},
      {"*.", "Makefile", true},
      {"*.", "notes.txt", false},
      {"*.", "a.b", false},
      {"*.txt", "a.txt.txt", true},
      {"*.*", "a.", true},
      {"a*.", "a.", true},
      {"x.y", "x", false},
      {"abc.", "abc", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
      {"\xe3\x81\x82*.txt", "\xe3\x81\x82\xe3\x81\x84.TXT", true},
      {"\xe3\x81\x82*.txt", "\xe3\x81\x83.txt", false},
      {"*.[ch]", "x.c", false},
      {"*.[ch]", "x.[ch]", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
    EXPECT_EQ(MatchesDosPattern(c.pattern, c.name), c.matches);
  }
}

std::map<std::string, int> AsMap(const std::vector<DirEntry>& entries) {
  std::map<std::string, int> map;
  for (const DirEntry& e : entries) {
    EXPECT_EQ(map.count(e.name), 0u) << e.name << " listed twice";
    map[e.name] = e.attributes;
  }
  return map;
}

// A folder with one entry of every kind.
class DirListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.folder() + "tree/";
    dir_.MakeFolder("tree/sub");
    dir_.WriteFile("tree/sub/inner.txt", "x");
    dir_.WriteFile("tree/a.txt", "a");
    dir_.WriteFile("tree/Readme.TXT", "r");
    std::string read_only = dir_.WriteFile("tree/ro.txt", "ro");
    chmod(read_only.c_str(), 0444);
    dir_.WriteFile("tree/.hidden", "h");
    dir_.MakeFolder("tree/.hiddendir");
    mkfifo((root_ + "pipe").c_str(), 0644);
    symlink((root_ + "nowhere").c_str(), (root_ + "dangling").c_str());
    symlink((root_ + "sub").c_str(), (root_ + "folderlink").c_str());
    symlink((root_ + "a.txt").c_str(), (root_ + "filelink").c_str());
    socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::string socket_path = root_ + "sock";
    if (socket_path.size() < sizeof address.sun_path) {
      socket_path.copy(address.sun_path, socket_path.size());
      bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
  }
  void TearDown() override { close(socket_); }

  const std::map<std::string, int> kEveryEntry = {
      {".", 16},          {"..", 16},       {"sub", 16},       {"a.txt", 32}, {"Readme.TXT", 32},
      {"ro.txt", 33},     {".hidden", 2},   {".hiddendir", 2}, {"pipe", 4},   {"dangling", 32},
      {"folderlink", 16}, {"filelink", 32}, {"sock", 4},
  };

  ScopedTempDir dir_;
  std::string root_;
  int socket_ = -1;
};

TEST_F(DirListTest, AttributeBytesOfEveryKind) {
  EXPECT_EQ(AsMap(ListDirectory(root_ + "*.*")), kEveryEntry);
  for (const auto& [name, attributes] : kEveryEntry) {
    SCOPED_TRACE(name);
    EXPECT_EQ(AttributesOf(root_, name), attributes);
  }
  EXPECT_EQ(AttributesOf(root_, "missing"), 0);
}

TEST_F(DirListTest, PatternForms) {
  const std::map<std::string, int> sub_entries = {{".", 16}, {"..", 16}, {"inner.txt", 32}};
  struct Case {
    const char* name;
    std::string pattern;
    std::map<std::string, int> entries;
  };
  const Case cases[] = {
      {"folder with slash", root_, kEveryEntry},
      {"folder with star", root_ + "*", kEveryEntry},
      {"existing folder without wildcards", root_ + "sub", sub_entries},
      {"linked folder without wildcards", root_ + "folderlink", sub_entries},
      {"extension", root_ + "*.txt", {{"a.txt", 32}, {"Readme.TXT", 32}, {"ro.txt", 33}}},
      {"name in other case", root_ + "README.txt", {{"Readme.TXT", 32}}},
      {"name in its own case", root_ + "a.txt", {{"a.txt", 32}}},
      {"upper-cased candidate", root_ + "A.TXT", {{"a.txt", 32}}},
      {"question marks", root_ + "?.txt", {{"a.txt", 32}}},
      {"hidden names match too", root_ + ".h*", {{".hidden", 2}, {".hiddendir", 2}}},
      {"no match", root_ + "*.doc", {}},
      {"missing folder", root_ + "none/*.*", {}},
      {"folder part is a file", root_ + "a.txt/*.*", {}},
      {"too long", root_ + std::string(PATH_MAX, 'x') + "/*.*", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AsMap(ListDirectory(c.pattern)), c.entries);
  }
}

TEST_F(DirListTest, OrderIsTheSystemOrder) {
  std::vector<std::string> system_order;
  DIR* dir = opendir(root_.c_str());
  ASSERT_NE(dir, nullptr);
  while (struct dirent* e = readdir(dir)) system_order.emplace_back(e->d_name);
  closedir(dir);
  std::vector<std::string> listed;
  for (const DirEntry& e : ListDirectory(root_)) listed.push_back(e.name);
  EXPECT_EQ(listed, system_order);
}

TEST_F(DirListTest, RelativePatternsUseTheCurrentFolder) {
  char old[PATH_MAX];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(root_.c_str()), 0);
  auto from_here = AsMap(ListDirectory("*.txt"));
  auto below = AsMap(ListDirectory("sub/*.*"));
  auto empty = AsMap(ListDirectory(""));
  auto parent = AsMap(ListDirectory("../tree/a.txt"));
  ASSERT_EQ(chdir(old), 0);
  EXPECT_EQ(from_here.size(), 3u);
  EXPECT_EQ(below, (std::map<std::string, int>{{".", 16}, {"..", 16}, {"inner.txt", 32}}));
  EXPECT_EQ(empty, kEveryEntry);
  EXPECT_EQ(parent, (std::map<std::string, int>{{"a.txt", 32}}));
}

TEST(DirListRootTest, RootHasNoParentEntry) {
  for (const char* pattern : {"/", "/*.*", "/./"}) {
    SCOPED_TRACE(pattern);
    auto entries = AsMap(ListDirectory(pattern));
    EXPECT_EQ(entries.count("."), 1u);
    EXPECT_EQ(entries.count(".."), 0u);
  }
  auto devices = AsMap(ListDirectory("/dev/null"));
  EXPECT_EQ(devices, (std::map<std::string, int>{{"null", 4}}));
}

}  // namespace
}  // namespace vintrel
