#include "cli/command_settings.h"

#include <cstring>

#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/core/string_map.h"
#include "settings/settings_store.h"
#include "settings/word_list.h"

namespace vintrel::cli {

ConvertOptions EffectiveConvertOptions(const CliOptions& options, const Profile& profile) {
  ConvertOptions convert = ReadConvertOptions(profile);
  if (options.lead_mode) convert.lead_mode = *options.lead_mode;
  if (options.column) convert.column = *options.column;
  if (options.collapse_spaces) convert.collapse_spaces = *options.collapse_spaces;
  return convert;
}

OutputNameSettings EffectiveNamingSettings(const CliOptions& options, const Profile& profile) {
  OutputNameSettings settings;
  settings.ext = options.ext ? *options.ext : ReadOutputExt(profile);
  if (options.output_dir) {
    settings.out_dir = *options.output_dir;
    if (settings.out_dir.back() != '/') settings.out_dir += '/';
  } else {
    settings.out_dir = ReadOutDir(profile);
  }
  if (options.mode) {
    settings.mode = *options.mode;
  } else {
    settings.mode = ReadCollisionMode(profile) == ModeOverwrite ? ModeOverwrite : ModeSearchFree;
  }
  return settings;
}

bool LoadCommandWords(const CliOptions& options, CMapStringToString* map, std::FILE* errors) {
  if (options.words == WordSource::kGivenFile) {
    int error = 0;
    if (!LoadKeepWords(options.words_file, map, &error)) {
      std::fprintf(errors, "%s: %s: %s\n", std::string(kProgramName).c_str(),
                   options.words_file.c_str(), std::strerror(error));
      return false;
    }
  } else if (options.words == WordSource::kWordListFile) {
    LoadKeepWords(WordListPath(), map);
  }
  return true;
}

}  // namespace vintrel::cli
