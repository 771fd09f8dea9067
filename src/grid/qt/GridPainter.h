#pragma once
// Paints the rows of a grid model and its item bar with QPainter: the
// window's paint events and off-screen images (benchmarks, screenshots) use
// the same code. Row text is drawn straight from the record heap through
// QString::fromRawData, without copies.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>

#include <vector>

#include "grid/GridColours.h"
#include "grid/GridModel.h"

class QPainter;

namespace zevro {

class GridPainter {
public:
  explicit GridPainter(const GridModel& model) : model_(model) {}

  // Fonts as the window applied them (normal, alternate), the desktop's
  // palette for the two system colours, the icon strip as ARGB (icon i at
  // y = (i - 1) * displayed height, displayed size already).
  void setFonts(const QFont& normal, const QFont& alternate);
  void setPalette(const QPalette& palette) { palette_ = palette; }
  void setIcons(const QImage& strip) { icons_ = strip; }

  // Paints the part `dirty` of the surface (surface pixels; y = 0 is the
  // top of the top row). The painter should be clipped to `dirty`.
  void paintSurface(QPainter& p, const QRect& dirty) const;
  // The column drag's guide line, inverting what lies under it.
  void paintGuide(QPainter& p, int height) const;
  // The item bar, `width` x `height` pixels.
  void paintItemBar(QPainter& p, int width, int height) const;

  QColor colour(Colour c) const;
  QColor resolvedSelectionBack() const { return colour(SystemSelectionBack); }

  // Turns a strip of icons in the program's form (each cell: the picture in
  // its left half, a mask in its right half, white mask = transparent) into
  // ARGB icons of the displayed size.
  static QImage argbStrip(const QImage& strip, int count, int sourceWidth, int sourceHeight, int width, int height);

private:
  void paintBackgrounds(QPainter& p, int first, int last) const;
  void paintRules(QPainter& p, int first, int last) const;
  void paintTreeLines(QPainter& p, int first, int last) const;
  void paintRow(QPainter& p, int row, bool& altFontActive) const;
  void paintCursorCell(QPainter& p, int row, Colour background) const;
  RowLook lookOf(int row) const;

  const GridModel& model_;
  QFont font_;
  QFont altFont_;
  QPalette palette_;
  QImage icons_;
};

}  // namespace zevro
