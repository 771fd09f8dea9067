#pragma once
// The comparison window: duplicates across media (検索 > 重複ファイルを探す),
// the files of the shown catalog kept on no other medium (検索 >
// このメディアにしかないファイル), and the changes between the shown catalog
// and another (ファイル > 比較…). A result grid as the search window's, one
// background colour per group, a progress line with a stop button; a double
// click (or Enter) shows the row in the main window. The media and genres
// are the search window's. Closing only hides it.
//
//   CompareForm form(program, mainWindow, [&](CompareFilters& f) { … the search window's filters … });
//   form.FindDuplicates();          // shown, the comparison run
#include <QWidget>
#include <functional>

#include "compare/CompareFormLogic.h"
#include "core/RowStore.h"
#include "grid/GridModel.h"
#include "listview/ListSorter.h"
#include "text/Text.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zevro {

class GridWidget;
class MainWindow;
class Program;

class CompareForm : public QWidget {
  Q_OBJECT
public:
  // searchFilters: sets the media and genre filters the search window has now.
  CompareForm(Program& program, MainWindow& main, std::function<void(CompareFilters&)> searchFilters,
              QWidget* owner = nullptr);
  ~CompareForm() override;

  CompareFormLogic& logic() { return logic_; }
  GridWidget* grid() const { return gridWidget_; }
  QPushButton* startButton() const { return startButton_; }
  QLabel* progress() const { return progress_; }
  QLabel* summary() const { return summary_; }
  QLineEdit* minimumSize() const { return minSize_; }
  QCheckBox* byDate() const { return byDate_; }
  QCheckBox* sameMedium() const { return sameMedium_; }
  QCheckBox* members() const { return members_; }

  // ---- Public operations ----
  void FindDuplicates();
  // The shown catalog, by its list file name.
  void FilesOnlyHere(TextView fileName);
  // Asks for another catalog and shows what changed from it to the shown one.
  void CompareWith(TextView fileName);
  // The start/stop button: stops a run, or runs the comparison shown again.
  void startStop();
  // The jump to the row at the cursor.
  void jumpToCursor(bool show);
  void RefreshGrid();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void buildControls();
  void setUpGrid();
  void run();
  void finish(bool whole);
  CompareFilters filters() const;
  void present();

  Program& program_;
  MainWindow& main_;
  std::function<void(CompareFilters&)> searchFilters_;
  RowStore rows_;
  CompareFormLogic logic_{rows_};
  GridModel model_{rows_};
  ListSorter sorter_{model_};
  GridWidget* gridWidget_ = nullptr;
  QLabel* filterText_ = nullptr;
  QLineEdit* minSize_ = nullptr;
  QCheckBox* byDate_ = nullptr;
  QCheckBox* sameMedium_ = nullptr;
  QCheckBox* members_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* summary_ = nullptr;
  CompareFormLogic::Mode wanted_ = CompareFormLogic::Mode::Duplicates;
  Text subjectFile_;  // the shown catalog of the last run on one
  NativePath otherFile_;  // the catalog compared with
};

}  // namespace zevro
