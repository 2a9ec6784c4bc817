#include "cli/batch_command.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "cli/command_settings.h"
#include "cli/interrupt_signals.h"
#include "cli/progress_line.h"
#include "engine/convert_file.h"
#include "output/output_name.h"
#include "platform/core/app_paths.h"
#include "platform/core/file_error.h"
#include "platform/core/profile.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"
#include "platform/core/upper_case.h"

namespace vintrel::cli {
namespace {

// A file as the system knows it, whatever name it goes by.
using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> IdOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileId(st.st_dev, st.st_ino);
}

// Thrown by the line hook when an interrupting signal has arrived: it leaves ConvertFile
// before the next piece is written.
struct Interrupted {};

// The reason an open failed. The file layer answers a FIFO, socket or device with EINVAL
// and a file another program holds locked with EBUSY; say what they mean.
std::string OpenFailureReason(int error) {
  if (error == EINVAL) return "not a regular file";
  if (error == EBUSY) return "in use by another program";
  return ErrorText(error);
}

// The last component of PATH: what follows its last '/' (a '/' byte never occurs inside
// a multibyte character), or the whole path when it has none.
std::string LastComponent(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// What creating the output PATH would fail with, as far as can be told without creating
// it (for a dry run): the errno value of a folder that is missing, no folder or not
// writable, or of a path that names something other than a regular file; 0 otherwise.
int CreationError(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  if (access(folder.c_str(), W_OK | X_OK) != 0) return errno;
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  }
  return 0;
}

// One command converting files: the settings read once, the files known to the command,
// and the reports.
class BatchRun {
 public:
  BatchRun(const CliOptions& options, const BatchStreams& streams)
      : options_(options),
        streams_(streams),
        progress_(streams.errors, streams.progress && !options.quiet, streams.progress_delay,
                  streams.width) {}

  int Run() {
    try {
      if (!Prepare()) return 1;
    } catch (const FileError& error) {  // the word list could not be read
      Fail(error.path(), error.reason());
      return 1;
    }

    // A dry run leaves nothing behind that an interruption could spoil.
    std::optional<ScopedInterruptSignals> signals;
    if (!options_.dry_run) signals.emplace();
    signals_ = signals ? &*signals : nullptr;

    const std::vector<std::string>& files = options_.operands;
    const int total = static_cast<int>(files.size());
    int failed = 0;
    for (int i = 0; i < total; ++i) {
      if (interrupted()) break;
      progress_.Start(i + 1, total, files[i]);
      try {
        if (!ConvertOne(files[i])) ++failed;
      } catch (const Interrupted&) {
        break;
      }
    }
    progress_.Clear();

    if (interrupted()) {
      std::fflush(streams_.output);
      std::fflush(streams_.errors);
      signals->Resend();
      return 1;  // only when the signal does not end the process
    }
    if (failed > 0 && total > 1) {
      std::fprintf(streams_.errors, "%s: %d of %d files %s converted\n", Program().c_str(), failed,
                   total, options_.dry_run ? "would not be" : "were not");
    }
    if (options_.dry_run && (std::fflush(streams_.output) != 0 || std::ferror(streams_.output))) {
      Fail("standard output", ErrorText(errno));
      return 1;
    }
    return failed > 0 ? 1 : 0;
  }

 private:
  static std::string Program() { return std::string(kProgramName); }

  bool interrupted() const { return signals_ != nullptr && signals_->received() != 0; }

  // Reads the settings and the exception words and notes the files named as inputs.
  // False after reporting what stops the command before its first file.
  bool Prepare() {
    if (options_.output_dir) {
      struct stat st;
      if (stat(options_.output_dir->c_str(), &st) != 0) {
        Fail(*options_.output_dir, ErrorText(errno));
        return false;
      }
      if (!S_ISDIR(st.st_mode)) {
        Fail(*options_.output_dir, ErrorText(ENOTDIR));
        return false;
      }
    }
    {
      const Profile profile(ProfilePath());
      convert_ = EffectiveConvertOptions(options_, profile);
      naming_ = EffectiveNamingSettings(options_, profile);
    }
    if (!LoadCommandWords(options_, &keep_words_, streams_.errors)) return false;
    for (const std::string& file : options_.operands) {
      if (std::optional<FileId> id = IdOf(file)) inputs_.emplace(*id, file);
    }
    return true;
  }

