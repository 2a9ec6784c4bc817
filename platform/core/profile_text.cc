#include "platform/core/profile_text.h"

#include <limits.h>
#include <string.h>

#include <vector>

#include "platform/core/upper_case.h"

namespace vintrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsQuotedPair(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

// TEXT up to where a line of the file must end: its first CR or LF, or a byte 0x1A, which
// ends the whole file for a text-mode reader (every line behind it would be lost).
std::string_view CutAtLineEnd(std::string_view text) {
  size_t end = text.find_first_of("\r\n\x1a");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

struct Line {
  enum Kind { kBlank, kComment, kSection, kEntry, kOther };
  Kind kind = kBlank;
  std::string_view name;   // section or entry name
  std::string_view value;  // entry value, trimmed, quotes still on
};

Line Classify(std::string_view text) {
  Line line;
  std::string_view t = Trim(text);
  if (t.empty()) return line;
  if (t.front() == ';') {
    line.kind = Line::kComment;
  } else if (t.front() == '[') {
    line.kind = Line::kSection;
    size_t close = t.find(']');
    line.name = Trim(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
  } else if (size_t eq = t.find('='); eq != std::string_view::npos) {
    line.kind = Line::kEntry;
    line.name = Trim(t.substr(0, eq));
    line.value = Trim(t.substr(eq + 1));
  } else {
    line.kind = Line::kOther;
  }
  return line;
}

// Calls VISIT(line_text) for every line of TEXT (without its LF) until it returns false.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!visit(line)) return;
    if (lf == std::string_view::npos) return;
    text.remove_prefix(lf + 1);
  }
}

}  // namespace

std::string TextModeBytes(std::string_view raw) {
  size_t end = raw.find('\x1a');
  if (end != std::string_view::npos) raw = raw.substr(0, end);
  std::string text;
  text.reserve(raw.size());
  for (char c : raw) {
    if (c != '\r') text.push_back(c);
  }
  return text;
}

bool ProfileLookup(std::string_view text, std::string_view section, std::string_view entry,
                   std::string* value) {
  bool in_section = false;
  bool found = false;
  ForEachLine(text, [&](std::string_view raw_line) {
    Line line = Classify(raw_line);
    if (line.kind == Line::kSection) {
      if (in_section) return false;  // the first such section has ended
      in_section = EqualsIgnoreAsciiCase(line.name, section);
    } else if (in_section && line.kind == Line::kEntry && EqualsIgnoreAsciiCase(line.name, entry)) {
      std::string_view v = line.value;
      if (IsQuotedPair(v)) v = v.substr(1, v.size() - 2);
      if (v.size() > kProfileValueLimit) v = v.substr(0, kProfileValueLimit);
      if (value != nullptr) value->assign(v);
      found = true;
      return false;
    }
    return true;
  });
  return found;
}

int ProfileIntFromValue(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
    negative = value[i] == '-';
    ++i;
  }
  // Kept as a magnitude that stops growing just past the range of int.
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (value[i] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  if (negative) return static_cast<int>(-magnitude);  // -limit is INT_MIN
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::string EncodeProfileValue(std::string_view value) {
  value = CutAtLineEnd(value);
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuotedPair(value))) {
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
  }
  return std::string(value);
}

std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view entry,
                          std::string_view value) {
  section = CutAtLineEnd(section);
  entry = CutAtLineEnd(entry);
  std::vector<std::string_view> lines;
  ForEachLine(text, [&lines](std::string_view line) {
    lines.push_back(line);
    return true;
  });

  // The first matching section, its entry line and the line a new entry follows.
  const size_t kNone = static_cast<size_t>(-1);
  size_t section_line = kNone;
  size_t entry_line = kNone;
  size_t insert_after = kNone;
  std::string_view entry_name;
  for (size_t i = 0; i < lines.size(); ++i) {
    Line line = Classify(lines[i]);
    if (line.kind == Line::kSection) {
      if (section_line != kNone) break;
      if (EqualsIgnoreAsciiCase(line.name, section)) section_line = insert_after = i;
      continue;
    }
    if (section_line == kNone) continue;
    if (line.kind == Line::kEntry && EqualsIgnoreAsciiCase(line.name, entry)) {
      entry_line = i;
      entry_name = line.name;
      break;
    }
    if (line.kind != Line::kBlank && line.kind != Line::kComment) insert_after = i;
  }

  std::string encoded = EncodeProfileValue(value);
  std::string result;
  result.reserve(text.size() + lines.size() + section.size() + entry.size() + encoded.size() + 16);
  auto put_entry = [&result, &encoded](std::string_view name) {
    result += name;
    result += '=';
    result += encoded;
    result += "\r\n";
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == entry_line) {
      put_entry(entry_name);
      continue;
    }
    result += lines[i];
    result += "\r\n";
    if (i == insert_after && entry_line == kNone) put_entry(entry);
  }
  if (section_line == kNone) {
    result += '[';
    result += section;
    result += "]\r\n";
    put_entry(entry);
  }
  return result;
}

}  // namespace vintrel
