#include "listview/qt/IconStrip.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <initializer_list>

#include "core/IconTable.h"
#include "grid/qt/GridPainter.h"

namespace zevro::iconstrip {

namespace {

// Drawn pixel by pixel (no smoothing): at 16 px a blurred edge reads worse
// than a hard one, and the mask has no half-transparent pixels anyway.
class Pen {
public:
  explicit Pen(QImage& image) : p_(&image) {}

  void box(int x, int y, int w, int h, QColor fill, QColor edge = Outline) {
    p_.fillRect(x, y, w, h, edge);
    if (w > 2 && h > 2) p_.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
  }
  void fill(int x, int y, int w, int h, QColor c) { p_.fillRect(x, y, w, h, c); }
  void dot(int x, int y, QColor c) { p_.fillRect(x, y, 1, 1, c); }
  void hline(int x, int y, int w, QColor c) { p_.fillRect(x, y, w, 1, c); }
  void vline(int x, int y, int h, QColor c) { p_.fillRect(x, y, 1, h, c); }
  // Pixels of a small picture: one text a row, '#' drawn.
  void glyph(int x, int y, std::initializer_list<const char*> rows, QColor c) {
    int row = 0;
    for (const char* line : rows) {
      for (int col = 0; line[col] != '\0'; ++col)
        if (line[col] == '#') dot(x + col, y + row, c);
      ++row;
    }
  }
  void disc(int x, int y, int w, int h, QColor fill, QColor edge = Outline) {
    p_.setPen(edge);
    p_.setBrush(fill);
    p_.drawEllipse(x, y, w - 1, h - 1);
    p_.setBrush(Qt::NoBrush);
    p_.setPen(Qt::NoPen);
  }
  void polygon(std::initializer_list<QPoint> points, QColor fill, QColor edge = Outline) {
    p_.setPen(edge);
    p_.setBrush(fill);
    p_.drawPolygon(std::data(points), static_cast<int>(points.size()));
    p_.setBrush(Qt::NoBrush);
    p_.setPen(Qt::NoPen);
  }
  void line(int x1, int y1, int x2, int y2, QColor c) {
    p_.setPen(c);
    p_.drawLine(x1, y1, x2, y2);
    p_.setPen(Qt::NoPen);
  }

  // A sheet of paper with its top right corner folded, x 2..13.
  void page(QColor paper = Qt::white) {
    polygon({{2, 0}, {10, 0}, {13, 3}, {13, 15}, {2, 15}}, paper);
    polygon({{10, 0}, {10, 3}, {13, 3}}, paper.darker(125));
  }
  // Lines of text on a page.
  void textLines(int x, int y, int w, int count, QColor c = QColor(0x70, 0x78, 0x88), int step = 2) {
    for (int i = 0; i < count; ++i) hline(x, y + i * step, i % 3 == 2 ? w - 2 : w, c);
  }

