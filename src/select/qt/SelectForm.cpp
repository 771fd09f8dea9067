#include "select/qt/SelectForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/FileOps.h"
#include "core/Geometry.h"
#include "core/OptionKeys.h"
#include "core/ShutdownMessages.h"
#include "grid/GridKeys.h"
#include "grid/qt/GridWidget.h"
#include "listview/qt/MainWindow.h"
#include "listview/qt/IconStrip.h"
#include "media/Program.h"
#include "platform/qt/QtText.h"
#include "select/qt/JanreForm.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

QString qs(TextView t) { return toQString(t); }

// The genre menu: control name and caption.
struct GenreMenuItem {
  TextView name;
  TextView caption;
};
constexpr GenreMenuItem GenreMenuItems[] = {
    {u"POPJNUL", u"このメニューを消す"}, {u"POPJREN", u"ジャンル名を変更"}, {u"POPJADD", u"ジャンル名を追加"},
    {u"POPJDEL", u"ジャンル名を削除"},   {u"POPJMOVU", u"上へ移動"},        {u"POPJMOVD", u"下へ移動"},
};

constexpr int MediaBits[3] = {selection::MediaCD, selection::MediaFD, selection::MediaHD};
constexpr TextView MediaTexts[3] = {u"CD", u"FD", u"HD"};

// Floating windows start here when no place is stored, in pixels.
constexpr int DefaultWidth = 300;
constexpr int DefaultHeight = 560;

CatalogSelection::Services servicesOf(Program& program) {
  CatalogSelection::Services s{program.platform().files, program.index(), program.genres(), program.catalogFolder(),
                               program.programFolder(), {}};
  for (int g = 0; g < GenreTable::Count; ++g)
    s.groupNames[static_cast<std::size_t>(g)] = program.options().readText(opt::groupKey(g), u"");
  return s;
}

}  // namespace

SelectForm::SelectForm(Program& program, QWidget* owner) : QWidget(owner, Qt::Window), program_(program) {
  setObjectName(QStringLiteral("SelectForm"));
  selection_.emplace(servicesOf(program));
  commands_.emplace(*selection_, program.platform());
  const OptionStore& options = program.options();
  selection_->setSortByTitle(options.readBoolean(opt::SortByTitle, false));
  selection_->setMediaMode(options.readNumber(opt::SelMediaMode, selection::MediaAll));
  if (program.genresError()) {
    program.platform().ui.showMessage(fileReadErrorText(program.catalogFolder() / GenreTable::FileName),
                                      mb::Ok | mb::IconExclamation, u"");
  }
  setWindowTitle(qs(selection_->caption()));
  buildControls();
  buildKeys();
  buildGenreMenu();
  ChangeListFont(options.readNumber(opt::CatFontNo, 0));
  resize(DefaultWidth, DefaultHeight);
  refreshButtons();
}

SelectForm::~SelectForm() = default;

