// zevro-cli read [OPTIONS] PATH: catalogues a medium as the reading window
// does, without asking anything, and prints the list file's name:
//   zevro-cli read E:                 the medium in drive E:
//   zevro-cli read E:\DOCS            a folder of it, catalogued on its own
//   zevro-cli read /usr/share         a folder of this machine, through the
//                                     drive letter whose root holds it
//   zevro-cli read ~/tool.lzh         an LZH or ZIP file: its members are the content
//   -> _00HD_ROOT usr&share.cct       (on stdout)
//
// A medium too large for one list file is recorded as several catalogs,
// folder readings of its folders, and each name is printed on a line of its
// own (the medium's own catalog first). A later read of the medium finds
// them all: --replace replaces every one.
//
// Options:
//   --genre N         the genre the catalog goes to (0..19; default: the
//                     current genre of the options)
//   --title TEXT      the title of a removable medium that has none yet (it
//                     is written to the medium's title file, as the program
//                     does); it names the medium, not the catalog
//   --catalog-title TEXT   the catalog's title (the comment of the title line,
//                     what `catalogs` lists), on any medium
//   --replace         an existing catalog of the medium is replaced, once the
//                     new reading has succeeded (the old file goes to Backup/)
//   --add             an existing catalog stays and another list is read
//                     beside it ("_00CD_GAMES-01.cct"); not for a medium too
//                     large for one list file (refused, exit status 1)
//   --sort name|extension|kind   the order of the files of a folder
//                     (default: the option RecordSort)
//   --local-time, --no-local-time   list times in this machine's time zone,
//                     or in the catalogs' fixed nine hours after UTC, for
//                     this run (default: the option LocalListTime)
//   --archives on|off   members of LZH and ZIP archives are listed (default:
//                     the option RecordUnzip)
//   --archive-comments on|off   comments may come from inside archives
//                     (default: the option CommentUnzip)
//   --zip on|off      ZIP archives are read at all (default: the option
//                     UseExtactZip)
//   --comments on|off   comments generated from readme and index files
//                     (default: the option AutoCreate)
//   --quiet           no progress line
//
// The list file is written to the catalog folder and entered in the catalog
// index. Without --replace or --add an existing catalog is kept and nothing
// is written (exit status 1). Folders that cannot be read and other problems
// of the walk are warnings on stderr, and the list stored with them ends the
// command with exit status 3 (stored, but incomplete); progress goes to
// stderr when it is a terminal (see ReadProgress.h).
#include <malloc.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ReadProgress.h"
#include "app/cli/Session.h"
#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/DriveTypeTable.h"
#include "core/GenreTable.h"
#include "core/OptionKeys.h"
#include "core/Startup.h"
#include "media/ArchiveContents.h"
#include "media/ArchiveLibraries.h"
#include "media/CommentGenerator.h"
#include "media/DrivePath.h"
#include "media/MediaReading.h"
#include "media/Program.h"
#include "media/ThrottledPump.h"
#include "platform/ProgramFolder.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: read: ";

struct ReadArguments {
  std::string path;
  std::optional<int> genre;
  std::optional<WalkOrder> sortOrder;
  std::optional<std::string> title;
  std::optional<std::string> catalogTitle;
  bool replace = false;
  bool add = false;
  std::optional<bool> localTime;  // unset: the option LocalListTime holds
  // Unset: the options RecordUnzip, CommentUnzip and UseExtactZip hold;
  // a switch given here is not saved.
  std::optional<bool> archives;
  std::optional<bool> archiveComments;
  std::optional<bool> zip;
  std::optional<bool> comments;  // unset: the option AutoCreate holds (not saved)
  bool quiet = false;
};

std::optional<int> numberIn(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::atoi(text.c_str());
  if (n < low || n > high) return std::nullopt;
  return n;
}

std::optional<WalkOrder> sortOrderOf(const std::string& text) {
  if (text == "name") return WalkOrder::Name;
  if (text == "extension") return WalkOrder::Extension;
  if (text == "kind") return WalkOrder::Kind;
  return std::nullopt;
}

