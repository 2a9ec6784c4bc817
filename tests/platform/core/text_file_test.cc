#include "platform/core/text_file.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/file_error.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedTempDir;

// The ways of reading pieces: copied out (ReadPiece), left in place (ReadPieceInPlace), or
// both in turns on the same file.
enum class Reader { kCopy, kInPlace, kTurns };
const Reader kReaders[] = {Reader::kCopy, Reader::kInPlace, Reader::kTurns};
const char* ReaderName(Reader reader) {
  return reader == Reader::kCopy      ? "ReadPiece"
         : reader == Reader::kInPlace ? "ReadPieceInPlace"
                                      : "in turns";
}

// Reads FILE piece by piece with LIMIT. A copied piece must have a zero byte behind it; a
// piece in place must report where its first zero byte is, and it is overwritten once read
// (the caller may edit it), which must change none of the pieces after it.
std::vector<std::string> ReadAllPieces(TextFile& file, size_t limit, Reader reader) {
  std::vector<std::string> pieces;
  std::vector<char> buf(limit + 1, '#');
  for (bool copy = reader != Reader::kInPlace;; copy = reader == Reader::kTurns ? !copy : copy) {
    if (copy) {
      size_t n = file.ReadPiece(buf.data(), limit);
      if (n == 0) break;
      EXPECT_LT(n, limit);
      EXPECT_EQ(buf[n], '\0');
      pieces.emplace_back(buf.data(), n);
    } else {
      TextFile::Piece piece = file.ReadPieceInPlace(limit);
      if (piece.size == 0) break;
      EXPECT_LT(piece.size, limit);
      std::string bytes(piece.data, piece.size);
      EXPECT_EQ(piece.text_size, std::min(bytes.find('\0'), bytes.size()));
      std::fill(piece.data, piece.data + piece.size, '#');
      pieces.push_back(bytes);
    }
  }
  EXPECT_EQ(file.ReadPiece(buf.data(), limit), 0u) << "the end of the file stays the end";
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(file.ReadPieceInPlace(limit).size, 0u) << "the end of the file stays the end";
  return pieces;
}

std::vector<std::string> ReadPieces(const std::string& path, size_t limit,
                                    Reader reader = Reader::kCopy) {
  TextFile file;
  EXPECT_EQ(file.Open(path, TextFile::kRead), 0);
  std::vector<std::string> pieces = ReadAllPieces(file, limit, reader);
  file.Close();
  return pieces;
}

// What a text-mode reader must yield: CRs dropped, 0x1A ending the text, pieces of at
// most LIMIT-1 bytes ending after a line feed.
std::vector<std::string> ModelPieces(const std::string& bytes, size_t limit) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : bytes) {
    if (c == '\x1a') break;
    if (c == '\r') continue;
    piece.push_back(c);
    if (c == '\n' || piece.size() == limit - 1) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

TEST(TextFileReadTest, PiecesInTextMode) {
  using std::string_literals::operator""s;
  struct Case {
    const char* name;
    std::string bytes;
    size_t limit;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"empty file", "", 100, {}},
      {"CR LF arrives as LF", "ab\r\ncd\r\n", 100, {"ab\n", "cd\n"}},
      {"lone CR is dropped", "ab\rcd\n", 100, {"abcd\n"}},
      {"every CR is dropped", "a\r\r\nb\r", 100, {"a\n", "b"}},
      {"only CRs", "\r\r\r", 100, {}},
      {"no final LF", "one\ntwo", 100, {"one\n", "two"}},
      {"empty lines", "\n\r\n\n", 100, {"\n", "\n", "\n"}},
      {"0x1A ends the file", "ab\x1a\ncd\n", 100, {"ab"}},
      {"0x1A at a line start",
       "ab\n\x1a"
       "cd\n",
       100,
       {"ab\n"}},
      {"CR before 0x1A", "ab\r\x1a", 100, {"ab"}},
      {"NUL passes", "a\0b\n"s, 100, {"a\0b\n"s}},
      {"long line cut at the limit", "abcdefgh\n", 4, {"abc", "def", "gh\n"}},
      {"LF fits as the last byte", "abc\nd", 5, {"abc\n", "d"}},
      {"LF one past the limit", "abc\nd", 4, {"abc", "\n", "d"}},
      {"CRs do not count toward the limit", "ab\r\rcd\r\n", 5, {"abcd", "\n"}},
      {"smallest limit", "ab\n", 2, {"a", "b", "\n"}},
      {"high bytes pass", "\x82\xa0\xe3\x81\x82\n", 100, {"\x82\xa0\xe3\x81\x82\n"}},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.WriteFile("in.txt", c.bytes);
    for (Reader reader : kReaders) {
      SCOPED_TRACE(ReaderName(reader));
      EXPECT_EQ(ReadPieces(path, c.limit, reader), c.pieces);
    }
  }
}

