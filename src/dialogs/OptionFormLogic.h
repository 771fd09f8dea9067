#pragma once
// What the options window ("オプション設定") decides, without a window: a
// click on a swatch or its name marks that name and opens the colour chooser
// at the swatch's colour; a click on a level label does the same for the
// level's colour. Without choosers on this desktop each such click beeps
// and nothing changes.
//
//   OptionFormLogic form(ColourOptions::read(store), ui);
//   form.clickSwatch(5);            // marks "・カーソルセルの背景色", opens the chooser
//   form.colours().namedColour(5)   // the colour picked, or as before on Cancel
//   form.colours().write(store);    // OK; Cancel drops the form
#include "dialogs/ColourOptions.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

class OptionFormLogic {
public:
  static constexpr TextView Caption = u"オプション設定";
  static constexpr TextView LevelFrameCaption = u"レベル毎の文字の色";
  static constexpr TextView OkCaption = u"OK";
  static constexpr TextView CancelCaption = u"キャンセル";

  OptionFormLogic(ColourOptions colours, Ui& ui) : colours_(colours), ui_(ui) {}

  // Swatch 0..13 (or its name); level 1..12. True when the colour changed.
  bool clickSwatch(int swatch);
  bool clickLevel(int level);

  // The name marked last: a swatch 0..13 or a level 1..12; -1 none.
  int markedSwatch() const { return markedSwatch_; }
  int markedLevel() const { return markedLevel_; }

  const ColourOptions& colours() const { return colours_; }

private:
  ColourOptions colours_;
  Ui& ui_;
  int markedSwatch_ = -1;
  int markedLevel_ = -1;
};

}  // namespace zevro
