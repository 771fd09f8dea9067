#pragma once
// The buttons of the message box: which set a call's flags ask for, their
// captions and answers, the button that starts with the focus, and what the
// box's own keys answer. Flags and answers are those of platform/Ui.h:
//   flags mb::YesNoCancel | mb::FocusThird -> buttons Yes, No, Cancel with
//   the focus on Cancel; Enter then answers AnswerCancel (2).
#include <optional>
#include <vector>

#include "text/Text.h"

namespace zevro {

enum class ButtonSet { Ok, OkCancel, YesNoCancel, YesNo };
enum class MessageButton { Ok, Yes, No, Cancel };

inline constexpr TextView OkCaption = u"OK";
inline constexpr TextView YesCaption = u"はい(&Y)";
inline constexpr TextView NoCaption = u"いいえ(&N)";
inline constexpr TextView CancelCaption = u"キャンセル";

// flags & 15: 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No, anything else OK.
ButtonSet buttonSetOf(int flags);

// The buttons of a set from left to right: YesNoCancel -> {Yes, No, Cancel}.
std::vector<MessageButton> buttonsOf(ButtonSet set);
bool shows(ButtonSet set, MessageButton button);

// OK 1, Cancel 2, Yes 6, No 7.
int answerOf(MessageButton button);
TextView captionOf(MessageButton button);

// The button that is the default and has the focus when the box opens:
// mb::DefaultSecond picks No (Cancel in OK/Cancel); in Yes/No/Cancel
// mb::FocusThird picks Cancel; otherwise Yes or OK.
MessageButton focusButtonOf(int flags);

// The answer of Esc, and of closing the window, which is the same: Cancel
// wherever Cancel is shown (a Yes/No/Cancel question is never answered No by
// backing out of it), No in a Yes/No question, OK in an OK box.
int escapeAnswerOf(ButtonSet set);

// The keys the box looks at before its buttons do.
enum class MessageKey {
  Yes,  // "Y" or "y"
  No,   // "N" or "n"
  Escape,
  Enter,  // Return or Enter
  Space,
  Other,
};

// The answer a key gives, or AnswerNone when the key is left to the focused
// button (Tab, arrows, a letter without a button). Enter and Space press the
// button that has the focus, which is the default button until the user moves
// the focus; without a focused button they press OK when it is shown.
int answerForKey(ButtonSet set, MessageKey key, std::optional<MessageButton> focused);

}  // namespace zevro
