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
    {"help", false, OptionId::kHelp},
    {"version", false, OptionId::kVersion},
};

struct LeadingName {
  std::string_view name;
  int mode;
};

constexpr LeadingName kLeadingNames[] = {
    {"keep", LeadKeep},
    {"all", LeadDelAll},
    {"column", LeadDelColumn},
};

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string Message(std::string_view text) {
  return std::string(kProgramName) + ": " + std::string(text);
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
    case OptionId::kLeading:
      for (const LeadingName& leading : kLeadingNames) {
        if (leading.name == value) {
          options->lead_mode = leading.mode;
          return true;
        }
      }
      *error = Message("invalid argument " + Quote(value) + " for '--leading'") +
               "\nValid arguments are:\n  - 'keep'\n  - 'all'\n  - 'column'";
      return false;
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
    case OptionId::kHelp:
      options->show_help = true;
      return true;
    case OptionId::kVersion:
      options->show_version = true;
      return true;
  }
  return true;
}

}  // namespace

CliParseResult ParseCliOptions(const std::vector<std::string>& args) {
  CliParseResult result;
  bool options_ended = false;
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
  }
  result.ok = true;
  return result;
}

std::string HelpText(const std::string& profile_path, const std::string& word_list_path) {
  std::string text;
  text += "Usage: " + std::string(kProgramName) + " [OPTION]... < INPUT > OUTPUT\n";
  text +=
      "Remove end-of-line hyphenation from the text on standard input and write the result\n"
      "to standard output.\n"
      "\n"
      "A line that ends in a single hyphen loses the hyphen and is joined with the next\n"
      "line, whose first space becomes the line break. Exception words such as \"socio-\"\n"
      "are joined the same way but keep their hyphen. Blanks at line ends are removed.\n"
      "\n"
      "Options not given take their values from the settings file.\n"
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
      "      --help     display this help and exit\n"
      "      --version  output version information and exit\n"
      "\n"
      "Input and output are text with CR LF line ends: a CR byte of the input is dropped,\n"
      "a byte 0x1A ends it, and every line break is written as CR LF. Other bytes pass\n"
      "through unchanged (ASCII, Shift-JIS or UTF-8).\n"
      "\n"
      "Settings:\n";
  text += "  " + profile_path +
          "\n"
          "      section [Default]: DelAll=1 deletes all leading blanks, else DelColumn=1\n"
          "      applies the column rule with Column (default 4); DelSpac3 other than 0\n"
          "      collapses spaces.\n";
  text += "  " + word_list_path +
          "\n"
          "      the exception words, used unless --words or --no-words is given;\n"
          "      a missing file means no exception words.\n";
  text +=
      "\n"
      "Exit status:\n"
      " 0  if OK,\n"
      " 1  if a file could not be read or written,\n"
      " 2  if the command line is wrong.\n";
  return text;
}

std::string VersionText() { return std::string(kProgramName) + " (Vintrel) " VINTREL_VERSION "\n"; }

std::string TryHelpText() {
  return "Try '" + std::string(kProgramName) + " --help' for more information.";
}

}  // namespace vintrel::cli
