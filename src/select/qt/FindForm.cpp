#include "select/qt/FindForm.h"

#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Geometry.h"
#include "core/Numbers.h"
#include "core/OptionKeys.h"
#include "core/SearchHistory.h"
#include "grid/GridKeys.h"
#include "grid/qt/GridWidget.h"
#include "listview/qt/IconStrip.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/qt/QtText.h"
#include "search/ResultExport.h"
#include "search/SearchIndexes.h"
#include "select/JanreChoice.h"
#include "select/qt/JanreForm.h"
#include "select/qt/ResultColours.h"

namespace zevro {

namespace {

QString qs(TextView t) { return toQString(t); }
Text textOf(const QString& s) { return fromQString(s); }

constexpr TextView ColumnTitles[4] = {u"Catalog Title", u"Folder", u"Date", u"Comment"};
constexpr TextView ColumnTips[4] = {u"カタログ名でソートします", u"フォルダー名でソートします", u"ファイル日付でソートします",
                                    u"コメントでソートします"};
constexpr TextView DateSample = u" 12/10/27 ";
constexpr int LineSpacings[8] = {1, 1, 2, 3, 4, 16, 32, 48};
constexpr TextView MediaTexts[3] = {u"CD-ROM", u"FLOPPY", u"HD"};
constexpr unsigned MediaBits[3] = {media::CD, media::FD, media::HD};
constexpr FilterAction MediaActions[3] = {FilterAction::ToggleCd, FilterAction::ToggleFd, FilterAction::ToggleHd};
constexpr TextView LampTexts[4] = {u"Aa", u"全半", u"*?", u"単語"};
constexpr SwitchKind LampKinds[4] = {SwitchKind::Case, SwitchKind::Width, SwitchKind::Pattern, SwitchKind::WholeWord};
constexpr const char* LampNames[4] = {"ALPDSP", "ZENDSP", "PATDSP", "EXCDSP"};
// Smallest window, in twips.
constexpr int MinimumWidthTwips = 9690;
constexpr int MinimumHeightTwips = 2800;
constexpr int DefaultWidth = 760;
constexpr int DefaultHeight = 480;
constexpr qint64 PumpIntervalMs = 40;

// The main window's find box as a term history view: the jump target.
class MainWindowJump : public JumpTarget {
public:
  explicit MainWindowJump(MainWindow& main) : main_(main) {}
  void loadCatalog(TextView fileName) override { main_.指定カタログをロード(fileName); }
  Text currentListFile() const override { return main_.logic().document().currentFileName(); }
  void showPage(TextView path, bool show) override { main_.特定ページを表示(path, show); }
  void markRow(TextView path, bool current) override { main_.指定行を着色(path, 0, current); }

private:
  MainWindow& main_;
};

bool isNavigationKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
         key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Clear || key == Qt::Key_Slash;
}

}  // namespace

FindForm::FindForm(Program& program, MainWindow& main, bool fileDialogs, QWidget* owner)
    : QWidget(owner, Qt::Window),
      program_(program),
      main_(main),
      fileDialogs_(fileDialogs),
      logic_(main.logic().sharedSearch(), program.options()) {
  setObjectName(QStringLiteral("FindForm"));
  setWindowTitle(qs(FindFormLogic::Caption));
  logic_.setSecondTerms(
      readSecondTerms(program.platform().files, program.programFolder() / std::string(SecondTermFileName)));
  buildControls();
  buildKeys();
  setUpGrid();
  const int d = dpi();
  setMinimumSize(twipsToPixels(MinimumWidthTwips, d), twipsToPixels(MinimumHeightTwips, d));
  const OptionStore& o = program.options();
  resize(o.has(opt::FindWidth) ? twipsToPixels(o.readNumber(opt::FindWidth, 0), d) : DefaultWidth,
         o.has(opt::FindHeight) ? twipsToPixels(o.readNumber(opt::FindHeight, 0), d) : DefaultHeight);
  if (o.has(opt::FindLeft)) move(twipsToPixels(o.readNumber(opt::FindLeft, 0), d), twipsToPixels(o.readNumber(opt::FindTop, 0), d));
  // The other window changed the history or a switch: boxes and lamps follow.
  main.logic().sharedSearch().observe([this] {
    if (!programmatic_) refreshTermBox(0);
    refreshControls();
  });
  main.logic().hooks().displayOptionsChanged.push_back([this] { RefreshGrid(); });
  refreshTermBox(0);
  refreshTermBox(1);
  refreshControls();
}

FindForm::~FindForm() = default;

int FindForm::dpi() const { return logicalDpiX() > 0 ? logicalDpiX() : 96; }

