#include "output/output_name.h"

#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedTempDir;

// One thing to put into the temporary folder before the call.
struct Node {
  enum Kind { kFile, kFolder, kFifo, kLink, kReadOnlyFile, kNumberedFiles };
  Kind kind;
  std::string path;         // below the temporary folder; for kNumberedFiles the base path
  int count = 0;            // kNumberedFiles: makes path.000 up to path.(count-1)
  std::string target = {};  // kLink: what the link points at, below the temporary folder
};

Node File(std::string path) { return {Node::kFile, std::move(path)}; }
Node Folder(std::string path) { return {Node::kFolder, std::move(path)}; }
Node Fifo(std::string path) { return {Node::kFifo, std::move(path)}; }
Node Link(std::string path, std::string target) {
  return {Node::kLink, std::move(path), 0, std::move(target)};
}
Node ReadOnlyFile(std::string path) { return {Node::kReadOnlyFile, std::move(path)}; }
Node NumberedFiles(std::string base, int count) {
  return {Node::kNumberedFiles, std::move(base), count};
}

std::string Numbered(int n) {
  char text[16];
  snprintf(text, sizeof text, ".%.3d", n);
  return text;
}

void Build(const ScopedTempDir& dir, const std::vector<Node>& tree) {
  for (const Node& node : tree) {
    const std::string full = dir.Child(node.path);
    switch (node.kind) {
      case Node::kFile:
        dir.WriteFile(node.path, "old contents\n");
        break;
      case Node::kFolder:
        dir.MakeFolder(node.path);
        break;
      case Node::kFifo:
        ASSERT_EQ(0, mkfifo(full.c_str(), 0600)) << full;
        break;
      case Node::kLink:
        std::filesystem::create_symlink(dir.Child(node.target), full);
        break;
      case Node::kReadOnlyFile:
        dir.WriteFile(node.path, "old contents\n");
        ASSERT_EQ(0, chmod(full.c_str(), 0444)) << full;
        break;
      case Node::kNumberedFiles:
        for (int n = 0; n < node.count; ++n) dir.WriteFile(node.path + Numbered(n), "x");
        break;
    }
  }
}

// "@" at the start of a path stands for the temporary folder (without its '/').
std::string Expand(const ScopedTempDir& dir, const std::string& text) {
  if (!text.empty() && text[0] == '@') return dir.path() + text.substr(1);
  return text;
}

