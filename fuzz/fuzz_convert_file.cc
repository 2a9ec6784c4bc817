// Fuzzes ConvertFile: the first bytes choose the options, whether exception words are in
// use and whether the rest, the input file, comes behind filler that puts it at the edge of
// a read block. Checks that the output equals that of the transform written as plainly as it can
// be (each piece cut from the raw bytes and edited as a string), and what must hold for
// every input: the output is written in text mode (every LF behind a CR), holds no zero
// byte, and is no longer than the input plus one line break per piece.

#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "engine/convert_file.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace {

// The temporary folder of this process, removed at exit. Kept in a plain array: the exit
// handler runs after static strings are gone.
char folder_path[4096];

const std::string& Folder() {
  static const std::string folder = [] {
    const char* base = getenv("TMPDIR");
    std::string templ =
        std::string(base != nullptr && *base ? base : "/tmp") + "/fuzz-convert-XXXXXX";
    if (mkdtemp(templ.data()) == nullptr || templ.size() >= sizeof folder_path - 16) abort();
    std::snprintf(folder_path, sizeof folder_path, "%s", templ.c_str());
    atexit([] {
      char file[sizeof folder_path + 16];
      std::snprintf(file, sizeof file, "%s/in.txt", folder_path);
      unlink(file);
      std::snprintf(file, sizeof file, "%s/out.txt", folder_path);
      unlink(file);
      rmdir(folder_path);
    });
    return templ;
  }();
  return folder;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) abort();
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
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

  const std::string in_path = Folder() + "/in.txt";
  const std::string out_path = Folder() + "/out.txt";
  std::FILE* file = std::fopen(in_path.c_str(), "wb");
  if (file == nullptr) abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  size_t pieces = 0;
  {
    vintrel::TextFile input;
    vintrel::TextFile output;
    if (input.Open(in_path, vintrel::TextFile::kRead) != 0) abort();
    if (output.Open(out_path, vintrel::TextFile::kWrite) != 0) abort();
    auto count = [&pieces] { ++pieces; };
    vintrel::ConvertFile(input, output, options, keep_words, count);
    output.Close();
    input.Close();
  }

  const std::string out = ReadAll(out_path);
  // Filler lines need no editing and end with a line break: the input after them converts
  // as on its own.
  std::string expected;
  for (char c : filler) expected += c == '\n' ? "\r\n" : "x";
  expected += PlainTransform(std::string_view(text).substr(filler.size()), options, words);
  if (out != expected) abort();
  size_t line_feeds = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\0') abort();
    if (out[i] == '\n') {
      if (i == 0 || out[i - 1] != '\r') abort();
      ++line_feeds;
    }
  }
  // Text bytes never grow; each piece adds at most one line break.
  if (out.size() - line_feeds > size + pieces) abort();
  if (pieces > size) abort();
  return 0;
}
