// zevro-cli catalogs [--json]: the catalogs of the catalog folder with their
// titles, as the selection list knows them:
//   _00cd_games.cct<TAB>ゲーム集
//   _03hd_docs.cct<TAB>無題(DOCS)
// The catalog index is brought up to date on the way, as the desktop program
// does when it lists the catalogs: entries of deleted list files are dropped,
// list files without an entry are read and entered.
//
// In the TAB form a line break inside a title is shown as a blank, so that a
// catalog is always one line; --json gives every title exactly:
//   [{"file":"_00cd_games.cct","title":"ゲーム集"}, …]
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "app/cli/TextOutput.h"
#include "core/CatalogIndex.h"
#include "core/FileOps.h"
#include "core/OptionStore.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

// The title is the last field, so a TAB in it stays: only line breaks go.
std::string oneLine(TextView text) {
  Text line(text);
  for (char16_t& c : line)
    if (c == ch::CR || c == ch::LF) c = u' ';
  return toUtf8(line);
}

void printLines(std::ostream& out, const std::vector<CatalogIndexEntry>& entries) {
  for (const CatalogIndexEntry& e : entries) out << toUtf8(e.name) << '\t' << oneLine(e.title) << '\n';
}

void printJson(std::ostream& out, const std::vector<CatalogIndexEntry>& entries) {
  out << '[';
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out << (i == 0 ? "\n" : ",\n") << "{\"file\":" << jsonString(entries[i].name)
        << ",\"title\":" << jsonString(entries[i].title) << '}';
  }
  out << "\n]\n";
}

int runCatalogs(Context& context) {
  bool json = false;
  for (const std::string& arg : context.args) {
    if (arg != "--json")
      return usageError(context, "catalogs", isOption(arg) ? unknownOption(arg) : "no arguments but --json");
    json = true;
  }

  Session session(context, "zevro-cli: ");
  if (!session.loadOptions()) return ExitError;
  const NativePath folder = session.program.chooseCatalogFolder();
  FileSystem& files = session.files;
  // No folder yet is no catalog yet; anything else in its place is a fault
  // the user must hear of, not an empty list.
  if (const std::optional<DirEntry> entry = files.stat(folder); entry && !fileops::folderExists(files, folder)) {
    context.err << "zevro-cli: catalogs: the catalog folder " << folder.native() << " is not a folder\n";
    return ExitError;
  }
  CatalogIndex& index = session.program.index();
  if (IoError error = index.load()) {
    context.err << "zevro-cli: catalog index in " << folder.native() << ": " << error.text << '\n';
    return ExitError;
  }
  forEachName(fileops::listFiles(files, folder, DriveListPattern), [&](TextView name) {
    if (!index.titleOf(name).empty()) return;
    // A FIFO or device under a catalog's name is never read; say why it is
    // missing from the list.
    std::string probe;
    const NativePath path = folder / cp932::toNativeName(name);
    if (files.readStart(path, probe, 0).code == NotRegularFile)
      context.err << "zevro-cli: catalogs: " << path.filename().native() << ": " << NotRegularFileText
                  << ", skipped\n";
  });
  const IoError written = index.writeIfChanged();

  if (json)
    printJson(context.out, index.entries());
  else
    printLines(context.out, index.entries());

  if (written) {
    context.err << "zevro-cli: cannot write the catalog index in " << folder.native() << ": " << written.text << '\n';
    return ExitError;
  }
  return ExitOk;
}

constexpr const char* Help =
    "The catalogs of the catalog folder, one a line: the list file's name and\n"
    "the catalog's title, separated by a TAB. The catalog index is brought up\n"
    "to date on the way, as the desktop program does.\n"
    "\n"
    "Options:\n"
    "  --json     a JSON array of {\"file\": …, \"title\": …} instead\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  listed (also when there is no catalog)\n"
    "  2  bad input, or the catalog index cannot be read or written\n";

}  // namespace

Command catalogsCommand() {
  return {"catalogs", "catalogs [--json]", "the catalogs of the catalog folder: file name and title", runCatalogs,
          Help};
}

}  // namespace zevro::cli
