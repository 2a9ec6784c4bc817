// make_ocr_text: writes text that looks like English prose after OCR, for the benchmarks.
//
//   make_ocr_text MEGABYTES PATH
//
// Lines of 55 to 75 bytes with LF line ends; about one line in six ends in a word split by
// a hyphen, now and then an exception word (socio-, anti-, ...) or a dash ("--") ends a
// line; paragraphs start with an indentation of three spaces and are parted by an empty
// line; some lines carry trailing blanks or runs of spaces. The text is the same for the
// same size on every run (a fixed pseudo-random sequence).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kWords[] = {
    "the",        "of",          "and",        "to",         "in",         "a",
    "is",         "that",        "for",        "it",         "as",         "was",
    "with",       "be",          "by",         "on",         "not",        "he",
    "this",       "are",         "or",         "his",        "from",       "at",
    "which",      "but",         "have",       "an",         "had",        "they",
    "you",        "were",        "their",      "one",        "all",        "we",
    "can",        "her",         "has",        "there",      "been",       "if",
    "more",       "when",        "will",       "would",      "who",        "so",
    "no",         "committee",   "morning",    "spring",     "discussion", "economic",
    "railway",    "already",     "changed",    "question",   "interest",   "private",
    "public",     "chairman",    "remarks",    "foreseen",   "countries",  "industry",
    "government", "development", "important",  "between",    "population", "agricultural",
    "production", "increase",    "material",   "knowledge",  "structure",  "character",
    "certainly",  "themselves",  "particular", "experience",
};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

const char* const kKeptWords[] = {"socio-", "anti-", "self-", "non-", "well-"};

class Random {
 public:
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_ = 2463534242u;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_ocr_text MEGABYTES PATH\n");
    return 2;
  }
  const long long target = std::atoll(argv[1]) * 1024 * 1024;
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  Random random;
  std::string text;
  text.reserve(1 << 20);
  long long written = 0;
  std::string carry;  // the rest of a word split at the end of the line before
  bool paragraph_start = true;
  while (written < target) {
    std::string line;
    if (paragraph_start) line = "   ";
    paragraph_start = false;
    if (!carry.empty()) {
      line += carry;
      carry.clear();
      line += ' ';
    }
    const int width = 55 + random.Below(21);
    while (static_cast<int>(line.size()) < width) {
      line += kWords[random.Below(kWordCount)];
      line += random.Below(40) == 0 ? "  " : " ";
    }
    line.pop_back();
    if (line.back() == ' ') line.pop_back();
    const int ending = random.Below(60);
    if (ending < 10) {
      // A long word split by the hyphen.
      std::string word = kWords[kWordCount - 1 - random.Below(30)];
      const size_t cut = 2 + random.Below(static_cast<int>(word.size()) - 3);
      line += ' ';
      line += word.substr(0, cut);
      line += '-';
      carry = word.substr(cut);
    } else if (ending == 10) {
      line += ' ';
      line += kKeptWords[random.Below(5)];
      carry = kWords[random.Below(kWordCount)];
    } else if (ending == 11) {
      line += " --";
    } else if (ending == 12) {
      line += "   ";  // trailing blanks
    } else if (ending == 13 && carry.empty()) {
      line += ".\n";  // end of the paragraph: an empty line follows
      paragraph_start = true;
    }
    line += '\n';
    text += line;
    written += static_cast<long long>(line.size());
    if (text.size() > (1 << 20) - 256) {
      std::fwrite(text.data(), 1, text.size(), out);
      text.clear();
    }
  }
  std::fwrite(text.data(), 1, text.size(), out);
  if (std::fclose(out) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