void SelectForm::buildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  folderButton_ = new QPushButton(qs(selection::FolderButton), this);
  folderButton_->setObjectName(QStringLiteral("FLDBTN"));
  connect(folderButton_, &QPushButton::clicked, this, &SelectForm::changeFolder);
  row->addWidget(folderButton_);
  row->addStretch(1);
  titleButton_ = new QToolButton(this);
  titleButton_->setObjectName(QStringLiteral("ボタン_タイトル順"));
  titleButton_->setText(QStringLiteral("ABC"));
  titleButton_->setToolTip(qs(selection::TitleOrderTip));
  titleButton_->setCheckable(true);
  connect(titleButton_, &QToolButton::clicked, this, [this] { toggleTitleOrder(); });
  row->addWidget(titleButton_);
  for (int i = 0; i < 3; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("ボタン_MEDIA(%1)").arg(i));
    b->setText(qs(MediaTexts[i]));
    b->setToolTip(qs(selection::MediaTips[i]));
    b->setCheckable(true);
    connect(b, &QToolButton::clicked, this, [this, i] { toggleMedia(MediaBits[i]); });
    mediaButtons_[i] = b;
    row->addWidget(b);
  }
  column->addLayout(row);

  grid_ = new GridWidget(selection_->grid(), this);
  grid_->setObjectName(QStringLiteral("LSTGRD"));
  // Catalogs show their medium's icon, genres a folder.
  grid_->setIconStrip(iconstrip::standardStrip(), iconstrip::StandardCount, iconstrip::IconSize, iconstrip::IconSize,
                      {0, 2, 3, 4, 1, 1});
  column->addWidget(grid_, 1);
  grid_->setPressHook([this](QMouseEvent* event, int) {
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    const int shift = GridWidget::shiftStateOf(event->modifiers());
    CatalogSelection::Press p = selection_->pressMark(x, y, shift, selection_->grid().icons().width);
    if (p.action == CatalogSelection::PressAction::Toggled) {
      if (p.error) program_.platform().ui.showMessage(fromUtf8(p.error.text), mb::Ok | mb::IconExclamation, u"");
      redraw();
      grid_->setFocus(Qt::MouseFocusReason);
      return true;
    }
    grid_->apply(selection_->grid().Grid_MouseDown(gridkey::LeftButton, shift, x, y));
    p = selection_->clicked(1, y, main_ && !main_->isEnabled());
    if (p.action == CatalogSelection::PressAction::Beep) program_.platform().ui.beep();
    if (p.action == CatalogSelection::PressAction::Open) openCatalog(p.fileName);
    return true;
  });
  connect(grid_, &GridWidget::rightClicked, this, [this](QPoint at) {
    const int y = grid_->viewport()->mapFromGlobal(at).y();
    const CatalogSelection::Press p = selection_->clicked(2, y, false);
    if (p.action == CatalogSelection::PressAction::Beep) program_.platform().ui.beep();
    if (p.action == CatalogSelection::PressAction::GenreMenu) genreMenu_->popup(at);
  });
}

