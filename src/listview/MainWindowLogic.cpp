#include "listview/MainWindowLogic.h"

#include <cmath>
#include <string>
#include <system_error>

#include "core/CatalogBackup.h"
#include "core/CatalogDeletion.h"
#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/GenreTable.h"
#include "core/ListExport.h"
#include "core/ListFileName.h"
#include "core/Numbers.h"
#include "core/OptionKeys.h"
#include "core/SearchHistory.h"
#include "core/Shutdown.h"
#include "core/ShutdownMessages.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "dialogs/FontOptions.h"
#include "grid/GridKeys.h"
#include "listview/DisplayMode.h"
#include "listview/MainWindowLayout.h"
#include "media/DiskImage.h"
#include "search/SearchIndexes.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

using C = Command;

// The matching switch of a menu item of the search conditions.
std::optional<SwitchKind> switchOf(Command command) {
  switch (command) {
    case C::MS_大小区別: return SwitchKind::Case;
    case C::MS_半角全角: return SwitchKind::Width;
    case C::MS_正規表現: return SwitchKind::Pattern;
    case C::MS_完全一致: return SwitchKind::WholeWord;
    default: return std::nullopt;
  }
}

bool between(Command c, Command first, Command last) {
  return static_cast<int>(c) >= static_cast<int>(first) && static_cast<int>(c) <= static_cast<int>(last);
}

constexpr std::int64_t Mega = 1'048'576;
constexpr std::int64_t Kilo = 1024;

Text scaled(std::int64_t bytes, std::int64_t unit) {
  return groupedNumber(static_cast<std::int64_t>(std::llround(static_cast<double>(bytes) / static_cast<double>(unit))));
}

CatalogDocument::Hooks documentHooks(std::function<int()> displayMode, CatalogIndex& index) {
  CatalogDocument::Hooks hooks;
  hooks.displayMode = std::move(displayMode);
  // A saved catalog leaves the index and comes back with its new title: the
  // catalog selection enters it; without it open, the index is told here.
  hooks.refreshCatalogList = [&index](TextView fileName) {
    index.titleOf(fileName);
    index.writeIfChanged();
  };
  return hooks;
}

TreeFocus focusOf(Pane pane) { return pane == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid; }

}  // namespace

MainWindowEffects& MainWindowEffects::merge(const MainWindowEffects& later) {
  grids.merge(later.grids);
  layout |= later.layout;
  settings |= later.settings;
  labels |= later.labels;
  findList |= later.findList;
  close |= later.close;
  showWindow |= later.showWindow;
  editLine |= later.editLine;
  return *this;
}

Text freeSpaceText(std::int64_t bytes) {
  if (bytes <= 0) return {};
  Text t(MainWindowLogic::FreeSpaceHead);
  t += groupedNumber(bytes);
  if (bytes > Mega) return t + u" (" + scaled(bytes, Mega) + Text(MainWindowLogic::MegaTail);
  if (bytes > Kilo) return t + u" (" + scaled(bytes, Kilo) + Text(MainWindowLogic::KiloTail);
  return t + Text(MainWindowLogic::BytesTail);
}

Text rowPathText(const RowStore& store, int row) {
  if (row < 0 || row >= store.rowCount()) return {};
  Text path = store.rowPath(row, 1);
  const TextView onMedium = store.fieldView(catalog::FieldMediumName, row);
  if (row > 0 && !onMedium.empty()) path = folderWithSeparator(path) + Text(onMedium);
  return u" " + path;
}

// ---------------------------------------------------------------- set-up

MainWindowLogic::MainWindowLogic(Services services)
    : services_(std::move(services)),
      options_(MainWindowOptions::read(services_.options)),
      document_(std::make_unique<CatalogDocument>(
          CatalogDocument::Services{services_.platform, services_.catalogFolder, services_.programFolder,
                                    services_.index, services_.titleCache, services_.icons},
          documentHooks([this] { return tree_.shownMode(); }, services_.index))),
      folderGrid_(document_->list()),
      fileGrid_(files_),
      tree_(folderGrid_, fileGrid_),
      readingStore_(services_.platform, services_.index, services_.programFolder / std::string(BackupFolderName)) {
  catalog::makeCatalogList(document_->list());
  // A new reading is stored by the first write of its list, whatever asks
  // for it: the save button, the save question or a new title.
  document_->hooks().beforeWrite = [this] { return !pendingReading_ || readingStore_.prepare(*pendingReading_); };
  document_->hooks().afterWrite = [this](TextView fileName) {
    if (pendingReading_) {
      const MediaReading::Result reading = std::move(*pendingReading_);
      pendingReading_.reset();
      readingStore_.finish(reading, fileName);
    }
    // The search index follows the written file at once, so the next search
    // need not build it. It is a cache: one that cannot be stored now is
    // built by the next search.
    searchIndexes().update(cp932::toNativeName(fileName), false);
  };
  // Growth failures of the lists and a tree that cannot be built are shown,
  // not swallowed: the panes would just stop filling.
  const auto showError = [this](TextView message) {
    services_.platform.ui.showMessage(message, mb::Ok | mb::IconExclamation, u"");
  };
  document_->hooks().convertOldFiles = [this] { return convertOldFiles(); };
  document_->list().setErrorHandler(showError);
  files_.setErrorHandler(showError);
  tree_.setErrorHandler(showError);
  // The catalog index as the last run left it (the drive titles are loaded
  // with the drives, before their labels are taken); both are written back
  // as they change and when the window closes.
  services_.index.load();
  tree_.setDisplayMode(options_.displayMode);
  widthRight_ = rightPane();
  maingrid::configure(folderGrid_, Pane::Folder, options_, widthRight_, false);
  maingrid::configure(fileGrid_, Pane::File, options_, widthRight_, false);
  applyCursorColours();
  search_.setWords(readSearchWords(services_.platform.files, services_.programFolder / SearchWordFileName).words);
  search_.readSwitches(services_.options);
}

MainWindowLogic::~MainWindowLogic() = default;

Text MainWindowLogic::titleText() const {
  const RowStore& list = document_->list();
  if (list.rowCount() == 0 || titleHidden_) return {};
  // A catalog without a title is named by its label, as the index names it.
  return CatalogIndex::entryTitle(document_->title(), list.fieldView(catalog::FieldName, 0));
}

void MainWindowLogic::saveOptionsNow() {
  if (optionsPending()) saveOptions(services_.platform, services_.options);
}

void MainWindowLogic::setCatalogFolder(NativePath folder) {
  services_.catalogFolder = folder;
  document_->setCatalogFolder(std::move(folder));
  findGenre();
}

bool MainWindowLogic::hasList() const {
  return !document_->currentFile().empty() && document_->list().rowCount() > 0;
}

Text MainWindowLogic::genreText() const { return genre_; }

void MainWindowLogic::findGenre() {
  genre_.clear();
  const Text name = document_->currentFileName();
  if (name.empty()) return;
  const int genre = listfilename::genreOf(name);
  std::string bytes;
  const NativePath table = fileops::resolved(services_.platform.files, services_.catalogFolder / GenreTable::FileName);
  if (!services_.platform.files.readFile(table, bytes)) genre_ = GenreTable::decode(bytes).name(genre);
  if (genre_.empty()) genre_ = opt::defaultGenreName(genre);
}

// ---------------------------------------------------------------- commands

