#include "core/ListFileWriting.h"

#include "core/FileOps.h"
#include "core/ListFileName.h"
#include "text/Cp932.h"

namespace zevro::listfile {

namespace {

constexpr FileTime OneSecond = 1'000'000'000;
// The complete new file waits under this name (hidden, never taken for a
// list file) while the old one is moved to Backup/.
constexpr const char* PendingPrefix = ".zevro-new-";
constexpr std::size_t PendingNameKeep = 100;

}  // namespace

// An old file of another spelling ("_03fd_x.CCT" for "_03FD_x.cct") is the
// same catalog: it goes to Backup/ or away, so that no second file of the
// name remains.
WriteOutcome writeToDisk(Platform& platform, const NativePath& backupFolder, const RowStore& store,
                         const Header& header, const NativePath& path, bool keepTime) {
  FileSystem& files = platform.files;
  WriteOutcome outcome;
  const std::optional<std::string> bytes = build(store, header);
  if (!bytes) {
    outcome.limit = checkLimits(store);
    return outcome;
  }
  const NativePath folder = path.parent_path();
  const std::string name = cp932::toNativeName(listfilename::normalizedForWriting(cp932::fromNativeName(path.filename().native())));
  const NativePath target = folder / name;
  const std::optional<std::string> existing = files.resolveName(folder, name);
  const std::optional<DirEntry> old = existing ? files.stat(folder / *existing) : std::nullopt;

  if (!keepTime || !old) {
    if ((outcome.error = files.writeFileAtomic(target, *bytes))) return outcome;
    if (existing && *existing != name) files.removeFile(folder / *existing);
    outcome.written = true;
    outcome.path = target;
    return outcome;
  }

  const NativePath pending = folder / (PendingPrefix + name.substr(0, PendingNameKeep));
  if ((outcome.error = files.writeFileAtomic(pending, *bytes))) return outcome;
  if ((outcome.error = files.setModified(pending, old->modified + OneSecond))) {
    files.removeFile(pending);
    return outcome;
  }
  // A copy of the old list goes to Backup/ first; the new file then takes
  // the name in one rename, so that at every moment one whole list carries
  // it. A failed copy is reported by the helper; the old file is then
  // replaced all the same.
  const NativePath oldPath = folder / *existing;
  fileops::createFolderChain(files, backupFolder);
  fileops::copyFile(platform, oldPath, backupFolder / *existing);
  if ((outcome.error = files.renameFile(pending, target))) {
    files.removeFile(pending);
    return outcome;
  }
  if (*existing != name) files.removeFile(oldPath);  // the old spelling of the name
  outcome.written = true;
  outcome.path = target;
  return outcome;
}

}  // namespace zevro::listfile
