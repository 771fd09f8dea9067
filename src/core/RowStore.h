#pragma once
// One list in memory: a text heap that carries the records of all rows back
// to back, plus parallel per-row byte blocks and arrays. Every list of the
// program (folder pane, file pane, catalog selection, search results) is one.
//
// A record is a run of fields, field k introduced by the marker 16 + k
// (the record format is in Record.h):
//   u"\x10README.TXT\x11Read me first\x12" u"03/04/05 12:34\x13" u"1,234\x14" u"0"
// is a record with name "README.TXT", comment "Read me first", date
// "03/04/05 12:34", size "1,234" and flag character "0"; fields 5 to 7 are
// absent and read as empty.
//
// Heap positions are 0-based here: the first record starts at index 0 (the
// list file counts the same character as position 1). start(r) is the index
// of row r's record, start(rowCount()) == endPosition() is the index of the
// end marker (code 0). heap() shows the used part including that marker.
//
// Levels, tree flags, kind codes, colour indexes and highlight marks are
// bytes (one per stored row), never decoded text: the list file stores them
// byte for byte. Levels above 127 are refused when a row is appended, because
// readers that treat the level block as single-byte text would take a level
// of 128 or more as the lead byte of a double-byte character.
//
// Capacity: rowCapacity() and heapCapacity() report the room a list file
// saves as spare (500 rows and 65,536 characters for a cleared store, grown
// in steps of 1,024 rows and 32,768 characters). The memory behind them grows
// geometrically (by a quarter, with realloc, see GrowBuffer.h), so appending a
// million rows stays linear and the spare memory small.
//
// Views (TextView, std::string_view) returned by the store are valid until
// the next change of the store.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/GrowBuffer.h"
#include "core/ListSort.h"
#include "core/Record.h"
#include "text/Text.h"

namespace zevro {

class RowStore {
public:
  // Gets "Grid_ExpandListSize: " + the error text when room cannot be found.
  using ErrorHandler = std::function<void(TextView message)>;

  static constexpr int DefaultCapacity = 500;
  static constexpr int RowGrowth = 1024;
  static constexpr int LoadRowGrowth = 100;
  static constexpr int InitialHeapCapacity = 65536;
  static constexpr int HeapGrowth = 32768;
  static constexpr int HeapMinFree = 256;
  static constexpr int SetFieldHeapGrowth = 4096;
  static constexpr int MaxLevel = 127;
  static constexpr int MaxField = record::MaxField;  // markers 16..31
  static constexpr int BaseIndent = 6;
  static constexpr int DefaultIndentWidth = 16;
  // Positions are 32-bit; room is refused beyond this many rows or characters.
  static constexpr std::int64_t MaxPositions = 0x7FFFFFF0;

  explicit RowStore(int capacity = DefaultCapacity);

  // Empties the store: no rows, no display rows, no selection, not modified,
  // room for `capacity` rows and 65,536 heap characters. Settings (tree mode,
  // folder-aware, indent width, sort order, error handler) stay.
  void clear(int capacity = DefaultCapacity);

  // Appends a stored row and a display row showing it. `record` starts with
  // the code-16 marker and contains no code 0 and no second code 16 (else it
  // would split or end the heap): such a record, a level outside 0..127 or a
  // failed growth (reported like expandListSize) is refused with false and
  // no row is added.
  // colour 0..15, highlight 0 / 2 / 6, kind per CatalogList.h, level 0..127.
  bool appendShown(TextView record, int colour, int highlight, int kind, int level);
  // Appends a stored row without a display row, with the given tree flags
  // (then updated like those of a shown row).
  bool appendHidden(TextView record, int colour, int highlight, int kind, int level, int treeFlags);
  // Appends stored rows first..end-1 of `from` (another store) as shown
  // rows, their levels lowered by `levelUp`, with their kinds and colours,
  // no highlight and tree flags 0 (deriveIndexAndTreeFlags gives them
  // theirs): the records are copied in one piece, and the room grows as
  // appending them one by one would grow it. A level that would fall
  // outside 0..127, a range outside `from` or a failed growth is refused
  // with false and no row is added.
  bool appendRowsOf(const RowStore& from, int first, int end, int levelUp);

  // Field k (0..15) of stored row r; empty outside 0..rowCount()-1 or when the
  // field is absent. The field runs to the next marker (16..31) or record end.
  TextView fieldView(int k, int row) const;
  Text field(int k, int row) const { return Text(fieldView(k, row)); }
  // All fields of a row in one pass (what a grid row draws): out[k] = field k
  // for k < out.size(), empty when absent. Returns the number of fields the
  // record has (highest marker + 1), 0 outside the range.
  int fieldsOf(int row, std::span<TextView> out) const;
  // The same through the display order; empty outside 0..shownCount()-1.
  TextView shownFieldView(int k, int displayRow) const;
  Text shownField(int k, int displayRow) const { return Text(shownFieldView(k, displayRow)); }
  // The whole record of a stored row (markers included); empty outside.
  TextView record(int row) const;

