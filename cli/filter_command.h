#ifndef VINTREL_CLI_FILTER_COMMAND_H_
#define VINTREL_CLI_FILTER_COMMAND_H_

#include <cstdio>

#include "cli/cli_options.h"
#include "engine/convert_file.h"

namespace vintrel {
class Profile;
}

namespace vintrel::cli {

// The conversion options of a command: the profile's settings, each overridden by the
// command-line option that was given.
ConvertOptions EffectiveConvertOptions(const CliOptions& options, const Profile& profile);

// Converts standard input to standard output with OPTIONS over the profile's settings and
// the chosen exception words. Errors go to ERRORS as "vintrel-cli: NAME: reason". Returns
// the exit status: 0 on success, 1 when a file could not be read or written (the explicit
// word list file included).
int RunFilter(const CliOptions& options, std::FILE* errors);

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_FILTER_COMMAND_H_
