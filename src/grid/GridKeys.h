#pragma once
// Key codes, modifier bits and mouse buttons as the grid logic takes them.
// The numbers are the usual virtual-key numbers (Up 38, Page Down 34, 'A' 65,
// numeric-pad 0 = 96, the at-sign key 192), so a window translates its own
// key events once and tests write plain values.
namespace zevro::gridkey {

inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Help = 47;  // acts as End
inline constexpr int Digit0 = 48;
inline constexpr int Digit9 = 57;
inline constexpr int LetterA = 65;
inline constexpr int LetterZ = 90;
inline constexpr int Pad0 = 96;
inline constexpr int Pad9 = 105;
inline constexpr int AtSign = 192;

// Modifier bits of the shift state.
inline constexpr int ShiftMask = 1;
inline constexpr int CtrlMask = 2;
inline constexpr int AltMask = 4;

// Mouse buttons.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;
inline constexpr int MiddleButton = 4;

}  // namespace zevro::gridkey
