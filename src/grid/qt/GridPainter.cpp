#include "grid/qt/GridPainter.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>

#include "grid/GridColours.h"
#include "platform/qt/QtColour.h"

namespace zevro {

namespace {

QRect toQRect(const GridRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// A view of heap text as a QString, no copy: valid while the store is unchanged.
QString rawString(TextView text) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

int alignFlags(ColumnAlign a) {
  switch (a) {
    case ColumnAlign::Right: return Qt::AlignRight;
    case ColumnAlign::Centre: return Qt::AlignHCenter;
    case ColumnAlign::Left: break;
  }
  return Qt::AlignLeft;
}

Colour toColour(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

}  // namespace

void GridPainter::setFonts(const QFont& normal, const QFont& alternate) {
  font_ = normal;
  altFont_ = alternate;
}

QColor GridPainter::colour(Colour c) const { return toQColor(c, palette_); }

RowLook GridPainter::lookOf(int row) const {
  const RowStore& store = model_.store();
  const int s = store.storedRowAt(row);
  RowLook look;
  look.displayRow = row;
  look.level = store.level(s);
  look.colourIndex = store.colour(s);
  look.highlight = store.highlight(s);
  look.selected = store.selected(row);
  look.line = row - model_.topRow();
  look.visibleRows = model_.visibleRows();
  return look;
}

void GridPainter::paintSurface(QPainter& p, const QRect& dirty) const {
  const GridSettings& s = model_.settings();
  p.fillRect(dirty, colour(s.backColour));
  const int rowHeight = model_.metrics().rowHeight;
  const int rows = model_.rowCount();
  if (rows == 0) return;
  const int first = std::max(model_.topRow() + dirty.top() / rowHeight, 0);
  // One row more: its tree line reaches up into the row above.
  const int last = std::min(model_.topRow() + dirty.bottom() / rowHeight + 1, rows - 1);
  if (first > last) return;
  paintBackgrounds(p, first, last);
  paintRules(p, first, last);
  paintTreeLines(p, first, last);
  bool altActive = model_.columns().fontMode() == 2;
  p.setFont(altActive ? altFont_ : font_);
  for (int row = first; row <= last; ++row) paintRow(p, row, altActive);
}

void GridPainter::paintBackgrounds(QPainter& p, int first, int last) const {
  const GridSettings& s = model_.settings();
  const ColumnLayout& columns = model_.columns();
  const int width = model_.surfaceWidth();
  for (int row = first; row <= last; ++row) {
    const GridRect r = model_.rowRect(row);
    const RowLook look = lookOf(row);
    if (!gridcolours::backgroundPerColumn(s) || look.selected) {
      p.fillRect(QRect(0, r.top, width, r.bottom - r.top), colour(gridcolours::rowBackground(s, look, 0)));
      continue;
    }
    for (int c = 0; c < columns.count(); ++c) {
      const int left = columns.edgeBefore(c);
      const int right = c + 1 == columns.count() ? width : columns.column(c).edge;
      p.fillRect(QRect(left, r.top, right - left, r.bottom - r.top), colour(gridcolours::rowBackground(s, look, c)));
    }
  }
}

void GridPainter::paintRules(QPainter& p, int first, int last) const {
  const GridSettings& s = model_.settings();
  const ColumnLayout& columns = model_.columns();
  const GridMetrics& m = model_.metrics();
  const int width = model_.surfaceWidth();
  const int top = model_.rowTop(first);
  const int bottom = model_.rowTop(last) + m.rowHeight;
  if (s.embossed) {
    if (s.hRules) {
      const QColor dark = colour(gridcolours::darker(s.vRuleColour, 80));
      for (int row = first; row <= last; ++row) {
        const int y = model_.rowTop(row);
        p.fillRect(QRect(0, y, width, 1), Qt::white);
        p.fillRect(QRect(0, y + m.lineHeight, width, 1), dark);
      }
    }
    if (s.vRules) {
      const QColor dark = colour(gridcolours::darker(s.hRuleColour, 80));
      for (int c = 0; c < columns.count(); ++c) {
        p.fillRect(QRect(columns.column(c).left, top, 1, bottom - top), Qt::white);
        p.fillRect(QRect(columns.column(c).right - 1, top, 1, bottom - top), dark);
      }
    }
  }
  if (s.vRules && s.vRuleColour != s.backColour) {
    const QColor rule = colour(s.vRuleColour);
    const int w = std::max(s.vRuleWidth, 1);
    for (int c = 0; c + 1 < columns.count(); ++c)
      p.fillRect(QRect(columns.column(c).right, top, w, bottom - top), rule);
  }
  if (s.hRules && s.hRuleColour != s.backColour) {
    const QColor rule = colour(s.hRuleColour);
    const int w = std::max(s.hRuleWidth, 1);
    for (int row = first; row <= last; ++row) {
      p.fillRect(QRect(0, model_.rowTop(row) + m.rowHeight - w, width, w), rule);
    }
  }
}

void GridPainter::paintTreeLines(QPainter& p, int first, int last) const {
  if (!model_.settings().treeMode) return;
  std::vector<TreeLineSegment> lines;
  std::vector<TreeBox> boxes;
  // Rows above the first share its lines: the first row's line reaches up.
  model_.treeLines(first, last, lines, boxes);
  const QColor lineColour = colour(gridcolours::treeLine(model_.settings().backColour));
  for (const TreeLineSegment& l : lines) {
    p.fillRect(QRect(QPoint(l.x1, l.y1), QPoint(l.x2, l.y2)), lineColour);
  }
  const QColor boxLine(0x80, 0x80, 0x80);
  const int h = TreeLines::BoxHalf;
  for (const TreeBox& b : boxes) {
    p.fillRect(QRect(b.cx - h, b.cy - h, 2 * h + 1, 2 * h + 1), boxLine);
    p.fillRect(QRect(b.cx - h + 1, b.cy - h + 1, 2 * h - 1, 2 * h - 1), Qt::white);
    p.fillRect(QRect(b.cx - 2, b.cy, 5, 1), Qt::black);
    if (b.plus) p.fillRect(QRect(b.cx, b.cy - 2, 1, 5), Qt::black);
  }
}

void GridPainter::paintCursorCell(QPainter& p, int row, Colour background) const {
  const GridSettings& s = model_.settings();
  QRect cell = toQRect(model_.cellRect(model_.cursorColumn(), row));
  if (s.embossed) cell.adjust(1, 1, -1, -1);
  const Colour fill = gridcolours::cursorFill(s, model_.store().selected(row), background);
  if (fill != NoColour) {
    p.fillRect(cell, colour(fill));
    // The fill must not hide the row's tree lines and expand box: with the
    // cursor on a folder the user still sees (and clicks) whether it is open.
    if (model_.cursorColumn() == 0) {
      p.save();
      p.setClipRect(cell);
      paintTreeLines(p, row, row);
      p.restore();
    }
  }
  if (s.cursorOutline) {
    p.setPen(colour(s.cursorOutlineColour));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell.adjusted(0, 0, -1, -1));
  }
}

void GridPainter::paintRow(QPainter& p, int row, bool& altFontActive) const {
  const GridSettings& s = model_.settings();
  const ColumnLayout& columns = model_.columns();
  const RowStore& store = model_.store();
  const RowLook look = lookOf(row);
  const bool cursorRow = s.cursorMode && row == model_.cursorRow();
  if (cursorRow) {
    paintCursorCell(p, row, toColour(colour(gridcolours::rowBackground(s, look, model_.cursorColumn()))));
  }
  std::array<TextView, ColumnLayout::MaxColumns> fields{};
  store.fieldsOf(store.storedRowAt(row), fields);
  // The columns in the font already selected first, then the others: the
  // font changes at most once per row.
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      altFontActive = !altFontActive;
      p.setFont(altFontActive ? altFont_ : font_);
    }
    bool switchNeeded = false;
    for (int c = 0; c < columns.count(); ++c) {
      const GridColumn& col = columns.column(c);
      if (col.altFont != altFontActive) {
        switchNeeded = true;
        continue;
      }
      const TextView text = fields[static_cast<std::size_t>(c)];
      if (text.empty()) continue;
      const QRect r = toQRect(model_.textRect(c, row));
      if (r.width() <= 0) continue;
      const bool cursorCell = cursorRow && c == model_.cursorColumn();
      p.setPen(colour(gridcolours::cellText(s, look, c, cursorCell)));
      const int flags = alignFlags(col.align) | Qt::TextExpandTabs |
                        (col.wordWrap ? Qt::AlignTop | Qt::TextWordWrap : Qt::AlignVCenter | Qt::TextSingleLine);
      p.drawText(r, flags, rawString(text));
    }
    if (!switchNeeded) break;
  }
  const int icon = model_.iconOf(row);
  const int x = model_.iconX(row);
  if (icon > 0 && x >= 0 && !icons_.isNull()) {
    const GridIcons& ic = model_.icons();
    const int y = model_.rowTop(row) + (model_.metrics().lineHeight - ic.height) / 2;
    p.drawImage(QPoint(x, y), icons_, QRect(0, (icon - 1) * ic.height, ic.width, ic.height));
  }
}

