#include "app/cli/CompareArguments.h"

#include <cerrno>
#include <charconv>
#include <ostream>

#include "app/cli/CatalogSearch.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/TextOutput.h"
#include "core/GenreTable.h"
#include "core/ListFile.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "search/ListFileBytes.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

std::optional<std::uint64_t> numberOf(const std::string& text) {
  if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoull(text);
}

}  // namespace

std::string parseCompareArguments(const std::vector<std::string>& args, unsigned allowed, CompareArguments& a) {
  using namespace compareoption;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (optionsEnded || !isOption(arg)) {
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
        continue;
      }
      a.files.push_back(arg);
    } else if (arg == "--json" && (allowed & Json)) {
      a.json = true;
    } else if (arg == "--members" && (allowed & Members)) {
      a.filters.members = true;
    } else if (arg == "--same-medium" && (allowed & SameMedium)) {
      a.filters.sameMedium = true;
    } else if (arg == "--by" && (allowed & By)) {
      const std::string by = hasValue ? args[++i] : "";
      if (by == "name,size") {
        a.filters.by = SameFileKey::By::NameSize;
      } else if (by == "name,size,date") {
        a.filters.by = SameFileKey::By::NameSizeDate;
      } else {
        return "--by needs name,size or name,size,date";
      }
    } else if (arg == "--min-size" && (allowed & MinSize)) {
      const std::optional<std::uint64_t> n = hasValue ? numberOf(args[++i]) : std::nullopt;
      if (!n) return "--min-size needs a number of bytes";
      a.filters.minSize = *n;
    } else if (arg == "--media" && (allowed & Media)) {
      const std::optional<unsigned> bits = hasValue ? mediaFilterOf(args[++i]) : std::nullopt;
      if (!bits) return "--media needs CD, FD or HD, separated by commas (like CD,HD)";
      a.filters.media = (a.mediaGiven ? a.filters.media : 0u) | *bits;
      a.mediaGiven = true;
    } else if (arg == "--genre" && (allowed & Genre)) {
      const std::optional<int> genre = hasValue ? genreNumberOf(args[++i]) : std::nullopt;
      if (!genre) return "--genre needs a genre number from 0 to " + std::to_string(GenreTable::Count - 1);
      if (!a.filters.genres.on) a.filters.genres = {true, Text(GenreTable::Count, u'0')};
      a.filters.genres.list[static_cast<std::size_t>(*genre)] = u'1';
    } else {
      return unknownOption(arg);
    }
  }
  return {};
}

bool fillStoredFilters(Session& session, CompareArguments& a) {
  if (!session.loadOptions()) return false;
  const OptionStore& options = session.program.options();
  if (!a.mediaGiven) a.filters.media = static_cast<unsigned>(opt::readNumber(options, opt::MediaMode));
  if (!a.filters.genres.on)
    a.filters.genres = {opt::readNumber(options, opt::JanreMode) != 0, opt::readText(options, opt::JanreList)};
  return true;
}

void warnSkipped(Session& session, const std::vector<CatalogScan::Skipped>& skipped) {
  for (const CatalogScan::Skipped& s : skipped) {
    const char* why = s.reason == CatalogScan::SkipReason::OldLayout ? "is of the older layout and was not read"
                      : s.reason == CatalogScan::SkipReason::Damaged ? "is no readable list file and was not read"
                                                                     : "cannot be read";
    session.context.err << session.prefix << "warning: " << cp932::toNativeName(s.fileName) << ' ' << why
                        << (s.error.empty() ? "" : " (" + s.error + ")") << '\n';
  }
}

int viewListFile(Session& session, const std::string& argument, FileView& view, Text& fileName) {
  const NativePath path = locateListFile(session, argument);
  std::ostream& err = session.context.err;
  const std::string where = session.prefix + argument + ": ";
  if (const std::optional<DirEntry> seen = session.files.stat(path); seen && seen->size > listfile::MaxFileSize) {
    err << where << "larger than any list file\n";
    return ExitError;
  }
  if (const IoError e = session.files.viewFile(path, view)) {
    err << where << (e.code == ENOENT ? "no such list file" : e.text) << '\n';
    return ExitError;
  }
  switch (ListFileBytes(view.bytes()).layout()) {
    case ListFileBytes::Layout::Current: break;
    case ListFileBytes::Layout::Old:
      err << where << "list file of the old layout \"AX\", not converted yet\n";
      return ExitError;
    case ListFileBytes::Layout::Damaged: err << where << "not a valid list file\n"; return ExitError;
  }
  fileName = cp932::fromNativeName(path.filename().native());
  return ExitOk;
}

void printFoundRows(std::ostream& out, const FoundFiles& found, bool withGroups, bool json) {
  std::vector<int> groupOf(found.rows.size(), 0);
  for (std::size_t g = 0; g < found.groups.size(); ++g) {
    const FileGroup& group = found.groups[g];
    for (int i = group.first; i < group.first + group.count; ++i)
      groupOf[static_cast<std::size_t>(i)] = static_cast<int>(g) + 1;
  }
  // Lines gather in one buffer that goes out in large writes: hundreds of
  // thousands of rows are usual here.
  constexpr std::size_t WriteAt = 1 << 20;
  std::string lines;
  lines.reserve(WriteAt + 4096);
  const auto number = [&lines](std::uint64_t n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    lines.append(digits, end);
  };
  // A catalog's title is on every row of it: written out once.
  std::vector<std::string> titles;
  if (!json) {
    titles.reserve(found.catalogs.size());
    for (const SearchListEntry& catalog : found.catalogs) titles.push_back(oneLineField(catalog.title));
  }
  for (std::size_t i = 0; i < found.rows.size(); ++i) {
    // Rows in group order lie far apart in the texts: the memory of those a
    // few rows on is asked for early.
    if (constexpr std::size_t Ahead = 8; i + Ahead < found.rows.size()) {
      const TextView ahead = found.pathOf(found.rows[i + Ahead]);
      __builtin_prefetch(ahead.data());
      __builtin_prefetch(ahead.data() + ahead.size());
    }
    const FoundRow& r = found.rows[i];
    const SearchListEntry& catalog = found.catalogs[static_cast<std::size_t>(r.catalog)];
    if (json) {
      lines += '{';
      if (withGroups) {
        lines += "\"group\":";
        number(static_cast<std::uint64_t>(groupOf[i]));
        lines += ',';
      }
      lines += "\"size\":";
      number(r.size);
      lines += ",\"name\":" + jsonString(found.nameOf(r));
      lines += ",\"title\":" + jsonString(catalog.title);
      lines += ",\"path\":" + jsonString(found.pathOf(r));
      lines += ",\"date\":" + jsonString(found.dateOf(r));
      lines += ",\"file\":" + jsonString(catalog.fileName);
      lines += '}';
    } else {
      if (withGroups) {
        number(static_cast<std::uint64_t>(groupOf[i]));
        lines += '\t';
      }
      number(r.size);
      lines += '\t';
      appendOneLineField(found.nameOf(r), lines);
      lines += '\t';
      lines += titles[static_cast<std::size_t>(r.catalog)];
      lines += '\t';
      appendOneLineField(found.pathOf(r), lines);
      lines += '\t';
      appendOneLineField(found.dateOf(r), lines);
      lines += '\t';
      lines += catalog.nativeName;
    }
    lines += '\n';
    if (lines.size() >= WriteAt) {
      out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
      lines.clear();
    }
  }
  out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
}

}  // namespace zevro::cli
