#include "cli/cli_options.h"

#include <optional>
#include <string>
#include <vector>

#include "engine/convert_file.h"
#include "gtest/gtest.h"

namespace vintrel::cli {
namespace {

using Args = std::vector<std::string>;

struct GoodCase {
  const char* name;
  Args args;
  std::optional<int> lead_mode;
  std::optional<int> column;
  std::optional<bool> collapse;
  WordSource words;
  std::string words_file;
  Args operands;
};

const GoodCase kGoodCases[] = {
    {"nothing", {}, {}, {}, {}, WordSource::kWordListFile, "", {}},
    {"leading keep", {"--leading=keep"}, LeadKeep, {}, {}, WordSource::kWordListFile, "", {}},
    {"leading all", {"--leading=all"}, LeadDelAll, {}, {}, WordSource::kWordListFile, "", {}},
    {"leading column, value apart",
     {"--leading", "column"},
     LeadDelColumn,
     {},
     {},
     WordSource::kWordListFile,
     "",
     {}},
    {"column", {"--column=8"}, {}, 8, {}, WordSource::kWordListFile, "", {}},
    {"column 0", {"--column", "0"}, {}, 0, {}, WordSource::kWordListFile, "", {}},
    {"collapse", {"--collapse-spaces"}, {}, {}, true, WordSource::kWordListFile, "", {}},
    {"no collapse", {"--no-collapse-spaces"}, {}, {}, false, WordSource::kWordListFile, "", {}},
    {"last one wins",
     {"--collapse-spaces", "--no-collapse-spaces", "--leading=all", "--leading=keep"},
     LeadKeep,
     {},
     false,
     WordSource::kWordListFile,
     "",
     {}},
    {"words file", {"--words=my.lst"}, {}, {}, {}, WordSource::kGivenFile, "my.lst", {}},
    {"words file apart",
     {"--words", "--odd name"},
     {},
     {},
     {},
     WordSource::kGivenFile,
     "--odd name",
     {}},
    {"no words", {"--no-words"}, {}, {}, {}, WordSource::kNone, "", {}},
    {"no words after words", {"--words=a", "--no-words"}, {}, {}, {}, WordSource::kNone, "", {}},
    {"unique prefix",
     {"--lead=all", "--colu=3", "--no-c"},
     LeadDelAll,
     3,
     false,
     WordSource::kWordListFile,
     "",
     {}},
    {"prefix of words is exact", {"--words=x"}, {}, {}, {}, WordSource::kGivenFile, "x", {}},
    {"operands kept in order",
     {"b.txt", "--no-words", "a.txt", "c.txt"},
     {},
     {},
     {},
     WordSource::kNone,
     "",
     {"b.txt", "a.txt", "c.txt"}},
    {"double dash ends the options",
     {"--", "--leading=all", "-x"},
     {},
     {},
     {},
     WordSource::kWordListFile,
     "",
     {"--leading=all", "-x"}},
};

TEST(CliOptionsTest, Accepted) {
  for (const GoodCase& c : kGoodCases) {
    SCOPED_TRACE(c.name);
    const CliParseResult result = ParseCliOptions(c.args);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.options.lead_mode, c.lead_mode);
    EXPECT_EQ(result.options.column, c.column);
    EXPECT_EQ(result.options.collapse_spaces, c.collapse);
    EXPECT_EQ(result.options.words, c.words);
    EXPECT_EQ(result.options.words_file, c.words_file);
    EXPECT_EQ(result.options.operands, c.operands);
    EXPECT_FALSE(result.options.show_help);
    EXPECT_FALSE(result.options.show_version);
  }
}

TEST(CliOptionsTest, HelpAndVersion) {
  EXPECT_TRUE(ParseCliOptions({"--help"}).options.show_help);
  EXPECT_TRUE(ParseCliOptions({"--he"}).options.show_help);
  EXPECT_TRUE(ParseCliOptions({"--version"}).options.show_version);
  EXPECT_TRUE(ParseCliOptions({"--v"}).options.show_version);
}

struct BadCase {
  const char* name;
  Args args;
  std::string error;
};

const BadCase kBadCases[] = {
    {"unknown option", {"--foo"}, "vintrel-cli: unrecognized option '--foo'"},
    {"unknown option with a value", {"--foo=1"}, "vintrel-cli: unrecognized option '--foo'"},
    {"unknown after good ones",
     {"--no-words", "--bar"},
     "vintrel-cli: unrecognized option '--bar'"},
    {"short option", {"-x"}, "vintrel-cli: invalid option -- 'x'"},
    {"ambiguous prefix",
     {"--co"},
     "vintrel-cli: option '--co' is ambiguous; possibilities: '--column' '--collapse-spaces'"},
    {"ambiguous no-",
     {"--no"},
     "vintrel-cli: option '--no' is ambiguous; possibilities: '--no-collapse-spaces' "
     "'--no-words'"},
    {"missing value", {"--column"}, "vintrel-cli: option '--column' requires an argument"},
    {"value for a flag", {"--help=yes"}, "vintrel-cli: option '--help' doesn't allow an argument"},
    {"value for a flag by prefix",
     {"--no-w=1"},
     "vintrel-cli: option '--no-words' doesn't allow an argument"},
    {"bad leading",
     {"--leading=some"},
     "vintrel-cli: invalid argument 'some' for '--leading'\nValid arguments are:\n"
     "  - 'keep'\n  - 'all'\n  - 'column'"},
    {"leading is case-sensitive",
     {"--leading=ALL"},
     "vintrel-cli: invalid argument 'ALL' for '--leading'\nValid arguments are:\n"
     "  - 'keep'\n  - 'all'\n  - 'column'"},
    {"negative column",
     {"--column=-1"},
     "vintrel-cli: invalid column count '-1' (a whole number from 0 up is expected)"},
    {"column with letters",
     {"--column=4x"},
     "vintrel-cli: invalid column count '4x' (a whole number from 0 up is expected)"},
    {"empty column",
     {"--column="},
     "vintrel-cli: invalid column count '' (a whole number from 0 up is expected)"},
    {"column too large",
     {"--column=2147483648"},
     "vintrel-cli: invalid column count '2147483648' (a whole number from 0 up is expected)"},
    {"empty words file", {"--words="}, "vintrel-cli: option '--words' needs a file name"},
    {"bad collision policy",
     {"--mode=ask", "a.txt"},
     "vintrel-cli: invalid argument 'ask' for '--mode'\nValid arguments are:\n"
     "  - 'number'\n  - 'overwrite'"},
    {"collision policy is case-sensitive",
     {"--mode=Number", "a.txt"},
     "vintrel-cli: invalid argument 'Number' for '--mode'\nValid arguments are:\n"
     "  - 'number'\n  - 'overwrite'"},
    {"empty output folder",
     {"--output-dir=", "a.txt"},
     "vintrel-cli: option '--output-dir' needs a folder name"},
    {"extension with a slash",
     {"--ext=.d/x", "a.txt"},
     "vintrel-cli: invalid extension '.d/x' (it may not contain '/')"},
    {"standard input among files",
     {"a.txt", "-"},
     "vintrel-cli: standard input ('-') cannot be converted together with files"},
    {"standard input twice", {"-", "-"}, "vintrel-cli: extra operand '-'"},
    {"output folder without files",
     {"--output-dir=out"},
     "vintrel-cli: option '--output-dir' needs FILE operands"},
    {"first option of files is named",
     {"--quiet", "--ext=.txt", "--dry-run", "-"},
     "vintrel-cli: option '--ext' needs FILE operands"},
    {"dry run of the filter", {"--dry-run"}, "vintrel-cli: option '--dry-run' needs FILE operands"},
    {"policy without files", {"--mode=number"}, "vintrel-cli: option '--mode' needs FILE operands"},
};

TEST(CliOptionsTest, Refused) {
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.name);
    const CliParseResult result = ParseCliOptions(c.args);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, c.error);
  }
}

