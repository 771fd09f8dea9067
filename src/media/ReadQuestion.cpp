#include "media/ReadQuestion.h"

#include "core/Strings.h"

namespace zevro {

Text ReadQuestion::driveText(TextView drive) {
  Text text = asciiUpper(drive);
  text += DriveTail;
  return text;
}

MediaReading::Existing ReadQuestion::answerOf(int button) {
  switch (button) {
    case ReplaceButton: return MediaReading::Existing::Replace;
    case AddButton: return MediaReading::Existing::AddAnother;
    default: return MediaReading::Existing::Cancel;
  }
}

}  // namespace zevro
