#include "engine/convert_file.h"

#include <array>
#include <cstring>
#include <string_view>

#include "platform/core/string_map.h"
#include "platform/core/text_file.h"

namespace vintrel {
namespace {

// Byte classes of the C locale; bytes 0x80 to 0xFF belong to none.
enum : unsigned char {
  kClassControl = 1,
  kClassSpace = 2,
  kClassPunct = 4,
  kClassPrint = 8,
  kClassHexDigit = 16,
  kClassDigit = 32,
  kClassUpper = 64,
  kClassLower = 128,
};

constexpr std::array<unsigned char, 256> MakeClassTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 0x80; ++c) {
    unsigned char bits = 0;
    if (c < 0x20 || c == 0x7F) bits |= kClassControl;
    if ((c >= 0x09 && c <= 0x0D) || c == 0x20) bits |= kClassSpace;
    if (c >= 0x20 && c < 0x7F) bits |= kClassPrint;
    const bool digit = c >= '0' && c <= '9';
    const bool upper = c >= 'A' && c <= 'Z';
    const bool lower = c >= 'a' && c <= 'z';
    if (digit) bits |= kClassDigit | kClassHexDigit;
    if (upper) bits |= kClassUpper;
    if (lower) bits |= kClassLower;
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) bits |= kClassHexDigit;
    if (c > 0x20 && c < 0x7F && !digit && !upper && !lower) bits |= kClassPunct;
    table[c] = bits;
  }
  return table;
}

constexpr std::array<unsigned char, 256> kByteClass = MakeClassTable();

static_assert(kByteClass['\t'] == (kClassControl | kClassSpace));
static_assert(kByteClass[' '] == (kClassSpace | kClassPrint));
static_assert(kByteClass['-'] == (kClassPunct | kClassPrint));
static_assert(kByteClass['a'] == (kClassLower | kClassHexDigit | kClassPrint));
static_assert(kByteClass[0xA0] == 0 && kByteClass[0x85] == 0);

inline bool IsBlank(char c) { return kByteClass[static_cast<unsigned char>(c)] & kClassSpace; }
inline bool IsLower(char c) { return kByteClass[static_cast<unsigned char>(c)] & kClassLower; }

// Removes every space that directly follows a space in TEXT[0, size); returns the new size.
size_t CollapseSpaces(char* text, size_t size) {
  const void* found = memmem(text, size, "  ", 2);
  if (found == nullptr) return size;
  // Keep the first space of the run, then copy forward, dropping spaces after a space.
  size_t write = static_cast<const char*>(found) - text + 1;
  bool after_space = true;
  for (size_t read = write + 1; read < size; ++read) {
    const char c = text[read];
    if (c == ' ') {
      if (after_space) continue;
      after_space = true;
    } else {
      after_space = false;
    }
    text[write++] = c;
  }
  return write;
}

// Where the text to write starts, given the first non-blank byte at FIRST_TEXT.
size_t TextStart(const char* line, size_t size, size_t first_text, int mode, size_t column) {
  switch (mode) {
    case LeadDelAll:
      return first_text;
    case LeadDelColumn:
      // A line that starts with a lower-case letter continues a sentence: no indentation.
      if (first_text < size && IsLower(line[first_text])) return first_text;
      return first_text <= column ? first_text : first_text - column;
    default:
      return 0;
  }
}

}  // namespace

void ConvertFile(TextFile& input, TextFile& output, const ConvertOptions& options,
                 const CMapStringToString& keep_words, LineHook line_hook) {
  static_assert(kReadLimit <= TextFile::kInPlaceLimit);
  const int mode = options.lead_mode == LeadDelAll || options.lead_mode == LeadDelColumn
                       ? options.lead_mode
                       : LeadKeep;
  const size_t column = options.column < 0 ? 0 : static_cast<size_t>(options.column);
  const bool look_up_words = !keep_words.IsEmpty();
  bool join_pending = false;

  for (;;) {
    // The piece is edited where it lies, in the input's read buffer; the edits stay inside
    // it, and its text is copied once, into the output's buffer.
    const TextFile::Piece piece = input.ReadPieceInPlace(kReadLimit);
    if (piece.size == 0) break;
    line_hook();
    char* const line = piece.data;

    // Most lines end in a letter or a mark followed by the line feed and need no editing:
    // no join waits for them, no blank leads when leading blanks go, nothing collapses.
    // Such a line is written as it is, without its line feed, with a line break.
    const size_t last = piece.size - 1;
    if (last > 0 && piece.text_size == piece.size && line[last] == '\n' && !join_pending &&
        !IsBlank(line[last - 1]) && line[last - 1] != '-' && !options.collapse_spaces &&
        (mode == LeadKeep || !IsBlank(line[0]))) {
      output.WritePieceText(line, last, true);
      continue;
    }

    // A zero byte ends the text of the piece.
    size_t size = piece.text_size;

    // Blanks at the end go, the line feed with them; the first byte always stays.
    while (size > 1 && IsBlank(line[size - 1])) --size;

    size_t first_text = 0;
    while (first_text < size && IsBlank(line[first_text])) ++first_text;
    const size_t start = TextStart(line, size, first_text, mode, column);
    if (mode == LeadKeep) first_text = 0;

    size_t end = size;
    if (options.collapse_spaces) {
      end = first_text + CollapseSpaces(line + first_text, size - first_text);
    }
    // The text ends before a line feed. A piece holds one only as its last byte, and the
    // trimming above leaves it only in a line that is a lone line feed.
    if (end > start && line[end - 1] == '\n') --end;

    const size_t length = end - start;
    const bool hyphenated =
        length > 0 && line[end - 1] == '-' && (length == 1 || line[end - 2] != '-');
    if (hyphenated && !look_up_words) {
      --end;
    } else if (hyphenated) {
      // The key is the last word with its hyphen: from just after the last blank before it.
      size_t word = end - 1;
      while (word > start && !IsBlank(line[word - 1])) --word;
      if (!keep_words.Contains(std::string_view(line + word, end - word))) --end;
    }

    // From here the text holds no line feed. The held-back line break of a hyphenated line
    // goes where this line's first space is.
    const char* text = line + start;
    size_t text_size = end - start;
    if (join_pending) {
      if (const void* space = memchr(text, ' ', text_size)) {
        const size_t before = static_cast<size_t>(static_cast<const char*>(space) - text);
        output.WritePieceText(text, before, true);
        text += before + 1;
        text_size -= before + 1;
      }
    }
    output.WritePieceText(text, text_size, !hyphenated);
    join_pending = hyphenated;
  }
}

}  // namespace vintrel
