#include "search/SharedSearch.h"

#include "core/OptionKeys.h"
#include "core/TermHistory.h"

namespace zevro {

namespace {

bool MatchSwitches::*memberOf(SwitchKind kind) {
  switch (kind) {
    case SwitchKind::Case: return &MatchSwitches::caseFold;
    case SwitchKind::Width: return &MatchSwitches::widthFold;
    case SwitchKind::Pattern: return &MatchSwitches::pattern;
    case SwitchKind::WholeWord: return &MatchSwitches::wholeWord;
  }
  return &MatchSwitches::caseFold;
}

constexpr SwitchKind AllKinds[] = {SwitchKind::Case, SwitchKind::Width, SwitchKind::Pattern, SwitchKind::WholeWord};

TextView optionOf(SwitchKind kind) {
  switch (kind) {
    case SwitchKind::Case: return opt::AlphaSame;
    case SwitchKind::Width: return opt::HanZenSame;
    case SwitchKind::Pattern: return opt::UseWildCard;
    case SwitchKind::WholeWord: return opt::FindTerm;
  }
  return opt::AlphaSame;
}

}  // namespace

void SharedSearch::setWords(std::vector<Text> words) {
  if (words.size() > termhistory::Limit) words.resize(termhistory::Limit);
  words_ = std::move(words);
  selected_ = -1;
  changed();
}

bool SharedSearch::commitWord(TextView text) {
  if (!termhistory::commit(words_, text)) return false;
  selected_ = 0;
  changed();
  return true;
}

void SharedSearch::selectWord(int index) {
  if (index < -1 || index >= static_cast<int>(words_.size())) return;
  selected_ = index;
  changed();
}

void SharedSearch::clearWords() {
  words_.clear();
  selected_ = -1;
  changed();
}

bool SharedSearch::isOn(SwitchKind kind) const { return switches_.*memberOf(kind); }

void SharedSearch::set(SwitchKind kind, bool on) {
  if (isOn(kind) == on) return;
  switches_.*memberOf(kind) = on;
  changed();
}

bool SharedSearch::menuChecked(SwitchKind kind) const {
  const bool on = isOn(kind);
  return kind == SwitchKind::Case || kind == SwitchKind::Width ? !on : on;
}

void SharedSearch::readSwitches(const OptionStore& options) {
  for (SwitchKind kind : AllKinds) switches_.*memberOf(kind) = opt::readBoolean(options, optionOf(kind));
  changed();
}

void SharedSearch::writeSwitches(OptionStore& options) const {
  for (SwitchKind kind : AllKinds) options.writeBoolean(optionOf(kind), isOn(kind));
}

void SharedSearch::changed() {
  for (const auto& observer : observers_) observer();
}

}  // namespace zevro
