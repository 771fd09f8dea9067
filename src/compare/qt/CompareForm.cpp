#include "compare/qt/CompareForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/Numbers.h"
#include "grid/GridKeys.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridWidget.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/qt/QtText.h"
#include "select/qt/ResultColours.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

QString qs(TextView t) { return toQString(t); }

constexpr TextView ColumnTitles[4] = {u"Catalog Title", u"Folder", u"Date", u"Size"};
constexpr TextView ColumnTips[4] = {u"カタログ名でソートします", u"フォルダー名でソートします",
                                    u"ファイル日付でソートします", u"サイズでソートします"};
constexpr TextView DateSample = u" 12/10/27 00:00 ";
constexpr TextView SizeSample = u" 999,999,999,999 ";
constexpr TextView MinimumSizeCaption = u"最小サイズ";
constexpr TextView ByDateCaption = u"日付も比較";
constexpr TextView SameMediumCaption = u"同じメディア内も";
constexpr TextView MembersCaption = u"書庫内のファイルも";
constexpr TextView FilterHead = u"対象：";
constexpr TextView AllGenres = u"全ジャンル";
constexpr TextView SomeGenres = u"特定ジャンル";
constexpr TextView MediaTexts[3] = {u"CD-ROM", u"FLOPPY", u"HD"};
constexpr unsigned MediaBits[3] = {media::CD, media::FD, media::HD};
constexpr int LineSpacings[8] = {1, 1, 2, 3, 4, 16, 32, 48};
constexpr qint64 PumpIntervalMs = 40;

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

}  // namespace

CompareForm::CompareForm(Program& program, MainWindow& main, std::function<void(CompareFilters&)> searchFilters,
                         QWidget* owner)
    : QWidget(owner, Qt::Window), program_(program), main_(main), searchFilters_(std::move(searchFilters)) {
  setObjectName(QStringLiteral("CompareForm"));
  setWindowTitle(qs(CompareFormLogic::DuplicatesCaption));
  buildControls();
  setUpGrid();
  resize(820, 520);
  main.logic().hooks().displayOptionsChanged.push_back([this] { RefreshGrid(); });
}

CompareForm::~CompareForm() = default;

void CompareForm::buildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);
  gridWidget_ = new GridWidget(model_, this);
  gridWidget_->setObjectName(QStringLiteral("LSTGRD"));
  column->addWidget(gridWidget_, 1);

  auto* options = new QHBoxLayout;
  auto* status = new QHBoxLayout;
  column->addLayout(options);
  column->addLayout(status);

  filterText_ = new QLabel(this);
  filterText_->setObjectName(QStringLiteral("FILTERDSP"));
  options->addWidget(filterText_);
  options->addSpacing(12);
  options->addWidget(new QLabel(qs(MinimumSizeCaption), this));
  minSize_ = new QLineEdit(QStringLiteral("1"), this);
  minSize_->setObjectName(QStringLiteral("MINSIZE"));
  minSize_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,15}")), minSize_));
  minSize_->setMaximumWidth(110);
  options->addWidget(minSize_);
  byDate_ = new QCheckBox(qs(ByDateCaption), this);
  sameMedium_ = new QCheckBox(qs(SameMediumCaption), this);
  members_ = new QCheckBox(qs(MembersCaption), this);
  options->addWidget(byDate_);
  options->addWidget(sameMedium_);
  options->addWidget(members_);
  options->addStretch(1);

  startButton_ = new QPushButton(qs(CompareFormLogic::StartCaption), this);
  startButton_->setObjectName(QStringLiteral("FNDBTN"));
  connect(startButton_, &QPushButton::clicked, this, &CompareForm::startStop);
  progress_ = new QLabel(this);
  progress_->setObjectName(QStringLiteral("PRGDSP"));
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("CNTDSP"));
  summary_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  status->addWidget(startButton_);
  status->addWidget(progress_, 1);
  status->addWidget(summary_);

  gridWidget_->setPressHook([this](QMouseEvent* event, int) {
    if (logic_.running() || rows_.shownCount() == 0) {
      program_.platform().ui.beep();
      return true;
    }
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    gridWidget_->apply(model_.Grid_MouseDown(gridkey::LeftButton, GridWidget::shiftStateOf(event->modifiers()), x, y));
    gridWidget_->setFocus(Qt::MouseFocusReason);
    return true;
  });
  connect(gridWidget_, &GridWidget::doubleClicked, this, [this] {
    if (!logic_.running()) jumpToCursor(true);
  });
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

void CompareForm::setUpGrid() {
  model_.Grid_Init();
  ColumnLayout& columns = model_.columns();
  columns.setCount(4);
  const int widths[2] = {180, 300};
  for (int i = 0; i < 4; ++i) {
    GridColumn& c = columns.column(i);
    c.title = Text(ColumnTitles[i]);
    c.tooltip = Text(ColumnTips[i]);
    if (i < 2) c.width = widths[i];
    c.align = i == 2 ? ColumnAlign::Centre : i == 3 ? ColumnAlign::Right : ColumnAlign::Left;
    c.defaultSort = i >= 2 ? 1 : 2;
  }
  columns.setStretchColumn(1);
  RefreshGrid();
}

