#pragma once
// The search of one catalog: the rows of its list file that the request
// finds, in row order, each once, handed out as the fields of their result
// rows.
//
//   CatalogMatcher matcher(request);                 // once per search
//   ListFileBytes file(bytes);                       // per catalog
//   matcher.search(file, u"ゲーム集", [&](ResultFields&& f) { return results.append(i, f); }, pump);
//
// A plain search without folding runs over the file's bytes and decodes only
// the rows where a term's bytes occur; any other search decodes the whole
// heap (a megabyte at a time, pumping between the pieces), folds it as the
// request says and goes from occurrence to occurrence in it. Either way the rows are judged by the same matching
// rules (HitRowFinder), and a row is found by its number, so a heap that
// folding shortened ("ｶﾞ" -> "ガ") still gives the right row's fields.
//
// Fields of a hit row (its record "\x10name\x11comment\x12date\x13size…"):
//   path     the ancestors' names from level 1 down, "\" after each, then
//            the name (the title line's is the volume label)
//   comment  field 1
//   date     field 2 when it starts with a blank or a digit, leading blanks
//            removed; in a two-term search only when it starts with a digit,
//            taken as it is; else empty
// A field ends at the next field marker or at the end of the record.
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "search/ListFileBytes.h"
#include "search/RawTermSearch.h"
#include "search/SearchRequest.h"
#include "search/SearchResults.h"
#include "text/Text.h"

namespace zevro {

class CatalogRows;

class CatalogMatcher {
public:
  // Gets the fields of one hit row; false stops the search.
  using Found = std::function<bool(ResultFields&& fields)>;
  // Lets the window system run during a long catalog; false stops the search.
  using Pump = std::function<bool()>;

  // Candidate positions tried between two pumps in a decoded catalog.
  static constexpr std::size_t PumpBudget = 1 << 20;
  // Bytes of a catalog decoded (and folded) between two pumps.
  static constexpr std::size_t PieceBytes = 1 << 20;

  // The request must outlive the matcher.
  explicit CatalogMatcher(const SearchRequest& request);

  // Whether catalogs are searched over their bytes (see above).
  bool searchesBytes() const { return raw_.has_value(); }

  // Searches one current-layout file. False when found() or pump() stopped it.
  bool search(ListFileBytes& file, TextView title, const Found& found, const Pump& pump);

  // Searches only the given rows of a current-layout file (ascending; rows
  // it does not hold are left out): the rows an index named as the only
  // ones that can hold a hit. Finds what search() finds among them.
  bool searchRows(ListFileBytes& file, TextView title, const std::vector<int>& rows, const Found& found);

  // The fields of a hit row from its decoded record.
  static ResultFields fieldsOf(TextView title, Text path, TextView record, bool twoTerms);

private:
  bool searchBytes(ListFileBytes& file, TextView title, const Found& found);
  bool searchDecoded(ListFileBytes& file, TextView title, const Found& found, const Pump& pump);
  bool rowHasHit(TextView record) const;
  // text_ := the heap decoded and folded as the request says; false when pump() stopped it.
  bool prepareText(std::string_view heap, const Pump& pump);

  const SearchRequest& request_;
  std::optional<RawTermSearch> raw_;
  // The searched text of a decoded catalog and the pieces it is made of;
  // kept between catalogs so that their room is reused.
  Text text_;
  Text piece_;
  Text folded_;
};

}  // namespace zevro
