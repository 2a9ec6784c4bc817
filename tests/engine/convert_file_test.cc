#include "engine/convert_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/core/file_error.h"
#include "platform/core/string_map.h"
#include "platform/core/text_file.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedTempDir;
using namespace std::string_literals;

ConvertOptions Options(int lead_mode, int column = 4, bool collapse = false) {
  ConvertOptions options;
  options.lead_mode = lead_mode;
  options.column = column;
  options.collapse_spaces = collapse;
  return options;
}

// Converts INPUT (raw file bytes) in a fresh folder and returns the raw output bytes.
// *PIECES receives the number of hook calls when not null.
std::string Convert(const std::string& input, const ConvertOptions& options,
                    const std::vector<const char*>& words = {}, int* pieces = nullptr) {
  ScopedTempDir dir;
  const std::string in_path = dir.WriteFile("in.txt", input);
  const std::string out_path = dir.Child("out.txt");
  CMapStringToString keep_words;
  for (const char* word : words) keep_words.SetAt(word, " ");
  TextFile in;
  TextFile out;
  EXPECT_EQ(in.Open(in_path, TextFile::kRead), 0);
  EXPECT_EQ(out.Open(out_path, TextFile::kWrite), 0);
  int calls = 0;
  auto count = [&calls] { ++calls; };
  ConvertFile(in, out, options, keep_words, count);
  in.Close();
  out.Close();
  if (pieces != nullptr) *pieces = calls;
  return ReadFileBytes(out_path);
}

struct Case {
  const char* name;
  ConvertOptions options;
  std::vector<const char*> words;
  std::string input;
  std::string expected;
};

const ConvertOptions kAll = Options(LeadDelAll);
const ConvertOptions kKeep = Options(LeadKeep);
const ConvertOptions kColumn4 = Options(LeadDelColumn, 4);

