#include "platform/core/text_file.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <set>
#include <utility>

#include "platform/core/file_error.h"

namespace vintrel {

namespace {

// The files (device, inode) that TextFile objects of this process hold open by path.
class HeldFiles {
 public:
  // False when the file is held already.
  bool Take(dev_t dev, ino_t ino) {
    std::lock_guard<std::mutex> lock(mutex_);
    return files_.emplace(dev, ino).second;
  }
  void Drop(dev_t dev, ino_t ino) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_.erase({dev, ino});
  }

 private:
  std::mutex mutex_;
  std::set<std::pair<dev_t, ino_t>> files_;
};

HeldFiles& Held() {
  static HeldFiles* held = new HeldFiles;  // never destroyed: used by static TextFiles too
  return *held;
}

// The error of opening a file that is not a regular file.
int NotRegularError(mode_t mode) { return S_ISDIR(mode) ? EISDIR : EINVAL; }

}  // namespace

TextFile::TextFile() = default;

TextFile::~TextFile() {
  if (fd_ >= 0 && mode_ == kWrite) {
    try {
      Flush();
    } catch (const FileError&) {
      // Nothing can be reported from here; Close() is the way to learn of errors.
    }
  }
  Release();
}

TextFile::TextFile(TextFile&& other) noexcept { *this = std::move(other); }

TextFile& TextFile::operator=(TextFile&& other) noexcept {
  if (this == &other) return *this;
  Abandon();
  fd_ = std::exchange(other.fd_, -1);
  mode_ = other.mode_;
  attached_ = std::exchange(other.attached_, false);
  held_ = std::exchange(other.held_, false);
  dev_ = other.dev_;
  ino_ = other.ino_;
  path_ = std::move(other.path_);
  buffer_ = std::move(other.buffer_);
  begin_ = std::exchange(other.begin_, 0);
  end_ = std::exchange(other.end_, 0);
  at_end_ = std::exchange(other.at_end_, false);
  return *this;
}

int TextFile::Open(const std::string& path, Mode mode) {
  Abandon();
  // Look before opening, so that a FIFO or a device is never opened at all.
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return NotRegularError(st.st_mode);

  // No O_TRUNC: an existing file is emptied only once it is held.
  int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  flags |= (mode == kRead) ? O_RDONLY : (O_WRONLY | O_CREAT);
  int fd;
  do {
    fd = open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno;

  auto fail = [fd](int error) {
    close(fd);
    return error;
  };
  if (fstat(fd, &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(NotRegularError(st.st_mode));
  if (!Held().Take(st.st_dev, st.st_ino)) return fail(EBUSY);
  auto fail_held = [&fail, &st](int error) {
    Held().Drop(st.st_dev, st.st_ino);
    return fail(error);
  };

  int lock_result;
  do {
    lock_result = flock(fd, (mode == kRead ? LOCK_SH : LOCK_EX) | LOCK_NB);
  } while (lock_result != 0 && errno == EINTR);
  // A file system without advisory locks (some network or FUSE ones) still works unlocked.
  if (lock_result != 0 && errno == EWOULDBLOCK) return fail_held(EBUSY);

  if (mode == kWrite && st.st_size != 0 && ftruncate(fd, 0) != 0) return fail_held(errno);
  int status = fcntl(fd, F_GETFL);
  if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) return fail_held(errno);

  fd_ = fd;
  mode_ = mode;
  attached_ = false;
  held_ = true;
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  path_ = path;
  begin_ = end_ = 0;
  at_end_ = false;
  return 0;
}

void TextFile::Attach(int fd, Mode mode, std::string name) {
  Abandon();
  fd_ = fd;
  mode_ = mode;
  attached_ = true;
  held_ = false;
  path_ = std::move(name);
  begin_ = end_ = 0;
  at_end_ = false;
}

bool TextFile::Fill() {
  if (at_end_) return false;
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  ssize_t got;
  do {
    got = read(fd_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw FileError(path_, errno);
  begin_ = 0;
  end_ = static_cast<size_t>(got);
  if (got == 0) at_end_ = true;
  return got > 0;
}

size_t TextFile::ReadPiece(char* buf, size_t limit) {
  if (fd_ < 0 || mode_ != kRead) throw FileError(path_, EBADF);
  if (limit == 0) return 0;
  const size_t room = limit - 1;
  size_t n = 0;
  while (n < room) {
    if (begin_ == end_ && !Fill()) break;
    const char* from = buffer_.get() + begin_;
    size_t window = end_ - begin_;
    // Dropped CRs make the input longer than what it yields, never shorter.
    if (window > room - n) window = room - n;
    bool line_done = false;
    if (const void* lf = memchr(from, '\n', window)) {
      window = static_cast<size_t>(static_cast<const char*>(lf) - from) + 1;
      line_done = true;
    }
    if (const void* eof = memchr(from, 0x1A, window)) {
      window = static_cast<size_t>(static_cast<const char*>(eof) - from);
      at_end_ = true;
      line_done = true;
      end_ = begin_ + window;  // the rest of the buffer is never read
    }
    begin_ += window;
    // Copy the runs between the CRs.
    while (window > 0) {
      const void* cr = memchr(from, '\r', window);
      size_t run = cr ? static_cast<size_t>(static_cast<const char*>(cr) - from) : window;
      memcpy(buf + n, from, run);
      n += run;
      if (cr == nullptr) break;
      from += run + 1;
      window -= run + 1;
    }
    if (line_done) break;
  }
  buf[n] = '\0';
  return n;
}

void TextFile::WriteOut(const char* data, size_t size) {
  while (size > 0) {
    ssize_t put = write(fd_, data, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      throw FileError(path_, errno);
    }
    data += put;
    size -= static_cast<size_t>(put);
  }
}

void TextFile::Append(const char* data, size_t size) {
  while (size > 0) {
    if (end_ == 0 && size >= kBufferSize) {
      WriteOut(data, size);  // a long run goes straight out
      return;
    }
    size_t take = kBufferSize - end_;
    if (take > size) take = size;
    memcpy(buffer_.get() + end_, data, take);
    end_ += take;
    data += take;
    size -= take;
    if (end_ == kBufferSize) Flush();
  }
}

void TextFile::Write(const char* data, size_t size) {
  if (fd_ < 0 || mode_ != kWrite) throw FileError(path_, EBADF);
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  while (size > 0) {
    const void* lf = memchr(data, '\n', size);
    size_t run = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : size;
    Append(data, run);
    if (lf == nullptr) break;
    Append("\r\n", 2);
    data += run + 1;
    size -= run + 1;
  }
}

void TextFile::Flush() {
  if (fd_ < 0 || mode_ != kWrite) return;
  size_t waiting = end_;
  end_ = 0;  // after an error the buffered bytes are dropped, not retried
  if (waiting > 0) WriteOut(buffer_.get(), waiting);
}

void TextFile::Close() {
  if (fd_ < 0) return;
  int error = 0;
  try {
    Flush();
  } catch (const FileError& e) {
    error = e.error_number();
  }
  if (!attached_ && close(fd_) != 0 && errno != EINTR && error == 0) error = errno;
  fd_ = -1;
  Release();
  if (error != 0) throw FileError(path_, error);
}

void TextFile::Abandon() {
  end_ = 0;
  Release();
}

void TextFile::Release() {
  if (fd_ >= 0 && !attached_) close(fd_);
  fd_ = -1;
  if (held_) Held().Drop(dev_, ino_);
  held_ = false;
  attached_ = false;
  begin_ = end_ = 0;
  at_end_ = false;
}

}  // namespace vintrel
