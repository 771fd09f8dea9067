// zevro-cli export FILE (--csv|--txt) [-o OUT] [--mode 0|1|2|4] [--level 0..4]:
// a list file as the main window exports it, CP932 with CR LF, to stdout or
// OUT (written whole, then renamed into place).
//
// Without --mode and --level every stored row is written in stored order
// (the whole catalog as one tree); with either, the rows the folder pane
// shows after a level build of that display mode (1 when not given) and
// level limit (0, all levels, when not given): modes 0, 2 and 4 show folders only.
//   zevro-cli export _03CD_GAMES.cct --csv -o games.csv
//   zevro-cli export _03CD_GAMES.cct --txt --mode 2 --level 1 > folders.txt
#include <optional>
#include <ostream>
#include <string>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "core/ListExport.h"
#include "listview/DisplayMode.h"
#include "listview/FolderViewBuilder.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "export";

struct Arguments {
  std::string file;
  std::optional<ExportWriter::Form> form;
  std::string out;
  std::optional<int> mode;
  std::optional<int> level;
};

// "2" -> 2 when the text is one of `allowed`.
std::optional<int> oneOf(const std::string& text, std::initializer_list<int> allowed) {
  for (int value : allowed)
    if (text == std::to_string(value)) return value;
  return std::nullopt;
}

std::optional<Arguments> parse(Context& context) {
  Arguments a;
  bool haveFile = false;
  const std::vector<std::string>& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string* {
      if (i + 1 >= args.size()) {
        usageError(context, Name, arg + " needs a value");
        return nullptr;
      }
      return &args[++i];
    };
    if (arg == "--csv" || arg == "--txt") {
      const ExportWriter::Form form = arg == "--csv" ? ExportWriter::Form::Csv : ExportWriter::Form::Text;
      if (a.form && *a.form != form) {
        usageError(context, Name, "give --csv or --txt, not both");
        return std::nullopt;
      }
      a.form = form;
    } else if (arg == "-o" || arg == "--output") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      a.out = *v;
    } else if (arg == "--mode") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      if (!(a.mode = oneOf(*v, {0, 1, 2, 4}))) {
        usageError(context, Name, "--mode takes 0, 1, 2 or 4");
        return std::nullopt;
      }
    } else if (arg == "--level") {
      const std::string* v = value();
      if (!v) return std::nullopt;
      if (!(a.level = oneOf(*v, {0, 1, 2, 3, 4}))) {
        usageError(context, Name, "--level takes 0 (all levels) to 4");
        return std::nullopt;
      }
    } else if (isOption(arg)) {
      usageError(context, Name, unknownOption(arg));
      return std::nullopt;
    } else if (haveFile) {
      usageError(context, Name, "give one list file");
      return std::nullopt;
    } else {
      a.file = arg;
      haveFile = true;
    }
  }
  if (!haveFile) {
    usageError(context, Name, "which list file?");
    return std::nullopt;
  }
  if (a.out.empty() && !a.form) {
    usageError(context, Name, "give --csv or --txt (or -o OUT with the extension)");
    return std::nullopt;
  }
  if (a.out == "-") a.out.clear();
  return a;
}

int runExport(Context& context) {
  const std::optional<Arguments> a = parse(context);
  if (!a) return ExitError;
  LoadedListFile loaded;
  if (int status = loadListFileArgument(context, Name, a->file, loaded)) return status;
  RowStore& list = loaded.list;
  if (a->mode || a->level) {
    if (!catalog::hasFileMarks(list)) list.deriveIndexAndTreeFlags();
    catalog::prepareMarks(list);
    try {
      FolderViewBuilder().buildToLevel(list, DisplayMode::forRows(a->mode.value_or(DisplayMode::FilesInTree), list.rowCount()),
                                       a->level.value_or(0));
    } catch (const std::bad_alloc&) {
      context.err << "zevro-cli: export: out of memory\n";
      return ExitError;
    }
  }
  const NativePath out(a->out);
  const ExportWriter::Form form = a->form.value_or(out.empty() ? ExportWriter::Form::Text : listexport::formOf(out));
  const std::string bytes = listexport::shownRowsBytes(list, form);
  if (out.empty()) {
    context.out << bytes;
    return ExitOk;
  }
  Session session(context, "zevro-cli: export: ");
  if (IoError error = session.files.writeFileAtomic(out, bytes)) {
    context.err << "zevro-cli: export: " << a->out << ": " << error.text << '\n';
    return ExitError;
  }
  return ExitOk;
}

constexpr const char* Help =
    "A list file as text or CSV, as the main window exports it: CP932, lines\n"
    "ending in CR LF. The text form has fixed columns (name 30 with two blanks\n"
    "per level, comment 40, date 8, size 12 right-aligned); the CSV form quotes\n"
    "every value (a quote inside doubled) after the header line\n"
    "\"Folder/File\",\"コメント\",\"日付\",\"サイズ\". FILE is a name in the catalog\n"
    "folder (any case) or a path.\n"
    "\n"
    "Without --mode and --level every stored row is written, in stored order.\n"
    "With either, the rows the folder pane shows after choosing that display\n"
    "mode and level: modes 0, 2 and 4 show folders only.\n"
    "\n"
    "Options:\n"
    "  --csv, --txt    the form; with -o and neither, OUT's extension decides\n"
    "                  (\".csv\" in any case: CSV, anything else: text)\n"
    "  -o OUT          write OUT (whole, then renamed into place) instead of\n"
    "                  stdout; \"-\" is stdout\n"
    "  --mode M        display mode 0, 1, 2 or 4 (default 1, one tree)\n"
    "  --level N       levels shown: 1 to 4, or 0 for all (default 0)\n"
    "  -h, --help      this text\n"
    "\n"
    "Exit status:\n"
    "  0  written\n"
    "  2  bad arguments, no such file, not a valid list file, or OUT not written\n";

}  // namespace

Command exportCommand() {
  return {Name, "export FILE (--csv|--txt) [-o OUT] [--mode M] [--level N]",
          "a list file as text or CSV (CP932), as the main window exports it", runExport, Help};
}

}  // namespace zevro::cli
