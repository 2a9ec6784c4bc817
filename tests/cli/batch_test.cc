// vintrel-cli converting files, end to end: the built program run over a temporary folder,
// once as a dry run and once for real, with its settings in a folder of its own.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "gtest/gtest.h"
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::CliOutcome;
using test::ReadFileBytes;
using test::ScopedTempDir;
using Lines = std::vector<std::string>;

// Every input file holds this page; its conversion is kConverted.
const char kPage[] = "An exam-\nple line of the socio-\neconomic kind.\n";
const char kConverted[] = "An example\r\nline of the socio-economic\r\nkind.\r\n";
// What the files that are there before a run hold.
const char kOld[] = "old\n";

std::string Join(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The output named by an outcome line "FILE -> OUTPUT[ (overwritten)]".
std::string OutputOf(const std::string& line) {
  std::string output = line.substr(line.find(" -> ") + 4);
  const size_t note = output.find(" (");
  return note == std::string::npos ? output : output.substr(0, note);
}

// One scene of a test: a work folder (the program's current directory unless told
// otherwise), a settings folder with the word list, and a folder for the standard streams.
class Scene {
 public:
  Scene() {
    config_ = streams_.MakeFolder("config");
    streams_.WriteFile("config/vintrel.lst", "socio-\n");
  }

  const ScopedTempDir& work() const { return work_; }

  void WriteProfile(const std::string& text) { streams_.WriteFile("config/vintrel.INI", text); }

  // Makes what ENTRY names below the work folder: "dir:PATH" a folder, "fifo:PATH" a FIFO,
  // "none:PATH" nothing, "PATH" a file holding CONTENT. Returns PATH.
  std::string Make(const std::string& entry, const std::string& content) {
    if (StartsWith(entry, "dir:")) {
      work_.MakeFolder(entry.substr(4));
      return entry.substr(4);
    }
    if (StartsWith(entry, "fifo:")) {
      std::filesystem::create_directories(
          std::filesystem::path(work_.Child(entry.substr(5))).parent_path());
      EXPECT_EQ(mkfifo(work_.Child(entry.substr(5)).c_str(), 0644), 0);
      return entry.substr(5);
    }
    if (StartsWith(entry, "none:")) return entry.substr(5);
    work_.WriteFile(entry, content);
    return entry;
  }

  // Runs vintrel-cli with ARGS in the folder CWD below the work folder (empty: the work
  // folder itself).
  CliOutcome Run(const std::vector<std::string>& args, const std::string& cwd = "",
                 long file_size_limit = -1) const {
    return test::WaitCli(Start(args, cwd, file_size_limit), StreamsRun(args, cwd, file_size_limit));
  }

  // Starts vintrel-cli as Run() does without waiting for it; Finish() waits.
  pid_t Start(const std::vector<std::string>& args, const std::string& cwd = "",
              long file_size_limit = -1) const {
    return test::StartCli(StreamsRun(args, cwd, file_size_limit));
  }
  CliOutcome Finish(pid_t pid) const { return test::WaitCli(pid, StreamsRun({}, "", -1)); }

  // Runs vintrel-cli with ARGS as a filter, the file INPUT (below the work folder) on its
  // standard input; what it writes to standard output comes back in the outcome.
  CliOutcome RunFilter(const std::vector<std::string>& args, const std::string& input) const {
    test::CliRun run = StreamsRun(args, "", -1);
    run.stdin_path = work_.Child(input);
    return test::RunCliProcess(run);
  }

  // Every file and folder below the work folder with its content ("/" for a folder).
  std::vector<std::pair<std::string, std::string>> Tree() const {
    std::vector<std::pair<std::string, std::string>> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work_.path())) {
      const std::string name = entry.path().string().substr(work_.path().size() + 1);
      tree.emplace_back(name, entry.is_regular_file() ? ReadFileBytes(entry.path()) : "/");
    }
    std::sort(tree.begin(), tree.end());
    return tree;
  }

 private:
  test::CliRun StreamsRun(const std::vector<std::string>& args, const std::string& cwd,
                          long file_size_limit) const {
    test::CliRun run;
    run.args = args;
    run.config = config_;
    run.home = streams_.path();
    run.cwd = cwd.empty() ? work_.path() : work_.Child(cwd);
    run.stdout_path = streams_.Child("stdout");
    run.stderr_path = streams_.Child("stderr");
    run.file_size_limit = file_size_limit;
    return run;
  }

  ScopedTempDir work_;
  ScopedTempDir streams_;
  std::string config_;
};