void SelectForm::buildKeys() {
  const auto key = [this](QKeySequence sequence, std::function<void()> run) {
    auto* s = new QShortcut(sequence, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, std::move(run));
  };
  for (int i = 0; i < 3; ++i) {
    const int bit = MediaBits[i];
    const auto digit = static_cast<Qt::Key>(Qt::Key_1 + i);
    key(QKeySequence(QKeyCombination(Qt::AltModifier, digit)), [this, bit] { toggleMedia(bit); });
    key(QKeySequence(QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, digit)), [this, bit] { toggleMedia(bit); });
  }
  key(QKeySequence(Qt::ALT | Qt::Key_T), [this] { toggleTitleOrder(); });
  key(QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
    if (openSearch_) {
      openSearch_();
    } else {
      program_.platform().ui.beep();
    }
  });
  key(QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void SelectForm::buildGenreMenu() {
  genreMenu_ = new QMenu(this);
  genreMenu_->setObjectName(QStringLiteral("POP_JAN"));
  for (const GenreMenuItem& item : GenreMenuItems) {
    QAction* a = genreMenu_->addAction(qs(item.caption));
    a->setObjectName(qs(item.name));
    const TextView name = item.name;
    connect(a, &QAction::triggered, this, [this, name] { runGenreCommand(name); });
  }
}

QAction* SelectForm::genreAction(TextView name) const {
  for (QAction* a : genreMenu_->actions())
    if (a->objectName() == qs(name)) return a;
  return nullptr;
}

void SelectForm::runGenreCommand(TextView name) {
  GenreCommands& c = *commands_;
  const int genre = c.cursorGenre();
  const bool outside = genre < 0 && name != u"POPJADD" && name != u"POPJNUL";
  if (outside) {
    // A genre outside the table has nothing to rename, delete or move.
    program_.platform().ui.beep();
    return;
  }
  if (name == u"POPJADD") {
    c.add();
  } else if (name == u"POPJREN") {
    if (c.rename(genre) == GenreOutcome::Done) genreNamesChanged();
  } else if (name == u"POPJDEL") {
    c.remove(genre);
  } else if (name == u"POPJMOVU") {
    c.moveUp(genre);
  } else if (name == u"POPJMOVD") {
    c.moveDown(genre);
  }
  redraw();
  grid_->setFocus(Qt::OtherFocusReason);
}

void SelectForm::genreNamesChanged() {
  if (!main_) return;
  main_->logic().genresChanged();
  MainWindowEffects e;
  e.labels = true;
  main_->apply(e);
}

// ---------------------------------------------------------------- the main window

void SelectForm::attachTo(MainWindow& window) {
  main_ = &window;
  window.setSelectionWindow(this);
  MainWindowLogic::Hooks& hooks = window.logic().hooks();
  hooks.showSelection = [this](TextView fileName) { カタログ一覧を表示(fileName); };
  hooks.catalogShown = [this](TextView fileName) { catalogShown(fileName); };
  hooks.refreshSelection = [this](TextView fileName) {
    if (isVisible()) {
      RefreshCatalogList(fileName);
    } else {
      // Listed afresh when the window is shown; its genre opens now.
      keepGenreOpen(fileName);
    }
  };
  hooks.catalogDeleted = [this](TextView fileName) { DeleteCatalogFile(fileName); };
  hooks.moveToGenre = [this](TextView fileName) { return moveShownCatalog(fileName); };
  window.apply(MainWindowEffects{});
}

void SelectForm::keepGenreOpen(TextView fileName) {
  const std::optional<int> genre = selection::genreDigits(fileName);
  if (!genre) return;
  if (IoError error = selection_->setGenreOpen(*genre, true))
    program_.platform().ui.showMessage(fileWriteErrorText(selection_->catalogFolder() / GenreTable::FileName),
                                       mb::Ok | mb::IconExclamation, u"");
}

void SelectForm::catalogShown(TextView fileName) {
  if (!isVisible()) {
    keepGenreOpen(fileName);
    return;
  }
  // A catalog the list already has keeps the list as it is; one it lacks
  // (stored meanwhile) is listed afresh.
  const int row = selection_->rowOfFile(fileName);
  if (row < 0) {
    RefreshCatalogList(fileName);
    return;
  }
  selection_->moveCursorTo(row);
  redraw();
}

void SelectForm::openCatalog(TextView fileName) {
  if (!main_) return;
  main_->指定カタログの特定ページを表示(fileName, u"", true);
  main_->activateWindow();
  main_->raise();
}

std::optional<Text> SelectForm::moveShownCatalog(TextView fileName) {
  const std::optional<int> current = selection::genreDigits(fileName);
  const std::optional<int> genre = JanreForm::pickOne(selection_->genres(), current ? *current : -1, main_);
  if (!genre) return std::nullopt;
  const CatalogMove move =
      moveCatalog(program_.platform(), selection_->index(), selection_->catalogFolder(), fileName, *genre);
  if (move.outcome != GenreOutcome::Done) return std::nullopt;
  ChangeJanre(move.newName, *genre);
  return move.newName;
}

// ---------------------------------------------------------------- public operations

void SelectForm::showListing(const CatalogSelection::Listing& listing) {
  Ui& ui = program_.platform().ui;
  const NativePath& folder = selection_->catalogFolder();
  if (listing.indexError)
    ui.showMessage(fileWriteErrorText(folder / CatalogIndex::FileName), mb::Ok | mb::IconExclamation, u"");
  if (listing.genreError)
    ui.showMessage(fileWriteErrorText(folder / GenreTable::FileName), mb::Ok | mb::IconExclamation, u"");
  if (!listing.joined.empty()) genreNamesChanged();
  redraw();
}

void SelectForm::カタログ一覧を表示(TextView fileName) {
  showListing(selection_->カタログ一覧を表示(fileName));
  if (!isVisible()) {
    place();
    show();
  }
  raise();
  if (main_ && attached()) main_->AttachSelectBox();
}

void SelectForm::カタログ行を選択(TextView fileName) {
  selection_->カタログ行を選択(fileName);
  redraw();
}

void SelectForm::RefreshCatalogList(TextView fileName) { showListing(selection_->RefreshCatalogList(fileName)); }

void SelectForm::RemoveCatalogEntry(TextView fileName) {
  if (IoError error = selection_->RemoveCatalogEntry(fileName)) {
    program_.platform().ui.showMessage(fileWriteErrorText(selection_->catalogFolder() / CatalogIndex::FileName),
                                       mb::Ok | mb::IconExclamation, u"");
  }
}

void SelectForm::DeleteCatalogFile(TextView fileName) {
  // The main window removed the index entry with the file already; what is
  // left here is the row (and an entry should that have failed).
  selection_->DeleteCatalogFile(fileName);
  redraw();
}

void SelectForm::ChangeJanre(TextView fileName, int genre) {
  showListing(selection_->ChangeJanre(fileName, genre));
}

void SelectForm::ChangeListFont(int choice) {
  GridModel& g = selection_->grid();
  g.Grid_SetFont(CatalogSelection::ChangeListFont(choice), selection::ListFontSize, 0, 0);
  grid_->applySettings();
}

void SelectForm::toggleMedia(int bit) {
  selection_->setMediaMode(selection_->mediaMode() ^ bit);
  rebuildKeeping();
}

void SelectForm::toggleTitleOrder() {
  selection_->setSortByTitle(!selection_->sortByTitle());
  rebuildKeeping();
}

void SelectForm::rebuildKeeping() {
  const int row = selection_->cursorStoredRow();
  const Text file = row >= 0 && !selection_->isGenreRow(row) ? selection_->rows().field(selection::FieldFile, row)
                                                              : Text();
  showListing(selection_->build());
  if (!file.empty()) selection_->カタログ行を選択(file);
  refreshButtons();
  redraw();
}

void SelectForm::changeFolder() {
  Ui& ui = program_.platform().ui;
  const Text chosen = fileops::browseForFolder(
      ui, cp932::fromNativeName(selection_->catalogFolder().native()), selection::FolderChooserTitle);
  if (chosen.empty()) return;
  const NativePath folder(cp932::toNativeName(chosen));
  const IoError error = program_.changeCatalogFolder(folder);
  if (error) ui.showMessage(fromUtf8(error.text), mb::Ok | mb::IconExclamation, u"");
  selection_->setCatalogFolder(folder);
  if (folderChanged_) folderChanged_(folder);
  if (main_) {
    main_->logic().setCatalogFolder(folder);
    MainWindowEffects e;
    e.labels = true;
    main_->apply(e);
  }
  setWindowTitle(qs(selection_->caption()));
  showListing(selection_->build());
  selection_->moveCursorTo(0);
  redraw();
}

// ---------------------------------------------------------------- drawing and places

void SelectForm::redraw() {
  GridModel& g = selection_->grid();
  grid_->relayout();
  grid_->apply(g.Grid_ShowRow(g.cursorRow(), false));
  grid_->viewport()->update();
}

void SelectForm::refreshButtons() {
  titleButton_->setChecked(selection_->sortByTitle());
  for (int i = 0; i < 3; ++i) mediaButtons_[i]->setChecked((selection_->mediaMode() & MediaBits[i]) != 0);
}

bool SelectForm::attached() const { return main_ && main_->logic().options().attachSelBox; }

int SelectForm::dpi() const { return logicalDpiX() > 0 ? logicalDpiX() : 96; }

void SelectForm::place() {
  const OptionStore& o = program_.options();
  placing_ = true;
  if (attached()) {
    const int w = o.readNumber(opt::SelFormLX, 0);
    const int h = o.readNumber(opt::SelFormLY, 0);
    if (w > 0 && h > 0) resize(twipsToPixels(w, dpi()), twipsToPixels(h, dpi()));
  } else if (o.has(opt::SelFormSX)) {
    move(twipsToPixels(o.readNumber(opt::SelFormSX, 0), dpi()), twipsToPixels(o.readNumber(opt::SelFormSY, 0), dpi()));
  }
  placing_ = false;
}

void SelectForm::remember() {
  if (placing_ || !isVisible()) return;
  OptionStore& o = program_.options();
  if (attached()) {
    o.writeNumber(opt::SelFormLX, pixelsToTwips(width(), dpi()));
    o.writeNumber(opt::SelFormLY, pixelsToTwips(height(), dpi()));
  } else {
    o.writeNumber(opt::SelFormSX, pixelsToTwips(x(), dpi()));
    o.writeNumber(opt::SelFormSY, pixelsToTwips(y(), dpi()));
  }
}

void SelectForm::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  remember();
}

void SelectForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  remember();
}

void SelectForm::closeEvent(QCloseEvent* event) {
  // Hidden, not closed: it keeps its list for the next time.
  unload();
  hide();
  event->ignore();
}

void SelectForm::unload() {
  OptionStore& o = program_.options();
  o.writeBoolean(opt::SortByTitle, selection_->sortByTitle());
  o.writeNumber(opt::SelMediaMode, selection_->mediaMode());
  o.writeText(opt::JanreOpen, selection_->genres().stateString());
}

}  // namespace zevro