  // Converts the file PATH into a new output file, or for a dry run only names it. True
  // when it was (or would be) converted; false after reporting why not.
  bool ConvertOne(const std::string& path) {
    TextFile input;
    if (int error = input.Open(path, TextFile::kRead)) {
      Fail(path, OpenFailureReason(error));
      return false;
    }
    const std::string name = ToUpperAscii(LastComponent(path));
    // A dry run creates nothing, yet the conversion would find the outputs named before in
    // use (without regard to letter case), so they count as in use here.
    std::function<bool(const std::string&)> planned;
    if (options_.dry_run && naming_.mode != ModeOverwrite) {
      planned = [this](const std::string& candidate) { return IsPlanned(candidate); };
    }
    const OutputNameResult named =
        MakeOutputPath(name, std::string(), naming_, AskFunction(), planned);
    if (named.all_numbers_taken()) {
      const std::string stem = Stem(name);
      Fail(path, "no free output name (" + stem + ".000 to " + stem + ".999 are all taken)");
      return false;
    }
    const std::string& output_path = named.path;
    if (std::optional<std::string> refusal = Refusal(output_path, IdOf(path))) {
      Fail(path, *refusal);
      return false;
    }
    struct stat st;
    const bool replaces = stat(output_path.c_str(), &st) == 0 && S_ISREG(st.st_mode);

    if (options_.dry_run) {
      if (int error = CreationError(output_path)) {
        Fail(path, "cannot create " + Quote(output_path) + ": " + OpenFailureReason(error));
        return false;
      }
      planned_.insert(ToUpperAscii(output_path));
      Report(streams_.output, path + " -> " + output_path + (replaces ? " (would overwrite)" : ""));
      return true;
    }

    // Held exclusively: an output path that names the input fails here and never empties it.
    TextFile output;
    if (int error = output.Open(output_path, TextFile::kWrite)) {
      Fail(path, "cannot create " + Quote(output_path) + ": " + OpenFailureReason(error));
      return false;
    }
    try {
      auto line_hook = [this] {
        progress_.Tick();
        if (interrupted()) throw Interrupted();
      };
      ConvertFile(input, output, convert_, keep_words_, line_hook);
      output.Close();
    } catch (const FileError& error) {
      Discard(input, output, output_path);
      if (error.path() == output_path) {
        Fail(path, "cannot write " + Quote(output_path) + ": " + error.reason() +
                       " (incomplete output removed)");
      } else {
        Fail(path, error.reason() + " (incomplete output " + Quote(output_path) + " removed)");
      }
      return false;
    } catch (const Interrupted&) {
      Discard(input, output, output_path);
      throw;
    }
    input.Abandon();  // read only: nothing to write out
    if (std::optional<FileId> id = IdOf(output_path)) created_.insert(*id);
    if (!options_.quiet) {
      Report(streams_.errors, path + " -> " + output_path + (replaces ? " (overwritten)" : ""));
    }
    return true;
  }

  // The folder and base name the numbered names of NAME are built on.
  std::string Stem(const std::string& name) const {
    return OutputFolderPrefix(naming_.out_dir, std::string()) + OutputBaseName(name);
  }

  bool IsPlanned(const std::string& path) const { return planned_.count(ToUpperAscii(path)) != 0; }

  // Why OUTPUT_PATH must not be written for the input INPUT_ID, or nothing when it may:
  // an output never replaces a file named as input of this command (the input at hand
  // included), nor an output this command has made.
  std::optional<std::string> Refusal(const std::string& output_path,
                                     const std::optional<FileId>& input_id) const {
    if (std::optional<FileId> id = IdOf(output_path)) {
      if (input_id && *id == *input_id) {
        return "output " + Quote(output_path) + " is the file itself; not overwritten";
      }
      if (auto input = inputs_.find(*id); input != inputs_.end()) {
        return "output " + Quote(output_path) + " is the input " + Quote(input->second) +
               " of this command; not overwritten";
      }
      if (created_.count(*id) != 0) return "will not overwrite just-created " + Quote(output_path);
    }
    if (options_.dry_run && IsPlanned(output_path)) {
      return "will not overwrite just-created " + Quote(output_path);
    }
    return std::nullopt;
  }

  // Closes both files without writing out anything more and removes the incomplete output.
  static void Discard(TextFile& input, TextFile& output, const std::string& output_path) {
    output.Abandon();
    input.Abandon();
    unlink(output_path.c_str());
  }

  void Report(std::FILE* stream, const std::string& line) {
    progress_.Clear();
    std::fprintf(stream, "%s\n", line.c_str());
  }

  void Fail(const std::string& name, const std::string& reason) {
    progress_.Clear();
    std::fprintf(streams_.errors, "%s: %s: %s\n", Program().c_str(), name.c_str(), reason.c_str());
  }

  const CliOptions& options_;
  const BatchStreams& streams_;
  ProgressLine progress_;
  ScopedInterruptSignals* signals_ = nullptr;
  ConvertOptions convert_;
  OutputNameSettings naming_;
  CMapStringToString keep_words_;
  std::map<FileId, std::string> inputs_;  // every file named as input, by its first name
  std::set<FileId> created_;              // the outputs made so far
  std::set<std::string> planned_;         // a dry run's outputs, upper-cased
};

}  // namespace

BatchStreams StandardStreams() {
  BatchStreams streams;
  streams.progress = isatty(STDERR_FILENO) != 0;
  streams.width = TerminalWidth(STDERR_FILENO);
  return streams;
}

int RunBatch(const CliOptions& options, const BatchStreams& streams) {
  BatchRun run(options, streams);
  return run.Run();
}

}  // namespace vintrel::cli
