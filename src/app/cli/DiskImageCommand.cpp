// zevro-cli disk-image CATALOG FILE: records the folder of a disk image (a
// copy of the medium on disk) for a catalog, as the File menu's
// "ディスク・イメージの場所を指定" does for the file chosen there:
//   zevro-cli disk-image _03CD_MOVIE.cct /img/MOVIE/VIDEO_TS/VTS_01_1.VOB   -> /img/MOVIE
#include <ostream>

#include "app/cli/CatalogRow.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "media/DiskImage.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "disk-image";

int runDiskImage(Context& context) {
  const std::optional<std::vector<std::string>> words = CatalogRow::words(context, Name);
  if (!words) return ExitError;
  if (words->size() != 2) return usageError(context, Name, "give a catalog and a file of the disk image");
  Session session(context, "zevro-cli: disk-image: ");
  if (!session.loadOptions()) return ExitError;
  CatalogRow catalog;
  if (int status = catalog.load(session, (*words)[0])) return status;
  NativePath file = (*words)[1];
  if (file.is_relative()) file = std::filesystem::absolute(file);
  if (!fileops::fileExists(session.files, file)) {
    context.err << session.prefix << (*words)[1] << ": no such file\n";
    return ExitError;
  }
  RowStore& list = catalog.document().list();
  const Text first = list.shownCount() > 1 ? list.shownField(catalog::FieldName, 1) : Text();
  const NativePath folder = diskimage::folderFor(file.lexically_normal(), first);
  diskimage::record(list, folder);
  if (int status = catalog.save(session)) return status;
  context.out << folder.native() << '\n';
  return ExitOk;
}

constexpr const char* Help =
    "Records where a copy of the catalog's medium lies on disk (a disk\n"
    "image's files), as the File menu's disk-image command does for the file\n"
    "chosen there: the file's folder, or the folder above it when that folder\n"
    "is the medium's top entry (VIDEO_TS of a DVD). From then on the files of\n"
    "the catalog are looked for there before the drives. The catalog is saved\n"
    "and the folder printed.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  recorded\n"
    "  2  bad input (no such catalog or file), or the catalog could not be written\n";

}  // namespace

Command diskImageCommand() {
  return {"disk-image", "disk-image CATALOG FILE", "records the folder of a disk image for a catalog", runDiskImage,
          Help};
}

}  // namespace zevro::cli
