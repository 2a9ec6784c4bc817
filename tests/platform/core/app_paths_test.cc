#include "platform/core/app_paths.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedEnv;
using test::ScopedTempDir;

std::string PasswordHome() {
  struct passwd* entry = getpwuid(getuid());
  return entry != nullptr ? entry->pw_dir : "";
}

TEST(AppPathsTest, ConfigFolderFromTheEnvironment) {
  struct Case {
    const char* name;
    const char* xdg;   // null: unset
    const char* home;  // null: unset
    std::string folder;
  };
  const Case cases[] = {
      {"XDG_CONFIG_HOME absolute", "/x/conf", "/home/u", "/x/conf"},
      {"trailing slashes dropped", "/x/conf//", "/home/u", "/x/conf"},
      {"XDG_CONFIG_HOME relative is ignored", "conf", "/home/u", "/home/u/.config"},
      {"XDG_CONFIG_HOME empty is ignored", "", "/home/u", "/home/u/.config"},
      {"XDG_CONFIG_HOME unset", nullptr, "/home/u", "/home/u/.config"},
      {"HOME with a trailing slash", nullptr, "/home/u/", "/home/u/.config"},
      {"HOME unset", nullptr, nullptr, PasswordHome() + "/.config"},
      {"root folder", "/", "/home/u", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnv xdg("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "");
    if (c.xdg == nullptr) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", c.xdg, 1);
    }
    if (c.home == nullptr) {
      unsetenv("HOME");
    } else {
      setenv("HOME", c.home, 1);
    }
    EXPECT_EQ(ConfigFolder(), c.folder);
    EXPECT_EQ(ProfilePath(), c.folder + "/vintrel.INI");
    EXPECT_EQ(WordListPath(), c.folder + "/vintrel.lst");
  }
}

TEST(AppPathsTest, MakeConfigFolderCreatesParents) {
  ScopedTempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.Child("one/two/config"));
  EXPECT_TRUE(MakeConfigFolder());
  struct stat st;
  ASSERT_EQ(stat(dir.Child("one/two/config").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(MakeConfigFolder()) << "an existing folder is fine";

  dir.WriteFile("file", "");
  ScopedEnv blocked("XDG_CONFIG_HOME", dir.Child("file/config"));
  EXPECT_FALSE(MakeConfigFolder());
}

}  // namespace
}  // namespace vintrel
