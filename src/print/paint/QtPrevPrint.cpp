#include "print/paint/QtPrevPrint.h"

#include <QFontDatabase>
#include <QPageLayout>

#include <cmath>

#include "print/paint/PrintFonts.h"
#include "print/paint/PrintMarks.h"

namespace zevro {

namespace {

constexpr double TwipsPerPoint = 20;
constexpr double TwipsPerMillimetre = 1440 / 25.4;

QColor fromBgr(int colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

QString qtext(TextView text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

int twips(double points) { return static_cast<int>(std::lround(points * TwipsPerPoint)); }

}  // namespace

QtPrevPrint::QtPrevPrint(QPagedPaintDevice& printer) : printer_(&printer), marks_(printmarks::marks()) {
  readSizes();
  Text ignored;
  setFont(font_, ignored);
}

QtPrevPrint::~QtPrevPrint() {
  if (surfacePainter_.isActive()) surfacePainter_.end();
  if (printerPainter_.isActive()) printerPainter_.end();
}

void QtPrevPrint::setPrinter(QPagedPaintDevice& printer) {
  printer_ = &printer;
  known_.clear();
  readSizes();
}

void QtPrevPrint::setIconStrip(const QImage& strip) { strip_ = printmarks::transparentStrip(strip); }

void QtPrevPrint::readSizes() {
  const QPageLayout layout = printer_->pageLayout();
  const QRectF full = layout.fullRect(QPageLayout::Point);
  const QRectF paint = layout.paintRect(QPageLayout::Point);
  paperW_ = twips(full.width());
  paperH_ = twips(full.height());
  printLeft_ = twips(paint.left());
  printTop_ = twips(paint.top());
  pageW_ = twips(paint.width());
  pageH_ = twips(paint.height());
  printerDpi_ = printer_->logicalDpiX() > 0 ? printer_->logicalDpiX() : 1200;
}

void QtPrevPrint::setPreview(bool preview) {
  preview_ = preview;
  readSizes();
  if (!preview) {
    pagesPrinted_ = 0;
    printerFailed_ = false;
    return;
  }
  if (surfacePainter_.isActive()) surfacePainter_.end();
  const int w = std::max(1, static_cast<int>(std::lround(pageW_ * surfaceDpi_ / 1440)));
  const int h = std::max(1, static_cast<int>(std::lround(pageH_ * surfaceDpi_ / 1440)));
  surface_ = QImage(w, h, QImage::Format_RGB32);
  surface_.fill(Qt::white);
}

QPainter* QtPrevPrint::painter() {
  if (preview_) {
    if (!surfacePainter_.isActive()) {
      surfacePainter_.begin(&surface_);
      surfacePainter_.setRenderHint(QPainter::Antialiasing);
      surfacePainter_.setRenderHint(QPainter::TextAntialiasing);
      surfacePainter_.scale(static_cast<double>(surface_.width()) / std::max(1, pageW_),
                            static_cast<double>(surface_.height()) / std::max(1, pageH_));
    }
    return &surfacePainter_;
  }
  if (printerFailed_) return nullptr;
  if (!printerPainter_.isActive()) {
    if (!printerPainter_.begin(printer_)) {
      printerFailed_ = true;
      return nullptr;
    }
    printerPainter_.setRenderHint(QPainter::Antialiasing);
    printerPainter_.scale(printer_->logicalDpiX() / 1440.0, printer_->logicalDpiY() / 1440.0);
    newPagePending_ = false;
    pagesPrinted_ = 1;
  } else if (newPagePending_) {
    printer_->newPage();
    newPagePending_ = false;
    ++pagesPrinted_;
  }
  return &printerPainter_;
}

QColor QtPrevPrint::lineColour(int colour) const {
  if (colour == DefaultLineColour) return preview_ ? fromBgr(0x404040) : QColor(Qt::black);
  return fromBgr(colour);
}

QPen QtPrevPrint::pen(int colour, int width) const {
  QPen p(lineColour(colour));
  // A width counts printer pixels (surface pixels in the preview).
  p.setWidthF(std::max(1, width) * 1440.0 / (preview_ ? surfaceDpi_ : printerDpi_));
  p.setCapStyle(Qt::SquareCap);
  p.setJoinStyle(Qt::MiterJoin);
  return p;
}

void QtPrevPrint::text(TextView text) {
  const bool endsLine = !text.empty() && text.back() == ch::CR;
  if (endsLine) text.remove_suffix(1);
  if (!text.empty()) {
    if (QPainter* p = painter()) {
      p->setFont(qfont_);
      p->setPen(preview_ ? surfaceText_ : QColor(Qt::black));
      p->drawText(QPointF(x_, y_ + metrics_->ascent()), qtext(text));
    }
  }
  if (endsLine) {
    x_ = 0;
    y_ += textHeight(u"A");
  } else {
    x_ += textWidth(text);
  }
}

void QtPrevPrint::line(int x1, int y1, int x2, int y2, int colour, int width) {
  QPainter* p = painter();
  if (!p) return;
  p->setPen(pen(colour, width));
  p->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPrevPrint::box(int x1, int y1, int x2, int y2, int colour, int width) {
  QPainter* p = painter();
  if (!p) return;
  p->setPen(pen(colour, width));
  p->setBrush(Qt::NoBrush);
  p->drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
}

void QtPrevPrint::filledBox(int x1, int y1, int x2, int y2, int colour) {
  QPainter* p = painter();
  if (!p) return;
  p->fillRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)), fromBgr(colour));
}

void QtPrevPrint::picture(PrintPicture source, int cell, int x, int y, int width, int height) {
  QPainter* p = painter();
  if (!p) return;
  const QRectF target(x, y, width, height);
  if (source == PrintPicture::Marks) {
    const int size = printmarks::CellSize;
    p->drawImage(target, marks_, QRectF(0, size * cell, size, size));
    return;
  }
  if (strip_.isNull() || (cell + 1) * 16 > strip_.height()) return;
  p->setRenderHint(QPainter::SmoothPixmapTransform);
  p->drawImage(target, strip_, QRectF(0, 16 * cell, 16, 16));
}

void QtPrevPrint::showPage() {
  if (preview_) {
    if (surfacePainter_.isActive()) surfacePainter_.end();
    shown_ = surface_.copy();
    if (onPageShown) onPageShown(shown_);
    return;
  }
  if (printerPainter_.isActive()) newPagePending_ = true;
}

void QtPrevPrint::endJob() {
  if (preview_) {
    if (surfacePainter_.isActive()) surfacePainter_.end();
    surface_.fill(Qt::white);
    return;
  }
  if (printerPainter_.isActive()) printerPainter_.end();
  newPagePending_ = false;
}

void QtPrevPrint::setTextColour(int windowWidth) {
  surfaceText_ = windowWidth < 4951 ? fromBgr(0x333333) : fromBgr(0x777777);
}

int QtPrevPrint::pixelsToTwipsX(int count) const { return count * 1440 / printerDpi_; }
int QtPrevPrint::pixelsToTwipsY(int count) const {
  const int dpi = printer_->logicalDpiY() > 0 ? printer_->logicalDpiY() : printerDpi_;
  return count * 1440 / dpi;
}
int QtPrevPrint::millimetresToTwipsX(int count) const {
  return static_cast<int>(std::lround(count * TwipsPerMillimetre));
}
int QtPrevPrint::millimetresToTwipsY(int count) const { return millimetresToTwipsX(count); }

bool QtPrevPrint::setFont(const PrintFont& font, Text& error) {
  for (const KnownFont& k : known_) {
    if (k.font != font) continue;
    font_ = font;
    qfont_ = k.qfont;
    metrics_.emplace(k.metrics);
    return true;
  }
  const QString family = printfonts::printFamily(font.mincho, font.proportional);
  if (!QFontDatabase::hasFamily(family)) {
    error = Text(u"フォント「") + Text(printfonts::printFontName(font.mincho, font.proportional)) +
            u"」(" + Text(reinterpret_cast<const char16_t*>(family.utf16()), static_cast<std::size_t>(family.size())) +
            u") がありません";
    return false;
  }
  font_ = font;
  QFont f(family);
  // Sized in twips: the painter draws in twips on every device.
  f.setPixelSize(std::max(1, twips(font.size)));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setFixedPitch(!font.proportional);
  f.setHintingPreference(QFont::PreferNoHinting);
  qfont_ = f;
  metrics_.emplace(qfont_, printer_);
  known_.push_back({font, qfont_, *metrics_});
  return true;
}

int QtPrevPrint::textWidth(TextView text) {
  return static_cast<int>(std::lround(metrics_->horizontalAdvance(qtext(text))));
}

int QtPrevPrint::textHeight(TextView) { return static_cast<int>(std::lround(metrics_->height())); }

}  // namespace zevro
