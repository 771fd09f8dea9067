#pragma once
// Everything the main window decides, without a window: which command is
// enabled and checked, what a command, a key or a click does, the question
// before a shown list is replaced, the texts of the labels and the console
// line, the options it reads and writes, and the public operations other
// windows call. The Qt window (listview/qt/MainWindow) builds its menus from
// MainMenu.h, forwards every event here and draws what the answer says.
//
//   MainWindowLogic logic({platform, options, index, titles, programFolder, catalogFolder});
//   logic.hooks().chooseListFile = …;         // the window's file chooser
//   MainWindowEffects e = logic.run(Command::MF_リスト開く);
//   logic.consoleText()   u" 記録行数: 1,234行 空き容量： 1,500,000 (1M) bytes"
//   logic.titleText()     u"ゲーム集"
//
// The logic owns the shown catalog (a CatalogDocument), the file pane's
// rows, both grid models and the tree display over them; the window makes
// its two grid widgets over folderGrid() and fileGrid().
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/OldDataConversion.h"
#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "core/TitleCache.h"
#include "dialogs/ColourOptions.h"
#include "grid/GridModel.h"
#include "listview/ListEdit.h"
#include "listview/MainGridSetup.h"
#include "listview/MainMenu.h"
#include "listview/ListSearch.h"
#include "listview/MainWindowOptions.h"
#include "listview/TreeDisplay.h"
#include "media/DataWindow.h"
#include "media/MediaReading.h"
#include "media/MediumLocator.h"
#include "media/PictureCompanion.h"
#include "media/RowDataShow.h"
#include "media/RowOpener.h"
#include "media/ReadingStore.h"
#include "platform/Platform.h"
#include "search/SharedSearch.h"
#include "text/Text.h"

namespace zevro {

class SearchIndexes;

using maingrid::Pane;

// What the window must do after a call into the logic.
struct MainWindowEffects {
  TreeUpdate grids;         // rows and cells of both grids to draw; the focus
  bool layout = false;      // a pane opened, closed or moved: lay the window out
  bool settings = false;    // grid settings changed: apply them to both grids
  bool labels = false;      // title, genre, console line, check marks and buttons
  bool findList = false;    // the search-word list changed (its entries or selection)
  bool close = false;       // the window closes (after canClose())
  bool showWindow = false;  // bring the main window up
  bool editLine = false;    // show the edit line over the cursor cell of the edit pane

  MainWindowEffects& merge(const MainWindowEffects& later);
};

class MainWindowLogic {
public:
  // ---- Texts of the window ----
  static constexpr TextView Caption = u"ＺＥＶＲＯ";
  static constexpr TextView TitleCaption = u"カタログ・タイトル";
  static constexpr TextView GenreCaption = u"ジャンル";
  static constexpr TextView FreeSpaceHead = u" 空き容量： ";
  static constexpr TextView MegaTail = u"M) bytes";
  static constexpr TextView KiloTail = u"K) bytes";
  static constexpr TextView BytesTail = u" bytes";
  // The file chooser of "open a list" and the pattern of list files.
  static constexpr TextView OpenListTitle = u"リストを開く";
  static constexpr TextView ListFilePattern = u"_????_*.CCT";
  // The version window.
  static constexpr TextView VersionCaption = u"バージョン情報";
  static constexpr TextView VersionTitle = u"ZEVRO";
  static constexpr TextView VersionPrefix = u"Ver.";
  static constexpr TextView SystemInfoUnavailable = u"現時点ではｼｽﾃﾑ情報を使用できません";

  // The picture file question of ME_イメージ記録.
  static constexpr TextView PictureDialogTitle = u"オフライン画像ファイルを開く";
  static constexpr TextView PictureDialogFilter = u"画像ﾌｧｲﾙ|*.JPG;*.JPEG";

  // Key codes the grid logic does not name.
  static constexpr int KeyTab = 9;
  static constexpr int KeyDelete = 46;
  static constexpr int KeyInsert = 45;