  // Replaces field k of stored row r with `text`; missing markers up to k are
  // added. Control characters other than CR and LF (multi-line comments keep
  // CR LF) are stored as their escape text ("&#x0010;" for 16), so no text
  // can break a record. False for a row or field outside range or a failed
  // growth (store unchanged). Later records move; their start positions follow.
  bool setField(int k, int row, TextView text);

  // Field k of many rows at once, rows ascending (the size pass gives every
  // folder its total this way): {{0, u"1,234,682"}, {3, u"1,234,667"}}.
  // Replacing fields one by one would move the rest of the heap for every
  // row; this writes the heap once. Rows that have the field get the new
  // text in that one pass, the heap is cut to its used length and the index
  // rebuilt as after a load (display order = stored order, no selection, no
  // highlights, row room as a load of these rows gives); rows lacking the
  // field get it with setField afterwards. The modified mark is kept.
  // Nothing happens when every text is already there. The texts are stored
  // as given (no escaping); false when memory runs out.
  struct FieldText {
    int row;
    TextView text;
  };
  bool setFieldOfRows(int k, std::span<const FieldText> rows);

  // Names (field 0) of the row and its ancestors from level `lowestLevel`
  // down to the row, joined with "\": row MANUAL.TXT (level 2) in folder DOCS
  // (level 1) from level 1 gives u"DOCS\\MANUAL.TXT". Empty for a row outside.
  Text rowPath(int row, int lowestLevel) const;
  // Stored row reached by following a "\"-separated path from the rows of
  // `firstLevel`, first match at each step, no backtracking; 0 for an empty
  // path, -1 when not found. Names compare exactly (case-sensitive).
  int findRowByPath(TextView path, int firstLevel) const;
  // Display row showing stored row r, or -1.
  int displayRowOf(int row) const;

  // Rebuilds start positions, counts, indents and an identity display order
  // from the heap and the level block (after loading). Stops at the first
  // code 0 or at the end of the heap data; short blocks are padded with 0.
  // False (and an empty store) when memory runs out.
  bool rebuildIndex();
  // rebuildIndex, then tree flags bits 1 and 2 from levels and kinds (after a
  // scan or a conversion); bits 8, 16 and 32 are kept.
  bool deriveIndexAndTreeFlags();

  // Fills the store from a list file's blocks, then rebuilds the index.
  // heap: records + end marker + spare (code 0); the byte blocks are the
  // level string, tree flags, kind codes and colour indexes, each normally
  // rowCapacity() + 1 long. The capacities become those of the blocks.
  bool loadBlocks(TextView heap, std::string_view levels, std::string_view treeFlags, std::string_view kinds,
                  std::string_view colours);
  // The same, with the heap written straight into the store by `fillHeap`,
  // which gets room for `heapRoom` characters and returns how many it wrote
  // (a list file's heap is decoded in place this way, without a second copy).
  bool loadBlocks(std::size_t heapRoom, const std::function<std::size_t(char16_t*)>& fillHeap, std::string_view levels,
                  std::string_view treeFlags, std::string_view kinds, std::string_view colours);

  // Adds room for `rows` more rows to every per-row part. On failure the
  // error handler gets "Grid_ExpandListSize: " + the error text, the
  // capacity stays and the result is false.
  bool expandListSize(int rows);

  // Removes stored rows first..first+count-1 with their records; display rows
  // showing them leave the display order, later stored indexes move down.
  // Tree flags of the neighbours are left to the caller.
  void eraseRows(int first, int count);

  // ---- Per stored row (row outside range: 0, setters ignore it) ----
  int rowCount() const { return static_cast<int>(starts_.size()) - 1; }
  int start(int row) const;
  int level(int row) const { return byteAt(levels_, row); }
  int treeFlags(int row) const { return byteAt(flags_, row); }
  void setTreeFlags(int row, int flags) { setByte(flags_, row, flags); }
  int kind(int row) const { return byteAt(kinds_, row); }
  void setKind(int row, int kind) { setByte(kinds_, row, kind); }
  int colour(int row) const { return byteAt(colours_, row); }
  void setColour(int row, int colour) { setByte(colours_, row, colour); }
  int highlight(int row) const { return byteAt(highlights_, row); }
  void setHighlight(int row, int mark) { setByte(highlights_, row, mark); }
  void clearHighlights();
  // x offset in pixels of the row's first column: level * indentWidth() + 6.
  int indent(int row) const;
  void setIndent(int row, int px);  // flat sorts put every row at BaseIndent
  void recomputeIndents();

