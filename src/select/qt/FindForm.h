#pragma once
// The search window "検索リスト": the two term boxes, the condition switch,
// the media, column and genre buttons, the four matching-switch lamps, the
// start/stop button with the count, the result grid, print and save. It
// works over FindFormLogic; a jump from a result row loads the catalog in
// the main window and marks the row there. Closing only hides it.
//
//   FindForm find(program, mainWindow, fileDialogs);
//   find.OpenFind(u"readme");       // shown, the term committed, no search yet
#include <QWidget>
#include <functional>
#include <optional>

#include "core/RowStore.h"
#include "grid/GridModel.h"
#include "listview/ListSorter.h"
#include "search/SearchResults.h"
#include "select/FindFormLogic.h"
#include "text/Text.h"

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace zevro {

class GridWidget;
class MainWindow;
class Program;

class FindForm : public QWidget {
  Q_OBJECT
public:
  FindForm(Program& program, MainWindow& main, bool fileDialogs, QWidget* owner = nullptr);
  ~FindForm() override;

  FindFormLogic& logic() { return logic_; }
  const SearchResults& results() const { return results_; }
  GridWidget* grid() const { return gridWidget_; }
  QComboBox* termBox(int i) const { return termBoxes_[i]; }
  QPushButton* startButton() const { return startButton_; }
  QLabel* counter() const { return counter_; }
  QToolButton* mediaButton(int i) const { return mediaButtons_[i]; }  // 0 CD, 1 FD, 2 HD
  QToolButton* columnButton(int i) const { return columnButtons_[i]; }  // 0 names, 1 comments
  QToolButton* lamp(int i) const { return lamps_[i]; }  // case, width, pattern, whole word
  QToolButton* conditionSwitch() const { return condition_; }
  QToolButton* printButton() const { return print_; }
  QToolButton* saveButton() const { return save_; }

  // The print window's PrintFindList (rows, title); empty: the button stays disabled.
  void setPrinter(std::function<void(const RowStore&, TextView)> print);

  // ---- Public operations ----
  void OpenFind(TextView text);
  void RefreshGrid();
  void SelFNDLST(int index);
  // The start/stop button.
  void startStop();
  // The jump to the result shown at the cursor.
  void jumpToCursor(bool show);
  // A click on the condition switch at height y (pixels of the switch).
  void clickCondition(int y);
  void save();
  void print();
  // At the program's end: options and SearchText.Opt.
  void unload();

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildControls();
  void buildKeys();
  void setUpGrid();
  void act(FilterAction action);
  void refreshControls();
  void refreshTermBox(int box);
  void commitBox(int box);
  void pickGenres();
  void mainWindowChanged();
  int dpi() const;

  Program& program_;
  MainWindow& main_;
  bool fileDialogs_;
  FindFormLogic logic_;
  RowStore rows_;
  SearchResults results_{rows_};
  GridModel model_{rows_};
  ListSorter sorter_{model_};
  GridWidget* gridWidget_ = nullptr;
  QComboBox* termBoxes_[2] = {nullptr, nullptr};
  QPushButton* startButton_ = nullptr;
  QLabel* counter_ = nullptr;
  QToolButton* lamps_[4] = {};
  QToolButton* condition_ = nullptr;
  QToolButton* mediaButtons_[3] = {};
  QToolButton* columnButtons_[2] = {};
  QToolButton* genreAll_ = nullptr;
  QToolButton* genreSome_ = nullptr;
  QToolButton* print_ = nullptr;
  QToolButton* save_ = nullptr;
  NativePath lastExport_;
  std::function<void(const RowStore&, TextView)> printer_;
  int conditionY_ = 0;
  bool navigating_ = false;  // a navigation key moved the box's selection
  bool programmatic_ = false;
};

}  // namespace zevro
