#include "platform/core/text_file.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  begin_ = end_ = 0;
  if (at_end_) return false;
  ssize_t got;
  do {
    got = read(fd_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw FileError(path_, errno);
  end_ = static_cast<size_t>(got);
  if (got == 0) at_end_ = true;
  if (const void* eof = memchr(buffer_.get(), 0x1A, end_)) {
    end_ = static_cast<size_t>(static_cast<const char*>(eof) - buffer_.get());
    at_end_ = true;  // nothing behind a 0x1A is ever read
  }
  return true;  // possibly with no bytes, when the block began with 0x1A
}

size_t TextFile::ReadPiece(char* buf, size_t limit) {
  if (fd_ < 0 || mode_ != kRead) throw FileError(path_, EBADF);
  if (limit == 0) return 0;
  char* out = buf;
  char* const out_end = buf + limit - 1;
  while (out < out_end) {
    if (begin_ == end_ && !Fill()) break;
    const char* in = buffer_.get() + begin_;
    const char* const in_end = buffer_.get() + end_;
    bool line_done = false;
#if defined(__SSE2__)
    // Sixteen bytes at a time: each block is stored whole, then the output end is moved to
    // the first CR or LF in it, if any.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (in_end - in >= 16 && out_end - out >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
      const unsigned mask = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
      if (mask == 0) {
        in += 16;
        out += 16;
        continue;
      }
      const unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
      in += at + 1;
      out += at;
      if (in[-1] == '\n') {
        *out++ = '\n';
        line_done = true;
        break;
      }
    }
#endif
    // Byte by byte near the ends of the buffers.
    while (!line_done && in < in_end && out < out_end) {
      const char c = *in++;
      if (c == '\r') continue;
      *out++ = c;
      line_done = c == '\n';
    }
    begin_ = static_cast<size_t>(in - buffer_.get());
    if (line_done) break;
  }
  *out = '\0';
  return static_cast<size_t>(out - buf);
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
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  const char* in = data;
  const char* const in_end = data + size;
  while (in < in_end) {
    // Room for a block and the CR that its LF may add.
    if (kBufferSize - end_ < 32) Flush();
    char* out = buffer_.get() + end_;
    char* const out_end = buffer_.get() + kBufferSize;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    while (in_end - in >= 16 && out_end - out >= 32) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
      if (mask == 0) {
        in += 16;
        out += 16;
        continue;
      }
      const unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
      in += at + 1;
      out += at;
      *out++ = '\r';
      *out++ = '\n';
    }
#endif
    while (in < in_end && out_end - out >= 2) {
      const char c = *in++;
      if (c == '\n') *out++ = '\r';
      *out++ = c;
    }
    end_ = static_cast<size_t>(out - buffer_.get());
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
