#include "listview/qt/MainWindow.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>

#include "core/Geometry.h"
#include "dialogs/qt/DialogSupport.h"
#include "dialogs/qt/OptionForm.h"
#include "grid/GridKeys.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridWidget.h"
#include "listview/MainGridSetup.h"
#include "listview/MainWindowLayout.h"
#include "listview/qt/EditLine.h"
#include "listview/qt/IconStrip.h"
#include "listview/qt/MainWindowImages.h"
#include "listview/qt/UpdateForm.h"
#include "listview/qt/VersionForm.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

using C = Command;

constexpr int LevelPanelMarginTwips = 105;
constexpr int OptionSaveDelayMs = 500;
constexpr int ConsoleGapPx = 6;
constexpr int FindBoxWidthPx = 220;
// Shortest date and size texts the fixed columns make room for (an empty
// list still shows its column titles).
constexpr int LeastDateCharacters = 14;
constexpr int LeastSizeCharacters = 9;
// Captions of the level buttons drawn on them.
constexpr TextView LevelFaces[5] = {u"全", u"1", u"2", u"3", u"4"};
constexpr TextView FindButtonFace = u"検索";

QString qs(TextView t) { return toQString(t); }

// Boxes the user types into keep every character they are given.
bool isTextInput(const QObject* o) {
  if (qobject_cast<const QLineEdit*>(o) || qobject_cast<const QTextEdit*>(o) ||
      qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QAbstractSpinBox*>(o))
    return true;
  const auto* combo = qobject_cast<const QComboBox*>(o);
  return combo && combo->isEditable();
}

// Keys the grids hand to the logic beyond those GridWidget knows.
int keyCodeOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return MainWindowLogic::KeyTab;
    case Qt::Key_Delete: return MainWindowLogic::KeyDelete;
    case Qt::Key_Insert: return MainWindowLogic::KeyInsert;
    default: return GridWidget::keyCodeOf(event);
  }
}

int shiftOf(const QKeyEvent& event) {
  int shift = GridWidget::shiftStateOf(event.modifiers());
  if (event.key() == Qt::Key_Backtab) shift |= gridkey::ShiftMask;
  return shift;
}

}  // namespace

