#include "platform/core/profile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <utility>

#include "platform/core/app_paths.h"
#include "platform/core/profile_text.h"

namespace vintrel {

namespace {

// Reads the whole of the regular file PATH into *BYTES. Returns 0 (a missing file reads as
// empty) or the errno value of the failure.
int ReadWholeFile(const std::string& path, std::string* bytes) {
  bytes->clear();
  int fd;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno == ENOENT ? 0 : errno;
  struct stat st;
  int error = 0;
  if (fstat(fd, &st) != 0) {
    error = errno;
  } else if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  }
  if (error != 0) {
    close(fd);
    return error;
  }
  char chunk[16 * 1024];
  for (;;) {
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      close(fd);
      return error;
    }
    if (got == 0) break;
    bytes->append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  return 0;
}

// The text of the profile as a text-mode read sees it; empty when it cannot be read.
std::string ReadProfileText(const std::string& path) {
  std::string raw;
  if (ReadWholeFile(path, &raw) != 0) return std::string();
  return TextModeBytes(raw);
}

// The file a write must replace: the target of a symbolic link, else PATH itself.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      std::string target(real);
      free(real);
      return target;
    }
  }
  return path;
}

bool WriteAll(int fd, const std::string& bytes) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  while (size > 0) {
    ssize_t put = write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<size_t>(put);
  }
  return true;
}

// The folder that holds PATH: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash == 0 ? 1 : slash);
}

// Replaces the file TARGET by one holding BYTES: a temporary file beside it is written,
// synced and renamed over it. The old file's permissions carry over.
bool ReplaceFile(const std::string& target, const std::string& bytes) {
  const std::string folder = FolderOf(target);
  if (!MakeFolders(folder, 0700)) return false;

  struct stat old_st;
  bool had_file = stat(target.c_str(), &old_st) == 0;

  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR) return false;
  }
  if (fd < 0) return false;

  bool ok = WriteAll(fd, bytes);
  if (ok && had_file) {
    if (fchmod(fd, old_st.st_mode & 07777) != 0) ok = false;
    // Keeps the owner when the system allows it (a write by root into a user's file).
    if (ok && fchown(fd, old_st.st_uid, old_st.st_gid) != 0) {
      // Not allowed for an ordinary user whose file it is anyway: nothing to keep.
    }
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // Makes the rename itself durable; a failure here loses nothing already written.
  int folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    fsync(folder_fd);
    close(folder_fd);
  }
  return true;
}

}  // namespace

Profile::Profile(std::string path) : path_(std::move(path)) {}

Profile Profile::InMemory(std::string* bytes) {
  Profile profile{std::string()};
  profile.bytes_ = bytes;
  return profile;
}

std::string Profile::Text() const {
  return bytes_ != nullptr ? TextModeBytes(*bytes_) : ReadProfileText(path_);
}

int Profile::GetProfileInt(std::string_view section, std::string_view entry,
                           int default_value) const {
  std::string value;
  if (!ProfileLookup(Text(), section, entry, &value) || value.empty()) {
    return default_value;
  }
  return ProfileIntFromValue(value);
}

std::string Profile::GetProfileString(std::string_view section, std::string_view entry,
                                      std::string_view default_value) const {
  std::string value;
  if (!ProfileLookup(Text(), section, entry, &value)) {
    return std::string(default_value);
  }
  return value;
}

bool Profile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  return WriteProfileString(section, entry, std::to_string(value));
}

bool Profile::WriteProfileString(std::string_view section, std::string_view entry,
                                 std::string_view value) {
  if (bytes_ != nullptr) {
    *bytes_ = ProfileUpdate(TextModeBytes(*bytes_), section, entry, value);
    return true;
  }
  std::string target = WriteTarget(path_);
  std::string raw;
  // A file that exists but cannot be read is left alone: rewriting it would lose it.
  if (ReadWholeFile(target, &raw) != 0) return false;
  return ReplaceFile(target, ProfileUpdate(TextModeBytes(raw), section, entry, value));
}

}  // namespace vintrel