  struct Services {
    Platform& platform;
    OptionStore& options;  // loaded
    CatalogIndex& index;
    TitleCache& titleCache;
    NativePath programFolder;  // "/home/kaori/.local/share/zevro"
    NativePath catalogFolder;  // "/home/kaori/.local/share/zevro/Catalog"
    Text versionText;          // u"0.1", shown in the version window
    const IconTable* icons = nullptr;
    // The desktop has a font called "Meiryo UI": font choice 2 is offered.
    bool meiryoUi = false;
    bool fileDialogs = true;  // the platform's save dialog can be used (else the input box)
    // Getting back to the files of the shown catalog; without them the
    // commands that open, show and attach stay disabled.
    MediumLocator* locator = nullptr;
    AttachedPictures* pictures = nullptr;
    RowOpener* opener = nullptr;
  };

  // What the window lends the logic; every hook may stay empty (then the
  // command does nothing).
  struct Hooks {
    // The file chooser on the catalog folder; the chosen file, or nullopt.
    std::function<std::optional<NativePath>(const NativePath& folder, TextView title, TextView pattern)> chooseListFile;
    // The reading window reads a medium into the store (emptied first);
    // nullopt when the user closed it or stopped the reading.
    std::function<std::optional<MediaReading::Result>(RowStore& store)> readMedium;
    // The reading window reads the shown catalog's medium again (source
    // u"E:" or u"E:\\DOCS") into a store of its own, under the catalog's
    // name and medium title; nullopt when the user closed it or stopped.
    std::function<std::optional<MediaReading::Result>(RowStore& store, TextView source, TextView catalogFileName,
                                                      TextView mediumTitle)>
        refreshMedium;
    std::function<void()> showVersion;
    // Lets pending window events run (before a command acts).
    std::function<void()> pump;
    // The other windows of the program are dropped (before the options are
    // written when the program ends): they put their own settings there.
    std::function<void()> unloadWindows;
    // The icon dialog (MO_アイコン変更): true when it ended with OK after a
    // change and the new icons are in use.
    std::function<bool()> changeIcons;
    // Back to the standard icons (MO_アイコン戻す, after its question).
    std::function<void()> useStandardIcons;
    // The print window over the shown list (MF_印刷, only while it has rows).
    std::function<void()> printList;
    // The options window (DispOption) over the colours as stored: the
    // colours the user confirmed with OK, nullopt for Cancel.
    std::function<std::optional<ColourOptions>(const ColourOptions& current)> dispOption;
    // The colours or the list font changed (stored and applied to both
    // panes): the other lists (the catalog selection, the search results)
    // read the display options again and draw themselves anew. Each window
    // that shows a list adds its own.
    std::vector<std::function<void()>> displayOptionsChanged;
    // The catalog selection's font choice changed (0 Gothic, 1 Mincho, 2 Meiryo).
    std::function<void(int choice)> ChangeListFont;
    // The comment window's and the data window's fonts changed in the store.
    std::function<void()> ChangeDocFont;
    std::function<void()> ChangePrevFont;
    // The catalog selection window: shown on the catalog (its file name, may
    // be empty) for "open a list" (the file chooser when this is empty); told
    // of a catalog loaded (catalogShown), saved or retitled (refreshSelection),
    // and of one deleted.
    std::function<void(TextView fileName)> showSelection;
    std::function<void(TextView fileName)> catalogShown;
    std::function<void(TextView fileName)> refreshSelection;
    std::function<void(TextView fileName)> catalogDeleted;
    // Moves the shown catalog (its file name) to a genre the user picks; the
    // new file name, or nullopt when nothing moved (cancelled, the same genre,
    // refused).
    std::function<std::optional<Text>(TextView fileName)> moveToGenre;
    // The busy pointer on and off around a backup or a conversion.
    std::function<void(bool on)> busyPointer;
    // The progress window of a conversion: shown with the name of each file
    // as it is converted, hidden at the end.
    std::function<void(TextView fileName)> showConversion;
    std::function<void()> hideConversion;
    // MF_メディア名変更: asks for the medium of the shown catalog (its label
    // given) and gives it a new title; true when the medium was renamed.
    std::function<bool(TextView wantedTitle)> changeMediumTitle;
    // The open edit line's text (CR LF line breaks), and hiding it; the
    // window lends them while it shows an edit line.
    std::function<Text()> editLineText;
    std::function<void()> hideEditLine;
    // The data window, made at first use; and the size of a picture file.
    std::function<DataWindow*()> dataWindow;
    RowDataShow::PictureSize pictureSize;
    // The search window (MS_全検索, F6): opened on the find box's text.
    std::function<void(TextView text)> openSearch;
    // The comparison window: duplicates across media (MS_重複ファイル), the
    // files of the shown catalog kept on no other medium (MS_単独ファイル)
    // and what changed from another catalog to it (MF_比較); the shown
    // catalog by its list file name.
    std::function<void()> findDuplicates;
    std::function<void(TextView fileName)> filesOnlyHere;
    std::function<void(TextView fileName)> compareWith;
    // The comment window (with useCommentFrame on): shows the comment of a
    // catalog row, and answers with an edit made there for that row.
    std::function<void(TextView catalog, int row, TextView name, TextView comment)> DispCommentText;
    std::function<bool(TextView catalog, int row, TextView name, Text* comment)> isCommentTextEdited;
  };

