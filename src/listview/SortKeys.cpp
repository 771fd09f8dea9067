#include "listview/SortKeys.h"

#include "core/CatalogList.h"
#include "core/Strings.h"
#include "media/ExtensionGroups.h"

namespace zevro {

namespace {

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

}  // namespace zevro