  // ---- Display rows ----
  int shownCount() const { return static_cast<int>(order_.size()); }
  // Stored row shown at a display row, -1 outside.
  int storedRowAt(int displayRow) const;
  std::span<const std::int32_t> displayOrder() const { return {order_.data(), order_.size()}; }
  // Replaces the display order; selection cleared, display flags copied
  // from the tree flags. Entries outside the stored rows are dropped.
  void setDisplayOrder(std::vector<std::int32_t> order);
  // Splices display rows in place (expanding / collapsing a folder): the new
  // rows are unselected with display flags copied from their tree flags.
  void insertDisplayRows(int at, std::span<const std::int32_t> rows);
  void eraseDisplayRows(int at, int count);
  bool selected(int displayRow) const;
  void setSelected(int displayRow, bool on);
  void clearSelection();
  int selectedCount() const { return selectedCount_; }
  int displayFlags(int displayRow) const { return byteAt(displayFlags_, displayRow); }
  void setDisplayFlags(int displayRow, int flags) { setByte(displayFlags_, displayRow, flags); }

  // ---- Blocks for the list file (write each padded with code 0 to its capacity) ----
  TextView heap() const { return TextView(heap_.data(), heap_.size()); }  // ends with code 0
  int endPosition() const { return static_cast<int>(heap_.size()) - 1; }
  int heapCapacity() const { return heapCapacity_; }              // characters, spare included
  int rowCapacity() const { return rowCapacity_; }                // blocks hold rowCapacity() + 1
  std::string_view levelBlock() const { return bytes(levels_); }  // rowCount() bytes
  std::string_view treeFlagBlock() const { return bytes(flags_); }
  std::string_view kindBlock() const { return bytes(kinds_); }
  std::string_view colourBlock() const { return bytes(colours_); }
  // The heap of the current record format starts with the code-16 marker
  // (older lists start otherwise and must be converted first); false for an
  // empty store.
  bool hasCurrentFormat() const { return heap_.front() == record::FirstMarker; }

  // ---- Settings ----
  ListSort sortOrder() const { return sortOrder_; }  // the order the rows were recorded in
  void setSortOrder(ListSort order) { sortOrder_ = order; }
  bool modified() const { return modified_; }
  void setModified(bool on) { modified_ = on; }
  // Tree mode: appending keeps tree flags bits 1 and 2 of earlier rows.
  bool treeMode() const { return treeMode_; }
  void setTreeMode(bool on) { treeMode_ = on; }
  // Folder-aware (catalog lists): bit 1 only when a folder-like row (kind
  // 0..5) lies in the subtree.
  bool folderAware() const { return folderAware_; }
  void setFolderAware(bool on) { folderAware_ = on; }
  int indentWidth() const { return indentWidth_; }
  void setIndentWidth(int px);  // recomputes every indent
  void setErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }

  // Memory held by the heap and the per-row arrays, in bytes.
  std::size_t allocatedBytes() const;

  // Text made safe for a field: control characters other than CR and LF
  // become their escape text.
  static Text escapeFieldText(TextView text);

private:
  struct FieldSpot {
    bool present = false;
    std::size_t begin = 0;  // field text [begin, end); absent: where its marker would go
    std::size_t end = 0;
    int highest = -1;  // highest field seen before that place
  };
  FieldSpot locate(int k, int row) const;
  bool append(TextView record, int colour, int highlight, int kind, int level, int treeFlags, bool shown);
  bool ensureRowRoom(std::size_t rows, std::size_t shown);
  bool ensureHeapRoom(std::size_t chars);
  void growHeapCapacityFor(std::int64_t used);
  void markLastOfSiblings(int newRow, int newLevel);
  void padBlocks();
  void report(const char* what) const;
  int computeIndent(int level) const;
  int levelAt(int row) const { return static_cast<unsigned char>(levels_[static_cast<std::size_t>(row)]); }
  bool nameIs(int row, TextView name) const;
  using Bytes = GrowBuffer<char>;
  static std::string_view bytes(const Bytes& block) { return {block.data(), block.size()}; }
  static int byteAt(const Bytes& block, int i);
  static void setByte(Bytes& block, int i, int value);

  GrowBuffer<char16_t> heap_;        // records, then the end marker
  GrowBuffer<std::int32_t> starts_;  // rowCount + 1 entries
  Bytes levels_;
  Bytes flags_;
  Bytes kinds_;
  Bytes colours_;
  Bytes highlights_;
  GrowBuffer<std::int16_t> indents_;
  GrowBuffer<std::int32_t> order_;  // display row -> stored row
  GrowBuffer<std::uint8_t> selected_;
  Bytes displayFlags_;
  int selectedCount_ = 0;
  int rowCapacity_ = DefaultCapacity;
  int heapCapacity_ = InitialHeapCapacity;
  ListSort sortOrder_ = ListSort::None;
  bool modified_ = false;
  bool treeMode_ = false;
  bool folderAware_ = false;
  int indentWidth_ = DefaultIndentWidth;
  ErrorHandler onError_;
};

}  // namespace zevro
