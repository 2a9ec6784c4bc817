#include "platform/core/text_file.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <new>
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
  if (write_limit_ > 0) {
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
  zero_ = std::exchange(other.zero_, 0);
  at_end_ = std::exchange(other.at_end_, false);
  write_end_ = std::exchange(other.write_end_, 0);
  write_limit_ = std::exchange(other.write_limit_, 0);
  return *this;
}

int TextFile::Open(const std::string& path, Mode mode) {
  Abandon();
  MakeBuffer();  // before anything is opened, so that nothing is left open if it throws
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

  Reset(fd, mode);
  held_ = true;
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  path_ = path;
  return 0;
}

void TextFile::Attach(int fd, Mode mode, std::string name) {
  Abandon();
  MakeBuffer();
  Reset(fd, mode);
  attached_ = true;
  path_ = std::move(name);
}

void TextFile::MakeBuffer() {
  if (buffer_) return;
  // Aligned to the page, so that whole blocks are whole pages.
  buffer_.reset(static_cast<char*>(aligned_alloc(4096, kAllocatedSize)));
  if (!buffer_) throw std::bad_alloc();
  // Loads past the bytes read (see kSlack) see defined bytes: zeros in the slack, and
  // behind the bytes of each read (Refill).
  memset(buffer_.get() + kBufferSize, 0, kAllocatedSize - kBufferSize);
}

void TextFile::Reset(int fd, Mode mode) {
  fd_ = fd;
  mode_ = mode;
  attached_ = false;
  held_ = false;
  begin_ = end_ = zero_ = 0;
  at_end_ = false;
  write_end_ = 0;
  write_limit_ = mode == kWrite ? kBlockSize : 0;
}

bool TextFile::Refill() {
  char* const buffer = buffer_.get();
  // The unread bytes (less than a piece) move to just before the block.
  const size_t unread = end_ - begin_;
  if (end_ != kInPlaceLimit) {
    memmove(buffer + kInPlaceLimit - unread, buffer + begin_, unread);
    zero_ = zero_ - begin_ + kInPlaceLimit - unread;
    begin_ = kInPlaceLimit - unread;
    end_ = kInPlaceLimit;
    memset(buffer + end_, 0, kSlack);
  }
  while (!at_end_ && end_ < kBufferSize) {
    ssize_t got = read(fd_, buffer + end_, kBufferSize - end_);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileError(path_, errno);
    }
    if (got == 0) {
      at_end_ = true;
      break;
    }
    char* const fresh = buffer + end_;
    char* fresh_end = fresh + got;
    if (char* eof = static_cast<char*>(memchr(fresh, 0x1A, fresh_end - fresh))) {
      fresh_end = eof;
      at_end_ = true;  // nothing behind a 0x1A is ever read
    }
    // Text mode drops every CR; a block without one (the common case) stays as it is.
    if (char* cr = static_cast<char*>(memchr(fresh, '\r', fresh_end - fresh))) {
      char* out = cr;
      for (const char* in = cr + 1; in < fresh_end; ++in) {
        if (*in != '\r') *out++ = *in;
      }
      fresh_end = out;
    }
    if (zero_ == end_) {
      const void* zero = memchr(fresh, '\0', fresh_end - fresh);
      zero_ = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - buffer)
                              : static_cast<size_t>(fresh_end - buffer);
    }
    const bool got_text = fresh_end > fresh;
    end_ = static_cast<size_t>(fresh_end - buffer);
    memset(buffer + end_, 0, kSlack);
    if (got_text) return true;  // a block of CRs alone gives no text: read on
  }
  return false;
}

void TextFile::Consume(size_t size) {
  begin_ += size;
  if (zero_ < begin_) FindZero();
}

void TextFile::FindZero() {
  const void* zero = memchr(buffer_.get() + begin_, '\0', end_ - begin_);
  zero_ =
      zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - buffer_.get()) : end_;
}

size_t TextFile::ReadPiece(char* buf, size_t limit) {
  if (fd_ < 0 || mode_ != kRead) throw FileError(path_, EBADF);
  if (limit == 0) return 0;
  size_t stored = 0;
  while (stored < limit - 1) {
    if (begin_ == end_ && !Refill()) break;
    const char* in = buffer_.get() + begin_;
    size_t size = std::min(end_ - begin_, limit - 1 - stored);
    const void* lf = memchr(in, '\n', size);
    if (lf != nullptr) size = static_cast<size_t>(static_cast<const char*>(lf) - in) + 1;
    memcpy(buf + stored, in, size);
    stored += size;
    Consume(size);
    if (lf != nullptr) break;
  }
  buf[stored] = '\0';
  return stored;
}

TextFile::Piece TextFile::ReadPieceInPlaceSlowly(size_t limit) {
  if (fd_ < 0 || mode_ != kRead) throw FileError(path_, EBADF);
  Piece piece;
  if (limit < 2) return piece;
  const size_t most = std::min(limit, kInPlaceLimit) - 1;
  size_t searched = 0;  // bytes from begin_ known to hold no line feed
  for (;;) {
    const size_t unread = end_ - begin_;
    const size_t span = std::min(unread, most);
    char* const in = buffer_.get() + begin_;
    if (const void* lf = memchr(in + searched, '\n', span - searched)) {
      piece.size = static_cast<size_t>(static_cast<const char*>(lf) - in) + 1;
      break;
    }
    searched = span;
    // A whole piece without a line feed, or the last bytes of the file.
    if (unread >= most || !Refill()) {
      piece.size = std::min(end_ - begin_, most);
      break;
    }
  }
  piece.data = buffer_.get() + begin_;
  piece.text_size = std::min(piece.size, zero_ - begin_);
  Consume(piece.size);
  return piece;
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

void TextFile::Write(const char* data, size_t size) {
  if (fd_ < 0 || mode_ != kWrite) throw FileError(path_, EBADF);
  while (size > 0) {
    const void* lf = memchr(data, '\n', size);
    if (lf == nullptr) {
      WriteText(data, size, false);
      return;
    }
    const size_t line = static_cast<size_t>(static_cast<const char*>(lf) - data);
    WriteText(data, line, true);
    data += line + 1;
    size -= line + 1;
  }
}

void TextFile::WriteTextSlowly(const char* data, size_t size, bool end_line) {
  if (fd_ < 0 || mode_ != kWrite) throw FileError(path_, EBADF);
  Append(data, size);
  if (end_line) Append("\r\n", 2);
}

void TextFile::Append(const char* data, size_t size) {
  while (size > 0) {
    if (write_end_ == write_limit_) Flush();
    const size_t part = std::min(size, write_limit_ - write_end_);
    memcpy(buffer_.get() + write_end_, data, part);
    write_end_ += part;
    data += part;
    size -= part;
  }
}

void TextFile::Flush() {
  if (fd_ < 0 || mode_ != kWrite) return;
  size_t waiting = write_end_;
  write_end_ = 0;  // after an error the buffered bytes are dropped, not retried
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
  write_end_ = 0;
  Release();
}

void TextFile::Release() {
  if (fd_ >= 0 && !attached_) close(fd_);
  fd_ = -1;
  if (held_) Held().Drop(dev_, ino_);
  held_ = false;
  attached_ = false;
  begin_ = end_ = zero_ = 0;
  at_end_ = false;
  write_end_ = write_limit_ = 0;
}

}  // namespace vintrel