TEST(TextFileReadTest, PiecesInPlaceKnowWhereTheirTextEnds) {
  using std::string_literals::operator""s;
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<size_t> text_sizes;
  };
  const Case cases[] = {
      {"no zero byte", "ab\ncd", {3, 2}},
      {"zero inside", "ab\0cd\n"s, {2}},
      {"zero first", "\0\n"s, {0}},
      {"zero last", "ab\0"s, {2}},
      {"several zeros, several pieces", "a\0b\0\nc\nd\0\n"s, {1, 2, 1}},
      {"CR before a zero is dropped", "a\r\0b\n"s, {1}},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextFile file;
    ASSERT_EQ(file.Open(dir.WriteFile("in.txt", c.bytes), TextFile::kRead), 0);
    std::vector<size_t> text_sizes;
    while (true) {
      TextFile::Piece piece = file.ReadPieceInPlace(100);
      if (piece.size == 0) break;
      text_sizes.push_back(piece.text_size);
    }
    EXPECT_EQ(text_sizes, c.text_sizes);
  }
}

TEST(TextFileReadTest, InPlaceLimitHasACeiling) {
  const size_t most = TextFile::kInPlaceLimit - 1;
  const std::string line(most + 10, 'x');
  ScopedTempDir dir;
  const std::string path = dir.WriteFile("in.txt", line + "\n");
  const std::vector<std::string> expected = {line.substr(0, most), line.substr(most) + "\n"};
  EXPECT_EQ(ReadPieces(path, TextFile::kInPlaceLimit + 1000, Reader::kInPlace), expected);
}

// Bytes that arrive a few at a time (a pipe, a terminal): pieces are the same as from a
// file, a piece waiting for its line feed across any number of short reads.
TEST(TextFileReadTest, ShortReadsFromAPipe) {
  std::mt19937 random(4242);
  const std::string alphabet = "abc \r\n";
  std::string bytes;
  for (int i = 0; i < 120000; ++i) bytes.push_back(alphabet[random() % alphabet.size()]);
  bytes += std::string(12000, 'L') + "\n";  // longer than a piece
  for (Reader reader : kReaders) {
    SCOPED_TRACE(ReaderName(reader));
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::thread writer([&bytes, fd = fds[1]] {
      std::mt19937 sizes(99);
      for (size_t at = 0; at < bytes.size();) {
        size_t size = std::min<size_t>(1 + sizes() % 3000, bytes.size() - at);
        if (write(fd, bytes.data() + at, size) <= 0) break;
        at += size;
      }
      close(fd);
    });
    TextFile file;
    file.Attach(fds[0], TextFile::kRead, "the pipe");
    EXPECT_EQ(ReadAllPieces(file, 5120, reader), ModelPieces(bytes, 5120));
    file.Close();
    writer.join();
    close(fds[0]);
  }
}

