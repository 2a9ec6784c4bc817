#include "settings/word_list.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/core/file_error.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace vintrel {
namespace {

// The file that a save replaces: the target of PATH when PATH is a symbolic link, so that
// the link survives the save.
std::string ResolveLink(const std::string& path) {
  struct stat link_status;
  if (lstat(path.c_str(), &link_status) != 0 || !S_ISLNK(link_status.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

}  // namespace

bool LoadWordList(const std::string& path,
                  const std::function<void(std::string_view entry)>& on_entry, int* open_error) {
  TextFile file;
  if (const int error = file.Open(path, TextFile::kRead); error != 0) {
    if (open_error != nullptr) *open_error = error;
    return false;
  }
  char piece[kWordListPieceSize + 1];
  // A line of exactly the longest length arrives as a full piece whose line feed comes
  // alone in the next read; that line feed ends the entry and is no empty entry of its own,
  // or every save and load would add one more empty line to the list.
  bool after_full_piece = false;
  for (;;) {
    const size_t read = file.ReadPiece(piece, sizeof piece);
    if (read == 0) break;
    const bool lone_line_feed = read == 1 && piece[0] == '\n';
    if (lone_line_feed && after_full_piece) {
      after_full_piece = false;
      continue;
    }
    after_full_piece = read == kWordListPieceSize && piece[read - 1] != '\n';
    size_t size = read;
    if (const void* end = memchr(piece, '\n', size)) size = static_cast<const char*>(end) - piece;
    if (const void* zero = memchr(piece, '\0', size)) {
      size = static_cast<const char*>(zero) - piece;
    }
    on_entry(std::string_view(piece, size));
  }
  file.Close();
  return true;
}

bool SaveWordList(const std::string& path, const std::vector<std::string>& entries,
                  int* open_error) {
  auto fail = [open_error](int error) {
    if (open_error != nullptr) *open_error = error;
    return false;
  };
  const std::string target = ResolveLink(path);

  // The list keeps its permissions; a new one gets the usual ones for a new file.
  mode_t mode = 0666 & ~CurrentUmask();
  struct stat status;
  if (stat(target.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return fail(EISDIR);
    if (!S_ISREG(status.st_mode)) return fail(EINVAL);
    if (access(target.c_str(), W_OK) != 0) return fail(errno);
    mode = status.st_mode & 07777;
  } else if (errno != ENOENT) {
    return fail(errno);
  }

  std::string temporary = target + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return fail(errno);
  fchmod(fd, mode);
  close(fd);

  TextFile file;
  if (const int error = file.Open(temporary, TextFile::kWrite); error != 0) {
    unlink(temporary.c_str());
    return fail(error);
  }
  try {
    for (const std::string& entry : entries) {
      file.Write(entry);
      file.Write("\n", 1);
    }
    file.Close();
  } catch (const FileError& error) {
    file.Abandon();
    unlink(temporary.c_str());
    throw FileError(path, error.error_number());
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    throw FileError(path, error);
  }
  return true;
}

bool LoadKeepWords(const std::string& path, CMapStringToString* map, int* open_error) {
  return LoadWordList(
      path, [map](std::string_view entry) { map->SetAt(entry, " "); }, open_error);
}

}  // namespace vintrel
