#pragma once
// The fonts the user chooses for the lists, the comment window and the data
// window, and the rules of the font chooser (SetFont).
//
// Each font is three keys of the option store:
//   FontName=ＭＳ Ｐゴシック      FontSize=10.5       FontBold=-1
//   DocFontName / DocFontSize / DocFontBold, PrevFontName / PrevFontSize / PrevFontBold
// The size is text with a point in every locale ("10", "10.5", "9.75"); bold
// is -1 or 0.
//
// The chooser may hand back any installed face and any size; SetFont takes
// sizes 9 to 12 only (14 becomes 12, 8 becomes 9) and refuses a face whose
// name starts with "@" (a face for vertical writing): the user hears a beep
// and nothing is chosen.
#include <optional>

#include "core/OptionStore.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro::fontoptions {

inline constexpr double SmallestSize = 9;
inline constexpr double LargestSize = 12;

// The three keys of one font.
struct FontKeys {
  TextView name;
  TextView size;
  TextView bold;
};
// FontName, FontSize, FontBold: the lists.
FontKeys listKeys();
// DocFontName …: the comment window.
FontKeys commentKeys();
// PrevFontName …: the data window.
FontKeys previewKeys();

// The size of a stored size text, read without the C library so that no
// locale takes the "." for something else: u"9.75" -> 9.75, u"10" -> 10,
// u" 11" -> 11; 0 for text that is no number.
double sizeOf(TextView text);
// The stored text of a size, rounded to hundredths, with a point and no
// trailing zeros: 10 -> u"10", 10.5 -> u"10.5", 9.75 -> u"9.75".
Text sizeText(double size);
// The size the chooser's answer is taken as: within 9 to 12.
double clampedSize(double size);
// A face for vertical writing, which SetFont refuses: u"@IPAGothic".
bool isVerticalFace(TextView name);

// The font of three keys; what is missing comes from `fallback`.
FontChoice read(const OptionStore& store, const FontKeys& keys, const FontChoice& fallback);
// Stores a font: name as text, size as its text, bold -1/0.
void write(OptionStore& store, const FontKeys& keys, const FontChoice& font);

// The font chooser opened at `current`; the font taken (size clamped), or
// nullopt when the user cancelled, the desktop has no chooser or the face
// was refused (each of the last two beeps).
std::optional<FontChoice> SetFont(Ui& ui, const FontChoice& current);

}  // namespace zevro::fontoptions
