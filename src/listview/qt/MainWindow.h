#pragma once
// The program's main window, "ＺＥＶＲＯ": the catalog title and genre on
// top with the level and pane buttons at the right, the folder grid and the
// file grid in a splitter, the button panel with the find box, and the
// console line at the bottom; the menus of MainMenu.h and the context menus
// of the grids. Every decision is MainWindowLogic's: the window forwards
// events to it and draws what it answers.
//
//   MainWindowLogic logic({platform, options, index, titles, folder, catalogs});
//   MainWindow window(logic);
//   window.show();
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

#include "listview/MainWindowLogic.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;

namespace zevro {

class EditLine;
class GridWidget;
class UpdateForm;

// No Q_OBJECT: the window has no signals of its own and connects with
// function pointers and lambdas, and the meta-object compiler cannot read the
// Japanese names of the commands and operations.
class MainWindow : public QMainWindow {
public:
  explicit MainWindow(MainWindowLogic& logic, QWidget* parent = nullptr);
  ~MainWindow() override;

  MainWindowLogic& logic() { return logic_; }
  GridWidget* folderView() const { return folderView_; }
  GridWidget* fileView() const { return fileView_; }
  // The in-place edit lines over the folder grid and the file grid.
  EditLine* folderEditLine() const { return folderLine_; }
  EditLine* fileEditLine() const { return fileLine_; }
  QSplitter* splitter() const { return splitter_; }
  QLabel* titleLabel() const { return nameLabel_; }
  QLabel* genreLabel() const { return genreLabel_; }
  QLabel* consoleLine() const { return console_; }
  QComboBox* findBox() const { return findBox_; }
  // The action of a menu command, the button of a button command (nullptr
  // for other commands).
  QAction* action(Command command) const;
  QToolButton* button(Command command) const;
  QMenu* menu(Command command) const;

  // The icon strip (in the strip's form) and the icon map of the tables in
  // use, for both grids.
  void setIcons(const QImage& strip, const IconTable& icons);

  // Runs a command as the menu or button would.
  void runCommand(Command command);
  // Draws what a call into the logic changed.
  void apply(const MainWindowEffects& effects);

  // ---- Public operations for other windows ----
  void 指定カタログをロード(TextView fileName) { apply(logic_.指定カタログをロード(fileName)); }
  void 指定カタログの特定ページを表示(TextView fileName, TextView rowPath, bool show) {
    apply(logic_.指定カタログの特定ページを表示(fileName, rowPath, show));
  }
  void 特定ページを表示(TextView rowPath, bool show) { apply(logic_.特定ページを表示(rowPath, show)); }
  void 指定行を着色(TextView rowPath, int n, bool current) { apply(logic_.指定行を着色(rowPath, n, current)); }
  void RefreshGrid(int flags) { apply(logic_.RefreshGrid(flags)); }
  void SelFNDLST(int index) { apply(logic_.SelFNDLST(index)); }
  Text ListCell(int column, int displayRow) const { return logic_.ListCell(column, displayRow); }

  // The catalog selection window kept beside this one while AttachSelBox is
  // on (nullptr: there is none).
  void setSelectionWindow(QWidget* window) { selectionWindow_ = window; }
  void AttachSelectBox();
  QTimer& reattachTimer() { return reattach_; }
  // Saves changed options a moment after the last change.
  QTimer& optionSaveTimer() { return optionSave_; }

  // The data window's zoom keys ("+", "-", "=") while it is shown; empty
  // while there is no data window.
  void setZoomKeyTarget(std::function<void(char16_t)> target) { zoomTarget_ = std::move(target); }
  // Whether the zoom target is shown now (without it: always).
  void setZoomKeyShown(std::function<bool()> shown) { zoomShown_ = std::move(shown); }

  // The context menu a right click on a grid would open, prepared but not
  // shown (tests look at it); nullptr when the row is not there.
  QMenu* prepareContextMenu(Pane pane);

protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildMenus();
  QMenu* buildMenu(const MenuEntry& entry, QWidget* parent);
  void buildHeader(QWidget* area);
  void buildButtonPanel(QWidget* area);
  QToolButton* makeButton(Command command, QWidget* parent);
  void connectGrids();
  void restoreGeometry();
  void refreshCommands();
  void refreshLabels();
  void refreshFindList();
  // Enter in the find box and a left press on FNDBTN: the next (previous) hit.
  void findFromBox(bool backwards);
  void layoutPanes();
  void placeSplit();
  void applyGridSettings();
  void focusGrid(TreeFocus focus);
  bool gridKey(Pane pane, QKeyEvent* event);
  bool editLineKey(Pane pane, QKeyEvent* event);
  // Shows the edit line the logic opened over its cursor cell; places an
  // open one again after the grid moved.
  void showEditLine();
  void placeEditLine();
  void closeEditLines();
  QRect editCell(Pane pane) const;
  bool zoomKey(QObject* watched, QKeyEvent* event);
  void showContextMenu(Pane pane, const QPoint& globalPos);
  void splitMoved(int pos, int index);
  int dpi() const;
  MainWindowLogic::Placement placement() const;
  void reattach();

  MainWindowLogic& logic_;
  GridWidget* folderView_ = nullptr;
  GridWidget* fileView_ = nullptr;
  EditLine* folderLine_ = nullptr;
  EditLine* fileLine_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QLabel* titleCaption_ = nullptr;
  QLabel* nameLabel_ = nullptr;
  QLabel* genreCaption_ = nullptr;
  QLabel* genreLabel_ = nullptr;
  QLabel* console_ = nullptr;
  QComboBox* findBox_ = nullptr;
  QToolButton* findButton_ = nullptr;
  std::map<Command, QAction*> actions_;
  std::map<Command, QMenu*> menus_;
  std::map<Command, QToolButton*> buttons_;
  QWidget* selectionWindow_ = nullptr;
  QTimer reattach_;
  QTimer optionSave_;
  UpdateForm* updateForm_ = nullptr;  // made at the first conversion
  std::function<void(char16_t)> zoomTarget_;
  std::function<bool()> zoomShown_;
  bool placing_ = false;   // the window itself moves the split
  bool applying_ = false;  // drawing what the logic answered: grid signals are its own doing
  QMetaObject::Connection focusWatch_;  // the application's focus changes, ending an open edit
  bool closing_ = false;
};

}  // namespace zevro
