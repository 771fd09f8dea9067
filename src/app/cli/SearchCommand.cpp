// zevro-cli search [OPTIONS] TERM: searches every catalog of the catalog
// folder as the search window does and prints one line per result row, in
// the order the result grid shows them:
//   title<TAB>path<TAB>date<TAB>comment<TAB>list file name
//   ゲーム集	DOS\README.TXT	99/12/31 23:55	Read me first	_03CD_GAMES.cct
// A TAB, CR or LF inside a field is printed as a blank, so a result is
// always one line. Exit status 0 with hits, 1 without, 2 on bad input.
//
// Options:
//   --and TERM2 / --or TERM2   a second term joined by AND or OR
//   --names / --comments       the columns searched
//   --case --width --pattern --word
//                              switch case folding, width folding, patterns
//                              and whole words on
//   --media CD,FD,HD           the media searched
//   --genre N                  a genre searched (0..19, repeatable)
// What no option says comes from the search window's stored settings, as
// the desktop program would search: the switches AlphaSame, HanZenSame,
// UseWildCard and FindTerm, the columns SearchMode (both by default), the
// media MediaMode (all by default) and the genres JanreMode and JanreList
// (all by default).
//
// Catalogs that cannot be searched (older layout, damaged, unreadable) are
// named on stderr; the others are searched all the same.
#include <cstdlib>
#include <optional>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "app/cli/TextOutput.h"
#include "core/GenreTable.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "core/Startup.h"
#include "search/CatalogScan.h"
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
  bool caseFold = false;
  bool widthFold = false;
  bool pattern = false;
  bool wholeWord = false;
};

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
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    std::string wrong;
    if (arg == "--and") {
      wrong = secondTerm(args, i, Condition::And, a);
    } else if (arg == "--or") {
      wrong = secondTerm(args, i, Condition::Or, a);
    } else if (arg == "--names") {
      a.columns |= column::Name;
    } else if (arg == "--comments") {
      a.columns |= column::Comment;
    } else if (arg == "--case") {
      a.caseFold = true;
    } else if (arg == "--width") {
      a.widthFold = true;
    } else if (arg == "--pattern") {
      a.pattern = true;
    } else if (arg == "--word") {
      a.wholeWord = true;
    } else if (arg == "--media") {
      const std::optional<unsigned> bits = hasValue ? mediaOf(args[++i]) : std::nullopt;
      if (!bits) return "--media needs CD, FD or HD, separated by commas (like CD,HD)";
      a.media |= *bits;
    } else if (arg == "--genre") {
      const std::optional<int> genre = hasValue ? genreOf(args[++i]) : std::nullopt;
      if (!genre) return "--genre needs a genre number from 0 to " + std::to_string(GenreTable::Count - 1);
      if (!a.genres.on) a.genres = {true, Text(GenreTable::Count, u'0')};
      a.genres.list[static_cast<std::size_t>(*genre)] = u'1';
    } else if (arg.starts_with("--")) {
      return "unknown option " + arg;
    } else if (haveTerm) {
      return "one TERM only (a second one goes after --and or --or)";
    } else {
      a.term = arg;
      haveTerm = true;
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

void printResults(std::ostream& out, const SearchResults& results) {
  const RowStore& grid = results.grid();
  std::string line;
  for (int row = 0; row < results.rowCount(); ++row) {
    line.clear();
    for (int k = 0; k < 4; ++k) {
      line += oneLineField(grid.fieldView(k, row));
      line += '\t';
    }
    line += results.catalogOf(row)->nativeName;
    line += '\n';
    out << line;
  }
}

int runSearch(Context& context) {
  SearchArguments a;
  if (std::string wrong = parse(context.args, a); !wrong.empty()) {
    context.err << Prefix << wrong << '\n';
    return ExitError;
  }

  Session session(context, Prefix);
  if (!session.loadOptions()) return ExitError;
  const OptionStore& options = session.program.options();
  MatchSwitches switches;
  switches.caseFold = a.caseFold || opt::readBoolean(options, opt::AlphaSame);
  switches.widthFold = a.widthFold || opt::readBoolean(options, opt::HanZenSame);
  switches.pattern = a.pattern || opt::readBoolean(options, opt::UseWildCard);
  switches.wholeWord = a.wholeWord || opt::readBoolean(options, opt::FindTerm);
  const SearchRequest request(fromUtf8(a.term), switches, a.columns == 0 ? storedColumns(options) : a.columns,
                              a.condition, fromUtf8(a.second));
  if (!a.genres.on) a.genres = {opt::readNumber(options, opt::JanreMode) != 0, opt::readText(options, opt::JanreList)};

  RowStore grid;
  SearchResults results(grid);
  CatalogScan scan(session.files, session.program.chooseCatalogFolder());
  const CatalogScan::Outcome outcome =
      scan.run(request, a.media == 0 ? storedMedia(options) : a.media, a.genres, results);

  printResults(context.out, results);
  for (const CatalogScan::Skipped& s : outcome.skipped)
    context.err << Prefix << "warning: " << cp932::toNativeName(s.fileName) << ' ' << skipText(s.reason)
                << (s.error.empty() ? "" : " (" + s.error + ")") << '\n';
  if (outcome.gridFull) {
    context.err << Prefix << "the results fill the memory; the search stopped after " << results.rowCount()
                << " rows\n";
    return ExitError;
  }
  return results.rowCount() > 0 ? ExitOk : ExitNone;
}

}  // namespace

Command searchCommand() {
  return {"search", "search [OPTIONS] TERM",
          "searches all catalogs: --and/--or TERM2, --names, --comments, --case, --width, --pattern, --word, "
          "--media CD,FD,HD, --genre N",
          runSearch};
}

}  // namespace zevro::cli
