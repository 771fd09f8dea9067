#pragma once
// The progress window of a conversion of old data (caption "ZEVRO"):
// "しばらく　お待ち下さい", "カタログ・データ 更新中" and the first 36
// characters of the name of the file being converted. It stands 1,200 twips
// right of and 1,800 twips below the main window's top-left corner while
// the conversion runs.
#include <QLabel>
#include <QWidget>

#include "text/Text.h"

namespace zevro {

class UpdateForm : public QWidget {
  Q_OBJECT
public:
  explicit UpdateForm(QWidget* mainWindow);

  // Shows the window (placed beside the main window) with the file's name
  // and lets it paint.
  void showFile(TextView fileName);

private:
  QWidget* mainWindow_;
  QLabel* Label1;
  QLabel* NAMDSP;
  QLabel* FILDSP;
};

}  // namespace zevro
