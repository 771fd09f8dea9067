// zevro-cli backup DIR: the catalog data copied into DIR (or its subfolder
// ZEVRO_Backup when DIR's name does not end in ZEVRO_BACKUP), each file only
// when its copy there is missing or older. One line per file copied, in copy
// order, then the program's message:
//   copied	CATDRV.CCZ
//   copied	Catalog/_03CD_GAMES.cct
//   2個のデータをバックアップしました
// A copy that fails: "error<TAB>path<TAB>text" on stderr; the rest goes on
// and the exit status is 1.
#include <filesystem>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogBackup.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "backup";

int runBackup(Context& context) {
  std::string dir;
  for (const std::string& arg : context.args) {
    if (isOption(arg)) return usageError(context, Name, unknownOption(arg));
    if (!dir.empty()) return usageError(context, Name, "give one folder");
    dir = arg;
  }
  if (dir.empty()) return usageError(context, Name, "which folder?");
  Session session(context, "zevro-cli: backup: ");
  const std::optional<DirEntry> chosen = session.files.stat(dir);
  if (!chosen || !(chosen->isFolder() || chosen->linkToFolder)) {
    context.err << "zevro-cli: backup: " << dir << ": no such folder\n";
    return ExitError;
  }
  if (!session.loadOptions()) return ExitError;
  CatalogBackup backup(session.files, {session.program.programFolder(), session.program.chooseCatalogFolder()});
  const CatalogBackup::Result result =
      backup.run(std::filesystem::absolute(dir).lexically_normal(), session.program.options(), [&](const CatalogBackup::Failure& failure) {
        context.err << "error\t" << failure.path.native() << '\t' << failure.error.text << '\n';
      });
  for (const std::string& copied : result.copied) context.out << "copied\t" << copied << '\n';
  context.out << HeadlessUi::plainLine(CatalogBackup::doneMessage(result.count())) << '\n';
  return result.failures.empty() ? ExitOk : ExitNone;
}

constexpr const char* Help =
    "Copies the catalog data into DIR, as the main window's backup does: the\n"
    "title cache CATDRV.CCZ, the options ZEVRO32.Opt, the icon table\n"
    "IconList.CCZ and MarkIcon.BMP when present, and every list file \"_*.CCT\"\n"
    "of the catalog folder into a folder of the catalog folder's name. A file\n"
    "is copied only when its copy is missing or older; copies keep the\n"
    "source's time, so a second run copies nothing. When DIR's name does not\n"
    "end in ZEVRO_BACKUP (any case), its subfolder ZEVRO_Backup is used. The\n"
    "folder used is remembered as the option BackupDir.\n"
    "\n"
    "Output: \"copied<TAB>path\" per file copied (path inside the backup\n"
    "folder, \"/\" separators), then the message, like\n"
    "\"3個のデータをバックアップしました\" or \"更新されたデータはありません\".\n"
    "A failed copy: \"error<TAB>path<TAB>text\" on stderr; the rest goes on.\n"
    "\n"
    "Exit status:\n"
    "  0  done (also when nothing needed copying)\n"
    "  1  some copy failed\n"
    "  2  bad arguments, DIR not a folder, or unreadable options\n";

}  // namespace

Command backupCommand() {
  return {Name, "backup DIR", "copies catalog data that changed into DIR (or DIR/ZEVRO_Backup)", runBackup, Help};
}

}  // namespace zevro::cli
