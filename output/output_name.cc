#include "output/output_name.h"

#include <stdio.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace vintrel {

namespace {

// The numbered names run from .000 to .999.
constexpr int kNumberedNames = 1000;

// The numbered extension for N: a dot and N with at least three digits, zero-padded.
std::string NumberedExtension(int n) {
  char text[16];
  snprintf(text, sizeof text, ".%.3d", n);
  return text;
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

std::string OutputBaseName(std::string_view input_name) {
  return std::string(input_name.substr(0, input_name.find('.')));
}

std::string OutputFolderPrefix(const std::string& out_dir, const std::string& current_folder) {
  const std::string& folder = out_dir.empty() ? current_folder : out_dir;
  // A folder written without its trailing '/' still means that folder; text that names no
  // folder stays a plain prefix of the file name.
  if (!folder.empty() && folder.back() != '/' && IsFolder(folder)) return folder + "/";
  return folder;
}

bool AttributesCount(unsigned char attributes) {
  return attributes != kAttrHidden && attributes != kAttrSystem && attributes != kAttrFolder;
}

bool IsOutputNameInUse(const std::string& candidate) {
  // A hidden file of exactly this name would not count by its attribute byte, yet the
  // conversion would replace it: whatever file sits at the very path is in use.
  if (IsRegularFile(candidate)) return true;
  for (const DirEntry& entry : ListDirectory(candidate)) {
    if (AttributesCount(entry.attributes)) return true;
  }
  return false;
}

OutputNameResult MakeOutputPath(std::string_view input_name, const std::string& current_folder,
                                const OutputNameSettings& settings, const AskFunction& ask,
                                const std::function<bool(const std::string&)>& also_in_use) {
  const std::string stem =
      OutputFolderPrefix(settings.out_dir, current_folder) + OutputBaseName(input_name);
  auto in_use = [&also_in_use](const std::string& candidate) {
    return (also_in_use && also_in_use(candidate)) || IsOutputNameInUse(candidate);
  };

  OutputNameResult result;
  result.path = stem + settings.ext;
  if (!in_use(result.path)) {
    result.outcome = OutputNameOutcome::kFree;
    return result;
  }

  int mode = settings.mode;
  if (mode == ModeAsk && !ask) mode = ModeSearchFree;
  if (mode == ModeOverwrite) {
    result.outcome = OutputNameOutcome::kOverwrite;
    return result;
  }
  if (mode == ModeAsk) {
    const AskAnswer answer = ask(result.path);
    if (answer.choice == ChoiceOverwrite) {
      result.outcome = OutputNameOutcome::kOverwrite;
      return result;
    }
    if (answer.choice == ChoiceChangeExt) {
      result.path = stem + answer.ext;
      result.outcome = OutputNameOutcome::kChangedExtension;
      return result;
    }
  }

  for (int n = 0; n < kNumberedNames; ++n) {
    std::string candidate = stem + NumberedExtension(n);
    if (!in_use(candidate)) {
      result.path = std::move(candidate);
      result.outcome = OutputNameOutcome::kNumbered;
      return result;
    }
  }
  result.path.clear();
  result.outcome = OutputNameOutcome::kAllNumbersTaken;
  return result;
}

}  // namespace vintrel
