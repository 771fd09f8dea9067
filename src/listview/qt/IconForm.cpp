#include "listview/qt/IconForm.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "dialogs/qt/DialogSupport.h"
#include "grid/qt/GridFonts.h"
#include "listview/qt/IconStrip.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

// The list area of the help texts: the dialog's top left, 2520 x 585 twips.
constexpr int ListAreaWidth = 2520;
constexpr int ListAreaHeight = 585;

}  // namespace

// PICVIW: the chosen type's icon centred, at the logic's size; a click
// switches the size.
class IconPreview : public QWidget {
public:
  IconPreview(IconForm& form, const IconEdit& edit, const QImage& strip, IconFormLogic& logic)
      : QWidget(&form), form_(form), edit_(edit), strip_(strip), logic_(logic) {
    setFixedSize(IconFormLogic::Enlarged + 8, IconFormLogic::Enlarged + 8);
    setMouseTracking(true);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const int icon = edit_.iconOf(form_.chosenCode());
    const QImage picture = iconstrip::iconImage(strip_, icon);
    if (picture.isNull()) return;
    const int size = logic_.previewSize();
    const QRect place((width() - size) / 2, (height() - size) / 2, size, size);
    // Enlarged pixel by pixel, so the user sees what a 16-pixel icon holds.
    p.drawImage(place, picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    logic_.togglePreview();
    update();
  }

private:
  IconForm& form_;
  const IconEdit& edit_;
  const QImage& strip_;
  IconFormLogic& logic_;
};

IconForm::IconForm(IconEdit& edit, QImage& strip, Ui& ui, QWidget* parent)
    : QDialog(parent), edit_(edit), strip_(strip), ui_(ui) {
  setWindowTitle(toQString(IconFormLogic::Caption));
  setFont(dialogFont());
  setMouseTracking(true);
  clipboard_ = [] { return QGuiApplication::clipboard()->image(); };

  typeName_ = new QLabel(toQString(IconFormLogic::TypeCaption), this);
  typeList_ = new QComboBox(this);
  typeList_->setObjectName(QStringLiteral("TYPLST"));
  typeList_->setFont(QFont(gridfonts::familyFor(IconFormLogic::ListFont), 9));
  typeList_->setMaxVisibleItems(20);
  for (const IconEdit::Entry& entry : edit_.entries()) typeList_->addItem(toQString(entry.extension), entry.code);
  typeList_->setCurrentIndex(typeList_->count() > 0 ? 0 : -1);
  preview_ = new IconPreview(*this, edit_, strip_, logic_);
  preview_->setObjectName(QStringLiteral("PICVIW"));
  paste_ = new QPushButton(toQString(IconFormLogic::PasteCaption), this);
  paste_->setObjectName(QStringLiteral("PSTBTN"));
  add_ = new QPushButton(toQString(IconFormLogic::AddCaption), this);
  add_->setObjectName(QStringLiteral("ADDBTN"));
  ok_ = new QPushButton(toQString(IconFormLogic::OkCaption), this);
  ok_->setObjectName(QStringLiteral("OKBTN"));
  cancel_ = new QPushButton(toQString(IconFormLogic::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CANBTN"));
  help_ = new QLabel(this);
  help_->setObjectName(QStringLiteral("HLPDSP"));
  help_->setWordWrap(true);
  help_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  help_->setFrameShape(QFrame::Panel);
  help_->setFrameShadow(QFrame::Sunken);

  // Fixed places, as the dialog always had: the list and the preview on
  // top, the buttons beside them, the help text below.
  const int listWidth = toPixelsX(ListAreaWidth, *this) - 16;
  typeName_->setGeometry(8, 6, listWidth, 16);
  typeList_->setGeometry(8, 24, listWidth, 24);
  preview_->move(listWidth + 16, 8);
  const int buttonsX = listWidth + preview_->width() + 24;
  paste_->setGeometry(buttonsX, 8, 80, 26);
  add_->setGeometry(buttonsX, 40, 80, 26);
  ok_->setGeometry(buttonsX + 88, 8, 80, 26);
  cancel_->setGeometry(buttonsX + 88, 40, 80, 26);
  help_->setGeometry(8, 76, buttonsX + 168 - 8, 92);
  setFixedSize(buttonsX + 176, 176);

  for (QWidget* w : std::initializer_list<QWidget*>{typeName_, typeList_, preview_, paste_, add_, ok_, cancel_, help_}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  connect(typeList_, &QComboBox::currentIndexChanged, preview_, [this] { preview_->update(); });
  connect(paste_, &QPushButton::clicked, this, &IconForm::pasteIcon);
  connect(add_, &QPushButton::clicked, this, &IconForm::addExtension);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &IconForm::reject);
}

QWidget* IconForm::preview() const { return preview_; }

int IconForm::chosenCode() const {
  const QVariant code = typeList_->currentData();
  return code.isValid() ? code.toInt() : -1;
}

void IconForm::pasteIcon() {
  const QImage picture = clipboard_ ? clipboard_() : QImage();
  if (picture.isNull()) {
    showHelp(logic_.show(IconFormLogic::Region::Paste, IconFormLogic::NoBitmapHelp));
    ui_.beep();
    return;
  }
  const int code = chosenCode();
  const std::optional<int> target = edit_.paste(code);
  if (!target) {
    showHelp(logic_.show(IconFormLogic::Region::Paste, IconFormLogic::FullHelp));
    ui_.beep();
    return;
  }
  if (*target > iconstrip::iconCount(strip_)) strip_ = iconstrip::withIcons(strip_, *target);
  iconstrip::putCell(strip_, *target, iconstrip::pastedCell(picture));
  preview_->update();
}

void IconForm::addExtension() {
  bool full = false;
  const std::optional<IconEdit::AddResult> added = logic_.askExtension(ui_, edit_, full);
  if (full) showHelp(logic_.show(IconFormLogic::Region::Add, IconFormLogic::FullHelp));
  if (!added) return;
  typeList_->addItem(toQString(added->extension), added->code);
  typeList_->setCurrentIndex(typeList_->count() - 1);
  preview_->update();
}

void IconForm::reject() {
  // Cancel and the close box: nothing the dialog changed is kept.
  edit_.forget();
  QDialog::reject();
}

void IconForm::showHelp(const Text& text) { help_->setText(toQString(text)); }

void IconForm::pointerIn(IconFormLogic::Region region) {
  if (const std::optional<Text> text = logic_.hover(region)) showHelp(*text);
}

bool IconForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
    using R = IconFormLogic::Region;
    if (watched == preview_) pointerIn(R::Preview);
    else if (watched == paste_) pointerIn(R::Paste);
    else if (watched == add_) pointerIn(R::Add);
    else if (watched == typeList_ || watched == typeName_) pointerIn(R::List);
    else if (watched == ok_ || watched == cancel_) pointerIn(R::None);
  }
  return QDialog::eventFilter(watched, event);
}

void IconForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  // A move over a control reaches the dialog too; the control's own region holds.
  const QWidget* under = childAt(at);
  if (under && under != help_ && under != this) {
    QDialog::mouseMoveEvent(event);
    return;
  }
  const bool inList = at.x() < toPixelsX(ListAreaWidth, *this) && at.y() < toPixelsY(ListAreaHeight, *this);
  pointerIn(inList ? IconFormLogic::Region::List : IconFormLogic::Region::None);
  QDialog::mouseMoveEvent(event);
}

}  // namespace zevro
