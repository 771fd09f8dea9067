// zevro-cli refresh CATALOG: brings a catalog up to date with its medium as
// "リストを最新の情報に更新" in the main window does, without asking anything:
//   zevro-cli refresh _03CD_GAMES.cct
// The medium is found where the main window finds it (never asked for); it
// is read again with the reading options stored, the names, comments, dates
// and pictures the user gave rows that are still there are carried over,
// and the catalog is saved. A medium that is not there or cannot be read
// changes nothing.
#include <malloc.h>

#include <cstdlib>
#include <ostream>

#include "app/cli/CatalogRow.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "media/ArchiveContents.h"
#include "media/ArchiveLibraries.h"
#include "media/CommentGenerator.h"
#include "media/ListRefresh.h"
#include "media/WalkOrder.h"
#include "platform/ProgramFolder.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "refresh";

int runRefresh(Context& context) {
  const std::optional<std::vector<std::string>> words = CatalogRow::words(context, Name);
  if (!words) return ExitError;
  if (words->size() != 1) return usageError(context, Name, "give one catalog");
  // The catalog, the reading and the merge are lists of tens of megabytes
  // made one after another: freed memory stays in the process for the next.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  Session session(context, "zevro-cli: refresh: ");
  if (!session.loadOptions()) return ExitError;
  CatalogRow catalog;
  if (int status = catalog.load(session, (*words)[0])) return status;
  Program& program = session.program;
  program.driveInfo();
  RowStore& list = catalog.document().list();

  const ListRefresh::Source source = ListRefresh::sourceOf(program.locator(), program.platform().files,
                                                           program.catalogFolder(), catalog.shown());
  if (source.outcome == ListRefresh::Source::Outcome::NoMedium) {
    context.err << session.prefix << (*words)[0] << ": the medium is not there (nothing changed)\n";
    return ExitNone;
  }
  if (source.outcome == ListRefresh::Source::Outcome::SameAsSource) {
    context.err << session.prefix << (*words)[0] << ": its source folder is the medium itself (nothing changed)\n";
    return ExitNone;
  }

  // The reading options as the reading window stored them.
  const OptionStore& options = program.options();
  MediaReading::Settings settings;
  settings.walk.sortOrder = walkOrderOf(opt::readNumber(options, opt::RecordSort)).value_or(WalkOrder::Kind);
  const bool autoCreate = opt::readNumber(options, opt::AutoCreate) != 0;
  const ArchiveOptions archiveOptions{.recordMembers = opt::readNumber(options, opt::RecordUnzip) != 0,
                                      .comments = autoCreate && opt::readNumber(options, opt::CommentUnzip) != 0,
                                      .zip = opt::readNumber(options, opt::UseExtactZip) != 0,
                                      .sortOrder = settings.walk.sortOrder};
  ArchiveLibraries archiveReader(program.listTimeZone());
  ArchiveContents archiveContents(archiveReader, program.icons(), archiveOptions);
  settings.walk.archives = archiveOptions.recordMembers || archiveOptions.comments;
  CommentGenerator comments(session.files,
                            playerSettingsFolder(context.programDir, [](const char* key) -> std::string {
                              const char* v = std::getenv(key);
                              return v ? std::string(v) : std::string();
                            }),
                            {autoCreate, archiveOptions.comments});
  MediaReading::Hooks hooks;
  hooks.walk.archives = &archiveContents;
  hooks.walk.comments = &comments;
  MediaReading reading = program.reading(settings, hooks);
  RowStore fresh;
  const MediaReading::Result result = reading.refresh(source.path, catalog.document().currentFileName(),
                                                     list.fieldView(catalog::FieldName, 0), fresh);
  for (const WalkProblem& p : result.problems)
    if (p.kind != WalkProblem::Kind::BadDate)
      context.err << session.prefix << "warning: " << cp932::toNativeName(p.path) << " not read whole\n";
  if (!result.ok() || fresh.rowCount() == 0) {
    context.err << session.prefix << cp932::toNativeName(source.path) << ": cannot be read (nothing changed)\n";
    return ExitNone;
  }
  if (source.keepEntry) ListRefresh::keepEntries(fresh, source.keepEntry);
  // The merged rows keep the tree flags and file marks the reading gave them.
  if (fresh.rowCount() == 0 || ListRefresh::mergeUserEdits(list, fresh) < 0 ||
      !list.loadBlocks(fresh.heap(), fresh.levelBlock(), fresh.treeFlagBlock(), fresh.kindBlock(),
                       fresh.colourBlock())) {
    context.err << session.prefix << "out of memory (nothing changed)\n";
    return ExitError;
  }
  list.setSortOrder(fresh.sortOrder());
  if (result.freeSpace > 0) catalog.document().setFreeSpace(result.freeSpace);
  catalog.document().setModified(true);
  return catalog.save(session);
}

constexpr const char* Help =
    "Brings a catalog up to date with its medium, as \"リストを最新の情報に更新\"\n"
    "in the File menu does: the medium (or the folder a folder reading was\n"
    "made of) is read again with the reading options stored, and what the\n"
    "user changed in rows that are still there is kept: names given in the\n"
    "list, comments and dates written by hand, attached pictures. Rows whose\n"
    "files are gone leave the catalog with their edits; new files come in.\n"
    "A catalog that is one part of a medium recorded as several catalogs is\n"
    "refreshed as that part only.\n"
    "\n"
    "The medium is looked for where the desktop program looks (the fixed disk\n"
    "of the catalog's label, the drive holding the medium), but nobody is\n"
    "asked to insert it.\n"
    "\n"
    "CATALOG is a name in the catalog folder, any case (like _03CD_GAMES.cct).\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  the catalog was brought up to date and saved\n"
    "  1  the medium is not there or cannot be read; the catalog is unchanged\n"
    "  2  bad input (no such catalog), or the catalog could not be written\n";

}  // namespace

Command refreshCommand() {
  return {"refresh", "refresh CATALOG", "brings a catalog up to date with its medium, keeping the user's edits",
          runRefresh, Help};
}

}  // namespace zevro::cli