MainWindow::MainWindow(MainWindowLogic& logic, QWidget* parent) : QMainWindow(parent), logic_(logic) {
  setWindowTitle(qs(MainWindowLogic::Caption));
  setFont(dialogFont());
  setObjectName(QStringLiteral("ListForm"));

  auto* area = new QWidget(this);
  auto* column = new QVBoxLayout(area);
  column->setContentsMargins(4, 4, 4, 2);
  column->setSpacing(4);
  buildHeader(area);

  folderView_ = new GridWidget(logic_.folderGrid(), area);
  folderView_->setObjectName(QStringLiteral("LSTGRD"));
  fileView_ = new GridWidget(logic_.fileGrid(), area);
  fileView_->setObjectName(QStringLiteral("FILGRD"));
  IconTable standard;
  standard.BuildStandardTables();
  setIcons(iconstrip::standardStrip(), standard);
  splitter_ = new QSplitter(area);
  splitter_->setObjectName(QStringLiteral("Split"));
  splitter_->setChildrenCollapsible(false);
  splitter_->setHandleWidth(4);
  splitter_->addWidget(folderView_);
  splitter_->addWidget(fileView_);
  folderLine_ = new EditLine(*folderView_, u"EDTLINL");
  fileLine_ = new EditLine(*fileView_, u"EDTLINF");
  column->addWidget(splitter_, 1);

  buildButtonPanel(area);
  column->addSpacing(ConsoleGapPx - column->spacing());
  console_ = new QLabel(area);
  console_->setObjectName(QStringLiteral("CONSOL"));
  console_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  console_->setTextFormat(Qt::PlainText);
  console_->setMinimumWidth(1);
  console_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  column->addWidget(console_);
  setCentralWidget(area);

  buildMenus();
  connectGrids();
  // The older player is offered only where it is installed.
  if (QAction* old = action(C::MO_旧プレイヤー)) old->setVisible(logic_.offersOldPlayer());

  logic_.hooks().pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
  logic_.hooks().chooseListFile = [this](const NativePath& folder, TextView title, TextView pattern) {
    const QString chosen = QFileDialog::getOpenFileName(this, qs(title), QString::fromStdString(folder.native()),
                                                        qs(title) + QStringLiteral(" (") + qs(pattern) + u')', nullptr,
                                                        QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) return std::optional<NativePath>{};
    return std::optional<NativePath>{NativePath(chosen.toStdString())};
  };
  logic_.hooks().dispOption = [this](const ColourOptions& current) {
    return OptionForm::DispOption(current, logic_.ui(), this);
  };
  logic_.hooks().busyPointer = [](bool on) {
    if (on)
      QApplication::setOverrideCursor(Qt::BusyCursor);
    else
      QApplication::restoreOverrideCursor();
  };
  logic_.hooks().showConversion = [this](TextView fileName) {
    if (!updateForm_) updateForm_ = new UpdateForm(this);
    updateForm_->showFile(fileName);
  };
  logic_.hooks().hideConversion = [this] {
    if (updateForm_) updateForm_->hide();
  };
  logic_.hooks().editLineText = [this] {
    EditLine* line = logic_.editLinePane() == Pane::Folder ? folderLine_ : fileLine_;
    return line->isVisible() ? line->text() : Text();
  };
  logic_.hooks().hideEditLine = [this] { closeEditLines(); };
  logic_.hooks().showVersion = [this] {
    VersionForm form(logic_.versionText(), logic_.ui(), this);
    form.exec();
  };

  reattach_.setSingleShot(true);
  reattach_.setInterval(mainlayout::ReattachDelayMs);
  connect(&reattach_, &QTimer::timeout, this, &MainWindow::reattach);
  // A burst of changes (a run of switches, a reading's boxes) is one save.
  optionSave_.setSingleShot(true);
  optionSave_.setInterval(OptionSaveDelayMs);
  connect(&optionSave_, &QTimer::timeout, this, [this] { logic_.saveOptionsNow(); });
  qApp->installEventFilter(this);

  restoreGeometry();
  MainWindowEffects start;
  start.layout = start.settings = start.labels = start.findList = true;
  apply(start);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // Closing the window below this destructor moves the focus; this half-gone
  // window must not hear of it.
  QObject::disconnect(focusWatch_);
}

// ---------------------------------------------------------------- building

void MainWindow::buildHeader(QWidget* area) {
  auto* header = new QWidget(area);
  auto* row = new QHBoxLayout(header);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);

  titleCaption_ = new QLabel(qs(MainWindowLogic::TitleCaption), header);
  titleCaption_->setObjectName(QStringLiteral("CATNAM"));
  nameLabel_ = new QLabel(header);
  nameLabel_->setObjectName(QStringLiteral("NAMDSP"));
  nameLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  nameLabel_->setTextFormat(Qt::PlainText);
  nameLabel_->setMinimumWidth(1);
  nameLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  QFont titleFont = dialogFont();
  titleFont.setPointSize(11);
  titleFont.setBold(true);
  nameLabel_->setFont(titleFont);
  nameLabel_->setCursor(Qt::PointingHandCursor);
  nameLabel_->installEventFilter(this);
  genreCaption_ = new QLabel(qs(MainWindowLogic::GenreCaption), header);
  genreCaption_->setObjectName(QStringLiteral("JANNAM"));
  genreLabel_ = new QLabel(header);
  genreLabel_->setObjectName(QStringLiteral("JANDSP"));
  genreLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  genreLabel_->setTextFormat(Qt::PlainText);
  genreLabel_->setCursor(Qt::PointingHandCursor);
  genreLabel_->installEventFilter(this);

  row->addWidget(titleCaption_);
  row->addWidget(nameLabel_, 2);
  row->addWidget(genreCaption_);
  row->addWidget(genreLabel_, 1);

  auto* levels = new QWidget(header);
  levels->setObjectName(QStringLiteral("LVLPNL"));
  auto* levelRow = new QHBoxLayout(levels);
  levelRow->setContentsMargins(0, 0, 0, 0);
  levelRow->setSpacing(1);
  for (int i = 0; i <= 4; ++i) {
    QToolButton* b = makeButton(mainmenu::indexed(C::ボタン_深度0, i), levels);
    b->setText(qs(LevelFaces[i]));
    b->setCheckable(true);
    b->setFixedSize(24, 24);
    levelRow->addWidget(b);
  }
  levelRow->addSpacing(6);
  for (Command c : {C::ボタン_縦2列, C::ボタン_横2列}) {
    QToolButton* b = makeButton(c, levels);
    b->setCheckable(true);
    levelRow->addWidget(b);
  }
  row->addWidget(levels);
  row->addSpacing(twipsToPixels(LevelPanelMarginTwips, logicalDpiX()));
  static_cast<QVBoxLayout*>(area->layout())->addWidget(header);
}

