// vintrel-cli end to end: the built program run as a filter, with its settings in a
// temporary configuration folder.

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedTempDir;
using Outcome = test::CliOutcome;

// Runs vintrel-cli with ARGS, INPUT on its standard input and CONFIG as XDG_CONFIG_HOME.
// Standard output goes to OUTPUT_PATH when given (and is then not captured), appended to
// it when OUTPUT_FLAGS says so; an OUTPUT_PATH equal to "stdin" names the input file.
Outcome RunCli(const ScopedTempDir& work, const std::string& config,
               const std::vector<std::string>& args, const std::string& input,
               const std::string& output_path = "", int output_flags = O_TRUNC) {
  test::CliRun run;
  run.args = args;
  run.config = config;
  run.home = work.path();
  run.stdin_path = work.WriteFile("stdin.bin", input);
  run.stdout_path = output_path.empty()      ? work.Child("stdout.bin")
                    : output_path == "stdin" ? run.stdin_path
                                             : output_path;
  run.stdout_flags = output_flags;
  run.capture_stdout = output_path.empty();
  run.stderr_path = work.Child("stderr.bin");
  return test::RunCliProcess(run);
}

// A configuration folder with a profile and a word list.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { config_ = work_.MakeFolder("config"); }
  void WriteProfile(const std::string& text) { work_.WriteFile("config/vintrel.INI", text); }
  void WriteWordList(const std::string& text) { work_.WriteFile("config/vintrel.lst", text); }
  Outcome Run(const std::vector<std::string>& args, const std::string& input) {
    return RunCli(work_, config_, args, input);
  }

  ScopedTempDir work_;
  std::string config_;
};

// The input of the override table: indentation, a run of spaces and an exception word.
const char kInput[] = "        Indented  text of the socio-\neconomic kind\n  lower\n";

struct OverrideCase {
  const char* name;
  std::string profile;
  std::vector<std::string> args;
  std::string expected;
};

const OverrideCase kOverrideCases[] = {
    {"no profile: keep, no collapsing, word list file",
     "",
     {},
     "        Indented  text of the socio-economic\r\nkind\r\n  lower\r\n"},
    {"profile: delete all, collapse",
     "[Default]\r\nDelAll=1\r\nDelSpac3=1\r\n",
     {},
     "Indented text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"profile: column 2",
     "[Default]\r\nDelColumn=1\r\nColumn=2\r\n",
     {},
     "  Indented  text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"--leading=keep over the profile",
     "[Default]\r\nDelAll=1\r\n",
     {"--leading=keep"},
     "        Indented  text of the socio-economic\r\nkind\r\n  lower\r\n"},
    {"--leading=all",
     "",
     {"--leading=all"},
     "Indented  text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"--leading=column with the profile's count",
     "[Default]\r\nColumn=3\r\n",
     {"--leading=column"},
     "   Indented  text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"--column over the profile's count",
     "[Default]\r\nDelColumn=1\r\nColumn=3\r\n",
     {"--column=1"},
     " Indented  text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"--collapse-spaces",
     "",
     {"--collapse-spaces"},
     " Indented text of the socio-economic\r\nkind\r\n lower\r\n"},
    {"--no-collapse-spaces over the profile",
     "[Default]\r\nDelAll=1\r\nDelSpac3=1\r\n",
     {"--no-collapse-spaces"},
     "Indented  text of the socio-economic\r\nkind\r\nlower\r\n"},
    {"--no-words",
     "",
     {"--no-words"},
     "        Indented  text of the socioeconomic\r\nkind\r\n  lower\r\n"},
};

TEST_F(CliTest, ProfileSettingsAndOverrides) {
  for (const OverrideCase& c : kOverrideCases) {
    SCOPED_TRACE(c.name);
    WriteProfile(c.profile);
    WriteWordList("anti-\r\nsocio-\r\n");
    const Outcome outcome = Run(c.args, kInput);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, c.expected);
    EXPECT_EQ(outcome.err, "");
  }
}