  static inline const QColor Outline{0x38, 0x38, 0x40};

private:
  QPainter p_;
};

const QColor Yellow(0xF6, 0xCE, 0x46);
const QColor Blue(0x2A, 0x5C, 0xC8);
const QColor DarkBlue(0x1C, 0x30, 0x80);
const QColor Red(0xD0, 0x28, 0x20);
const QColor Green(0x2C, 0x9A, 0x3A);
const QColor Grey(0xB0, 0xB4, 0xBC);
const QColor Orange(0xF0, 0x88, 0x20);
const QColor Purple(0x80, 0x48, 0xB8);
const QColor Brown(0xA8, 0x70, 0x38);
const QColor Sky(0x88, 0xC8, 0xF0);
const QColor White(Qt::white);
const QColor Black(0x18, 0x18, 0x18);

void folder(Pen& d, QColor colour) {
  d.box(1, 2, 6, 3, colour.darker(115));
  d.box(1, 4, 14, 10, colour);
  d.hline(2, 5, 12, colour.lighter(125));
}

void window(Pen& d, int x, int y, int w, int h, QColor title) {
  d.box(x, y, w, h, White);
  d.fill(x + 1, y + 1, w - 2, 2, title);
}

void gear(Pen& d, int x, int y, QColor c) {
  d.glyph(x, y,
          {"...##...", ".#.##.#.", "..####..", "####.###", "###..###", "..####..", ".#.##.#.", "...##..."}, c);
}

void photo(Pen& d, int x, int y, int w, int h) {
  d.box(x, y, w, h, Sky);
  d.polygon({{x + 1, y + h - 2}, {x + w / 3, y + h / 2}, {x + w / 2, y + h - 4}, {x + 2 * w / 3, y + h / 2 - 1},
             {x + w - 2, y + h - 2}},
            Green, Green.darker(130));
  d.fill(x + w - 4, y + 2, 2, 2, Yellow);
}

void draw(Pen& d, int n) {
  switch (n) {
    case 1: folder(d, Yellow); break;  // folder
    case 2:                            // CD
      d.disc(0, 0, 16, 16, QColor(0xD8, 0xDC, 0xE8));
      d.disc(2, 2, 12, 12, QColor(0xB8, 0xD0, 0xF0), QColor(0xE8, 0xC8, 0xF0));
      d.disc(5, 5, 6, 6, White);
      d.fill(7, 7, 2, 2, Pen::Outline);
      break;
    case 3:  // floppy disk
      d.box(1, 1, 14, 14, QColor(0x38, 0x58, 0xA0));
      d.box(4, 1, 8, 5, Grey);
      d.fill(9, 2, 2, 3, QColor(0x38, 0x58, 0xA0));
      d.box(3, 8, 10, 7, White);
      d.textLines(4, 10, 8, 2, QColor(0x90, 0x90, 0xA0));
      break;
    case 4:  // hard disk
      d.box(0, 4, 16, 9, QColor(0xC8, 0xCC, 0xD4));
      d.hline(1, 10, 14, QColor(0x90, 0x94, 0x9C));
      d.fill(11, 11, 3, 1, QColor(0x20, 0xD0, 0x40));
      d.fill(2, 6, 6, 2, QColor(0x90, 0x94, 0x9C));
      break;
    case 5:  // folder inside an archive
      folder(d, QColor(0xC4, 0xA4, 0xE8));
      for (int y = 5; y < 13; y += 2) d.fill(7, y, 2, 1, Black);
      d.vline(8, 6, 7, QColor(0x70, 0x50, 0xA0));
      break;
    case 6: d.page(); break;  // a type of its own
    case 7: photo(d, 0, 2, 16, 12); break;
    case 8:  // film
      d.box(1, 0, 14, 16, Black, Black);
      for (int y = 1; y < 16; y += 3) {
        d.dot(2, y, White);
        d.dot(13, y, White);
      }
      d.fill(4, 2, 8, 5, Sky);
      d.fill(4, 9, 8, 5, QColor(0xF0, 0xA8, 0x60));
      break;
    case 9:  // MIDI: keys
      d.box(0, 3, 16, 11, White);
      for (int x = 3; x < 15; x += 3) d.vline(x, 4, 9, Grey);
      for (int x : {2, 5, 11}) d.fill(x, 4, 2, 5, Black);
      d.fill(0, 1, 16, 2, QColor(0xC0, 0x30, 0x50));
      break;
    case 10:  // web page: a globe
      d.disc(1, 1, 14, 14, QColor(0x3A, 0x8C, 0xE8));
      d.glyph(3, 3, {".###......", "#####..##.", "####...###", ".##.....##", "..#.....#.", "...##.....", "...###....",
                     "....#....."},
              Green);
      d.vline(8, 1, 14, QColor(0xC0, 0xE0, 0xFF));
      d.hline(1, 8, 14, QColor(0xC0, 0xE0, 0xFF));
      break;
    case 11:  // log, list, print file: a list with bullets
      d.page();
      for (int y = 4; y < 14; y += 3) {
        d.fill(4, y, 2, 2, Red);
        d.hline(7, y, 5, Pen::Outline);
        d.hline(7, y + 1, 4, QColor(0x90, 0x98, 0xA8));
      }
      break;
    case 12:  // write: a page and a pencil
      d.page();
      d.textLines(4, 4, 6, 5);
      d.polygon({{14, 4}, {15, 5}, {8, 12}, {6, 13}, {7, 11}}, Yellow, Brown);
      break;
    case 13:  // settings
      d.page();
      gear(d, 4, 6, QColor(0x50, 0x60, 0x78));
      d.textLines(4, 2, 5, 2);
      break;
    case 14:  // help: a yellow book with a question mark
      d.box(2, 1, 12, 14, Yellow, Brown);
      d.vline(4, 2, 12, Brown);
      d.glyph(7, 3, {".###.", "#...#", "...#.", "..#..", "..#..", ".....", "..#.."}, Blue);
      break;
    case 15:  // film clips: a clapperboard
      d.box(1, 6, 14, 9, Black, Black);
      d.polygon({{1, 2}, {14, 0}, {14, 3}, {1, 5}}, White, Black);
      for (int x = 3; x < 14; x += 4) d.line(x, 2, x + 1, 4, Black);
      d.hline(3, 9, 10, Grey);
      d.hline(3, 12, 7, Grey);
      break;
    case 16:  // command: a console
      d.box(0, 1, 16, 14, Black, Pen::Outline);
      d.fill(1, 2, 14, 2, Grey);
      d.glyph(2, 6, {"#..", ".#.", "..#", ".#.", "#.."}, QColor(0x40, 0xF0, 0x60));
      d.hline(6, 10, 4, White);
      break;
    case 17:  // LZH: a parcel
      d.polygon({{1, 5}, {8, 2}, {15, 5}, {15, 13}, {8, 15}, {1, 13}}, QColor(0xD8, 0xA8, 0x68), Brown.darker(120));
      d.line(1, 5, 8, 8, Brown.darker(120));
      d.line(8, 8, 15, 5, Brown.darker(120));
      d.vline(8, 8, 7, Brown.darker(120));
      d.line(4, 4, 11, 7, White);
      d.vline(11, 7, 7, White);
      break;
    case 18:  // ZIP: a page with a zipper
      d.page(QColor(0xFF, 0xF0, 0xB0));
      for (int y = 1; y < 15; ++y) d.dot(y % 2 == 0 ? 7 : 8, y, Black);
      d.box(6, 9, 4, 5, Grey, Black);
      break;
    case 19:  // system file, library: a chip
      for (int y = 3; y < 14; y += 2) {
        d.fill(1, y, 2, 1, Grey.darker(130));
        d.fill(13, y, 2, 1, Grey.darker(130));
      }
      d.box(3, 1, 10, 14, QColor(0x40, 0x44, 0x4C), Black);
      d.fill(4, 2, 2, 2, QColor(0xA0, 0xA4, 0xAC));
      d.hline(5, 8, 6, QColor(0x90, 0xD0, 0x90));
      d.hline(5, 10, 4, QColor(0x90, 0xD0, 0x90));
      break;
    case 20:  // GIF: a picture with its letters
      photo(d, 0, 0, 16, 9);
      d.fill(0, 9, 16, 7, Purple);
      d.glyph(2, 10, {"###.###.###", "#....#..#..", "#.#..#..##.", "#.#..#..#..", "###.###.#.."}, White);
      break;
    case 21:  // bitmap picture: a palette
      d.disc(0, 2, 16, 13, QColor(0xF0, 0xDC, 0xB0), Brown);
      d.fill(3, 5, 2, 2, Red);
      d.fill(6, 4, 2, 2, Yellow);
      d.fill(10, 5, 2, 2, Blue);
      d.fill(3, 9, 2, 2, Green);
      d.fill(8, 9, 3, 3, QColor(0xFF, 0xFF, 0xFF));
      break;
    case 22:  // text: a note pad
      d.box(2, 1, 12, 15, White);
      d.fill(3, 2, 10, 2, QColor(0x60, 0x90, 0xE0));
      for (int x = 4; x < 13; x += 3) d.vline(x, 0, 3, Pen::Outline);
      d.textLines(4, 6, 8, 4);
      break;
    case 23:  // CAB: a cabinet
      d.box(2, 0, 12, 16, QColor(0xC8, 0x90, 0x50), Brown.darker(130));
      d.hline(3, 5, 10, Brown.darker(130));
      d.hline(3, 10, 10, Brown.darker(130));
      for (int y : {2, 7, 12}) d.fill(6, y, 4, 1, Pen::Outline);
      break;
    case 24:  // spreadsheet
      d.page();
      d.fill(3, 4, 10, 11, QColor(0xD8, 0xF0, 0xD8));
      for (int y = 4; y < 15; y += 3) d.hline(3, y, 10, Green);
      for (int x = 3; x < 13; x += 3) d.vline(x, 4, 11, Green);
      break;
    case 25:  // word-processor document
      d.page();
      d.fill(3, 1, 7, 4, Blue);
      d.glyph(4, 2, {"#...#", "#.#.#"}, White);
      d.textLines(4, 7, 8, 4);
      break;
    case 26:  // music: notes
      d.fill(4, 2, 9, 2, DarkBlue);
      d.vline(5, 2, 10, DarkBlue);
      d.vline(12, 2, 9, DarkBlue);
      d.disc(1, 10, 6, 5, DarkBlue, DarkBlue);
      d.disc(8, 9, 6, 5, DarkBlue, DarkBlue);
      break;
    case 27:  // sound: a loudspeaker
      d.polygon({{1, 5}, {4, 5}, {8, 1}, {8, 14}, {4, 10}, {1, 10}}, Grey, Pen::Outline);
      d.line(10, 5, 11, 7, Blue);
      d.line(11, 8, 10, 10, Blue);
      d.line(12, 3, 14, 6, Blue);
      d.line(14, 9, 12, 12, Blue);
      d.vline(14, 6, 3, Blue);
      break;
    case 28:  // portable player
      d.box(3, 0, 10, 16, QColor(0x40, 0x44, 0x50), Black);
      d.fill(5, 2, 6, 5, QColor(0x70, 0xD0, 0xF0));
      d.disc(5, 9, 6, 6, Grey, Grey.darker(140));
      d.fill(7, 11, 2, 2, QColor(0x40, 0x44, 0x50));
      break;
    case 29:  // stream: an aerial and its waves
      d.polygon({{7, 6}, {9, 6}, {12, 15}, {4, 15}}, Grey, Pen::Outline);
      d.fill(7, 4, 2, 2, Red);
      d.line(4, 2, 3, 5, Red);
      d.line(11, 2, 12, 5, Red);
      d.line(2, 0, 0, 5, Red);
      d.line(13, 0, 15, 5, Red);
      break;
    case 30:  // media audio: a note on an orange disc
      d.disc(0, 0, 16, 16, Orange, Orange.darker(140));
      d.vline(9, 3, 8, White);
      d.fill(10, 3, 2, 2, White);
      d.disc(5, 9, 5, 4, White, White);
      break;
    case 31:  // media video: a screen with a play mark
      d.box(0, 2, 16, 12, QColor(0x20, 0x48, 0xA0), Black);
      d.polygon({{6, 5}, {11, 8}, {6, 11}}, White, White);
      d.fill(5, 14, 6, 2, Pen::Outline);
      break;
    case 32:  // PDF
      d.page();
      d.fill(2, 8, 12, 7, Red);
      d.glyph(3, 9, {"##..##..###", "#.#.#.#.#..", "##..#.#.##.", "#...#.#.#..", "#...##..#.."}, White);
      d.textLines(4, 3, 5, 2);
      break;
    case 33:  // PNG: a picture over a chequered ground
      for (int y = 0; y < 16; y += 2)
        for (int x = 0; x < 16; x += 2) d.fill(x, y, 2, 2, ((x + y) / 2) % 2 ? Grey : White);
      d.disc(3, 3, 10, 10, QColor(0x20, 0xB0, 0xA0), QColor(0x10, 0x70, 0x60));
      break;
    case 34:  // SWF: a flash
      d.box(1, 1, 14, 14, Red, Red.darker(140));
      d.polygon({{9, 2}, {4, 9}, {8, 9}, {6, 14}, {12, 6}, {8, 6}}, Yellow, Yellow);
      break;
    case 35:  // registry: stacked blocks
      d.box(1, 8, 7, 7, Blue);
      d.box(8, 8, 7, 7, QColor(0x40, 0xA0, 0xE0));
      d.box(4, 1, 7, 7, QColor(0x60, 0x70, 0xD0));
      break;
    case 36:  // compiled help: an open book
      d.polygon({{0, 3}, {7, 4}, {7, 15}, {0, 13}}, White, Blue);
      d.polygon({{8, 4}, {15, 3}, {15, 13}, {8, 15}}, White, Blue);
      d.glyph(9, 5, {".##.", "#..#", "..#.", ".#..", "....", ".#.."}, Red);
      d.textLines(2, 6, 4, 4);
      break;
    case 37:  // database: a cylinder
      d.fill(2, 3, 12, 10, QColor(0x40, 0xA8, 0xA0));
      d.vline(2, 3, 10, Pen::Outline);
      d.vline(13, 3, 10, Pen::Outline);
      d.disc(2, 10, 12, 5, QColor(0x40, 0xA8, 0xA0));
      d.fill(3, 10, 10, 2, QColor(0x40, 0xA8, 0xA0));
      d.disc(2, 1, 12, 5, QColor(0x90, 0xE0, 0xD8));
      break;
    case 38:  // TrueType font
      d.page();
      d.glyph(3, 3, {"#######", "#..#..#", "...#...", "...#...", "...#...", "...#...", "..###.."}, DarkBlue);
      d.glyph(7, 8, {"#####", "..#..", "..#..", "..#..", ".###."}, Red);
      break;
    case 39:  // bitmap font
      d.page();
      d.glyph(3, 4, {"..##..", ".#..#.", "#....#", "######", "#....#", "#....#", "#....#"}, Red);
      d.hline(3, 13, 8, Grey);
      break;
    case 40:  // project group: several windows
      window(d, 0, 0, 9, 8, Green);
      window(d, 4, 4, 9, 8, Green);
      window(d, 7, 8, 9, 8, Green);
      break;
    case 41:  // project: a page with a window
      d.page(QColor(0xF0, 0xF0, 0xFF));
      window(d, 4, 5, 8, 7, Purple);
      d.textLines(4, 13, 6, 1);
      break;
    case 42:  // form: a window with its controls
      window(d, 0, 1, 16, 14, QColor(0x60, 0x60, 0x60));
      d.box(2, 5, 8, 3, White, Grey.darker(130));
      d.box(9, 10, 5, 3, Grey, Pen::Outline);
      d.fill(2, 10, 2, 2, Pen::Outline);
      break;
    case 43:  // module: code on a page
      d.page();
      d.glyph(3, 3, {".#", "#.", ".#"}, Purple);
      d.hline(6, 4, 5, Green);
      d.hline(6, 7, 4, Blue);
      d.hline(6, 9, 6, Blue);
      d.hline(4, 11, 7, Green);
      d.hline(4, 13, 5, Blue);
      break;
    case 44:  // class: boxes joined
      d.box(5, 0, 7, 5, Yellow, Brown);
      d.box(0, 10, 7, 5, Yellow, Brown);
      d.box(9, 10, 7, 5, Yellow, Brown);
      d.vline(8, 5, 3, Pen::Outline);
      d.hline(3, 7, 11, Pen::Outline);
      d.vline(3, 7, 3, Pen::Outline);
      d.vline(12, 7, 3, Pen::Outline);
      break;
    case 45:  // program: an application window
      window(d, 0, 1, 16, 14, Blue);
      d.fill(13, 1, 2, 2, Red);
      d.fill(1, 4, 14, 1, QColor(0xE0, 0xE0, 0xE0));
      d.fill(3, 7, 4, 4, QColor(0x40, 0xA0, 0xE0));
      d.textLines(8, 7, 5, 3);
      break;
    case 46:  // multi-picture: photos stacked
      d.box(5, 0, 11, 9, White);
      d.box(3, 3, 11, 9, White);
      photo(d, 0, 6, 11, 10);
      break;
    default: break;
  }
}

}  // namespace

QImage standardIcon(int number) {
  if (number < 1 || number > StandardCount) return {};
  QImage picture(IconSize, IconSize, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  {
    Pen pen(picture);
    draw(pen, number);
  }
  // Whole pixels only: a pixel is drawn or the row shows through.
  QImage out = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < IconSize; ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < IconSize; ++x) line[x] = qAlpha(line[x]) < 128 ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage standardStrip() {
  QImage strip(StripWidth, IconSize * StandardCount, QImage::Format_RGB32);
  for (int n = 1; n <= StandardCount; ++n) {
    const QImage icon = standardIcon(n).convertToFormat(QImage::Format_ARGB32);
    QImage cell(StripWidth, IconSize, QImage::Format_RGB32);
    for (int y = 0; y < IconSize; ++y) {
      const auto* src = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
      auto* dest = reinterpret_cast<QRgb*>(cell.scanLine(y));
      for (int x = 0; x < IconSize; ++x) {
        const bool drawn = qAlpha(src[x]) != 0;
        dest[x] = drawn ? (src[x] | 0xFF000000u) : qRgb(0, 0, 0);
        dest[IconSize + x] = drawn ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
      }
    }
    putCell(strip, n, cell);
  }
  return strip;
}

int iconCount(const QImage& strip) { return strip.isNull() ? 0 : strip.height() / IconSize; }

QImage iconImage(const QImage& strip, int number) {
  if (number < 1 || number > iconCount(strip) || strip.width() < StripWidth) return {};
  const QImage cell = strip.copy(0, (number - 1) * IconSize, StripWidth, IconSize);
  return GridPainter::argbStrip(cell, 1, IconSize, IconSize, IconSize, IconSize);
}

QImage withIcons(const QImage& strip, int count) {
  QImage out(StripWidth, IconSize * std::max(count, 0), QImage::Format_RGB32);
  out.fill(Qt::white);
  // An empty icon: a black picture under a white mask.
  {
    QPainter p(&out);
    p.fillRect(0, 0, IconSize, out.height(), Qt::black);
    p.drawImage(0, 0, strip.convertToFormat(QImage::Format_RGB32), 0, 0, StripWidth,
                std::min(strip.height(), out.height()));
  }
  return out;
}

QImage pastedCell(const QImage& picture) {
  QImage cell(StripWidth, IconSize, QImage::Format_RGB32);
  cell.fill(Qt::black);
  if (picture.isNull()) return cell;
  const QImage scaled = picture.convertToFormat(QImage::Format_RGB32)
                            .scaled(IconSize, IconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  for (int y = 0; y < IconSize; ++y) {
    const auto* src = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    auto* dest = reinterpret_cast<QRgb*>(cell.scanLine(y));
    for (int x = 0; x < IconSize; ++x) {
      const bool white = (src[x] & 0xFFFFFFu) == 0xFFFFFFu;
      dest[x] = white ? qRgb(0, 0, 0) : (src[x] | 0xFF000000u);
      dest[IconSize + x] = white ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
  }
  return cell;
}

void putCell(QImage& strip, int number, const QImage& cell) {
  if (number < 1 || number > iconCount(strip)) return;
  QPainter p(&strip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, (number - 1) * IconSize, cell.convertToFormat(QImage::Format_RGB32), 0, 0, StripWidth, IconSize);
}

std::string bitmapBytes(const QImage& strip) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  strip.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<QImage> fromBitmapBytes(std::string_view bytes) {
  if (IconTable::bitmapStripIcons(bytes) == 0) return std::nullopt;
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<qsizetype>(bytes.size()), "BMP"))
    return std::nullopt;
  if (image.width() != StripWidth || image.height() % IconSize != 0 || image.height() == 0) return std::nullopt;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace zevro::iconstrip