void MainWindow::buildButtonPanel(QWidget* area) {
  auto* panel = new QWidget(area);
  panel->setObjectName(QStringLiteral("BTNPNL"));
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  for (Command c : {C::ボタン_開く, C::ボタン_読込, C::ボタン_保存, C::ボタン_表示})
    row->addWidget(makeButton(c, panel));
  row->addSpacing(16);
  findBox_ = new QComboBox(panel);
  findBox_->setObjectName(QStringLiteral("FNDLST"));
  findBox_->setEditable(true);
  findBox_->setMinimumWidth(FindBoxWidthPx);
  row->addWidget(findBox_);
  findBox_->lineEdit()->installEventFilter(this);
  connect(findBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    logic_.setFindText(fromQString(text));
  });
  QToolButton* find = makeButton(C::FNDBTN, panel);
  find->setText(qs(FindButtonFace));
  find->installEventFilter(this);
  findButton_ = find;
  row->addWidget(find);
  row->addStretch(1);
  static_cast<QVBoxLayout*>(area->layout())->addWidget(panel);
}

QToolButton* MainWindow::makeButton(Command command, QWidget* parent) {
  const MenuEntry& entry = mainmenu::entry(command);
  auto* b = new QToolButton(parent);
  b->setObjectName(qs(entry.name));
  b->setToolTip(qs(entry.caption));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  const QPixmap released = mainimages::buttonImage(command, false);
  if (!released.isNull()) {
    const QPixmap pressed = mainimages::buttonImage(command, true);
    b->setIcon(QIcon(released));
    b->setIconSize(released.size());
    // Pressing shows the pressed image, releasing the released one.
    connect(b, &QToolButton::pressed, b, [b, pressed] { b->setIcon(QIcon(pressed)); });
    connect(b, &QToolButton::released, b, [b, released] { b->setIcon(QIcon(released)); });
  }
  connect(b, &QToolButton::clicked, this, [this, command] { runCommand(command); });
  buttons_[command] = b;
  return b;
}

void MainWindow::buildMenus() {
  for (const MenuEntry& e : mainmenu::entries()) {
    if (e.look == Look::MenuBar) menuBar()->addMenu(buildMenu(e, this));
    if (e.look == Look::ContextMenu) buildMenu(e, this);
  }
}

QMenu* MainWindow::buildMenu(const MenuEntry& entry, QWidget* parent) {
  auto* menu = new QMenu(qs(entry.caption), parent);
  menu->setObjectName(qs(entry.name));
  menu->setFont(dialogFont());
  menus_[entry.id] = menu;
  // Opening a menu brings the enabling of its items up to date.
  connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshCommands);
  for (const MenuEntry* item : mainmenu::itemsOf(entry.id)) {
    if (item->separatorBefore) menu->addSeparator();
    if (item->look == Look::Submenu) {
      QMenu* sub = buildMenu(*item, menu);
      menu->addMenu(sub)->setVisible(logic_.isVisible(item->id));
      continue;
    }
    QAction* a = menu->addAction(qs(item->caption));
    a->setObjectName(qs(item->name));
    a->setCheckable(item->look == Look::Check);
    a->setVisible(logic_.isVisible(item->id));
    if (!item->shortcut.empty()) {
      a->setShortcut(
          QKeySequence(QString::fromLatin1(item->shortcut.data(), static_cast<qsizetype>(item->shortcut.size()))));
      a->setShortcutContext(Qt::WindowShortcut);
    }
    const Command id = item->id;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = a;
  }
  return menu;
}

