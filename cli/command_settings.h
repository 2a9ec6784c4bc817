#ifndef VINTREL_CLI_COMMAND_SETTINGS_H_
#define VINTREL_CLI_COMMAND_SETTINGS_H_

#include <cstdio>

#include "cli/cli_options.h"
#include "engine/convert_file.h"
#include "output/output_name.h"

namespace vintrel {
class CMapStringToString;
class Profile;
}  // namespace vintrel

namespace vintrel::cli {

// The settings of one command: the profile's, each overridden by the command-line option
// that was given. Both are read once per command, so every file gets the same.

// The conversion options.
ConvertOptions EffectiveConvertOptions(const CliOptions& options, const Profile& profile);

// The output naming settings. --output-dir names a folder, so it gets its trailing '/';
// the profile's OutDir is kept as stored (a plain prefix, as the window uses it). The
// profile's policy ModeAsk becomes ModeSearchFree: nobody can be asked.
OutputNameSettings EffectiveNamingSettings(const CliOptions& options, const Profile& profile);

// Fills MAP with the exception words the options choose: the word list file (a missing
// one gives no words), the --words file, or none. Returns false after writing
// "vintrel-cli: FILE: reason" to ERRORS when the --words file cannot be opened. A read
// error after the opening throws FileError.
bool LoadCommandWords(const CliOptions& options, CMapStringToString* map, std::FILE* errors);

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_COMMAND_SETTINGS_H_