// Each input line in turn; CR LF in the output is a line break.
const Case kCases[] = {
    // Joining.
    {"word completed from the next line",
     kAll,
     {},
     "This is an exam-\nple of the text.\n",
     "This is an example\r\nof the text.\r\n"},
    {"exception word keeps its hyphen",
     kAll,
     {"socio-"},
     "socio-\neconomic factors\n",
     "socio-economic\r\nfactors\r\n"},
    {"exception lookup is case-sensitive",
     kAll,
     {"socio-"},
     "Socio-\neconomic factors\n",
     "Socioeconomic\r\nfactors\r\n"},
    {"chain of hyphenated lines", kAll, {}, "con-\ntin-\nued text\n", "continued\r\ntext\r\n"},
    {"second join on the same line",
     kAll,
     {},
     "con-\ntinued and hyph-\nenated.\n",
     "continued\r\nand hyphenated.\r\n"},
    {"next line without a space", kAll, {}, "exam-\nple.\n", "example.\r\n"},
    {"two hyphens are a dash", kAll, {}, "a dash--\nnext\n", "a dash--\r\nnext\r\n"},
    {"empty line supplies the line break",
     kAll,
     {},
     "end of a para-\n\nNew para\n",
     "end of a para\r\nNew para\r\n"},
    {"hyphen after a blank", kAll, {}, "word -\nnext line\n", "word next\r\nline\r\n"},
    {"hyphen after a blank with words: key is the hyphen",
     kAll,
     {"-"},
     "word -\nnext line\n",
     "word -next\r\nline\r\n"},
    {"hyphen after a blank, hyphen not a key",
     kAll,
     {"word-"},
     "word -\nnext line\n",
     "word next\r\nline\r\n"},
    {"line of one hyphen", kAll, {}, "-\nnext line\n", "next\r\nline\r\n"},
    {"hyphenated last line has no line break",
     kAll,
     {},
     "last line of file-\n",
     "last line of file"},
    {"hyphenated last line without its line feed",
     kAll,
     {},
     "last line of file-",
     "last line of file"},
    {"kept hyphen at the end of the file", kAll, {"socio-"}, "the socio-", "the socio-"},
    {"leading space of the continuation becomes the break",
     kKeep,
     {},
     "exam-\n ple of\n",
     "exam\r\nple of\r\n"},
    {"key leaves out the indentation",
     kKeep,
     {"socio-"},
     " socio-\neconomic\n",
     " socio-economic\r\n"},
    {"key includes punctuation",
     kAll,
     {"socio-"},
     "(socio-\neconomic) x\n",
     "(socioeconomic)\r\nx\r\n"},
    {"key with its punctuation in the set",
     kAll,
     {"(socio-"},
     "(socio-\neconomic) x\n",
     "(socio-economic)\r\nx\r\n"},
    {"tab delimits the key",
     kAll,
     {"socio-"},
     "the\tsocio-\neconomic x\n",
     "the\tsocio-economic\r\nx\r\n"},
    {"other word in the set does not match",
     kAll,
     {"socio-"},
     "re-\nduce it\n",
     "reduce\r\nit\r\n"},
    {"trailing blanks go before the test", kAll, {}, "exam-  \nple\n", "example\r\n"},
    {"trailing tab and form feed go", kAll, {}, "exam-\t\f\v\nple\n", "example\r\n"},
    {"only the space byte takes the line break",
     kAll,
     {},
     "exam-\nple\tof the\n",
     "example\tof\r\nthe\r\n"},
    {"join stops at a plain line without a space",
     kAll,
     {},
     "exam-\nple.\nNext line\n",
     "example.\r\nNext line\r\n"},
    {"join with collapse off keeps the second space",
     kAll,
     {},
     "exam-\nple  of\n",
     "example\r\n of\r\n"},
    {"join with collapse on",
     Options(LeadDelAll, 4, true),
     {},
     "exam-\nple  of\n",
     "example\r\nof\r\n"},
    {"plain line clears the pending join", kAll, {}, "a-\nb\nc d\n", "ab\r\nc d\r\n"},

    // Leading blanks.
    {"keep leaves the indentation", kKeep, {}, "   Text\n", "   Text\r\n"},
    {"delete all", kAll, {}, " \t Text\n", "Text\r\n"},
    {"column: eight spaces keep four", kColumn4, {}, "        Indented\n", "    Indented\r\n"},
    {"column: lower-case start loses all", kColumn4, {}, "  continued\n", "continued\r\n"},
    {"column: fewer than the count go", kColumn4, {}, "   Three\n", "Three\r\n"},
    {"column: exactly the count go", kColumn4, {}, "    Four\n", "Four\r\n"},
    {"column: digits are not lower case", kColumn4, {}, "      1. item\n", "    1. item\r\n"},
    {"column: tabs count one each", kColumn4, {}, "\t\t\t\t\tText\n", "\t\t\t\tText\r\n"},
    {"column: the last blanks stay whatever they are",
     kColumn4,
     {},
     "  \t \t Text\n",
     "\t \t Text\r\n"},
    {"column: a byte above 0x7F is no letter",
     kColumn4,
     {},
     "      \x82\xa0x\n",
     "    \x82\xa0x\r\n"},
    {"column count 0 deletes all", Options(LeadDelColumn, 0), {}, "        Text\n", "Text\r\n"},
    {"negative column count acts as 0", Options(LeadDelColumn, -3), {}, "      Text\n", "Text\r\n"},
    {"very negative column count acts as 0",
     Options(LeadDelColumn, -2147483647 - 1),
     {},
     "  X\n",
     "X\r\n"},
    {"unknown mode acts as keep", Options(7), {}, "  Text\n", "  Text\r\n"},
    {"blank line under delete all", kAll, {}, "   \t \n", "\r\n"},
    {"blank line under column", kColumn4, {}, "        \n", "\r\n"},
    {"blank line under keep keeps its first blank", kKeep, {}, "\t   \n", "\t\r\n"},
    {"empty line under keep", kKeep, {}, "\n", "\r\n"},

    // Collapsing spaces.
    {"collapse runs", Options(LeadDelAll, 4, true), {}, "ple   of  the\n", "ple of the\r\n"},
    {"collapse under keep starts at the first byte",
     Options(LeadKeep, 4, true),
     {},
     "   Three\n",
     " Three\r\n"},
    {"collapse leaves the column indentation",
     Options(LeadDelColumn, 4, true),
     {},
     "        A  b\n",
     "    A b\r\n"},
    {"tab between spaces is no run", Options(LeadDelAll, 4, true), {}, "a \t b\n", "a \t b\r\n"},
    {"collapse off keeps runs", kAll, {}, "ple   of\n", "ple   of\r\n"},
    {"collapse then trailing blanks", Options(LeadKeep, 4, true), {}, "  a   b   \n", " a b\r\n"},

    // Bytes and text mode.
    {"empty file", kAll, {}, "", ""},
    {"last line without a line feed", kAll, {}, "no end", "no end\r\n"},
    {"CR LF input", kAll, {}, "exam-\r\nple of\r\n", "example\r\nof\r\n"},
    {"lone CR is dropped", kAll, {}, "ab\rcd\n", "abcd\r\n"},
    {"CR before the hyphen's line feed", kAll, {}, "exam-\r\r\nple x\n", "example\r\nx\r\n"},
    {"0x1A ends the file", kAll, {}, "one\ntwo\x1Athree\n", "one\r\ntwo\r\n"},
    {"0x1A right after a hyphen", kAll, {}, "exam-\x1A", "exam"},
    {"zero byte ends the line's text", kAll, {}, "abc\0def\nnext\n"s, "abc\r\nnext\r\n"},
    {"zero byte first gives an empty line", kAll, {}, "\0xyz\nq\n"s, "\r\nq\r\n"},
    {"zero byte after a hyphen", kAll, {}, "ab-\0zz\ncd e\n"s, "abcd\r\ne\r\n"},
    {"bytes above 0x7F pass through",
     kAll,
     {},
     "\x95\x5c\x82\xa0-\n\x93\xfa x\n",
     "\x95\x5c\x82\xa0\x93\xfa\r\nx\r\n"},
    {"UTF-8 passes through",
     kAll,
     {},
     "caf\xc3\xa9 na-\n\xc3\xafve x\n",
     "caf\xc3\xa9 na\xc3\xafve\r\nx\r\n"},
    {"0xA0 is not a blank", kAll, {}, "a\xa0\n", "a\xa0\r\n"},
};

