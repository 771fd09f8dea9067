// zevro-cli search [OPTIONS] TERM: searches every catalog of the catalog
// folder as the search window does and prints one line per result row, in
// the order the result grid shows them:
//   title<TAB>path<TAB>date<TAB>comment<TAB>list file name
//   ゲーム集	DOS\README.TXT	99/12/31 23:55	Read me first	_03CD_GAMES.cct
// A TAB, CR or LF inside a field is printed as a blank, so a result is
// always one line. --json prints one object a line with the same fields,
// texts exact:
//   {"title":"ゲーム集","path":"DOS\\README.TXT","date":"99/12/31 23:55","comment":"Read me
//   first","file":"_03CD_GAMES.cct"}
// --export FILE writes the rows, in the same order, to FILE instead, as the
// search window's Save does: CSV when the extension is "CSV" in any case,
// else the text form (search/ResultExport.h), whatever the row count;
// nothing is printed and nothing opened.
// Exit status 0 with hits, 1 without, 2 on bad input.
//
// What no option says comes from the search window's stored settings, as
// the desktop program would search: the switches AlphaSame, HanZenSame,
// UseWildCard and FindTerm, the columns SearchMode (both by default), the
// media MediaMode (all by default) and the genres JanreMode and JanreList
// (all by default). --case and --no-case (and the others alike) override a
// stored switch for this run only; nothing is saved.
//
// Catalogs that cannot be searched (older layout, damaged, unreadable) are
// named on stderr; the others are searched all the same.
#include <cstdlib>
#include <optional>
#include <ostream>

#include "app/cli/CatalogSearch.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "app/cli/TextOutput.h"
#include "core/GenreTable.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "core/Startup.h"
#include "search/CatalogScan.h"
#include "search/ResultExport.h"
#include "search/SearchIndexes.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: search: ";

struct SearchArguments {
  std::string term;
  std::string second;
  Condition condition = Condition::Off;
  unsigned columns = 0;
  unsigned media = 0;
  GenreFilter genres;
  // Unset: the stored switch holds.
  std::optional<bool> caseFold;
  std::optional<bool> widthFold;
  std::optional<bool> pattern;
  std::optional<bool> wholeWord;
  bool json = false;
  bool noIndex = false;  // read every catalog whole, past the search indexes
};

// The switches that turn on with "--NAME" and off with "--no-NAME".
struct SwitchOption {
  const char* name;
  std::optional<bool> SearchArguments::*value;
};
constexpr SwitchOption Switches[] = {
    {"case", &SearchArguments::caseFold},
    {"width", &SearchArguments::widthFold},
    {"pattern", &SearchArguments::pattern},
    {"word", &SearchArguments::wholeWord},
};

// Sets the switch `arg` names ("--case", "--no-case"); false for another argument.
bool takeSwitch(const std::string& arg, SearchArguments& a) {
  for (const SwitchOption& s : Switches) {
    const std::string on = std::string("--") + s.name;
    if (arg == on) {
      a.*s.value = true;
      return true;
    }
    if (arg == "--no-" + on.substr(2)) {
      a.*s.value = false;
      return true;
    }
  }
  return false;
}

std::optional<unsigned> mediaOf(const std::string& text) {
  unsigned bits = 0;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t comma = text.find(',', from);
    if (comma == std::string::npos) comma = text.size();
    std::string name = text.substr(from, comma - from);
    for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (name == "CD")
      bits |= media::CD;
    else if (name == "FD")
      bits |= media::FD;
    else if (name == "HD")
      bits |= media::HD;
    else
      return std::nullopt;
    from = comma + 1;
  }
  return bits;
}

std::optional<int> genreOf(const std::string& text) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::atoi(text.c_str());
  if (n >= GenreTable::Count) return std::nullopt;
  return n;
}

std::string secondTerm(const std::vector<std::string>& args, std::size_t& i, Condition condition, SearchArguments& a) {
  if (a.condition != Condition::Off) return "--and and --or exclude each other, and each comes once";
  if (i + 1 >= args.size()) return args[i] + " needs a second term";
  a.condition = condition;
  a.second = args[++i];
  return {};
}