struct FileOptionCase {
  const char* name;
  Args args;
  std::optional<std::string> output_dir;
  std::optional<std::string> ext;
  std::optional<int> mode;
  bool dry_run;
  bool quiet;
};

const FileOptionCase kFileOptionCases[] = {
    {"none", {"a.txt"}, {}, {}, {}, false, false},
    {"output folder", {"--output-dir=out", "a.txt"}, "out", {}, {}, false, false},
    {"output folder apart", {"--output-dir", "/srv/x/", "a"}, "/srv/x/", {}, {}, false, false},
    {"extension", {"--ext=.md", "a"}, {}, ".md", {}, false, false},
    {"empty extension", {"--ext=", "a"}, {}, "", {}, false, false},
    {"extension without a dot", {"--ext", "txt", "a"}, {}, "txt", {}, false, false},
    {"numbered", {"--mode=number", "a"}, {}, {}, ModeSearchFree, false, false},
    {"overwrite", {"--mode", "overwrite", "a"}, {}, {}, ModeOverwrite, false, false},
    {"last policy wins",
     {"--mode=overwrite", "a", "--mode=number"},
     {},
     {},
     ModeSearchFree,
     false,
     false},
    {"dry run and quiet by prefix", {"--dry", "--q", "a"}, {}, {}, {}, true, true},
    {"quiet keeps the filter", {"--quiet"}, {}, {}, {}, false, true},
    {"quiet with a lone dash", {"--quiet", "-"}, {}, {}, {}, false, true},
    {"prefixes",
     {"--out=o", "--e=.x", "--mo=number", "a"},
     "o",
     ".x",
     ModeSearchFree,
     false,
     false},
};

