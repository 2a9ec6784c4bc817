#ifndef VINTREL_PLATFORM_CORE_PROFILE_H_
#define VINTREL_PLATFORM_CORE_PROFILE_H_

#include <string>
#include <string_view>

namespace vintrel {

// The program's settings in a profile (INI) file; the format and the reading rules are
// those of profile_text.h. Nothing is cached: every read reads the file afresh, so a value
// written by anyone takes effect at the next read. The file need not exist; a missing or
// unreadable file reads as empty.
//
// Section and entry names match without regard to ASCII case. Each write rewrites the whole
// file atomically: a temporary file beside it is written, synced and renamed over it, so a
// crash never leaves half a file and a failed write leaves the old file untouched. The file
// keeps its permissions; a new file gets 0666 less the umask, and a missing folder is
// created (mode 0700). A profile that is a symbolic link is written through to its target.
//
// A profile can also live in memory (InMemory()), where the same rules read and edit a
// string instead of a file.
class Profile {
 public:
  explicit Profile(std::string path);

  // A profile over *BYTES, the raw bytes of a profile file, owned by the caller, who keeps
  // them alive as long as the profile: every read reads them as a file of those bytes
  // would be read, and every write replaces them as the file would be replaced (it never
  // fails). No file is touched.
  static Profile InMemory(std::string* bytes);

  // The path given to the constructor; empty for a profile in memory.
  const std::string& path() const { return path_; }

  // The integer ENTRY of SECTION holds (see ProfileIntFromValue); DEFAULT_VALUE when the
  // entry is missing or its value is empty.
  int GetProfileInt(std::string_view section, std::string_view entry, int default_value) const;

  // The value of ENTRY of SECTION, at most 259 bytes; DEFAULT_VALUE when the entry is
  // missing. An entry with an empty value reads as an empty text.
  std::string GetProfileString(std::string_view section, std::string_view entry,
                               std::string_view default_value) const;

  // Stores VALUE as signed decimal text. False when the file could not be written.
  bool WriteProfileInt(std::string_view section, std::string_view entry, int value);

  // Stores VALUE; the section and the entry are made when missing. A value (and a section
  // or entry name) is cut at its first CR or LF, which a profile line cannot hold, or 0x1A,
  // which would end the file for every later read; blanks at its ends and enclosing
  // quotes are kept by quoting it. False when the file could not be written.
  bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

 private:
  std::string Text() const;  // the text as a text-mode read sees it

  std::string path_;
  std::string* bytes_ = nullptr;  // not null for a profile in memory
};

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_PROFILE_H_
