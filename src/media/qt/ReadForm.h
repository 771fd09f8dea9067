#pragma once
// The question window about a medium that is catalogued already (texts and
// answers in media/ReadQuestion.h). It blocks the window that asks until a
// button is pressed; Esc and the close box keep the old catalog (Cancel).
//
//   MediaReading::Existing a = ReadForm::QueryNewOrAdd(existing, scanForm);
#include <QDialog>
#include <array>

#include "media/MediaReading.h"

class QPushButton;

namespace zevro {

class ReadForm : public QDialog {
  Q_OBJECT

public:
  ReadForm(const MediaReading::ExistingCatalog& existing, QWidget* owner);

  static MediaReading::Existing QueryNewOrAdd(const MediaReading::ExistingCatalog& existing, QWidget* owner);

  // REDBTN(index): 0 replace, 1 another list, 2 cancel.
  QPushButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
  // The answer once the window is closed.
  MediaReading::Existing answer() const;

private:
  std::array<QPushButton*, 3> buttons_{};
  int pressed_ = -1;
};

}  // namespace zevro