struct BatchCase {
  const char* name;
  std::string profile;
  Lines existing;   // made before the run (files hold kOld), see Make()
  std::string cwd;  // below the work folder; empty: the work folder
  Lines args;       // options, before the files
  Lines files;      // made below cwd (files hold kPage) and named in this order, see Make()
  int status;
  // What the run reports on standard error: "FILE -> OUTPUT" for each file converted,
  // "vintrel-cli: ..." for the others. A dry run reports the same, its converted files on
  // standard output as "FILE -> OUTPUT", " (would overwrite)" for " (overwritten)".
  Lines lines;
  bool needs_permissions = false;  // root may write anywhere: skipped as root
};

const BatchCase kCases[] = {
    {"upper-cased names in the output folder",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out"},
     {"in/report.doc", "in/Notes.txt", "in/noext", "in/a.b.c"},
     0,
     {"in/report.doc -> out/REPORT.TXT", "in/Notes.txt -> out/NOTES.TXT",
      "in/noext -> out/NOEXT.TXT", "in/a.b.c -> out/A.TXT"}},
    {"multibyte names keep their bytes",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out/"},
     {"in/\xE6\x97\xA5\xE6\x9C\xAC.txt", "in/\x95\x5C.txt"},
     0,
     {"in/\xE6\x97\xA5\xE6\x9C\xAC.txt -> out/\xE6\x97\xA5\xE6\x9C\xAC.TXT",
      "in/\x95\x5C.txt -> out/\x95\x5C.TXT"}},
    {"no output folder: the current directory",
     "",
     {},
     "",
     {},
     {"in/report.doc"},
     0,
     {"in/report.doc -> REPORT.TXT"}},
    {"the profile's output folder and extension",
     "[Default]\r\nExt=.md\r\n[Regist]\r\nOutDir=out/\r\n",
     {"dir:out"},
     "",
     {},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.md"}},
    {"the profile's output folder without its slash",
     "[Regist]\r\nOutDir=out\r\n",
     {"dir:out"},
     "",
     {},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.TXT"}},
    {"the profile's output folder as a plain prefix",
     "[Regist]\r\nOutDir=out/conv_\r\n",
     {"dir:out"},
     "",
     {},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/conv_REPORT.TXT"}},
    {"options over the profile",
     "[Default]\r\nExt=.md\r\n[Regist]\r\nOutDir=elsewhere/\r\n",
     {"dir:out", "dir:elsewhere"},
     "",
     {"--output-dir=out", "--ext=.txt"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.txt"}},
    {"an empty extension",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out", "--ext="},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT"}},
    {"a name in use is numbered",
     "",
     {"out/REPORT.TXT"},
     "",
     {"--output-dir=out"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.000"}},
    {"the next free number",
     "",
     {"out/REPORT.TXT", "out/REPORT.000", "out/REPORT.002"},
     "",
     {"--output-dir=out"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.001"}},
    {"in use without regard to letter case",
     "",
     {"out/report.txt"},
     "",
     {"--output-dir=out"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.000"}},
    {"a file converted in its own folder",
     "",
     {},
     "in",
     {},
     {"README.TXT"},
     0,
     {"README.TXT -> README.000"}},
    {"asking counts as numbering",
     "[Filename]\r\nMode=1\r\n",
     {"out/REPORT.TXT"},
     "",
     {"--output-dir=out"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.000"}},
    {"--mode=number over the profile's overwrite",
     "[Filename]\r\nMode=2\r\n",
     {"out/REPORT.TXT"},
     "",
     {"--output-dir=out", "--mode=number"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.000"}},
    {"one name twice in a command",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out"},
     {"in/report.doc", "in2/REPORT.txt", "in3/Report"},
     0,
     {"in/report.doc -> out/REPORT.TXT", "in2/REPORT.txt -> out/REPORT.000",
      "in3/Report -> out/REPORT.001"}},
    {"--mode=overwrite",
     "",
     {"out/REPORT.TXT"},
     "",
     {"--output-dir=out", "--mode=overwrite"},
     {"in/report.doc", "in/other.doc"},
     0,
     {"in/report.doc -> out/REPORT.TXT (overwritten)", "in/other.doc -> out/OTHER.TXT"}},
    {"the profile's overwrite",
     "[Filename]\r\nMode=2\r\n",
     {"out/REPORT.TXT"},
     "",
     {"--output-dir=out"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.TXT (overwritten)"}},
    {"overwriting a name in use by letter case only makes the exact name",
     "",
     {"out/report.txt"},
     "",
     {"--output-dir=out", "--mode=overwrite"},
     {"in/report.doc"},
     0,
     {"in/report.doc -> out/REPORT.TXT"}},
    {"files that cannot be opened do not stop the others",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out"},
     {"in/a.txt", "none:in/missing.txt", "dir:in/folder", "fifo:in/fifo", "in/b.txt"},
     1,
     {"in/a.txt -> out/A.TXT", "vintrel-cli: in/missing.txt: No such file or directory",
      "vintrel-cli: in/folder: Is a directory", "vintrel-cli: in/fifo: not a regular file",
      "in/b.txt -> out/B.TXT", "vintrel-cli: 3 of 5 files were not converted"}},
    {"a single failure has no summary",
     "",
     {},
     "",
     {},
     {"none:missing.txt"},
     1,
     {"vintrel-cli: missing.txt: No such file or directory"}},
    {"the output is the input itself",
     "",
     {},
     "in",
     {"--mode=overwrite"},
     {"REPORT.TXT"},
     1,
     {"vintrel-cli: REPORT.TXT: output 'REPORT.TXT' is the file itself; not overwritten"}},
    {"the output is another input of the command",
     "",
     {},
     "in",
     {"--mode=overwrite"},
     {"report.doc", "REPORT.TXT", "x.doc"},
     1,
     {"vintrel-cli: report.doc: output 'REPORT.TXT' is the input 'REPORT.TXT' of this "
      "command; not overwritten",
      "vintrel-cli: REPORT.TXT: output 'REPORT.TXT' is the file itself; not overwritten",
      "x.doc -> X.TXT", "vintrel-cli: 2 of 3 files were not converted"}},
    {"an output made by the command is not overwritten",
     "",
     {"dir:out"},
     "",
     {"--output-dir=out", "--mode=overwrite"},
     {"in/report.doc", "in2/report.doc"},
     1,
     {"in/report.doc -> out/REPORT.TXT",
      "vintrel-cli: in2/report.doc: will not overwrite just-created 'out/REPORT.TXT'",
      "vintrel-cli: 1 of 2 files were not converted"}},
    {"an output folder under a regular file",
     "[Regist]\r\nOutDir=plain/sub/\r\n",
     {"plain"},
     "",
     {},
     {"in/a.txt", "in/b.txt"},
     1,
     {"vintrel-cli: in/a.txt: cannot create 'plain/sub/A.TXT': Not a directory",
      "vintrel-cli: in/b.txt: cannot create 'plain/sub/B.TXT': Not a directory",
      "vintrel-cli: 2 of 2 files were not converted"}},
    {"a missing output folder of the profile",
     "[Regist]\r\nOutDir=gone/\r\n",
     {},
     "",
     {},
     {"in/a.txt"},
     1,
     {"vintrel-cli: in/a.txt: cannot create 'gone/A.TXT': No such file or directory"}},
    {"an output name taken by a folder",
     "",
     {"dir:out/A.TXT"},
     "",
     {"--output-dir=out"},
     {"in/a.txt"},
     1,
     {"vintrel-cli: in/a.txt: cannot create 'out/A.TXT': Is a directory"}},
    {"a read-only output folder",
     "",
     {"dir:ro"},
     "",
     {"--output-dir=ro"},
     {"in/a.txt"},
     1,
     {"vintrel-cli: in/a.txt: cannot create 'ro/A.TXT': Permission denied"},
     true},
    {"--output-dir naming a file converts nothing",
     "",
     {"plain"},
     "",
     {"--output-dir=plain"},
     {"in/a.txt", "in/b.txt"},
     1,
     {"vintrel-cli: plain: Not a directory"}},
    {"--output-dir naming nothing converts nothing",
     "",
     {},
     "",
     {"--output-dir=nowhere"},
     {"in/a.txt"},
     1,
     {"vintrel-cli: nowhere: No such file or directory"}},
};

TEST(BatchTest, DryRunForetellsTheConversion) {
  for (const BatchCase& c : kCases) {
    SCOPED_TRACE(c.name);
    if (c.needs_permissions && geteuid() == 0) continue;  // root writes anywhere
    Scene scene;
    const ScopedTempDir& work = scene.work();
    scene.WriteProfile(c.profile);
    for (const std::string& item : c.existing) scene.Make(item, kOld);
    std::vector<std::string> args = c.args;
    std::vector<std::string> inputs;
    for (const std::string& item : c.files) {
      const std::string prefix = c.cwd.empty() ? "" : c.cwd + "/";
      const size_t colon = item.find(':');
      const std::string file = scene.Make(
          colon == std::string::npos ? prefix + item
                                     : item.substr(0, colon + 1) + prefix + item.substr(colon + 1),
          kPage);
      args.push_back(file.substr(prefix.size()));
      if (colon == std::string::npos) inputs.push_back(file);
    }
    if (c.needs_permissions) chmod(work.Child("ro").c_str(), 0555);
    const auto before = scene.Tree();

    // The dry run names what the conversion will do and writes nothing.
    Lines dry_out;
    Lines dry_err;
    for (const std::string& line : c.lines) {
      if (StartsWith(line, "vintrel-cli: ")) {
        std::string expected = line;
        const size_t were = expected.find(" were not converted");
        if (were != std::string::npos) expected.replace(were, 9, " would not be");
        dry_err.push_back(expected);
      } else {
        std::string expected = line;
        const size_t note = expected.find(" (overwritten)");
        if (note != std::string::npos) expected.replace(note, 14, " (would overwrite)");
        dry_out.push_back(expected);
      }
    }
    std::vector<std::string> dry_args = {"--dry-run"};
    dry_args.insert(dry_args.end(), args.begin(), args.end());
    const CliOutcome dry = scene.Run(dry_args, c.cwd);
    EXPECT_EQ(dry.status, c.status) << "dry run";
    EXPECT_EQ(dry.out, Join(dry_out)) << "dry run";
    EXPECT_EQ(dry.err, Join(dry_err)) << "dry run";
    EXPECT_EQ(scene.Tree(), before) << "the dry run wrote something";

    // The conversion.
    const CliOutcome real = scene.Run(args, c.cwd);
    EXPECT_EQ(real.status, c.status);
    EXPECT_EQ(real.out, "");
    EXPECT_EQ(real.err, Join(c.lines));

    // Each output holds the converted page; inputs and every other file are as they were.
    std::vector<std::pair<std::string, std::string>> expected = before;
    for (const std::string& line : c.lines) {
      if (StartsWith(line, "vintrel-cli: ")) continue;
      const std::string output = (c.cwd.empty() ? "" : c.cwd + "/") + OutputOf(line);
      auto it = std::find_if(expected.begin(), expected.end(),
                             [&](const auto& entry) { return entry.first == output; });
      if (it == expected.end()) {
        expected.emplace_back(output, kConverted);
      } else {
        it->second = kConverted;
      }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(scene.Tree(), expected);
    for (const std::string& input : inputs) EXPECT_EQ(ReadFileBytes(work.Child(input)), kPage);
  }
}

TEST(BatchTest, AllNumberedNamesTaken) {
  Scene scene;
  scene.Make("out/REPORT.TXT", kOld);
  for (int n = 0; n < 1000; ++n) {
    char name[32];
    snprintf(name, sizeof name, "out/REPORT.%.3d", n);
    scene.Make(name, kOld);
  }
  scene.Make("in/report.doc", kPage);
  scene.Make("in/other.doc", kPage);
  const auto before = scene.Tree();
  for (const bool dry_run : {true, false}) {
    SCOPED_TRACE(dry_run ? "dry run" : "conversion");
    std::vector<std::string> args = {"--output-dir=out", "in/report.doc", "in/other.doc"};
    if (dry_run) args.insert(args.begin(), "--dry-run");
    const CliOutcome outcome = scene.Run(args);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, std::string("vintrel-cli: in/report.doc: no free output name "
                                       "(out/REPORT.000 to out/REPORT.999 are all taken)\n") +
                               (dry_run ? "" : "in/other.doc -> out/OTHER.TXT\n") +
                               "vintrel-cli: 1 of 2 files " +
                               (dry_run ? "would not be" : "were not") + " converted\n");
  }
  auto expected = before;
  expected.emplace_back("out/OTHER.TXT", kConverted);
  std::sort(expected.begin(), expected.end());
  EXPECT_TRUE(scene.Tree() == expected);
}

// A write error in the middle of a file (here the limit on the size of files the program
// may write) removes the incomplete output; the next file is converted all the same.
TEST(BatchTest, WriteErrorRemovesTheIncompleteOutput) {
  Scene scene;
  std::string big;
  while (big.size() < 200000) big += kPage;
  scene.Make("in/big.txt", big);
  scene.Make("in/small.txt", kPage);
  scene.Make("dir:out", "");
  const CliOutcome outcome =
      scene.Run({"--output-dir=out", "in/big.txt", "in/small.txt"}, "", 100000);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            "vintrel-cli: in/big.txt: cannot write 'out/BIG.TXT': File too large (incomplete "
            "output removed)\n"
            "in/small.txt -> out/SMALL.TXT\n"
            "vintrel-cli: 1 of 2 files were not converted\n");
  EXPECT_FALSE(std::filesystem::exists(scene.work().Child("out/BIG.TXT")));
  EXPECT_EQ(ReadFileBytes(scene.work().Child("out/SMALL.TXT")), kConverted);
  EXPECT_EQ(ReadFileBytes(scene.work().Child("in/big.txt")), big);
}

TEST(BatchTest, QuietReportsOnlyFailures) {
  struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  } cases[] = {
      {"all converted", {"--quiet", "--output-dir=out", "in/a.txt", "in/b.txt"}, 0, "", ""},
      {"a failure",
       {"--output-dir=out", "in/a.txt", "in/missing.txt", "--quiet"},
       1,
       "",
       "vintrel-cli: in/missing.txt: No such file or directory\n"
       "vintrel-cli: 1 of 2 files were not converted\n"},
      {"a dry run still prints its lines",
       {"--quiet", "--dry-run", "--output-dir=out", "in/a.txt", "in/missing.txt"},
       1,
       "in/a.txt -> out/A.TXT\n",
       "vintrel-cli: in/missing.txt: No such file or directory\n"
       "vintrel-cli: 1 of 2 files would not be converted\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    scene.Make("dir:out", "");
    scene.Make("in/a.txt", kPage);
    scene.Make("in/b.txt", kPage);
    const CliOutcome outcome = scene.Run(c.args);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(outcome.err, c.err);
    const bool dry_run = std::find(c.args.begin(), c.args.end(), "--dry-run") != c.args.end();
    EXPECT_EQ(ReadFileBytes(scene.work().Child("out/A.TXT")), dry_run ? "" : kConverted);
  }
}

// The same settings give the same bytes whether a file goes through the filter or is
// converted by name, for every file of a command.
TEST(BatchTest, SameOutputAsTheFilter) {
  const std::string page =
      "    Chapter  One\r\n"
      "The socio-\r\neconomic   effects of hy-\r\nphenation  are well-\r\nknown.\r\n"
      "  indented lower-\r\ncase\x1A"
      "never read\n";
  struct {
    const char* name;
    std::string profile;
    std::vector<std::string> options;
  } cases[] = {
      {"defaults", "", {}},
      {"profile: delete all, collapse", "[Default]\r\nDelAll=1\r\nDelSpac3=1\r\n", {}},
      {"options: column rule, no words",
       "",
       {"--leading=column", "--column=2", "--no-words", "--collapse-spaces"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    scene.WriteProfile(c.profile);
    scene.Make("in/one.txt", page);
    scene.Make("in/two.txt", page);
    scene.Make("dir:out", "");

    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--output-dir=out", "in/one.txt", "in/two.txt"});
    const CliOutcome converted = scene.Run(args);
    EXPECT_EQ(converted.status, 0) << converted.err;

    std::vector<std::string> filter_args = c.options;
    filter_args.push_back("-");
    const CliOutcome filtered = scene.RunFilter(filter_args, "in/one.txt");
    EXPECT_EQ(filtered.status, 0) << filtered.err;
    EXPECT_NE(filtered.out, "");
    EXPECT_EQ(ReadFileBytes(scene.work().Child("out/ONE.TXT")), filtered.out);
    EXPECT_EQ(ReadFileBytes(scene.work().Child("out/TWO.TXT")), filtered.out);
  }
}

TEST(BatchTest, UnreadableWordsFileConvertsNothing) {
  Scene scene;
  scene.Make("in/a.txt", kPage);
  const CliOutcome outcome = scene.Run({"--words=missing.lst", "in/a.txt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "vintrel-cli: missing.lst: No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(scene.work().Child("A.TXT")));
}

// A termination signal in the middle of a file removes its incomplete output, keeps the
// outputs finished before it, and ends the program by that signal.
TEST(BatchTest, SignalRemovesTheIncompleteOutput) {
  Scene scene;
  scene.Make("in/a.txt", kPage);
  std::string big;
  while (big.size() < (64u << 20)) big += "A long line of text, hyphen-\nated here and there.\n";
  scene.Make("in/big.txt", big);
  scene.Make("dir:out", "");
  const std::string big_output = scene.work().Child("out/BIG.TXT");

  const pid_t pid = scene.Start({"--output-dir=out", "in/a.txt", "in/big.txt"});
  ASSERT_GT(pid, 0);
  bool started = false;
  for (int i = 0; i < 20000 && !started; ++i) {
    started = std::filesystem::exists(big_output);
    if (!started) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  ASSERT_TRUE(started) << "the big file's output never appeared";
  kill(pid, SIGTERM);
  const CliOutcome outcome = scene.Finish(pid);
  if (outcome.status == 0) GTEST_SKIP() << "the conversion ended before the signal came";
  EXPECT_EQ(outcome.signal, SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(big_output));
  EXPECT_EQ(ReadFileBytes(scene.work().Child("out/A.TXT")), kConverted);
  EXPECT_EQ(outcome.err, "in/a.txt -> out/A.TXT\n");
}

}  // namespace
}  // namespace vintrel
