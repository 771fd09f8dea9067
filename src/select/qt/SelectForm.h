#pragma once
// The catalog selection window "カタログ選択 【folder】": the selection list
// (select/CatalogSelection) on a grid, the catalog-folder button FLDBTN, the
// title-order and media buttons, the genre menu POP_JAN and the keys Alt+1,
// Alt+2, Alt+3 (media), Alt+T (title order), Ctrl+G (search) and Esc. It
// stands beside the main window (option AttachSelBox) or floats.
//
//   SelectForm form(program);
//   form.attachTo(mainWindow);          the main window's hooks, placement
//   form.カタログ一覧を表示(u"");       shown
//
// Places kept in the option store, in twips: floating, SelFormSX/SelFormSY
// its left and top; attached (its left and top follow the main window),
// SelFormLX/SelFormLY its width and height.
#include <QWidget>
#include <functional>
#include <optional>

#include "select/CatalogSelection.h"
#include "select/GenreCommands.h"
#include "text/Text.h"

class QAction;
class QMenu;
class QPushButton;
class QToolButton;

namespace zevro {

class GridWidget;
class MainWindow;
class Program;

class SelectForm : public QWidget {
  Q_OBJECT
public:
  explicit SelectForm(Program& program, QWidget* owner = nullptr);
  ~SelectForm() override;

  CatalogSelection& selection() { return *selection_; }
  GenreCommands& genreCommands() { return *commands_; }
  GridWidget* grid() const { return grid_; }
  QMenu* genreMenu() const { return genreMenu_; }
  QAction* genreAction(TextView name) const;  // u"POPJADD" …
  QPushButton* folderButton() const { return folderButton_; }
  QToolButton* titleButton() const { return titleButton_; }
  QToolButton* mediaButton(int i) const { return mediaButtons_[i]; }  // 0 CD, 1 FD, 2 HD

  // The main window's hooks (open a list, genre change, saves, deletions)
  // go through this window, which opens catalogs in it.
  void attachTo(MainWindow& window);
  // Ctrl+G: the search window; empty: a beep.
  void setSearchOpener(std::function<void()> open) { openSearch_ = std::move(open); }
  // Told of a new catalog folder (the reading window stores readings there).
  void setFolderListener(std::function<void(const NativePath&)> listen) { folderChanged_ = std::move(listen); }

  // ---- Public operations ----
  void カタログ一覧を表示(TextView fileName);
  void カタログ行を選択(TextView fileName);
  void RefreshCatalogList(TextView fileName);
  void RemoveCatalogEntry(TextView fileName);
  void DeleteCatalogFile(TextView fileName);
  void ChangeJanre(TextView fileName, int genre);
  void ChangeListFont(int choice);
  // Moves the main window's catalog to a genre picked in JanreForm; the new
  // name, nullopt when nothing moved.
  std::optional<Text> moveShownCatalog(TextView fileName);

  // Toggles of the keys and buttons.
  void toggleMedia(int bit);
  void toggleTitleOrder();
  // FLDBTN: another catalog folder.
  void changeFolder();
  // The settings go to the option store (the program ends).
  void unload();

protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void buildControls();
  void buildKeys();
  void buildGenreMenu();
  void redraw();
  void refreshButtons();
  void rebuildKeeping();
  void showListing(const CatalogSelection::Listing& listing);
  void openCatalog(TextView fileName);
  void catalogShown(TextView fileName);
  void keepGenreOpen(TextView fileName);
  void runGenreCommand(TextView name);
  void genreNamesChanged();
  bool attached() const;
  void place();
  void remember();
  int dpi() const;

  Program& program_;
  std::optional<CatalogSelection> selection_;
  std::optional<GenreCommands> commands_;
  MainWindow* main_ = nullptr;
  GridWidget* grid_ = nullptr;
  QPushButton* folderButton_ = nullptr;
  QToolButton* titleButton_ = nullptr;
  QToolButton* mediaButtons_[3] = {nullptr, nullptr, nullptr};
  QMenu* genreMenu_ = nullptr;
  std::function<void()> openSearch_;
  std::function<void(const NativePath&)> folderChanged_;
  bool placing_ = false;
};

}  // namespace zevro
