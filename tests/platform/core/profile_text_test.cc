#include "platform/core/profile_text.h"

#include <gtest/gtest.h>
#include <limits.h>

#include <string>

namespace vintrel {
namespace {

// One file that exercises every reading rule.
const char kSample[] =
    "top=outside every section\n"
    "[Default]\n"
    "DelAll=1\n"
    "  Column  =  12  \n"
    "Ext=\".doc\"\n"
    "Single='x y'\n"
    "Mixed=\"half'\n"
    "Lone=\"\n"
    "Blank=\n"
    "Spaces=   \n"
    "; Comment=not an entry\n"
    "  ;Indented=not one either\n"
    "no equals sign here\n"
    "Eq=a=b\n"
    "DelAll=2\n"
    "[ Regist ]\n"
    "OutDir=/home/u/out/\n"
    "[Default]\n"
    "Late=in the second copy\n"
    "Column=99\n"
    "[Initial\n"
    "Filename=*.txt\n"
    "[]\n"
    "=empty name\n";

TEST(ProfileLookupTest, ReadingRules) {
  struct Case {
    const char* name;
    const char* section;
    const char* entry;
    bool found;
    const char* value;
  };
  const Case cases[] = {
      {"plain entry", "Default", "DelAll", true, "1"},
      {"section name in other case", "DEFAULT", "delall", true, "1"},
      {"blanks around name and value", "Default", "Column", true, "12"},
      {"double quotes removed", "Default", "Ext", true, ".doc"},
      {"single quotes removed", "Default", "Single", true, "x y"},
      {"unmatched quotes kept", "Default", "Mixed", true, "\"half'"},
      {"a lone quote kept", "Default", "Lone", true, "\""},
      {"empty value", "Default", "Blank", true, ""},
      {"blank value", "Default", "Spaces", true, ""},
      {"comment is no entry", "Default", "Comment", false, ""},
      {"indented comment is no entry", "Default", ";Indented", false, ""},
      {"value holding '='", "Default", "Eq", true, "a=b"},
      {"first duplicate entry counts", "Default", "DelAll", true, "1"},
      {"blanks inside brackets", "Regist", "OutDir", true, "/home/u/out/"},
      {"entry of another section", "Regist", "DelAll", false, ""},
      {"second copy of a section ignored", "Default", "Late", false, ""},
      {"header without closing bracket", "Initial", "Filename", true, "*.txt"},
      {"entry above every section", "", "top", false, ""},
      {"empty section and entry names", "", "", true, "empty name"},
      {"missing section", "Nowhere", "DelAll", false, ""},
      {"missing entry", "Default", "Nothing", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string value = "unchanged";
    EXPECT_EQ(ProfileLookup(kSample, c.section, c.entry, &value), c.found);
    EXPECT_EQ(value, c.found ? c.value : "unchanged");
    EXPECT_EQ(ProfileLookup(kSample, c.section, c.entry, nullptr), c.found);
  }
}

TEST(ProfileLookupTest, LongValuesAreCut) {
  struct Case {
    const char* name;
    std::string stored;
    std::string read;
  };
  const std::string v259(259, 'a');
  const Case cases[] = {
      {"258 bytes", std::string(258, 'a'), std::string(258, 'a')},
      {"259 bytes", v259, v259},
      {"260 bytes", v259 + "b", v259},
      {"1000 bytes", std::string(1000, 'c'), std::string(259, 'c')},
      {"quotes do not count", "\"" + v259 + "\"", v259},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string value;
    ASSERT_TRUE(ProfileLookup("[S]\nE=" + c.stored + "\n", "S", "E", &value));
    EXPECT_EQ(value, c.read);
  }
}

TEST(ProfileIntFromValueTest, LeadingDecimalNumber) {
  struct Case {
    const char* value;
    int number;
  };
  const Case cases[] = {
      {"0", 0},
      {"12", 12},
      {"-5", -5},
      {"+7", 7},
      {"  42", 42},
      {"12abc", 12},
      {"3.9", 3},
      {"1 2", 1},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"+-1", 0},
      {"0x10", 0},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ProfileIntFromValue(c.value), c.number);
  }
}

TEST(ProfileUpdateTest, KeepsOtherLinesAndOrder) {
  struct Case {
    const char* name;
    const char* before;
    const char* section;
    const char* entry;
    const char* value;
    const char* after;
  };
  const Case cases[] = {
      {"empty file", "", "Default", "DelAll", "1", "[Default]\r\nDelAll=1\r\n"},
      {"entry replaced in place, its name kept", "; settings\n[Default]\nDelAll=0\nColumn=4\n",
       "DEFAULT", "delall", "1", "; settings\r\n[Default]\r\nDelAll=1\r\nColumn=4\r\n"},
      {"new entry at the end of its section", "[Default]\nDelAll=0\n\n[Regist]\nOutDir=\n",
       "Default", "Column", "8",
       "[Default]\r\nDelAll=0\r\nColumn=8\r\n\r\n[Regist]\r\nOutDir=\r\n"},
      {"new entry before comments that lead the next section", "[A]\nx=1\n; about B\n[B]\n", "A",
       "y", "2", "[A]\r\nx=1\r\ny=2\r\n; about B\r\n[B]\r\n"},
      {"new entry in an empty section", "[A]\n[B]\nz=0\n", "A", "y", "2",
       "[A]\r\ny=2\r\n[B]\r\nz=0\r\n"},
      {"new section at the end", "[A]\nx=1", "B", "y", "2", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      {"first duplicate section", "[A]\nx=1\n[A]\nx=2\n", "a", "x", "3",
       "[A]\r\nx=3\r\n[A]\r\nx=2\r\n"},
      {"entry of a later duplicate ignored", "[A]\n[A]\nx=2\n", "A", "x", "3",
       "[A]\r\nx=3\r\n[A]\r\nx=2\r\n"},
      {"first duplicate entry", "[A]\nx=1\nx=2\n", "A", "X", "3", "[A]\r\nx=3\r\nx=2\r\n"},
      {"lines that are no entries kept", "[A]\njunk line\n  ; note\n", "A", "x", "1",
       "[A]\r\njunk line\r\nx=1\r\n  ; note\r\n"},
      {"entries above every section untouched", "x=0\n[A]\n", "A", "x", "1",
       "x=0\r\n[A]\r\nx=1\r\n"},
      {"value cut at a line feed", "", "A", "x", "one\ntwo", "[A]\r\nx=one\r\n"},
      {"value cut at a carriage return", "", "A", "x", "one\rtwo", "[A]\r\nx=one\r\n"},
      {"names cut at a line feed", "", "A\n[B]", "x\ny", "v", "[A]\r\nx=v\r\n"},
      {"value cut at 0x1A", "[A]\nx=1\n[B]\ny=2\n", "A", "x", "one\x1atwo",
       "[A]\r\nx=one\r\n[B]\r\ny=2\r\n"},
      {"names cut at 0x1A", "", "A\x1a]", "x\x1ay", "v", "[A]\r\nx=v\r\n"},
      {"blanks at the ends kept by quoting", "", "A", "x", " .txt ", "[A]\r\nx=\" .txt \"\r\n"},
      {"quoted value kept by quoting", "", "A", "x", "'q'", "[A]\r\nx=\"'q'\"\r\n"},
      {"empty value", "[A]\nx=1\n", "A", "x", "", "[A]\r\nx=\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ProfileUpdate(c.before, c.section, c.entry, c.value), c.after);
  }
}

TEST(ProfileUpdateTest, WrittenValuesReadBack) {
  const char* const values[] = {
      "",
      "a",
      ".TXT",
      " leading",
      "trailing\t",
      " both ",
      "\"quoted\"",
      "'single'",
      "\"",
      "a=b",
      "[not a section]",
      "; not a comment",
      "/home/u/My Files/",
      "\x83\x5c\x82\xa0",
  };
  std::string text = "[S]\nother=1\n";
  for (const char* value : values) {
    SCOPED_TRACE(value);
    text = TextModeBytes(ProfileUpdate(text, "S", "E", value));
    std::string read;
    ASSERT_TRUE(ProfileLookup(text, "S", "E", &read));
    EXPECT_EQ(read, value);
    EXPECT_TRUE(ProfileLookup(text, "S", "other", &read));
    EXPECT_EQ(read, "1");
  }
}

TEST(TextModeBytesTest, DropsCrAndEndsAt1A) {
  struct Case {
    const char* name;
    std::string raw;
    std::string text;
  };
  const Case cases[] = {
      {"CR LF", "a\r\nb\r\n", "a\nb\n"},
      {"lone CR", "a\rb", "ab"},
      {"0x1A",
       "a\n\x1a"
       "b\n",
       "a\n"},
      {"nothing to change", "a\nb", "a\nb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextModeBytes(c.raw), c.text);
  }
}

}  // namespace
}  // namespace vintrel
