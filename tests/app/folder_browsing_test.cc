#include "app/folder_browsing.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedTempDir;
using Texts = std::vector<std::string>;

Texts Sorted(Texts texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// Changes the process's current folder for the life of the object.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder) {
    char* old = getcwd(nullptr, 0);
    old_ = old;
    free(old);
    EXPECT_EQ(chdir(folder.c_str()), 0) << folder;
  }
  ~ScopedCurrentFolder() { EXPECT_EQ(chdir(old_.c_str()), 0) << old_; }
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::string old_;
};

// A folder holding one entry of each kind the lists tell apart.
class FolderListingTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.MakeFolder("sub");
    dir_.MakeFolder("Other]name");
    dir_.MakeFolder(".hidden-folder");
    dir_.WriteFile("a.txt", "a");
    dir_.WriteFile("B.DOC", "b");
    dir_.WriteFile(".hidden-file", "h");
    std::string read_only = dir_.WriteFile("ro.txt", "r");
    chmod(read_only.c_str(), 0444);
    std::string read_only_folder = dir_.MakeFolder("ro-folder");
    chmod(read_only_folder.c_str(), 0555);
    ASSERT_EQ(mkfifo(dir_.Child("pipe").c_str(), 0644), 0);
  }

  ScopedTempDir dir_;
};

TEST_F(FolderListingTest, FolderListShowsPlainFoldersInBrackets) {
  // The read-only folder is still a plain folder on Linux (its byte is 16); hidden folders
  // carry the hidden byte and stay out, as do "." and every file.
  EXPECT_EQ(Sorted(FolderListEntries(dir_.folder() + "*.*")),
            Sorted({"[..]", "[sub]", "[Other]name]", "[ro-folder]"}));
}

TEST_F(FolderListingTest, FileListLeavesOutFoldersHiddenAndSystemEntries) {
  EXPECT_EQ(Sorted(FileListEntries(dir_.folder() + "*.*")), Sorted({"a.txt", "B.DOC", "ro.txt"}));
}

TEST_F(FolderListingTest, FileListFollowsTheFilter) {
  EXPECT_EQ(Sorted(FileListEntries(dir_.folder() + "*.TXT")), Sorted({"a.txt", "ro.txt"}));
  EXPECT_EQ(FileListEntries(dir_.folder() + "b.doc"), Texts{"B.DOC"});
}

TEST(FolderListingMissingTest, MissingFolderListsNothing) {
  ScopedTempDir dir;
  EXPECT_TRUE(FolderListEntries(dir.folder() + "gone/*.*").empty());
  EXPECT_TRUE(FileListEntries(dir.folder() + "gone/*.*").empty());
}

TEST(FolderListingRootTest, RootHasNoParentEntry) {
  Texts entries = FolderListEntries("/*.*");
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "[..]"), 0);
}

// The test name of a step of the tables below: its name with every character other than
// a letter or digit replaced by '_'.
template <typename Step>
std::string StepTestName(const testing::TestParamInfo<Step>& step_info) {
  std::string name = step_info.param.name;
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

struct FolderStep {
  const char* name;
  std::string folder;
  std::string entry;
  std::string expected;
};

// A step shows as its name (instead of its bytes) in test listings and failures.
void PrintTo(const FolderStep& step, std::ostream* os) { *os << step.name; }

class FolderAfterFolderEntryTest : public testing::TestWithParam<FolderStep> {};

TEST_P(FolderAfterFolderEntryTest, LeadsWhereTheEntrySays) {
  const FolderStep& step = GetParam();
  EXPECT_EQ(FolderAfterFolderEntry(step.folder, step.entry), step.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FolderAfterFolderEntryTest,
    testing::Values(FolderStep{"enter", "/work/", "[sub]", "/work/sub/"},
                    FolderStep{"enter keeps letter case", "/Work/", "[Sub Dir]", "/Work/Sub Dir/"},
                    FolderStep{"name holding a bracket", "/work/", "[a]b]", "/work/a]b/"},
                    FolderStep{"parent", "/work/sub/", "[..]", "/work/"},
                    FolderStep{"parent of a top folder is the root", "/work/", "[..]", "/"},
                    FolderStep{"the root stays", "/", "[..]", "/"},
                    FolderStep{"typed folder without slash goes up a level", "/work/sub", "[..]",
                               "/"},
                    FolderStep{"text without slash stays", "work", "[..]", "work"},
                    FolderStep{"entry without brackets", "/work/", "sub", "/work/"},
                    FolderStep{"empty entry", "/work/", "", "/work/"},
                    FolderStep{"too long a path stays", "/" + std::string(PATH_MAX - 4, 'x') + "/",
                               "[yz]", "/" + std::string(PATH_MAX - 4, 'x') + "/"},
                    FolderStep{"longest path taken", "/" + std::string(PATH_MAX - 6, 'x') + "/",
                               "[y]", "/" + std::string(PATH_MAX - 6, 'x') + "/y/"}),
    StepTestName<FolderStep>);

struct DriveStep {
  const char* name;
  std::string folder;
  std::string mount_point;
  std::string expected;
};

void PrintTo(const DriveStep& step, std::ostream* os) { *os << step.name; }

class FolderAfterDriveTest : public testing::TestWithParam<DriveStep> {};

TEST_P(FolderAfterDriveTest, TheCurrentDriveKeepsTheFolder) {
  const DriveStep& step = GetParam();
  const Texts drives = {"/", "/media/usb/", "/home/"};
  EXPECT_EQ(FolderAfterDrive(step.folder, step.mount_point, drives), step.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FolderAfterDriveTest,
    testing::Values(
        DriveStep{"same drive keeps folder", "/media/usb/docs/", "/media/usb/", "/media/usb/docs/"},
        DriveStep{"root drive of a folder on it", "/srv/data/", "/", "/srv/data/"},
        DriveStep{"other drive goes to its root", "/srv/data/", "/media/usb/", "/media/usb/"},
        DriveStep{"root from another drive", "/home/me/", "/", "/"},
        DriveStep{"empty mount point keeps folder", "/home/me/", "", "/home/me/"}),
    StepTestName<DriveStep>);

TEST(FolderToBrowseTest, FindsTheFolderTheTextMeans) {
  ScopedTempDir dir;
  dir.MakeFolder("out");
  dir.MakeFolder("work/sub");
  dir.WriteFile("file.txt", "x");
  ScopedCurrentFolder current(dir.path());
  const std::string base = dir.folder();
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  } cases[] = {
      {"folder with slash", base + "out/", base + "out/"},
      {"folder without slash", base + "out", base + "out/"},
      {"prefix in a folder", base + "out/conv_", base + "out/"},
      {"missing folder and parent", base + "gone/deeper/", base},
      {"a file names its folder", base + "file.txt", base},
      {"dot steps worked out", base + "work/./sub/../", base + "work/"},
      {"double slashes", base + "work//sub", base + "work/sub/"},
      {"relative text", "work/sub", base + "work/sub/"},
      {"relative prefix", "out/x_", base + "out/"},
      {"empty text", "", base},
      {"root", "/", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FolderToBrowse(c.text), c.expected);
  }
}

TEST(CurrentFolderPathTest, EndsWithSlash) {
  ScopedTempDir dir;
  ScopedCurrentFolder current(dir.path());
  EXPECT_EQ(CurrentFolderPath(), dir.folder());
}

}  // namespace
}  // namespace vintrel
