#include "listview/SortKeys.h"

#include "core/CatalogList.h"
#include "core/Strings.h"
#include "media/ExtensionGroups.h"

namespace zevro {

namespace {

// Lower-case folding keeps "_" and the other ASCII signs before the letters.
char16_t folded(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= u'Ａ' && c <= u'Ｚ') return static_cast<char16_t>(c - u'Ａ' + u'ａ');
  return c;
}

void appendExtensionKey(TextView name, bool withGroup, Text& out) {
  const Text extension = extensionOf(name, true);  // at most 5 characters: no allocation
  TextView rest = name;
  if (!extension.empty()) {
    rest = name.substr(0, name.size() - extension.size() - 1);
  } else if (rest.ends_with(u'.')) {
    rest.remove_suffix(1);
  }
  if (withGroup) {
    out += ExtensionGroups::groupOf(extension);
    out += u':';
  }
  out += extension;
  out += u'.';
  out += rest;
}

}  // namespace

void SortKeys::append(const RowStore& store, int row, int kind, int column, Text& out) {
  if (kind == 3 || kind == 4) {
    appendExtensionKey(store.fieldView(catalog::FieldName, row), kind == 4, out);
    return;
  }
  const TextView text = store.fieldView(column, row);
  if (column == 0) {
    out += text;
    return;
  }
  const std::size_t width = FieldWidth;
  if (text.size() >= width) {
    out += text.substr(text.size() - width);
    return;
  }
  out.append(width - text.size(), u' ');
  out += text;
}

void SortKeys::fold(std::u16string_view::pointer first, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) first[i] = folded(first[i]);
}

int SortKeys::compare(TextView a, TextView b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = folded(a[i]);
    const char16_t y = folded(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace zevro
