#ifndef VINTREL_SETTINGS_WORD_LIST_H_
#define VINTREL_SETTINGS_WORD_LIST_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vintrel {

class CMapStringToString;

// The exception word list file: one entry per line (a word with its trailing hyphen), bytes
// as typed, no trimming and no comments; an empty line is an empty entry. It is read and
// written in text mode (CR dropped on reading, 0x1A ends it; LF written as CR LF).

// The longest entry; a longer line is read as several entries of at most this many bytes.
inline constexpr size_t kWordListPieceSize = 254;

// Reads the list at PATH and hands each entry to ON_ENTRY, in file order. The entry is a
// piece of at most kWordListPieceSize bytes cut at its line feed (which is not part of it)
// and at a zero byte; the view is valid during the call only. A line of exactly
// kWordListPieceSize bytes is one entry, so a list read and saved again stays the same.
// Returns false, handing on nothing, when the file cannot be opened (missing, unreadable,
// not a regular file, already held open); *OPEN_ERROR then receives the errno value when
// OPEN_ERROR is not null. A read error after the opening throws FileError.
bool LoadWordList(const std::string& path,
                  const std::function<void(std::string_view entry)>& on_entry,
                  int* open_error = nullptr);

// Writes ENTRIES to PATH, each followed by a line break, in the given order (an empty
// vector gives an empty file). The new list replaces the old file as a whole: it is written
// beside it first, then renamed, so a failure never leaves half a list.
// Returns false, writing nothing, when the file cannot be written (its folder is missing or
// not writable, the file is read-only or not a regular file); *OPEN_ERROR then receives
// the errno value when OPEN_ERROR is not null. A write error after that throws FileError
// naming PATH, and the old list stays as it was.
bool SaveWordList(const std::string& path, const std::vector<std::string>& entries,
                  int* open_error = nullptr);

// Adds every entry of the list at PATH to MAP as a key with the value " " (one blank);
// entries that repeat give one key. MAP is not emptied first. Returns false, adding
// nothing, when the file cannot be opened (see LoadWordList); a read error throws
// FileError and leaves the entries read so far in MAP.
bool LoadKeepWords(const std::string& path, CMapStringToString* map, int* open_error = nullptr);

}  // namespace vintrel

#endif  // VINTREL_SETTINGS_WORD_LIST_H_
