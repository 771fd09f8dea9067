#pragma once
// The print marks: four icons of 128 x 128 pixels stacked top to bottom,
// drawn by the program itself at the size they print: 0 folder, 1 CD-ROM,
// 2 floppy disk, 3 hard disk (the order of icons 1 to 4 of the lists).
#include <QImage>

namespace zevro::printmarks {

inline constexpr int CellSize = 128;
inline constexpr int CellCount = 4;

// 128 x 512, white around the pictures.
QImage marks();

// An icon strip in the lists' form (each 16 x 16 picture beside its mask,
// black where the picture is) as pictures with transparency: one 16 x 16
// cell a row, the same order.
QImage transparentStrip(const QImage& strip, int cellSize = 16);

}  // namespace zevro::printmarks