// An empty text when the arguments are fine, else what is wrong.
std::string parse(const std::vector<std::string>& args, SearchArguments& a) {
  bool haveTerm = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    std::string wrong;
    if (optionsEnded || !isOption(arg)) {
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
        continue;
      }
      if (haveTerm) return "one TERM only (a second one goes after --and or --or)";
      a.term = arg;
      haveTerm = true;
    } else if (takeSwitch(arg, a)) {
    } else if (arg == "--json") {
      a.json = true;
    } else if (arg == "--no-index") {
      a.noIndex = true;
    } else if (arg == "--and") {
      wrong = secondTerm(args, i, Condition::And, a);
    } else if (arg == "--or") {
      wrong = secondTerm(args, i, Condition::Or, a);
    } else if (arg == "--names") {
      a.columns |= column::Name;
    } else if (arg == "--comments") {
      a.columns |= column::Comment;
    } else if (arg == "--media") {
      const std::optional<unsigned> bits = hasValue ? mediaOf(args[++i]) : std::nullopt;
      if (!bits) return "--media needs CD, FD or HD, separated by commas (like CD,HD)";
      a.media |= *bits;
    } else if (arg == "--genre") {
      const std::optional<int> genre = hasValue ? genreOf(args[++i]) : std::nullopt;
      if (!genre) return "--genre needs a genre number from 0 to " + std::to_string(GenreTable::Count - 1);
      if (!a.genres.on) a.genres = {true, Text(GenreTable::Count, u'0')};
      a.genres.list[static_cast<std::size_t>(*genre)] = u'1';
    } else {
      return unknownOption(arg);
    }
    if (!wrong.empty()) return wrong;
  }
  if (!haveTerm) return "what to search for? (search TERM)";
  if (!CatalogScan::termLongEnough(fromUtf8(a.term)))
    return "the term needs two bytes at least (two half-width characters or one full-width)";
  return {};
}

// The stored columns; a value that leaves no column means both.
unsigned storedColumns(const OptionStore& options) {
  const unsigned columns = static_cast<unsigned>(opt::readNumber(options, opt::SearchMode)) & column::Both;
  return columns == 0 ? column::Both : columns;
}
// The stored media filter as it is: values without a rule of their own search all media.
unsigned storedMedia(const OptionStore& options) {
  return static_cast<unsigned>(opt::readNumber(options, opt::MediaMode));
}

const char* skipText(CatalogScan::SkipReason reason) {
  switch (reason) {
    case CatalogScan::SkipReason::OldLayout:
      return "is of the older layout and was not searched (the program converts it when it opens it)";
    case CatalogScan::SkipReason::Damaged: return "is no readable list file and was not searched";
    case CatalogScan::SkipReason::Unreadable: return "cannot be read and was not searched";
  }
  return "";
}

// The names of the printed columns, as --json calls them.
constexpr const char* ColumnNames[] = {"title", "path", "date", "comment", "file"};

void printResults(std::ostream& out, const SearchResults& results, bool json) {
  const RowStore& grid = results.grid();
  std::string line;
  for (int row = 0; row < results.rowCount(); ++row) {
    line.clear();
    const std::string& fileName = results.catalogOf(row)->nativeName;
    if (json) {
      for (int k = 0; k < 4; ++k) {
        line += k == 0 ? "{\"" : ",\"";
        line += ColumnNames[k];
        line += "\":";
        line += jsonString(grid.fieldView(k, row));
      }
      line += ",\"file\":";
      line += jsonString(cp932::fromNativeName(fileName));
      line += '}';
    } else {
      for (int k = 0; k < 4; ++k) {
        line += oneLineField(grid.fieldView(k, row));
        line += '\t';
      }
      line += fileName;
    }
    line += '\n';
    out << line;
  }
}

}  // namespace

int searchCatalogs(Session& session, const std::vector<std::string>& args, SearchResults& results, std::string& wrong,
                   Text& term, bool* json) {
  SearchArguments a;
  wrong = parse(args, a);
  if (!wrong.empty()) return ExitError;
  term = fromUtf8(a.term);
  if (json) *json = a.json;

  if (!session.loadOptions()) return ExitError;
  const OptionStore& options = session.program.options();
  MatchSwitches switches;
  switches.caseFold = a.caseFold.value_or(opt::readBoolean(options, opt::AlphaSame));
  switches.widthFold = a.widthFold.value_or(opt::readBoolean(options, opt::HanZenSame));
  switches.pattern = a.pattern.value_or(opt::readBoolean(options, opt::UseWildCard));
  switches.wholeWord = a.wholeWord.value_or(opt::readBoolean(options, opt::FindTerm));
  const SearchRequest request(fromUtf8(a.term), switches, a.columns == 0 ? storedColumns(options) : a.columns,
                              a.condition, fromUtf8(a.second));
  if (!a.genres.on) a.genres = {opt::readNumber(options, opt::JanreMode) != 0, opt::readText(options, opt::JanreList)};

  const NativePath& catalogFolder = session.program.chooseCatalogFolder();
  CatalogScan scan(session.files, catalogFolder);
  SearchIndexes indexes(session.files, session.program.programFolder(), catalogFolder);
  if (!a.noIndex) scan.useIndexes(&indexes);
  const CatalogScan::Outcome outcome =
      scan.run(request, a.media == 0 ? storedMedia(options) : a.media, a.genres, results);

  std::ostream& err = session.context.err;
  for (const CatalogScan::Skipped& s : outcome.skipped)
    err << session.prefix << "warning: " << cp932::toNativeName(s.fileName) << ' ' << skipText(s.reason)
        << (s.error.empty() ? "" : " (" + s.error + ")") << '\n';
  if (outcome.gridFull) {
    err << session.prefix << "the results fill the memory; the search stopped after " << results.rowCount()
        << " rows\n";
    return ExitError;
  }
  return ExitOk;
}

