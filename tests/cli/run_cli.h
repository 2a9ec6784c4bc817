#ifndef VINTREL_TESTS_CLI_RUN_CLI_H_
#define VINTREL_TESTS_CLI_RUN_CLI_H_

// Runs the built vintrel-cli (VINTREL_CLI_PATH) as a child process with its settings in a
// folder of the test's own, its standard streams on files, and optionally another
// current directory or a limit on the size of the files it writes.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace vintrel::test {

struct CliRun {
  std::vector<std::string> args;
  std::string config;       // XDG_CONFIG_HOME
  std::string home;         // HOME
  std::string cwd;          // the current directory; empty: the test's own
  std::string stdin_path;   // standard input; empty: /dev/null
  std::string stdout_path;  // standard output (read back by WaitCli when capture_stdout)
  int stdout_flags = O_TRUNC;
  bool capture_stdout = true;
  std::string stderr_path;    // standard error (always read back)
  long file_size_limit = -1;  // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored; -1: none
};

struct CliOutcome {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  int signal = 0;   // the signal that ended it, or 0
  std::string out;
  std::string err;
};

// Starts vintrel-cli as RUN says; returns its process id, or -1 (with a test failure).
inline pid_t StartCli(const CliRun& run) {
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("XDG_CONFIG_HOME=", 0) == 0 || entry.rfind("HOME=", 0) == 0) continue;
    env_strings.push_back(entry);
  }
  env_strings.push_back("XDG_CONFIG_HOME=" + run.config);
  env_strings.push_back("HOME=" + run.home);
  std::vector<char*> envp;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);

  std::vector<std::string> argv_strings = {VINTREL_CLI_PATH};
  argv_strings.insert(argv_strings.end(), run.args.begin(), run.args.end());
  std::vector<char*> argv;
  for (std::string& s : argv_strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  const std::string in_path = run.stdin_path.empty() ? "/dev/null" : run.stdin_path;
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(run.stdout_path.c_str(), O_WRONLY | O_CREAT | run.stdout_flags, 0644);
    const int err = open(run.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
      _exit(126);
    }
    if (!run.cwd.empty() && chdir(run.cwd.c_str()) != 0) _exit(126);
    if (run.file_size_limit >= 0) {
      struct rlimit limit;
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(run.file_size_limit);
      signal(SIGXFSZ, SIG_IGN);
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    execve(VINTREL_CLI_PATH, argv.data(), envp.data());
    _exit(127);
  }
  EXPECT_GT(pid, 0) << "fork failed";
  return pid;
}

// Waits for the program PID started with RUN and collects what it wrote.
inline CliOutcome WaitCli(pid_t pid, const CliRun& run) {
  CliOutcome outcome;
  if (pid <= 0) return outcome;
  int wait_status = 0;
  EXPECT_EQ(waitpid(pid, &wait_status, 0), pid);
  if (WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) outcome.signal = WTERMSIG(wait_status);
  if (run.capture_stdout) outcome.out = ReadFileBytes(run.stdout_path);
  outcome.err = ReadFileBytes(run.stderr_path);
  return outcome;
}

inline CliOutcome RunCliProcess(const CliRun& run) { return WaitCli(StartCli(run), run); }

}  // namespace vintrel::test

#endif  // VINTREL_TESTS_CLI_RUN_CLI_H_