// Long inputs cross the read buffer's edges at every kind of byte; the result must equal
// the byte-by-byte model.
TEST(TextFileReadTest, LongInputsMatchTheModel) {
  struct Case {
    const char* name;
    const char* alphabet;  // bytes drawn at random
    size_t size;
    size_t limit;
  };
  const Case cases[] = {
      {"CR LF text, line limit", "abc  \r\n", 300000, 5120},
      {"many CRs, tiny limit", "a\r\r\n", 200000, 3},
      {"lines longer than the limit", "abcdefghij\r", 200000, 64},
      {"no line feeds at all", "xyz\r", 150000, 5120},
      {"NUL and high bytes", "a\x80\xff\n\r", 200000, 255},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(12345);
    std::string alphabet(c.alphabet);
    if (std::string(c.name) == "NUL and high bytes") alphabet.push_back('\0');
    std::string bytes;
    for (size_t i = 0; i < c.size; ++i) bytes.push_back(alphabet[random() % alphabet.size()]);
    for (Reader reader : kReaders) {
      SCOPED_TRACE(ReaderName(reader));
      std::string path = dir.WriteFile("long.txt", bytes);
      EXPECT_EQ(ReadPieces(path, c.limit, reader), ModelPieces(bytes, c.limit));
      // A 0x1A far into the file ends it there.
      std::string ended = bytes;
      ended[c.size / 2 + 7] = '\x1a';
      path = dir.WriteFile("long.txt", ended);
      EXPECT_EQ(ReadPieces(path, c.limit, reader), ModelPieces(ended, c.limit));
    }
  }
}

TEST(TextFileWriteTest, LineFeedsBecomeCrLf) {
  struct Case {
    const char* name;
    std::vector<std::string> writes;
    std::string bytes;
  };
  const std::string long_run(150000, 'x');
  const Case cases[] = {
      {"nothing written", {}, ""},
      {"LF to CR LF", {"a\nb\n"}, "a\r\nb\r\n"},
      {"a CR is written as it is", {"a\r\n"}, "a\r\r\n"},
      {"empty lines", {"\n\n"}, "\r\n\r\n"},
      {"pieces join", {"ab", "c\n", "", "\n"}, "abc\r\n\r\n"},
      {"long run after buffered bytes",
       {"head\n", long_run, "\ntail"},
       "head\r\n" + long_run + "\r\ntail"},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.Child("out.txt");
    TextFile file;
    ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
    for (const std::string& w : c.writes) file.Write(w);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), c.bytes);
  }
}

TEST(TextFileWriteTest, ManyLinesAcrossTheBuffer) {
  std::string text;
  std::string expected;
  for (int i = 0; i < 40000; ++i) {
    std::string line = "line " + std::to_string(i) + std::string(i % 13, '-');
    text += line + "\n";
    expected += line + "\r\n";
  }
  ScopedTempDir dir;
  std::string path = dir.Child("out.txt");
  TextFile file;
  ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
  // Odd-sized writes so that LFs and buffer edges fall everywhere.
  for (size_t at = 0; at < text.size(); at += 997)
    file.Write(std::string_view(text).substr(at, 997));
  file.Close();
  EXPECT_EQ(ReadFileBytes(path), expected);
  // And back through the reader.
  std::string read_back;
  for (const std::string& piece : ReadPieces(path, 5120)) read_back += piece;
  EXPECT_EQ(read_back, text);
}

// Random texts written in random-sized calls: every LF and only LFs gain a CR.
TEST(TextFileWriteTest, RandomWritesMatchTheModel) {
  struct Case {
    const char* name;
    std::string alphabet;
    size_t largest_write;
  };
  using std::string_literals::operator""s;
  const Case cases[] = {
      {"nothing but line feeds", "\n", 100000},
      {"short lines", "ab\n", 40},
      {"long lines, long writes", "abcdefghijklmnopqrstuvwxyz \n"s, 70000},
      {"CR, NUL and high bytes", "\r\n\0\x1a\xff"s, 300},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(777);
    std::string expected;
    std::string path = dir.Child("out.txt");
    TextFile file;
    ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
    for (size_t total = 0; total < 400000;) {
      std::string chunk(random() % (c.largest_write + 1), ' ');
      for (char& byte : chunk) byte = c.alphabet[random() % c.alphabet.size()];
      file.Write(chunk);
      for (char byte : chunk) {
        if (byte == '\n') expected.push_back('\r');
        expected.push_back(byte);
      }
      total += chunk.size();
    }
    file.Close();
    EXPECT_TRUE(ReadFileBytes(path) == expected) << "the written bytes differ";
  }
}

