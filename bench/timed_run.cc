// timed_run: runs a command with its standard input and output redirected to files and
// reports its wall-clock time and its peak memory, for bench/run.sh.
//
//   timed_run INPUT OUTPUT COMMAND [ARG]...
//
// OUTPUT is created or emptied before the command starts (outside the time measured).
// Prints one line "SECONDS MAX_RSS_KIB EXIT_STATUS USER_SECONDS SYSTEM_SECONDS" on standard
// output: the wall-clock time from the fork to the end of the wait, the command's peak
// resident set, and the processor time it used in user space and in the kernel.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: timed_run INPUT OUTPUT COMMAND [ARG]...\n");
    return 2;
  }
  const int input = open(argv[1], O_RDONLY | O_CLOEXEC);
  if (input < 0) {
    std::perror(argv[1]);
    return 1;
  }
  const int output = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (output < 0) {
    std::perror(argv[2]);
    return 1;
  }
  timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    return 1;
  }
  if (pid == 0) {
    dup2(input, STDIN_FILENO);
    dup2(output, STDOUT_FILENO);
    execvp(argv[3], argv + 3);
    std::perror(argv[3]);
    _exit(127);
  }
  int status = 0;
  rusage usage;
  if (wait4(pid, &status, 0, &usage) != pid) {
    std::perror("wait4");
    return 1;
  }
  timespec stop;
  clock_gettime(CLOCK_MONOTONIC, &stop);
  const double seconds =
      static_cast<double>(stop.tv_sec - start.tv_sec) + (stop.tv_nsec - start.tv_nsec) / 1e9;
  const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  auto as_seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  std::printf("%.6f %ld %d %.6f %.6f\n", seconds, usage.ru_maxrss, exit_status,
              as_seconds(usage.ru_utime), as_seconds(usage.ru_stime));
  return 0;
}
