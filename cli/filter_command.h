#ifndef VINTREL_CLI_FILTER_COMMAND_H_
#define VINTREL_CLI_FILTER_COMMAND_H_

#include <cstdio>

#include "cli/cli_options.h"

namespace vintrel::cli {

// Converts standard input to standard output with OPTIONS over the profile's settings and
// the chosen exception words. Errors go to ERRORS as "vintrel-cli: NAME: reason". Returns
// the exit status: 0 on success, 1 when a file could not be read or written (the explicit
// word list file included).
int RunFilter(const CliOptions& options, std::FILE* errors);

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_FILTER_COMMAND_H_
