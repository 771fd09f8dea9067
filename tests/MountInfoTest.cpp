#include "platform/MountInfo.h"

#include <gtest/gtest.h>

namespace zevro {
namespace {

TEST(MountInfoTest, EscapesInPathsAreDecoded) {
  struct Row {
    const char* raw;
    const char* decoded;
  } rows[] = {
      {"/media/kaori/MY\\040DISK", "/media/kaori/MY DISK"},
      {"/mnt/tab\\011and\\012line", "/mnt/tab\tand\nline"},
      {"/mnt/back\\134slash", "/mnt/back\\slash"},
      {"/mnt/not\\04", "/mnt/not\\04"},               // too short for an escape
      {"/mnt/not\\089", "/mnt/not\\089"},             // 8 and 9 are no octal digits
      {"/mnt/\\346\\227\\245", "/mnt/\xE6\x97\xA5"},  // UTF-8 bytes of a Japanese name
      {"trailing\\", "trailing\\"},
  };
  for (const Row& row : rows) EXPECT_EQ(decodeMountEscapes(row.raw), row.decoded) << row.raw;
}

TEST(MountInfoTest, FieldsAroundTheOptionalFieldsAreRead) {
  const std::string text =
      "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
      "36 26 8:17 / /media/kaori/MY\\040DISK rw,nosuid shared:1 master:2 - vfat /dev/sdb1 rw,uid=1000\n"
      "40 26 8:2 /srv/x /mnt/bound rw - ext4 /dev/sda2 rw\n"
      "41 26 0:45 / /mnt/share rw - nfs4 nas:/share rw\n"
      "42 26 0:46 / /mnt/nosource rw - tmpfs\n"
      "garbage line\n"
      "43 26 8:3 / /mnt/no-dash rw ext4 /dev/sda3 rw\n"
      "\n";
  const std::vector<MountEntry> mounts = parseMountInfo(text);
  struct Row {
    int id, parent;
    unsigned major, minor;
    const char* root;
    const char* mountPoint;
    const char* fsType;
    const char* source;
  } rows[] = {
      {26, 1, 254, 0, "/", "/", "ext4", "/dev/vda"},
      {36, 26, 8, 17, "/", "/media/kaori/MY DISK", "vfat", "/dev/sdb1"},
      {40, 26, 8, 2, "/srv/x", "/mnt/bound", "ext4", "/dev/sda2"},
      {41, 26, 0, 45, "/", "/mnt/share", "nfs4", "nas:/share"},
      {42, 26, 0, 46, "/", "/mnt/nosource", "tmpfs", ""},
  };
  ASSERT_EQ(mounts.size(), std::size(rows));
  for (std::size_t i = 0; i < mounts.size(); ++i) {
    SCOPED_TRACE(rows[i].mountPoint);
    EXPECT_EQ(mounts[i].id, rows[i].id);
    EXPECT_EQ(mounts[i].parent, rows[i].parent);
    EXPECT_EQ(mounts[i].major, rows[i].major);
    EXPECT_EQ(mounts[i].minor, rows[i].minor);
    EXPECT_EQ(mounts[i].root, rows[i].root);
    EXPECT_EQ(mounts[i].mountPoint, rows[i].mountPoint);
    EXPECT_EQ(mounts[i].fsType, rows[i].fsType);
    EXPECT_EQ(mounts[i].source, rows[i].source);
  }
}

}  // namespace
}  // namespace zevro