void FindForm::buildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);

  gridWidget_ = new GridWidget(model_, this);
  gridWidget_->setObjectName(QStringLiteral("LSTGRD"));
  gridWidget_->setIconStrip(iconstrip::standardStrip(), iconstrip::StandardCount, iconstrip::IconSize,
                            iconstrip::IconSize, {0, 2, 3, 4, 1, 1});
  column->addWidget(gridWidget_, 1);

  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("BTNPNL"));
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(2);
  auto* terms = new QHBoxLayout;
  auto* filters = new QHBoxLayout;
  rows->addLayout(terms);
  rows->addLayout(filters);
  column->addWidget(panel);

  const auto toolButton = [this](const char* name, TextView text, bool checkable) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(qs(text));
    b->setCheckable(checkable);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
  };

  for (int box = 0; box < 2; ++box) {
    auto* c = new QComboBox(this);
    c->setObjectName(QStringLiteral("LST検索文字(%1)").arg(box));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(200);
    c->lineEdit()->installEventFilter(this);
    c->installEventFilter(this);
    connect(c, &QComboBox::activated, this, [this, box, c](int index) {
      if (logic_.running() || navigating_ || programmatic_ || index < 0) return;
      programmatic_ = true;
      logic_.commitTerm(textOf(c->itemText(index)), box);
      programmatic_ = false;
      refreshTermBox(box);
    });
    termBoxes_[box] = c;
  }
  condition_ = toolButton("CANIMG", u"AND", false);
  condition_->installEventFilter(this);
  connect(condition_, &QToolButton::clicked, this, [this] { clickCondition(conditionY_); });
  startButton_ = new QPushButton(qs(FindFormLogic::StartCaption), this);
  startButton_->setObjectName(QStringLiteral("FNDBTN"));
  startButton_->installEventFilter(this);
  connect(startButton_, &QPushButton::clicked, this, &FindForm::startStop);
  counter_ = new QLabel(QStringLiteral("0"), this);
  counter_->setObjectName(QStringLiteral("CNTDSP"));
  counter_->setToolTip(qs(FindFormLogic::CountTip));
  counter_->setFont(QFont(QStringLiteral("Arial")));
  counter_->setMinimumWidth(60);
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  terms->addWidget(termBoxes_[0], 2);
  terms->addWidget(condition_);
  terms->addWidget(termBoxes_[1], 1);
  terms->addWidget(startButton_);
  terms->addWidget(counter_);

  for (int i = 0; i < 4; ++i) {
    lamps_[i] = toolButton(LampNames[i], LampTexts[i], true);
    lamps_[i]->setToolTip(qs(FindFormLogic::SwitchTip));
    const SwitchKind kind = LampKinds[i];
    connect(lamps_[i], &QToolButton::clicked, this, [this, kind] {
      if (logic_.running()) {
        program_.platform().ui.beep();
      } else {
        main_.logic().sharedSearch().toggle(kind);
      }
      mainWindowChanged();
      refreshControls();
    });
    filters->addWidget(lamps_[i]);
  }
  filters->addSpacing(12);
  const char* mediaNames[3] = {"ボタン_対象CD", "ボタン_対象FD", "ボタン_対象HD"};
  for (int i = 0; i < 3; ++i) {
    mediaButtons_[i] = toolButton(mediaNames[i], MediaTexts[i], true);
    const FilterAction action = MediaActions[i];
    connect(mediaButtons_[i], &QToolButton::clicked, this, [this, action] { act(action); });
    filters->addWidget(mediaButtons_[i]);
  }
  filters->addSpacing(12);
  columnButtons_[0] = toolButton("ボタン_フォルダー欄", u"フォルダー欄", true);
  columnButtons_[1] = toolButton("ボタン_コメント欄", u"コメント欄", true);
  connect(columnButtons_[0], &QToolButton::clicked, this, [this] { act(FilterAction::ToggleNames); });
  connect(columnButtons_[1], &QToolButton::clicked, this, [this] { act(FilterAction::ToggleComments); });
  filters->addWidget(columnButtons_[0]);
  filters->addWidget(columnButtons_[1]);
  filters->addSpacing(12);
  genreAll_ = toolButton("ボタン_全ジャンル", u"全ジャンル", true);
  genreSome_ = toolButton("ボタン_特定ジャンル", u"特定ジャンル", true);
  connect(genreAll_, &QToolButton::clicked, this, [this] { act(FilterAction::AllGenres); });
  connect(genreSome_, &QToolButton::clicked, this, [this] { act(FilterAction::SomeGenres); });
  filters->addWidget(genreAll_);
  filters->addWidget(genreSome_);
  filters->addStretch(1);
  print_ = toolButton("ボタン_印刷", u"印刷", false);
  save_ = toolButton("ボタン_保存", u"保存", false);
  print_->setEnabled(false);
  connect(print_, &QToolButton::clicked, this, &FindForm::print);
  connect(save_, &QToolButton::clicked, this, &FindForm::save);
  filters->addWidget(print_);
  filters->addWidget(save_);

  gridWidget_->setPressHook([this](QMouseEvent* event, int) {
    if (logic_.running() || rows_.shownCount() == 0) {
      program_.platform().ui.beep();
      return true;
    }
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    const int shift = GridWidget::shiftStateOf(event->modifiers());
    gridWidget_->apply(model_.Grid_MouseDown(gridkey::LeftButton, shift, x, y));
    if (event->modifiers() & Qt::ControlModifier) {
      jumpToCursor(true);
    } else {
      jumpToCursor(false);
      gridWidget_->setFocus(Qt::MouseFocusReason);
    }
    return true;
  });
  gridWidget_->viewport()->installEventFilter(this);
  // A picked title sorts the results (stored order is the order found).
  connect(gridWidget_, &GridWidget::columnPicked, this, [this](int) {
    if (logic_.running()) {
      program_.platform().ui.beep();
      return;
    }
    gridWidget_->apply(sorter_.Grid_ItemBarClick());
  });
  gridWidget_->setKeyHook([this](QKeyEvent* event) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: jumpToCursor(true); return true;
      case Qt::Key_Space: jumpToCursor(false); return true;
      case Qt::Key_F3:
      case Qt::Key_F4: termBoxes_[0]->setFocus(Qt::OtherFocusReason); return true;
      case Qt::Key_F6:
      case Qt::Key_Escape:
        main_.show();
        main_.raise();
        main_.activateWindow();
        return true;
      default: return false;
    }
  });
}

