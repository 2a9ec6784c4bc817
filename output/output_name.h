#ifndef VINTREL_OUTPUT_OUTPUT_NAME_H_
#define VINTREL_OUTPUT_OUTPUT_NAME_H_

// Output file naming: every input file of a conversion yields a new output file named after
// the input's base name with the default extension, in the output folder or, when none is
// set, in the current folder. When that name is in use, the collision policy decides.
//
// Nothing here reads the profile or shows anything: the settings come in as arguments, the
// question to the user is a callback, and a failure is reported in the result. The window
// reads the profile and asks through its confirmation dialog; vintrel-cli passes its
// options and asks nobody.

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/dir_list.h"

namespace vintrel {

// What to do when the first candidate is in use (profile entry `Mode`). Any value other
// than ModeAsk and ModeOverwrite acts as ModeSearchFree.
enum CollisionMode {
  ModeSearchFree = 0,  // take the first free numbered name, .000 to .999
  ModeAsk = 1,         // ask the user, then act as answered
  ModeOverwrite = 2,   // use the name in use; the conversion replaces that file
};

// The user's answer when asked about a name in use. Any value other than ChoiceChangeExt
// and ChoiceOverwrite acts as ChoiceAutoNumber.
enum VerifyChoice {
  ChoiceAutoNumber = 0,  // take the first free numbered name
  ChoiceChangeExt = 1,   // use the base name with the extension the user gave
  ChoiceOverwrite = 2,   // use the name in use
};

// The settings that output naming works from, as the profile (or the command line) gives
// them.
struct OutputNameSettings {
  // Appended exactly as given: no dot is added and its letter case is kept ("txt" makes
  // REPORTtxt).
  std::string ext = ".TXT";
  // Empty: the output goes into the current folder. Otherwise a prefix put directly before
  // the file name. When it names an existing folder without a trailing '/', the '/' is
  // supplied, so the file goes inside that folder; text that names no existing folder
  // (such as "/srv/out/conv_") is kept as a plain prefix. Never upper-cased.
  std::string out_dir;
  // A CollisionMode value; other values act as ModeSearchFree.
  int mode = ModeSearchFree;
};

// The answer of the question about a name in use.
struct AskAnswer {
  int choice = ChoiceAutoNumber;  // a VerifyChoice value; others act as ChoiceAutoNumber
  std::string ext;                // the extension for ChoiceChangeExt, used exactly as given
};

// Asks the user what to do about NAME_IN_USE, the full path of the first candidate. It may
// run a modal dialog; it is called at most once per MakeOutputPath call.
using AskFunction = std::function<AskAnswer(const std::string& name_in_use)>;

// How MakeOutputPath arrived at its result.
enum class OutputNameOutcome {
  kFree,              // the first candidate was not in use
  kOverwrite,         // the first candidate is in use and is to be replaced
  kNumbered,          // a free numbered name was found
  kChangedExtension,  // the user gave another extension; that name was not tested
  kAllNumbersTaken,   // every numbered name from .000 to .999 is in use; no path
};

struct OutputNameResult {
  std::string path;  // the full output path; empty only with kAllNumbersTaken
  OutputNameOutcome outcome = OutputNameOutcome::kFree;

  bool all_numbers_taken() const { return outcome == OutputNameOutcome::kAllNumbersTaken; }
};

// The base name of INPUT_NAME: everything before its first dot, the whole name when it has
// none, empty when it starts with a dot ("A.B.C" gives "A"). A dot byte never occurs inside
// a multibyte character of UTF-8 or Shift-JIS, so the scan is a plain byte scan.
std::string OutputBaseName(std::string_view input_name);

// The folder prefix output names are built on: OUT_DIR when it is not empty, otherwise
// CURRENT_FOLDER. A prefix that names an existing folder but lacks its trailing '/' gets
// one; any other prefix is returned as given.
std::string OutputFolderPrefix(const std::string& out_dir, const std::string& current_folder);

// True when an entry of a listing makes a name in use by its attribute byte alone: every
// byte counts except exactly kAttrHidden (2), kAttrSystem (4) and kAttrFolder (16). The
// whole byte is compared, so a read-only folder (17) or a hidden file with the archive bit
// (34) does count.
bool AttributesCount(unsigned char attributes);

// The existence test of one candidate path. The candidate is listed as a directory search
// pattern (ListDirectory): names are matched without regard to ASCII letter case, and when
// the candidate names an existing folder, that folder's entries are listed instead, so an
// empty folder (or one holding only hidden files and folders) does not make the name in
// use. Entries count by AttributesCount. In addition, a regular file at exactly the
// candidate's path always makes it in use, hidden or not, since the conversion would
// replace it. A candidate whose folder cannot be read is not in use. Never throws.
bool IsOutputNameInUse(const std::string& candidate);

// Derives the output path for INPUT_NAME, the input file's bare name (no folder), already
// upper-cased by the caller. CURRENT_FOLDER is where the output goes when SETTINGS.out_dir
// is empty; it normally ends with '/'.
//
// The first candidate is folder + base name + SETTINGS.ext. When it is not in use it is
// the result. Otherwise, by SETTINGS.mode:
//   ModeOverwrite: the first candidate (it may be the input file itself; the conversion's
//     exclusive open keeps the input intact then).
//   ModeAsk: ASK is called once with the first candidate. ChoiceOverwrite gives the first
//     candidate; ChoiceChangeExt gives folder + base name + the answer's ext, not tested
//     again; anything else the numbered search. When ASK is empty (nobody to ask), ModeAsk
//     acts as ModeSearchFree.
//   ModeSearchFree and any other value: the numbered search.
// The numbered search tests folder + base name + ".000", ".001", ... ".999" in that order
// and gives the first that is not in use; the stored extension plays no part. When all
// 1,000 are in use the result has an empty path and kAllNumbersTaken; the caller tells the
// user. Exceptions thrown by ASK propagate; nothing else throws except std::bad_alloc.
// ALSO_IN_USE, when not empty, names more candidates that count as in use besides what the
// folder holds (a dry run's outputs planned before, which exist nowhere yet).
OutputNameResult MakeOutputPath(std::string_view input_name, const std::string& current_folder,
                                const OutputNameSettings& settings, const AskFunction& ask,
                                const std::function<bool(const std::string&)>& also_in_use = {});

}  // namespace vintrel

#endif  // VINTREL_OUTPUT_OUTPUT_NAME_H_
