#pragma once
// What the genre picker (select/qt/JanreForm) offers and what it answers:
// the genre names in list order, each with its genre number, and the genres
// chosen. One choice moves a catalog; several pick the genres a search reads
// (the 20 characters of JanreList, "1" for a genre searched).
//
//   JanreChoice c = JanreChoice::single(genres, 3);          genre 3 selected
//   JanreChoice c = JanreChoice::several(genres, u"10100000000000000000");
//   … the user picks …
//   c.chosen()            {0, 2}
//   JanreChoice::janreListOf({0, 2})   u"10100000000000000000"
#include <vector>

#include "core/GenreTable.h"
#include "text/Text.h"

namespace zevro {

struct JanreChoice {
  static constexpr TextView Caption = u"ジャンルの選択";
  static constexpr TextView OkCaption = u"OK";
  static constexpr TextView CancelCaption = u"ｷｬﾝｾﾙ";

  struct Entry {
    Text name;
    int genre = 0;
    bool selected = false;
    bool operator==(const Entry&) const = default;
  };
  std::vector<Entry> entries;  // by position
  bool multiple = false;  // several entries may be chosen
  Text prompt;

  // Every genre of the table, the current one selected (none when it is not
  // in the table).
  static JanreChoice single(const GenreTable& genres, int current, TextView prompt = {});
  // Every genre of the table, those with "1" in janreList selected.
  static JanreChoice several(const GenreTable& genres, TextView janreList, TextView prompt = {});

  // Selects an entry; with one choice the others are deselected.
  void select(std::size_t entry, bool on = true);
  // Genre numbers of the selected entries, in list order.
  std::vector<int> chosen() const;
  // Twenty "0" with "1" for every genre given.
  static Text janreListOf(const std::vector<int>& genres);
};

}  // namespace zevro
