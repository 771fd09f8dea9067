#include "print/qt/PrevForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/qt/DialogSupport.h"

namespace zevro {

namespace {

using C = PrevControl;

QString qtext(TextView t) { return QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size())); }
Text fromQ(const QString& s) { return Text(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())); }

// The preview is this many twips of the window high (the sheet fits in it).
constexpr int PreviewHeightTwips = 9000;
constexpr int PreviewBorder = 8;  // pixels of grey around the sheet

}  // namespace

// PREVIW: the sheet at its place, the page surface shrunk into its
// printable part, one scale for both.
class PrevForm::Preview : public QWidget {
public:
  explicit Preview(PrevForm& form) : QWidget(&form), form_(form) { setObjectName(QStringLiteral("PREVIW")); }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    const QtPrevPrint& d = *form_.device_;
    const PrevFormLogic::PreviewPlace place = PrevFormLogic::previewPlace(
        d.paperWidth(), d.paperHeight(), {d.printableLeft(), d.printableTop(), d.pageWidth(), d.pageHeight()},
        width() - PreviewBorder, height() - PreviewBorder);
    const QPoint at((width() - place.sheet.width) / 2, (height() - place.sheet.height) / 2);
    p.fillRect(QRect(at + QPoint(3, 3), QSize(place.sheet.width, place.sheet.height)), QColor(0x50, 0x50, 0x50));
    p.fillRect(QRect(at, QSize(place.sheet.width, place.sheet.height)), Qt::white);
    const QImage& page = d.shownPage();
    if (page.isNull()) return;
    // Drawn at the preview's scale already: copied, not stretched, unless
    // the paper changed since.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(at + QPoint(place.page.left, place.page.top), QSize(place.page.width, place.page.height)), page);
  }

private:
  PrevForm& form_;
};

PrevForm::PrevForm(OptionStore& options, Ui& ui, QWidget* owner)
    : QDialog(owner), options_(options), ui_(ui), printer_(QPrinter::HighResolution) {
  setUp();
  device_ = std::make_unique<QtPrevPrint>(printer_);
  device_->onPageShown = [this](const QImage&) {
    if (preview_) preview_->update();
  };
  build();
  logic_.load(options_);
  applySettings();
}

PrevForm::~PrevForm() = default;

void PrevForm::setUp() {
  printer_.setPageSize(QPageSize(QPageSize::A4));
  printer_.setPageOrientation(QPageLayout::Portrait);
  // Without a printer the print goes into a PDF file the user names.
  if (QPrinterInfo::availablePrinters().isEmpty()) printer_.setOutputFormat(QPrinter::PdfFormat);
}

QWidget* PrevForm::control(PrevControl c) const {
  const auto it = controls_.find(c);
  return it == controls_.end() ? nullptr : it->second;
}