bool MainWindowLogic::isEnabled(Command command) const {
  if (busy_) return false;
  const MenuEntry& e = mainmenu::entry(command);
  if (e.id == C::None || !e.built) return false;
  if (command == C::MF_上書保存) return document_->modified();
  if (command == C::MF_DVD場所 || command == C::MF_リスト更新 || command == C::MF_メディア名変更) {
    const Text name = document_->currentFileName();
    const Text kind = hasList() && name.size() > 5 ? asciiUpper(TextView(name).substr(3, 2)) : Text();
    const MediumCommands c =
        mediumCommands(kind, hasList() ? document_->list().fieldView(catalog::FieldName, 0) : TextView{},
                       !document_->currentFile().empty(), document_->modified());
    if (command == C::MF_DVD場所) return c.diskImage && e.built;
    if (command == C::MF_メディア名変更) return c.changeTitle && e.built && static_cast<bool>(hooks_.changeMediumTitle);
    return c.refreshList && services_.locator && hooks_.refreshMedium;
  }
  if (command == C::POP名称_開く || command == C::POP名称_表示 || command == C::MD_データ表示 ||
      command == C::ボタン_表示 || command == C::ME_イメージ記録 || command == C::ME_イメージ消去)
    return mediumReady() && hasList() && (command == C::POP名称_開く || hooks_.dataWindow ||
                                          command == C::ME_イメージ消去 || command == C::ME_イメージ記録);
  // Nothing to rename, delete or save without a list.
  if (command == C::MF_タイトル変更 || command == C::MF_リスト削除 || command == C::ボタン_保存) return hasList();
  if (command == C::MF_ジャンル変更 || command == C::JANDSP) return hooks_.moveToGenre && hasList();
  if (between(command, C::MD_ソート0, C::MD_ソート2)) return paneOpen();
  // Correcting from the comment menu needs a comment to correct.
  if (command == C::POP注釈_コメント修正)
    return hasList() && contextMenu(active_ == Pane::File && paneOpen() ? Pane::File : Pane::Folder).commentEditable;
  if (command == C::MO_アイコン変更) return static_cast<bool>(hooks_.changeIcons);
  if (command == C::MO_アイコン戻す)
    return hooks_.useStandardIcons && !services_.options.readText(opt::MarkIconFile, u"").empty();
  if (command == C::MS_全検索) return static_cast<bool>(hooks_.openSearch);
  if (command == C::MS_重複ファイル) return static_cast<bool>(hooks_.findDuplicates);
  if (command == C::MS_単独ファイル) return hooks_.filesOnlyHere && hasList();
  if (command == C::MF_比較) return hooks_.compareWith && hasList();
  if (command == C::MS_次フォルダー || command == C::MS_前フォルダー) return hasList();
  if (command == C::MD_表示モード1)
    return DisplayMode::menuEnabled(DisplayMode::ItemOneTree, document_->list().rowCount());
  return true;
}

bool MainWindowLogic::isChecked(Command command) const {
  if (between(command, C::MD_表示モード0, C::MD_表示モード3))
    return DisplayMode::menuChecked(tree_.displayMode(), mainmenu::indexOf(command));
  if (between(command, C::MDD_行間ドット0, C::MDD_行間ドット6))
    return options_.listInterleave == mainmenu::indexOf(command) + 1;
  if (between(command, C::MOF_カタログフォント0, C::MOF_カタログフォント2))
    return options_.catFontNo == mainmenu::indexOf(command);
  if (between(command, C::ボタン_深度0, C::ボタン_深度4)) return chosenLevel_ == mainmenu::levelOf(command);
  // The pane buttons show where the file pane is.
  if (command == C::ボタン_縦2列) return rightPane();
  if (command == C::ボタン_横2列) return paneOpen() && !rightPane();
  if (const std::optional<SwitchKind> kind = switchOf(command)) return search_.menuChecked(*kind);
  if (between(command, C::MST_検索対象0, C::MST_検索対象2))
    return options_.findMode == mainmenu::indexOf(command) + 1;
  return options_.isOn(command);
}

bool MainWindowLogic::isVisible(Command command) const {
  if (command == C::MOF_カタログフォント2) return services_.meiryoUi;
  return !mainmenu::entry(command).hidden;
}

bool MainWindowLogic::disablesWindow(Command command) {
  // The reading window has the user's attention; the list window waits.
  return command == C::MF_新規作成 || command == C::ボタン_読込 || command == C::MF_リスト更新;
}

bool MainWindowLogic::commandStart() {
  // An open edit line is committed first; then pending window events run.
  FinishEdit();
  if (hooks_.pump) hooks_.pump();
  return !busy_;
}

MainWindowEffects MainWindowLogic::run(Command command) {
  if (!isEnabled(command) && command != C::ボタン_保存) return {};
  if (busy_ || !commandStart()) return {};
  // An edit waiting in the comment window is stored before the command.
  MainWindowEffects e = takeBackComment();
  return e.merge(runCommand(command));
}

