#ifndef VINTREL_APP_FOLDER_BROWSING_H_
#define VINTREL_APP_FOLDER_BROWSING_H_

#include <string>
#include <vector>

namespace vintrel {

// How the program browses folders with a drive list, a folder list and a file list: what
// the lists show and where a double-click leads. The main form and the folder chooser
// browse alike. A folder set by browsing is a path ending with '/'; folder paths keep
// their letter case. Every listing is a fresh directory search; nothing here fails: a
// folder that cannot be listed gives an empty list.

// The process's current folder ending with '/'. When it cannot be had (it was removed),
// the home folder, else the root.
std::string CurrentFolderPath();

// The folder list's entries for the listing PATTERN (a folder followed by "*.*"), in the
// order the system lists them: "[name]" for every entry whose attribute byte is exactly a
// plain folder's, "." left out, so the parent shows as "[..]". A folder with any further
// attribute (a hidden one, for instance) is not listed.
std::vector<std::string> FolderListEntries(const std::string& pattern);

// The file list's entries for PATTERN (a folder followed by a filter): the name of every
// entry whose attribute byte is not exactly a folder's, a system entry's or a hidden
// entry's, in listing order.
std::vector<std::string> FileListEntries(const std::string& pattern);

// The parent of FOLDER: "/a/b/" gives "/a/"; the root "/" and a text without '/' stay.
std::string ParentFolder(const std::string& folder);

// Where a double-click on the folder list entry ENTRY leads from FOLDER: "[..]" to the
// parent; "[name]" into FOLDER + name + '/' (the name is the whole text between the outer
// brackets, so a name holding ']' is entered as it is). FOLDER stays for any other entry
// and when the new path would be PATH_MAX bytes or longer.
std::string FolderAfterFolderEntry(const std::string& folder, const std::string& entry);

// Where a double-click on the drive MOUNT_POINT (one of DRIVES) leads from FOLDER: FOLDER
// itself when it lies on that drive (the longest of DRIVES that is a prefix of it), the
// mount point otherwise. An empty MOUNT_POINT keeps FOLDER.
std::string FolderAfterDrive(const std::string& folder, const std::string& mount_point,
                             const std::vector<std::string>& drives);

// The folder to browse for the folder text TEXT, an output folder as the user typed it: the
// folder TEXT names (with '/' added), else the folder part of TEXT up to its last '/' (the
// output folder is a plain prefix of file names), else the current folder. A relative
// TEXT is taken from the current folder; "." and ".." steps are worked out by the text
// alone. The result is an absolute path ending with '/'.
std::string FolderToBrowse(const std::string& text);

}  // namespace vintrel

#endif  // VINTREL_APP_FOLDER_BROWSING_H_
