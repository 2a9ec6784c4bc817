// Fuzzes ConvertFile: the first bytes choose the options, whether exception words are in
// use and whether the rest, the input file, comes behind filler that puts it at the edge of
// a read block. Checks that the output equals that of the transform written as plainly as it can
// be (each piece cut from the raw bytes and edited as a string), and what must hold for
// every input: the output is written in text mode (every LF behind a CR), holds no zero
// byte, and is no longer than the input plus one line break per piece. The input and the output
// are files in memory that TextFile takes by descriptor: nothing goes through a folder.

#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "engine/convert_file.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace {

// The input and the output are files in memory (memfd), made once and emptied for every
// input, so that no input goes through a folder.
int MemoryFile(const char* name) {
  const int fd = memfd_create(name, MFD_CLOEXEC);
  if (fd < 0) abort();
  return fd;
}

int InputFd() {
  static const int fd = MemoryFile("fuzz-convert-input");
  return fd;
}

int OutputFd() {
  static const int fd = MemoryFile("fuzz-convert-output");
  return fd;
}

// Empties FD and puts its offset at the start.
void Empty(int fd) {
  if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) abort();
}

// Makes FD hold the SIZE bytes of DATA, its offset at the start. The pages the file had
// stay in place where it is as long as before.
void Fill(int fd, const char* data, size_t size) {
  if (ftruncate(fd, static_cast<off_t>(size)) != 0 || lseek(fd, 0, SEEK_SET) != 0) abort();
  for (off_t at = 0; size > 0;) {
    const ssize_t put = pwrite(fd, data, size, at);
    if (put <= 0) abort();
    data += put;
    at += put;
    size -= static_cast<size_t>(put);
  }
}

std::string ReadAll(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) abort();
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  for (size_t at = 0; at < bytes.size();) {
    const ssize_t got = pread(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(at));
    if (got <= 0) abort();
    at += static_cast<size_t>(got);
  }
  return bytes;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The transform, step by step on strings: text-mode reading (CR dropped, 0x1A ends the
// text), pieces of at most 5119 bytes that end after a line feed, each piece edited on its
// own, the join flag carried from piece to piece, and every LF written as CR LF.
std::string PlainTransform(std::string_view raw, const vintrel::ConvertOptions& options,
                           const std::set<std::string>& words) {
  std::string text;
  text.reserve(raw.size());
  for (char c : raw) {
    if (c == '\x1a') break;
    if (c != '\r') text += c;
  }
  const int mode = options.lead_mode == 1 || options.lead_mode == 2 ? options.lead_mode : 0;
  const size_t column = options.column < 0 ? 0 : static_cast<size_t>(options.column);
  std::string out;
  bool join = false;
  for (size_t at = 0; at < text.size();) {
    const size_t lf = text.find('\n', at);
    const size_t size =
        std::min<size_t>(lf == std::string::npos ? text.size() - at : lf - at + 1, 5119);
    std::string line = text.substr(at, size);
    at += size;
    line = line.substr(0, line.find('\0'));
    while (line.size() > 1 && IsBlank(line.back())) line.pop_back();
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    size_t start = 0;
    if (mode == 0) {
      first = 0;
    } else if (mode == 1 || (first < line.size() && line[first] >= 'a' && line[first] <= 'z')) {
      start = first;
    } else {
      start = first <= column ? first : first - column;
    }
    if (options.collapse_spaces) {
      std::string collapsed = line.substr(0, first);
      for (size_t i = first; i < line.size(); ++i) {
        if (line[i] == ' ' && i > first && line[i - 1] == ' ') continue;
        collapsed += line[i];
      }
      line = collapsed;
    }
    std::string t = line.substr(start);
    t = t.substr(0, t.find('\n'));
    const bool hyphenated =
        !t.empty() && t.back() == '-' && (t.size() == 1 || t[t.size() - 2] != '-');
    if (hyphenated) {
      size_t word = t.size() - 1;
      while (word > 0 && !IsBlank(t[word - 1])) --word;
      if (words.count(t.substr(word)) == 0) t.pop_back();
    }
    if (join && t.find(' ') != std::string::npos) t[t.find(' ')] = '\n';
    out += t;
    if (!hyphenated) out += '\n';
    join = hyphenated;
  }
  std::string written;
  written.reserve(2 * out.size());
  for (char c : out) {
    if (c == '\n') written += '\r';
    written += c;
  }
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  vintrel::ConvertOptions options;
  options.lead_mode = data[0] % 4;  // 3 is no mode: it must act as keeping the blanks
  options.column = static_cast<int8_t>(data[1]);
  options.collapse_spaces = data[2] & 1;
  vintrel::CMapStringToString keep_words;
  std::set<std::string> words;
  if (data[2] & 2) {
    for (const char* word : {"socio-", "-", "(a-", "\x95\x5c-", ""}) {
      keep_words.SetAt(word, " ");
      words.insert(word);
    }
  }
  // Behind lines of filler, the input starts up to 6000 bytes before the end of the first
  // read block: pieces cross the block's edge at every kind of place.
  std::string filler;
  if ((data[2] & 0x3c) == 0x3c && size >= 5) {
    const size_t before_edge = (data[3] | data[4] << 8) % 6000;
    filler.assign(vintrel::TextFile::kBlockSize - before_edge, 'x');
    for (size_t at = 4000; at < filler.size(); at += 4001) filler[at] = '\n';
    filler.back() = '\n';
    data += 2;
    size -= 2;
  }
  const std::string text = filler + std::string(reinterpret_cast<const char*>(data), size);
  data = reinterpret_cast<const uint8_t*>(text.data());
  size = text.size();

  const int in_fd = InputFd();
  const int out_fd = OutputFd();
  Fill(in_fd, text.data(), text.size());
  Empty(out_fd);

  // Kept from input to input, so that their buffers are made once.
  static vintrel::TextFile input;
  static vintrel::TextFile output;
  size_t pieces = 0;
  input.Attach(in_fd, vintrel::TextFile::kRead, "input");
  output.Attach(out_fd, vintrel::TextFile::kWrite, "output");
  auto count = [&pieces] { ++pieces; };
  vintrel::ConvertFile(input, output, options, keep_words, count);
  output.Close();
  input.Close();

  const std::string out = ReadAll(out_fd);
  // Filler lines need no editing and end with a line break: the input after them converts
  // as on its own.
  std::string expected;
  expected.reserve(out.size());
  for (size_t at = 0; at < filler.size();) {
    const size_t lf = filler.find('\n', at);  // every filler line ends with one
    expected.append(filler, at, lf - at).append("\r\n");
    at = lf + 1;
  }
  expected += PlainTransform(std::string_view(text).substr(filler.size()), options, words);
  if (out != expected) abort();
  if (out.find('\0') != std::string::npos) abort();
  size_t line_feeds = 0;
  for (size_t lf = out.find('\n'); lf != std::string::npos; lf = out.find('\n', lf + 1)) {
    if (lf == 0 || out[lf - 1] != '\r') abort();
    ++line_feeds;
  }
  // Text bytes never grow; each piece adds at most one line break.
  if (out.size() - line_feeds > size + pieces) abort();
  if (pieces > size) abort();
  return 0;
}