  explicit MainWindowLogic(Services services);
  ~MainWindowLogic();
  MainWindowLogic(const MainWindowLogic&) = delete;
  MainWindowLogic& operator=(const MainWindowLogic&) = delete;

  Hooks& hooks() { return hooks_; }
  CatalogDocument& document() { return *document_; }
  const CatalogDocument& document() const { return *document_; }
  GridModel& folderGrid() { return folderGrid_; }
  GridModel& fileGrid() { return fileGrid_; }
  GridModel& grid(Pane pane) { return pane == Pane::Folder ? folderGrid_ : fileGrid_; }
  TreeDisplay& tree() { return tree_; }
  const MainWindowOptions& options() const { return options_; }
  const Text& versionText() const { return services_.versionText; }
  Ui& ui() { return services_.platform.ui; }
  MainWindowOptions& options() { return options_; }

  // ---- State ----
  bool busy() const { return busy_; }
  int displayMode() const { return tree_.displayMode(); }
  bool paneOpen() const { return tree_.paneOpen(); }
  bool rightPane() const { return tree_.shownMode() == DisplayMode::RightPane; }
  // The level last chosen with the buttons or the menu (0 all).
  int chosenLevel() const { return chosenLevel_; }
  Pane activePane() const { return active_; }
  // Field 1 of the title line, u"ゲーム集"; without one the label, u"無題(GAMES)".
  Text titleText() const;
  Text genreText() const;  // the genre of the shown catalog, u"ゲーム"; empty when none shown
  // The user chose another catalog folder (the index already serves it):
  // catalogs are opened from there.
  void setCatalogFolder(NativePath folder);
  // The genre names changed: the label reads them again.
  void genresChanged() { findGenre(); }
  const Text& consoleText() const { return console_; }
  // A list is shown (read or loaded).
  bool hasList() const;
  // Options changed since they were last saved (a switch, the reading
  // window's boxes): the window saves them a moment later, so that a crash
  // loses none; a failed save is shown.
  bool optionsPending() const { return services_.options.hasPending(); }
  void saveOptionsNow();
  // The search-word history (newest first) and the entry selected, -1 none.
  const std::vector<Text>& searchWords() const { return search_.words(); }
  int selectedSearchWord() const { return search_.selectedWord(); }
  // The history and the matching switches the search window shares.
  SharedSearch& sharedSearch() { return search_; }
  // MS_全検索 with the find box's text.
  MainWindowEffects openSearch(TextView text);

  // ---- Search within the list ----
  // The find box's text as it stands (the window tells every edit).
  void setFindText(TextView text) { findText_ = Text(text); }
  const Text& findText() const { return findText_; }
  // Commits text as the search word, at the top of the shared history.
  MainWindowEffects AddToHistory(TextView text);
  // Recomputes the hit marks when the find box's text changed.
  MainWindowEffects PrepareSearch();
  // F3 / Shift+F3 and FNDBTN: the next (previous) hit; a beep when there is
  // none. `found` tells whether there was one.
  MainWindowEffects FindNext(bool backwards, bool* found = nullptr);
  MainWindowEffects ClearCurrentHit();
  MainWindowEffects NextFolder();
  MainWindowEffects PrevFolder();
  const ListSearch& listSearch() const { return listSearch_; }
  int findMode() const { return options_.findMode; }

  // ---- Commands ----
  bool isEnabled(Command command) const;
  bool isChecked(Command command) const;
  // Whether the menu shows the item: the table's hidden items stay hidden,
  // except the Meiryo font choice where the desktop has that font.
  bool isVisible(Command command) const;
  // The window is disabled while the command runs (another window has the
  // user's attention): true for new reading.
  static bool disablesWindow(Command command);
  MainWindowEffects run(Command command);

