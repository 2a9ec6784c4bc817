#include "platform/core/drives.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

namespace vintrel {

namespace {

// File systems that hold no user files.
constexpr std::string_view kVirtualTypes[] = {
    "autofs",     "binfmt_misc", "bpf",       "cgroup",   "cgroup2", "configfs",
    "debugfs",    "devpts",      "devtmpfs",  "efivarfs", "fusectl", "fuse.portal",
    "hugetlbfs",  "mqueue",      "nsfs",      "proc",     "pstore",  "ramfs",
    "rpc_pipefs", "securityfs",  "selinuxfs", "sysfs",    "tracefs",
};

bool IsVirtualType(std::string_view type) {
  return std::find(std::begin(kVirtualTypes), std::end(kVirtualTypes), type) !=
         std::end(kVirtualTypes);
}

// True when PATH is FOLDER or lies below it ("/proc" covers "/proc/" and "/proc/x/").
bool IsAtOrBelow(std::string_view path, std::string_view folder) {
  return path.substr(0, folder.size()) == folder &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

// The system's own places: /proc, /sys, /dev and /run, apart from the removable media that
// are mounted below /run/media.
bool IsSystemPlace(std::string_view mount_point) {
  for (std::string_view system_folder : {"/proc", "/sys", "/dev"}) {
    if (IsAtOrBelow(mount_point, system_folder)) return true;
  }
  return IsAtOrBelow(mount_point, "/run") && !IsAtOrBelow(mount_point, "/run/media");
}

// Decodes the octal escapes (\040 for a blank, \011, \012, \134) of a mount table field.
std::string Unescape(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      std::string_view digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        text.push_back(static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                         (digits[2] - '0')));
        i += 3;
        continue;
      }
    }
    text.push_back(field[i]);
  }
  return text;
}

bool IsFolderOnDisk(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<std::string> DrivesFromMountTable(std::string_view table,
                                              bool (*is_folder)(const std::string& path)) {
  std::vector<std::string> drives{"/"};
  while (!table.empty()) {
    size_t lf = table.find('\n');
    std::string_view line = table.substr(0, lf);
    table.remove_prefix(lf == std::string_view::npos ? table.size() : lf + 1);

    // device mount-point type options dump pass
    std::string_view fields[3];
    size_t count = 0;
    while (count < 3) {
      size_t start = line.find_first_not_of(" \t");
      if (start == std::string_view::npos) break;
      line.remove_prefix(start);
      size_t end = line.find_first_of(" \t");
      fields[count++] = line.substr(0, end);
      line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    }
    if (count < 3) continue;
    std::string mount_point = Unescape(fields[1]);
    std::string_view type = fields[2];
    if (mount_point.empty() || mount_point[0] != '/') continue;
    if (IsVirtualType(type) || IsSystemPlace(mount_point)) continue;
    if (mount_point.back() != '/') mount_point += '/';
    if (std::find(drives.begin(), drives.end(), mount_point) != drives.end()) continue;
    if (!is_folder(mount_point)) continue;
    drives.push_back(std::move(mount_point));
  }
  return drives;
}

std::vector<std::string> ListDrives() {
  std::string table;
  int fd = open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    char chunk[8192];
    ssize_t got;
    while ((got = read(fd, chunk, sizeof chunk)) > 0) table.append(chunk, static_cast<size_t>(got));
    close(fd);
  }
  return DrivesFromMountTable(table, IsFolderOnDisk);
}

std::string DriveEntryText(const std::string& mount_point) { return "[-" + mount_point + "-]"; }

std::string MountPointFromEntryText(std::string_view entry) {
  if (entry.size() < 5 || entry.substr(0, 2) != "[-" || entry.substr(entry.size() - 2) != "-]") {
    return std::string();
  }
  return std::string(entry.substr(2, entry.size() - 4));
}

std::string DriveOfFolder(const std::string& folder, const std::vector<std::string>& drives) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  std::string best;
  for (const std::string& drive : drives) {
    if (drive.size() > best.size() && path.compare(0, drive.size(), drive) == 0) best = drive;
  }
  return best;
}

}  // namespace vintrel
