#include "cli/cli_options.h"

#include <climits>

#include "engine/convert_file.h"

namespace vintrel::cli {
namespace {

enum class OptionId {
  kLeading,
  kColumn,
  kCollapseSpaces,
  kNoCollapseSpaces,
  kWords,
  kNoWords,
  kOutputDir,
  kExt,
  kMode,
  kDryRun,
  kQuiet,
  kHelp,
  kVersion,
};

struct LongOption {
  std::string_view name;
  bool takes_value;
  OptionId id;
};

constexpr LongOption kLongOptions[] = {
    {"leading", true, OptionId::kLeading},
    {"column", true, OptionId::kColumn},
    {"collapse-spaces", false, OptionId::kCollapseSpaces},
    {"no-collapse-spaces", false, OptionId::kNoCollapseSpaces},
    {"words", true, OptionId::kWords},
    {"no-words", false, OptionId::kNoWords},
    {"output-dir", true, OptionId::kOutputDir},
    {"ext", true, OptionId::kExt},
    {"mode", true, OptionId::kMode},
    {"dry-run", false, OptionId::kDryRun},
    {"quiet", false, OptionId::kQuiet},
    {"help", false, OptionId::kHelp},
    {"version", false, OptionId::kVersion},
};

// A word an option takes as its value, and the number it stands for.
struct ValueName {
  std::string_view name;
  int value;
};

constexpr ValueName kLeadingNames[] = {
    {"keep", LeadKeep},
    {"all", LeadDelAll},
    {"column", LeadDelColumn},
};

// Asking needs a window: on the command line a name in use is numbered or overwritten.
constexpr ValueName kModeNames[] = {
    {"number", ModeSearchFree},
    {"overwrite", ModeOverwrite},
};

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string Message(std::string_view text) {
  return std::string(kProgramName) + ": " + std::string(text);
}

// Looks VALUE up in NAMES (exactly); on failure sets *ERROR to the list of valid words.
template <size_t N>
bool LookUpValue(const ValueName (&names)[N], std::string_view option, const std::string& value,
                 int* result, std::string* error) {
  for (const ValueName& name : names) {
    if (name.name == value) {
      *result = name.value;
      return true;
    }
  }
  *error = Message("invalid argument " + Quote(value) + " for '--" + std::string(option) + "'") +
           "\nValid arguments are:";
  for (const ValueName& name : names) *error += "\n  - " + Quote(name.name);
  return false;
}

// Finds the option NAME names exactly, or the one option it is a prefix of. On failure
// returns null and sets *ERROR.
const LongOption* FindLongOption(std::string_view name, std::string_view argument,
                                 std::string* error) {
  const LongOption* found = nullptr;
  std::string candidates;
  int matches = 0;
  for (const LongOption& option : kLongOptions) {
    if (option.name == name) return &option;
    if (option.name.substr(0, name.size()) == name) {
      found = &option;
      ++matches;
      candidates += " '--" + std::string(option.name) + "'";
    }
  }
  if (matches == 1) return found;
  if (matches == 0) {
    *error = Message("unrecognized option " + Quote(argument));
  } else {
    *error = Message("option " + Quote(argument) + " is ambiguous; possibilities:" + candidates);
  }
  return nullptr;
}

// A column count: decimal digits only, at most INT_MAX.
bool ParseColumn(std::string_view text, int* column) {
  if (text.empty()) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return false;
  }
  *column = static_cast<int>(value);
  return true;
}

// Applies OPTION with VALUE (empty when it takes none) to OPTIONS; false and *ERROR when
// the value is not valid.
bool Apply(const LongOption& option, const std::string& value, CliOptions* options,
           std::string* error) {
  switch (option.id) {
    case OptionId::kLeading: {
      int mode = LeadKeep;
      if (!LookUpValue(kLeadingNames, option.name, value, &mode, error)) return false;
      options->lead_mode = mode;
      return true;
    }
    case OptionId::kColumn: {
      int column = 0;
      if (!ParseColumn(value, &column)) {
        *error = Message("invalid column count " + Quote(value) +
                         " (a whole number from 0 up is expected)");
        return false;
      }
      options->column = column;
      return true;
    }
    case OptionId::kCollapseSpaces:
      options->collapse_spaces = true;
      return true;
    case OptionId::kNoCollapseSpaces:
      options->collapse_spaces = false;
      return true;
    case OptionId::kWords:
      if (value.empty()) {
        *error = Message("option '--words' needs a file name");
        return false;
      }
      options->words = WordSource::kGivenFile;
      options->words_file = value;
      return true;
    case OptionId::kNoWords:
      options->words = WordSource::kNone;
      options->words_file.clear();
      return true;
    case OptionId::kOutputDir:
      if (value.empty()) {
        *error = Message("option '--output-dir' needs a folder name");
        return false;
      }
      options->output_dir = value;
      return true;
    case OptionId::kExt:
      // The extension is put directly after the base name: a '/' would make a path.
      if (value.find('/') != std::string::npos) {
        *error = Message("invalid extension " + Quote(value) + " (it may not contain '/')");
        return false;
      }
      options->ext = value;
      return true;
    case OptionId::kMode: {
      int mode = ModeSearchFree;
      if (!LookUpValue(kModeNames, option.name, value, &mode, error)) return false;
      options->mode = mode;
      return true;
    }
    case OptionId::kDryRun:
      options->dry_run = true;
      return true;
    case OptionId::kQuiet:
      options->quiet = true;
      return true;
    case OptionId::kHelp:
      options->show_help = true;
      return true;
    case OptionId::kVersion:
      options->show_version = true;
      return true;
  }
  return true;
}

// True for the options that only the conversion of files uses.
bool IsFileOption(OptionId id) {
  return id == OptionId::kOutputDir || id == OptionId::kExt || id == OptionId::kMode ||
         id == OptionId::kDryRun;
}

// The operands and options that make no sense together; false and *ERROR when some are
// given. FILE_OPTION is the first option given that only files use, or null.
bool CheckCombination(const CliOptions& options, const LongOption* file_option,
                      std::string* error) {
  const std::vector<std::string>& operands = options.operands;
  if (operands.size() > 1) {
    size_t dashes = 0;
    for (const std::string& operand : operands) dashes += operand == "-";
    if (dashes == operands.size()) {
      *error = Message("extra operand '-'");
      return false;
    }
    if (dashes > 0) {
      *error = Message("standard input ('-') cannot be converted together with files");
      return false;
    }
  }
  // Without files the command reads standard input: refusing is better than waiting there
  // for a script whose list of files came out empty.
  if (file_option != nullptr && !ConvertsFiles(options)) {
    *error = Message("option '--" + std::string(file_option->name) + "' needs FILE operands");
    return false;
  }
  return true;
}

}  // namespace

