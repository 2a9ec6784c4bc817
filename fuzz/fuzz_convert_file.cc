// Fuzzes ConvertFile: the first bytes choose the options and whether exception words are
// in use, the rest is the input file. Checks what must hold for every input: the output is
// written in text mode (every LF behind a CR), holds no zero byte, and is no longer than
// the input plus one line break per piece.

#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  vintrel::ConvertOptions options;
  options.lead_mode = data[0] % 4;  // 3 is no mode: it must act as keeping the blanks
  options.column = static_cast<int8_t>(data[1]);
  options.collapse_spaces = data[2] & 1;
  vintrel::CMapStringToString keep_words;
  if (data[2] & 2) {
    for (const char* word : {"socio-", "-", "(a-", "\x95\x5c-", ""}) keep_words.SetAt(word, " ");
  }
  data += 3;
  size -= 3;

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