// WriteText() takes text without line feeds and the caller's word on where lines end; mixed
// with Write(), in runs of every size, the file holds exactly what the calls said.
TEST(TextFileWriteTest, WriteTextMatchesTheModel) {
  const size_t largest[] = {0, 3, 200, 70000};
  ScopedTempDir dir;
  for (size_t largest_run : largest) {
    SCOPED_TRACE("runs of up to " + std::to_string(largest_run) + " bytes");
    std::mt19937 random(31337);
    std::string expected;
    std::string path = dir.Child("out.txt");
    TextFile file;
    ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
    for (size_t total = 0; total < 300000 && expected.size() < 300000; ++total) {
      std::string run(random() % (largest_run + 1), ' ');
      for (char& byte : run) byte = "ab \r\0\x1a"[random() % 6];
      const bool end_line = random() % 2 == 0;
      if (random() % 5 == 0) {
        file.Write(run + (end_line ? "\n" : ""));
      } else {
        file.WriteText(run.data(), run.size(), end_line);
      }
      expected += run + (end_line ? "\r\n" : "");
    }
    file.Close();
    EXPECT_TRUE(ReadFileBytes(path) == expected) << "the written bytes differ";
  }
}

// Pieces read in place and written straight back: a copy of the text in text mode,
// whatever the lengths of the lines and wherever the blocks end.
TEST(TextFileWriteTest, PiecesWrittenBackAsTheyLie) {
  std::mt19937 random(2718);
  std::string text;
  while (text.size() < 3 * TextFile::kBlockSize) {
    const size_t length = random() % 4 == 0 ? random() % 6000 : random() % 90;
    for (size_t i = 0; i < length; ++i) text.push_back("abc -\t"[random() % 6]);
    text.push_back('\n');
  }
  text += "no line feed at the end";
  ScopedTempDir dir;
  TextFile input;
  ASSERT_EQ(input.Open(dir.WriteFile("in.txt", text), TextFile::kRead), 0);
  TextFile output;
  ASSERT_EQ(output.Open(dir.Child("out.txt"), TextFile::kWrite), 0);
  for (;;) {
    TextFile::Piece piece = input.ReadPieceInPlace(5120);
    if (piece.size == 0) break;
    const bool line_feed = piece.data[piece.size - 1] == '\n';
    output.WritePieceText(piece.data, piece.size - line_feed, line_feed);
  }
  output.Close();
  std::string expected;
  for (char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ReadFileBytes(dir.Child("out.txt")) == expected) << "the copy differs";
}

TEST(TextFileWriteTest, DestructorWritesOutWhatIsBuffered) {
  ScopedTempDir dir;
  std::string path = dir.Child("out.txt");
  {
    TextFile file;
    ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
    file.Write("kept\n");
  }
  EXPECT_EQ(ReadFileBytes(path), "kept\r\n");
  {
    TextFile file;
    ASSERT_EQ(file.Open(path, TextFile::kWrite), 0);
    file.Write("dropped\n");
    file.Abandon();
    EXPECT_FALSE(file.is_open());
  }
  EXPECT_EQ(ReadFileBytes(path), "");
}

// Runs BODY and checks that it throws a FileError naming NAME with ERROR_NUMBER.
template <typename Body>
void ExpectFileError(Body body, const std::string& name, int error_number) {
  try {
    body();
    ADD_FAILURE() << "no FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), name);
    EXPECT_EQ(e.error_number(), error_number);
    EXPECT_EQ(std::string(e.what()), name + ": " + e.reason());
  }
}