TEST(ConvertFileTest, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Convert(c.input, c.options, c.words), c.expected);
  }
}

TEST(ConvertFileTest, LongLinesArriveInPieces) {
  struct LongCase {
    const char* name;
    std::string input;
    std::string expected;
    int pieces;
  };
  const LongCase cases[] = {
      {"6000 letters", std::string(6000, 'a') + "\n",
       std::string(5119, 'a') + "\r\n" + std::string(881, 'a') + "\r\n", 2},
      {"5119 letters get an extra empty line", std::string(5119, 'b') + "\n",
       std::string(5119, 'b') + "\r\n\r\n", 2},
      {"5118 letters fit", std::string(5118, 'c') + "\n", std::string(5118, 'c') + "\r\n", 1},
      {"CR bytes do not count", std::string(5118, 'd') + "\r\n", std::string(5118, 'd') + "\r\n",
       1},
      {"piece ending in a hyphen joins the rest", std::string(5118, 'e') + "-fg h\n",
       std::string(5118, 'e') + "fg\r\nh\r\n", 2},
  };
  for (const LongCase& c : cases) {
    SCOPED_TRACE(c.name);
    int pieces = 0;
    EXPECT_EQ(Convert(c.input, kAll, {}, &pieces), c.expected);
    EXPECT_EQ(pieces, c.pieces);
  }
}

