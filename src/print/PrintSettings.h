#pragma once
// The settings of one drawing pass, as the print window holds them, and the
// eleven of them the option store keeps.
//
//   PrintSettings s = PrintSettings::fromOptions(options);   // RomanFont, BoldFont, …
//   s.sizePoints()   9.75 (SizeIndex 1)       s.gapTenths()   14 (GapIndex 1: "1.4行")
//   s.firstPage()    1 (all pages)            s.lastPage()    32767
#include "core/OptionStore.h"

namespace zevro {

struct PrintSettings {
  static constexpr int SizeCount = 5;  // 9, 9.75, 10.5, 11.25, 12 points
  static constexpr int GapCount = 4;   // 1.2, 1.4, 1.6, 1.8 lines
  static constexpr int MaxPage = 32767;

  // Items: what the list print prints.
  static constexpr int FoldersAndFiles = 0;
  static constexpr int FoldersOnly = 1;
  static constexpr int FilesOnly = 2;

  // Stored in the option store.
  bool mincho = true;  // "明朝体"; false "ゴシック体"
  bool bold = false;
  int sizeIndex = 1;
  int gapIndex = 1;
  bool tree = true;
  bool comment = true;
  bool swap = true;
  bool verticalRules = true;
  bool horizontalRules = true;
  bool frame = true;
  bool wrap = true;

  // Set for each print only.
  int items = FoldersAndFiles;
  bool allPages = true;
  int rangeStart = 1;
  int rangeEnd = 1;

  double sizePoints() const;
  // The gap factor in tenths of a line: 12, 14, 16, 18.
  int gapTenths() const;
  // The pages printed: all (1 to 32767), or start to end where an end below
  // the start counts as 32767.
  int firstPage() const;
  int lastPage() const;

  // The eleven stored settings; a check box takes the lowest bit of its
  // value, a non-zero RomanFont chooses Mincho, an index outside its list
  // takes the default.
  static PrintSettings fromOptions(const OptionStore& options);
  // Writes all eleven keys (-1 / 0 for the switches, list indexes as numbers).
  void toOptions(OptionStore& options) const;

  // The stored settings agree (items and range aside).
  bool sameStored(const PrintSettings& other) const;
};

}  // namespace zevro
