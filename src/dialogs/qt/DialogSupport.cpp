#include "dialogs/qt/DialogSupport.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "core/Placement.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

constexpr int IconPixels = 32;

Rect toTwips(const QRect& r, const QWidget& widget) {
  const int dx = widget.logicalDpiX();
  const int dy = widget.logicalDpiY();
  return {pixelsToTwips(r.x(), dx), pixelsToTwips(r.y(), dy), pixelsToTwips(r.width(), dx),
          pixelsToTwips(r.height(), dy)};
}

QScreen* screenOf(const QWidget* owner) {
  if (owner && owner->screen()) return owner->screen();
  return QGuiApplication::primaryScreen();
}

QRect usableArea(const QWidget* owner) {
  QScreen* screen = screenOf(owner);
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

QFont dialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  font.setPointSize(9);
  return font;
}

DialogMetrics dialogMetrics(const QFont& font, const QWidget& widget) {
  const int dx = widget.logicalDpiX();
  const int dy = widget.logicalDpiY();
  QFont bold = font;
  bold.setBold(true);
  DialogMetrics metrics;
  metrics.textWidth = [normal = QFontMetrics(font, &widget), strong = QFontMetrics(bold, &widget), dx](TextView text,
                                                                                                       bool isBold) {
    const QFontMetrics& fm = isBold ? strong : normal;
    return pixelsToTwips(fm.horizontalAdvance(toQString(text)), dx);
  };
  metrics.textHeight = pixelsToTwips(QFontMetrics(font, &widget).height(), dy);
  metrics.twipsPerPixelX = twipsPerPixel(dx);
  metrics.twipsPerPixelY = twipsPerPixel(dy);
  return metrics;
}

int toPixelsX(int twips, const QWidget& widget) { return twipsToPixels(twips, widget.logicalDpiX()); }

int toPixelsY(int twips, const QWidget& widget) { return twipsToPixels(twips, widget.logicalDpiY()); }

QRect toPixels(const Rect& rect, const QWidget& widget) {
  return QRect(toPixelsX(rect.left, widget), toPixelsY(rect.top, widget), toPixelsX(rect.width, widget),
               toPixelsY(rect.height, widget));
}

Rect ownerRect(const QWidget* owner, const QWidget& widget) {
  if (owner && owner->isVisible()) return toTwips(owner->window()->frameGeometry(), widget);
  return toTwips(usableArea(owner), widget);
}

Rect screenRect(const QWidget* owner, const QWidget& widget) { return toTwips(usableArea(owner), widget); }

FrameSize frameOf(const QWidget* owner, const QWidget& widget) {
  if (!owner || !owner->isVisible()) return {};
  const QWidget* window = owner->window();
  const QSize extra = window->frameGeometry().size() - window->geometry().size();
  return {pixelsToTwips(extra.width(), widget.logicalDpiX()), pixelsToTwips(extra.height(), widget.logicalDpiY())};
}

std::int64_t displayColours(const QWidget* owner) {
  QScreen* screen = screenOf(owner);
  return screenColours(screen ? screen->depth() : 24, 1);
}

void drawRuns(QPainter& painter, const std::vector<PlacedRun>& runs, const QFont& font, const QWidget& widget) {
  QFont bold = font;
  bold.setBold(true);
  for (const PlacedRun& run : runs) {
    const QFont& face = run.bold ? bold : font;
    painter.setFont(face);
    painter.setPen(toQColor(run.colour, widget.palette()));
    const int baseline = toPixelsY(run.y, widget) + QFontMetrics(face, &widget).ascent();
    painter.drawText(QPoint(toPixelsX(run.x, widget), baseline), toQString(run.text));
  }
}

QPixmap dialogIcon(const QWidget& widget) {
  return widget.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(IconPixels, IconPixels);
}

}  // namespace zevro
