#pragma once
// The icon strip of the file-type icons: the 46 standard icons drawn by the
// program itself, the strip as the grids, the icon dialog and the printed
// list use it, the picture file "MarkIcon.BMP", and the conversion of a
// pasted picture.
//
// The strip's form: 32 px wide, 16 px per icon; icon n (1-based) fills rows
// (n - 1) * 16 to n * 16 - 1, its picture in the left 16 columns and its
// mask in the right 16 (white: the row shows through, black: drawn).
//
//   QImage strip = iconstrip::standardStrip();          32 x 736
//   QImage photo = iconstrip::iconImage(strip, 7);      16 x 16, transparent around
//   QImage zip   = iconstrip::standardIcon(18);         the same for the standard set
#include <QImage>

#include <optional>
#include <string>
#include <string_view>

namespace zevro::iconstrip {

inline constexpr int IconSize = 16;
inline constexpr int StripWidth = 2 * IconSize;
inline constexpr int StandardCount = 46;

// Icon `number` (1..46) of the standard set, 16 x 16 with transparency where
// its mask lets the row show through; a null image for other numbers.
QImage standardIcon(int number);

// The 46 standard icons in the strip's form.
QImage standardStrip();

// The number of icons of a strip (its height / 16).
int iconCount(const QImage& strip);

// Icon `number` of a strip in the strip's form, 16 x 16 with transparency
// from its mask; a null image when the strip has no such icon.
QImage iconImage(const QImage& strip, int number);

// The strip with `count` icons: cut, or grown with empty icons (all mask
// white) at the end.
QImage withIcons(const QImage& strip, int count);

// A picture pasted for an icon, in the strip's form (32 x 16): scaled to
// 16 x 16 on the left; every white pixel becomes black there and white in
// the mask (white is transparent), every other pixel has a black mask.
QImage pastedCell(const QImage& picture);

// Puts a 32 x 16 cell at icon `number` (the strip must hold it).
void putCell(QImage& strip, int number, const QImage& cell);

// The strip as a 24-bit BMP file, and back: nothing when the bytes are not a
// strip bitmap (32 px wide, whole icons).
std::string bitmapBytes(const QImage& strip);
std::optional<QImage> fromBitmapBytes(std::string_view bytes);

}  // namespace zevro::iconstrip
