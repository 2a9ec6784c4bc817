#ifndef VINTREL_CLI_CLI_OPTIONS_H_
#define VINTREL_CLI_CLI_OPTIONS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_name.h"

namespace vintrel::cli {

inline constexpr std::string_view kProgramName = "vintrel-cli";

// Where the exception words of a conversion come from.
enum class WordSource {
  kWordListFile,  // the word list file beside the profile; a missing file means no words
  kGivenFile,     // the file named by --words; one that cannot be read is an error
  kNone,          // --no-words
};

// The command line, parsed. An option that was not given leaves its field empty, so the
// profile's setting applies.
struct CliOptions {
  std::optional<int> lead_mode;  // a LeadingBlankMode
  std::optional<int> column;     // not negative
  std::optional<bool> collapse_spaces;
  WordSource words = WordSource::kWordListFile;
  std::string words_file;  // with kGivenFile
  // The conversion of files (FILE operands): where the output files go and how they are
  // named. Empty: the profile's setting.
  std::optional<std::string> output_dir;  // --output-dir: a folder, never empty
  std::optional<std::string> ext;         // --ext: used as given, no '/' in it
  std::optional<int> mode;                // --mode: ModeSearchFree or ModeOverwrite
  bool dry_run = false;                   // --dry-run: name the outputs, write nothing
  bool quiet = false;                     // --quiet: no outcome lines, no progress line
  bool show_help = false;
  bool show_version = false;
  std::vector<std::string> operands;  // arguments that are not options, in order
};

// The outcome of parsing: either options, or an error message for the user.
struct CliParseResult {
  bool ok = false;
  CliOptions options;
  // When !ok: one or more lines, each starting with "vintrel-cli: ", ending without a line
  // feed, e.g. "vintrel-cli: unrecognized option '--foo'".
  std::string error;
};

// True when OPTIONS name files to convert: any operands except none or a lone "-" (both
// mean standard input to standard output).
bool ConvertsFiles(const CliOptions& options);

// Parses ARGS (the arguments after the program name) the GNU way: long options as
// --name=VALUE or --name VALUE, any unambiguous prefix of a long option name, "--" ends the
// options, a lone "-" and every other argument not starting with '-' is an operand, options
// and operands may be mixed; a later option overrides an earlier one. No global state.
// Unless --help or --version is given, it also refuses "-" among other operands and the
// options that only files use (--output-dir, --ext, --mode, --dry-run) without files.
CliParseResult ParseCliOptions(const std::vector<std::string>& args);

// The text of --help, naming the profile and word list files at their real paths.
std::string HelpText(const std::string& profile_path, const std::string& word_list_path);

// The text of --version.
std::string VersionText();

// The second line of a usage error.
std::string TryHelpText();

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_CLI_OPTIONS_H_
