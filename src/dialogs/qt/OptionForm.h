#pragma once
// The options window, "オプション設定": fourteen colour swatches (COLDSP(0)
// … COLDSP(13)) with their names (COLNAM), the twelve level labels
// (LVLNAM(1) … LVLNAM(12), "Level 1" … "Level 12") drawn in their colours on
// the list background (PAPBOX) inside the frame "レベル毎の文字の色", and
// OK / "キャンセル". A click on a swatch, its name or a level label goes to
// OptionFormLogic, which opens the colour chooser or beeps.
//
//   std::optional<ColourOptions> chosen = OptionForm::DispOption(ColourOptions::read(store), ui, mainWindow);
//   if (chosen) chosen->write(store);    // OK; nullopt after Cancel, Esc or closing
#include <QDialog>

#include <array>
#include <optional>

#include "dialogs/ColourOptions.h"
#include "dialogs/OptionFormLogic.h"

class QFrame;
class QLabel;
class QPushButton;

namespace zevro {

class OptionForm : public QDialog {
  Q_OBJECT

public:
  OptionForm(const ColourOptions& colours, Ui& ui, QWidget* owner);

  // Shows the window modal for the whole program and waits for OK or Cancel.
  static std::optional<ColourOptions> DispOption(const ColourOptions& colours, Ui& ui, QWidget* owner);

  const OptionFormLogic& logic() const { return logic_; }
  QFrame* swatch(int i) const { return swatches_[static_cast<std::size_t>(i)]; }
  QLabel* swatchName(int i) const { return names_[static_cast<std::size_t>(i)]; }
  QLabel* levelLabel(int level) const { return levels_[static_cast<std::size_t>(level - 1)]; }
  QFrame* paperBox() const { return paper_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void refresh();

  OptionFormLogic logic_;
  std::array<QFrame*, ColourOptions::NamedCount> swatches_{};
  std::array<QLabel*, ColourOptions::NamedCount> names_{};
  std::array<QLabel*, ColourOptions::LevelCount> levels_{};
  QFrame* paper_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace zevro
