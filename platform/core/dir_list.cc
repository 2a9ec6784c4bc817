#include "platform/core/dir_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/core/upper_case.h"

namespace vintrel {

namespace {

// Matches PATTERN[p..] against NAME[n..]; MEMO caches the answers (0 unknown, 1 no, 2 yes)
// so that patterns with many '*' stay quadratic at worst.
class DosMatcher {
 public:
  DosMatcher(std::string_view pattern, std::string_view name)
      : pattern_(pattern),
        name_(name),
        last_dot_(name.rfind('.')),
        memo_((pattern.size() + 1) * (name.size() + 1), 0) {}

  bool Match(size_t p, size_t n) {
    signed char& known = memo_[p * (name_.size() + 1) + n];
    if (known == 0) known = Compute(p, n) ? 2 : 1;
    return known == 2;
  }

 private:
  bool AtEnd(size_t n) const { return n == name_.size(); }

  bool Compute(size_t p, size_t n) {
    if (p == pattern_.size()) return AtEnd(n);
    const char c = pattern_[p];
    if (c == '*') {
      if (Match(p + 1, n)) return true;
      // A '*' before a '.' leaves the name's last dot for that '.'.
      const bool before_dot = p + 1 < pattern_.size() && pattern_[p + 1] == '.';
      return !AtEnd(n) && !(before_dot && n == last_dot_) && Match(p, n + 1);
    }
    if (c == '?') {
      if (!AtEnd(n) && Match(p + 1, n + 1)) return true;
      return (AtEnd(n) || name_[n] == '.') && Match(p + 1, n);
    }
    if (c == '.' && AtEnd(n)) return Match(p + 1, n);  // "report.*" matches "report"
    return !AtEnd(n) && UpperAscii(c) == UpperAscii(name_[n]) && Match(p + 1, n + 1);
  }

  std::string_view pattern_;
  std::string_view name_;
  size_t last_dot_;  // npos when NAME has no dot
  std::vector<signed char> memo_;
};

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The attribute byte of NAME in the open folder DIR_FD; 0 when it has gone.
unsigned char AttributesAt(int dir_fd, const char* name) {
  if (IsDotOrDotDot(name)) return kAttrFolder;
  if (name[0] == '.') return kAttrHidden;
  struct stat st;
  if (fstatat(dir_fd, name, &st, 0) != 0) {
    // A dangling link is a file of its own; anything else has vanished.
    if (fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
      return kAttrArchive;
    }
    return 0;
  }
  if (S_ISDIR(st.st_mode)) return kAttrFolder;
  if (!S_ISREG(st.st_mode)) return kAttrSystem;
  bool read_only = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                   faccessat(dir_fd, name, W_OK, AT_EACCESS) != 0;
  return read_only ? kAttrArchive | kAttrReadOnly : kAttrArchive;
}

bool IsRootFolder(int dir_fd) {
  struct stat here;
  struct stat root;
  return fstat(dir_fd, &here) == 0 && stat("/", &root) == 0 && here.st_dev == root.st_dev &&
         here.st_ino == root.st_ino;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool MatchesDosPattern(std::string_view pattern, std::string_view name) {
  return DosMatcher(pattern, name).Match(0, 0);
}

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

unsigned char AttributesOf(const std::string& folder, const std::string& name) {
  int dir_fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd < 0) return 0;
  unsigned char attributes = AttributesAt(dir_fd, name.c_str());
  close(dir_fd);
  return attributes;
}

std::vector<DirEntry> ListDirectory(const std::string& pattern) {
  std::vector<DirEntry> entries;
  if (pattern.size() >= PATH_MAX || pattern.find('\0') != std::string::npos) return entries;

  size_t slash = pattern.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
  std::string name_part = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  if (!name_part.empty() && !HasWildcards(name_part) && IsFolder(pattern)) {
    folder = pattern + "/";
    name_part.clear();
  }

  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return entries;
  const int dir_fd = dirfd(dir);
  const bool root = IsRootFolder(dir_fd);
  while (struct dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (root && strcmp(name, "..") == 0) continue;
    if (!name_part.empty() && !MatchesDosPattern(name_part, name)) continue;
    unsigned char attributes = AttributesAt(dir_fd, name);
    if (attributes == 0) continue;  // removed while listing
    entries.push_back(DirEntry{name, attributes});
  }
  closedir(dir);
  return entries;
}

}  // namespace vintrel