namespace {

// Takes "--export FILE" out of the arguments (options end at "--"); an
// empty text when it is fine, else what is wrong.
std::string takeExport(std::vector<std::string>& args, std::optional<std::string>& file) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] != "--export") continue;
    if (file) return "--export comes once";
    if (i + 1 >= args.size() || args[i + 1].empty()) return "--export needs a file name";
    file = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return {};
}

int runSearch(Context& context) {
  Session session(context, Prefix);
  RowStore grid;
  SearchResults results(grid);
  std::vector<std::string> args = context.args;
  std::optional<std::string> exportFile;
  std::string wrong = takeExport(args, exportFile);
  if (!wrong.empty()) return usageError(context, "search", wrong);
  Text term;
  bool json = false;
  const int status = searchCatalogs(session, args, results, wrong, term, &json);
  if (!wrong.empty()) return usageError(context, "search", wrong);
  if (status != ExitOk) return status;
  if (exportFile) {
    const NativePath path(*exportFile);
    if (const IoError error = resultexport::writeResults(session.files, path, grid)) {
      context.err << Prefix << "cannot write " << *exportFile << ": " << error.text << '\n';
      return ExitError;
    }
  } else {
    printResults(context.out, results, json);
  }
  return results.rowCount() > 0 ? ExitOk : ExitNone;
}

constexpr const char* Help =
    "Searches every catalog of the catalog folder as the search window does and\n"
    "prints one line a result row: title, path, date, comment and list file,\n"
    "separated by TABs (a TAB or line break inside a field becomes a blank).\n"
    "TERM needs two bytes at least; a TERM starting with \"-\" goes after \"--\".\n"
    "\n"
    "Options:\n"
    "  --and TERM2, --or TERM2   a second term joined by AND or OR\n"
    "  --names, --comments       the columns searched (default: the stored\n"
    "                            SearchMode, both when unset)\n"
    "  --case, --no-case         letters match in any case, or only as written\n"
    "  --width, --no-width       full-width and half-width match each other, or not\n"
    "  --pattern, --no-pattern   * and ? are patterns, or plain characters\n"
    "  --word, --no-word         whole words only, or anywhere\n"
    "                            (each for this run only; without either, the\n"
    "                            search window's stored switch holds)\n"
    "  --media CD,FD,HD          the media searched (default: the stored MediaMode)\n"
    "  --genre N                 a genre searched, 0 to 19 (repeatable; default:\n"
    "                            the stored genres)\n"
    "  --json                    one JSON object a line with the keys title, path,\n"
    "                            date, comment and file (texts exact)\n"
    "  --export FILE             write the rows to FILE instead of printing them:\n"
    "                            CSV with a header when its extension is CSV,\n"
    "                            else fixed text columns (CP932, CR LF)\n"
    "  --no-index                read every catalog whole instead of going by the\n"
    "                            search indexes (the results are the same)\n"
    "  -h, --help                this text\n"
    "\n"
    "Exit status:\n"
    "  0  something was found\n"
    "  1  nothing was found\n"
    "  2  bad input, the option store cannot be read, or the results filled the\n"
    "     memory\n";

}  // namespace

std::optional<unsigned> mediaFilterOf(const std::string& text) { return mediaOf(text); }
std::optional<int> genreNumberOf(const std::string& text) { return genreOf(text); }

Command searchCommand() {
  return {"search", "search [OPTIONS] TERM",
          "searches all catalogs: --and/--or TERM2, --names, --comments, --[no-]case, --[no-]width, "
          "--[no-]pattern, --[no-]word, --media CD,FD,HD, --genre N, --json, --export FILE, --no-index",
          runSearch, Help};
}

}  // namespace zevro::cli