void MainWindow::connectGrids() {
  const auto wire = [this](GridWidget* view, Pane pane) {
    view->installEventFilter(this);
    view->setKeyHook([this, pane](QKeyEvent* event) { return gridKey(pane, event); });
    connect(view, &GridWidget::cursorMoved, this, [this, pane] {
      if (!applying_) apply(logic_.cursorClicked(pane));
    });
    connect(view, &GridWidget::rightClicked, this, [this, pane](QPoint at) { showContextMenu(pane, at); });
    connect(view, &GridWidget::doubleClicked, this, [this, pane] {
      if (!applying_) apply(logic_.openRow(pane, false));
    });
  };
  wire(folderView_, Pane::Folder);
  wire(fileView_, Pane::File);
  folderView_->setPressHook([this](QMouseEvent* event, int) {
    apply(logic_.activate(Pane::Folder));
    const MainWindowLogic::KeyAnswer a =
        logic_.folderPress(static_cast<int>(event->position().x()), static_cast<int>(event->position().y()),
                           GridWidget::shiftStateOf(event->modifiers()));
    apply(a.effects);
    return a.used;
  });
  fileView_->setPressHook([this](QMouseEvent*, int) {
    apply(logic_.activate(Pane::File));
    return false;
  });
  connect(fileView_, &GridWidget::columnPicked, this, [this](int) { apply(logic_.fileTitlePicked()); });
  folderLine_->setKeyHook([this](QKeyEvent* event) { return editLineKey(Pane::Folder, event); });
  fileLine_->setKeyHook([this](QKeyEvent* event) { return editLineKey(Pane::File, event); });
  // The grid under an open edit line scrolled: the line stays on its cell.
  connect(folderView_->scrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditLine(); });
  connect(fileView_->scrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditLine(); });
  // A click or the focus elsewhere in this window ends the edit as a command
  // would; a message box or a menu of its own leaves it open.
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (applying_ || !logic_.editLineOpen()) return;
    if (old != folderLine_ && old != fileLine_) return;
    if (!now || now->window() != this || now == folderLine_ || now == fileLine_) return;
    apply(logic_.FinishEdit());
  });
  connect(splitter_, &QSplitter::splitterMoved, this, &MainWindow::splitMoved);
}

// ---------------------------------------------------------------- commands

void MainWindow::setIcons(const QImage& strip, const IconTable& icons) {
  const std::vector<int> map(icons.iconMap().begin(), icons.iconMap().end());
  const int count = iconstrip::iconCount(strip);
  folderView_->setIconStrip(strip, count, iconstrip::IconSize, iconstrip::IconSize, map);
  fileView_->setIconStrip(strip, count, iconstrip::IconSize, iconstrip::IconSize, map);
}

