#include "platform/core/drives.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vintrel {
namespace {

using Drives = std::vector<std::string>;

// Everything is a folder except the files that containers bind-mount.
bool FakeIsFolder(const std::string& path) { return path.find("/etc/") != 0 || path == "/etc/"; }

TEST(DrivesFromMountTableTest, RealFileSystemsOnly) {
  struct Case {
    const char* name;
    const char* table;
    Drives drives;
  };
  const Case cases[] = {
      {"empty table", "", {"/"}},
      {"root first though listed later",
       "/dev/sdb1 /home ext4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n",
       {"/", "/home/"}},
      {"virtual file systems left out",
       "overlay / overlay rw 0 0\nproc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\n"
       "tmpfs /dev tmpfs rw 0 0\ndevpts /dev/pts devpts rw 0 0\n"
       "cgroup /sys/fs/cgroup cgroup2 rw 0 0\nmqueue /dev/mqueue mqueue rw 0 0\n"
       "tmpfs /tmp tmpfs rw 0 0\nsystemd-1 /mnt/auto autofs rw 0 0\n",
       {"/", "/tmp/"}},
      {"system places left out",
       "tmpfs /run tmpfs rw 0 0\ntmpfs /run/user/1000 tmpfs rw 0 0\n"
       "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
       "/dev/sdc1 /run/media/u/STICK vfat rw 0 0\ntmpfs /dev/shm tmpfs rw 0 0\n"
       "/dev/sdd1 /media/u/disk ext4 rw 0 0\n",
       {"/", "/run/media/u/STICK/", "/media/u/disk/"}},
      {"octal escapes decoded",
       "/dev/sdc1 /media/u/My\\040Disk vfat rw 0 0\n/dev/sdc2 /mnt/a\\134b ext4 rw 0 0\n",
       {"/", "/media/u/My Disk/", "/mnt/a\\b/"}},
      {"a backslash that is no escape stays",
       "/dev/x /mnt/a\\9z ext4 rw 0 0\n",
       {"/", "/mnt/a\\9z/"}},
      {"mounted twice, listed once",
       "/dev/sdb1 /data ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n",
       {"/", "/data/"}},
      {"file mounts left out",
       "/dev/sda1 /etc/hosts ext4 rw 0 0\n/dev/sda1 /etc/resolv.conf ext4 rw 0 0\n"
       "/dev/sda1 /work ext4 rw 0 0\n",
       {"/", "/work/"}},
      {"broken lines skipped", "junk\n\n  \n/dev/sda1\nnone relative ext4 rw 0 0\n", {"/"}},
      {"no final line feed", "/dev/sdb1 /srv xfs rw 0 0", {"/", "/srv/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DrivesFromMountTable(c.table, FakeIsFolder), c.drives);
  }
}

TEST(DrivesTest, ThisSystemsDrives) {
  Drives drives = ListDrives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "/");
  for (const std::string& drive : drives) {
    SCOPED_TRACE(drive);
    EXPECT_EQ(drive.front(), '/');
    EXPECT_EQ(drive.back(), '/');
    EXPECT_NE(drive.rfind("/proc", 0), 0u);
    EXPECT_NE(drive.rfind("/sys/", 0), 0u);
    struct stat st;
    EXPECT_EQ(stat(drive.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(std::count(drives.begin(), drives.end(), drive), 1);
  }
}

TEST(DrivesTest, EntryTexts) {
  struct Case {
    const char* entry;
    const char* mount_point;  // "" when ENTRY is not a drive entry
  };
  const Case cases[] = {
      {"[-/-]", "/"}, {"[-/media/usb/-]", "/media/usb/"},
      {"[-c-]", "c"}, {"[/home/]", ""},
      {"[--]", ""},   {"-/-", ""},
      {"", ""},       {"[..]", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(MountPointFromEntryText(c.entry), c.mount_point);
    if (c.mount_point[0] != '\0') {
      EXPECT_EQ(DriveEntryText(c.mount_point), c.entry);
    }
  }
}

TEST(DrivesTest, DriveOfFolder) {
  const Drives drives = {"/", "/home/", "/media/usb/", "/media/usb/inner/"};
  struct Case {
    const char* folder;
    const char* drive;
  };
  const Case cases[] = {
      {"/", "/"},
      {"/etc/", "/"},
      {"/home/", "/home/"},
      {"/home", "/home/"},
      {"/home/u/docs/", "/home/"},
      {"/homework/", "/"},
      {"/media/usb/x/", "/media/usb/"},
      {"/media/usb2/", "/"},
      {"/media/usb/inner/deep/", "/media/usb/inner/"},
      {"relative/", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(DriveOfFolder(c.folder, drives), c.drive);
  }
}

}  // namespace
}  // namespace vintrel