  // The question before the shown list is replaced or the window closes:
  // "現在 表示中のリストを、カタログに保存しますか" when it is modified; Yes
  // saves, No discards, Cancel stops. True when the caller may go on.
  bool askToKeep();

  // ---- Icons ----
  static constexpr TextView StandardIconsQuestion = u"\x02アイコンを標準に戻します\x01";
  static constexpr int StandardIconsFlags = mb::YesNo | mb::DefaultSecond | mb::IconExclamation;
  // The icon table in use changed: the shown catalog's kinds follow it. A
  // list with changes not saved, or never saved, is re-derived where it is
  // (loading it again would lose them); a saved one is loaded again from
  // its file. Either way the cursor row of the file grid (when a file pane
  // is open, else of the folder grid) stays on its screen line.
  MainWindowEffects iconsChanged();
  // ---- The files of the rows ----
  // Opens the file of the current row of the pane (double click, Enter,
  // the context menu). userAction: the user is pressing a key on the grid,
  // so the medium may be asked for.
  MainWindowEffects openRow(Pane pane, bool userAction);
  // Shows the current row in the data window.
  MainWindowEffects showRowData(bool userAction);
  // Stores a comment edited in the comment window for catalog row `row`:
  // field 1, flag bit 2 (a user comment), the list modified.
  MainWindowEffects storeComment(int row, TextView comment);
  // The cursor was moved by a click on a grid: with PrevSingle on the row is
  // shown in the data window too.
  MainWindowEffects cursorClicked(Pane pane);
  // The older player exists: MO_旧プレイヤー is offered.
  bool offersOldPlayer();

  // ---- Keys and clicks on the grids ----
  // A key on a grid (the grid itself runs it first): Tab moves to the other
  // pane, Ctrl+X and Shift+Delete beep where nothing can be cut; a cursor
  // move refills the file pane and rewrites the console line. Ignored while
  // busy. Answers whether the key was used (else the widget may have it).
  struct KeyAnswer {
    bool used = false;
    MainWindowEffects effects;
  };
  KeyAnswer key(Pane pane, int keyCode, int shift);
  // "+", "-" and "=" go to the data window's zoom while it is shown, but
  // never from a box the user types into.
  static bool takesZoomKey(char16_t c, bool focusInTextInput, bool dataWindowShown);

  // A left press on the folder grid before the grid's own handling (expand
  // and collapse on the icon and the tree lines); answers whether it was used.
  KeyAnswer folderPress(int x, int y, int shift);
  // The cursor of a grid moved by a click, a key or a search.
  MainWindowEffects cursorMoved(Pane pane);
  // A grid got the focus or a click: it becomes the active grid.
  MainWindowEffects activate(Pane pane);
  // A column title of the file grid was picked.
  MainWindowEffects fileTitlePicked();

  // The context menu for a right click on a grid, after Grid_HitCell moved
  // the cursor cell there.
  struct ContextMenu {
    Command menu = Command::None;
    Text openCaption;              // POP名称_開く: u"このファイルを開く"
    bool showData = false;         // POP名称_表示 would be offered
    bool eraseShown = false;       // POP選択_消去 is shown (comment column)
    bool commentEditable = false;  // POP注釈_コメント修正 (the row has a comment)
  };
  ContextMenu contextMenu(Pane pane) const;
  static Command contextMenuFor(int column, Pane pane, int kind, int selectedCount, bool clickedSelected);

  // ---- Public operations for other windows ----
  MainWindowEffects 指定カタログをロード(TextView fileName);
  MainWindowEffects 指定カタログの特定ページを表示(TextView fileName, TextView rowPath, bool show);
  MainWindowEffects 特定ページを表示(TextView rowPath, bool show);
  MainWindowEffects 指定行を着色(TextView rowPath, int unused, bool current);
  // Converts the old list files of the catalog folder (each file at most
  // once a run) with the progress window; failures are shown. Called when a
  // load, a catalog-folder change or a search meets an old file. False
  // when nothing could run.
  bool convertOldFiles();
  // Flags of RefreshGrid: which grid is drawn again in full.
  static constexpr int RefreshFolderGrid = 1;
  static constexpr int RefreshFileGrid = 2;
  MainWindowEffects RefreshGrid(int flags);
  MainWindowEffects SelFNDLST(int index);
  // The title of a printed list: the medium letters of the list file's
  // name, ": " and the catalog title, u"CD: ゲーム集".
  Text printTitle() const;
  // The path of the folder grid's cursor row, u"DOCS\\OLD" (u"" the title line).
  Text cursorFolderPath() const;
  // The text of a field of a display row of the folder grid.
  Text ListCell(int column, int displayRow) const;
  // The row 指定行を着色 marked last as the current hit, -1 none.
  int lastJumpRow() const { return lastJump_; }

