#ifndef VINTREL_PLATFORM_CORE_TEXT_FILE_H_
#define VINTREL_PLATFORM_CORE_TEXT_FILE_H_

#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  // path that names a file held open (an input) never loses its contents. The object's
  // buffer (kBlockSize bytes and a little more) is made at its first Open() or Attach(),
  // which throw std::bad_alloc, having opened nothing, when it cannot be made.
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

  // A piece that ReadPieceInPlace() left in the file's read buffer. Its bytes may be read
  // (not written) up to kSlack bytes past its end: WritePieceText() copies them in blocks
  // of 16 bytes.
  struct Piece {
    char* data = nullptr;  // the bytes of the piece; the caller may change them in place
    size_t size = 0;       // 0 only at the end of the file
    size_t text_size = 0;  // the bytes before the first zero byte: SIZE when there is none
  };
  static constexpr size_t kSlack = 16;

  // The largest LIMIT that ReadPieceInPlace() takes; a larger one acts as this one.
  static constexpr size_t kInPlaceLimit = 16 * 1024;
  // Reads and writes move kBlockSize bytes at a time, at offsets that are multiples of it.
  static constexpr size_t kBlockSize = 256 * 1024;

  // Reads the piece that ReadPiece() with LIMIT would store, but without copying it: the
  // piece is left in the read buffer, where it stays valid (and changeable, though only
  // within DATA[0, SIZE)) until the next call that reads, opens, closes or moves this
  // object. Errors as ReadPiece().
  Piece ReadPieceInPlace(size_t limit) {
    // Most pieces are a line whose line feed is among the unread bytes already.
    const size_t unread = end_ - begin_;  // 0 unless open for reading
    if (unread > 0 && limit >= 2 && limit <= kInPlaceLimit) {
      char* const in = buffer_.get() + begin_;
      if (const char* lf = FindLineFeed(in, unread < limit - 1 ? unread : limit - 1)) {
        const size_t size = static_cast<size_t>(lf - in) + 1;
        const size_t before_zero = zero_ - begin_;
        begin_ += size;
        if (zero_ < begin_) FindZero();
        return Piece{in, size, size < before_zero ? size : before_zero};
      }
    }
    return ReadPieceInPlaceSlowly(limit);
  }

  // Writes SIZE bytes of DATA, every LF as CR LF, through an internal buffer. Throws
  // FileError on a write error (the buffered bytes are then dropped), or with EBADF when
  // the file is not open for writing.
  void Write(const char* data, size_t size);
  void Write(std::string_view text) { Write(text.data(), text.size()); }

  // Writes SIZE bytes of DATA as they are, followed by a line break (CR LF) when END_LINE.
  // DATA must hold no LF (it would not become CR LF); it is the caller who knows where its
  // lines end, so nothing is searched. Errors as Write().
  void WriteText(const char* data, size_t size, bool end_line) {
    const size_t room = write_limit_ - write_end_;  // 0 unless open for writing
    if (size < room && room - size >= 2) {
      char* out = buffer_.get() + write_end_;
      if (size > 0) memcpy(out, data, size);
      out += size;
      if (end_line) {
        out[0] = '\r';
        out[1] = '\n';
        out += 2;
      }
      write_end_ = static_cast<size_t>(out - buffer_.get());
      return;
    }
    WriteTextSlowly(data, size, end_line);
  }

  // WriteText() for bytes that may be read kSlack bytes past SIZE, such as those of a Piece
  // (of this or another TextFile) or a part of them.
  void WritePieceText(const char* data, size_t size, bool end_line) {
#if defined(__SSE2__)
    const size_t room = write_limit_ - write_end_;  // 0 unless open for writing
    if (size < room && room - size >= 2) {
      // The blocks may run up to 15 bytes past the end, into bytes written over later or
      // into the slack behind the buffer.
      char* out = buffer_.get() + write_end_;
      for (size_t at = 0; at < size; at += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)));
      }
      out += size;
      if (end_line) {
        out[0] = '\r';
        out[1] = '\n';
        out += 2;
      }
      write_end_ = static_cast<size_t>(out - buffer_.get());
      return;
    }
#endif
    WriteText(data, size, end_line);
  }

  // Writes out the internal buffer. Throws FileError as Write() does.
  void Flush();

  // Flushes and closes. Throws FileError when the flush or the close fails; the file is
  // closed all the same. Closing a closed file does nothing.
  void Close();

  // Closes without writing out the buffer or reporting anything (for error paths).
  void Abandon();

 private:
  // When reading, up to kInPlaceLimit unread bytes wait in front of the block, so that a
  // piece which a block ends in the middle of is whole once the next block is read. Behind
  // the buffer, a page of slack (zeros, never read from the file) may be loaded from and,
  // when writing, stored to.
  static constexpr size_t kBufferSize = kInPlaceLimit + kBlockSize;
  static constexpr size_t kAllocatedSize = kBufferSize + 4096;
  static_assert(kSlack <= 4096);
  static_assert(kBlockSize >= 2 * kInPlaceLimit && kInPlaceLimit % 4096 == 0);
  struct FreeBuffer {
    void operator()(char* buffer) const { free(buffer); }
  };

  void Release();                 // Closes the descriptor (unless attached) and drops the hold.
  void MakeBuffer();              // Makes buffer_ unless it is there; throws std::bad_alloc.
  void Reset(int fd, Mode mode);  // Takes FD in MODE with empty buffers.
  bool Refill();              // Reads more behind the unread bytes; false at the end of the file.
  void Consume(size_t size);  // Passes over SIZE unread bytes.
  void FindZero();            // Sets zero_ from begin_ on.
  Piece ReadPieceInPlaceSlowly(size_t limit);
  void WriteTextSlowly(const char* data, size_t size, bool end_line);
  void Append(const char* data, size_t size);  // Through the buffer, flushing when full.
  void WriteOut(const char* data, size_t size);
  // The first LF in DATA[0, SIZE), or null. DATA lies in buffer_, so the search may load
  // up to kSlack - 1 bytes past SIZE.
  static const char* FindLineFeed(const char* data, size_t size) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (size_t at = 0; at < size; at += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
      if (mask != 0) {
        const size_t found = at + static_cast<size_t>(__builtin_ctz(mask));
        return found < size ? data + found : nullptr;
      }
    }
    return nullptr;
#else
    return static_cast<const char*>(memchr(data, '\n', size));
#endif
  }

  int fd_ = -1;
  Mode mode_ = kRead;
  bool attached_ = false;
  bool held_ = false;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
  std::string path_;
  std::unique_ptr<char[], FreeBuffer> buffer_;  // kAllocatedSize bytes, made at the first open
  // Reading: buffer_[begin_, end_) holds the unread text, CRs already dropped; zero_ is
  // where its first zero byte is (end_ when it has none).
  size_t begin_ = 0;
  size_t end_ = 0;
  size_t zero_ = 0;
  bool at_end_ = false;  // the end of the file (or a 0x1A) was reached
  // Writing: buffer_[0, write_end_) waits to be written; write_limit_ is kBlockSize while
  // the file is open for writing and 0 otherwise.
  size_t write_end_ = 0;
  size_t write_limit_ = 0;
};

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_TEXT_FILE_H_
