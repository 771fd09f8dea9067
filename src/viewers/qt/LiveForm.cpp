#include "viewers/qt/LiveForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStackedLayout>

#include "core/Geometry.h"
#include "core/OptionKeys.h"
#include "dialogs/FontOptions.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

int screenTwipsPerPixel(const QWidget& w) { return twipsPerPixel(w.logicalDpiX()); }

}  // namespace

LiveForm::LiveForm(FileSystem& files, QWidget* mainWindow, Ui* ui, OptionStore* options)
    : QWidget(mainWindow, Qt::Window), files_(files), mainWindow_(mainWindow), ui_(ui), options_(options) {
  setObjectName(QStringLiteral("LiveForm"));
  stack_ = new QStackedLayout(this);
  // The views take the whole client area: a picture shown at its natural
  // size needs every pixel of it.
  stack_->setContentsMargins(0, 0, 0, 0);
  text_ = new QPlainTextEdit;
  text_->setObjectName(QStringLiteral("TXTVIW"));
  text_->setReadOnly(true);
  text_->setFont(QFont(QStringLiteral("IPAGothic"), 10));
  image_ = new QLabel;
  image_->setObjectName(QStringLiteral("LIVIMG"));
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image_->setScaledContents(true);
  scroll_ = new QScrollArea;
  scroll_->setWidget(image_);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A small picture gets a small window: the views set no least size.
  text_->setMinimumSize(1, 1);
  scroll_->setMinimumSize(1, 1);
  stack_->addWidget(text_);
  stack_->addWidget(scroll_);
  // Keys and the right button reach the window from its views too.
  for (QWidget* w : {static_cast<QWidget*>(text_), text_->viewport(), static_cast<QWidget*>(scroll_),
                     scroll_->viewport(), static_cast<QWidget*>(image_)})
    w->installEventFilter(this);
  resize(560, 480);
  load();
}

void LiveForm::load() {
  loaded_ = true;
  logic_ = LiveFormLogic(screenTwipsPerPixel(*this));
  if (options_) {
    const int tpp = logic_.twipsPerPixel();
    const QRect now = geometry();
    const int x = options_->readNumber(opt::LiveViewX, now.x() * tpp) / tpp;
    const int y = options_->readNumber(opt::LiveViewY, now.y() * tpp) / tpp;
    const int w = options_->readNumber(opt::LiveViewWidth, width() * tpp) / tpp;
    const int h = options_->readNumber(opt::LiveViewHeight, height() * tpp) / tpp;
    if (options_->has(opt::LiveViewX)) placed_ = true;
    move(x, y);
    resize(std::max(w, 60), std::max(h, 40));
  }
  ChangePrevFont();
}

void LiveForm::unload() {
  if (options_ && loaded_) {
    const int tpp = logic_.twipsPerPixel();
    options_->writeNumber(opt::LiveViewX, x() * tpp);
    options_->writeNumber(opt::LiveViewY, y() * tpp);
    options_->writeNumber(opt::LiveViewWidth, width() * tpp);
    options_->writeNumber(opt::LiveViewHeight, height() * tpp);
  }
  loaded_ = false;
  hide();
}

void LiveForm::ChangePrevFont() {
  if (!options_) return;
  const QFont now = text_->font();
  const FontChoice font =
      fontoptions::read(*options_, fontoptions::previewKeys(), {fromQString(now.family()), 9.75, false});
  QFont f(toQString(font.name));
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  text_->setFont(f);
}

void LiveForm::showWindow() {
  if (!loaded_) load();
  if (!placed_ && mainWindow_) {
    const QRect main = mainWindow_->frameGeometry();
    move(main.right() + 1, main.top());
  }
  placed_ = true;
  if (!isVisible()) show();
  raise();
}

void LiveForm::DispDoc(const NativePath& file, TextView displayName) {
  DocLoad load = ui_ ? loadDocTextTold(files_, *ui_, file) : loadDocText(files_, file);
  if (load.outcome == DocLoad::Outcome::Missing) return;
  if (load.outcome == DocLoad::Outcome::Failed) {
    if (!ui_) text_->setPlainText(QString::fromStdString(load.error.text));
    setWindowTitle(QString());
    return;
  }
  setWindowTitle(toQString(displayName));
  text_->setPlainText(toQString(load.text));
  stack_->setCurrentWidget(text_);
  text_->show();
  const Size2 least = logic_.textWindow({width(), height()});
  if (least.width != width() || least.height != height()) resize(least.width, least.height);
  showWindow();
  QApplication::restoreOverrideCursor();
}

