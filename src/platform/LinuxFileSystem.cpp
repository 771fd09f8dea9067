#include "platform/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

namespace zevro {

namespace {

constexpr std::size_t CopyBlock = 64 * 1024;
// Long names are cut in the temporary name so that it stays within NAME_MAX.
constexpr std::size_t TempNameKeep = 200;

// Nanoseconds since 1970 reach from 1677 to 2262; a medium may carry times
// outside that range (FAT and NTFS allow 1601 or 2107 and beyond), which are
// clamped to the nearest time that can be held rather than wrapping round.
FileTime timeOf(const struct timespec& t) {
  constexpr FileTime limit = std::numeric_limits<FileTime>::max() / 1000000000 - 1;
  if (t.tv_sec > limit) return std::numeric_limits<FileTime>::max();
  if (t.tv_sec < -limit) return std::numeric_limits<FileTime>::min();
  return static_cast<FileTime>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct timespec timespecOf(FileTime time) {
  FileTime seconds = time / 1000000000;
  FileTime nanos = time % 1000000000;
  if (nanos < 0) {  // before 1970: the nanoseconds of a timespec are never negative
    nanos += 1000000000;
    seconds -= 1;
  }
  struct timespec t {};
  t.tv_sec = static_cast<time_t>(seconds);
  t.tv_nsec = static_cast<long>(nanos);
  return t;
}

DirEntry entryOf(std::string name, const struct stat& st) {
  DirEntry e;
  e.name = std::move(name);
  if (S_ISDIR(st.st_mode))
    e.type = DirEntry::Type::Folder;
  else if (S_ISLNK(st.st_mode))
    e.type = DirEntry::Type::Link;
  else if (S_ISREG(st.st_mode))
    e.type = DirEntry::Type::File;
  else
    e.type = DirEntry::Type::Other;
  e.size = e.type == DirEntry::Type::Folder ? 0 : static_cast<std::uint64_t>(st.st_size);
  e.modified = timeOf(st.st_mtim);
  e.readOnly = (st.st_mode & S_IWUSR) == 0;
  return e;
}

// An entry whose look failed: its type as far as the listing tells it (a
// file when it does not), no size, no date.
DirEntry unlookedEntry(std::string name, unsigned char type, int code) {
  DirEntry e;
  e.name = std::move(name);
  switch (type) {
    case DT_DIR: e.type = DirEntry::Type::Folder; break;
    case DT_LNK: e.type = DirEntry::Type::Link; break;
    case DT_REG:
    case DT_UNKNOWN: e.type = DirEntry::Type::File; break;
    default: e.type = DirEntry::Type::Other; break;
  }
  e.statError = code;
  return e;
}

bool asciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

NativePath folderOf(const NativePath& path) {
  NativePath parent = path.parent_path();
  return parent.empty() ? NativePath(".") : parent;
}

NativePath withoutTrailingSlash(const NativePath& path) {
  std::string s = path.native();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return NativePath(s);
}

void closeQuietly(int fd) {
  if (fd >= 0) ::close(fd);
}

// Flushes the folder entry of a rename; a failure here does not undo the
// rename, so it is not reported.
void syncFolder(const NativePath& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string randomSuffix() {
  static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(alphabet) - 2);
  std::string s;
  for (int i = 0; i < 6; ++i) s += alphabet[pick(device)];
  return s;
}

// A new temporary file beside target, like ".LIST.CCT.zevro-tmp-k3J9xQ",
// created exclusively with the usual permissions (0666 less the umask).
struct TempFile {
  int fd = -1;
  NativePath path;
};

int openTemp(const NativePath& target, TempFile& temp) {
  std::string name = target.filename().native().substr(0, TempNameKeep);
  for (int attempt = 0; attempt < 100; ++attempt) {
    NativePath candidate = folderOf(target) / ("." + name + ".zevro-tmp-" + randomSuffix());
    int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temp = {fd, candidate};
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int writeAll(const LinuxFileSystem::Writer& writer, int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = writer ? writer(fd, data, size) : ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// What the new file takes over from its source or from the file it replaces.
struct Finish {
  std::optional<mode_t> mode;
  std::optional<struct timespec> modified;
  std::optional<struct timespec> accessed;
};

// Fills a temporary file beside target, flushes it and renames it over
// target. On any failure the temporary file is removed and target untouched.
IoError replaceAtomically(const NativePath& target, const std::function<int(int fd)>& fill, const Finish& finish) {
  TempFile temp;
  if (int code = openTemp(target, temp)) return LinuxFileSystem::errorOf(code);
  int code = fill(temp.fd);
  if (!code && finish.mode && ::fchmod(temp.fd, *finish.mode) != 0) code = errno;
  if (!code && finish.modified) {
    struct timespec times[2];
    times[0] = finish.accessed ? *finish.accessed : timespecOf(0);
    if (!finish.accessed) times[0].tv_nsec = UTIME_OMIT;
    times[1] = *finish.modified;
    if (::futimens(temp.fd, times) != 0) code = errno;
  }
  if (!code && ::fsync(temp.fd) != 0) code = errno;
  if (::close(temp.fd) != 0 && !code) code = errno;
  if (!code && ::rename(temp.path.c_str(), target.c_str()) != 0) code = errno;
  if (code) {
    ::unlink(temp.path.c_str());
    return LinuxFileSystem::errorOf(code);
  }
  syncFolder(folderOf(target));
  return {};
}

// Reads to the end; a file that grows past maxSize while it is read is
// refused like one that was too large from the start.
int readAll(int fd, std::string& bytes, std::uint64_t maxSize) {
  char buffer[CopyBlock];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return 0;
    if (bytes.size() + static_cast<std::uint64_t>(n) > maxSize) return EFBIG;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

// Removes what a folder (open as fd, on device dev) holds, never following a
// link and never entering another file system.
int removeContents(int fd, dev_t dev) {
  int listFd = ::dup(fd);
  if (listFd < 0) return errno;
  DIR* dir = ::fdopendir(listFd);
  if (!dir) {
    int code = errno;
    ::close(listFd);
    return code;
  }
  ::rewinddir(dir);
  std::vector<std::string> names;
  errno = 0;
  while (struct dirent* d = ::readdir(dir)) {
    std::string_view name = d->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  int readError = errno;
  ::closedir(dir);
  if (readError) return readError;

  for (const std::string& name : names) {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;
      return errno;
    }
    if (!S_ISDIR(st.st_mode)) {
      if (::unlinkat(fd, name.c_str(), 0) != 0 && errno != ENOENT) return errno;
      continue;
    }
    if (st.st_dev != dev) return EXDEV;
    int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (child < 0) return errno;
    int code = removeContents(child, dev);
    ::close(child);
    if (code) return code;
    if (::unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0) return errno;
  }
  return 0;
}

}  // namespace

LinuxFileSystem::LinuxFileSystem(Writer writer, NativePath home, EntryStat entryStat)
    : writer_(std::move(writer)), home_(std::move(home)), entryStat_(std::move(entryStat)) {}

IoError LinuxFileSystem::errorOf(int code) {
  if (code == 0) return {};
  return {code, std::generic_category().message(code)};
}

void sortByName(std::vector<DirEntry>& entries) {
  const auto byName = [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; };
  if (std::is_sorted(entries.begin(), entries.end(), byName)) return;
  // The names are sorted with their places rather than the entries
  // themselves, whose every swap moves a string: a folder's names are
  // unique, so the order is the same.
  std::vector<std::pair<std::string_view, std::uint32_t>> names;
  names.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) names.emplace_back(entries[i].name, static_cast<std::uint32_t>(i));
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (const auto& name : names) sorted.push_back(std::move(entries[name.second]));
  entries = std::move(sorted);
}

std::vector<DirEntry> LinuxFileSystem::list(const NativePath& folder, IoError* error) {
  std::vector<DirEntry> entries = listUnsorted(folder, error);
  sortByName(entries);
  return entries;
}

std::vector<DirEntry> LinuxFileSystem::listUnsorted(const NativePath& folder, IoError* error) {
  std::vector<DirEntry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    if (error) *error = errorOf(errno);
    return entries;
  }
  const int fd = ::dirfd(dir);
  const auto look = [&](const char* name, struct stat* st, int flags) {
    if (entryStat_) return entryStat_(fd, name, st, flags);
    return ::fstatat(fd, name, st, flags);
  };
  // The listing's own error (readdir) is kept apart from the looks at single
  // entries: one entry that cannot be looked at must not throw away the
  // whole folder.
  int readError = 0;
  for (;;) {
    errno = 0;
    struct dirent* d = ::readdir(dir);
    if (!d) {
      readError = errno;
      break;
    }
    std::string_view name = d->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (look(d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      const int code = errno;
      if (code == ENOENT) continue;  // gone meanwhile
      entries.push_back(unlookedEntry(std::string(name), d->d_type, code));
      continue;
    }
    DirEntry e = entryOf(std::string(name), st);
    struct stat target {};
    if (e.type == DirEntry::Type::Link && look(d->d_name, &target, 0) == 0) e.linkToFolder = S_ISDIR(target.st_mode);
    entries.push_back(std::move(e));
  }
  ::closedir(dir);
  if (error) *error = errorOf(readError);
  return entries;
}

std::optional<DirEntry> LinuxFileSystem::stat(const NativePath& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
  DirEntry e = entryOf(path.filename().native(), st);
  struct stat target {};
  if (e.type == DirEntry::Type::Link && ::stat(path.c_str(), &target) == 0) e.linkToFolder = S_ISDIR(target.st_mode);
  return e;
}

std::optional<std::string> LinuxFileSystem::resolveName(const NativePath& folder, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  struct stat st {};
  if (::lstat((folder / std::string(name)).c_str(), &st) == 0) return std::string(name);
  for (const DirEntry& e : list(folder))
    if (asciiEqualNoCase(e.name, name)) return e.name;
  return std::nullopt;
}

namespace {

// Opens a file for reading without waiting: opening a FIFO would otherwise
// wait for a writer for ever. The type is checked on the open file, so
// nothing can be swapped in between the check and the read. -1 and the
// error when it is no regular file.
int openRegular(const NativePath& path, struct stat& st, IoError& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error = LinuxFileSystem::errorOf(errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0) {
    error = LinuxFileSystem::errorOf(errno);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = {NotRegularFile, NotRegularFileText};
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

IoError LinuxFileSystem::readFile(const NativePath& path, std::string& bytes, std::uint64_t maxSize) {
  bytes.clear();
  struct stat st {};
  IoError error;
  const int fd = openRegular(path, st, error);
  if (fd < 0) return error;
  int code = static_cast<std::uint64_t>(st.st_size) > maxSize ? EFBIG : 0;
  if (!code) {
    try {
      bytes.reserve(static_cast<std::size_t>(st.st_size));
      code = readAll(fd, bytes, maxSize);
    } catch (const std::bad_alloc&) {
      code = ENOMEM;
    } catch (const std::length_error&) {
      code = ENOMEM;
    }
  }
  ::close(fd);
  if (code) bytes.clear();
  return errorOf(code);
}

IoError LinuxFileSystem::readStart(const NativePath& path, std::string& bytes, std::size_t count) {
  bytes.clear();
  struct stat st {};
  IoError error;
  const int fd = openRegular(path, st, error);
  if (fd < 0) return error;
  int code = 0;
  try {
    bytes.resize(count);
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = ::read(fd, bytes.data() + got, count - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        code = errno;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
  } catch (const std::bad_alloc&) {
    code = ENOMEM;
  } catch (const std::length_error&) {
    code = ENOMEM;
  }
  ::close(fd);
  if (code) bytes.clear();
  return errorOf(code);
}

namespace {

IoError mapFile(const NativePath& path, FileView& view, int flags, std::uint64_t maxSize) {
  view.release();
  struct stat st {};
  IoError error;
  const int fd = openRegular(path, st, error);
  if (fd < 0) return error;
  if (static_cast<std::uint64_t>(st.st_size) > maxSize) {
    ::close(fd);
    return LinuxFileSystem::errorOf(EFBIG);
  }
  if (st.st_size > 0) {
    const auto size = static_cast<std::size_t>(st.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | flags, fd, 0);
    if (data != MAP_FAILED) {
      ::close(fd);
      view.holdMapping(data, size);
      return {};
    }
  }
  const int code = readAll(fd, view.buffer(), maxSize);
  ::close(fd);
  if (code) view.release();
  return LinuxFileSystem::errorOf(code);
}

}  // namespace

IoError LinuxFileSystem::viewFile(const NativePath& path, FileView& view, std::uint64_t maxSize) {
  // Every page is read at once, as a scan of the whole file will want them.
  return mapFile(path, view, MAP_POPULATE, maxSize);
}

IoError LinuxFileSystem::viewFileLazily(const NativePath& path, FileView& view, std::uint64_t maxSize) {
  return mapFile(path, view, 0, maxSize);
}

IoError LinuxFileSystem::writeFileAtomic(const NativePath& path, std::string_view bytes) {
  Finish finish;
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) finish.mode = old.st_mode & 07777;
  return replaceAtomically(
      path, [&](int fd) { return writeAll(writer_, fd, bytes.data(), bytes.size()); }, finish);
}

IoError LinuxFileSystem::copyFile(const NativePath& source, const NativePath& destination) {
  if (source.lexically_normal() == destination.lexically_normal()) return errorOf(EINVAL);
  int sourceFd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (sourceFd < 0) return errorOf(errno);
  struct stat st {};
  int code = ::fstat(sourceFd, &st) != 0 ? errno : 0;
  if (!code && S_ISDIR(st.st_mode)) code = EISDIR;
  if (!code && !S_ISREG(st.st_mode)) code = EINVAL;
  struct stat old {};
  if (!code && ::stat(destination.c_str(), &old) == 0 && old.st_dev == st.st_dev && old.st_ino == st.st_ino)
    code = EINVAL;  // the same file under another name: copying would truncate it
  if (code) {
    closeQuietly(sourceFd);
    return errorOf(code);
  }

  Finish finish{st.st_mode & 07777, st.st_mtim, st.st_atim};
  auto fill = [&](int fd) {
    char buffer[CopyBlock];
    off_t total = 0;
    for (;;) {
      ssize_t n = ::read(sourceFd, buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (n == 0) break;
      if (int w = writeAll(writer_, fd, buffer, static_cast<std::size_t>(n))) return w;
      total += n;
    }
    return total == st.st_size ? 0 : EIO;  // the source changed while it was copied
  };
  IoError result = replaceAtomically(destination, fill, finish);
  closeQuietly(sourceFd);
  return result;
}

IoError LinuxFileSystem::moveFile(const NativePath& source, const NativePath& destination) {
  IoError renamed = renameFile(source, destination);
  if (renamed.code != EXDEV) return renamed;
  if (IoError copied = copyFile(source, destination)) return copied;
  std::optional<DirEntry> from = stat(source);
  std::optional<DirEntry> to = stat(destination);
  if (!from || !to || from->size != to->size) return errorOf(EIO);
  return removeFile(source);
}

IoError LinuxFileSystem::renameFile(const NativePath& source, const NativePath& destination) {
  if (::rename(source.c_str(), destination.c_str()) != 0) return errorOf(errno);
  return {};
}

IoError LinuxFileSystem::renameNoReplace(const NativePath& source, const NativePath& destination) {
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) return {};
  const int failure = errno;
  if (failure != EINVAL && failure != ENOSYS) return errorOf(failure);
  // The file system cannot rename without replacing: a hard link fails when
  // the destination exists, and only then does the old name go.
  if (::link(source.c_str(), destination.c_str()) == 0) {
    if (::unlink(source.c_str()) != 0) return errorOf(errno);
    return {};
  }
  if (errno == EEXIST) return errorOf(EEXIST);
  // No hard links either (vfat): test, then rename.
  struct stat info {};
  if (::lstat(destination.c_str(), &info) == 0) return errorOf(EEXIST);
  return renameFile(source, destination);
}

IoError LinuxFileSystem::removeFile(const NativePath& path) {
  if (::unlink(path.c_str()) != 0) return errorOf(errno);
  return {};
}

IoError LinuxFileSystem::removeTree(const NativePath& given) {
  // "link/" would name the link's target: the path is taken without its
  // trailing "/" so that a link is seen as one.
  const NativePath folder = withoutTrailingSlash(given);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) return errorOf(errno);
  if (S_ISLNK(st.st_mode)) return removeFile(folder);
  if (!S_ISDIR(st.st_mode)) return errorOf(ENOTDIR);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errorOf(errno);
  int code = removeContents(fd, st.st_dev);
  ::close(fd);
  if (code) return errorOf(code);
  return removeFolder(folder);
}

IoError LinuxFileSystem::createFolder(const NativePath& folder) {
  if (::mkdir(folder.c_str(), 0777) != 0) return errorOf(errno);
  return {};
}

IoError LinuxFileSystem::createFolders(const NativePath& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return errorOf(ec.value());
  return {};
}

IoError LinuxFileSystem::removeFolder(const NativePath& folder) {
  if (::rmdir(folder.c_str()) != 0) return errorOf(errno);
  return {};
}

IoError LinuxFileSystem::setModified(const NativePath& path, FileTime time) {
  struct timespec times[2];
  times[0] = timespecOf(0);
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = timespecOf(time);
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) return errorOf(errno);
  return {};
}

IoError LinuxFileSystem::setReadOnly(const NativePath& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errorOf(errno);
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (::chmod(path.c_str(), mode) != 0) return errorOf(errno);
  return {};
}

std::optional<std::uint64_t> LinuxFileSystem::deviceOf(const NativePath& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_dev);
}

std::optional<FileSystem::Identity> LinuxFileSystem::identityOf(const NativePath& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
  return Identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::optional<NativePath> LinuxFileSystem::homeFolder() {
  if (!home_.empty()) return home_;
  if (const char* home = std::getenv("HOME"); home && *home) return NativePath(home);
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
    return NativePath(found->pw_dir);
  return std::nullopt;
}

}  // namespace zevro