// Pieces are converted where they lie in the input's read buffer. A block of lines that
// ends with a plain line converts the same wherever it lies, so many copies of it, which
// put the buffer's edges at every kind of place (inside a CR LF, a long line, a zero
// byte, a join), convert to as many copies of its own output.
TEST(ConvertFileTest, RepeatedBlocksConvertAlike) {
  struct BlockCase {
    const char* name;
    ConvertOptions options;
    std::string block;
  };
  const BlockCase cases[] = {
      {"joins and CR LF", kAll, "  con-\r\ntinued text and hyph-\r\nenated.\r\n\r\nend.\r\n"},
      {"lone line feeds under every mode", kAll, "\n\n  \n-\n\nx\n"},
      {"lone line feeds, blanks kept", kKeep, "\n\n  \n-\n\nx\n"},
      {"zero bytes end the text", kColumn4, "ab\0cd\n\0\n      \0x\nword-\0\nnext one\n"s},
      {"long lines in pieces", kAll,
       std::string(6000, 'a') + "\n" + std::string(5119, 'b') + "-\n" + "c d\n"},
      {"collapsed spaces", Options(LeadKeep, 4, true), "a   b    c-\n  d  e\n"},
      {"exception words", kAll, "the socio-\neconomic view\nanti-\nhero\n"},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<const char*> words = {"socio-", "anti-"};
    const std::string once = Convert(c.block, c.options, words);
    std::string input;
    std::string expected;
    while (input.size() < 2 * TextFile::kBlockSize + 5000) {
      input += c.block;
      expected += once;
    }
    EXPECT_TRUE(Convert(input, c.options, words) == expected) << "the output differs";
  }
}

TEST(ConvertFileTest, HookIsCalledOncePerPieceBeforeItIsConverted) {
  ScopedTempDir dir;
  const std::string in_path = dir.WriteFile("in.txt", "a\nb-\nc d\n\n");
  const std::string out_path = dir.Child("out.txt");
  TextFile in;
  TextFile out;
  ASSERT_EQ(in.Open(in_path, TextFile::kRead), 0);
  ASSERT_EQ(out.Open(out_path, TextFile::kWrite), 0);
  // At each call the output holds what the pieces before this one wrote.
  std::vector<std::string> seen;
  auto hook = [&] {
    out.Flush();
    seen.push_back(ReadFileBytes(out_path));
  };
  ConvertFile(in, out, kAll, CMapStringToString(), hook);
  out.Close();
  const std::vector<std::string> expected = {"", "a\r\n", "a\r\nb", "a\r\nbc\r\nd\r\n"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(ReadFileBytes(out_path), "a\r\nbc\r\nd\r\n\r\n");
}

TEST(ConvertFileTest, PlainFunctionAndEmptyHooks) {
  static int calls = 0;
  calls = 0;
  struct Counter {
    static void Count() { ++calls; }
  };
  ScopedTempDir dir;
  const std::string in_path = dir.WriteFile("in.txt", "one\ntwo\n");
  for (int round = 0; round < 2; ++round) {
    TextFile in;
    TextFile out;
    ASSERT_EQ(in.Open(in_path, TextFile::kRead), 0);
    ASSERT_EQ(out.Open(dir.Child("out.txt"), TextFile::kWrite), 0);
    if (round == 0) {
      ConvertFile(in, out, kAll, CMapStringToString(), &Counter::Count);
    } else {
      std::function<void()> empty_function = [] {};
      ConvertFile(in, out, kAll, CMapStringToString(), nullptr);
      in.Close();
      ASSERT_EQ(in.Open(in_path, TextFile::kRead), 0);
      ConvertFile(in, out, kAll, CMapStringToString(), empty_function);
    }
    out.Close();
  }
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadFileBytes(dir.Child("out.txt")), "one\r\ntwo\r\none\r\ntwo\r\n");
}

