#pragma once
// The comment window: the comment of the main window's current row, to read
// in full and to edit, over DocFormModel. Closing hides it; unload (at the
// program's end) stores its place and size.
#include <QWidget>

#include "core/OptionStore.h"
#include "viewers/DocFormModel.h"

class QPlainTextEdit;

namespace zevro {

class DocForm : public QWidget {
  Q_OBJECT

public:
  DocForm(DocFormModel::EditComment editComment, OptionStore* options, QWidget* mainWindow);

  bool loaded() const { return loaded_; }
  void DispCommentText(TextView catalog, int row, TextView name, TextView comment);
  bool isCommentTextEdited(TextView catalog, int row, TextView name, Text* text);
  // DocFontName, DocFontSize, DocFontBold onto DOCVIW.
  void ChangeDocFont();
  void unload();

  QPlainTextEdit* textView() const { return text_; }  // DOCVIW
  const DocFormModel& model() const { return model_; }

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void load();
  Text box() const;

  DocFormModel model_;
  OptionStore* options_;
  QWidget* mainWindow_;
  QPlainTextEdit* text_ = nullptr;
  int tpp_ = 15;
  bool loaded_ = false;
};

}  // namespace zevro
