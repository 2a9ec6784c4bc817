#ifndef VINTREL_PLATFORM_CORE_DRIVES_H_
#define VINTREL_PLATFORM_CORE_DRIVES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vintrel {

// Drives on Linux: the mount points of real file systems. A mount point is written as a
// folder path ending with '/' ("/", "/home/", "/media/usb/"), the form the current folder
// has, so that it can become the current folder as it is.

// The mount points of /proc/self/mounts (octal escapes such as \040 decoded) that hold
// real file systems, each once, "/" always first and the others in the order of the
// table. Left out: virtual file systems (proc, sysfs, cgroup, devpts, ...), everything at
// or below /proc, /sys, /dev and /run (but /run/media, where removable media go), and
// mounts of single files (the bind mounts of /etc/hosts in containers). Never fails: an unreadable
// table gives {"/"}.
std::vector<std::string> ListDrives();

// The same, from the text of a mount table; IS_FOLDER tells whether a path is a folder
// (ListDrives() asks the file system). For tests.
std::vector<std::string> DrivesFromMountTable(std::string_view table,
                                              bool (*is_folder)(const std::string& path));

// The text a drive list shows for MOUNT_POINT: "[-" + MOUNT_POINT + "-]".
std::string DriveEntryText(const std::string& mount_point);

// The mount point in a drive list text ("[-/media/usb/-]" gives "/media/usb/"); an empty
// text when ENTRY is not one.
std::string MountPointFromEntryText(std::string_view entry);

// The drive that holds FOLDER: the longest of DRIVES that is a path prefix of it (FOLDER
// is taken as ending with '/'; "/media/usb" is on "/media/usb/", "/media/usb2/" is not).
// An empty text when none is, as for a relative FOLDER.
std::string DriveOfFolder(const std::string& folder, const std::vector<std::string>& drives);

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_DRIVES_H_
