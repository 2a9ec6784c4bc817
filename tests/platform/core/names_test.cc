#include <gtest/gtest.h>

#include <string>

#include "platform/core/string_map.h"
#include "platform/core/upper_case.h"

namespace vintrel {
namespace {

TEST(UpperCaseTest, OnlyAsciiLettersChange) {
  struct Case {
    const char* name;
    std::string text;
    std::string upper;
  };
  const Case cases[] = {
      {"letters", "readme.txt", "README.TXT"},
      {"already upper", "ABC", "ABC"},
      {"neighbours of the letters", "`az{@AZ[", "`AZ{@AZ["},
      {"digits and signs", "a-1_b.2~", "A-1_B.2~"},
      {"UTF-8 untouched", "caf\xc3\xa9.txt", "CAF\xc3\xa9.TXT"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToUpperAscii(c.text), c.upper);
    std::string in_place = c.text;
    CharUpper(&in_place);
    EXPECT_EQ(in_place, c.upper);
    EXPECT_TRUE(EqualsIgnoreAsciiCase(c.text, c.upper));
  }
}

TEST(UpperCaseTest, EqualsIgnoreAsciiCase) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  const Case cases[] = {
      {"Default", "DEFAULT", true},
      {"OutDir", "Outdir", true},
      {"abc", "abd", false},
      {"abc", "abcd", false},
      {"", "", true},
      {"\xc3\xa9", "\xc3\x89", false},
      {"[", "{", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(EqualsIgnoreAsciiCase(c.a, c.b), c.equal);
  }
}

TEST(StringMapTest, ExactCaseSensitiveKeys) {
  using std::string_literals::operator""s;
  CMapStringToString map(10);
  EXPECT_TRUE(map.IsEmpty());
  map.SetAt("socio-", " ");
  map.SetAt("Socio-", "x");
  map.SetAt("", "empty");
  map.SetAt("a\0b"s, "nul");
  map.SetAt("socio-", "again");
  EXPECT_EQ(map.GetCount(), 4u);

  struct Case {
    std::string key;
    bool found;
    const char* value;
  };
  const Case cases[] = {
      {"socio-", true, "again"}, {"Socio-", true, "x"}, {"SOCIO-", false, ""},
      {"socio", false, ""},      {"", true, "empty"},   {"a\0b"s, true, "nul"},
      {"a", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    std::string value = "unchanged";
    EXPECT_EQ(map.Lookup(c.key, &value), c.found);
    EXPECT_EQ(value, c.found ? c.value : "unchanged");
    EXPECT_EQ(map.Lookup(c.key, nullptr), c.found);
    EXPECT_EQ(map.Contains(c.key), c.found);
  }
  EXPECT_TRUE(map.RemoveKey("Socio-"));
  EXPECT_FALSE(map.RemoveKey("Socio-"));
  EXPECT_FALSE(map.Contains("Socio-"));
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_FALSE(map.Contains("socio-"));
}

// Keys of every length and first byte are found, and only they: long keys, high bytes,
// keys that share a length or a first byte with the one looked up.
TEST(StringMapTest, KeysOfAnyLengthAndFirstByte) {
  const std::string keys[] = {std::string(63, 'x'),
                              std::string(100, 'x'),
                              "\xff-",
                              "\x80"
                              "ab-",
                              "z",
                              "non-"};
  CMapStringToString map;
  for (const std::string& key : keys) map.SetAt(key, " ");
  struct Case {
    std::string key;
    bool found;
  };
  const Case cases[] = {
      {std::string(63, 'x'), true},
      {std::string(100, 'x'), true},
      {std::string(64, 'x'), false},
      {std::string(99, 'x'), false},
      {std::string(62, 'x'), false},
      {"\xff-", true},
      {"\xfe-", false},
      {"\x80"
       "ab-",
       true},
      {"\x80"
       "ac-",
       false},
      {"z", true},
      {"y", false},
      {"non-", true},
      {"nun-", false},
      {"zon-", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(map.Contains(c.key), c.found);
    EXPECT_EQ(map.Lookup(c.key, nullptr), c.found);
  }
  // Emptied and filled anew, the map knows only its new keys.
  map.RemoveAll();
  map.SetAt("anti-", " ");
  EXPECT_FALSE(map.Contains("non-"));
  EXPECT_FALSE(map.Contains("z"));
  EXPECT_TRUE(map.Contains("anti-"));
  EXPECT_TRUE(map.RemoveKey("anti-"));
  EXPECT_FALSE(map.Contains("anti-"));
}

}  // namespace
}  // namespace vintrel
