#include "cli/filter_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include "cli/command_settings.h"
#include "engine/convert_file.h"
#include "platform/core/app_paths.h"
#include "platform/core/file_error.h"
#include "platform/core/profile.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace vintrel::cli {
namespace {

// True when standard input and standard output are one regular file: converting it would
// read back what is written (with >>) or find it emptied already (with >).
bool InputIsOutput() {
  struct stat input;
  struct stat output;
  return fstat(STDIN_FILENO, &input) == 0 && fstat(STDOUT_FILENO, &output) == 0 &&
         S_ISREG(input.st_mode) && input.st_dev == output.st_dev && input.st_ino == output.st_ino;
}

}  // namespace

int RunFilter(const CliOptions& options, std::FILE* errors) {
  const std::string program(kProgramName);
  if (InputIsOutput()) {
    std::fprintf(errors, "%s: standard input and standard output are the same file\n",
                 program.c_str());
    return 1;
  }
  try {
    const Profile profile(ProfilePath());
    const ConvertOptions convert = EffectiveConvertOptions(options, profile);

    CMapStringToString keep_words;
    if (!LoadCommandWords(options, &keep_words, errors)) return 1;

    TextFile input;
    TextFile output;
    input.Attach(STDIN_FILENO, TextFile::kRead, "standard input");
    output.Attach(STDOUT_FILENO, TextFile::kWrite, "standard output");
    ConvertFile(input, output, convert, keep_words);
    output.Close();
    input.Close();
  } catch (const FileError& error) {
    std::fprintf(errors, "%s: %s\n", program.c_str(), error.what());
    return 1;
  }
  return 0;
}

}  // namespace vintrel::cli
