#pragma once
// What the print layout reads of a list: the display rows of a grid with
// their fields, indents, display flags and kind codes, and the icon map.
// RowStorePrintSource reads them from a row store (the main window's
// folder or file grid, the search results, or a catalog made headless).
//
// Indents are the store's pixel indents (level × indent per level + 6); the
// layout only needs the level they stand for: (indent − base) ÷ per level.
#include <vector>

#include "core/RowStore.h"
#include "text/Text.h"

namespace zevro {

class PrintSource {
public:
  virtual ~PrintSource() = default;
  virtual int rowCount() const = 0;  // display rows
  virtual TextView field(int k, int displayRow) const = 0;
  virtual int indent(int displayRow) const = 0;
  virtual int displayFlags(int displayRow) const = 0;  // 1 visible children, 2 last sibling
  virtual int kind(int displayRow) const = 0;
  virtual int indentPerLevel() const = 0;
  virtual int baseIndent() const = 0;  // the indent of stored row 0
  // The icon (1-based, 0 none) the icon map gives a kind code.
  virtual int iconNumber(int kind) const = 0;
  virtual int iconCount() const = 0;
};

class RowStorePrintSource : public PrintSource {
public:
  // iconMap: kind code -> icon number; empty: the kind code is the icon.
  RowStorePrintSource(const RowStore& store, std::vector<int> iconMap, int iconCount)
      : store_(store), map_(std::move(iconMap)), iconCount_(iconCount) {}

  int rowCount() const override { return store_.shownCount(); }
  TextView field(int k, int displayRow) const override { return store_.shownFieldView(k, displayRow); }
  int indent(int displayRow) const override { return store_.indent(store_.storedRowAt(displayRow)); }
  int displayFlags(int displayRow) const override { return store_.displayFlags(displayRow); }
  int kind(int displayRow) const override { return store_.kind(store_.storedRowAt(displayRow)); }
  int indentPerLevel() const override { return store_.indentWidth(); }
  int baseIndent() const override { return store_.indent(0); }
  int iconNumber(int kind) const override {
    if (map_.empty()) return kind;
    return kind >= 0 && kind < static_cast<int>(map_.size()) ? map_[static_cast<std::size_t>(kind)] : 0;
  }
  int iconCount() const override { return iconCount_; }

private:
  const RowStore& store_;
  std::vector<int> map_;
  int iconCount_;
};

}  // namespace zevro