// A hook that throws (the window closing during a run) stops the conversion before the
// piece it was called for is written.
TEST(ConvertFileTest, ThrowingHookStopsBeforeItsPiece) {
  struct Stop {};
  ScopedTempDir dir;
  const std::string in_path = dir.WriteFile("in.txt", "one\ntwo\nthree\n");
  TextFile in;
  TextFile out;
  ASSERT_EQ(in.Open(in_path, TextFile::kRead), 0);
  ASSERT_EQ(out.Open(dir.Child("out.txt"), TextFile::kWrite), 0);
  int calls = 0;
  auto hook = [&calls] {
    if (++calls == 2) throw Stop();
  };
  EXPECT_THROW(ConvertFile(in, out, kAll, CMapStringToString(), hook), Stop);
  EXPECT_EQ(calls, 2);
  out.Close();
  EXPECT_EQ(ReadFileBytes(dir.Child("out.txt")), "one\r\n");
}

// The join flag starts false for every file: the first line of the next file of a run is
// never touched by the last line of the file before.
TEST(ConvertFileTest, TwoFilesInARowDoNotJoin) {
  ScopedTempDir dir;
  const std::string first = dir.WriteFile("a.txt", "ends with a hyph-\n");
  const std::string second = dir.WriteFile("b.txt", "next file starts\n");
  CMapStringToString words;
  const std::string outputs[] = {dir.Child("a.out"), dir.Child("b.out")};
  const std::string inputs[] = {first, second};
  for (int i = 0; i < 2; ++i) {
    TextFile in;
    TextFile out;
    ASSERT_EQ(in.Open(inputs[i], TextFile::kRead), 0);
    ASSERT_EQ(out.Open(outputs[i], TextFile::kWrite), 0);
    ConvertFile(in, out, kAll, words);
    in.Close();
    out.Close();
  }
  EXPECT_EQ(ReadFileBytes(outputs[0]), "ends with a hyph");
  EXPECT_EQ(ReadFileBytes(outputs[1]), "next file starts\r\n");
}

// A write error leaves ConvertFile at once with the stream's FileError.
TEST(ConvertFileTest, WriteErrorPropagates) {
  ScopedTempDir dir;
  // More than the output buffer holds, so the error shows before Close().
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a line of text that is long enough\n";
  const std::string in_path = dir.WriteFile("in.txt", text);
  TextFile in;
  ASSERT_EQ(in.Open(in_path, TextFile::kRead), 0);
  TextFile out;
  const int fd = open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  out.Attach(fd, TextFile::kWrite, "the full device");
  int pieces = 0;
  auto count = [&pieces] { ++pieces; };
  try {
    ConvertFile(in, out, kAll, CMapStringToString(), count);
    ADD_FAILURE() << "no FileError";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), "the full device");
    EXPECT_EQ(error.error_number(), ENOSPC);
  }
  EXPECT_LT(pieces, 20000);
  out.Abandon();
  close(fd);
}

TEST(ConvertFileTest, ReadErrorPropagates) {
  ScopedTempDir dir;
  TextFile in;
  TextFile out;
  // A descriptor open for writing only cannot be read.
  const int fd = open(dir.WriteFile("in.txt", "text\n").c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  in.Attach(fd, TextFile::kRead, "the input");
  ASSERT_EQ(out.Open(dir.Child("out.txt"), TextFile::kWrite), 0);
  try {
    ConvertFile(in, out, kAll, CMapStringToString());
    ADD_FAILURE() << "no FileError";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), "the input");
    EXPECT_EQ(error.error_number(), EBADF);
  }
  close(fd);
}

// The sample that ships with the program converts as a reader expects.
TEST(ConvertFileTest, OcrSampleWithExceptionWords) {
  const std::string sample =
      "The committee met on a cold morn-\n"
      "ing in the spring of that year to dis-\n"
      "cuss the socio-\n"
      "economic effects of the new rail-\n"
      "way.   \n";
  EXPECT_EQ(Convert(sample, kAll, {"socio-"}),
            "The committee met on a cold morning\r\n"
            "in the spring of that year to discuss\r\n"
            "the socio-economic\r\n"
            "effects of the new railway.\r\n");
}

}  // namespace
}  // namespace vintrel