QAction* MainWindow::action(Command command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::button(Command command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(Command command) const {
  const auto it = menus_.find(command);
  return it == menus_.end() ? nullptr : it->second;
}

void MainWindow::runCommand(Command command) {
  if (command == C::MS_文字指定) {
    findBox_->setFocus(Qt::ShortcutFocusReason);
    findBox_->lineEdit()->selectAll();
    return;
  }
  if (command == C::MS_次を検索 || command == C::MS_前を検索) logic_.setFindText(fromQString(findBox_->currentText()));
  if (logic_.disablesWindow(command)) {
    setEnabled(false);
    const MainWindowEffects e = logic_.run(command);
    setEnabled(true);
    apply(e);
    return;
  }
  apply(logic_.run(command));
}

void MainWindow::refreshCommands() {
  for (const auto& [id, a] : actions_) {
    a->setEnabled(logic_.isEnabled(id));
    if (a->isCheckable()) a->setChecked(logic_.isChecked(id));
  }
  for (const auto& [id, b] : buttons_) {
    b->setEnabled(logic_.isEnabled(id));
    if (b->isCheckable()) b->setChecked(logic_.isChecked(id));
  }
  findBox_->setEnabled(logic_.isEnabled(C::FNDBTN));
}

void MainWindow::refreshLabels() {
  nameLabel_->setText(qs(logic_.titleText()));
  genreLabel_->setText(qs(logic_.genreText()));
  console_->setText(qs(logic_.consoleText()));
}

void MainWindow::refreshFindList() {
  const QString typed = findBox_->currentText();
  findBox_->clear();
  for (const Text& word : logic_.searchWords()) findBox_->addItem(qs(word));
  findBox_->setCurrentIndex(logic_.selectedSearchWord());
  if (logic_.selectedSearchWord() < 0) findBox_->setEditText(typed);
  logic_.setFindText(fromQString(findBox_->currentText()));
}

void MainWindow::findFromBox(bool backwards) {
  focusGrid(logic_.activePane() == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid);
  logic_.setFindText(fromQString(findBox_->currentText()));
  apply(logic_.PrepareSearch());
  bool found = false;
  apply(logic_.FindNext(backwards, &found));
  if (found) focusGrid(logic_.activePane() == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid);
}

void MainWindow::apply(const MainWindowEffects& e) {
  const bool nested = applying_;
  applying_ = true;
  folderView_->apply(e.grids.folder);
  fileView_->apply(e.grids.files);
  if (e.grids.folder.layout) folderView_->relayout();
  if (e.grids.files.layout) fileView_->relayout();
  if (e.layout) layoutPanes();
  if (e.settings) applyGridSettings();
  if (e.labels) refreshLabels();
  if (e.findList) refreshFindList();
  if (e.showWindow) {
    show();
    raise();
    activateWindow();
  }
  focusGrid(e.grids.focus);
  if (e.editLine)
    showEditLine();
  else
    placeEditLine();
  refreshCommands();
  if (logic_.optionsPending() && !optionSave_.isActive()) optionSave_.start();
  applying_ = nested;
  if (e.close && !nested) close();
}

void MainWindow::focusGrid(TreeFocus focus) {
  if (focus == TreeFocus::FolderGrid) folderView_->setFocus(Qt::OtherFocusReason);
  if (focus == TreeFocus::FileGrid && fileView_->isVisible()) fileView_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- layout

int MainWindow::dpi() const { return logicalDpiX(); }

void MainWindow::restoreGeometry() {
  const MainWindowOptions& o = logic_.options();
  const int d = dpi();
  move(twipsToPixels(o.windowX, d), twipsToPixels(o.windowY, d));
  resize(twipsToPixels(o.width, d), twipsToPixels(o.height, d));
}

void MainWindow::layoutPanes() {
  const bool pane = logic_.paneOpen();
  const bool right = logic_.rightPane();
  const mainlayout::Size least = mainlayout::minimumSize(pane, dpi());
  setMinimumSize(least.width, least.height);
  splitter_->setOrientation(right ? Qt::Horizontal : Qt::Vertical);
  fileView_->setVisible(pane);
  const mainlayout::PaneMinimums split = mainlayout::splitMinimums(right, dpi());
  if (right) {
    folderView_->setMinimumSize(split.folder, 0);
    fileView_->setMinimumSize(split.file, 0);
  } else {
    folderView_->setMinimumSize(0, pane ? split.folder : 0);
    fileView_->setMinimumSize(0, split.file);
  }
  logic_.setWidthCase(right, isMaximized());
  placeSplit();
  folderView_->relayout();
  fileView_->relayout();
  if (!pane && logic_.activePane() == Pane::File) apply(logic_.activate(Pane::Folder));
}

void MainWindow::placeSplit() {
  if (!logic_.paneOpen()) return;
  const bool right = logic_.rightPane();
  const int total = (right ? splitter_->width() : splitter_->height()) - splitter_->handleWidth();
  if (total <= 0) return;
  const int folder = mainlayout::clampSplit(mainlayout::folderSizeOf(logic_.folderPercent(), total), total,
                                            mainlayout::splitMinimums(right, dpi()));
  placing_ = true;
  splitter_->setSizes({folder, total - folder});
  placing_ = false;
}

void MainWindow::splitMoved(int pos, int) {
  if (placing_) return;
  const bool right = logic_.rightPane();
  const int total = (right ? splitter_->width() : splitter_->height()) - splitter_->handleWidth();
  const int kept = logic_.splitMoved(pos, total, dpi());
  if (kept != pos) placeSplit();
}

void MainWindow::applyGridSettings() {
  const MainWindowOptions& o = logic_.options();
  const QFontMetrics normal(gridfonts::fontFor(o.font));
  GridFontSetting fixed = o.font;
  fixed.name = Text(maingrid::FixedPitchFace);
  const QFontMetrics columns = o.useFixedPitch ? QFontMetrics(gridfonts::fontFor(fixed)) : normal;
  const maingrid::LongestTexts longest = logic_.longestFolderTexts();
  MainWindowLogic::Measures m;
  m.textHeight = normal.height();
  m.dateWidth = columns.horizontalAdvance(
                    qs(maingrid::sampleTail(maingrid::DateSample, std::max(longest.date, LeastDateCharacters)))) +
                maingrid::DateExtra;
  m.sizeWidth = columns.horizontalAdvance(
                    qs(maingrid::sampleTail(maingrid::SizeSample, std::max(longest.size, LeastSizeCharacters)))) +
                maingrid::SizeExtra;
  m.fileDateWidth = m.dateWidth;
  m.fileSizeWidth = m.sizeWidth;
  logic_.applyMeasures(m, folderView_->viewport()->height(), fileView_->viewport()->height());
  folderView_->applySettings();
  fileView_->applySettings();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int d = dpi();
  genreLabel_->setFixedWidth(mainlayout::genreLabelWidth(
      pixelsToTwips(this->width(), d), centralWidget()->width() - titleCaption_->width() - genreCaption_->width(), d));
  placeSplit();
  placeEditLine();
  AttachSelectBox();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    logic_.setWidthCase(logic_.rightPane(), isMaximized());
    folderView_->relayout();
    fileView_->relayout();
  }
}

// ---------------------------------------------------------------- keys and mouse

bool MainWindow::gridKey(Pane pane, QKeyEvent* event) {
  const int code = keyCodeOf(*event);
  if (code == 0) return false;
  const MainWindowLogic::KeyAnswer a = logic_.key(pane, code, shiftOf(*event));
  apply(a.effects);
  return a.used;
}

// ---------------------------------------------------------------- edit lines

QRect MainWindow::editCell(Pane pane) const {
  const GridWidget* view = pane == Pane::Folder ? folderView_ : fileView_;
  const GridModel& g = view->model();
  // One pixel more than the text area: the rule column at its right.
  return view->editRect(g.cursorColumn(), g.cursorRow()).adjusted(0, 0, 1, 0);
}

void MainWindow::showEditLine() {
  if (!logic_.editLineOpen()) return;
  const Pane pane = logic_.editLinePane();
  EditLine* line = pane == Pane::Folder ? folderLine_ : fileLine_;
  (pane == Pane::Folder ? fileLine_ : folderLine_)->close();
  const GridSettings& s = logic_.grid(pane).settings();
  line->open(logic_.editLineStartText(), editCell(pane), logic_.editLineBackground(), s.vRuleColour,
             gridfonts::fontFor(s.font), logic_.editLineTakesInputMethod());
}

void MainWindow::placeEditLine() {
  if (!logic_.editLineOpen()) return;
  const Pane pane = logic_.editLinePane();
  EditLine* line = pane == Pane::Folder ? folderLine_ : fileLine_;
  if (line->isVisible()) line->place(editCell(pane));
}

void MainWindow::closeEditLines() {
  for (EditLine* line : {folderLine_, fileLine_}) {
    if (!line->isVisible()) continue;
    // The focus goes back to the grid under the line, not to the next box.
    if (line->hasFocus()) (line == folderLine_ ? folderView_ : fileView_)->setFocus(Qt::OtherFocusReason);
    line->close();
  }
}

bool MainWindow::editLineKey(Pane pane, QKeyEvent* event) {
  const int code = keyCodeOf(*event);
  if (code == 0) return false;
  EditLine* line = pane == Pane::Folder ? folderLine_ : fileLine_;
  const MainWindowLogic::EditKeyAnswer a = logic_.editLineKey(code, shiftOf(*event), line->text());
  using K = MainWindowLogic::EditLineKey;
  switch (a.what) {
    case K::Type: return false;
    case K::Break: line->insertBreak(); return true;
    case K::Consumed: apply(a.effects); return true;
    case K::Reopened: apply(a.effects); return true;
    case K::Closed:
      apply(a.effects);
      closeEditLines();
      return true;
    case K::ClosedGridKey:
      apply(a.effects);
      closeEditLines();
      gridKey(pane, event);
      return true;
  }
  return false;
}

bool MainWindow::zoomKey(QObject* watched, QKeyEvent* event) {
  const QString text = event->text();
  if (text.size() != 1) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  const char16_t c = text.at(0).unicode();
  if (!MainWindowLogic::takesZoomKey(c, isTextInput(watched), zoomTarget_ && (!zoomShown_ || zoomShown_()))) return false;
  zoomTarget_(c);
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (findBox_ && watched == findBox_->lineEdit()) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
          findFromBox(false);
          return true;
        }
        if (key->key() == Qt::Key_Escape) {
          focusGrid(logic_.activePane() == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid);
          return true;
        }
        if (key->matches(QKeySequence::Paste)) {
          // Plain text only, all of it selected.
          findBox_->setEditText(qs(logic_.ui().clipboardText()));
          findBox_->lineEdit()->selectAll();
          return true;
        }
      }
      if (zoomKey(watched, key)) return true;
      // Tab would leave for the next control: it moves between the panes.
      if ((watched == folderView_ || watched == fileView_) &&
          (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
        return gridKey(watched == folderView_ ? Pane::Folder : Pane::File, key);
      }
      break;
    }
    case QEvent::FocusIn:
      if (watched == folderView_) apply(logic_.activate(Pane::Folder));
      if (watched == fileView_) apply(logic_.activate(Pane::File));
      break;
    case QEvent::MouseButtonPress:
      if (logic_.editLineOpen() && !applying_) {
        // A press anywhere else in the window (a column title, a scroll
        // bar, a button) ends the edit before it acts.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && widget != folderLine_ && widget != fileLine_ &&
            !folderLine_->isAncestorOf(widget) && !fileLine_->isAncestorOf(widget))
          apply(logic_.FinishEdit());
      }
      if (watched == findButton_) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (logic_.busy()) return true;
        if (press->button() == Qt::LeftButton) {
          findFromBox((press->modifiers() & Qt::ShiftModifier) != 0);
        } else {
          apply(logic_.openSearch(fromQString(findBox_->currentText())));
        }
        return true;
      }
      // A label passes its presses on, so the press is the event it sees.
      if (watched == nameLabel_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        runCommand(C::NAMDSP);
        return true;
      }
      if (watched == genreLabel_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        runCommand(C::JANDSP);
        return true;
      }
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