TEST(CliOptionsTest, OptionsOfFiles) {
  for (const FileOptionCase& c : kFileOptionCases) {
    SCOPED_TRACE(c.name);
    const CliParseResult result = ParseCliOptions(c.args);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.options.output_dir, c.output_dir);
    EXPECT_EQ(result.options.ext, c.ext);
    EXPECT_EQ(result.options.mode, c.mode);
    EXPECT_EQ(result.options.dry_run, c.dry_run);
    EXPECT_EQ(result.options.quiet, c.quiet);
  }
}

TEST(CliOptionsTest, WhatConvertsFiles) {
  struct {
    const char* name;
    Args operands;
    bool converts_files;
  } cases[] = {
      {"no operand", {}, false},
      {"a lone dash", {"-"}, false},
      {"one file", {"a.txt"}, true},
      {"a file named like an option after --", {"--", "--x"}, true},
      {"a lone dash after --", {"--", "-"}, false},
      {"several files", {"a", "b"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CliParseResult result = ParseCliOptions(c.operands);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ConvertsFiles(result.options), c.converts_files);
  }
}

// --help and --version answer before the operands and options are checked together.
TEST(CliOptionsTest, HelpWinsOverCombinationErrors) {
  EXPECT_TRUE(ParseCliOptions({"--output-dir=x", "--help"}).ok);
  EXPECT_TRUE(ParseCliOptions({"a", "-", "--version"}).ok);
}

TEST(CliOptionsTest, LargestColumnIsAccepted) {
  const CliParseResult result = ParseCliOptions({"--column=2147483647"});
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.options.column, 2147483647);
}

TEST(CliOptionsTest, HelpNamesTheSettingsFiles) {
  const std::string help = HelpText("/home/u/.config/vintrel.INI", "/home/u/.config/vintrel.lst");
  EXPECT_EQ(help.rfind("Usage: vintrel-cli [OPTION]...", 0), 0u);
  for (const char* part :
       {"/home/u/.config/vintrel.INI", "/home/u/.config/vintrel.lst", "--leading=MODE",
        "--column=N", "--collapse-spaces", "--no-collapse-spaces", "--words=FILE", "--no-words",
        "--help", "--version", "Exit status:", "FILE...", "--output-dir=DIR", "--ext=EXT",
        "--mode=POLICY", "--dry-run", "--quiet"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(VersionText(), "vintrel-cli (Vintrel) " VINTREL_VERSION "\n");
}

}  // namespace
}  // namespace vintrel::cli