void GridPainter::paintGuide(QPainter& p, int height) const {
  const ItemBarDrag& drag = model_.itemBarDrag();
  if (!drag.dragging()) return;
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Difference);
  p.fillRect(QRect(drag.guideX(), 0, 1, height), Qt::white);
  p.restore();
}

void GridPainter::paintItemBar(QPainter& p, int width, int height) const {
  const GridSettings& s = model_.settings();
  const ColumnLayout& columns = model_.columns();
  // Each pixel line 0x030303 darker than the one above, down to black.
  const Colour top = s.itemBarTopColour;
  for (int y = 0; y < height; ++y) {
    const int d = 3 * y;
    p.fillRect(QRect(0, y, width, 1),
               QColor(std::max(redOf(top) - d, 0), std::max(greenOf(top) - d, 0), std::max(blueOf(top) - d, 0)));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QColor(0xD0, 0xD0, 0xD0));
  p.drawRect(1, 1, width - 2, height - 2);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(0, 0, width - 1, height - 2);
  const QColor dark(0x70, 0x70, 0x70);
  p.setFont(font_);
  for (int c = 0; c < columns.count(); ++c) {
    const GridColumn& col = columns.column(c);
    const int boundary = c == 0 ? col.shownWidth : col.right;
    if (boundary + 3 < width - 2) {
      p.fillRect(QRect(boundary + 2, 1, 1, height - 2), dark);
      p.fillRect(QRect(boundary + 3, 1, 1, height - 2), Qt::white);
    }
    const int from = columns.edgeBefore(c) + 4;
    if (from >= width) continue;
    p.setPen(colour(s.itemBarTextColour));
    p.drawText(QRect(from, 3, std::max(boundary - 3 - from, 0), height - 5), Qt::AlignCenter | Qt::TextSingleLine,
               rawString(col.title));
  }
  p.fillRect(QRect(width - 2, 1, 1, height - 2), dark);
  p.fillRect(QRect(width - 1, 1, 1, height - 2), Qt::white);

  // The sort mark at the right end of the sorted column.
  const int kind = model_.sortKind();
  if (kind < 1 || kind > 4 || model_.sortedColumn() >= columns.count()) return;
  const int r = columns.column(model_.sortedColumn()).right;
  const QColor light(0xD0, 0xD0, 0xD0);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (kind == 1) {  // descending: a triangle pointing down
    p.setPen(dark);
    p.drawLine(r - 12, 4, r - 3, 4);
    p.drawLine(r - 12, 4, r - 8, 14);
    p.setPen(light);
    p.drawLine(r - 3, 4, r - 8, 14);
  } else if (kind == 2) {  // ascending: a triangle pointing up
    p.setPen(dark);
    p.drawLine(r - 8, 3, r - 12, 13);
    p.setPen(light);
    p.drawLine(r - 8, 3, r - 3, 13);
    p.drawLine(r - 12, 13, r - 3, 13);
  } else {
    p.setPen(dark);
    p.drawLine(r - 11, 5, r - 4, 5);
    p.drawLine(r - 11, 5, r - 11, 13);
    p.setPen(light);
    p.drawLine(r - 4, 5, r - 4, 13);
    p.drawLine(r - 11, 13, r - 4, 13);
  }
}

QImage GridPainter::argbStrip(const QImage& strip, int count, int sourceWidth, int sourceHeight, int width,
                              int height) {
  if (strip.isNull() || count <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return {};
  const QImage src = strip.convertToFormat(QImage::Format_RGB32);
  QImage out(sourceWidth, sourceHeight * count, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  const int rows = std::min(sourceHeight * count, src.height());
  for (int y = 0; y < rows; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* dest = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < sourceWidth && x + sourceWidth < src.width(); ++x) {
      const QRgb mask = line[x + sourceWidth];
      const bool transparent = qRed(mask) == 255 && qGreen(mask) == 255 && qBlue(mask) == 255;
      dest[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
    }
  }
  if (width == sourceWidth && height == sourceHeight) return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return out.scaled(width, height * count, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace zevro
