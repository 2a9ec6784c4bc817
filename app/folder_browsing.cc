#include "app/folder_browsing.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/core/dir_list.h"
#include "platform/core/drives.h"

namespace vintrel {
namespace {

bool IsFolder(const std::string& path) {
  struct stat status;
  return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string CurrentFolderPath() {
  std::string folder;
  if (char* cwd = getcwd(nullptr, 0)) {
    folder = cwd;
    free(cwd);
  } else if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') {
    folder = home;
  } else {
    folder = "/";
  }
  return WithSlash(std::move(folder));
}

std::vector<std::string> FolderListEntries(const std::string& pattern) {
  std::vector<std::string> entries;
  for (const DirEntry& entry : ListDirectory(pattern)) {
    if (entry.attributes == kAttrFolder && entry.name != ".") {
      entries.push_back("[" + entry.name + "]");
    }
  }
  return entries;
}

std::vector<std::string> FileListEntries(const std::string& pattern) {
  std::vector<std::string> entries;
  for (const DirEntry& entry : ListDirectory(pattern)) {
    if (entry.attributes != kAttrFolder && entry.attributes != kAttrSystem &&
        entry.attributes != kAttrHidden) {
      entries.push_back(entry.name);
    }
  }
  return entries;
}

std::string ParentFolder(const std::string& folder) {
  size_t last = folder.rfind('/');
  if (last == std::string::npos) return folder;
  std::string parent = folder.substr(0, last);
  size_t before = parent.rfind('/');
  if (before == std::string::npos) return parent + '/';
  return parent.substr(0, before + 1);
}

std::string FolderAfterFolderEntry(const std::string& folder, const std::string& entry) {
  if (entry == "[..]") return ParentFolder(folder);
  if (entry.size() < 2 || entry.front() != '[' || entry.back() != ']') return folder;
  std::string entered = folder + entry.substr(1, entry.size() - 2) + '/';
  if (entered.size() >= PATH_MAX) return folder;
  return entered;
}

std::string FolderAfterDrive(const std::string& folder, const std::string& mount_point,
                             const std::vector<std::string>& drives) {
  if (mount_point.empty()) return folder;
  if (DriveOfFolder(folder, drives) == mount_point) return folder;
  return mount_point;
}

std::string FolderToBrowse(const std::string& text) {
  if (text.empty()) return CurrentFolderPath();
  // "/a/./b//../c" is browsed as "/a/c", so that "[..]" leads where it says.
  std::string path = std::filesystem::path(text.front() == '/' ? text : CurrentFolderPath() + text)
                         .lexically_normal()
                         .string();
  if (IsFolder(path)) return WithSlash(std::move(path));
  size_t last = path.rfind('/');
  std::string holder = path.substr(0, last + 1);
  if (IsFolder(holder)) return holder;
  return CurrentFolderPath();
}

}  // namespace vintrel