void PrevForm::build() {
  setWindowTitle(qtext(PrevFormLogic::Caption));
  setFont(dialogFont());
  setModal(true);
  auto add = [this](C c, QWidget* w) {
    const PrevControlText& t = PrevFormLogic::text(c);
    w->setObjectName(qtext(t.name));
    if (!t.tooltip.empty()) w->setToolTip(qtext(t.tooltip));
    w->installEventFilter(this);
    controls_[c] = w;
    return w;
  };
  auto caption = [](C c) { return qtext(PrevFormLogic::text(c).caption); };
  auto radio = [&](C c) { return static_cast<QRadioButton*>(add(c, new QRadioButton(caption(c), this))); };
  auto check = [&](C c) { return static_cast<QCheckBox*>(add(c, new QCheckBox(caption(c), this))); };
  auto group = [&](C c) { return static_cast<QGroupBox*>(add(c, new QGroupBox(caption(c), this))); };

  auto* outer = new QHBoxLayout(this);
  preview_ = new Preview(*this);
  const int previewHeight = toPixelsY(PreviewHeightTwips, *this);
  preview_->setFixedSize(previewHeight * 11906 / 16838 + PreviewBorder, previewHeight);
  outer->addWidget(preview_);
  auto* right = new QVBoxLayout;
  outer->addLayout(right);

  QGroupBox* items = group(C::FRM印字項目);
  auto* itemsLayout = new QVBoxLayout(items);
  for (C c : {C::項目OPT0, C::項目OPT1, C::項目OPT2}) itemsLayout->addWidget(radio(c));
  right->addWidget(items);

  QGroupBox* range = group(C::FRM印字範囲);
  auto* rangeLayout = new QVBoxLayout(range);
  QRadioButton* all = radio(C::頁範囲OPT0);
  QRadioButton* some = radio(C::頁範囲OPT1);
  all->setChecked(true);
  rangeLayout->addWidget(all);
  auto* someRow = new QHBoxLayout;
  someRow->addWidget(some);
  top_ = static_cast<QLineEdit*>(add(C::TOPLIN, new QLineEdit(caption(C::TOPLIN), this)));
  end_ = static_cast<QLineEdit*>(add(C::ENDLIN, new QLineEdit(caption(C::ENDLIN), this)));
  for (QLineEdit* box : {top_, end_}) box->setMaximumWidth(toPixelsX(600, *this));
  someRow->addWidget(top_);
  someRow->addWidget(new QLabel(QStringLiteral("～"), this));
  someRow->addWidget(end_);
  rangeLayout->addLayout(someRow);
  right->addWidget(range);

  QGroupBox* fonts = group(C::Frame1);
  auto* fontLayout = new QVBoxLayout(fonts);
  auto* familyRow = new QHBoxLayout;
  familyRow->addWidget(radio(C::FONTYP0));
  familyRow->addWidget(radio(C::FONTYP1));
  fontLayout->addLayout(familyRow);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(add(C::Label1, new QLabel(caption(C::Label1), this)));
  size_ = static_cast<QComboBox*>(add(C::SIZLST, new QComboBox(this)));
  for (TextView s : PrevFormLogic::SizeItems) size_->addItem(qtext(s));
  sizeRow->addWidget(size_);
  sizeRow->addWidget(add(C::Label2, new QLabel(caption(C::Label2), this)));
  gap_ = static_cast<QComboBox*>(add(C::行間LST, new QComboBox(this)));
  for (TextView s : PrevFormLogic::GapItems) gap_->addItem(qtext(s));
  sizeRow->addWidget(gap_);
  fontLayout->addLayout(sizeRow);
  fontLayout->addWidget(check(C::BLDSEL));
  right->addWidget(fonts);

  for (C c : {C::ツリー印字SEL, C::コメント欄SEL, C::欄入替SEL, C::縦罫SEL, C::横罫SEL, C::外枠SEL, C::折返SEL})
    right->addWidget(check(c));
  right->addStretch();
  auto* buttons = new QHBoxLayout;
  for (C c : {C::SETBTN, C::PRNBTN, C::CANBTN}) {
    auto* b = static_cast<QPushButton*>(add(c, new QPushButton(caption(c), this)));
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  right->addLayout(buttons);

  // Stored settings.
  auto onToggle = [this](C c, std::function<void(PrintSettings&, bool)> set) {
    connect(static_cast<QAbstractButton*>(control(c)), &QAbstractButton::toggled, this, [this, set](bool on) {
      storedChanged([&](PrintSettings& s) { set(s, on); });
    });
  };
  onToggle(C::FONTYP0, [](PrintSettings& s, bool on) { if (on) s.mincho = true; });
  onToggle(C::FONTYP1, [](PrintSettings& s, bool on) { if (on) s.mincho = false; });
  onToggle(C::BLDSEL, [](PrintSettings& s, bool on) { s.bold = on; });
  onToggle(C::ツリー印字SEL, [](PrintSettings& s, bool on) { s.tree = on; });
  onToggle(C::コメント欄SEL, [](PrintSettings& s, bool on) { s.comment = on; });
  onToggle(C::欄入替SEL, [](PrintSettings& s, bool on) { s.swap = on; });
  onToggle(C::縦罫SEL, [](PrintSettings& s, bool on) { s.verticalRules = on; });
  onToggle(C::横罫SEL, [](PrintSettings& s, bool on) { s.horizontalRules = on; });
  onToggle(C::外枠SEL, [](PrintSettings& s, bool on) { s.frame = on; });
  onToggle(C::折返SEL, [](PrintSettings& s, bool on) { s.wrap = on; });
  connect(size_, &QComboBox::currentIndexChanged, this,
          [this](int i) { storedChanged([i](PrintSettings& s) { s.sizeIndex = i; }); });
  connect(gap_, &QComboBox::currentIndexChanged, this,
          [this](int i) { storedChanged([i](PrintSettings& s) { s.gapIndex = i; }); });

  // Items and range: not stored, but the preview follows them.
  const C itemControls[] = {C::項目OPT0, C::項目OPT1, C::項目OPT2};
  for (int i = 0; i < 3; ++i) {
    connect(static_cast<QAbstractButton*>(control(itemControls[i])), &QAbstractButton::toggled, this,
            [this, i](bool on) {
              if (!on || loading_) return;
              logic_.current().items = i;
              redrawIfPreview();
            });
  }
  connect(all, &QAbstractButton::toggled, this, [this](bool on) {
    if (loading_) return;
    logic_.current().allPages = on;
    redrawIfPreview();
  });

  connect(static_cast<QPushButton*>(control(C::PRNBTN)), &QPushButton::clicked, this, [this] { start(); });
  connect(static_cast<QPushButton*>(control(C::CANBTN)), &QPushButton::clicked, this, [this] {
    start_ = false;
    hide();
  });
  connect(static_cast<QPushButton*>(control(C::SETBTN)), &QPushButton::clicked, this, [this] {
    // Whatever the dialog answers, the preview stays; the new paper counts
    // from the next drawing.
    QPrintDialog dialog(&printer_, this);
    dialog.exec();
    device_->setPrinter(printer_);
    if (device_->preview()) {
      device_->setSurfaceDpi(previewDpi());
      device_->setPreview(true);
    }
  });
}

void PrevForm::applySettings() {
  loading_ = true;
  const PrintSettings& s = logic_.settings();
  static_cast<QRadioButton*>(control(s.mincho ? C::FONTYP0 : C::FONTYP1))->setChecked(true);
  static_cast<QCheckBox*>(control(C::BLDSEL))->setChecked(s.bold);
  size_->setCurrentIndex(s.sizeIndex);
  gap_->setCurrentIndex(s.gapIndex);
  const std::pair<C, bool> checks[] = {{C::ツリー印字SEL, s.tree}, {C::コメント欄SEL, s.comment}, {C::欄入替SEL, s.swap},
                                       {C::縦罫SEL, s.verticalRules}, {C::横罫SEL, s.horizontalRules},
                                       {C::外枠SEL, s.frame},         {C::折返SEL, s.wrap}};
  for (const auto& [c, on] : checks) static_cast<QCheckBox*>(control(c))->setChecked(on);
  top_->setText(QStringLiteral("1"));
  end_->setText(QStringLiteral("1"));
  loading_ = false;
}

void PrevForm::storedChanged(const std::function<void(PrintSettings&)>& edit) {
  if (loading_) return;
  logic_.change(edit);
  redrawIfPreview();
}

void PrevForm::redrawIfPreview() {
  if (device_->preview() && refreshPreview) refreshPreview();
}

double PrevForm::previewDpi() const {
  const QtPrevPrint& d = *device_;
  if (d.paperWidth() <= 0 || d.paperHeight() <= 0) return QtPrevPrint::DefaultSurfaceDpi;
  const double scale = std::min(static_cast<double>(preview_->width() - PreviewBorder) / d.paperWidth(),
                                static_cast<double>(preview_->height() - PreviewBorder) / d.paperHeight());
  return scale * 1440;
}

int PrevForm::widthTwips() const {
  const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  return width() * 1440 / dpi;
}

void PrevForm::enableForList(int shownMode) {
  loading_ = true;
  for (C c : {C::FRM印字項目, C::FRM印字範囲, C::頁範囲OPT0, C::頁範囲OPT1, C::ツリー印字SEL, C::コメント欄SEL, C::欄入替SEL})
    control(c)->setEnabled(true);
  auto item = [this](int i) { return static_cast<QRadioButton*>(control(static_cast<C>(static_cast<int>(C::項目OPT0) + i))); };
  int chosen = logic_.settings().items;
  if (shownMode == 1) {
    chosen = PrintSettings::FoldersAndFiles;
  } else if (shownMode == 0) {
    chosen = PrintSettings::FoldersOnly;
  } else if (chosen != PrintSettings::FoldersOnly) {
    chosen = PrintSettings::FilesOnly;
  }
  item(0)->setEnabled(shownMode == 1);
  item(1)->setEnabled(shownMode != 1);
  item(2)->setEnabled(shownMode != 1 && shownMode != 0);
  item(chosen)->setChecked(true);
  logic_.current().items = chosen;
  loading_ = false;
}

void PrevForm::enableForSearch() {
  for (C c : {C::FRM印字項目, C::項目OPT0, C::項目OPT1, C::項目OPT2, C::FRM印字範囲, C::頁範囲OPT0, C::頁範囲OPT1,
              C::ツリー印字SEL, C::コメント欄SEL, C::欄入替SEL})
    control(c)->setEnabled(false);
}

bool PrevForm::run() {
  start_ = false;
  exec();
  return start_;
}

void PrevForm::start() {
  if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty()) {
    const QString file = choosePdfFile ? choosePdfFile() : QString();
    if (file.isEmpty()) return;
    printer_.setOutputFileName(file);
  }
  start_ = true;
  hide();
  logic_.save(options_);
}

