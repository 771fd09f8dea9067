#pragma once
// Colours of the option files at the window edge. The files keep 0xBBGGRR
// (red in the low byte): 0x800000 is QColor(0, 0, 128), a dark blue. Two
// values stand for the desktop's selection colours and are resolved only
// when drawing, so the stored value keeps following the desktop's theme:
//   0x8000000D -> the palette's Highlight, 0x8000000E -> its HighlightedText.
#include <QColor>
#include <QPalette>
#include <cstdint>

namespace zevro {

inline constexpr std::uint32_t SystemHighlightValue = 0x8000000D;
inline constexpr std::uint32_t SystemHighlightTextValue = 0x8000000E;

inline QColor toQColor(std::uint32_t bgr, const QPalette& palette) {
  if (bgr == SystemHighlightValue) return palette.color(QPalette::Active, QPalette::Highlight);
  if (bgr == SystemHighlightTextValue) return palette.color(QPalette::Active, QPalette::HighlightedText);
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t fromQColor(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace zevro
