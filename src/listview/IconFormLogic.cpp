#include "listview/IconFormLogic.h"

namespace zevro {

TextView IconFormLogic::helpText(Region region) {
  switch (region) {
    case Region::List: return ListHelp;
    case Region::Preview: return PreviewHelp;
    case Region::Paste: return PasteHelp;
    case Region::Add: return AddHelp;
    case Region::None: break;
  }
  return u"";
}

std::optional<Text> IconFormLogic::hover(Region region) {
  if (region == helpRegion_) return std::nullopt;
  helpRegion_ = region;
  return Text(helpText(region));
}

Text IconFormLogic::show(Region region, TextView text) {
  helpRegion_ = region;
  return Text(text);
}

std::optional<IconEdit::AddResult> IconFormLogic::askExtension(Ui& ui, IconEdit& edit, bool& full) const {
  full = false;
  for (;;) {
    const IconEdit::AddResult result = edit.add(ui.inputLine(AddPrompt, AddTitle, u""));
    switch (result.status) {
      case IconEdit::AddStatus::Added: return result;
      case IconEdit::AddStatus::Empty: return std::nullopt;
      case IconEdit::AddStatus::NoCodeLeft:
        ui.beep();
        full = true;
        return std::nullopt;
      default: ui.beep(); break;
    }
  }
}

}  // namespace zevro