std::optional<bool> switchOf(const std::string& text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

// An empty text when the arguments are fine, else what is wrong.
std::string parse(const std::vector<std::string>& args, ReadArguments& a) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (optionsEnded || !isOption(arg)) {
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
      } else if (!a.path.empty()) {
        return "one PATH only";
      } else {
        a.path = arg;
      }
    } else if (arg == "--genre") {
      if (!hasValue || !(a.genre = numberIn(args[++i], 0, GenreTable::Count - 1)))
        return "--genre needs a genre number from 0 to " + std::to_string(GenreTable::Count - 1);
    } else if (arg == "--sort") {
      if (!hasValue || !(a.sortOrder = sortOrderOf(args[++i]))) return "--sort needs name, extension or kind";
    } else if (arg == "--archives" || arg == "--archive-comments" || arg == "--zip" || arg == "--comments") {
      std::optional<bool>& target = arg == "--archives"   ? a.archives
                                    : arg == "--zip"      ? a.zip
                                    : arg == "--comments" ? a.comments
                                                          : a.archiveComments;
      if (!hasValue || !(target = switchOf(args[++i]))) return arg + " needs on or off";
    } else if (arg == "--title") {
      if (!hasValue || args[i + 1].empty()) return "--title needs a title";
      a.title = args[++i];
    } else if (arg == "--catalog-title") {
      if (!hasValue || args[i + 1].empty()) return "--catalog-title needs a title";
      a.catalogTitle = args[++i];
    } else if (arg == "--replace") {
      a.replace = true;
    } else if (arg == "--add") {
      a.add = true;
    } else if (arg == "--local-time" || arg == "--no-local-time") {
      a.localTime = arg == "--local-time";
    } else if (arg == "--quiet" || arg == "-q") {
      a.quiet = true;
    } else {
      return unknownOption(arg);
    }
  }
  if (a.path.empty()) return "which drive or folder? (read PATH)";
  if (a.replace && a.add) return "--replace and --add exclude each other";
  return {};
}