TEST(OutputBaseNameTest, TakesTheNameUpToTheFirstDot) {
  struct Case {
    const char* name;
    std::string input;
    std::string base;
  } cases[] = {
      {"one dot", "REPORT.DOC", "REPORT"},
      {"several dots", "A.B.C", "A"},
      {"no dot", "README", "README"},
      {"leading dot", ".PROFILE", ""},
      {"only a dot", ".", ""},
      {"trailing dot", "NOTES.", "NOTES"},
      {"empty", "", ""},
      {"UTF-8 name", "\xE8\xA1\xA8.TXT", "\xE8\xA1\xA8"},
      {"Shift-JIS second byte 0x5C", "\x95\x5C.TXT", "\x95\x5C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.base, OutputBaseName(c.input));
  }
}

// The whole byte is compared: only exactly hidden, system and folder are passed over.
TEST(AttributesCountTest, PassesOverOnlyExactlyHiddenSystemAndFolder) {
  struct Case {
    unsigned char attributes;
    bool counts;
  } cases[] = {
      {0, true},  {1, true},  {2, false}, {4, false}, {16, false},
      {17, true}, {18, true}, {20, true}, {32, true}, {33, true},
      {34, true}, {36, true}, {48, true}, {6, true},  {255, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("attribute byte " + std::to_string(c.attributes));
    EXPECT_EQ(c.counts, AttributesCount(c.attributes));
  }
}

TEST(OutputFolderPrefixTest, ChoosesTheFolderAndKeepsPlainPrefixes) {
  struct Case {
    const char* name;
    std::vector<Node> tree;
    std::string out_dir;
    std::string current_folder;
    std::string expected;
  } cases[] = {
      {"no output folder: the current folder", {}, "", "@/", "@/"},
      {"output folder with its '/'", {Folder("out")}, "@/out/", "@/", "@/out/"},
      {"output folder without its '/'", {Folder("out")}, "@/out", "@/", "@/out/"},
      {"missing output folder keeps its '/'", {}, "@/missing/", "@/", "@/missing/"},
      {"text naming no folder is a prefix", {}, "@/conv_", "@/", "@/conv_"},
      {"text naming a file is a prefix", {File("conv_")}, "@/conv_", "@/", "@/conv_"},
      {"link to a folder without its '/'",
       {Folder("real"), Link("link", "real")},
       "@/link",
       "@/",
       "@/link/"},
      {"current folder without its '/'", {}, "", "@", "@/"},
      {"both empty", {}, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    Build(dir, c.tree);
    EXPECT_EQ(Expand(dir, c.expected),
              OutputFolderPrefix(Expand(dir, c.out_dir), Expand(dir, c.current_folder)));
  }
}

struct NamingCase {
  const char* name;
  std::vector<Node> tree;
  std::string input;
  OutputNameSettings settings;
  std::optional<AskAnswer> answer;  // nullopt: nobody to ask
  std::string expected;             // "@/..." or empty
  OutputNameOutcome outcome;
  bool asked = false;  // whether the question is expected, about "@/" + first candidate
  std::string current_folder = "@/";
};

OutputNameSettings Settings(int mode, std::string ext = ".TXT", std::string out_dir = "") {
  OutputNameSettings settings;
  settings.mode = mode;
  settings.ext = std::move(ext);
  settings.out_dir = std::move(out_dir);
  return settings;
}

AskAnswer Answer(int choice, std::string ext = ".txt") { return {choice, std::move(ext)}; }

constexpr auto kFree = OutputNameOutcome::kFree;
constexpr auto kOverwrite = OutputNameOutcome::kOverwrite;
constexpr auto kNumbered = OutputNameOutcome::kNumbered;
constexpr auto kChangedExtension = OutputNameOutcome::kChangedExtension;
constexpr auto kAllNumbersTaken = OutputNameOutcome::kAllNumbersTaken;

void RunNamingCases(const std::vector<NamingCase>& cases) {
  for (const NamingCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTempDir dir;
    Build(dir, c.tree);
    OutputNameSettings settings = c.settings;
    settings.out_dir = Expand(dir, settings.out_dir);

    std::vector<std::string> questions;
    AskFunction ask;
    if (c.answer) {
      ask = [&](const std::string& name_in_use) {
        questions.push_back(name_in_use);
        return *c.answer;
      };
    }
    const OutputNameResult result =
        MakeOutputPath(c.input, Expand(dir, c.current_folder), settings, ask);

    EXPECT_EQ(Expand(dir, c.expected), result.path);
    EXPECT_EQ(static_cast<int>(c.outcome), static_cast<int>(result.outcome));
    EXPECT_EQ(c.outcome == kAllNumbersTaken, result.all_numbers_taken());
    if (c.asked) {
      const std::string first =
          OutputFolderPrefix(settings.out_dir, Expand(dir, c.current_folder)) +
          OutputBaseName(c.input) + settings.ext;
      EXPECT_EQ(std::vector<std::string>{first}, questions);
    } else {
      EXPECT_TRUE(questions.empty()) << "asked about " << questions.front();
    }
    // The call only names: whatever was there is left as it was.
    for (const Node& node : c.tree) {
      if (node.kind == Node::kFile) {
        EXPECT_EQ("old contents\n", test::ReadFileBytes(dir.Child(node.path))) << node.path;
      }
    }
  }
}

TEST(MakeOutputPathTest, FirstCandidateAndBaseNames) {
  RunNamingCases({
      {"free name in the current folder", {}, "REPORT.DOC", Settings(0), {}, "@/REPORT.TXT", kFree},
      {"several dots: base up to the first", {}, "A.B.C", Settings(0), {}, "@/A.TXT", kFree},
      {"no dot: the whole name", {}, "README", Settings(0), {}, "@/README.TXT", kFree},
      {"leading dot: the extension alone", {}, ".PROFILE", Settings(0), {}, "@/.TXT", kFree},
      {"extension without a dot", {}, "REPORT.DOC", Settings(0, "txt"), {}, "@/REPORTtxt", kFree},
      {"extension letter case kept",
       {},
       "REPORT.DOC",
       Settings(0, ".txt"),
       {},
       "@/REPORT.txt",
       kFree},
      {"empty extension", {}, "REPORT.DOC", Settings(0, ""), {}, "@/REPORT", kFree},
      {"other files do not matter",
       {File("REPORT.DOC"), File("REPORT.000")},
       "REPORT.DOC",
       Settings(0),
       {},
       "@/REPORT.TXT",
       kFree},
      {"current folder typed without its '/'",
       {},
       "REPORT.DOC",
       Settings(0),
       {},
       "@/REPORT.TXT",
       kFree,
       false,
       "@"},
  });
}

TEST(MakeOutputPathTest, WhatMakesANameInUse) {
  RunNamingCases({
      {"the input itself",
       {File("README.TXT")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"names compared without regard to case",
       {File("readme.txt")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"a read-only file",
       {ReadOnlyFile("README.TXT")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"a dangling link counts as a file",
       {Link("README.TXT", "nowhere")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"a FIFO (system) does not count",
       {Fifo("README.TXT")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.TXT",
       kFree},
      {"a hidden file of another letter case does not count",
       {File(".txt")},
       ".PROFILE",
       Settings(0),
       {},
       "@/.TXT",
       kFree},
      // The conversion would replace it: a hidden file of the very name is in use.
      {"a hidden file of the very name",
       {File(".TXT")},
       ".PROFILE",
       Settings(0),
       {},
       "@/.000",
       kNumbered},
      {"an empty folder of the name",
       {Folder("README.TXT")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.TXT",
       kFree},
      {"a folder of the name holding a file",
       {File("README.TXT/A.TXT")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"a folder of the name holding a read-only file",
       {ReadOnlyFile("README.TXT/A")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"a folder of the name holding hidden files and folders only",
       {File("README.TXT/.hidden"), Folder("README.TXT/sub"), Folder("README.TXT/.git")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.TXT",
       kFree},
      {"a folder of the name holding a FIFO only",
       {Folder("README.TXT"), Fifo("README.TXT/p")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.TXT",
       kFree},
  });
}

TEST(MakeOutputPathTest, NumberedSearch) {
  RunNamingCases({
      {"second conversion of the same file",
       {File("README.TXT"), File("README.000")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.001",
       kNumbered},
      {"numbers compared without regard to case",
       {File("README.TXT"), File("readme.000")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.001",
       kNumbered},
      {"a gap is filled",
       {File("README.TXT"), File("README.001")},
       "README.TXT",
       Settings(0),
       {},
       "@/README.000",
       kNumbered},
      {"the stored extension plays no part",
       {File("REPORT.OUT")},
       "REPORT.DOC",
       Settings(0, ".OUT"),
       {},
       "@/REPORT.000",
       kNumbered},
      {".999 is still free",
       {File("README.TXT"), NumberedFiles("README", 999)},
       "README.TXT",
       Settings(0),
       {},
       "@/README.999",
       kNumbered},
      {"all numbers taken",
       {File("README.TXT"), NumberedFiles("README", 1000)},
       "README.TXT",
       Settings(0),
       {},
       "",
       kAllNumbersTaken},
      {"policy 7 acts as the numbered search",
       {File("README.TXT")},
       "README.TXT",
       Settings(7),
       {Answer(ChoiceOverwrite)},
       "@/README.000",
       kNumbered},
      {"policy -1 acts as the numbered search",
       {File("README.TXT")},
       "README.TXT",
       Settings(-1),
       {Answer(ChoiceOverwrite)},
       "@/README.000",
       kNumbered},
  });
}

TEST(MakeOutputPathTest, NamesInUseBesidesTheFolders) {
  ScopedTempDir dir;
  Build(dir, {File("README.TXT")});
  const std::string folder = dir.folder();
  const std::vector<std::string> planned = {folder + "REPORT.TXT", folder + "README.000"};
  auto is_planned = [&planned](const std::string& candidate) {
    return std::find(planned.begin(), planned.end(), candidate) != planned.end();
  };
  struct {
    const char* name;
    std::string input;
    int mode;
    std::string expected;
  } cases[] = {
      {"a planned first candidate is in use", "REPORT.DOC", ModeSearchFree, "REPORT.000"},
      {"planned numbers are passed over", "README.TXT", ModeSearchFree, "README.001"},
      {"a free name stays free", "OTHER.DOC", ModeSearchFree, "OTHER.TXT"},
      {"overwrite keeps the planned name", "REPORT.DOC", ModeOverwrite, "REPORT.TXT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(folder + c.expected,
              MakeOutputPath(c.input, folder, Settings(c.mode), AskFunction(), is_planned).path);
  }
}

TEST(MakeOutputPathTest, Overwrite) {
  RunNamingCases({
      {"the name in use is given back",
       {File("REPORT.TXT")},
       "REPORT.DOC",
       Settings(2),
       {},
       "@/REPORT.TXT",
       kOverwrite},
      {"even when it is the input itself",
       {File("README.TXT")},
       "README.TXT",
       Settings(2),
       {},
       "@/README.TXT",
       kOverwrite},
      {"a free name is simply free", {}, "README.TXT", Settings(2), {}, "@/README.TXT", kFree},
      {"no numbered search even when all are taken",
       {File("README.TXT"), NumberedFiles("README", 1000)},
       "README.TXT",
       Settings(2),
       {},
       "@/README.TXT",
       kOverwrite},
  });
}

TEST(MakeOutputPathTest, Ask) {
  RunNamingCases({
      {"not asked while the name is free",
       {},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceOverwrite)},
       "@/README.TXT",
       kFree},
      {"answered overwrite",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceOverwrite)},
       "@/README.TXT",
       kOverwrite,
       true},
      {"answered automatic numbering",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceAutoNumber)},
       "@/README.000",
       kNumbered,
       true},
      {"an unknown answer numbers",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(9)},
       "@/README.000",
       kNumbered,
       true},
      {"answered another extension",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceChangeExt, ".NEW")},
       "@/README.NEW",
       kChangedExtension,
       true},
      {"the changed name is not tested again",
       {File("README.TXT"), File("README.BAK")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceChangeExt, ".BAK")},
       "@/README.BAK",
       kChangedExtension,
       true},
      {"the changed extension is used as given",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceChangeExt, "bak")},
       "@/READMEbak",
       kChangedExtension,
       true},
      {"an emptied extension",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       {Answer(ChoiceChangeExt, "")},
       "@/README",
       kChangedExtension,
       true},
      {"asked about the name in the output folder",
       {File("out/README.TXT")},
       "README.TXT",
       Settings(1, ".TXT", "@/out"),
       {Answer(ChoiceChangeExt, ".NEW")},
       "@/out/README.NEW",
       kChangedExtension,
       true},
      {"nobody to ask: the numbered search",
       {File("README.TXT")},
       "README.TXT",
       Settings(1),
       std::nullopt,
       "@/README.000",
       kNumbered},
  });
}

TEST(MakeOutputPathTest, OutputFolder) {
  RunNamingCases({
      {"output folder with its '/'",
       {Folder("out")},
       "README.TXT",
       Settings(0, ".TXT", "@/out/"),
       {},
       "@/out/README.TXT",
       kFree},
      {"the current folder does not matter then",
       {File("README.TXT"), Folder("out")},
       "README.TXT",
       Settings(0, ".TXT", "@/out/"),
       {},
       "@/out/README.TXT",
       kFree},
      {"collisions are looked for in the output folder",
       {File("out/README.TXT")},
       "README.TXT",
       Settings(0, ".TXT", "@/out/"),
       {},
       "@/out/README.000",
       kNumbered},
      {"output folder without its '/' still names it",
       {File("out/README.TXT")},
       "README.TXT",
       Settings(0, ".TXT", "@/out"),
       {},
       "@/out/README.000",
       kNumbered},
      {"text naming no folder stays a prefix",
       {},
       "README.TXT",
       Settings(0, ".TXT", "@/conv_"),
       {},
       "@/conv_README.TXT",
       kFree},
      {"a prefix is tested as a whole",
       {File("conv_README.TXT")},
       "README.TXT",
       Settings(0, ".TXT", "@/conv_"),
       {},
       "@/conv_README.000",
       kNumbered},
      {"a missing output folder: nothing is in use",
       {},
       "README.TXT",
       Settings(0, ".TXT", "@/missing/"),
       {},
       "@/missing/README.TXT",
       kFree},
      {"the output folder keeps its letter case",
       {Folder("Out")},
       "README.TXT",
       Settings(0, ".TXT", "@/Out/"),
       {},
       "@/Out/README.TXT",
       kFree},
  });
}

}  // namespace
}  // namespace vintrel
