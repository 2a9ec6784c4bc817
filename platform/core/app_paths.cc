#include "platform/core/app_paths.h"

#include <errno.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vintrel {

namespace {

std::string HomeFolder() {
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return std::string();
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.empty() ? "/" : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ConfigFolder() {
  std::string folder;
  const char* xdg = getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    folder = xdg;
  } else {
    folder = HomeFolder();
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    folder += "/.config";
  }
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string ProfilePath() { return ConfigFolder() + "/vintrel.INI"; }

std::string WordListPath() { return ConfigFolder() + "/vintrel.lst"; }

bool MakeConfigFolder() { return MakeFolders(ConfigFolder(), 0700); }

bool MakeFolders(const std::string& folder, unsigned mode) {
  if (IsFolder(folder)) return true;
  // Every prefix ending before a '/' is made in turn, then the whole path.
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (!part.empty() && part.back() != '/' && mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos) break;
  }
  return IsFolder(folder);
}

}  // namespace vintrel
