#include "platform/ui/dropped_files.h"

#include <unistd.h>

#include "platform/core/upper_case.h"

namespace vintrel::ui {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes %XX escapes into bytes; a '%' not followed by two hex digits stays as it is.
std::string PercentDecode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int high = HexValue(text[i + 1]);
      int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    bytes += text[i];
  }
  return bytes;
}

bool IsThisMachine(std::string_view host) {
  if (host.empty() || EqualsIgnoreAsciiCase(host, "localhost")) return true;
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return false;
  return EqualsIgnoreAsciiCase(host, name);
}

// The path of one file: URI of this machine; empty for anything else.
std::string LocalPath(std::string_view uri) {
  constexpr std::string_view kScheme = "file:";
  if (uri.size() < kScheme.size() || !EqualsIgnoreAsciiCase(uri.substr(0, 5), kScheme)) {
    return {};
  }
  std::string_view rest = uri.substr(kScheme.size());
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return {};
    std::string_view host = rest.substr(0, slash);
    if (!IsThisMachine(host)) return {};
    rest.remove_prefix(slash);
  }
  if (rest.empty() || rest.front() != '/') return {};
  // A query or fragment is no part of a file name.
  rest = rest.substr(0, rest.find_first_of("?#"));
  return PercentDecode(rest);
}

}  // namespace

std::vector<std::string> LocalPathsFromUriList(std::string_view uri_list) {
  std::vector<std::string> paths;
  size_t start = 0;
  while (start < uri_list.size()) {
    size_t end = uri_list.find('\n', start);
    if (end == std::string_view::npos) end = uri_list.size();
    std::string_view line = uri_list.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;
    std::string path = LocalPath(line);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace vintrel::ui