void FindForm::buildKeys() {
  const auto key = [this](QKeyCombination combination, FilterAction action) {
    auto* s = new QShortcut(QKeySequence(combination), this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, [this, action] { act(action); });
  };
  const struct {
    Qt::Key key;
    FilterAction action;
  } keys[] = {{Qt::Key_A, FilterAction::AllGenres},       {Qt::Key_J, FilterAction::SomeGenres},
              {Qt::Key_1, FilterAction::ToggleCd},        {Qt::Key_2, FilterAction::ToggleFd},
              {Qt::Key_3, FilterAction::ToggleHd},        {Qt::Key_F, FilterAction::ToggleNames},
              {Qt::Key_C, FilterAction::ToggleComments},  {Qt::Key_7, FilterAction::ToggleWidth},
              {Qt::Key_8, FilterAction::TogglePattern},   {Qt::Key_9, FilterAction::ToggleWholeWord}};
  for (const auto& k : keys) {
    key(QKeyCombination(Qt::AltModifier, k.key), k.action);
    if (k.key >= Qt::Key_0 && k.key <= Qt::Key_9) key(QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, k.key), k.action);
  }
}

void FindForm::setUpGrid() {
  model_.Grid_Init();
  ColumnLayout& columns = model_.columns();
  columns.setCount(4);
  const OptionStore& o = program_.options();
  const QFontMetrics metrics(gridWidget_->font());
  const int widths[4] = {o.readNumber(opt::FindWidth0, 200), o.readNumber(opt::FindWidth1, 100),
                         metrics.horizontalAdvance(qs(DateSample)) + 6, 0};
  for (int i = 0; i < 4; ++i) {
    GridColumn& c = columns.column(i);
    c.title = Text(ColumnTitles[i]);
    c.tooltip = Text(ColumnTips[i]);
    c.width = widths[i];
    c.align = i == 2 ? ColumnAlign::Centre : ColumnAlign::Left;
    c.defaultSort = i == 2 ? 1 : 2;
    c.fixed = i == 2;
  }
  columns.setStretchColumn(3);
  RefreshGrid();
}

void FindForm::RefreshGrid() {
  const GridSettings& mainSettings = main_.logic().folderGrid().settings();
  GridSettings& s = model_.settings();
  takeResultGridLook(s, mainSettings);
  const int interleave = main_.logic().options().listInterleave;
  const int spacing = LineSpacings[std::clamp(interleave, 0, 7)];
  s.lineSpacing = gridWidget_->viewport()->height() > 2 * spacing ? spacing : 1;
  model_.columns().column(1).wordWrap = interleave >= 5 && main_.logic().options().listWordWrap;
  gridWidget_->applySettings();
}

