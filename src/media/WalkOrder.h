#pragma once
// The order of the files in a walk, as the option RecordSort numbers it.
#include <optional>

#include "core/ListSort.h"

namespace zevro {

// The order of the files of each folder in a walk, numbered as the option
// RecordSort stores it: 0 by name, 1 by extension, 2 by kind group.
enum class WalkOrder : int {
  Name = 0,
  Extension = 1,
  Kind = 2,
};

constexpr int optionValue(WalkOrder order) { return static_cast<int>(order); }
// The order an option value names; nothing for a value that names none.
constexpr std::optional<WalkOrder> walkOrderOf(int option) {
  if (option < optionValue(WalkOrder::Name) || option > optionValue(WalkOrder::Kind)) return std::nullopt;
  return static_cast<WalkOrder>(option);
}

// The order a list read in a walk order is recorded in (its list file's
// sort digit): by name 0 -> 2, by extension 1 -> 3, by kind 2 -> 4.
constexpr ListSort listSortOf(WalkOrder order) {
  switch (order) {
    case WalkOrder::Name: return ListSort::Name;
    case WalkOrder::Extension: return ListSort::Extension;
    case WalkOrder::Kind: return ListSort::Kind;
  }
  return ListSort::None;
}

}  // namespace zevro
