#ifndef VINTREL_PLATFORM_CORE_APP_PATHS_H_
#define VINTREL_PLATFORM_CORE_APP_PATHS_H_

#include <string>

namespace vintrel {

// The folder of the program's settings: $XDG_CONFIG_HOME when it is set to an absolute
// path, otherwise $HOME/.config (the home folder from the password database when HOME is
// unset). Never ends with '/' (the root folder gives an empty text). Read afresh per call.
std::string ConfigFolder();

// ConfigFolder() + "/vintrel.INI": the profile of both programs.
std::string ProfilePath();

// ConfigFolder() + "/vintrel.lst": the exception word list.
std::string WordListPath();

// Creates ConfigFolder() and its missing parents (mode 0700). True when it exists as a
// folder afterwards.
bool MakeConfigFolder();

// Creates FOLDER and its missing parents with MODE (less the umask). True when FOLDER
// exists as a folder afterwards.
bool MakeFolders(const std::string& folder, unsigned mode);

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_APP_PATHS_H_
