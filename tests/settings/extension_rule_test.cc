#include "settings/extension_rule.h"

#include <string_view>

#include "gtest/gtest.h"

namespace vintrel {
namespace {

struct ExtensionCase {
  const char* name;
  std::string_view ext;
  bool refused;
};

const ExtensionCase kExtensionCases[] = {
    {"lower case", "html", true},
    {"upper case", "HTML", true},
    {"mixed case", "hTmL", true},
    {"with a leading dot", ".html", false},
    {"with a dot in upper case", ".HTML", false},
    {"three letters", "htm", false},
    {"trailing blank", "html ", false},
    {"leading blank", " html", false},
    {"longer word", "htmlx", false},
    {"empty", "", false},
    {"default extension", ".txt", false},
    // Only ASCII letters fold: 0xC8 is not 'H' in any case.
    {"high byte in place of a letter", "\xC8tml", false},
    {"embedded NUL", std::string_view("html\0", 5), false},
};

TEST(ExtensionRuleTest, RefusesHtmlTakenWhole) {
  for (const ExtensionCase& c : kExtensionCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsRefusedExtension(c.ext), c.refused);
  }
}

}  // namespace
}  // namespace vintrel
