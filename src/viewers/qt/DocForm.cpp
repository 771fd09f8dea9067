#include "viewers/qt/DocForm.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/Geometry.h"
#include "core/OptionKeys.h"
#include "dialogs/FontOptions.h"
#include "platform/qt/QtText.h"

namespace zevro {

DocForm::DocForm(DocFormModel::EditComment editComment, OptionStore* options, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), model_(std::move(editComment)), options_(options), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("DocForm"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 8, 4);  // the box: client width - 12, height - 8
  text_ = new QPlainTextEdit;
  text_->setObjectName(QStringLiteral("DOCVIW"));
  text_->setFont(QFont(QStringLiteral("IPAGothic"), 10));
  text_->installEventFilter(this);
  layout->addWidget(text_);
  resize(400, 300);
  load();
}

void DocForm::load() {
  loaded_ = true;
  tpp_ = twipsPerPixel(logicalDpiX());
  if (options_) {
    const int x = options_->readNumber(opt::DocViewX, this->x() * tpp_) / tpp_;
    const int y = options_->readNumber(opt::DocViewY, this->y() * tpp_) / tpp_;
    const int w = options_->readNumber(opt::DocViewWidth, width() * tpp_) / tpp_;
    const int h = options_->readNumber(opt::DocViewHeight, height() * tpp_) / tpp_;
    if (options_->has(opt::DocViewX)) {
      move(x, y);
    } else if (mainWindow_) {
      const QRect main = mainWindow_->frameGeometry();
      move(main.left() + main.width() / 2, main.top() + main.height() / 2);
    }
    resize(std::max(w, 60), std::max(h, 40));
  }
  ChangeDocFont();
}

void DocForm::unload() {
  if (options_ && loaded_) {
    options_->writeNumber(opt::DocViewX, x() * tpp_);
    options_->writeNumber(opt::DocViewY, y() * tpp_);
    options_->writeNumber(opt::DocViewWidth, width() * tpp_);
    options_->writeNumber(opt::DocViewHeight, height() * tpp_);
  }
  loaded_ = false;
  hide();
}

void DocForm::ChangeDocFont() {
  if (!options_) return;
  const FontChoice font = fontoptions::read(*options_, fontoptions::commentKeys(),
                                            {fromQString(text_->font().family()), 9.75, false});
  QFont f(toQString(font.name));
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  text_->setFont(f);
}

Text DocForm::box() const { return fromQString(text_->toPlainText()); }

void DocForm::DispCommentText(TextView catalog, int row, TextView name, TextView comment) {
  if (!loaded_) load();
  const DocFormModel::View v = model_.DispCommentText(catalog, row, name, comment, box());
  setWindowTitle(toQString(v.caption));
  text_->setPlainText(toQString(v.box));
  text_->setEnabled(v.enabled);
  if (!isVisible()) show();
}

bool DocForm::isCommentTextEdited(TextView catalog, int row, TextView name, Text* text) {
  Text now = box();
  const Text before = now;
  const bool edited = model_.isCommentTextEdited(catalog, row, name, text, &now);
  if (now != before) text_->setPlainText(toQString(now));
  return edited;
}

bool DocForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && event->type() == QEvent::FocusOut) {
    if (const std::optional<Text> back = model_.leave(box())) text_->setPlainText(toQString(*back));
  }
  return QWidget::eventFilter(watched, event);
}

void DocForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
  setWindowTitle(QString());
}

}  // namespace zevro
