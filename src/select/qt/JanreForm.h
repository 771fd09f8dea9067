#pragma once
// The genre picker "ジャンルの選択": the genre names in list order (JANSEL),
// OK and "ｷｬﾝｾﾙ". It takes its choices from a JanreChoice (one genre for a
// catalog's move, several for the search window's genre filter) and answers
// the genres chosen.
//
//   JanreForm form(JanreChoice::single(genres, 3), mainWindow);
//   form.SetJanre();                      modal until OK or Cancel
//   if (!form.cancelled()) move to form.chosen().front();
#include <QDialog>
#include <vector>

#include "select/JanreChoice.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zevro {

class JanreForm : public QDialog {
  Q_OBJECT
public:
  explicit JanreForm(JanreChoice choice, QWidget* owner = nullptr);

  // Shows the picker beside its owner and waits for the answer.
  void SetJanre();
  bool cancelled() const { return cancelled_; }
  // The genres chosen, in list order (empty when cancelled).
  std::vector<int> chosen() const;

  QListWidget* list() const { return list_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // One choice in a picker placed beside the owner; nullopt when cancelled
  // or nothing was chosen.
  static std::optional<int> pickOne(const GenreTable& genres, int current, QWidget* owner);

private:
  void placeBesideOwner();

  JanreChoice choice_;
  QLabel* prompt_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool cancelled_ = true;
};

}  // namespace zevro
