#pragma once
// The print dialogue of the main window's list (PrintList) and of the
// search results (PrintFindList): the print window shows the first page of
// the range and redraws it on every change; "印刷開始" prints every page of
// the range while the cancel window stands.
//
//   PrintDialogue printing(options, ui, mainWindow);
//   printing.setIconStrip(strip);   // the grids' file-type icons
//   printing.PrintList({&folderRows, &fileRows, u"CD: ゲーム集", u"DOCS", 1, iconMap, 6});
//   printing.PrintFindList(resultRows, u"検索結果【README】");
#include <QImage>

#include <memory>
#include <vector>

#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "platform/Ui.h"
#include "print/GridPrint.h"
#include "text/Text.h"

class QWidget;

namespace zevro {

class CancelForm;
class PrevForm;

class PrintDialogue {
public:
  struct ListRequest {
    const RowStore* folderRows = nullptr;  // the folder grid's rows
    const RowStore* fileRows = nullptr;    // the file pane's rows (items option 2)
    Text title;                            // u"CD: ゲーム集"
    Text folderText;                       // the path of the folder grid's cursor row, u"DOCS\\OLD"
    int shownMode = 1;                     // display mode as shown: 0, 1, 2 or 4
    std::vector<int> iconMap;              // kind code -> icon, empty: the kind is the icon
    int iconCount = 0;
  };

  PrintDialogue(OptionStore& options, Ui& ui, QWidget* owner);
  ~PrintDialogue();

  void setIconStrip(const QImage& strip);

  // Answers whether pages were printed.
  bool PrintList(const ListRequest& request);
  bool PrintFindList(const RowStore& results, TextView title);
  // Draws the preview again from what the last dialogue prints.
  void RefreshPreview();
  void RefreshFindPreview();
  // At the program's end: the print window saves its changed settings.
  void unload();

  // The windows, made at first use.
  PrevForm& form();
  CancelForm& cancelForm();
  // The last drawing pass's outcome.
  const GridPrint::Outcome& outcome() const { return outcome_; }

private:
  GridPrint& layout();
  const RowStore* listRows() const;

  OptionStore& options_;
  Ui& ui_;
  QWidget* owner_;
  QImage strip_;
  std::unique_ptr<PrevForm> form_;
  std::unique_ptr<CancelForm> cancel_;
  std::unique_ptr<GridPrint> layout_;
  bool searchPrint_ = false;
  ListRequest list_;
  const RowStore* results_ = nullptr;
  Text findTitle_;
  GridPrint::Outcome outcome_;
};

}  // namespace zevro
