#ifndef VINTREL_PLATFORM_CORE_PROFILE_TEXT_H_
#define VINTREL_PLATFORM_CORE_PROFILE_TEXT_H_

#include <stddef.h>

#include <string>
#include <string_view>

namespace vintrel {

// The text of a profile (INI) file and the rules that read and edit it. These are pure
// functions of bytes; Profile (profile.h) adds the file around them.
//
// Lines end with LF. Blanks are space, tab, vertical tab, form feed and CR. On each line:
//  - a line that is empty or all blanks is a blank line;
//  - a line whose first non-blank byte is ';' is a comment;
//  - a line whose first non-blank byte is '[' is a section header: the section name is the
//    text up to the first ']' (or the end of the line), blanks around it trimmed;
//  - any other line holding '=' is an entry: the name is the text before the first '=',
//    the value the text after it, each with blanks around it trimmed; a value enclosed
//    in a matching pair of '"' or '\'' loses the pair;
//  - any other line is no entry and is kept as it is.
// Names match without regard to the case of ASCII letters. Where a section or an entry
// appears twice, the first one counts. Entries above the first section belong to none.

// The most bytes a value read from a profile has; a longer value is cut.
inline constexpr size_t kProfileValueLimit = 259;

// Turns raw file bytes into text as a text-mode read sees it: every CR byte dropped, the
// text ended at the first byte 0x1A.
std::string TextModeBytes(std::string_view raw);

// Looks up ENTRY in SECTION of TEXT. When found, returns true and stores the value
// (quotes removed, cut at kProfileValueLimit bytes) in *VALUE unless VALUE is null.
bool ProfileLookup(std::string_view text, std::string_view section, std::string_view entry,
                   std::string* value);

// The integer a value text holds: blanks skipped, then an optional '+' or '-' and the
// decimal digits that follow; whatever comes after them is ignored. No digits gives 0. A
// number beyond the range of int is clamped to INT_MIN or INT_MAX.
int ProfileIntFromValue(std::string_view value);

// The value text of an entry line that reads back as VALUE: VALUE cut at its first CR, LF
// or 0x1A (the byte that ends a text-mode read), and put in double quotes when it has blanks at
// either end or is itself enclosed in a matching pair of quotes (which a read would otherwise
// strip).
std::string EncodeProfileValue(std::string_view value);

// Returns TEXT with ENTRY of SECTION set to VALUE, every line ending in CR LF and every
// other line kept as it is. An existing entry (the first one of the first such section) is
// rewritten in place under the name it has; a new entry goes after the last line of its
// section that is neither blank nor a comment; a new section goes at the end of the text.
// VALUE is written through EncodeProfileValue(); SECTION and ENTRY are cut at a CR, LF or
// 0x1A as well.
std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view entry,
                          std::string_view value);

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_PROFILE_TEXT_H_
