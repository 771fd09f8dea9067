#include "listview/qt/MainWindowImages.h"

#include <QPainter>
#include <QPainterPath>

namespace zevro::mainimages {

namespace {

using C = Command;

const QColor Outline(0x50, 0x48, 0x40);

void drawFolder(QPainter& p, const QRectF& r, const QColor& fill) {
  p.setPen(QPen(Outline, 1));
  p.setBrush(fill.darker(115));
  p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.45, r.height() * 0.25));
  p.setBrush(fill);
  p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.18, r.width(), r.height() * 0.82));
}

void drawDisc(QPainter& p, const QRectF& r) {
  p.setPen(QPen(Outline, 1));
  QRadialGradient g(r.center(), r.width() / 2);
  g.setColorAt(0, QColor(0xF0, 0xF0, 0xFF));
  g.setColorAt(0.6, QColor(0xB8, 0xD0, 0xF0));
  g.setColorAt(1, QColor(0xE8, 0xC8, 0xF0));
  p.setBrush(g);
  p.drawEllipse(r);
  p.setBrush(Qt::white);
  const double hole = r.width() * 0.22;
  p.drawEllipse(r.center(), hole / 2, hole / 2);
}

void drawFloppy(QPainter& p, const QRectF& r) {
  p.setPen(QPen(Outline, 1));
  p.setBrush(QColor(0x40, 0x60, 0xA0));
  p.drawRect(r);
  p.setBrush(QColor(0xD8, 0xD8, 0xD8));
  p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.35));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.55, r.width() * 0.7, r.height() * 0.45));
}

void drawFile(QPainter& p, const QRectF& r) {
  p.setPen(QPen(Outline, 1));
  p.setBrush(Qt::white);
  const double fold = r.width() * 0.3;
  QPainterPath page;
  page.moveTo(r.left() + r.width() * 0.15, r.top());
  page.lineTo(r.right() - fold, r.top());
  page.lineTo(r.right() - r.width() * 0.1, r.top() + fold);
  page.lineTo(r.right() - r.width() * 0.1, r.bottom());
  page.lineTo(r.left() + r.width() * 0.15, r.bottom());
  page.closeSubpath();
  p.drawPath(page);
  p.setPen(QPen(QColor(0x90, 0x98, 0xA8), 1));
  for (int i = 1; i <= 3; ++i) {
    const double y = r.top() + r.height() * (0.3 + 0.18 * i);
    p.drawLine(QPointF(r.left() + r.width() * 0.3, y), QPointF(r.right() - r.width() * 0.25, y));
  }
}

void drawMagnifier(QPainter& p, const QRectF& r) {
  drawFile(p, r.adjusted(0, 0, -r.width() * 0.2, 0));
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
  p.setBrush(QColor(0xC8, 0xE8, 0xFF, 0xC0));
  const QRectF lens(r.left() + r.width() * 0.4, r.top() + r.height() * 0.35, r.width() * 0.4, r.height() * 0.4);
  p.drawEllipse(lens);
  p.drawLine(lens.bottomRight() - QPointF(2, 2), r.bottomRight());
}

void drawArrowIntoFolder(QPainter& p, const QRectF& r) {
  drawFolder(p, r.adjusted(0, r.height() * 0.2, 0, 0), QColor(0xF4, 0xCC, 0x50));
  p.setPen(QPen(QColor(0x20, 0x70, 0x20), 2));
  p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.top() + r.height() * 0.55));
  p.drawLine(QPointF(r.center().x() - 4, r.top() + r.height() * 0.4),
             QPointF(r.center().x(), r.top() + r.height() * 0.55));
  p.drawLine(QPointF(r.center().x() + 4, r.top() + r.height() * 0.4),
             QPointF(r.center().x(), r.top() + r.height() * 0.55));
}

void drawPanes(QPainter& p, const QRectF& r, bool sideBySide) {
  p.setPen(QPen(Outline, 1));
  p.setBrush(QColor(0xFF, 0xF4, 0xD8));
  p.drawRect(r);
  p.setBrush(QColor(0xE8, 0xC0, 0xD0));
  if (sideBySide) {
    p.drawRect(QRectF(r.center().x(), r.top(), r.width() / 2, r.height()));
  } else {
    p.drawRect(QRectF(r.left(), r.center().y(), r.width(), r.height() / 2));
  }
}

void drawButton(QPainter& p, Command command, const QRectF& r) {
  switch (command) {
    case C::ボタン_開く: drawFolder(p, r.adjusted(1, 3, -1, -2), QColor(0xF4, 0xCC, 0x50)); break;
    case C::ボタン_読込: drawDisc(p, r.adjusted(2, 2, -2, -2)); break;
    case C::ボタン_保存: drawFloppy(p, r.adjusted(3, 3, -3, -3)); break;
    case C::ボタン_表示: drawMagnifier(p, r.adjusted(2, 1, -1, -1)); break;
    case C::ボタン_縦2列: drawPanes(p, r.adjusted(3, 4, -3, -4), true); break;
    case C::ボタン_横2列: drawPanes(p, r.adjusted(3, 4, -3, -4), false); break;
    default: drawArrowIntoFolder(p, r.adjusted(2, 2, -2, -2)); break;
  }
}

bool hasImage(Command command) {
  switch (command) {
    case C::ボタン_開く:
    case C::ボタン_読込:
    case C::ボタン_保存:
    case C::ボタン_表示:
    case C::ボタン_縦2列:
    case C::ボタン_横2列: return true;
    default: return false;
  }
}

}  // namespace

QPixmap buttonImage(Command command, bool pressed) {
  if (!hasImage(command)) return {};
  QImage image(ButtonSize, ButtonSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r(0, 0, ButtonSize, ButtonSize);
    // The pressed image sits one pixel lower and right, a shade darker.
    if (pressed) r.translate(1, 1);
    drawButton(p, command, r);
    if (pressed) {
      p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
      p.fillRect(image.rect(), QColor(0, 0, 0, 40));
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace zevro::mainimages
