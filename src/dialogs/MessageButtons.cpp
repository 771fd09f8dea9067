#include "dialogs/MessageButtons.h"

#include "platform/Ui.h"

namespace zevro {

ButtonSet buttonSetOf(int flags) {
  switch (flags & mb::ButtonMask) {
    case mb::OkCancel: return ButtonSet::OkCancel;
    case mb::YesNoCancel: return ButtonSet::YesNoCancel;
    case mb::YesNo: return ButtonSet::YesNo;
    default: return ButtonSet::Ok;
  }
}

std::vector<MessageButton> buttonsOf(ButtonSet set) {
  switch (set) {
    case ButtonSet::OkCancel: return {MessageButton::Ok, MessageButton::Cancel};
    case ButtonSet::YesNoCancel: return {MessageButton::Yes, MessageButton::No, MessageButton::Cancel};
    case ButtonSet::YesNo: return {MessageButton::Yes, MessageButton::No};
    case ButtonSet::Ok: break;
  }
  return {MessageButton::Ok};
}

bool shows(ButtonSet set, MessageButton button) {
  for (MessageButton b : buttonsOf(set)) {
    if (b == button) return true;
  }
  return false;
}

int answerOf(MessageButton button) {
  switch (button) {
    case MessageButton::Cancel: return AnswerCancel;
    case MessageButton::Yes: return AnswerYes;
    case MessageButton::No: return AnswerNo;
    case MessageButton::Ok: break;
  }
  return AnswerOk;
}

TextView captionOf(MessageButton button) {
  switch (button) {
    case MessageButton::Cancel: return CancelCaption;
    case MessageButton::Yes: return YesCaption;
    case MessageButton::No: return NoCaption;
    case MessageButton::Ok: break;
  }
  return OkCaption;
}

MessageButton focusButtonOf(int flags) {
  const bool second = (flags & mb::DefaultSecond) != 0;
  switch (buttonSetOf(flags)) {
    case ButtonSet::YesNoCancel:
      if (second) return MessageButton::No;
      return (flags & mb::FocusThird) != 0 ? MessageButton::Cancel : MessageButton::Yes;
    case ButtonSet::YesNo: return second ? MessageButton::No : MessageButton::Yes;
    case ButtonSet::OkCancel: return second ? MessageButton::Cancel : MessageButton::Ok;
    case ButtonSet::Ok: break;
  }
  return MessageButton::Ok;
}

int escapeAnswerOf(ButtonSet set) {
  if (shows(set, MessageButton::Cancel)) return AnswerCancel;
  if (shows(set, MessageButton::No)) return AnswerNo;
  return AnswerOk;
}

int answerForKey(ButtonSet set, MessageKey key, std::optional<MessageButton> focused) {
  switch (key) {
    case MessageKey::Yes: return shows(set, MessageButton::Yes) ? AnswerYes : AnswerNone;
    case MessageKey::No: return shows(set, MessageButton::No) ? AnswerNo : AnswerNone;
    case MessageKey::Escape: return escapeAnswerOf(set);
    case MessageKey::Enter:
    case MessageKey::Space:
      if (focused && shows(set, *focused)) return answerOf(*focused);
      return shows(set, MessageButton::Ok) ? AnswerOk : AnswerNone;
    case MessageKey::Other: break;
  }
  return AnswerNone;
}

}  // namespace zevro