void LiveForm::DispPic(const PictureShow& picture) {
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(picture.file.native())));
  reader.setAutoTransform(true);
  picture_ = QPixmap::fromImage(reader.read());
  logic_.resetZoom();
  const QRect inner = contentsRect();
  const int borderW = frameGeometry().width() - width();
  const int borderH = frameGeometry().height() - height();
  const PictureFit fit = fitPicture(picture.width, picture.height, settings_.fixPreview, settings_.picViewWidth,
                                    settings_.picViewHeight, inner.height(), borderW, borderH);
  resizing_ = true;
  image_->setPixmap(picture_);
  image_->resize(fit.width, fit.height);
  image_->move(fit.x, fit.y);
  resize(fit.windowWidth - borderW, fit.windowHeight - borderH);
  resizing_ = false;
  setWindowTitle(toQString(picture.caption));
  stack_->setCurrentWidget(scroll_);
  image_->show();
  showWindow();
}

void LiveForm::DispNull() {
  text_->clear();
  image_->clear();
  picture_ = QPixmap();
  image_->hide();
  setWindowTitle(QString());
}

Size2 LiveForm::frame() const {
  // What the window has around its picture: the layout's margins and the
  // scroll area's frame.
  const QMargins m = stack_->contentsMargins();
  const int f = 2 * scroll_->frameWidth();
  return {m.left() + m.right() + f, m.top() + m.bottom() + f};
}

QSize LiveForm::stretchedSize() const {
  // Worked out from the window rather than read from the scroll area, whose
  // own size is settled only when its resize event has come.
  const Size2 f = frame();
  return {std::max(1, contentsRect().width() - f.width), std::max(1, contentsRect().height() - f.height)};
}

void LiveForm::zoomKey(LiveFormLogic::KeyRoute route) {
  if (picture_.isNull()) return;
  image_->move(0, 0);
  if (route == LiveFormLogic::KeyRoute::Natural) {
    resizing_ = true;
    image_->resize(picture_.size());
    const Size2 w = LiveFormLogic::naturalWindow({picture_.width(), picture_.height()}, frame());
    resize(w.width, w.height);
    resizing_ = false;
    return;
  }
  const std::optional<LiveFormLogic::Zoom> z =
      logic_.zoom(route, fromQString(windowTitle()), image_->width(), frame());
  if (!z) return;
  if (z->image) image_->resize(z->image->width, z->image->height);
  resize(z->window.width, z->window.height);
  if (!z->image) image_->resize(stretchedSize());
}

void LiveForm::KeyIn(char16_t c) {
  const LiveFormLogic::KeyRoute route = LiveFormLogic::route(c);
  if (route == LiveFormLogic::KeyRoute::Natural || route == LiveFormLogic::KeyRoute::ZoomIn ||
      route == LiveFormLogic::KeyRoute::ZoomOut)
    zoomKey(route);
}

void LiveForm::giveBack(int qtKey) {
  if (!mainWindow_) return;
  mainWindow_->activateWindow();
  if (qtKey == 0) return;
  if (mainKeys_) {
    mainKeys_(qtKey);
    return;
  }
  QWidget* target = mainWindow_->focusWidget() ? mainWindow_->focusWidget() : mainWindow_;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

void LiveForm::keyPressEvent(QKeyEvent* event) {
  int key = event->text().size() == 1 ? event->text().at(0).unicode() : 0;
  const bool pad = event->modifiers() & Qt::KeypadModifier;
  if (pad && event->key() == Qt::Key_Plus) key = LiveFormLogic::KeyPadPlus;
  if (pad && event->key() == Qt::Key_Minus) key = LiveFormLogic::KeyPadMinus;
  if (event->key() == Qt::Key_Up) key = LiveFormLogic::KeyUp;
  if (event->key() == Qt::Key_Down) key = LiveFormLogic::KeyDown;
  switch (const LiveFormLogic::KeyRoute route = LiveFormLogic::route(key)) {
    case LiveFormLogic::KeyRoute::Natural:
    case LiveFormLogic::KeyRoute::ZoomIn:
    case LiveFormLogic::KeyRoute::ZoomOut: zoomKey(route); break;
    case LiveFormLogic::KeyRoute::Stay: break;
    case LiveFormLogic::KeyRoute::MainUp: giveBack(Qt::Key_Up); break;
    case LiveFormLogic::KeyRoute::MainDown: giveBack(Qt::Key_Down); break;
    case LiveFormLogic::KeyRoute::Main: giveBack(0); break;
  }
  event->accept();
}

void LiveForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    unload();
    return;
  }
  QWidget::mousePressEvent(event);
}

bool LiveForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    unload();
    return true;
  }
  if (event->type() == QEvent::ContextMenu) return true;
  return QWidget::eventFilter(watched, event);
}

void LiveForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (resizing_ || !options_) return;
  const QRect client = contentsRect();
  const LiveFormLogic::Resize r =
      logic_.resized({width(), height()}, {client.width(), client.height()}, settings_.fixPreview, *options_,
                     fromQString(windowTitle()), image_->width());
  if (settings_.fixPreview) {
    settings_.picViewWidth = width();
    settings_.picViewHeight = height();
    return;
  }
  if (r.stretch && !picture_.isNull()) image_->resize(stretchedSize());
}

void LiveForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
  setWindowTitle(QString());
  image_->clear();
  picture_ = QPixmap();
}

}  // namespace zevro
