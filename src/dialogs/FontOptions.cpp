#include "dialogs/FontOptions.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/OptionKeys.h"

namespace zevro::fontoptions {

FontKeys listKeys() { return {opt::FontName, opt::FontSize, opt::FontBold}; }
FontKeys commentKeys() { return {opt::DocFontName, opt::DocFontSize, opt::DocFontBold}; }
FontKeys previewKeys() { return {opt::PrevFontName, opt::PrevFontSize, opt::PrevFontBold}; }

double sizeOf(TextView text) {
  double whole = 0;
  double fraction = 0;
  double scale = 1;
  bool afterPoint = false;
  bool digits = false;
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (c < u'0' || c > u'9') break;
    digits = true;
    if (afterPoint) {
      scale /= 10;
      fraction += (c - u'0') * scale;
    } else {
      whole = whole * 10 + (c - u'0');
    }
  }
  return digits ? whole + fraction : 0;
}

Text sizeText(double size) {
  // Whole hundredths, written digit by digit: no locale's decimal comma.
  const long long hundredths = std::llround(std::max(size, 0.0) * 100);
  std::string text = std::to_string(hundredths / 100);
  const long long rest = hundredths % 100;
  if (rest != 0) {
    text += '.';
    text += static_cast<char>('0' + rest / 10);
    if (rest % 10 != 0) text += static_cast<char>('0' + rest % 10);
  }
  return ascii(text);
}

double clampedSize(double size) { return std::clamp(size, SmallestSize, LargestSize); }

bool isVerticalFace(TextView name) { return !name.empty() && (name.front() == u'@' || name.front() == u'＠'); }

FontChoice read(const OptionStore& store, const FontKeys& keys, const FontChoice& fallback) {
  FontChoice font = fallback;
  font.name = store.readText(keys.name, fallback.name);
  if (const double size = sizeOf(store.readText(keys.size, u"")); size > 0) font.size = size;
  font.bold = store.readBoolean(keys.bold, fallback.bold);
  return font;
}

void write(OptionStore& store, const FontKeys& keys, const FontChoice& font) {
  store.writeText(keys.name, font.name);
  // A size that reads as the one chosen keeps its spelling ("9.750").
  if (sizeOf(store.readText(keys.size, u"")) != sizeOf(sizeText(font.size)))
    store.writeText(keys.size, sizeText(font.size));
  store.writeBoolean(keys.bold, font.bold);
}

std::optional<FontChoice> SetFont(Ui& ui, const FontChoice& current) {
  if (!ui.hasChoosers()) {
    ui.beep();
    return std::nullopt;
  }
  std::optional<FontChoice> chosen = ui.chooseFont(current);
  if (!chosen) return std::nullopt;
  if (chosen->name.empty() || isVerticalFace(chosen->name)) {
    ui.beep();
    return std::nullopt;
  }
  chosen->size = clampedSize(chosen->size);
  return chosen;
}

}  // namespace zevro::fontoptions
