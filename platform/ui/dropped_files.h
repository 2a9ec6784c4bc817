#ifndef VINTREL_PLATFORM_UI_DROPPED_FILES_H_
#define VINTREL_PLATFORM_UI_DROPPED_FILES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vintrel::ui {

// The local paths named by a text/uri-list (RFC 2483: one URI per line, CR LF or LF, lines
// starting with # are comments). Only file: URIs of this machine count (no host,
// "localhost" or this machine's name); their percent escapes are decoded to the exact bytes of the
// path, without any length limit. Other URIs are left out.
std::vector<std::string> LocalPathsFromUriList(std::string_view uri_list);

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DROPPED_FILES_H_
