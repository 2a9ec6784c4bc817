#ifndef VINTREL_CLI_BATCH_COMMAND_H_
#define VINTREL_CLI_BATCH_COMMAND_H_

#include <chrono>
#include <cstdio>

#include "cli/cli_options.h"

namespace vintrel::cli {

// Where the conversion of files reports, and whether it shows progress.
struct BatchStreams {
  std::FILE* output = stdout;  // the lines of a dry run
  std::FILE* errors = stderr;  // outcome lines, failures and the progress line
  bool progress = false;       // ERRORS is a terminal: a progress line when the work is long
  int width = 0;               // the terminal's width in columns (0: unknown)
  std::chrono::milliseconds progress_delay{1000};  // how long work runs before it shows
};

// Standard output and standard error, with progress when standard error is a terminal.
BatchStreams StandardStreams();

// Converts each file of OPTIONS.operands, in order, into a new output file named by the
// output naming rules (MakeOutputPath) from the file's last path component, upper-cased,
// with the settings of the command (EffectiveNamingSettings) and nobody to ask, relative
// to the current directory when no output folder is set. Every file gets the same
// conversion options and exception words, read once.
//
// Reports, in order: "FILE -> OUTPUT" on STREAMS.errors for each file converted, with
// " (overwritten)" when it replaced a file (not with OPTIONS.quiet); under
// OPTIONS.dry_run the same lines on STREAMS.output, nothing written; for each file not
// converted "vintrel-cli: FILE: reason" on STREAMS.errors, and the next file follows. A
// file is not converted when it cannot be opened (missing, a folder, a FIFO), when no
// numbered name is free, when its output would replace a file named as input of this
// command or an output this command made, when the output cannot be created, and after a
// read or write error (the incomplete output is then removed).
//
// A SIGINT, SIGTERM or SIGHUP during the conversion removes the incomplete output and
// then ends the process by that signal.
//
// Returns the exit status: 0 when every file was converted (or, for a dry run, would be),
// 1 otherwise, also when --output-dir names no folder or the --words file cannot be read
// (nothing converted then).
int RunBatch(const CliOptions& options, const BatchStreams& streams);

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_BATCH_COMMAND_H_
