#include "print/paint/PrintMarks.h"

#include <QPainter>
#include <QPainterPath>

namespace zevro::printmarks {

namespace {

const QColor Outline(0x40, 0x40, 0x40);

void folder(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  QPainterPath tab;
  tab.addRoundedRect(QRectF(r.left() + w * 0.08, r.top() + h * 0.18, w * 0.36, h * 0.16), 6, 6);
  p.setBrush(QColor(0xE0, 0xB0, 0x40));
  p.drawPath(tab);
  p.setBrush(QColor(0xF8, 0xD0, 0x60));
  p.drawRoundedRect(QRectF(r.left() + w * 0.08, r.top() + h * 0.28, w * 0.84, h * 0.56), 8, 8);
}

void disc(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  const double radius = r.width() * 0.40;
  QRadialGradient shine(c, radius);
  shine.setColorAt(0.0, QColor(0xF0, 0xF0, 0xFF));
  shine.setColorAt(0.6, QColor(0xC0, 0xD8, 0xF0));
  shine.setColorAt(1.0, QColor(0xE8, 0xC8, 0xF0));
  p.setBrush(shine);
  p.drawEllipse(c, radius, radius);
  p.setBrush(Qt::white);
  p.drawEllipse(c, radius * 0.22, radius * 0.22);
  p.setBrush(QColor(0xA0, 0xA0, 0xA0));
  p.drawEllipse(c, radius * 0.08, radius * 0.08);
}

void floppy(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  const QRectF body(r.left() + w * 0.14, r.top() + h * 0.12, w * 0.72, h * 0.76);
  p.setBrush(QColor(0x30, 0x50, 0x90));
  p.drawRoundedRect(body, 6, 6);
  p.setBrush(QColor(0xC8, 0xC8, 0xD0));
  p.drawRect(QRectF(body.left() + w * 0.16, body.top(), w * 0.38, h * 0.26));
  p.setBrush(QColor(0x30, 0x50, 0x90));
  p.drawRect(QRectF(body.left() + w * 0.40, body.top() + h * 0.04, w * 0.08, h * 0.18));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(body.left() + w * 0.08, body.top() + h * 0.40, w * 0.56, h * 0.34));
}

void hardDisk(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  const QRectF body(r.left() + w * 0.08, r.top() + h * 0.30, w * 0.84, h * 0.40);
  QLinearGradient metal(body.topLeft(), body.bottomLeft());
  metal.setColorAt(0, QColor(0xE8, 0xE8, 0xE8));
  metal.setColorAt(1, QColor(0x98, 0x98, 0xA0));
  p.setBrush(metal);
  p.drawRoundedRect(body, 8, 8);
  p.setBrush(QColor(0x40, 0xC0, 0x40));
  p.drawEllipse(QPointF(body.right() - w * 0.12, body.center().y()), w * 0.05, w * 0.05);
  p.setPen(QPen(Outline, 3));
  for (int i = 0; i < 4; ++i) {
    const double x = body.left() + w * (0.10 + 0.08 * i);
    p.drawLine(QPointF(x, body.top() + h * 0.10), QPointF(x, body.bottom() - h * 0.10));
  }
}

}  // namespace

QImage marks() {
  QImage image(CellSize, CellSize * CellCount, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  void (*const draw[CellCount])(QPainter&, const QRectF&) = {folder, disc, floppy, hardDisk};
  for (int i = 0; i < CellCount; ++i) {
    p.setPen(QPen(Outline, 4));
    draw[i](p, QRectF(0, CellSize * i, CellSize, CellSize));
  }
  return image;
}

QImage transparentStrip(const QImage& strip, int cellSize) {
  const int cells = strip.height() / cellSize;
  QImage out(cellSize, cells * cellSize, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < cellSize && cellSize + x < strip.width(); ++x) {
      if (qGray(strip.pixel(cellSize + x, y)) < 128) out.setPixel(x, y, strip.pixel(x, y) | 0xFF000000u);
    }
  }
  return out;
}

}  // namespace zevro::printmarks
