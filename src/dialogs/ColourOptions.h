#pragma once
// The colours of the lists as the options window edits them: fourteen named
// colours and twelve level colours, each 0x00BBGGRR, read from the option
// store with the program's defaults.
//
//   swatch  key            default      name shown
//   0       ListForeCol    0            "・リストの文字の色"
//   3       SelBackCol     0x8000000D   "・選択されたリストの背景色"  (the desktop's)
//   5       CsrBackCol     15269832     "・カーソルセルの背景色"
//   level 1 ForeColor1     0x800000     "Level 1"
//
// The desktop's selection colours (0x8000000D, 0x8000000E) stay those values
// here; only drawing resolves them. What OK stores (write):
//   - the fourteen named keys, each in the signed form older versions read
//     back: an untouched SelBackCol is "-2147483635" whether the file held
//     "-2147483635", "2147483661" or nothing; a picked colour is its RGB;
//   - "ForeColor" + n only for the levels whose colour changed.
// Cancel stores nothing: the caller simply drops the object.
#include <array>
#include <cstdint>

#include "core/OptionStore.h"
#include "text/Text.h"

namespace zevro {

class ColourOptions {
public:
  static constexpr int NamedCount = 14;
  static constexpr int LevelCount = 12;

  struct Named {
    TextView key;      // u"CsrBackCol"
    TextView caption;  // u"・カーソルセルの背景色"
  };
  // The swatches in their order, 0 to 13.
  static const std::array<Named, NamedCount>& named();
  // The label of a level colour: 1 -> u"Level 1", 12 -> u"Level 12".
  static Text levelCaption(int level);

  static ColourOptions read(const OptionStore& store);

  // Swatch 0..13; level 1..12. Values outside give 0 and are not set.
  std::uint32_t namedColour(int swatch) const;
  std::uint32_t levelColour(int level) const;
  void setNamedColour(int swatch, std::uint32_t colour);
  void setLevelColour(int level, std::uint32_t colour);

  // Whether a level's colour differs from the one read.
  bool levelChanged(int level) const;

  // What OK stores (see above); the store saves it later.
  void write(OptionStore& store) const;

private:
  std::array<std::uint32_t, NamedCount> named_{};
  std::array<std::uint32_t, LevelCount> levels_{};
  std::array<std::uint32_t, LevelCount> levelsRead_{};
};

}  // namespace zevro
