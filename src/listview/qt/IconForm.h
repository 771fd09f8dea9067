#pragma once
// The icon dialog "アイコンの選択": the list of extensions (TYPLST), the
// preview of the chosen type's icon (PICVIW, enlarged or actual size, a
// click switches), paste from the clipboard (PSTBTN), a new extension
// (ADDBTN), OK and Cancel, and the help label (HLPDSP) that explains the
// region under the pointer. It edits an IconEdit and a working copy of the
// strip; what the end leaves to be written is IconEdit::finish's.
//
//   IconEdit edit(program.icons(), iconstrip::iconCount(strip));
//   QImage working = strip;
//   IconForm form(edit, working, ui, mainWindow);
//   bool ok = form.exec() == QDialog::Accepted;    OK: 1, Cancel or close box: 2
#include <QDialog>
#include <QImage>

#include <functional>

#include "core/IconEdit.h"
#include "listview/IconFormLogic.h"
#include "platform/Ui.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zevro {

class IconPreview;

class IconForm : public QDialog {
public:
  IconForm(IconEdit& edit, QImage& strip, Ui& ui, QWidget* parent = nullptr);

  // Where a paste takes its picture (the clipboard's bitmap unless a test
  // hands in another); a null image when there is none.
  void setClipboardSource(std::function<QImage()> source) { clipboard_ = std::move(source); }

  QComboBox* typeList() const { return typeList_; }
  QWidget* preview() const;
  QPushButton* pasteButton() const { return paste_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QLabel* helpLabel() const { return help_; }
  const IconFormLogic& logic() const { return logic_; }

  // The kind code of the chosen extension, -1 none.
  int chosenCode() const;
  // The buttons' work, as a click does it.
  void pasteIcon();
  void addExtension();
  // The pointer entered a region (the window does this on its own).
  void pointerIn(IconFormLogic::Region region);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void reject() override;

private:
  void showHelp(const Text& text);

  IconEdit& edit_;
  QImage& strip_;
  Ui& ui_;
  IconFormLogic logic_;
  std::function<QImage()> clipboard_;
  QLabel* typeName_ = nullptr;
  QComboBox* typeList_ = nullptr;
  IconPreview* preview_ = nullptr;
  QPushButton* paste_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* help_ = nullptr;
};

}  // namespace zevro
