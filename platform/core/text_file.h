#ifndef VINTREL_PLATFORM_CORE_TEXT_FILE_H_
#define VINTREL_PLATFORM_CORE_TEXT_FILE_H_

#include <stddef.h>
#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>

namespace vintrel {

// A file in text mode. Reading drops every CR byte and ends the file at the first byte
// 0x1A; writing turns every LF into CR LF. Bytes are not otherwise changed.
//
// A file opened by path is held exclusively: while one TextFile of this process holds a
// file (same device and inode), opening it again through any TextFile fails with EBUSY,
// and an advisory lock (flock) keeps other processes that take it out too. Only regular
// files open; a folder, FIFO, socket or device fails at once and never blocks.
//
// Not copyable; movable. Not thread-safe: one thread uses one object.
class TextFile {
 public:
  enum Mode { kRead, kWrite };

  TextFile();
  ~TextFile();  // Flushes what it can and closes, never throwing; see Abandon().
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&& other) noexcept;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens PATH, closing (as Abandon() does) any file this object held before. Returns 0, or
  // the errno value of the failure: EISDIR for a folder, EINVAL for a FIFO, socket or
  // device, EBUSY for a file held by this process or locked by another one, otherwise
  // the system's error. kRead opens an existing file. kWrite creates the file (mode 0666
  // less the umask) or empties it, the latter only once the exclusive hold is taken, so a
  // path that names a file held open (an input) never loses its contents.
  int Open(const std::string& path, Mode mode);

  // Uses the already-open descriptor FD (standard input or output) without exclusivity.
  // NAME is what errors report ("standard input"). FD is never closed by this object.
  void Attach(int fd, Mode mode, std::string name);

  bool is_open() const { return fd_ >= 0; }
  // The path given to Open(), or the name given to Attach().
  const std::string& path() const { return path_; }

  // Reads one piece into BUF: at most LIMIT-1 bytes, stopping after a line feed, and puts a
  // zero byte behind it. Every CR byte is dropped; a byte 0x1A ends the file for good. NUL
  // bytes pass through. Returns the number of bytes stored; 0 only at the end of the file.
  // BUF holds LIMIT bytes; those behind the zero byte may change. LIMIT must be at least 2
  // (LIMIT 1 stores just the zero byte, LIMIT 0 nothing; both return 0).
  // Throws FileError on a read error, or with EBADF when the file is not open for reading.
  size_t ReadPiece(char* buf, size_t limit);

  // Writes SIZE bytes of DATA, every LF as CR LF, through an internal buffer. Throws
  // FileError on a write error (the buffered bytes are then dropped), or with EBADF when
  // the file is not open for writing.
  void Write(const char* data, size_t size);
  void Write(std::string_view text) { Write(text.data(), text.size()); }

  // Writes out the internal buffer. Throws FileError as Write() does.
  void Flush();

  // Flushes and closes. Throws FileError when the flush or the close fails; the file is
  // closed all the same. Closing a closed file does nothing.
  void Close();

  // Closes without writing out the buffer or reporting anything (for error paths).
  void Abandon();

 private:
  static constexpr size_t kBufferSize = 64 * 1024;

  void Release();  // Closes the descriptor (unless attached) and drops the hold.
  bool Fill();     // Refills the read buffer; false at the end of the file.
  void WriteOut(const char* data, size_t size);

  int fd_ = -1;
  Mode mode_ = kRead;
  bool attached_ = false;
  bool held_ = false;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
  std::string path_;
  std::unique_ptr<char[]> buffer_;  // kBufferSize bytes, made at first use
  size_t begin_ = 0;                // read: next unread byte of buffer_
  size_t end_ = 0;                  // read: end of the bytes in buffer_; write: bytes waiting
  bool at_end_ = false;             // read: the end of the file (or a 0x1A) was reached
};

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_TEXT_FILE_H_