bool ConvertsFiles(const CliOptions& options) {
  return !options.operands.empty() &&
         !(options.operands.size() == 1 && options.operands.front() == "-");
}

CliParseResult ParseCliOptions(const std::vector<std::string>& args) {
  CliParseResult result;
  bool options_ended = false;
  const LongOption* file_option = nullptr;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& argument = args[i];
    if (options_ended || argument == "-" || argument.empty() || argument[0] != '-') {
      result.options.operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument[1] != '-') {
      result.error = Message("invalid option -- " + Quote(argument.substr(1, 1)));
      return result;
    }
    const size_t equals = argument.find('=');
    const std::string_view name = std::string_view(argument).substr(
        2, equals == std::string::npos ? std::string::npos : equals - 2);
    const std::string_view shown = std::string_view(argument).substr(0, equals);
    const LongOption* option = FindLongOption(name, shown, &result.error);
    if (option == nullptr) return result;
    std::string value;
    if (equals != std::string::npos) {
      if (!option->takes_value) {
        result.error =
            Message("option '--" + std::string(option->name) + "' doesn't allow an argument");
        return result;
      }
      value = argument.substr(equals + 1);
    } else if (option->takes_value) {
      if (i + 1 >= args.size()) {
        result.error = Message("option '--" + std::string(option->name) + "' requires an argument");
        return result;
      }
      value = args[++i];
    }
    if (!Apply(*option, value, &result.options, &result.error)) return result;
    if (file_option == nullptr && IsFileOption(option->id)) file_option = option;
  }
  if (!result.options.show_help && !result.options.show_version &&
      !CheckCombination(result.options, file_option, &result.error)) {
    return result;
  }
  result.ok = true;
  return result;
}