TEST_F(CliTest, WordSources) {
  const std::string other_list = work_.WriteFile("other.lst", "economic-\r\n");
  struct {
    const char* name;
    bool has_word_list;
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {"missing word list file means no words", false, {}, "socioeconomicx\r\ny\r\n"},
      {"word list file", true, {}, "socio-economicx\r\ny\r\n"},
      {"--words replaces the word list file",
       true,
       {"--words=" + other_list},
       "socioeconomic-x\r\ny\r\n"},
      {"--words without the word list file",
       false,
       {"--words", other_list},
       "socioeconomic-x\r\ny\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    unlink((config_ + "/vintrel.lst").c_str());
    if (c.has_word_list) WriteWordList("socio-\r\n");
    const Outcome outcome = Run(c.args, "socio-\neconomic-\nx y\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, c.expected);
  }
}

TEST_F(CliTest, TextModeOnBothSides) {
  const Outcome outcome = Run({"--no-words"}, std::string("exam-\r\nple of it\r\nlast\x1A"
                                                          "after\n"));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "example\r\nof it\r\nlast\r\n");
}

// A lone "-" names standard input: the filter, with the options of a filter.
TEST_F(CliTest, LoneDashIsTheFilter) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-"}, {"--quiet", "-"}, {"--no-words", "--", "-"}}) {
    SCOPED_TRACE(args.front());
    const Outcome outcome = Run(args, "exam-\nple of it\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "example\r\nof it\r\n");
    EXPECT_EQ(outcome.err, "");
  }
}

TEST_F(CliTest, EmptyInputGivesEmptyOutput) {
  const Outcome outcome = Run({}, "");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "");
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  struct {
    const char* name;
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {"unknown option",
       {"--foo"},
       "vintrel-cli: unrecognized option '--foo'\n"
       "Try 'vintrel-cli --help' for more information.\n"},
      {"bad value",
       {"--leading=none"},
       "vintrel-cli: invalid argument 'none' for '--leading'\nValid arguments are:\n"
       "  - 'keep'\n  - 'all'\n  - 'column'\n"
       "Try 'vintrel-cli --help' for more information.\n"},
      {"standard input among files",
       {"file.txt", "-"},
       "vintrel-cli: standard input ('-') cannot be converted together with files\n"
       "Try 'vintrel-cli --help' for more information.\n"},
      {"option of files without files",
       {"--output-dir=out"},
       "vintrel-cli: option '--output-dir' needs FILE operands\n"
       "Try 'vintrel-cli --help' for more information.\n"},
      {"bad collision policy",
       {"--mode=ask", "file.txt"},
       "vintrel-cli: invalid argument 'ask' for '--mode'\nValid arguments are:\n"
       "  - 'number'\n  - 'overwrite'\n"
       "Try 'vintrel-cli --help' for more information.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = Run(c.args, "text\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, c.err);
  }
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
  Outcome help = Run({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: vintrel-cli ", 0), 0u);
  // The help names where this user's settings live.
  EXPECT_NE(help.out.find(config_ + "/vintrel.INI"), std::string::npos);
  EXPECT_NE(help.out.find(config_ + "/vintrel.lst"), std::string::npos);
  EXPECT_EQ(help.err, "");

  Outcome version = Run({"--version"}, "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "vintrel-cli (Vintrel) " VINTREL_VERSION "\n");
}

TEST_F(CliTest, GivenWordListThatCannotBeReadExitsWithOne) {
  const std::string folder = work_.MakeFolder("words.d");
  struct {
    const char* name;
    std::string path;
    std::string err;
  } cases[] = {
      {"missing", work_.Child("missing.lst"),
       "vintrel-cli: " + work_.Child("missing.lst") + ": No such file or directory\n"},
      {"folder", folder, "vintrel-cli: " + folder + ": Is a directory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = Run({"--words=" + c.path}, "text\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, c.err);
  }
}

TEST_F(CliTest, WriteErrorExitsWithOne) {
  const Outcome outcome = RunCli(work_, config_, {}, "some text\n", "/dev/full");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "vintrel-cli: standard output: No space left on device\n");
}

// Appending the output to the input would make the filter read its own output forever.
TEST_F(CliTest, InputThatIsTheOutputIsRefused) {
  const Outcome outcome = RunCli(work_, config_, {}, "exam-\nple\n", "stdin", O_APPEND);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "vintrel-cli: standard input and standard output are the same file\n");
  EXPECT_EQ(ReadFileBytes(work_.Child("stdin.bin")), "exam-\nple\n");
}

TEST_F(CliTest, LargeInputStreams) {
  std::string input;
  std::string expected;
  for (int i = 0; i < 50000; ++i) {
    input += "line " + std::to_string(i) + " of a hyphen-\nated text\n";
    expected += "line " + std::to_string(i) + " of a hyphenated\r\ntext\r\n";
  }
  const Outcome outcome = Run({"--no-words"}, input);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_TRUE(outcome.out == expected) << "output differs";
}

}  // namespace
}  // namespace vintrel