  // ---- Editing in place ----
  // Why an edit ends: a command or a click elsewhere, Enter and Ctrl+Up or
  // Ctrl+Down (the edit line moves on), Escape.
  enum class EditReason { Finish, Next, Cancel };
  // Opens the edit line on the cursor cell of a grid: true when the window
  // should show it (with editLineStartText()); a refusal has beeped.
  bool OpenEditLine(Pane pane);
  bool editLineOpen() const { return editPane_.has_value(); }
  Pane editLinePane() const { return editPane_.value_or(Pane::Folder); }
  listedit::RenameMode renameMode() const { return renameMode_; }
  void setRenameMode(listedit::RenameMode mode) { renameMode_ = mode; }
  // The cell's text as the edit line starts with it (runs of LF LF made one).
  Text editLineStartText() const;
  // Stores the edit line's text; false keeps it open (a message or a beep
  // said why). The window hides the line after Finish and Cancel.
  bool CommitEdit(TextView text, EditReason reason);
  // After a commit with Next: the cursor one row down or up and the edit
  // line open there again (true), or editing ends (false).
  bool moveEditLine(bool down, MainWindowEffects& effects);
  // A key pressed in the open edit line (key codes as the grids take them)
  // with the line's text as it stands, and what the window does with it.
  enum class EditLineKey {
    Type,           // the text box handles the key itself (a character, the caret keys)
    Break,          // a line break goes in at the caret
    Consumed,       // nothing more happens (refused, or the edit stays open after a message)
    Reopened,       // stored; the edit line is open on the next cell (show it there)
    Closed,         // the edit line is hidden; the grid takes the focus
    ClosedGridKey,  // hidden without storing; the key then goes to the grid
  };
  struct EditKeyAnswer {
    EditLineKey what = EditLineKey::Type;
    MainWindowEffects effects;
  };
  EditKeyAnswer editLineKey(int keyCode, int shift, TextView text);
  // The open edit line's background and whether it takes the input method.
  Colour editLineBackground() const;
  bool editLineTakesInputMethod() const;
  // Commits any open edit line and closes it.
  MainWindowEffects FinishEdit();
  // Stores a comment for a catalog row (the comment window calls it).
  MainWindowEffects EditComment(int catalogRow, TextView text);
  // The clipboard and row commands of the edit menu and context menus.
  MainWindowEffects copyColumn(int column);
  MainWindowEffects copyFullPath();
  MainWindowEffects pasteColumn();
  MainWindowEffects eraseColumn();
  MainWindowEffects eraseCursorComment();
  MainWindowEffects cutColumn();
  MainWindowEffects deleteSelectedRows();
  MainWindowEffects selectFolderFiles();

  // ---- Layout ----
  // The window measured its fonts: text height of "A" and the pixel widths
  // of the date and size samples (see maingrid::DateSample); sets spacing,
  // multi-line rows and the fixed columns of both grids.
  struct Measures {
    int textHeight = 13;
    int dateWidth = 100;  // width of sampleTail(DateSample, longest date) + 10
    int sizeWidth = 80;   // width of sampleTail(SizeSample, longest size) + 30
    int fileDateWidth = 100;
    int fileSizeWidth = 80;
  };
  // The longest date and size texts of the folder list and the file pane.
  maingrid::LongestTexts longestFolderTexts() const;
  maingrid::LongestTexts longestFileTexts() const;
  void applyMeasures(const Measures& m, int folderSurfaceHeight, int fileSurfaceHeight);
  // The window was laid out for a case of the first column's width: the
  // widths in use are kept for their case, those of the new case applied.
  void setWidthCase(bool rightPane, bool maximised);
  // The user dragged the split: `wanted` px of `total` for the folder pane;
  // answers the size kept (within the least sizes) and keeps the share.
  int splitMoved(int wanted, int total, int dpi);
  int folderPercent() const { return rightPane() ? options_.folderPercentV : options_.folderPercentH; }