TEST(TextFileErrorTest, ErrorsCarryThePathAndTheReason) {
  struct Case {
    const char* name;
    void (*body)(TextFile* file);
    int error_number;
  };
  const Case cases[] = {
      {"flush on close",
       [](TextFile* f) {
         f->Write("x\n");
         f->Close();
       },
       ENOSPC},
      {"write beyond the buffer", [](TextFile* f) { f->Write(std::string(4 << 20, 'x')); }, ENOSPC},
      {"lines beyond the buffer",
       [](TextFile* f) {
         for (int i = 0; i < 1000000; ++i) f->WriteText("line", 4, true);
       },
       ENOSPC},
      {"read from a file open for writing",
       [](TextFile* f) {
         char buf[8];
         f->ReadPiece(buf, sizeof buf);
       },
       EBADF},
      {"read in place from a file open for writing", [](TextFile* f) { f->ReadPieceInPlace(8); },
       EBADF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int fd = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    TextFile file;
    file.Attach(fd, TextFile::kWrite, "/dev/full");
    ExpectFileError([&] { c.body(&file); }, "/dev/full", c.error_number);
    file.Abandon();
    close(fd);
  }
}

TEST(TextFileErrorTest, ReadErrorAndWrongMode) {
  ScopedTempDir dir;
  int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  TextFile folder;
  folder.Attach(fd, TextFile::kRead, "the folder");
  char buf[16];
  ExpectFileError([&] { folder.ReadPiece(buf, sizeof buf); }, "the folder", EISDIR);
  folder.Close();
  close(fd);

  std::string path = dir.WriteFile("in.txt", "x\n");
  TextFile input;
  ASSERT_EQ(input.Open(path, TextFile::kRead), 0);
  ExpectFileError([&] { input.Write("y"); }, path, EBADF);
  ExpectFileError([&] { input.WriteText("y", 1, true); }, path, EBADF);
  ExpectFileError([&] { input.WriteText("", 0, false); }, path, EBADF);
  ExpectFileError([&] { input.WritePieceText(input.ReadPieceInPlace(10).data, 1, true); }, path,
                  EBADF);
  input.Close();
  EXPECT_EQ(ReadFileBytes(path), "x\n");

  TextFile closed;
  ExpectFileError([&] { closed.ReadPiece(buf, sizeof buf); }, "", EBADF);
  ExpectFileError([&] { closed.ReadPieceInPlace(sizeof buf); }, "", EBADF);
  ExpectFileError([&] { closed.WriteText("y", 1, false); }, "", EBADF);
  closed.Close();  // closing a closed file does nothing
}

TEST(TextFileErrorTest, AttachedDescriptorStaysOpen) {
  ScopedTempDir dir;
  std::string path = dir.Child("out.txt");
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  {
    TextFile file;
    file.Attach(fd, TextFile::kWrite, "standard output");
    EXPECT_EQ(file.path(), "standard output");
    file.Write("a\n");
    file.Close();
  }
  EXPECT_EQ(write(fd, "b", 1), 1) << "the descriptor was closed";
  close(fd);
  EXPECT_EQ(ReadFileBytes(path), "a\r\nb");
}

TEST(TextFileOpenTest, OnlyRegularFilesOpenAndNeverBlock) {
  ScopedTempDir dir;
  std::string fifo = dir.Child("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  struct Case {
    const char* name;
    std::string path;
    TextFile::Mode mode;
    int error_number;
  };
  const Case cases[] = {
      {"folder for reading", dir.path(), TextFile::kRead, EISDIR},
      {"folder for writing", dir.path(), TextFile::kWrite, EISDIR},
      {"FIFO for reading", fifo, TextFile::kRead, EINVAL},
      {"FIFO for writing", fifo, TextFile::kWrite, EINVAL},
      {"device for reading", "/dev/null", TextFile::kRead, EINVAL},
      {"device for writing", "/dev/null", TextFile::kWrite, EINVAL},
      {"missing file", dir.Child("none.txt"), TextFile::kRead, ENOENT},
      {"missing folder", dir.Child("none/out.txt"), TextFile::kWrite, ENOENT},
      {"file used as a folder", dir.WriteFile("f", "") + "/x", TextFile::kWrite, ENOTDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextFile file;
    EXPECT_EQ(file.Open(c.path, c.mode), c.error_number);
    EXPECT_FALSE(file.is_open());
  }
}

TEST(TextFileOpenTest, NewFileGetsModeLessUmask) {
  ScopedTempDir dir;
  mode_t old_mask = umask(027);
  std::string path = dir.Child("new.txt");
  TextFile file;
  EXPECT_EQ(file.Open(path, TextFile::kWrite), 0);
  file.Close();
  umask(old_mask);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(TextFileHoldTest, AFileHeldOpenCannotBeOpenedAgain) {
  ScopedTempDir dir;
  std::string input = dir.WriteFile("in.txt", "precious\r\n");
  std::string hard_link = dir.Child("hard.txt");
  ASSERT_EQ(link(input.c_str(), hard_link.c_str()), 0);
  std::string soft_link = dir.Child("soft.txt");
  ASSERT_EQ(symlink(input.c_str(), soft_link.c_str()), 0);
  struct Case {
    const char* name;
    TextFile::Mode held;
    std::string path;
    TextFile::Mode mode;
  };
  const Case cases[] = {
      {"read while read", TextFile::kRead, input, TextFile::kRead},
      {"output naming the open input", TextFile::kRead, input, TextFile::kWrite},
      {"output through a hard link", TextFile::kRead, hard_link, TextFile::kWrite},
      {"output through a symbolic link", TextFile::kRead, soft_link, TextFile::kWrite},
      {"read while written", TextFile::kWrite, input, TextFile::kRead},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.WriteFile("in.txt", "precious\r\n");
    TextFile first;
    ASSERT_EQ(first.Open(input, c.held), 0);
    TextFile second;
    EXPECT_EQ(second.Open(c.path, c.mode), EBUSY);
    EXPECT_FALSE(second.is_open());
    if (c.held == TextFile::kRead) {
      EXPECT_EQ(ReadFileBytes(input), "precious\r\n");
      char buf[64];
      EXPECT_EQ(first.ReadPiece(buf, sizeof buf), 9u);
      EXPECT_STREQ(buf, "precious\n");
    }
    first.Close();
    EXPECT_EQ(second.Open(c.path, c.mode), 0) << "free again once closed";
  }
}

TEST(TextFileHoldTest, HoldFollowsTheObjectAndEndsWithIt) {
  ScopedTempDir dir;
  std::string path = dir.WriteFile("in.txt", "x\n");
  TextFile moved;
  {
    TextFile first;
    ASSERT_EQ(first.Open(path, TextFile::kRead), 0);
    moved = std::move(first);
    EXPECT_FALSE(first.is_open());
  }
  EXPECT_TRUE(moved.is_open());
  TextFile other;
  EXPECT_EQ(other.Open(path, TextFile::kRead), EBUSY) << "the moved object still holds it";
  TextFile moved_again(std::move(moved));
  EXPECT_EQ(other.Open(path, TextFile::kRead), EBUSY);
  moved_again.Abandon();
  EXPECT_EQ(other.Open(path, TextFile::kRead), 0);
  // Opening another file through the same object lets go of the first.
  std::string second = dir.WriteFile("second.txt", "y\n");
  EXPECT_EQ(other.Open(second, TextFile::kRead), 0);
  TextFile third;
  EXPECT_EQ(third.Open(path, TextFile::kRead), 0);
}

TEST(TextFileHoldTest, LockOfAnotherProgramKeepsTheFileOut) {
  ScopedTempDir dir;
  std::string path = dir.WriteFile("in.txt", "locked\n");
  struct Case {
    const char* name;
    int foreign_lock;
    TextFile::Mode mode;
    int result;
  };
  const Case cases[] = {
      {"exclusive lock keeps readers out", LOCK_EX, TextFile::kRead, EBUSY},
      {"exclusive lock keeps writers out", LOCK_EX, TextFile::kWrite, EBUSY},
      {"shared lock keeps writers out", LOCK_SH, TextFile::kWrite, EBUSY},
      {"shared lock lets readers in", LOCK_SH, TextFile::kRead, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Another open file description behaves like another program.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, c.foreign_lock), 0);
    TextFile file;
    EXPECT_EQ(file.Open(path, c.mode), c.result);
    file.Close();
    close(fd);
    EXPECT_EQ(ReadFileBytes(path), "locked\n") << "a refused output must not empty the file";
  }
}

TEST(FileErrorTest, MessageNamesPathAndReason) {
  FileError error("/tmp/x.txt", ENOENT);
  EXPECT_EQ(error.path(), "/tmp/x.txt");
  EXPECT_EQ(error.error_number(), ENOENT);
  EXPECT_EQ(error.reason(), "No such file or directory");
  EXPECT_STREQ(error.what(), "/tmp/x.txt: No such file or directory");
}

}  // namespace
}  // namespace vintrel
