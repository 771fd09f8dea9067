#include "media/ArchiveContents.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/CatalogList.h"
#include "core/Numbers.h"
#include "core/Strings.h"

namespace zevro {

namespace {

// Files whose text may describe the archive, as in a folder: DOC, TXT, WRI,
// ME, BBS, DIZ (not copyright, licence or history texts) and "readme".
bool isCommentCandidate(TextView name) {
  const Text ext = asciiUpper(extensionOf(name));
  const TextView base = ext.empty() ? name : name.substr(0, name.size() - ext.size() - 1);
  if (ext.empty()) return asciiLower(base) == u"readme";
  static constexpr TextView Types[] = {u"DOC", u"TXT", u"WRI", u"ME", u"BBS", u"DIZ"};
  static constexpr TextView Excluded[] = {u"copyrite", u"license", u"history"};
  if (std::find(std::begin(Types), std::end(Types), TextView(ext)) == std::end(Types)) return false;
  const Text lower = asciiLower(base);
  return std::find(std::begin(Excluded), std::end(Excluded), TextView(lower)) == std::end(Excluded);
}

// The folder components of a member path: u"a/b/c.txt" -> {a, b};
// a folder entry u"a/b/" -> {a, b}.
std::vector<TextView> foldersOf(TextView path) {
  std::vector<TextView> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != u'/') continue;
    if (i > start) parts.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  return parts;
}

TextView lastPart(TextView path) {
  const std::size_t slash = path.rfind(u'/');
  return slash == TextView::npos ? path : path.substr(slash + 1);
}

}  // namespace

Text ArchiveContents::memberKey(TextView path, WalkOrder order) {
  if (order == WalkOrder::Name) return Text(path);
  if (order == WalkOrder::Kind && !path.empty() && path.back() == u'/') return Text(path);
  const TextView name = lastPart(path);
  Text key(path.substr(0, path.size() - name.size()));
  key += FolderWalker::sortKey(name, order);
  return key;
}

int ArchiveContents::kindOf(TextView name) {
  const Text ext = extensionOf(name);
  const auto [it, added] = kinds_.try_emplace(ext, 0);
  if (added) it->second = icons_.IconCodeOf(ext);
  return it->second;
}

bool ArchiveContents::append(TextView name, TextView date, TextView size, int kind, int level, RowStore& store) {
  if (level > RowStore::MaxLevel) return true;  // deeper than a list holds: left out
  Text record = catalog::buildRecord({name, {}, date, size, record::NoFlagsText});
  record.push_back(record::marker(catalog::FieldMediumName));
  return store.appendShown(record, catalog::colourIndexFor(kind, level), catalog::HighlightNone, kind, level);
}

bool ArchiveContents::WalkArchive(const ArchiveVisit& visit, RowStore& store) {
  candidates_.assign(1, u'\t');
  // The lister lives as long as the program; the icon table may have changed
  // since the last archive.
  kinds_.clear();
  const ArchiveType type = archiveTypeOf(visit.name);
  if (type != ArchiveType::Lzh && type != ArchiveType::Zip) return false;
  const bool listMembers = options_.recordMembers || visit.medium;
  if (type == ArchiveType::Zip && !options_.zip && !visit.medium) return false;
  if (!listMembers && !options_.comments) return false;
  if (!reader_.available(type) || !visit.file) return false;
  const ArchiveListing listing = reader_.list(*visit.file, type);
  if (!listing.opened) return false;

  const std::vector<ArchiveMember>& members = listing.members;
  // Sizes by upper-case path; the first of duplicated paths wins.
  std::unordered_map<Text, std::uint64_t> sizes;
  sizes.reserve(members.size());
  for (const ArchiveMember& m : members) {
    sizes.try_emplace(asciiUpper(m.path), m.size);
    if (!m.directory && isCommentCandidate(lastPart(m.path))) {
      candidates_ += asciiLower(m.path);
      candidates_.push_back(u'\t');
    }
  }

  // The archive row: a folder row with the archive's own date and size.
  if (!visit.medium) {
    const int kind = visit.kind > 0 ? visit.kind : kindOf(visit.name);
    Text record = catalog::buildRecord({visit.name, visit.comment, visit.date,
                                        groupedNumber(static_cast<std::int64_t>(visit.size)), record::NoFlagsText});
    record.push_back(record::marker(catalog::FieldMediumName));
    if (!store.appendShown(record, catalog::colourIndexFor(kind, visit.level), catalog::HighlightNone, kind,
                           visit.level))
      return false;
  }
  if (!listMembers) return true;

  std::vector<Text> keys;
  keys.reserve(members.size());
  for (const ArchiveMember& m : members) keys.push_back(asciiLower(memberKey(m.path, options_.sortOrder)));
  std::vector<std::size_t> order(members.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

  std::vector<TextView> previous;
  Text date;
  for (std::size_t i : order) {
    const ArchiveMember& m = members[i];
    const std::vector<TextView> folders = foldersOf(m.path);
    std::size_t same = 0;
    while (same < folders.size() && same < previous.size() && folders[same] == previous[same]) ++same;
    for (std::size_t f = same; f < folders.size(); ++f) {
      if (!append(folders[f], {}, {}, catalog::KindArchiveFolder, visit.level + 1 + static_cast<int>(f), store)) {
        if (visit.listFull) visit.listFull();
        return true;
      }
    }
    previous = folders;
    if (visit.countMember && !visit.countMember()) return true;
    if (m.directory) continue;
    const TextView name = lastPart(m.path);
    const auto size = sizes.find(asciiUpper(m.path));
    m.time.writeRowText(date);
    if (!append(name, date, groupedNumber(static_cast<std::int64_t>(size == sizes.end() ? 0 : size->second)),
                kindOf(name), visit.level + 1 + static_cast<int>(folders.size()), store)) {
      if (visit.listFull) visit.listFull();
      return true;
    }
  }
  return true;
}

}  // namespace zevro
