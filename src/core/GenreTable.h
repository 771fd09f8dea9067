#pragma once
// The genre table "CatJan.CCZ" of the catalog folder: for each of the 20
// genres (numbers 0 to 19, the NN of "_NNCD_label.cct") its place in the
// selection list, whether it is open there, and its name.
//
// The file is CP932 text of fixed layout (offsets in characters):
//     0  200  genre order: genre g at 2g, 2g+1 as two digits ("00", "01" …)
//             or "-1" for a free genre; code 0 after the 40 characters
//   200  100  state string: one character per genre, "3" open, "1" closed by
//             the user, "0" closed; code 0 after the 20 characters
//   300    4  length n of the names text in characters, like "0027"
//   304    n  u"|ゲーム||名前|" … : "|" before every name and after the last
//             (21 separators; a free genre has an empty name)
// Genres 0 ("ゲーム", position 0) and 2 ("名前", position 1) with genre 1
// free start "00-101-1-1…".
//
// A name cannot hold "|" (it would split the names text): it is written as
// the full-width "｜", which looks the same. Control characters are dropped
// (they would show as nothing or break a line). The names text, separators
// included, holds at most 9,999 characters, what its length field can say.
#include <array>
#include <vector>
#include <string>
#include <string_view>

#include "core/OptionStore.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class GenreTable {
public:
  static constexpr const char* FileName = "CatJan.CCZ";
  static constexpr int Count = 20;
  static constexpr int FreePosition = -1;
  static constexpr char16_t Open = u'3';
  static constexpr char16_t ClosedByUser = u'1';
  static constexpr char16_t Closed = u'0';

  static constexpr std::size_t OrderWidth = 200;
  static constexpr std::size_t StateOffset = 200;
  static constexpr std::size_t StateWidth = 100;
  static constexpr std::size_t LengthOffset = 300;
  static constexpr std::size_t LengthWidth = 4;
  static constexpr std::size_t NamesOffset = 304;
  static constexpr std::size_t MaxNamesLength = 9999;

  // A name as the table keeps it: u"a|b\tc" -> u"a｜bc".
  static Text storableName(TextView name);

  // What a catalog folder without CatJan.CCZ takes its genres from: the
  // options JanreOpen (like u"30000000000000000000"; empty: all closed) and
  // Group00 … Group19 (the names; empty when unset).
  struct Options {
    Text janreOpen;
    std::array<Text, Count> groupNames;
  };
  // Those options as the option store holds them.
  static Options optionsFrom(const OptionStore& store);

  // Every genre free and closed.
  GenreTable();

  // g outside 0..19: FreePosition / empty name / Closed; setters ignore it.
  int position(int g) const;
  void setPosition(int g, int position);  // 0..99, or FreePosition
  const Text& name(int g) const;
  void setName(int g, TextView name);
  char16_t state(int g) const;
  void setState(int g, char16_t state);
  bool isOpen(int g) const { return state(g) == Open; }
  bool inUse(int g) const { return position(g) != FreePosition; }
  // The 20 state characters, like u"30000000000000000000".
  const Text& stateString() const { return state_; }

  // The length of the names text in characters, separators included (the
  // four digits at offset 300); with `g` renamed to `name` when g is valid.
  std::size_t namesLength(int g = -1, TextView name = {}) const;
  // The lowest free genre number, -1 when all 20 are in use.
  int lowestFree() const;
  // The position after the highest in use (0 when none is).
  int nextPosition() const;
  // The genre at a position, -1 when none.
  int genreAt(int position) const;
  // Genres in use by position: {4, 0, 2} when 4 comes first.
  std::vector<int> inOrder() const;
  // Positions made consecutive from 0, order kept.
  void renumber();

  // The bytes of CatJan.CCZ.
  std::string encode() const;
  // Reads the bytes leniently: a short or damaged file gives free genres,
  // closed states and empty names where its parts are missing. Names are
  // found by their separators, so a length field counted in bytes reads too.
  static GenreTable decode(std::string_view bytes);

  // The table built from the options: every genre that has a name in
  // Group<NN>, or list files ("_NN?D_*.CCT") in the catalog folder (then
  // named like u"ジャンル07"), in genre order; when none does, genres 0, 1
  // and 2 named u"ジャンル00" … u"ジャンル02".
  static GenreTable migrate(FileSystem& files, const NativePath& catalogFolder, const Options& options);

  struct Loaded;
  // Reads CatJan.CCZ; when it is missing, migrates and writes it, the look
  // and the write under the write lock of programFolder (empty: none), so
  // that a table another program wrote meanwhile is never replaced.
  static Loaded load(FileSystem& files, const NativePath& catalogFolder, const Options& options,
                     const NativePath& programFolder = {});

  // Replaces CatJan.CCZ atomically (a file spelled in another case is
  // replaced), under the write lock of programFolder (empty: none). A names
  // text over MaxNamesLength is refused (EOVERFLOW), the file left as it was.
  IoError write(FileSystem& files, const NativePath& catalogFolder, const NativePath& programFolder = {}) const;

  bool operator==(const GenreTable&) const = default;

private:
  std::array<int, Count> positions_;
  std::array<Text, Count> names_;
  Text state_;
};

struct GenreTable::Loaded {
  GenreTable table;
  bool migrated = false;  // built from the options
  IoError error;          // reading the file, or writing the migrated one
};

}  // namespace zevro