MainWindowEffects MainWindowLogic::runCommand(Command command) {
  if (between(command, C::MD_表示モード0, C::MD_表示モード3) || command == C::ボタン_縦2列 ||
      command == C::ボタン_横2列)
    return chooseMode(command);
  if (mainmenu::levelOf(command) >= 0) return chooseLevel(mainmenu::levelOf(command));
  if (between(command, C::MD_ソート0, C::MD_ソート2)) {
    MainWindowEffects e;
    e.grids = tree_.sortFiles(2 + mainmenu::indexOf(command));
    return e;
  }
  if (between(command, C::MDD_行間ドット0, C::MDD_行間ドット6)) return setInterleave(mainmenu::indexOf(command) + 1);
  if (between(command, C::MOF_カタログフォント0, C::MOF_カタログフォント2))
    return chooseCatalogFont(mainmenu::indexOf(command));
  if (MainWindowOptions::switchOf(command)) return toggleSwitch(command);
  switch (command) {
    case C::MF_リスト開く:
    case C::ボタン_開く: return openListFile();
    case C::MF_新規作成:
    case C::ボタン_読込: return newReading();
    case C::MF_上書保存:
    case C::ボタン_保存: return save();
    case C::MF_リスト更新: return refreshList();
    case C::MF_タイトル変更:
    case C::NAMDSP: return changeTitle();
    case C::MF_リスト削除: return deleteCatalog();
    case C::MF_ジャンル変更:
    case C::JANDSP: return changeGenre();
    case C::MF_TEXT保存: return exportList();
    case C::MF_バックアップ: return backUp();
    case C::MF_比較: hooks_.compareWith(document_->currentFileName()); return {};
    case C::MS_重複ファイル: hooks_.findDuplicates(); return {};
    case C::MS_単独ファイル: hooks_.filesOnlyHere(document_->currentFileName()); return {};
    case C::MF_終了: {
      MainWindowEffects e;
      e.close = true;
      return e;
    }
    case C::MO_アイコン変更:
      hooks_.changeIcons();
      return iconsChanged();
    case C::MO_アイコン戻す:
      if (services_.platform.ui.showMessage(StandardIconsQuestion, StandardIconsFlags, u"") != AnswerYes) return {};
      hooks_.useStandardIcons();
      return iconsChanged();
    case C::MF_印刷:
      // Nothing to print without rows.
      if (!hasList() || folderGrid_.rowCount() == 0) {
        services_.platform.ui.beep();
        return {};
      }
      if (hooks_.printList) hooks_.printList();
      return {};
    case C::MO_色の変更: return changeColours();
    case C::MO_フォント変更:
    case C::MO_コメントフォント:
    case C::MO_プレビューフォント: return changeFont(command);
    case C::MH_トピック: return openHelp();
    case C::POP名称_開く: return openRow(active_, false);
    case C::MD_データ表示:
      if (services_.locator) services_.locator->locateCancelled = false;
      return showRowData(false);
    case C::POP名称_表示:
    case C::ボタン_表示: return showRowData(false);
    case C::ME_イメージ記録: return attachPictures();
    case C::ME_イメージ消去: return removePicture();
    case C::MF_DVD場所: return chooseDiskImage();
    case C::MF_メディア名変更: {
      const Text label = document_->list().field(catalog::FieldName, 0);
      if (!hooks_.changeMediumTitle || !hooks_.changeMediumTitle(label)) return {};
      // The catalogs were renamed: the shown one is loaded under its new name.
      return loadCatalog(document_->currentFileName());
    }
    case C::MH_バージョン:
      if (hooks_.showVersion) hooks_.showVersion();
      return {};
    case C::MS_大小区別:
    case C::MS_半角全角:
    case C::MS_正規表現:
    case C::MS_完全一致: {
      search_.toggle(*switchOf(command));
      MainWindowEffects e;
      e.labels = true;
      return e;
    }
    case C::FNDBTN:
    case C::MS_次を検索: return FindNext(false);
    case C::MS_前を検索: return FindNext(true);
    case C::MS_次フォルダー: return NextFolder();
    case C::MS_前フォルダー: return PrevFolder();
    case C::MS_履歴クリア: {
      search_.clearWords();
      MainWindowEffects e;
      e.findList = true;
      return e;
    }
    case C::MST_検索対象0:
    case C::MST_検索対象1:
    case C::MST_検索対象2: {
      const int item = mainmenu::indexOf(command);
      options_.findMode = item + 1;
      services_.options.writeNumber(opt::FindMode, options_.findMode);
      MainWindowEffects e;
      GridModel& grid = this->grid(active_);
      if (grid.rowCount() > 0) e.grids.folder.merge(grid.Grid_SetCursorColumn(item == 1 ? 1 : 0));
      if (active_ == Pane::File) std::swap(e.grids.folder, e.grids.files);
      e.merge(PrepareSearch());
      e.labels = true;
      return e;
    }
    case C::MS_全検索: {
      const int selected = search_.selectedWord();
      return openSearch(selected >= 0 ? TextView(search_.words()[static_cast<std::size_t>(selected)]) : TextView());
    }
    case C::ME_コピー:
    case C::POP選択_コピー: return copyColumn(activeGrid().cursorColumn());
    case C::POP名称_名前コピー:
    case C::POPDIR_コピー: return copyColumn(catalog::FieldName);
    case C::POP注釈_コピー: return copyColumn(catalog::FieldComment);
    case C::POP日付_コピー: return copyColumn(catalog::FieldDate);
    case C::POP容量_コピー: return copyColumn(catalog::FieldSize);
    case C::POP名称_フルパスコピー:
    case C::POPDIR_フルパスコピー: return copyFullPath();
    case C::ME_貼付:
    case C::POP注釈_貼付: return pasteColumn();
    case C::ME_切取: return cutColumn();
    case C::POP注釈_切取: {
      MainWindowEffects e = copyColumn(catalog::FieldComment);
      return e.merge(eraseCursorComment());
    }
    case C::ME_コメント消去:
    case C::POP選択_消去: return eraseColumn();
    case C::POP注釈_消去: return eraseCursorComment();
    case C::ME_選択行削除: return deleteSelectedRows();
    case C::ME_総て選択: return selectFolderFiles();
    case C::ME_データ修正:
    case C::POP注釈_コメント修正:
    case C::ME_ファイル名修正:
    case C::POP名称_名前修正:
    case C::POP日付_修正: {
      if (command == C::ME_データ修正 || command == C::POP注釈_コメント修正) renameMode_ = listedit::RenameMode::ListOnly;
      const Pane pane = active_ == Pane::File && paneOpen() ? Pane::File : Pane::Folder;
      MainWindowEffects e;
      if (command == C::ME_ファイル名修正) {
        renameMode_ = listedit::RenameMode::ListAndMedium;
        (pane == Pane::Folder ? e.grids.folder : e.grids.files).merge(grid(pane).Grid_SetCursorColumn(0));
        const int stored = grid(pane).store().storedRowAt(grid(pane).cursorRow());
        if (pane == Pane::Folder && grid(pane).store().kind(stored) <= catalog::KindArchiveFolder) {
          ui().beep();
          return e;
        }
      }
      e.editLine = OpenEditLine(pane);
      // Opening may have taken the selection off the cursor row.
      (pane == Pane::Folder ? e.grids.folder : e.grids.files).full = true;
      return e;
    }
    default: return {};  // closing a context menu, or a command not built yet
  }
}

MainWindowEffects MainWindowLogic::exportList() {
  const listexport::Request request{services_.platform, services_.options, services_.catalogFolder,
                                    services_.fileDialogs};
  listexport::exportList(request, document_->list(), document_->title(), !document_->currentFile().empty());
  return {};
}

MainWindowEffects MainWindowLogic::backUp() {
  Ui& ui = services_.platform.ui;
  if (!askToKeep()) return {};
  MainWindowEffects e;
  e.labels = true;  // a save may have happened
  const NativePath start = services_.options.readPath(opt::BackupDir, services_.catalogFolder);
  const Text chosen = fileops::browseForFolder(ui, cp932::fromNativeName(start.native()), CatalogBackup::ChooserTitle);
  if (chosen.empty()) return e;
  if (hooks_.busyPointer) hooks_.busyPointer(true);
  CatalogBackup backup(services_.platform.files, {services_.programFolder, services_.catalogFolder});
  const CatalogBackup::Result result =
      backup.run(NativePath(cp932::toNativeName(chosen)), services_.options, [&](const CatalogBackup::Failure& f) {
        Text text = fromUtf8(f.error.text);
        text += u"|\x08";
        text += cp932::fromNativeName(f.path.native());
        text += u'\x07';
        ui.showMessage(text, mb::Ok | mb::IconExclamation, u"");
      });
  ui.beep();
  ui.showMessage(CatalogBackup::doneMessage(result.count()), mb::Ok | mb::IconInformation, u"");
  if (hooks_.busyPointer) hooks_.busyPointer(false);
  return e;
}

bool MainWindowLogic::convertOldFiles() {
  if (!oldData_) {
    const IconTable* icons = services_.icons;
    if (!icons) {
      standardIcons_.emplace();
      standardIcons_->BuildStandardTables();
      icons = &*standardIcons_;
    }
    oldData_ = std::make_unique<OldDataConversion>(OldDataConversion::Services{
        services_.platform, services_.catalogFolder, services_.programFolder, *icons});
  }
  if (!oldData_->hasWork()) return true;
  if (hooks_.busyPointer) hooks_.busyPointer(true);
  const OldDataConversion::Outcome outcome = oldData_->Update_AX_to_BX([this](TextView name) {
    if (hooks_.showConversion) hooks_.showConversion(name);
  });
  if (hooks_.hideConversion) hooks_.hideConversion();
  if (hooks_.busyPointer) hooks_.busyPointer(false);
  for (const OldDataConversion::Failed& f : outcome.failed) {
    Text text(CatalogDocument::OldLayoutMessage);
    text += u'|';
    text += f.text;
    text += u'|';
    text += f.name;
    services_.platform.ui.showMessage(text, mb::Ok | mb::IconExclamation, u"");
  }
  // The index learns the converted catalogs' titles afresh.
  for (const OldDataConversion::Converted& c : outcome.converted) services_.index.removeEntry(c.name);
  return true;
}

