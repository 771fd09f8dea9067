// zevro-cli print FILE --pdf OUT.pdf: prints a catalog as the print window
// does, into a PDF file, with no display (Qt Gui on the offscreen platform):
//   zevro-cli print _03CD_GAMES.cct --pdf games.pdf          pages	4
//   zevro-cli print --search README --media CD --pdf hits.pdf
//
// The list prints as the one-tree view with every level open (every stored
// row in stored order, folders and files); --folders-only as the folders
// view; --files-of PATH the files of one folder, under a folder line. The
// search prints the rows `zevro-cli search` finds, in its order.
//
// The settings are the print window's stored ones (RomanFont, SizeIndex …),
// each overridable for this run with --set KEY=VALUE; nothing is saved. The
// PDF has no unprintable margin: the page is the whole sheet. It is written
// to a temporary file and renamed when complete.
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <unistd.h>

#include "app/cli/CatalogSearch.h"
#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "core/Strings.h"
#include "grid/GridModel.h"
#include "listview/DisplayMode.h"
#include "listview/FilePane.h"
#include "listview/FolderViewBuilder.h"
#include "print/GridPrint.h"
#include "print/paint/QtPrevPrint.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: print: ";

// The keys --set may give.
constexpr TextView SettingKeys[] = {opt::RomanFont, opt::BoldFont, opt::SizeIndex, opt::GapIndex,
                                    opt::PrnTree,   opt::PrnComment, opt::SwapDate, opt::PrnVline,
                                    opt::PrnHline,  opt::PrnFrame,  opt::PrnWrap};

struct Paper {
  const char* name;
  QPageSize::PageSizeId id;
};
constexpr Paper Papers[] = {
    {"A4", QPageSize::A4}, {"A3", QPageSize::A3}, {"B5", QPageSize::JisB5}, {"Letter", QPageSize::Letter}};

struct PrintArguments {
  std::string file;
  std::string pdf;
  bool search = false;
  std::string searchTerm;
  std::vector<std::string> searchArgs;  // what goes to the search
  int items = PrintSettings::FoldersAndFiles;
  std::string filesOf;
  std::vector<std::pair<Text, Text>> sets;
  std::optional<int> from;
  std::optional<int> to;
  QPageSize::PageSizeId paper = QPageSize::A4;
};

std::optional<int> wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size() || text.find_first_not_of("0123456789", i) != std::string::npos) return std::nullopt;
  return std::atoi(text.c_str());
}

std::string takeSet(const std::string& value, PrintArguments& a) {
  const std::size_t eq = value.find('=');
  const std::string wrongKey = "--set needs KEY=VALUE with one of the keys RomanFont, BoldFont, SizeIndex, GapIndex, "
                               "PrnTree, PrnComment, SwapDate, PrnVline, PrnHline, PrnFrame, PrnWrap";
  if (eq == std::string::npos) return wrongKey;
  const Text key = fromUtf8(value.substr(0, eq));
  for (TextView known : SettingKeys) {
    if (asciiLower(known) != asciiLower(key)) continue;
    if (!wholeNumber(value.substr(eq + 1))) return "--set " + value.substr(0, eq) + " needs a whole number (like -1 or 0)";
    a.sets.emplace_back(Text(known), fromUtf8(value.substr(eq + 1)));
    return {};
  }
  return wrongKey;
}

