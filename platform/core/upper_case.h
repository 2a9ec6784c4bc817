#ifndef VINTREL_PLATFORM_CORE_UPPER_CASE_H_
#define VINTREL_PLATFORM_CORE_UPPER_CASE_H_

#include <string>
#include <string_view>

namespace vintrel {

// Letter case of names. Only the ASCII letters a-z and A-Z are touched; every other byte,
// the bytes of multibyte characters (all >= 0x80) included, stays as it is.

// Upper-cases TEXT in place.
void CharUpper(std::string* text);

// Returns TEXT upper-cased.
std::string ToUpperAscii(std::string_view text);

// True when A and B are equal apart from the case of ASCII letters.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// The ASCII upper-case of one byte.
inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_UPPER_CASE_H_