MainWindowEffects MainWindowLogic::iconsChanged() {
  MainWindowEffects e;
  e.labels = true;
  RowStore& list = document_->list();
  if (list.rowCount() == 0) return e;
  const Pane pane = paneOpen() ? Pane::File : Pane::Folder;
  const int cursorRow = currentCatalogRow(pane);
  const int line = grid(pane).cursorRow() - grid(pane).topRow();
  const int folderRow = currentCatalogRow(Pane::Folder);
  const Text folderPath = folderRow >= 0 ? list.rowPath(folderRow, 1) : Text();
  if (document_->modified() || document_->currentFile().empty()) {
    const IconTable* icons = services_.icons;
    if (icons && icons->stamp() != document_->iconStamp()) {
      Text stamp = document_->iconStamp();
      ReDeriveKinds(list, *icons, stamp, document_->hooks().onLowKindCode);
      document_->setIconStamp(stamp);
    }
    e.merge(showCatalog(true));
  } else {
    e.merge(loadCatalog(document_->currentFileName()));
    if (!folderPath.empty()) e.merge(特定ページを表示(folderPath, false));
  }
  if (cursorRow < 0 || cursorRow >= document_->list().rowCount()) return e;
  if (pane == Pane::File && paneOpen()) {
    const int paneRow = tree_.filePane().paneRowOf(cursorRow);
    const int shown = paneRow < 0 ? -1 : files_.displayRowOf(paneRow);
    if (shown >= 0) {
      e.grids.files.merge(fileGrid_.Grid_MoveCursor(shown));
      e.grids.files.merge(fileGrid_.Grid_KeepRowAt(shown, line));
    }
  } else if (const int shown = document_->list().displayRowOf(cursorRow); shown >= 0) {
    e.grids.folder.merge(folderGrid_.Grid_MoveCursor(shown));
    e.grids.folder.merge(folderGrid_.Grid_KeepRowAt(shown, line));
  }
  return e;
}

// The document's own question, with the save going through storeList so that
// a list just read is stored with what goes with it.
bool MainWindowLogic::askToKeep() {
  if (!document_->modified()) return true;
  const int answer =
      services_.platform.ui.showMessage(CatalogDocument::SaveQuestion, mb::YesNoCancel | mb::IconQuestion, u"");
  if (answer == AnswerNo) return true;
  if (answer != AnswerYes) return false;
  return storeList();
}

MainWindowEffects MainWindowLogic::openListFile() {
  if (hooks_.showSelection) {
    // The selection window is where catalogs are chosen.
    hooks_.showSelection(document_->currentFileName());
    return {};
  }
  if (!hooks_.chooseListFile) return {};
  if (!askToKeep()) return {};
  const std::optional<NativePath> chosen =
      hooks_.chooseListFile(services_.catalogFolder, OpenListTitle, ListFilePattern);
  // Cancelled: the list stays, and so does its modified mark, so that closing
  // still asks about it.
  if (!chosen) return {};
  std::error_code ignored;
  if (!std::filesystem::equivalent(chosen->parent_path(), services_.catalogFolder, ignored)) {
    // Catalogs live in the catalog folder; a list file elsewhere is not one of them.
    services_.platform.ui.beep();
    return {};
  }
  document_->setModified(false);  // answered above
  return loadCatalog(cp932::fromNativeName(chosen->filename().native()));
}