// An empty text when the arguments are fine, else what is wrong.
std::string parse(const std::vector<std::string>& args, PrintArguments& a) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  bool mode = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (optionsEnded) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--pdf") {
      if (!hasValue) return "--pdf needs the PDF file to write";
      a.pdf = args[++i];
    } else if (arg == "--search") {
      if (!hasValue) return "--search needs the term";
      if (a.search) return "--search comes once (a second term goes after --and or --or)";
      a.search = true;
      a.searchTerm = args[++i];
    } else if (arg == "--folders-only" || arg == "--files-of") {
      if (mode) return "--folders-only and --files-of exclude each other, and each comes once";
      mode = true;
      if (arg == "--folders-only") {
        a.items = PrintSettings::FoldersOnly;
      } else {
        if (!hasValue) return "--files-of needs the path of a folder in the catalog (like DOCS\\MANUALS)";
        a.items = PrintSettings::FilesOnly;
        a.filesOf = args[++i];
      }
    } else if (arg == "--set") {
      if (!hasValue) return "--set needs KEY=VALUE";
      if (std::string wrong = takeSet(args[++i], a); !wrong.empty()) return wrong;
    } else if (arg == "--from" || arg == "--to") {
      const std::optional<int> n = hasValue ? wholeNumber(args[++i]) : std::nullopt;
      if (!n) return arg + " needs a page number";
      (arg == "--from" ? a.from : a.to) = *n;
    } else if (arg == "--paper") {
      const Paper* found = nullptr;
      for (const Paper& p : Papers)
        if (hasValue && asciiLower(fromUtf8(args[i + 1])) == asciiLower(ascii(p.name))) found = &p;
      if (!found) return "--paper needs A4, A3, B5 or Letter";
      a.paper = found->id;
      ++i;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (isOption(arg)) {
      // The search's own options go to the search, which checks them.
      static const char* const searchOptions[] = {
          "--names", "--comments", "--case", "--no-case", "--width", "--no-width", "--pattern", "--no-pattern",
          "--word", "--no-word"};
      static const char* const withValue[] = {"--and", "--or", "--media", "--genre"};
      bool known = false;
      for (const char* o : searchOptions) known |= arg == o;
      a.searchArgs.push_back(arg);
      for (const char* w : withValue) {
        if (arg != w) continue;
        known = true;
        if (hasValue) a.searchArgs.push_back(args[++i]);
      }
      if (!known) return unknownOption(arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (a.pdf.empty()) return "where to? (--pdf OUT.pdf)";
  const int from = a.from.value_or(1);
  if (from < 1 || from > 100) return "--from needs a page from 1 to 100";
  if (a.to && (*a.to < from || *a.to > 200)) return "--to needs a page from the --from page to 200";
  if (a.search) {
    if (!positional.empty()) return "a search prints no list file (" + positional.front() + ")";
    if (mode) return "--folders-only and --files-of print a list file, not a search";
    // The term last, after "--": it may start with "-".
    a.searchArgs.push_back("--");
    a.searchArgs.push_back(a.searchTerm);
    return {};
  }
  if (!a.searchArgs.empty()) return a.searchArgs.front() + " goes with --search";
  if (positional.empty()) return "which list file? (or --search TERM)";
  if (positional.size() > 1) return "one list file only";
  a.file = positional.front();
  return {};
}

// "_03CD_GAMES.cct" -> "CD".
Text mediumLetters(const NativePath& path) {
  const std::string name = path.filename().string();
  const Text base = fromUtf8(name.substr(0, name.rfind('.')));
  return asciiUpper(base.size() >= 5 ? base.substr(3, 2) : Text());
}

// The temporary file beside OUT.pdf, renamed when the PDF is complete.
class PdfFile {
public:
  explicit PdfFile(std::string out) : out_(std::move(out)), temp_(out_ + ".part" + std::to_string(getpid())) {}
  ~PdfFile() {
    if (!kept_) std::remove(temp_.c_str());
  }
  const std::string& temp() const { return temp_; }
  bool keep() {
    kept_ = std::rename(temp_.c_str(), out_.c_str()) == 0;
    return kept_;
  }

private:
  std::string out_;
  std::string temp_;
  bool kept_ = false;
};

struct Job {
  PrintSettings settings;
  Text title;
  Text folderText;
};

int print(Context& context, Session& session, const PrintArguments& a, const PrintSource& source, const Job& job,
          bool find) {
  if (source.rowCount() == 0) {
    context.err << Prefix << "nothing printed: there are no rows\n";
    return ExitNone;
  }
  // No display is needed, nor wanted; what goes wrong is told in the
  // command's own words, not in Qt's notes about the session.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static int argc = 1;
  static char name[] = "zevro-cli";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

  PdfFile file(a.pdf);
  int pages = 0;
  GridPrint::Outcome outcome;
  {
    QPdfWriter writer(QString::fromStdString(file.temp()));
    writer.setPageSize(QPageSize(a.paper));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("ZEVRO"));
    writer.setTitle(QString::fromUtf8(toUtf8(job.title)));
    QtPrevPrint device(writer);
    device.setPreview(false);
    GridPrint layout(device, session.ui);
    outcome = find ? layout.DrawFindPages(source, job.settings, job.title, 9000)
                   : layout.DrawListPages(source, job.settings, job.title, job.folderText, 9000);
    device.endJob();
    pages = device.pagesPrinted();
    if (device.printerFailed()) {
      context.err << Prefix << a.pdf << ": cannot be written\n";
      return ExitNone;
    }
  }
  // The layout has told what went wrong (the comment column, a font) on stderr.
  if (outcome.refused || outcome.fontError) return ExitNone;
  if (pages == 0) {
    context.err << Prefix << "nothing printed: no page in the range (the list has " << outcome.laidOut
                << " pages)\n";
    return ExitNone;
  }
  if (!file.keep()) {
    context.err << Prefix << a.pdf << ": cannot be written\n";
    return ExitNone;
  }
  context.out << "pages\t" << pages << '\n';
  return ExitOk;
}

int runPrint(Context& context) {
  PrintArguments a;
  if (std::string wrong = parse(context.args, a); !wrong.empty()) return usageError(context, "print", wrong);

  Session session(context, Prefix);
  Job job;
  if (a.search) {
    RowStore grid;
    SearchResults results(grid);
    std::string wrong;
    Text term;
    const int status = searchCatalogs(session, a.searchArgs, results, wrong, term);
    if (!wrong.empty()) return usageError(context, "print", wrong);
    if (status != ExitOk) return status;
    for (const auto& [key, value] : a.sets) session.program.options().writeText(key, value);
    job.settings = PrintSettings::fromOptions(session.program.options());
    job.title = u"検索結果【" + term + u"】";
    // Result rows carry their medium (1 CD, 2 floppy, 3 hard disk): the
    // medium's picture of the print marks.
    RowStorePrintSource source(grid, {0, 2, 3, 4}, 4);
    return print(context, session, a, source, job, true);
  }

  LoadedListFile loaded;
  if (int status = loadListFileArgument(context, "print", a.file, loaded)) return status;
  if (!session.loadOptions()) return ExitError;
  for (const auto& [key, value] : a.sets) session.program.options().writeText(key, value);
  job.settings = PrintSettings::fromOptions(session.program.options());
  job.settings.items = a.items;
  if (a.from || a.to) {
    job.settings.allPages = false;
    job.settings.rangeStart = a.from.value_or(1);
    job.settings.rangeEnd = a.to.value_or(0);
  }
  RowStore& list = loaded.list;
  job.title = mediumLetters(loaded.path) + u": " + list.field(catalog::FieldComment, 0);

  // Icons 1 to 4 are the print marks; the lists' strip is not drawn here.
  const std::vector<int> iconMap{0, 1, 2, 3, 4, 0, 0};
  if (a.items == PrintSettings::FilesOnly) {
    const Text path = fromUtf8(a.filesOf);
    const int folder = path.empty() ? 0 : list.findRowByPath(path, 1);
    if (folder < 0 || !catalog::isFolderLike(list.kind(folder)))
      return usageError(context, "print", "no folder " + a.filesOf + " in the catalog");
    RowStore files;
    GridModel fileGrid(files);
    FilePane pane(fileGrid);
    GridUpdate update;
    pane.fill(list, folder, true, update);
    job.folderText = path;
    RowStorePrintSource source(files, iconMap, 4);
    return print(context, session, a, source, job, false);
  }
  if (a.items == PrintSettings::FoldersOnly) {
    FolderViewBuilder().buildToLevel(list, 0, 0);
  } else {
    std::vector<std::int32_t> every(static_cast<std::size_t>(list.rowCount()));
    for (int r = 0; r < list.rowCount(); ++r) every[static_cast<std::size_t>(r)] = r;
    list.setDisplayOrder(std::move(every));
  }
  RowStorePrintSource source(list, iconMap, 4);
  return print(context, session, a, source, job, false);
}

constexpr const char* Help =
    "Prints a list file, or what a search finds, into a PDF file as the print\n"
    "window prints it: a title, the page number, the columns with their band,\n"
    "tree lines and icons, rules and a frame. No display is needed. FILE is a\n"
    "name in the catalog folder (any case) or a path.\n"
    "\n"
    "What is printed:\n"
    "  FILE                      every row of the list, folders and files as one\n"
    "                            tree with every level open\n"
    "  --folders-only            the folders only\n"
    "  --files-of PATH           the files of the folder PATH (like DOCS\\MANUALS)\n"
    "  --search TERM [OPTIONS]   the rows `zevro-cli search TERM OPTIONS` finds,\n"
    "                            in its order (the search's options apply)\n"
    "\n"
    "Options:\n"
    "  --pdf OUT.pdf             the PDF file to write (required); written whole\n"
    "                            or not at all\n"
    "  --from S, --to E          the pages printed: from S (1 to 100) to E (S to\n"
    "                            200); default every page\n"
    "  --paper A4|A3|B5|Letter   the sheet, portrait (default A4; B5 is JIS B5)\n"
    "  --set KEY=VALUE           a print setting for this run, in its stored form:\n"
    "                            RomanFont (-1 Mincho, 0 Gothic), BoldFont,\n"
    "                            SizeIndex (0..4: 9 to 12 points), GapIndex (0..3:\n"
    "                            1.2 to 1.8 lines), PrnTree, PrnComment, SwapDate,\n"
    "                            PrnVline, PrnHline, PrnFrame, PrnWrap (-1 on, 0\n"
    "                            off); the stored settings hold otherwise\n"
    "  -h, --help                this text\n"
    "\n"
    "Prints \"pages<TAB>N\" when done.\n"
    "\n"
    "Exit status:\n"
    "  0  printed\n"
    "  1  nothing printed (no rows, no page in the range, the comment column too\n"
    "     narrow, a font missing); no file is written\n"
    "  2  bad arguments, or not a valid list file\n";

}  // namespace

Command printCommand() {
  return {"print", "print FILE|--search TERM --pdf OUT.pdf",
          "prints a list or a search into a PDF: --folders-only, --files-of PATH, --from S, --to E, --paper, "
          "--set KEY=VALUE",
          runPrint, Help};
}

}  // namespace zevro::cli
