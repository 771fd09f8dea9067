#include "dialogs/ColourOptions.h"

#include <string>

#include "core/OptionKeys.h"
#include "core/OptionValue.h"

namespace zevro {

namespace {

const std::array<ColourOptions::Named, ColourOptions::NamedCount> Table{{
    {opt::ListForeCol, u"・リストの文字の色"},
    {opt::ListBackCol, u"・リストの背景色"},
    {opt::SelForeCol, u"・選択されたリストの文字の色"},
    {opt::SelBackCol, u"・選択されたリストの背景色"},
    {opt::CsrForeCol, u"・カーソルセルの文字の色"},
    {opt::CsrBackCol, u"・カーソルセルの背景色"},
    {opt::ListHLineCol, u"・リストの横線の色"},
    {opt::ListVLineCol, u"・リストの縦線の色"},
    {opt::TitleForeColL, u"・Dir枠ヘッダーの文字の色"},
    {opt::TitleBackColL, u"・Dir枠ヘッダーの背景色"},
    {opt::TitleForeColF, u"・File枠ヘッダーの文字の色"},
    {opt::TitleBackColF, u"・File枠ヘッダーの背景色"},
    {opt::TitleForeColS, u"・全検索ヘッダーの文字の色"},
    {opt::TitleBackColS, u"・全検索ヘッダーの背景色"},
}};

bool validSwatch(int swatch) { return swatch >= 0 && swatch < ColourOptions::NamedCount; }
bool validLevel(int level) { return level >= 1 && level <= ColourOptions::LevelCount; }
std::size_t at(int index) { return static_cast<std::size_t>(index); }

// The colour in the signed 32-bit form older versions write and read back.
// A value they could not read ("2147483661" overflows their number type)
// or a key without a value is written anew; one already in that form stays
// as it is, spelling and all.
void writeSigned(OptionStore& store, TextView key, std::uint32_t colour) {
  const std::int64_t wanted = static_cast<std::int32_t>(colour);
  if (store.has(key) && optval::leadingNumber(store.readText(key, u"")) == wanted) return;
  store.writeText(key, optval::colourText(colour));
}

}  // namespace

const std::array<ColourOptions::Named, ColourOptions::NamedCount>& ColourOptions::named() { return Table; }

Text ColourOptions::levelCaption(int level) { return Text(u"Level ") + ascii(std::to_string(level)); }

ColourOptions ColourOptions::read(const OptionStore& store) {
  ColourOptions c;
  for (int i = 0; i < NamedCount; ++i) c.named_[at(i)] = opt::readColour(store, Table[at(i)].key);
  for (int level = 1; level <= LevelCount; ++level)
    c.levels_[at(level - 1)] = opt::readColour(store, opt::foreColorKey(level));
  c.levelsRead_ = c.levels_;
  return c;
}

std::uint32_t ColourOptions::namedColour(int swatch) const { return validSwatch(swatch) ? named_[at(swatch)] : 0; }

std::uint32_t ColourOptions::levelColour(int level) const { return validLevel(level) ? levels_[at(level - 1)] : 0; }

void ColourOptions::setNamedColour(int swatch, std::uint32_t colour) {
  if (validSwatch(swatch)) named_[at(swatch)] = colour;
}

void ColourOptions::setLevelColour(int level, std::uint32_t colour) {
  if (validLevel(level)) levels_[at(level - 1)] = colour;
}

bool ColourOptions::levelChanged(int level) const {
  return validLevel(level) && levels_[at(level - 1)] != levelsRead_[at(level - 1)];
}

void ColourOptions::write(OptionStore& store) const {
  for (int i = 0; i < NamedCount; ++i) writeSigned(store, Table[at(i)].key, named_[at(i)]);
  for (int level = 1; level <= LevelCount; ++level) {
    if (levelChanged(level)) writeSigned(store, opt::foreColorKey(level), levels_[at(level - 1)]);
  }
}

}  // namespace zevro