void FindForm::setPrinter(std::function<void(const RowStore&, TextView)> print) {
  printer_ = std::move(print);
  print_->setEnabled(static_cast<bool>(printer_));
}

// ---------------------------------------------------------------- operations

void FindForm::OpenFind(TextView text) {
  programmatic_ = true;
  logic_.open(text);
  programmatic_ = false;
  refreshTermBox(0);
  mainWindowChanged();
  if (!isVisible()) show();
  raise();
  activateWindow();
  termBoxes_[0]->setFocus(Qt::OtherFocusReason);
}

void FindForm::SelFNDLST(int index) {
  programmatic_ = true;
  termBoxes_[0]->setCurrentIndex(index);
  programmatic_ = false;
}

void FindForm::commitBox(int box) {
  if (logic_.running()) return;
  const Text text = textOf(termBoxes_[box]->currentText());
  if (text.empty()) return;
  programmatic_ = true;
  logic_.commitTerm(text, box);
  programmatic_ = false;
  refreshTermBox(box);
  if (box == 0) mainWindowChanged();
}

void FindForm::refreshTermBox(int box) {
  QComboBox* c = termBoxes_[box];
  const QString typed = c->currentText();
  const bool wasProgrammatic = programmatic_;
  programmatic_ = true;
  c->clear();
  const std::vector<Text>& entries = box == 0 ? main_.logic().searchWords() : logic_.secondTerms();
  for (const Text& e : entries) c->addItem(qs(e));
  const int selected = box == 0 ? main_.logic().selectedSearchWord() : (entries.empty() ? -1 : 0);
  if (selected >= 0) {
    c->setCurrentIndex(selected);
  } else {
    c->setCurrentIndex(-1);
    c->setEditText(typed);
  }
  programmatic_ = wasProgrammatic;
}

void FindForm::startStop() {
  Ui& ui = program_.platform().ui;
  if (const std::optional<TextView> problem = logic_.startProblem()) {
    ui.showMessage(*problem, mb::Ok, u"");
    return;
  }
  if (logic_.running()) {
    startButton_->setEnabled(false);
    logic_.requestStop();
    return;
  }
  const Text second = logic_.secondBoxEnabled() ? textOf(termBoxes_[1]->currentText()) : Text();
  if (!CatalogScan::termLongEnough(logic_.term())) {
    ui.beep();
    return;
  }
  model_.Grid_Clear();
  startButton_->setText(qs(FindFormLogic::StopCaption));
  counter_->setText(QStringLiteral("0"));
  CatalogScan::Hooks hooks;
  // The scan asks often (every few rows); the window answers a few dozen
  // times a second, which keeps stop and the count lively without slowing
  // the scan.
  QElapsedTimer sincePump;  // not started: the first call lets events run
  hooks.pump = [this, &sincePump] {
    if (sincePump.isValid() && sincePump.elapsed() < PumpIntervalMs) return true;
    sincePump.start();
    counter_->setText(qs(groupedNumber(results_.rowCount())));
    QApplication::processEvents();
    return true;
  };
  hooks.convertOldFiles = [this] { return main_.logic().convertOldFiles(); };
  SearchIndexes indexes(program_.platform().files, program_.programFolder(), program_.catalogFolder());
  const std::optional<CatalogScan::Outcome> outcome =
      logic_.search(program_.platform().files, program_.catalogFolder(), second, results_, hooks, &indexes);
  model_.Grid_FinishRows(0);
  startButton_->setText(qs(FindFormLogic::StartCaption));
  startButton_->setEnabled(true);
  counter_->setText(qs(groupedNumber(results_.rowCount())));
  gridWidget_->relayout();
  gridWidget_->apply(model_.Grid_Refresh());
  if (outcome && outcome->gridFull) ui.beep();
}

void FindForm::jumpToCursor(bool show) {
  if (logic_.running() || rows_.shownCount() == 0) return;
  MainWindowJump target(main_);
  logic_.jump(results_, model_.cursorRow(), show, target);
}

void FindForm::clickCondition(int y) {
  if (logic_.running()) {
    program_.platform().ui.beep();
    return;
  }
  logic_.clickCondition(pixelsToTwips(y, dpi()));
  refreshControls();
  if (logic_.secondBoxEnabled()) {
    termBoxes_[1]->setFocus(Qt::OtherFocusReason);
  } else {
    startButton_->setFocus(Qt::OtherFocusReason);
  }
}

void FindForm::act(FilterAction action) {
  if (!logic_.act(action)) {
    program_.platform().ui.beep();
    return;
  }
  if (action == FilterAction::SomeGenres) pickGenres();
  if (action == FilterAction::ToggleWidth || action == FilterAction::TogglePattern ||
      action == FilterAction::ToggleWholeWord)
    mainWindowChanged();
  refreshControls();
}