MainWindowEffects MainWindowLogic::clearPanes() {
  MainWindowEffects e;
  e.grids.folder.merge(folderGrid_.Grid_Clear());
  e.grids.files.merge(fileGrid_.Grid_Clear());
  tree_.forgetPaneFolder();
  lastJump_ = -1;
  e.grids.folder.full = e.grids.files.full = true;
  e.grids.folder.layout = e.grids.files.layout = true;
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::loadCatalog(TextView fileName) {
  MainWindowEffects e = clearPanes();
  pendingReading_.reset();
  const CatalogDocument::LoadResult result = document_->load(fileName, true);
  if (services_.locator) services_.locator->locateCancelled = false;
  if (result != CatalogDocument::LoadResult::Loaded) {
    console_.clear();
    findGenre();
    return e;
  }
  if (hooks_.catalogShown) hooks_.catalogShown(document_->currentFileName());
  // With the saved view kept, the marks saved with the list decide what is
  // open; otherwise the list is shown afresh to the chosen level.
  // A list stored without file marks (by an older reader, or elsewhere)
  // gets its tree flags and marks as a fresh reading has them.
  if (!catalog::hasFileMarks(document_->list())) {
    document_->list().deriveIndexAndTreeFlags();
    tree_.prepareMarks();
  } else if (!options_.useSameView) {
    tree_.prepareMarks();
  }
  return e.merge(showCatalog(options_.useSameView));
}

MainWindowEffects MainWindowLogic::showCatalog(bool keepState) {
  MainWindowEffects e;
  tree_.setDisplayMode(tree_.displayMode());
  tree_.catalogReplaced();
  listSearch_.reset();
  active_ = Pane::Folder;
  applyCursorColours();
  e.grids = tree_.BuildFolderView(keepState ? 0 : chosenLevel_, keepState, false);
  e.grids.folder.full = e.grids.folder.layout = true;
  e.grids.focus = TreeFocus::FolderGrid;
  e.layout = e.settings = e.labels = true;
  console_ = consoleOfList();
  findGenre();
  return e;
}

Text MainWindowLogic::consoleOfList() const {
  const RowStore& list = document_->list();
  if (list.rowCount() == 0) return {};
  return CatalogDocument::rowCountText(list.rowCount()) + freeSpaceText(document_->freeSpace());
}

MainWindowEffects MainWindowLogic::newReading() {
  if (!hooks_.readMedium) return {};
  active_ = Pane::Folder;
  if (!askToKeep()) return {};
  if (hooks_.dataWindow) {
    if (DataWindow* window = hooks_.dataWindow(); window && window->loaded()) window->DispNull();
  }
  document_->setModified(false);
  // Shown again when the reading stores nothing; it is on disk as it was.
  const Text shownBefore = document_->currentFileName();
  busy_ = true;
  document_->setCurrentFile({});
  MainWindowEffects e = clearPanes();
  pendingReading_.reset();
  chosenLevel_ = 0;
  RowStore& list = document_->list();
  const std::optional<MediaReading::Result> reading = hooks_.readMedium(list);
  busy_ = false;
  const Text report = reading ? MediaReading::reportOf(*reading) : Text();
  if (!reading || !reading->ok()) {
    // What a stopped or failed reading left is dropped.
    e.merge(clearPanes());
    document_->setCurrentFile({});
    console_.clear();
    if (!report.empty()) services_.platform.ui.showMessage(report, mb::Ok | mb::IconExclamation, u"");
    if (!shownBefore.empty()) return e.merge(loadCatalog(shownBefore));
    findGenre();
    e.layout = e.settings = true;
    return e;
  }
  if (!reading->parts.empty()) {
    // Too large for one list file: stored at once as all its catalogs (or
    // none), then the medium's own catalog is shown.
    const IconTable noIcons;
    const SavedReading saved =
        readingStore_.store(*reading, *document_, services_.icons ? *services_.icons : noIcons);
    e.merge(clearPanes());
    document_->setCurrentFile({});
    document_->setModified(false);
    if (!saved.taken.empty())
      services_.platform.ui.showMessage(Text(CatalogDocument::WriteFailedMessage) + u"||" + saved.taken,
                                        mb::Ok | mb::IconExclamation, u"");
    if (saved.tooLargeForAnother)
      services_.platform.ui.showMessage(MediaReading::TooLargeForAnotherMessage, mb::Ok | mb::IconExclamation, u"");
    if (saved.saved) {
      if (hooks_.refreshSelection) hooks_.refreshSelection(saved.fileName);
      services_.platform.ui.showMessage(MediaReading::splitReport(saved.fileNames), mb::Ok | mb::IconInformation, u"");
    }
    if (!report.empty()) services_.platform.ui.showMessage(report, mb::Ok | mb::IconExclamation, u"");
    const Text shown = saved.saved ? saved.fileName : shownBefore;
    if (!shown.empty()) return e.merge(loadCatalog(shown));
    findGenre();
    e.layout = e.settings = true;
    return e;
  }
  document_->setCurrentFile(reading->catalogPath);
  document_->setFreeSpace(reading->freeSpace);
  e.merge(showCatalog(false));
  // Nothing is written yet: the new list is stored by a save or by the save
  // question, and counts as modified until then.
  if (list.rowCount() > 0) document_->setModified(true);
  document_->setIconStamp(services_.icons && services_.icons->stamp() != IconTable::NoStamp ? services_.icons->stamp()
                                                                                            : Text());
  pendingReading_ = reading;
  // The list stays shown, so what could be read can still be saved.
  if (!report.empty()) services_.platform.ui.showMessage(report, mb::Ok | mb::IconExclamation, u"");
  return e;
}

bool MainWindowLogic::storeList() { return document_->save(); }

MainWindowEffects MainWindowLogic::save() {
  MainWindowEffects e;
  if (storeList() && hooks_.refreshSelection) hooks_.refreshSelection(document_->currentFileName());
  e.grids.folder.full = true;
  e.labels = true;
  findGenre();
  return e;
}

MainWindowEffects MainWindowLogic::changeTitle() {
  MainWindowEffects e;
  if (document_->changeTitle() && hooks_.refreshSelection) hooks_.refreshSelection(document_->currentFileName());
  e.grids.folder.full = true;
  e.labels = true;
  return e;
}

SearchIndexes MainWindowLogic::searchIndexes() const {
  return SearchIndexes(services_.platform.files, services_.programFolder, services_.catalogFolder);
}

MainWindowEffects MainWindowLogic::deleteCatalog() {
  const DeleteOutcome outcome =
      zevro::deleteCatalog(services_.platform, services_.index, document_->currentFile(), titleText());
  if (outcome != DeleteOutcome::Deleted) return {};
  searchIndexes().forget(document_->currentFile().filename().native());
  if (hooks_.catalogDeleted) hooks_.catalogDeleted(document_->currentFileName());
  MainWindowEffects e = clearPanes();
  document_->setCurrentFile({});
  document_->setModified(false);
  pendingReading_.reset();
  console_.clear();
  findGenre();
  e.layout = e.settings = true;
  return e;
}

MainWindowEffects MainWindowLogic::changeGenre() {
  MainWindowEffects e;
  if (!hooks_.moveToGenre || !hasList()) return e;
  const std::optional<Text> moved = hooks_.moveToGenre(document_->currentFileName());
  if (!moved) return e;
  searchIndexes().renamed(document_->currentFile().filename().native(), cp932::toNativeName(*moved));
  // The list is kept under its new name, so that the next save writes it
  // there and not under the old one beside it.
  document_->setCurrentFile(services_.catalogFolder / cp932::toNativeName(*moved));
  findGenre();
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::openHelp() {
  const std::optional<std::string> name =
      services_.platform.files.resolveName(services_.programFolder, std::string(HelpFileName));
  if (!name || !services_.platform.ui.openWithDefault((services_.programFolder / *name).native())) {
    services_.platform.ui.beep();
  }
  return {};
}

MainWindowEffects MainWindowLogic::chooseMode(Command command) {
  MainWindowEffects e;
  if (command == C::ボタン_縦2列) {
    e.grids = tree_.pressPaneButton(DisplayMode::RightPane);
  } else if (command == C::ボタン_横2列) {
    e.grids = tree_.pressPaneButton(DisplayMode::BottomPane);
  } else {
    e.grids = tree_.chooseDisplayMenuItem(mainmenu::indexOf(command));
  }
  options_.displayMode = tree_.displayMode();
  setWidthCase(rightPane(), widthMaximised_);
  if (!paneOpen() && active_ == Pane::File) e.merge(activate(Pane::Folder));
  e.layout = e.labels = true;
  if (paneOpen()) {
    console_ = tree_.consoleText(active_ == Pane::Folder);
  } else {
    rowConsole(Pane::Folder);  // the pane's file count has gone with it
  }
  return e;
}

MainWindowEffects MainWindowLogic::chooseLevel(int level) {
  MainWindowEffects e;
  chosenLevel_ = level;
  e.grids = tree_.chooseLevel(level);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::toggleSwitch(Command command) {
  MainWindowEffects e;
  options_.toggle(command, services_.options);
  applyOptionsToGrids();
  e.settings = e.labels = true;
  e.grids.folder.full = e.grids.files.full = true;
  return e;
}

MainWindowEffects MainWindowLogic::setInterleave(int value) {
  MainWindowEffects e;
  options_.setInterleave(value, services_.options);
  applyOptionsToGrids();
  e.settings = e.labels = true;
  e.grids.folder.full = e.grids.files.full = true;
  return e;
}

void MainWindowLogic::rememberFirstColumns() {
  const auto which = static_cast<std::size_t>(MainWindowOptions::widthCase(widthRight_, widthMaximised_));
  options_.listWidths[which] = folderGrid_.columns().column(0).width;
  options_.fileWidths[which] = fileGrid_.columns().column(0).width;
}

MainWindowEffects MainWindowLogic::changeColours() {
  if (!hooks_.dispOption) return {};
  const std::optional<ColourOptions> chosen = hooks_.dispOption(ColourOptions::read(services_.options));
  if (!chosen) return {};  // Cancel stores nothing
  chosen->write(services_.options);
  return displayOptionsChanged();
}

MainWindowEffects MainWindowLogic::changeFont(Command command) {
  // The comment and data windows start from the list's designed face when
  // nothing is stored for them.
  const FontChoice designed{GridFontSetting{}.name, GridFontSetting{}.size, false};
  fontoptions::FontKeys keys = fontoptions::listKeys();
  FontChoice current{options_.font.name, options_.font.size, options_.font.bold};
  if (command != C::MO_フォント変更) {
    keys = command == C::MO_コメントフォント ? fontoptions::commentKeys() : fontoptions::previewKeys();
    current = fontoptions::read(services_.options, keys, designed);
  }
  const std::optional<FontChoice> chosen = fontoptions::SetFont(services_.platform.ui, current);
  if (!chosen) return {};
  fontoptions::write(services_.options, keys, *chosen);
  if (command == C::MO_フォント変更) return displayOptionsChanged();
  const std::function<void()>& apply = command == C::MO_コメントフォント ? hooks_.ChangeDocFont : hooks_.ChangePrevFont;
  if (apply) apply();
  return {};
}

MainWindowEffects MainWindowLogic::chooseCatalogFont(int choice) {
  if (!isVisible(mainmenu::indexed(C::MOF_カタログフォント0, choice))) {
    services_.platform.ui.beep();
    return {};
  }
  options_.catFontNo = choice;
  services_.options.writeNumber(opt::CatFontNo, choice);
  if (hooks_.ChangeListFont) hooks_.ChangeListFont(choice);
  MainWindowEffects e;
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::displayOptionsChanged() {
  options_.readDisplay(services_.options);
  applyOptionsToGrids();
  for (const std::function<void()>& refresh : hooks_.displayOptionsChanged) {
    if (refresh) refresh();
  }
  MainWindowEffects e;
  e.settings = e.labels = true;
  e.grids.folder.full = e.grids.files.full = true;
  return e;
}

void MainWindowLogic::applyOptionsToGrids() {
  rememberFirstColumns();
  maingrid::configure(folderGrid_, Pane::Folder, options_, widthRight_, widthMaximised_);
  maingrid::configure(fileGrid_, Pane::File, options_, widthRight_, widthMaximised_);
  applyCursorColours();
  applyMeasures(measures_, folderGrid_.surfaceHeight(), fileGrid_.surfaceHeight());
}

void MainWindowLogic::applyCursorColours() {
  folderGrid_.settings().cursorColour = maingrid::cursorColour(active_ == Pane::Folder, options_);
  fileGrid_.settings().cursorColour = maingrid::cursorColour(active_ == Pane::File, options_);
}

// ---------------------------------------------------------------- keys and clicks

bool MainWindowLogic::takesZoomKey(char16_t c, bool focusInTextInput, bool dataWindowShown) {
  if (c != u'+' && c != u'-' && c != u'=') return false;
  // A date is typed with "+" and "-", a comment may hold any of them: a box
  // the user types into keeps its characters.
  return dataWindowShown && !focusInTextInput;
}

MainWindowLogic::KeyAnswer MainWindowLogic::key(Pane pane, int keyCode, int shift) {
  KeyAnswer a;
  if (busy_) {
    a.used = true;
    return a;
  }
  if (keyCode == KeyTab) {
    if (!paneOpen()) return a;
    a.used = true;
    a.effects = activate(pane == Pane::Folder ? Pane::File : Pane::Folder);
    return a;
  }
  GridModel& g = grid(pane);
  const bool ctrl = (shift & gridkey::CtrlMask) != 0;
  const bool withShift = (shift & gridkey::ShiftMask) != 0;
  a.used = true;
  if (keyCode == gridkey::LetterA + ('G' - 'A') && ctrl) {
    // The search window, on the find box's word.
    a.effects = openSearch(findText_);
    return a;
  }
  const GridUpdate u = g.Grid_KeyDown(keyCode, shift);
  (pane == Pane::Folder ? a.effects.grids.folder : a.effects.grids.files).merge(u);
  if (u.cursorMoved) a.effects.merge(cursorMoved(pane));
  const bool moveKey = keyCode == gridkey::Up || keyCode == gridkey::Down || keyCode == gridkey::PageUp ||
                       keyCode == gridkey::PageDown || keyCode == gridkey::Home || keyCode == gridkey::End;
  if (moveKey && u.cursorMoved && options_.prevUpDown) a.effects.merge(showRowData(true));
  if (keyCode == gridkey::Space && !paneOpen() && options_.prevSingle) a.effects.merge(showRowData(true));

  if (keyCode == gridkey::LetterA + ('C' - 'A') && ctrl && !withShift) {
    a.effects.merge(copyColumn(g.cursorColumn()));
    console_.clear();
    a.effects.labels = true;
    return a;
  }
  if ((keyCode == gridkey::LetterA + ('V' - 'A') && ctrl && !withShift) || (keyCode == KeyInsert && withShift && !ctrl)) {
    a.effects.merge(pasteColumn());
    return a;
  }
  if (keyCode == gridkey::LetterA + ('X' - 'A') && ctrl) {
    // Cutting takes whole rows of names only with the cursor in another column.
    if (g.store().selectedCount() > 0 && g.cursorColumn() != 0)
      a.effects.merge(cutColumn());
    else
      services_.platform.ui.beep();
    return a;
  }
  if (keyCode == KeyDelete && withShift) {
    if (g.store().selectedCount() <= 1 && g.cursorColumn() == maingrid::CommentColumn)
      a.effects.merge(cutColumn());
    else
      services_.platform.ui.beep();
    return a;
  }
  if (keyCode == gridkey::Enter && !paneOpen() && g.rowCount() > 0) {
    rowConsole(pane);
    a.effects.labels = true;
  }
  if (keyCode == gridkey::Enter && shift == 0 && !paneOpen() && !options_.prevSingle && options_.prevUpDown) {
    // Enter shows the row in the data window rather than opening it.
    a.effects.merge(showRowData(true));
    return a;
  }
  if (keyCode == gridkey::Enter && shift == 0 && mediumReady()) a.effects.merge(openRow(pane, true));
  return a;
}

MainWindowLogic::KeyAnswer MainWindowLogic::folderPress(int x, int y, int shift) {
  KeyAnswer a;
  if (busy_) {
    a.used = true;
    return a;
  }
  a.effects.grids = tree_.folderGridPress(x, y, shift);
  a.used = a.effects.grids.toggled;
  if (a.used) {
    // A collapse may take the cursor row out of sight: the console line
    // follows the cursor.
    rowConsole(Pane::Folder);
    a.effects.labels = true;
  }
  return a;
}

MainWindowEffects MainWindowLogic::cursorMoved(Pane pane) {
  MainWindowEffects e;
  if (pane == Pane::Folder) e.grids = tree_.folderCursorMoved();
  rowConsole(pane);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::activate(Pane pane) {
  MainWindowEffects e;
  e.grids.focus = focusOf(pane);
  if (pane == Pane::File && !paneOpen()) return e;
  if (active_ == pane) return e;
  active_ = pane;
  applyCursorColours();
  e.grids.folder.merge(folderGrid_.Grid_RedrawCursor());
  e.grids.files.merge(fileGrid_.Grid_RedrawCursor());
  return e;
}

MainWindowEffects MainWindowLogic::fileTitlePicked() {
  MainWindowEffects e;
  if (busy_) return e;
  e.grids = tree_.fileTitleClicked();
  return e;
}

int MainWindowLogic::currentCatalogRow(Pane pane) const {
  const GridModel& g = pane == Pane::Folder ? folderGrid_ : fileGrid_;
  const int stored = g.store().storedRowAt(g.cursorRow());
  if (pane == Pane::Folder) return stored;
  return stored < 0 ? -1 : tree_.paneSourceRow(stored);
}

void MainWindowLogic::rowConsole(Pane pane) {
  console_ = rowPathText(document_->list(), currentCatalogRow(pane));
  commentToWindow(pane);
}

void MainWindowLogic::commentToWindow(Pane pane) {
  if (!options_.useCommentFrame || !hooks_.DispCommentText || !hasList()) return;
  const int row = currentCatalogRow(pane);
  const RowStore& list = document_->list();
  if (row < 0 || row >= list.rowCount()) return;
  hooks_.DispCommentText(document_->currentFileName(), row, list.field(catalog::FieldName, row),
                         list.field(catalog::FieldComment, row));
}

MainWindowEffects MainWindowLogic::takeBackComment() {
  if (!options_.useCommentFrame || !hooks_.isCommentTextEdited || !hasList()) return {};
  const Pane pane = active_ == Pane::File && paneOpen() ? Pane::File : Pane::Folder;
  const int row = currentCatalogRow(pane);
  const RowStore& list = document_->list();
  if (row < 1 || row >= list.rowCount()) return {};
  Text comment;
  if (!hooks_.isCommentTextEdited(document_->currentFileName(), row, list.field(catalog::FieldName, row), &comment))
    return {};
  return storeComment(row, comment);
}

MainWindowEffects MainWindowLogic::storeComment(int row, TextView comment) {
  // The same rules as any other comment edit: the text normalised, the
  // user-comment flag added to a valid flag character, the pane row too.
  return EditComment(row, comment);
}

MainWindowEffects MainWindowLogic::cursorClicked(Pane pane) {
  MainWindowEffects e = cursorMoved(pane);
  if (options_.prevSingle) e.merge(showRowData(true));
  return e;
}

Command MainWindowLogic::contextMenuFor(int column, Pane pane, int kind, int selectedCount, bool clickedSelected) {
  if (clickedSelected && selectedCount > 1) return C::POP_選択有;
  switch (column) {
    case 0: return pane == Pane::Folder && kind < catalog::KindFile ? C::POP_DIR欄 : C::POP_名称欄;
    case maingrid::CommentColumn: return C::POP_注釈欄;
    case maingrid::DateColumn: return C::POP_日付欄;
    default: return C::POP_容量欄;
  }
}

MainWindowLogic::ContextMenu MainWindowLogic::contextMenu(Pane pane) const {
  ContextMenu m;
  const GridModel& g = pane == Pane::Folder ? folderGrid_ : fileGrid_;
  const RowStore& store = g.store();
  const int row = g.cursorRow();
  const int stored = store.storedRowAt(row);
  if (stored < 0) return m;
  const int column = g.cursorColumn();
  m.menu = contextMenuFor(column, pane, store.kind(stored), store.selectedCount(), store.selected(row));
  const TextView name = store.fieldView(catalog::FieldName, stored);
  m.openCaption = mainmenu::openCaptionFor(name);
  m.showData = mainmenu::canShowData(name);
  m.eraseShown = column == maingrid::CommentColumn;
  m.commentEditable = !store.fieldView(catalog::FieldComment, stored).empty();
  return m;
}

// ---------------------------------------------------------------- public operations

MainWindowEffects MainWindowLogic::指定カタログをロード(TextView fileName) {
  MainWindowEffects e;
  if (busy_) {
    services_.platform.ui.beep();
    return e;
  }
  e.grids.folder.merge(folderGrid_.Grid_ClearSelection());
  if (asciiLower(fileName) == asciiLower(document_->currentFileName())) return e;
  if (!askToKeep()) return e;
  document_->setModified(false);
  e.merge(loadCatalog(fileName));
  // Another window asked for it: a list in name order opens at its first
  // folder, with that folder's files in the pane.
  const RowStore& list = document_->list();
  if (list.rowCount() > 1 && list.sortOrder() == ListSort::Name && catalog::isFolderLike(list.kind(1))) {
    e.grids.merge(tree_.RevealRow(list.rowPath(1, 1), -1, false, false));
    rowConsole(Pane::Folder);
  }
  return e;
}

MainWindowEffects MainWindowLogic::指定カタログの特定ページを表示(TextView fileName, TextView rowPath, bool show) {
  MainWindowEffects e = 指定カタログをロード(fileName);
  if (busy_ || asciiLower(fileName) != asciiLower(document_->currentFileName())) return e;
  if (show) e.showWindow = true;
  return e.merge(特定ページを表示(rowPath, show));
}

MainWindowEffects MainWindowLogic::特定ページを表示(TextView rowPath, bool show) {
  MainWindowEffects e;
  if (busy_) return e;
  e.merge(activate(Pane::Folder));
  e.grids.merge(tree_.RevealRow(rowPath, -1, show, false));
  rowConsole(e.grids.focus == TreeFocus::FileGrid ? Pane::File : Pane::Folder);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::指定行を着色(TextView rowPath, int, bool current) {
  MainWindowEffects e;
  RowStore& list = document_->list();
  const int row = list.findRowByPath(rowPath, 1);
  if (row < 0) return e;
  const int mark = current ? catalog::HighlightCurrentHit : catalog::HighlightHit;
  list.setHighlight(row, mark);
  if (current) lastJump_ = row;
  if (const int shown = list.displayRowOf(row); shown >= 0) e.grids.folder.rows.push_back(shown);
  if (!paneOpen()) return e;
  const int paneRow = tree_.filePane().paneRowOf(row);
  if (paneRow < 0) return e;
  files_.setHighlight(paneRow, mark);
  if (const int shown = files_.displayRowOf(paneRow); shown >= 0) e.grids.files.rows.push_back(shown);
  return e;
}

MainWindowEffects MainWindowLogic::RefreshGrid(int flags) {
  MainWindowEffects e;
  e.grids.folder.full = (flags & RefreshFolderGrid) != 0;
  e.grids.files.full = (flags & RefreshFileGrid) != 0;
  return e;
}

MainWindowEffects MainWindowLogic::AddToHistory(TextView text) {
  MainWindowEffects e;
  if (text.empty()) return e;
  search_.commitWord(text);
  e.findList = true;
  return e;
}

MainWindowEffects MainWindowLogic::PrepareSearch() {
  MainWindowEffects e;
  if (busy_) return e;
  const Text text = findText_;
  if (!listSearch_.prepare(text, search_.switches(), options_.findMode, e.grids)) return e;
  return e.merge(AddToHistory(text));
}

MainWindowEffects MainWindowLogic::FindNext(bool backwards, bool* found) {
  MainWindowEffects e;
  if (found) *found = false;
  if (busy_) return e;
  const Text text = findText_;
  ListSearch::Step step = listSearch_.findNext(text, search_.switches(), options_.findMode, backwards, active_);
  e.grids = step.update;
  if (text.empty() || !step.found) {
    services_.platform.ui.beep();
    if (!text.empty()) e.merge(AddToHistory(text));
    return e;
  }
  if (found) *found = true;
  e.merge(AddToHistory(text));
  rowConsole(e.grids.focus == TreeFocus::FileGrid ? Pane::File : Pane::Folder);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::ClearCurrentHit() {
  MainWindowEffects e;
  listSearch_.clearCurrentHit(e.grids);
  return e;
}

MainWindowEffects MainWindowLogic::NextFolder() { return stepFolder(false); }
MainWindowEffects MainWindowLogic::PrevFolder() { return stepFolder(true); }

MainWindowEffects MainWindowLogic::stepFolder(bool backwards) {
  MainWindowEffects e;
  if (busy_) return e;
  const RowStore& list = folderGrid_.store();
  const int rows = list.shownCount();
  int d = folderGrid_.cursorRow() + (backwards ? -1 : 1);
  for (; d >= 0 && d < rows; d += backwards ? -1 : 1)
    if (list.kind(list.storedRowAt(d)) <= 5) break;
  if (d < 0 || d >= rows) {
    services_.platform.ui.beep();
    return e;
  }
  e.grids.folder.merge(folderGrid_.Grid_ShowRow(d, true));
  e.grids.merge(tree_.folderCursorMoved());
  rowConsole(Pane::Folder);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::openSearch(TextView text) {
  if (hooks_.openSearch) hooks_.openSearch(text);
  return {};
}

MainWindowEffects MainWindowLogic::SelFNDLST(int index) {
  MainWindowEffects e;
  if (index < 0 || index >= static_cast<int>(search_.words().size())) return e;
  search_.selectWord(index);
  e.findList = true;
  return e;
}

Text MainWindowLogic::printTitle() const {
  const Text name = document_->currentFileName();
  const Text letters = name.size() >= 5 ? asciiUpper(TextView(name).substr(3, 2)) : Text();
  return letters + u": " + document_->list().field(catalog::FieldComment, 0);
}

Text MainWindowLogic::cursorFolderPath() const {
  const RowStore& list = document_->list();
  const int row = list.storedRowAt(folderGrid_.cursorRow());
  return row > 0 ? list.rowPath(row, 1) : Text();
}

Text MainWindowLogic::ListCell(int column, int displayRow) const {
  return document_->list().shownField(column, displayRow);
}

// ---------------------------------------------------------------- layout

maingrid::LongestTexts MainWindowLogic::longestFolderTexts() const { return maingrid::longestTexts(document_->list()); }

maingrid::LongestTexts MainWindowLogic::longestFileTexts() const { return maingrid::longestTexts(files_); }

void MainWindowLogic::applyMeasures(const Measures& m, int folderSurfaceHeight, int fileSurfaceHeight) {
  measures_ = m;
  const auto set = [&](GridModel& g, int surfaceHeight, int dateWidth, int sizeWidth) {
    g.settings().lineSpacing = maingrid::lineSpacing(options_.listInterleave, m.textHeight, surfaceHeight);
    g.columns().column(maingrid::DateColumn).width = dateWidth;
    g.columns().column(maingrid::SizeColumn).width = sizeWidth;
    g.columns().column(maingrid::CommentColumn).wordWrap = maingrid::wrapsComments(options_);
  };
  set(folderGrid_, folderSurfaceHeight, m.dateWidth, m.sizeWidth);
  set(fileGrid_, fileSurfaceHeight, m.fileDateWidth, m.fileSizeWidth);
}

void MainWindowLogic::setWidthCase(bool right, bool maximised) {
  if (right == widthRight_ && maximised == widthMaximised_) return;
  rememberFirstColumns();
  widthRight_ = right;
  widthMaximised_ = maximised;
  const auto which = static_cast<std::size_t>(MainWindowOptions::widthCase(right, maximised));
  folderGrid_.columns().column(0).width = options_.listWidths[which];
  fileGrid_.columns().column(0).width = options_.fileWidths[which];
}

int MainWindowLogic::splitMoved(int wanted, int total, int dpi) {
  const bool right = rightPane();
  const int kept = mainlayout::clampSplit(wanted, total, mainlayout::splitMinimums(right, dpi));
  const int percent = mainlayout::percentOf(kept, total);
  (right ? options_.folderPercentV : options_.folderPercentH) = percent;
  return kept;
}

// ---------------------------------------------------------------- closing

bool MainWindowLogic::canClose() {
  if (busy_) return false;
  takeBackComment();  // an edit waiting in the comment window counts as a change
  return askToKeep();
}

void MainWindowLogic::shutDown(const Placement& placement) {
  Platform& platform = services_.platform;
  if (hooks_.unloadWindows) hooks_.unloadWindows();
  rememberFirstColumns();
  if (placement.normalState) {
    options_.windowX = placement.x;
    options_.windowY = placement.y;
    options_.width = placement.width;
    options_.height = placement.height;
  }
  options_.displayMode = tree_.displayMode();
  const MatchSwitches& switches = search_.switches();
  options_.alphaSame = switches.caseFold;
  options_.hanZenSame = switches.widthFold;
  options_.useWildCard = switches.pattern;
  options_.findTerm = switches.wholeWord;
  options_.write(services_.options, placement.normalState);
  saveSearchWords(platform, services_.programFolder / SearchWordFileName, search_.words());
  if (services_.titleCache.write(platform.files, services_.programFolder)) {
    platform.ui.showMessage(fileWriteErrorText(services_.programFolder / TitleCache::FileName), mb::IconExclamation,
                            u"");
  }
  emptyWorkFolders(platform, services_.programFolder);
  saveOptions(platform, services_.options);
}

// ---------------------------------------------------------------- the files of the rows

ShownCatalog MainWindowLogic::shownCatalog() const { return {document_->currentFile(), &document_->list()}; }

std::pair<int, int> MainWindowLogic::cursorRows() const {
  const GridModel& g = active_ == Pane::File && paneOpen() ? fileGrid_ : folderGrid_;
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) return {-1, -1};
  if (&g == &folderGrid_) return {currentCatalogRow(Pane::Folder), -1};
  const int stored = g.store().storedRowAt(g.cursorRow());
  return {stored < 0 ? -1 : tree_.paneSourceRow(stored), stored};
}

MainWindowEffects MainWindowLogic::openRow(Pane pane, bool userAction) {
  if (!mediumReady() || !hasList()) return {};
  if (pane == Pane::File && !paneOpen()) pane = Pane::Folder;
  const GridModel& g = grid(pane);
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) {
    services_.platform.ui.beep();
    return {};
  }
  const int row = currentCatalogRow(pane);
  const int track = paneOpen() ? fileGrid_.cursorRow() + 1 : folderGrid_.cursorRow();
  services_.locator->setZipUsable(options_.useExtactZip);
  RowOpener::Settings& settings = services_.opener->settings;
  settings.useExternal = options_.useExternal;
  settings.useOldPlayer = options_.useOldPlayer;
  settings.zipUsable = options_.useExtactZip;
  settings.audioCdCommand = opt::readText(services_.options, opt::AudioCdCommand);
  services_.locator->userAction = userAction;
  services_.opener->OpenRowFile(shownCatalog(), row, track);
  services_.locator->userAction = false;
  return {};
}

MainWindowEffects MainWindowLogic::showRowData(bool userAction) {
  if (!mediumReady() || !hasList() || !hooks_.dataWindow) return {};
  DataWindow* window = hooks_.dataWindow();
  if (window == nullptr) return {};
  MainWindowEffects e;
  const Pane pane = paneOpen() ? Pane::File : Pane::Folder;
  const GridModel& g = grid(pane);
  int row = -1;
  if (g.cursorRow() >= 0 && g.cursorRow() < g.rowCount()) row = currentCatalogRow(pane);
  services_.locator->setZipUsable(options_.useExtactZip);
  RowDataShow show({*services_.locator, *services_.pictures, services_.platform.files, services_.platform.ui, *window,
                    hooks_.pictureSize, services_.programFolder / std::string(ExtractionFolderName),
                    [this, &e](TextView text) {
                      console_ = Text(text);
                      e.labels = true;
                    }});
  services_.locator->userAction = userAction;
  show.ShowRowData(shownCatalog(), row);
  services_.locator->userAction = false;
  return e;
}

bool MainWindowLogic::offersOldPlayer() { return services_.opener && services_.opener->oldPlayerInstalled(); }

MainWindowEffects MainWindowLogic::attachPictures() {
  if (!mediumReady() || !hasList()) return {};
  const bool filePane = active_ == Pane::File && paneOpen();
  GridModel& g = filePane ? fileGrid_ : folderGrid_;
  const RowStore& shownRows = g.store();
  if (shownRows.selectedCount() == 0) {
    services_.platform.ui.beep();
    return {};
  }
  const Text listName = document_->currentFileName();
  bool added = false;
  for (int displayRow = 0; displayRow < shownRows.shownCount(); ++displayRow) {
    if (!shownRows.selected(displayRow)) continue;
    const int stored = shownRows.storedRowAt(displayRow);
    const int catalogRow = filePane ? tree_.paneSourceRow(stored) : stored;
    if (catalogRow <= 0) continue;
    const NativePath recent = cp932::toNativeName(opt::readText(services_.options, opt::RecentJpegName));
    FileOpenRequest request;
    request.title = Text(PictureDialogTitle);
    request.filter = Text(PictureDialogFilter);
    request.defaultExtension = u"JPG";
    request.initialName = cp932::fromNativeName(recent.stem().native());
    request.initialFolder = cp932::fromNativeName(recent.parent_path().native());
    const Text chosen = services_.platform.ui.chooseFileToOpen(request);
    if (chosen.empty()) break;
    services_.options.writeText(opt::RecentJpegName, chosen);
    added = services_.pictures->AddPicture(document_->list(), catalogRow, filePane ? &files_ : nullptr,
                                           filePane ? stored : -1, listName, cp932::toNativeName(chosen)) ||
            added;
  }
  MainWindowEffects e = RefreshGrid(RefreshFolderGrid | RefreshFileGrid);
  e.labels = true;
  if (added) e.merge(showRowData(false));
  return e;
}

MainWindowEffects MainWindowLogic::removePicture() {
  if (!mediumReady() || !hasList()) return {};
  const auto [row, paneRow] = cursorRows();
  if (row <= 0) {
    services_.platform.ui.beep();
    return {};
  }
  services_.pictures->RemovePicture(document_->list(), row, paneRow >= 0 ? &files_ : nullptr, paneRow,
                                    document_->currentFileName());
  MainWindowEffects e = RefreshGrid(RefreshFolderGrid | RefreshFileGrid);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::chooseDiskImage() {
  if (!hasList()) return {};
  const auto [row, paneRow] = cursorRows();
  const Text name = row > 0 ? document_->list().field(catalog::FieldName, row) : Text();
  (void)paneRow;
  diskimage::ChooseDiskImage(*document_, services_.platform.ui, services_.options, name);
  MainWindowEffects e;
  e.labels = true;
  return e;
}

}  // namespace zevro
