// vintrel-cli: converts text the way the window program converts files, with its settings
// and exception words: standard input to standard output, or each FILE named on the
// command line into a new output file.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/batch_command.h"
#include "cli/cli_options.h"
#include "cli/filter_command.h"
#include "platform/core/app_paths.h"

int main(int argc, char** argv) {
  using namespace vintrel::cli;
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CliParseResult parsed = ParseCliOptions(args);
  if (!parsed.ok) {
    std::fprintf(stderr, "%s\n%s\n", parsed.error.c_str(), TryHelpText().c_str());
    return 2;
  }
  const CliOptions& options = parsed.options;
  if (options.show_help || options.show_version) {
    const std::string text = options.show_help
                                 ? HelpText(vintrel::ProfilePath(), vintrel::WordListPath())
                                 : VersionText();
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      std::perror("vintrel-cli: write error");
      return 1;
    }
    return 0;
  }
  if (ConvertsFiles(options)) return RunBatch(options, StandardStreams());
  return RunFilter(options, stderr);
}