std::string HelpText(const std::string& profile_path, const std::string& word_list_path) {
  const std::string program(kProgramName);
  std::string text;
  text += "Usage: " + program + " [OPTION]... [-] <INPUT >OUTPUT\n";
  text += "  or:  " + program + " [OPTION]... FILE...\n";
  text +=
      "Remove end-of-line hyphenation from text that OCR produced.\n"
      "\n"
      "With no FILE, or when FILE is -, convert standard input and write the result\n"
      "to standard output. Otherwise convert each FILE into a new output file, named\n"
      "as the window program names its outputs: the FILE's last name component,\n"
      "upper-cased, up to its first dot, followed by the output extension (.TXT\n"
      "unless set), in the output folder, or in the current directory when none is\n"
      "set. When that name is in use (letter case aside), the first free name\n"
      "NAME.000 to NAME.999 is taken, or the file is overwritten, as the collision\n"
      "policy says; an output never replaces a FILE of the same command or an output\n"
      "it has just made. FILE names are taken as they are: expanding wildcards is\n"
      "the shell's job.\n"
      "\n"
      "A line that ends in a single hyphen loses the hyphen and is joined with the\n"
      "next line, whose first space becomes the line break. Exception words such as\n"
      "\"socio-\" are joined the same way but keep their hyphen. Blanks at line ends\n"
      "are removed.\n"
      "\n"
      "Options not given take their values from the settings file, read once: every\n"
      "FILE gets the same settings and exception words.\n"
      "  --leading=MODE          blanks at the start of a line: 'keep' them, delete\n"
      "                            'all' of them, or 'column': delete an indentation\n"
      "                            of up to N blanks, keep the last N of a longer one,\n"
      "                            delete all before a lower-case letter\n"
      "  --column=N              the N of --leading=column (default: the settings'\n"
      "                            Column, 4 when it is not set)\n"
      "  --collapse-spaces       reduce every run of spaces to one space\n"
      "  --no-collapse-spaces    leave runs of spaces as they are\n"
      "  --words=FILE            read the exception words from FILE, one per line\n"
      "                            with its hyphen\n"
      "  --no-words              use no exception words\n"
      "\n"
      "Conversion of files:\n"
      "  --output-dir=DIR        write the output files into the folder DIR\n"
      "                            (default: the settings' OutDir, else the current\n"
      "                            directory)\n"
      "  --ext=EXT               the output extension, used as given: --ext=.txt\n"
      "                            (default: the settings' Ext, else .TXT)\n"
      "  --mode=POLICY           when an output name is in use: 'number' takes the\n"
      "                            first free NAME.000 to NAME.999, 'overwrite'\n"
      "                            replaces the file (default: the settings' Mode;\n"
      "                            asking, which needs the window, numbers)\n"
      "  --dry-run               print 'FILE -> OUTPUT' for each FILE on standard\n"
      "                            output and write nothing\n"
      "  --quiet                 report only the files that were not converted (a\n"
      "                            dry run still prints its lines)\n"
      "      --help     display this help and exit\n"
      "      --version  output version information and exit\n"
      "\n"
      "Each FILE converted is reported on standard error as 'FILE -> OUTPUT', followed\n"
      "by ' (overwritten)' when it replaced a file. A FILE that cannot be converted is\n"
      "reported as '" +
      program +
      ": FILE: reason', and the next FILE follows; an output\n"
      "left incomplete by an error or an interruption is removed. On a terminal a\n"
      "progress line '[N/TOTAL] FILE' shows once the work has lasted a second.\n"
      "\n"
      "Input and output are text with CR LF line ends: a CR byte of the input is\n"
      "dropped, a byte 0x1A ends it, and every line break is written as CR LF. Other\n"
      "bytes pass through unchanged (ASCII, Shift-JIS or UTF-8).\n"
      "\n"
      "Settings:\n";
  text += "  " + profile_path +
          "\n"
          "      section [Default]: DelAll=1 deletes all leading blanks, else DelColumn=1\n"
          "      applies the column rule with Column (default 4); DelSpac3 other than 0\n"
          "      collapses spaces; Ext is the output extension. [Filename] Mode: 0\n"
          "      numbers, 1 asks (numbers here), 2 overwrites. [Regist] OutDir: the\n"
          "      output folder.\n";
  text += "  " + word_list_path +
          "\n"
          "      the exception words, used unless --words or --no-words is given;\n"
          "      a missing file means no exception words.\n";
  text +=
      "\n"
      "Exit status:\n"
      " 0  if OK (every FILE converted),\n"
      " 1  if a file could not be read or written, or a FILE was not converted,\n"
      " 2  if the command line is wrong.\n";
  return text;
}

std::string VersionText() { return std::string(kProgramName) + " (Vintrel) " VINTREL_VERSION "\n"; }

std::string TryHelpText() {
  return "Try '" + std::string(kProgramName) + " --help' for more information.";
}

}  // namespace vintrel::cli
