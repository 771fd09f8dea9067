#include "core/CatalogList.h"

#include <algorithm>

namespace zevro::catalog {

void assignColourIndexes(RowStore& store) {
  const int rows = store.rowCount();
  for (int r = 0; r < rows; ++r) store.setColour(r, colourIndexFor(store.kind(r), store.level(r)));
}

namespace {

constexpr int FileMarks = TreeHasFiles | TreeFilesHidden;

int withBit(int flags, int bit, bool on) { return on ? flags | bit : flags & ~bit; }

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// ".LZH" or ".ZIP" at the end of the name, any case: archives whose
// contents were recorded below them.
bool isArchiveName(TextView name) {
  if (name.size() < 4) return false;
  const TextView tail = name.substr(name.size() - 4);
  char16_t t[4];
  for (std::size_t i = 0; i < 4; ++i) t[i] = upper(tail[i]);
  const TextView ending(t, 4);
  return ending == u".LZH" || ending == u".ZIP";
}

// A file row one level (or more) deeper follows the row directly.
bool followedByFile(const RowStore& store, int row) {
  const int next = row + 1;
  return next < store.rowCount() && store.level(next) > store.level(row) && !isFolderLike(store.kind(next));
}

}  // namespace

void prepareMarks(RowStore& store) {
  const int rows = store.rowCount();
  for (int r = 0; r < rows; ++r) {
    const int kind = store.kind(r);
    store.setColour(r, colourIndexFor(kind, store.level(r)));
    int flags = store.treeFlags(r);
    const bool files = followedByFile(store, r);
    if (isFolderLike(kind)) {
      flags = withBit(flags, TreeHasFiles, files);
    } else if (files && store.level(r + 1) == store.level(r) + 1 && isArchiveName(store.fieldView(FieldName, r))) {
      flags |= FileMarks;  // an archive's contents start hidden
    } else {
      flags &= ~TreeHasFiles;
    }
    if ((flags & TreeHasFiles) == 0) flags &= ~TreeFilesHidden;
    store.setTreeFlags(r, flags);
  }
}

bool hasFileMarks(const RowStore& store) {
  const int rows = store.rowCount();
  for (int r = 0; r < rows; ++r)
    if (store.treeFlags(r) & TreeHasFiles) return true;
  return false;
}

void makeCatalogList(RowStore& store) {
  store.setTreeMode(true);
  store.setFolderAware(true);
}

Text buildRecord(std::span<const TextView> fields) {
  Text record;
  buildRecordInto(record, fields);
  return record;
}

void buildRecordInto(Text& record, std::span<const TextView> fields) {
  std::size_t used = 1;  // field 0's marker is always written
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (!fields[k].empty()) used = k + 1;
  }
  used = std::min<std::size_t>(used, RowStore::MaxField + 1);
  // A reading builds a record for every file: one allocation, and a field
  // without control characters (nearly all) copied as it is.
  std::size_t size = used;
  for (std::size_t k = 0; k < used && k < fields.size(); ++k) size += fields[k].size();
  record.clear();
  record.reserve(size + 1);  // and an empty field's marker that a caller adds
  for (std::size_t k = 0; k < used; ++k) {
    record.push_back(record::marker(static_cast<int>(k)));
    if (k >= fields.size()) continue;
    const TextView field = fields[k];
    const bool plain = std::none_of(field.begin(), field.end(),
                                    [](char16_t c) { return c < 32 && c != ch::CR && c != ch::LF; });
    if (plain)
      record += field;
    else
      record += RowStore::escapeFieldText(field);
  }
}

Text buildRecord(std::initializer_list<TextView> fields) {
  return buildRecord(std::span<const TextView>(fields.begin(), fields.size()));
}

}  // namespace zevro::catalog