bool isDriveText(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

// The drive path of the argument: a drive text as it is (u"E:\\DOCS"), a
// folder of this machine through the drive letters; nullopt after a message.
std::optional<Text> drivePathOf(const std::string& path, FileSystem& files, Drives& drives, std::ostream& err) {
  if (isDriveText(path)) {
    Text drivePath = cp932::fromNativeName(path);
    if (!drivepath::leavesDrive(drivePath)) return drivePath;
    err << Prefix << path << ": the path leads out of the drive\n";
    return std::nullopt;
  }
  std::error_code ec;
  NativePath folder = std::filesystem::absolute(path, ec).lexically_normal();
  std::string native = folder.native();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  folder = native;
  const std::optional<DirEntry> entry = ec ? std::nullopt : files.stat(folder);
  // An LZH or ZIP file is read as a medium of its own: its members are the content.
  const ArchiveType archive = archiveTypeOf(cp932::fromNativeName(folder.filename().native()));
  const bool archiveFile = entry && entry->type == DirEntry::Type::File &&
                           (archive == ArchiveType::Lzh || archive == ArchiveType::Zip);
  if (!entry || (!entry->isFolder() && !archiveFile)) {
    err << Prefix << path << ": not a folder\n";
    return std::nullopt;
  }
  std::optional<Text> drivePath = drivepath::drivePathOf(drives, folder);
  if (!drivePath) err << Prefix << path << ": no drive letter holds this folder\n";
  return drivePath;
}

const char* problemText(WalkProblem::Kind kind) {
  switch (kind) {
    case WalkProblem::Kind::Unreadable: return "cannot be read, its contents are missing";
    case WalkProblem::Kind::TooDeep: return "lies at the deepest level a list holds, its contents are missing";
    case WalkProblem::Kind::BadDate: return "holds dates before 1900 and is left out";
    case WalkProblem::Kind::ListFull: return "the list is full, the reading stopped";
    case WalkProblem::Kind::NoDetails: return "cannot be looked at, its size and date are missing";
  }
  return "";
}

// Readings that did not happen for a reason of the medium, not of the input:
// the medium is not in its drive, or it has no free list number left.
bool refusedOutcome(MediaReading::Outcome outcome) {
  return outcome == MediaReading::Outcome::NoMedium || outcome == MediaReading::Outcome::NoFreeNumber ||
         outcome == MediaReading::Outcome::TooLargeForAnother;
}

std::string failureText(const MediaReading::Result& r, const std::string& path) {
  using Outcome = MediaReading::Outcome;
  switch (r.outcome) {
    case Outcome::Read: return {};
    case Outcome::NoMedium: return path + ": no medium in the drive, or no such drive";
    case Outcome::NoTitle: return path + ": the removable medium has no title (give one with --title TEXT)";
    case Outcome::Declined: return {};
    case Outcome::CatalogFolderUnreachable: return "the catalog folder cannot be reached";
    case Outcome::NoFreeNumber: return path + ": every list number 01 to 99 of this medium is taken";
    case Outcome::Stopped: return path + ": the reading was stopped";
    case Outcome::Unreadable: return path + ": cannot be read";
    case Outcome::NothingRecorded: return path + ": nothing could be recorded";
    case Outcome::ListFull: return path + ": the medium holds more than a list can take";
    case Outcome::TooLargeForAnother:
      return path +
             ": too large for one list file, so it is recorded as several catalogs, which cannot be read as "
             "another list beside the medium's catalog (nothing stored; --replace replaces its catalogs)";
  }
  return {};
}

// The files and folders of a list (the title line is neither).
struct RowCounts {
  int files = 0;
  int folders = 0;
};
RowCounts countRows(const RowStore& list) {
  RowCounts counts;
  for (int row = 1; row < list.rowCount(); ++row) {
    if (list.kind(row) >= catalog::KindFile)
      ++counts.files;
    else
      ++counts.folders;
  }
  return counts;
}

int runRead(Context& context) {
  ReadArguments a;
  if (std::string wrong = parse(context.args, a); !wrong.empty()) return usageError(context, "read", wrong);
  // A reading builds lists of tens of megabytes step by step (the walk, the
  // size pass, the file's bytes). Keeping freed memory in the process lets
  // each step reuse the pages of the one before instead of having the system
  // map fresh ones for every step.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);

  Session session(context, Prefix, a.title ? cp932::fromNativeName(*a.title) : Text());
  if (!session.loadOptions()) return ExitError;
  Program& program = session.program;
  if (!program.settleCatalogFolder()) {
    context.err << Prefix << "cannot make the catalog folder " << program.catalogFolder().native() << '\n';
    return ExitError;
  }
  if (a.localTime) program.useMachineTime(*a.localTime);
  program.driveInfo();
  if (const IoError& error = program.driveTypesError())
    context.err << Prefix << "warning: cannot write " << DriveTypeTable::FileName << ": " << error.text << '\n';

  const std::optional<Text> drivePath = drivePathOf(a.path, session.files, program.drives(), context.err);
  if (!drivePath) return ExitError;

  CatalogIndex& index = program.index();
  if (IoError error = index.load()) {
    context.err << Prefix << "catalog index in " << program.catalogFolder().native() << ": " << error.text << '\n';
    return ExitError;
  }
  CatalogDocument document({session.platform, program.catalogFolder(), context.programDir, index, program.titles()});

  MediaReading::Settings settings;
  settings.genre = a.genre ? *a.genre : opt::readNumber(program.options(), opt::CurrentJanreNo);
  const std::optional<WalkOrder> storedSort = walkOrderOf(opt::readNumber(program.options(), opt::RecordSort));
  settings.walk.sortOrder = a.sortOrder ? *a.sortOrder : storedSort.value_or(WalkOrder::Kind);
  const auto stored = [&](std::optional<bool> given, TextView key) {
    return given ? *given : opt::readNumber(program.options(), key) != 0;
  };
  const bool autoCreate = stored(a.comments, opt::AutoCreate);
  const ArchiveOptions archiveOptions{.recordMembers = stored(a.archives, opt::RecordUnzip),
                                      .comments = autoCreate && stored(a.archiveComments, opt::CommentUnzip),
                                      .zip = stored(a.zip, opt::UseExtactZip),
                                      .sortOrder = settings.walk.sortOrder};
  ArchiveLibraries archiveReader(program.listTimeZone());
  ArchiveContents archiveContents(archiveReader, program.icons(), archiveOptions);
  settings.walk.archives = archiveOptions.recordMembers || archiveOptions.comments;
  ReadProgress progress(context.err);
  const bool showProgress = !a.quiet && ::isatty(STDERR_FILENO);
  MediaReading::Hooks hooks;
  std::optional<MediaReading::ExistingCatalog> existing;
  hooks.askExisting = [&](const MediaReading::ExistingCatalog& e) {
    existing = e;
    if (a.replace) return MediaReading::Existing::Replace;
    if (a.add) return MediaReading::Existing::AddAnother;
    return MediaReading::Existing::Cancel;
  };
  if (showProgress) hooks.progress = progress.callbacks();
  hooks.walk.archives = &archiveContents;
  CommentGenerator comments(session.files,
                            playerSettingsFolder(context.programDir, [](const char* key) -> std::string {
                              const char* v = std::getenv(key);
                              return v ? std::string(v) : std::string();
                            }),
                            {autoCreate, archiveOptions.comments});
  hooks.walk.comments = &comments;
  MediaReading reading = program.reading(settings, hooks);
  const MediaReading::Result result = reading.read(*drivePath, document.list());
  if (showProgress) {
    const RowCounts counts = countRows(document.list());
    progress.finish(counts.files, counts.folders);
  }

  for (const WalkProblem& p : result.problems)
    context.err << Prefix << "warning: " << cp932::toNativeName(p.path) << " " << problemText(p.kind)
                << (p.error.empty() ? "" : " (" + p.error + ")") << '\n';
  if (result.outcome == MediaReading::Outcome::Declined) {
    context.err << Prefix << a.path << " is catalogued already as " << cp932::toNativeName(existing->fileName)
                << " (kept; --replace replaces it, --add reads another list)\n";
    return ExitNone;
  }
  if (!result.ok()) {
    context.err << Prefix << failureText(result, a.path) << '\n';
    return refusedOutcome(result.outcome) ? ExitNone : ExitError;
  }
  if (a.catalogTitle) {
    document.list().setField(catalog::FieldComment, 0, cp932::fromNativeName(*a.catalogTitle));
  }

  // A catalog of the medium that another program stored while this one read
  // is answered as the options say.
  const ReadingStore::AskAgain askAgain = [&](TextView) {
    return a.replace ? MediaReading::Existing::Replace
                     : a.add ? MediaReading::Existing::AddAnother : MediaReading::Existing::Cancel;
  };
  const SavedReading saved = program.readingStore().store(result, document, program.icons(), askAgain);
  if (!saved.taken.empty()) {
    context.err << Prefix << a.path << " was catalogued meanwhile as " << cp932::toNativeName(saved.taken)
                << " (kept; --replace replaces it, --add reads another list)\n";
    return ExitNone;
  }
  if (saved.lockError) {
    context.err << Prefix << "nothing stored: " << saved.lockError.text << '\n';
    return ExitError;
  }
  if (saved.tooLargeForAnother) {
    MediaReading::Result tooLarge;
    tooLarge.outcome = MediaReading::Outcome::TooLargeForAnother;
    context.err << Prefix << failureText(tooLarge, a.path) << '\n';
    return ExitNone;
  }
  if (saved.noFreeNumber) {
    MediaReading::Result full;
    full.outcome = MediaReading::Outcome::NoFreeNumber;
    context.err << Prefix << failureText(full, a.path) << '\n';
    return ExitError;
  }
  if (!saved.saved) return ExitError;  // the reason was reported
  if (saved.indexError)
    context.err << Prefix << "warning: cannot write the catalog index: " << saved.indexError.text << '\n';
  if (!saved.retired)
    context.err << Prefix << "warning: the replaced catalog " << cp932::toNativeName(result.replaced->fileName)
                << (result.replacedParts.empty() ? "" : " (or a part of it)") << " could not be moved to "
                << BackupFolderName << '\n';
  // A medium too large for one list file is recorded as several catalogs:
  // one name a line, the medium's own first.
  for (const Text& name : saved.fileNames) context.out << cp932::toNativeName(name) << '\n';
  // Stored, but a script must not take it for a complete catalog of the
  // medium (say, before deleting the medium's files): the problems were
  // listed on stderr above.
  if (!result.problems.empty()) {
    context.err << Prefix << "stored, but incomplete: " << result.problems.size() << " problem"
                << (result.problems.size() == 1 ? "" : "s") << " above\n";
    return ExitIncomplete;
  }
  return ExitOk;
}

constexpr const char* Help =
    "Catalogues a medium as the reading window does, without asking anything,\n"
    "and prints the name of the list file written to the catalog folder. PATH\n"
    "is a drive (E:), a folder of one (E:\\DOCS), or a folder of this machine\n"
    "reached through the drive letters (/media/usb, /usr/share). An LZH or ZIP\n"
    "file given as PATH is read as a medium whose content is its members.\n"
    "A medium too large for one list file is recorded as several catalogs\n"
    "(folder readings of its folders); their names are printed one a line,\n"
    "the medium's own first, and --replace later replaces them all.\n"
    "\n"
    "Options:\n"
    "  --catalog-title TEXT   the catalog's title, as `catalogs` lists it (any\n"
    "                         medium); `zevro-cli title` changes it later\n"
    "  --title TEXT           the title of a removable medium that has none yet;\n"
    "                         it is written to the medium's title file and\n"
    "                         names the medium (and the list file), not the catalog\n"
    "  --genre N              the genre the catalog goes to, 0 to 19 (default:\n"
    "                         the current genre of the options)\n"
    "  --replace              an existing catalog of the medium is replaced once\n"
    "                         the new reading succeeded (the old one goes to Backup/)\n"
    "  --add                  an existing catalog stays; another list is read\n"
    "                         beside it (_00CD_GAMES-01.cct); refused for a medium\n"
    "                         too large for one list file\n"
    "  --sort name|extension|kind   the order of a folder's files (default: the\n"
    "                         option RecordSort)\n"
    "  --local-time, --no-local-time   list times in this machine's time zone,\n"
    "                         or nine hours after UTC as catalogs keep them, for\n"
    "                         this run (default: the option LocalListTime)\n"
    "  --archives on|off      members of LZH and ZIP archives are listed below\n"
    "                         the archive (default: the option RecordUnzip)\n"
    "  --archive-comments on|off   comments may come from inside archives\n"
    "                         (default: the option CommentUnzip)\n"
    "  --zip on|off           ZIP archives are read at all (default: the option\n"
    "                         UseExtactZip)\n"
    "  --comments on|off      comments generated from the medium's readme and\n"
    "                         index files (default: the option AutoCreate; the\n"
    "                         comment table, device names, magazine labels and\n"
    "                         file rules apply either way)\n"
    "  -q, --quiet            no progress line (it is shown only when stderr is\n"
    "                         a terminal; warnings are always shown)\n"
    "  -h, --help             this text\n"
    "\n"
    "Exit status:\n"
    "  0  the catalog was written\n"
    "  1  refused: the medium is catalogued already (without --replace or --add),\n"
    "     no medium is in the drive, every list number is taken, or --add was\n"
    "     given for a medium too large for one list file\n"
    "  2  bad input (an unknown option, no PATH, a removable medium without\n"
    "     --title), or the reading or the writing failed\n";

}  // namespace

Command readCommand() {
  return {"read", "read [OPTIONS] PATH",
          "catalogues a drive (E:) or folder: --catalog-title TEXT, --title TEXT, --genre N, --replace, --add, "
          "--sort, --[no-]local-time, --archives, --archive-comments, --zip, --comments, --quiet",
          runRead, Help};
}

}  // namespace zevro::cli
