#include "viewers/qt/DataForm.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScreen>
#include <QStackedLayout>

#include "dialogs/qt/DialogSupport.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"
#include "viewers/DocumentText.h"

namespace zevro {

DataForm::DataForm(FileSystem& files, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), files_(files), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("DataForm"));
  stack_ = new QStackedLayout(this);
  text_ = new QPlainTextEdit;
  text_->setObjectName(QStringLiteral("TXTVIW"));
  text_->setReadOnly(true);
  text_->setFont(QFont(QStringLiteral("IPAGothic"), 10));
  image_ = new QLabel;
  image_->setObjectName(QStringLiteral("LIVIMG"));
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scroll_ = new QScrollArea;
  scroll_->setWidget(image_);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  stack_->addWidget(text_);
  stack_->addWidget(scroll_);
  resize(560, 480);
}

void DataForm::showBeside() {
  if (!shownOnce_ && mainWindow_) {
    const QRect main = mainWindow_->frameGeometry();
    move(main.right() + 1, main.top());
  }
  shownOnce_ = true;
  show();
  raise();
}

void DataForm::DispDoc(const NativePath& file, TextView displayName) {
  IoError error;
  const std::optional<Text> text = documentText(files_, file, &error);
  text_->setPlainText(text ? toQString(*text) : QString::fromStdString(error.text));
  setWindowTitle(toQString(displayName));
  stack_->setCurrentWidget(text_);
  showBeside();
}

void DataForm::DispPic(const PictureShow& picture) {
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(picture.file.native())));
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  const QRect inner = contentsRect();
  const int borderW = frameGeometry().width() - width();
  const int borderH = frameGeometry().height() - height();
  const PictureFit fit = fitPicture(picture.width, picture.height, settings_.fixPreview, settings_.picViewWidth,
                                    settings_.picViewHeight, inner.height(), borderW, borderH);
  QPixmap pixmap = QPixmap::fromImage(image);
  if (fit.width != picture.width || fit.height != picture.height)
    pixmap = pixmap.scaled(fit.width, fit.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  image_->setPixmap(pixmap);
  image_->resize(pixmap.size());
  image_->move(fit.x, fit.y);
  resize(fit.windowWidth - borderW, fit.windowHeight - borderH);
  setWindowTitle(toQString(picture.caption));
  stack_->setCurrentWidget(scroll_);
  showBeside();
}

void DataForm::DispNull() {
  text_->clear();
  image_->clear();
  setWindowTitle(QString());
}

}  // namespace zevro
