#include "media/qt/ScanForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Geometry.h"
#include "core/Numbers.h"
#include "dialogs/qt/DialogSupport.h"
#include "media/qt/ReadForm.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

// Pending events run at most this often during a reading: often enough for
// the stop button and the counter, rarely enough not to slow the walk.
constexpr auto PumpInterval = std::chrono::milliseconds(50);
// The drive list is as wide as this many characters; longer entries are
// shown whole in its pop-up.
constexpr int DriveListCharacters = 44;
constexpr int ProgressCharacters = 52;

QColor fromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

QCheckBox* checkBox(TextView caption, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(toQString(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

void setChecked(QAbstractButton* button, bool on) {
  const QSignalBlocker blocker(button);
  button->setChecked(on);
}

}  // namespace

ScanForm::ScanForm(ScanFormLogic::Services services, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      logic_(std::move(services)),
      mainWindow_(mainWindow),
      throttle_(
          [this] {
            showProgress();
            QCoreApplication::processEvents();
            return true;
          },
          PumpInterval) {
  setObjectName(QStringLiteral("ScanForm"));
  setFont(dialogFont());
  setWindowTitle(toQString(ScanFormLogic::Caption));
  build();

  ScanFormLogic::Hooks hooks;
  hooks.changed = [this] { sync(); };
  hooks.waitForStart = [this] {
    if (logic_.runState() == ScanFormLogic::RunState::Waiting) waiting_.exec();
  };
  hooks.pump = [this] { pumpEvents(); };
  hooks.askExisting = [this](const MediaReading::ExistingCatalog& existing) {
    return ReadForm::QueryNewOrAdd(existing, this);
  };
  hooks.hideMainWindow = [this](bool hidden) {
    if (mainWindow_) mainWindow_->setVisible(!hidden);
  };
  hooks.busy = [this](bool busy) { setBusy(busy); };
  logic_.setHooks(std::move(hooks));
  logic_.load();
}

void ScanForm::build() {
  auto* hint = new QLabel(toQString(ScanFormLogic::ChooseDriveText), this);

  drives_ = new QComboBox(this);
  drives_->setObjectName(QStringLiteral("DRVBOX"));
  drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  drives_->setMinimumContentsLength(DriveListCharacters);
  connect(drives_, &QComboBox::activated, this, [this](int index) { logic_.selectDrive(index); });

  browse_ = new QPushButton(toQString(ScanFormLogic::BrowseCaption), this);
  browse_->setObjectName(QStringLiteral("BrowseButton"));
  connect(browse_, &QPushButton::clicked, this, [this] {
    const Text before = logic_.selectedFolder();
    logic_.browse();
    if (logic_.selectedFolder() != before) start_->setFocus();
  });
  auto* driveRow = new QHBoxLayout;
  driveRow->addWidget(drives_, 1);
  driveRow->addWidget(browse_);

  title_ = new QLabel(this);
  title_->setObjectName(QStringLiteral("VOLDSP"));
  title_->setFrameShape(QFrame::Panel);
  title_->setFrameShadow(QFrame::Sunken);
  title_->setAutoFillBackground(true);
  title_->setMinimumHeight(title_->fontMetrics().height() + 8);
  title_->setIndent(4);
  // Long titles (a made-up label can hold 220 characters) are cut at the
  // panel's edge instead of widening the window.
  title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  // CONSOL: the folder being read and the running count.
  auto* console = new QFrame(this);
  console->setObjectName(QStringLiteral("CONSOL"));
  console->setFrameShape(QFrame::Panel);
  console->setFrameShadow(QFrame::Sunken);
  console->setAutoFillBackground(true);
  QPalette consolePalette = console->palette();
  consolePalette.setColor(QPalette::Window, Qt::white);
  consolePalette.setColor(QPalette::WindowText, Qt::black);
  console->setPalette(consolePalette);
  progressFolder_ = new QLabel(console);
  progressFolder_->setMinimumWidth(progressFolder_->fontMetrics().averageCharWidth() * ProgressCharacters);
  progressFolder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progressCount_ = new QLabel(console);
  progressCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* consoleLayout = new QHBoxLayout(console);
  consoleLayout->setContentsMargins(6, 4, 6, 4);
  consoleLayout->addWidget(progressFolder_, 1);
  consoleLayout->addWidget(progressCount_);

  settings_ = new QGroupBox(toQString(ScanFormLogic::SettingsCaption), this);
  settings_->setObjectName(QStringLiteral("OPTFRM"));
  autoCreate_ = checkBox(ScanFormLogic::AutoCreateCaption, "AUTSEL", settings_);
  sortByExtension_ = checkBox(ScanFormLogic::SortByExtensionCaption, "SRTSEL", settings_);
  sortByKind_ = checkBox(ScanFormLogic::SortByKindCaption, "TYPSEL", settings_);
  recordUnzip_ = checkBox(ScanFormLogic::RecordUnzipCaption, "LZHSEL", settings_);
  commentUnzip_ = checkBox(ScanFormLogic::CommentUnzipCaption, "LCMSEL", settings_);
  connect(autoCreate_, &QCheckBox::clicked, this, [this](bool on) { logic_.setAutoCreate(on); });
  connect(sortByExtension_, &QCheckBox::clicked, this, [this](bool on) { logic_.setSortByExtension(on); });
  connect(sortByKind_, &QCheckBox::clicked, this, [this](bool on) { logic_.setSortByKind(on); });
  connect(recordUnzip_, &QCheckBox::clicked, this, [this](bool on) { logic_.setRecordUnzip(on); });
  connect(commentUnzip_, &QCheckBox::clicked, this, [this](bool on) { logic_.setCommentUnzip(on); });
  auto* settingsLayout = new QGridLayout(settings_);
  settingsLayout->addWidget(autoCreate_, 0, 0);
  settingsLayout->addWidget(commentUnzip_, 0, 1);
  settingsLayout->addWidget(sortByExtension_, 1, 0);
  settingsLayout->addWidget(recordUnzip_, 1, 1);
  settingsLayout->addWidget(sortByKind_, 2, 0);

  auto* priority = new QGroupBox(toQString(ScanFormLogic::PriorityCaption), this);
  priority->setObjectName(QStringLiteral("LVLFRM"));
  highPriority_ = new QRadioButton(toQString(ScanFormLogic::HighPriorityCaption), priority);
  lowPriority_ = new QRadioButton(toQString(ScanFormLogic::LowPriorityCaption), priority);
  highPriority_->setChecked(true);
  connect(lowPriority_, &QRadioButton::toggled, this, [this](bool on) { logic_.setLowPriority(on); });
  auto* priorityLayout = new QVBoxLayout(priority);
  priorityLayout->addWidget(highPriority_);
  priorityLayout->addWidget(lowPriority_);
  priorityLayout->addStretch();

  auto* optionsRow = new QHBoxLayout;
  optionsRow->addWidget(settings_, 1);
  optionsRow->addWidget(priority);

  hideScan_ = checkBox(ScanFormLogic::HideScanCaption, "HIDSEL", this);
  connect(hideScan_, &QCheckBox::clicked, this, [this](bool on) { logic_.setHideScan(on); });
  start_ = new QPushButton(toQString(ScanFormLogic::StartCaption), this);
  start_->setObjectName(QStringLiteral("STRBTN"));
  start_->setDefault(true);
  connect(start_, &QPushButton::clicked, this, [this] { logic_.start(); });
  stop_ = new QPushButton(toQString(ScanFormLogic::StopCaption), this);
  stop_->setObjectName(QStringLiteral("BRKBTN"));
  connect(stop_, &QPushButton::clicked, this, [this] { logic_.stop(); });
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(hideScan_);
  buttonRow->addStretch();
  buttonRow->addWidget(start_);
  buttonRow->addWidget(stop_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addLayout(driveRow);
  layout->addWidget(title_);
  layout->addWidget(console);
  layout->addLayout(optionsRow);
  layout->addLayout(buttonRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<MediaReading::Result> ScanForm::readMedium(RowStore& store) { return logic_.readMedium(store); }

std::optional<MediaReading::Result> ScanForm::refreshMedium(RowStore& store, TextView source, TextView catalogFileName,
                                                            TextView mediumTitle) {
  return logic_.refreshMedium(store, source, catalogFileName, mediumTitle);
}

void ScanForm::unload() {
  if (!placed_) return;  // never shown: no position of its own
  logic_.unload(pixelsToTwips(pos().x(), logicalDpiX()), pixelsToTwips(pos().y(), logicalDpiY()));
}

void ScanForm::keyPressEvent(QKeyEvent* event) {
  // Escape presses Stop until the reading starts.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && logic_.escapeStops()) {
    logic_.stop();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ScanForm::closeEvent(QCloseEvent* event) {
  // The window stays loaded: closing hides it and stops a waiting or running reading.
  event->ignore();
  logic_.close();
}

// ------------------------------------------------------------------ drawing

void ScanForm::sync() {
  syncDrives();
  drives_->setEnabled(logic_.driveListEnabled());
  browse_->setEnabled(logic_.browseEnabled());
  settings_->setEnabled(logic_.settingsEnabled());
  start_->setEnabled(logic_.startEnabled());

  const ScanFormLogic::Boxes& boxes = logic_.boxes();
  setChecked(autoCreate_, logic_.autoCreateShown());
  autoCreate_->setEnabled(logic_.autoCreateEnabled());
  setChecked(sortByExtension_, boxes.sortByExtension);
  setChecked(sortByKind_, boxes.sortByKind);
  setChecked(recordUnzip_, boxes.recordUnzip);
  setChecked(commentUnzip_, boxes.commentUnzip);
  setChecked(boxes.lowPriority ? lowPriority_ : highPriority_, true);
  setChecked(hideScan_, boxes.hideScan);
  recordUnzip_->setEnabled(logic_.recordUnzipEnabled());
  commentUnzip_->setEnabled(logic_.commentUnzipEnabled());

  syncTitle();
  showProgress();

  if (logic_.shown() && !isVisible()) {
    place();
    show();
    raise();
    activateWindow();
    // A refresh has its drive chosen already: Start is next.
    if (logic_.refreshing())
      start_->setFocus();
    else
      drives_->setFocus();
  } else if (!logic_.shown() && isVisible()) {
    hide();
  }
  if (waiting_.isRunning() && logic_.runState() != ScanFormLogic::RunState::Waiting) waiting_.quit();
}

void ScanForm::syncDrives() {
  const std::vector<ScanFormLogic::DriveEntry>& entries = logic_.drives();
  bool same = drives_->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < drives_->count(); ++i) same = drives_->itemText(i) == toQString(entries[i].text);
  const QSignalBlocker blocker(drives_);
  if (!same) {
    drives_->clear();
    for (const ScanFormLogic::DriveEntry& entry : entries) drives_->addItem(toQString(entry.text));
  }
  drives_->setCurrentIndex(logic_.selectedDrive());
}

void ScanForm::syncTitle() {
  const QString title = toQString(logic_.titleText());
  title_->setText(title_->fontMetrics().elidedText(title, Qt::ElideRight, std::max(title_->width() - 8, 0)));
  title_->setToolTip(title);
  QPalette palette = title_->palette();
  palette.setColor(QPalette::Window, fromBgr(logic_.titleColours().back));
  palette.setColor(QPalette::WindowText, fromBgr(logic_.titleColours().text));
  title_->setPalette(palette);
}

void ScanForm::showProgress() {
  const QString folder = toQString(logic_.progressFolder());
  progressFolder_->setText(progressFolder_->fontMetrics().elidedText(
      folder, Qt::ElideMiddle, std::max(progressFolder_->width(), progressFolder_->minimumWidth())));
  progressFolder_->setToolTip(folder);
  const int count = logic_.progressCount();
  progressCount_->setText(count < 0 ? QString() : toQString(groupedNumber(count)));
}

void ScanForm::place() {
  adjustSize();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, width(), height());
  std::optional<Rect> owner;
  if (mainWindow_ && mainWindow_->isVisible()) {
    const QRect frame = mainWindow_->frameGeometry();
    owner = Rect{frame.left(), frame.top(), frame.width(), frame.height()};
  }
  const std::optional<Rect> at =
      logic_.placement({0, 0, width(), height()}, owner, {area.left(), area.top(), area.width(), area.height()},
                       logicalDpiX(), logicalDpiY(), placed_);
  if (at) move(at->left, at->top);
  placed_ = true;
}

// ------------------------------------------------------------------ reading

void ScanForm::pumpEvents() { throttle_(); }

void ScanForm::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace zevro
