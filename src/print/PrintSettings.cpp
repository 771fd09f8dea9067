#include "print/PrintSettings.h"

#include "core/OptionKeys.h"

namespace zevro {

namespace {

constexpr double Sizes[PrintSettings::SizeCount] = {9, 9.75, 10.5, 11.25, 12};
constexpr int GapTenths[PrintSettings::GapCount] = {12, 14, 16, 18};

int indexIn(int value, int count, int fallback) { return value >= 0 && value < count ? value : fallback; }

bool lowBit(const OptionStore& options, TextView key) { return (opt::readNumber(options, key) & 1) != 0; }

}  // namespace

double PrintSettings::sizePoints() const { return Sizes[indexIn(sizeIndex, SizeCount, 1)]; }

int PrintSettings::gapTenths() const { return GapTenths[indexIn(gapIndex, GapCount, 1)]; }

int PrintSettings::firstPage() const { return allPages ? 1 : rangeStart; }

int PrintSettings::lastPage() const {
  if (allPages || rangeEnd < rangeStart) return MaxPage;
  return rangeEnd;
}

PrintSettings PrintSettings::fromOptions(const OptionStore& options) {
  PrintSettings s;
  s.mincho = opt::readNumber(options, opt::RomanFont) != 0;
  s.bold = lowBit(options, opt::BoldFont);
  s.sizeIndex = indexIn(opt::readNumber(options, opt::SizeIndex), SizeCount, 1);
  s.gapIndex = indexIn(opt::readNumber(options, opt::GapIndex), GapCount, 1);
  s.tree = lowBit(options, opt::PrnTree);
  s.comment = lowBit(options, opt::PrnComment);
  s.swap = lowBit(options, opt::SwapDate);
  s.verticalRules = lowBit(options, opt::PrnVline);
  s.horizontalRules = lowBit(options, opt::PrnHline);
  s.frame = lowBit(options, opt::PrnFrame);
  s.wrap = lowBit(options, opt::PrnWrap);
  return s;
}

void PrintSettings::toOptions(OptionStore& options) const {
  options.writeNumber(opt::RomanFont, mincho ? -1 : 0);
  options.writeNumber(opt::BoldFont, bold ? -1 : 0);
  options.writeNumber(opt::SizeIndex, sizeIndex);
  options.writeNumber(opt::GapIndex, gapIndex);
  options.writeNumber(opt::PrnTree, tree ? -1 : 0);
  options.writeNumber(opt::PrnComment, comment ? -1 : 0);
  options.writeNumber(opt::SwapDate, swap ? -1 : 0);
  options.writeNumber(opt::PrnVline, verticalRules ? -1 : 0);
  options.writeNumber(opt::PrnHline, horizontalRules ? -1 : 0);
  options.writeNumber(opt::PrnFrame, frame ? -1 : 0);
  options.writeNumber(opt::PrnWrap, wrap ? -1 : 0);
}

bool PrintSettings::sameStored(const PrintSettings& o) const {
  return mincho == o.mincho && bold == o.bold && sizeIndex == o.sizeIndex && gapIndex == o.gapIndex &&
         tree == o.tree && comment == o.comment && swap == o.swap && verticalRules == o.verticalRules &&
         horizontalRules == o.horizontalRules && frame == o.frame && wrap == o.wrap;
}

}  // namespace zevro