void CompareForm::RefreshGrid() {
  const GridSettings& mainSettings = main_.logic().folderGrid().settings();
  GridSettings& s = model_.settings();
  takeResultGridLook(s, mainSettings);
  const int spacing = LineSpacings[std::clamp(main_.logic().options().listInterleave, 0, 7)];
  s.lineSpacing = gridWidget_->viewport()->height() > 2 * spacing ? spacing : 1;
  // Date and size take what their widest text needs in the grid's font.
  const QFontMetrics metrics(gridfonts::fontFor(s.font));
  model_.columns().column(2).width = metrics.horizontalAdvance(qs(DateSample)) + 6;
  model_.columns().column(3).width = metrics.horizontalAdvance(qs(SizeSample)) + 6;
  gridWidget_->applySettings();
}

CompareFilters CompareForm::filters() const {
  CompareFilters f;
  if (searchFilters_) searchFilters_(f);
  f.minSize = minSize_->text().toULongLong();
  f.by = byDate_->isChecked() ? SameFileKey::By::NameSizeDate : SameFileKey::By::NameSize;
  f.sameMedium = sameMedium_->isChecked();
  f.members = members_->isChecked();
  return f;
}

// ---------------------------------------------------------------- operations

void CompareForm::present() {
  if (!isVisible()) show();
  raise();
  activateWindow();
}

void CompareForm::FindDuplicates() {
  wanted_ = CompareFormLogic::Mode::Duplicates;
  present();
  run();
}

void CompareForm::FilesOnlyHere(TextView fileName) {
  wanted_ = CompareFormLogic::Mode::OnlyHere;
  subjectFile_ = Text(fileName);
  present();
  run();
}

void CompareForm::CompareWith(TextView fileName) {
  FileOpenRequest request;
  request.title = Text(CompareFormLogic::ChooseTitle);
  request.filter = Text(CompareFormLogic::ChooseFilter);
  request.defaultExtension = u"CCT";
  request.initialFolder = cp932::fromNativeName(program_.catalogFolder().native());
  const Text chosen = program_.platform().ui.chooseFileToOpen(request);
  if (chosen.empty()) return;
  wanted_ = CompareFormLogic::Mode::Changes;
  subjectFile_ = Text(fileName);
  otherFile_ = NativePath(cp932::toNativeName(chosen));
  present();
  run();
}

void CompareForm::startStop() {
  if (logic_.running()) {
    startButton_->setEnabled(false);
    logic_.requestStop();
    return;
  }
  run();
}

void CompareForm::run() {
  if (logic_.running()) return;
  const CompareFilters f = filters();
  // What the search window's filters let through, shown beside the options.
  QString text = qs(FilterHead);
  for (int i = 0; i < 3; ++i) {
    if (f.media & MediaBits[i]) text += qs(MediaTexts[i]) + u' ';
  }
  text += qs(f.genres.on ? SomeGenres : AllGenres);
  filterText_->setText(text);
  const bool changes = wanted_ == CompareFormLogic::Mode::Changes;
  byDate_->setEnabled(!changes);
  sameMedium_->setEnabled(wanted_ == CompareFormLogic::Mode::Duplicates);
  minSize_->setEnabled(!changes);

  model_.Grid_Clear();
  summary_->clear();
  startButton_->setText(qs(CompareFormLogic::StopCaption));
  CatalogScan::Hooks hooks;
  QElapsedTimer sincePump;  // not started: the first call lets events run
  hooks.pump = [&sincePump] {
    if (sincePump.isValid() && sincePump.elapsed() < PumpIntervalMs) return true;
    sincePump.start();
    QApplication::processEvents();
    return true;
  };
  hooks.progress = [this](TextView title) { progress_->setText(qs(CompareFormLogic::ProgressHead) + qs(title)); };
  hooks.convertOldFiles = [this] { return main_.logic().convertOldFiles(); };
  FileSystem& files = program_.platform().files;
  const NativePath& folder = program_.catalogFolder();
  bool whole = true;
  switch (wanted_) {
    case CompareFormLogic::Mode::None:
    case CompareFormLogic::Mode::Duplicates: whole = logic_.findDuplicates(files, folder, f, hooks); break;
    case CompareFormLogic::Mode::OnlyHere: whole = logic_.findOnlyHere(files, folder, subjectFile_, f, hooks); break;
    case CompareFormLogic::Mode::Changes:
      if (!logic_.compareWith(files, folder, subjectFile_, otherFile_, f.members)) {
        finish(true);
        program_.platform().ui.showMessage(
            Text(CompareFormLogic::NotAListFile) + cp932::fromNativeName(otherFile_.native()), mb::Ok, u"");
        return;
      }
      break;
  }
  finish(whole);
}

void CompareForm::finish(bool whole) {
  model_.Grid_FinishRows(0);
  setWindowTitle(qs(logic_.caption()));
  startButton_->setText(qs(CompareFormLogic::StartCaption));
  startButton_->setEnabled(true);
  progress_->setText(!whole                  ? qs(CompareFormLogic::StoppedText)
                     : rows_.shownCount() == 0 ? qs(CompareFormLogic::NothingText)
                                               : QString());
  summary_->setText(whole ? qs(logic_.summary()) : QString());
  gridWidget_->relayout();
  gridWidget_->apply(model_.Grid_Refresh());
  if (rows_.shownCount() > 0) gridWidget_->setFocus(Qt::OtherFocusReason);
}

void CompareForm::jumpToCursor(bool show) {
  if (logic_.running() || rows_.shownCount() == 0) return;
  MainWindowJump target(main_);
  if (!logic_.jump(model_.cursorRow(), show, target)) program_.platform().ui.beep();
}

void CompareForm::closeEvent(QCloseEvent* event) {
  // Hidden, not closed; a run goes on.
  hide();
  event->ignore();
}

}  // namespace zevro
