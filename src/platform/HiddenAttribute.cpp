#include "platform/HiddenAttribute.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/LinuxFileSystem.h"

namespace zevro {

namespace {

class OpenFile {
public:
  explicit OpenFile(const NativePath& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

private:
  int fd_;
};

}  // namespace

IoError setHiddenAttribute(const NativePath& path) {
  OpenFile file(path);
  if (file.fd() < 0) return LinuxFileSystem::errorOf(errno);
  struct statfs info {};
  if (::fstatfs(file.fd(), &info) != 0) return LinuxFileSystem::errorOf(errno);
  if (info.f_type != MSDOS_SUPER_MAGIC) return {};
  std::uint32_t attributes = 0;
  if (::ioctl(file.fd(), FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0) return LinuxFileSystem::errorOf(errno);
  attributes |= ATTR_HIDDEN;
  if (::ioctl(file.fd(), FAT_IOCTL_SET_ATTRIBUTES, &attributes) != 0) return LinuxFileSystem::errorOf(errno);
  return {};
}

}  // namespace zevro
