#include "platform/core/upper_case.h"

namespace vintrel {

void CharUpper(std::string* text) {
  for (char& c : *text) c = UpperAscii(c);
}

std::string ToUpperAscii(std::string_view text) {
  std::string result(text);
  CharUpper(&result);
  return result;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

}  // namespace vintrel
