#pragma once
// What the main window and the search window share: the search-word history
// behind the main window's find box and the search window's first term box,
// and the four matching switches. Both windows observe one object; a change
// from either side tells every observer, which redraws its box, its lamps
// or its menu check marks.
//
//   SharedSearch shared;
//   shared.observe([&] { redrawLamps(); });
//   shared.commitWord(u"readme");          // top of the history, selected
//   shared.toggle(SwitchKind::Case);       // AlphaSame on
//   shared.menuChecked(SwitchKind::Case)   // false: the menu marks "distinguish case"
#include <functional>
#include <vector>

#include "core/OptionStore.h"
#include "search/MatchSwitches.h"
#include "text/Text.h"

namespace zevro {

enum class SwitchKind { Case, Width, Pattern, WholeWord };

class SharedSearch {
public:
  // ---- the history ----
  const std::vector<Text>& words() const { return words_; }
  int selectedWord() const { return selected_; }
  void setWords(std::vector<Text> words);
  // Commits text at the top (core/TermHistory.h) and selects it; false and
  // nothing changes for an empty text.
  bool commitWord(TextView text);
  // Selects an entry (-1 none); nothing for an index outside the list.
  void selectWord(int index);
  void clearWords();

  // ---- the switches ----
  const MatchSwitches& switches() const { return switches_; }
  bool isOn(SwitchKind kind) const;
  void set(SwitchKind kind, bool on);
  void toggle(SwitchKind kind) { set(kind, !isOn(kind)); }
  // The check mark of the switch's menu item: the items of case and width
  // say "distinguish", so they are checked while folding is off; pattern and
  // whole-word items are checked while the switch is on.
  bool menuChecked(SwitchKind kind) const;
  // The lamp of the search window: lit while case or width are told apart,
  // while patterns or whole words are on (the same as the check mark).
  bool lampLit(SwitchKind kind) const { return menuChecked(kind); }

  // Options AlphaSame, HanZenSame, UseWildCard, FindTerm.
  void readSwitches(const OptionStore& options);
  void writeSwitches(OptionStore& options) const;

  // Called after every change of the words, the selection or a switch.
  void observe(std::function<void()> observer) { observers_.push_back(std::move(observer)); }

private:
  void changed();

  std::vector<Text> words_;
  int selected_ = -1;
  MatchSwitches switches_;
  std::vector<std::function<void()>> observers_;
};

}  // namespace zevro