void PrevForm::unload() { logic_.save(options_); }

void PrevForm::closeEvent(QCloseEvent* event) {
  start_ = false;
  QDialog::closeEvent(event);
}

void PrevForm::leaveTop() {
  const PrevFormLogic::RangeAnswer a = PrevFormLogic::leaveTop(fromQ(top_->text()), fromQ(end_->text()));
  if (a.beep) {
    ui_.beep();
    QTimer::singleShot(0, top_, [this] { top_->setFocus(); });
  }
  if (a.endText) end_->setText(qtext(*a.endText));
  logic_.current().rangeStart = PrevFormLogic::leadingNumber(fromQ(top_->text()));
  logic_.current().rangeEnd = PrevFormLogic::leadingNumber(fromQ(end_->text()));
  if (a.redraw) redrawIfPreview();
}

void PrevForm::leaveEnd() {
  const PrevFormLogic::RangeAnswer a = PrevFormLogic::leaveEnd(fromQ(end_->text()), fromQ(top_->text()));
  if (a.beep) {
    ui_.beep();
    QTimer::singleShot(0, end_, [this] { end_->setFocus(); });
    return;
  }
  logic_.current().rangeEnd = PrevFormLogic::leadingNumber(fromQ(end_->text()));
}

bool PrevForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == top_ || watched == end_) {
    auto* box = static_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::FocusIn) QTimer::singleShot(0, box, [box] { box->selectAll(); });
    if (event->type() == QEvent::FocusOut && isVisible()) {
      if (watched == top_)
        leaveTop();
      else
        leaveEnd();
    }
  }
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
  // Enter moves the focus along the form; it never types into a control.
  for (const auto& [c, w] : controls_) {
    if (w != watched) continue;
    const std::optional<C> to = PrevFormLogic::enterTarget(c, logic_.settings().allPages);
    if (to) {
      control(*to)->setFocus();
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      button->click();
    }
    return true;
  }
  return true;
}

}  // namespace zevro