void FindForm::pickGenres() {
  JanreForm form(JanreChoice::several(program_.genres(), logic_.genreList()), this);
  form.move(x() + termBoxes_[0]->x(), y() + twipsToPixels(450, dpi()));
  form.SetJanre();
  if (!form.cancelled()) logic_.pickGenres(form.chosen());
}

void FindForm::save() {
  startButton_->setFocus(Qt::OtherFocusReason);
  resultexport::saveResults({program_.platform(), program_.catalogFolder(), fileDialogs_, &lastExport_}, rows_);
}

void FindForm::print() {
  startButton_->setFocus(Qt::OtherFocusReason);
  if (rows_.shownCount() == 0 || !printer_) {
    program_.platform().ui.beep();
    return;
  }
  printer_(rows_, logic_.printTitle());
}

void FindForm::mainWindowChanged() {
  MainWindowEffects e;
  e.labels = true;
  e.findList = true;
  main_.apply(e);
}

void FindForm::refreshControls() {
  const SharedSearch& shared = main_.logic().sharedSearch();
  for (int i = 0; i < 4; ++i) lamps_[i]->setChecked(shared.lampLit(LampKinds[i]));
  for (int i = 0; i < 3; ++i) mediaButtons_[i]->setChecked((logic_.media() & MediaBits[i]) != 0);
  columnButtons_[0]->setChecked((logic_.columns() & column::Name) != 0);
  columnButtons_[1]->setChecked((logic_.columns() & column::Comment) != 0);
  genreAll_->setChecked(!logic_.genresOn());
  genreSome_->setChecked(logic_.genresOn());
  switch (logic_.condition()) {
    case Condition::Off:
      condition_->setObjectName(QStringLiteral("COFIMG"));
      condition_->setText(QStringLiteral("―"));
      break;
    case Condition::And:
      condition_->setObjectName(QStringLiteral("CANIMG"));
      condition_->setText(QStringLiteral("AND"));
      break;
    case Condition::Or:
      condition_->setObjectName(QStringLiteral("CORIMG"));
      condition_->setText(QStringLiteral("OR"));
      break;
  }
  termBoxes_[1]->setEnabled(logic_.secondBoxEnabled());
}

// ---------------------------------------------------------------- events

bool FindForm::eventFilter(QObject* watched, QEvent* event) {
  for (int box = 0; box < 2; ++box) {
    QComboBox* c = termBoxes_[box];
    if (watched != c && watched != c->lineEdit()) continue;
    if (event->type() == QEvent::FocusIn && logic_.running()) {
      // Moved once the box has finished taking the focus.
      QMetaObject::invokeMethod(this, [this] { startButton_->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
      return false;
    }
    if (event->type() == QEvent::FocusOut && !logic_.running()) commitBox(box);
    if (event->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(event);
      if (isNavigationKey(k->key())) navigating_ = true;
      if (k->key() == Qt::Key_Escape) {
        navigating_ = false;
        return true;
      }
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        navigating_ = false;
        commitBox(box);
        startStop();
        return true;
      }
      if (k->key() == Qt::Key_F6) {
        main_.show();
        main_.raise();
        main_.activateWindow();
        return true;
      }
    }
    return false;
  }
  if (watched == startButton_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !logic_.running()) {
    termBoxes_[0]->setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (watched == condition_ && event->type() == QEvent::MouseButtonPress)
    conditionY_ = static_cast<int>(static_cast<QMouseEvent*>(event)->position().y());
  if (watched == gridWidget_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    if (!logic_.running()) jumpToCursor(true);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void FindForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) refreshControls();
}

void FindForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible() && windowState() == Qt::WindowNoState) {
    OptionStore& o = program_.options();
    o.writeNumber(opt::FindWidth, pixelsToTwips(width(), dpi()));
    o.writeNumber(opt::FindHeight, pixelsToTwips(height(), dpi()));
  }
}

void FindForm::closeEvent(QCloseEvent* event) {
  // Hidden, not closed; a search goes on.
  hide();
  event->ignore();
}

void FindForm::unload() {
  OptionStore& o = program_.options();
  o.writeNumber(opt::FindLeft, pixelsToTwips(x(), dpi()));
  o.writeNumber(opt::FindTop, pixelsToTwips(y(), dpi()));
  logic_.saveOptions();
  saveSecondTerms(program_.platform(), program_.programFolder() / std::string(SecondTermFileName),
                  logic_.secondTerms());
}

}  // namespace zevro
