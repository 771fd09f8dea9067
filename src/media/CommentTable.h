#pragma once
// The comments that index files, settings files and an audio CD's player
// settings give to folders and files the walk has not come to yet, keyed by
// the lower-case catalog path (ASCII letters folded, as everywhere a catalog
// path is compared): u"e:\\tools\\setup.exe" -> u"インストーラ". The first
// entry of a path wins; later ones are ignored. Lives for one reading.
//
// A hash map rather than one text searched from the start for every row: a
// bulletin-board index of 30,000 lines would make each of 30,000 files scan
// the whole table.
#include <cstddef>
#include <optional>
#include <unordered_map>

#include "text/Text.h"

namespace zevro {

class CommentTable {
public:
  // The key of a path: ASCII letters lower-cased, nothing else changed.
  static Text keyOf(TextView path);

  // Adds the comment for the path unless the path has one; TABs of the
  // comment become blanks. True when it was added.
  bool add(TextView path, TextView comment);
  // The comment of the path, or nothing.
  std::optional<TextView> find(TextView path) const;
  // The same for folder + "\\" + name, without joining them first.
  std::optional<TextView> find(TextView folder, TextView name) const;
  std::size_t size() const { return entries_.size(); }
  // Room for that many more entries (an index about to be read).
  void reserve(std::size_t more) { entries_.reserve(entries_.size() + more); }
  void clear() { entries_.clear(); }

private:
  std::unordered_map<Text, Text> entries_;
  mutable Text key_;  // the key being looked up, kept to spare an allocation per file
};

}  // namespace zevro
