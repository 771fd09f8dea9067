#include "dialogs/OptionFormLogic.h"

#include <optional>

namespace zevro {

bool OptionFormLogic::clickSwatch(int swatch) {
  if (swatch < 0 || swatch >= ColourOptions::NamedCount) return false;
  if (!ui_.hasChoosers()) {
    ui_.beep();
    return false;
  }
  markedSwatch_ = swatch;
  markedLevel_ = -1;
  const std::uint32_t before = colours_.namedColour(swatch);
  const std::optional<std::uint32_t> chosen = ui_.chooseColour(before);
  if (!chosen || *chosen == before) return false;
  colours_.setNamedColour(swatch, *chosen);
  return true;
}

bool OptionFormLogic::clickLevel(int level) {
  if (level < 1 || level > ColourOptions::LevelCount) return false;
  if (!ui_.hasChoosers()) {
    ui_.beep();
    return false;
  }
  markedLevel_ = level;
  markedSwatch_ = -1;
  const std::uint32_t before = colours_.levelColour(level);
  const std::optional<std::uint32_t> chosen = ui_.chooseColour(before);
  if (!chosen || *chosen == before) return false;
  colours_.setLevelColour(level, *chosen);
  return true;
}

}  // namespace zevro