  // ---- Closing ----
  // Where the window is, in twips, when it closes.
  struct Placement {
    bool normalState = true;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };
  // The save question; false keeps the window open.
  bool canClose();
  // Writes the window's options, the search-word history, empties the work
  // folders and saves the option store (every failure shown, the rest goes on).
  void shutDown(const Placement& placement);

private:
  MainWindowEffects openListFile();
  MainWindowEffects attachPictures();
  MainWindowEffects removePicture();
  MainWindowEffects chooseDiskImage();
  ShownCatalog shownCatalog() const;
  // The catalog row and the file-pane row (or -1) of the active grid's cursor.
  std::pair<int, int> cursorRows() const;
  bool mediumReady() const { return services_.locator && services_.opener && services_.pictures; }
  MainWindowEffects newReading();
  // MF_リスト更新: the medium read again and the user's edits carried over.
  MainWindowEffects refreshList();
  MainWindowEffects save();
  bool storeList();
  MainWindowEffects changeTitle();
  MainWindowEffects deleteCatalog();
  // The search indexes of the catalog folder, kept along with its list files.
  SearchIndexes searchIndexes() const;
  MainWindowEffects changeGenre();
  MainWindowEffects exportList();
  MainWindowEffects backUp();
  MainWindowEffects openHelp();
  MainWindowEffects chooseMode(Command command);
  MainWindowEffects chooseLevel(int level);
  MainWindowEffects toggleSwitch(Command command);
  MainWindowEffects setInterleave(int value);
  MainWindowEffects changeColours();
  MainWindowEffects changeFont(Command command);
  MainWindowEffects chooseCatalogFont(int choice);
  MainWindowEffects displayOptionsChanged();
  MainWindowEffects loadCatalog(TextView fileName);
  MainWindowEffects stepFolder(bool backwards);
  MainWindowEffects showCatalog(bool keepState);
  MainWindowEffects clearPanes();
  void applyOptionsToGrids();
  void applyCursorColours();
  void rememberFirstColumns();
  void findGenre();
  void rowConsole(Pane pane);
  void commentToWindow(Pane pane);
  MainWindowEffects takeBackComment();
  MainWindowEffects runCommand(Command command);
  int currentCatalogRow(Pane pane) const;
  bool commandStart();
  Text consoleOfList() const;

  GridModel& activeGrid() { return active_ == Pane::File && paneOpen() ? fileGrid_ : folderGrid_; }
  std::vector<int> selectedOrCursor(GridModel& g);
  EditKeyAnswer commitAndMove(bool down, TextView text);
  MainWindowEffects deleteFolderRows();
  MainWindowEffects deleteFileRows();

  Services services_;
  Hooks hooks_;
  std::optional<Pane> editPane_;
  listedit::RenameMode renameMode_ = listedit::RenameMode::ListOnly;
  MainWindowOptions options_;
  std::unique_ptr<CatalogDocument> document_;
  RowStore files_;
  GridModel folderGrid_;
  GridModel fileGrid_;
  TreeDisplay tree_;
  ListSearch listSearch_{tree_};
  Text findText_;
  Pane active_ = Pane::Folder;
  bool busy_ = false;
  bool titleHidden_ = false;  // the title label is empty while a refresh runs
  int chosenLevel_ = 0;
  int lastJump_ = -1;
  Text console_;
  Text genre_;
  SharedSearch search_;
  Measures measures_;
  bool widthRight_ = false;
  bool widthMaximised_ = false;
  // A reading shown but not stored yet: its steps around the first save.
  std::optional<MediaReading::Result> pendingReading_;
  ReadingStore readingStore_;
  std::optional<IconTable> standardIcons_;  // when the services bring no icon table
  std::unique_ptr<OldDataConversion> oldData_;
};

// The console line after a load: u" 記録行数: 1,234行" followed by the free
// space, u" 空き容量： 1,500,000 (1M) bytes" (nothing for 0 bytes).
Text freeSpaceText(std::int64_t bytes);
// The path of a row as the console line shows it: a blank and the path from
// level 1, its last part replaced by the name on the medium (field 5) when
// the row has one: u" DOCS\\README.TXT".
Text rowPathText(const RowStore& store, int row);

}  // namespace zevro
