#ifndef VINTREL_PLATFORM_CORE_DIR_LIST_H_
#define VINTREL_PLATFORM_CORE_DIR_LIST_H_

#include <string>
#include <string_view>
#include <vector>

namespace vintrel {

// DOS attribute bits as a listing reports them. Callers compare whole bytes: an entry is
// passed over when its byte is exactly kAttrHidden, kAttrSystem or kAttrFolder.
enum : unsigned char {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrFolder = 16,
  kAttrArchive = 32,
};

struct DirEntry {
  std::string name;          // the entry's own name, no folder
  unsigned char attributes;  // see AttributesOf()
};

// True when NAME matches the DOS wildcard PATTERN. ASCII letters compare without regard to
// case; every other byte compares exactly. '*' matches any run of bytes, except that a '*'
// right before a '.' does not run past the last dot of NAME; '?' matches one byte, or none
// at a dot or at the end of NAME; a '.' matches a dot, or nothing at the end of NAME. So
// "*.*" matches every name, "*." the names without a dot, "REPORT.*" the name "report"
// too, and "*.txt" does not match "a.txt.bak".
bool MatchesDosPattern(std::string_view pattern, std::string_view name);

// True when TEXT holds '*' or '?'.
bool HasWildcards(std::string_view text);

// The attribute byte of the entry NAME of FOLDER (a path ending with '/' or empty for the
// current folder):
//  - "." and ".." and every other folder: kAttrFolder (16);
//  - a name starting with a dot (other than "." and ".."): kAttrHidden (2), whatever it is;
//  - a FIFO, socket or device: kAttrSystem (4);
//  - a regular file: kAttrArchive (32), plus kAttrReadOnly (1) when the user may not write
//    it or it has no write permission bit at all.
// Symbolic links are followed; a dangling link counts as a regular file (32). Returns 0
// when the entry does not exist.
unsigned char AttributesOf(const std::string& folder, const std::string& name);

// Lists the entries that PATTERN matches, in the order the system returns them. PATTERN is
// a folder part (up to and including its last '/', relative to the current folder when it
// does not start with '/') and a name part matched by MatchesDosPattern(). A pattern
// whose name part is empty, or that names an existing folder and has no wildcards, lists
// every entry of that folder. "." and ".." are listed as folders, except that the root
// folder has no "..". Returns an empty list when the folder cannot be read or the pattern
// is too long for a path; never throws anything but std::bad_alloc.
std::vector<DirEntry> ListDirectory(const std::string& pattern);

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_DIR_LIST_H_