QMenu* MainWindow::prepareContextMenu(Pane pane) {
  const MainWindowLogic::ContextMenu choice = logic_.contextMenu(pane);
  QMenu* m = menu(choice.menu);
  if (!m) return nullptr;
  if (QAction* open = action(C::POP名称_開く)) open->setText(qs(choice.openCaption));
  if (QAction* erase = action(C::POP選択_消去)) erase->setVisible(choice.eraseShown);
  refreshCommands();
  return m;
}

void MainWindow::showContextMenu(Pane pane, const QPoint& globalPos) {
  apply(logic_.activate(pane));
  if (QMenu* m = prepareContextMenu(pane)) m->exec(globalPos);
}

// ---------------------------------------------------------------- the selection window

void MainWindow::AttachSelectBox() {
  if (!selectionWindow_ || !logic_.options().attachSelBox || !selectionWindow_->isVisible()) return;
  if (isMinimized() || isMaximized()) return;
  const QRect main = frameGeometry();
  const mainlayout::AttachPlan plan =
      mainlayout::attachSelection(main.left(), selectionWindow_->frameGeometry().width());
  selectionWindow_->move(plan.selectionLeft, main.top());
  selectionWindow_->resize(selectionWindow_->width(), height());
  if (plan.moveMainLater) reattach_.start();
}

void MainWindow::reattach() {
  if (!selectionWindow_) return;
  move(selectionWindow_->frameGeometry().right() + 1, y());
}

// ---------------------------------------------------------------- closing

MainWindowLogic::Placement MainWindow::placement() const {
  const int d = logicalDpiX();
  MainWindowLogic::Placement p;
  p.normalState = !isMinimized() && !isMaximized();
  p.x = pixelsToTwips(x(), d);
  p.y = pixelsToTwips(y(), d);
  p.width = pixelsToTwips(width(), d);
  p.height = pixelsToTwips(height(), d);
  return p;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  if (!logic_.canClose()) {
    event->ignore();
    refreshLabels();
    refreshCommands();
    return;
  }
  closing_ = true;
  logic_.shutDown(placement());
  event->accept();
}

}  // namespace zevro
