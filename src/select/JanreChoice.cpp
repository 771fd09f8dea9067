#include "select/JanreChoice.h"

namespace zevro {

namespace {

std::vector<JanreChoice::Entry> entriesOf(const GenreTable& genres) {
  std::vector<JanreChoice::Entry> entries;
  for (int g : genres.inOrder()) entries.push_back({genres.name(g), g, false});
  return entries;
}

}  // namespace

JanreChoice JanreChoice::single(const GenreTable& genres, int current, TextView prompt) {
  JanreChoice c;
  c.entries = entriesOf(genres);
  c.prompt = Text(prompt);
  for (Entry& e : c.entries) e.selected = e.genre == current;
  return c;
}

JanreChoice JanreChoice::several(const GenreTable& genres, TextView janreList, TextView prompt) {
  JanreChoice c;
  c.entries = entriesOf(genres);
  c.multiple = true;
  c.prompt = Text(prompt);
  for (Entry& e : c.entries) {
    const auto at = static_cast<std::size_t>(e.genre);
    e.selected = at < janreList.size() && janreList[at] == u'1';
  }
  return c;
}

void JanreChoice::select(std::size_t entry, bool on) {
  if (entry >= entries.size()) return;
  if (!multiple && on)
    for (Entry& e : entries) e.selected = false;
  entries[entry].selected = on;
}

std::vector<int> JanreChoice::chosen() const {
  std::vector<int> genres;
  for (const Entry& e : entries)
    if (e.selected) genres.push_back(e.genre);
  return genres;
}

Text JanreChoice::janreListOf(const std::vector<int>& genres) {
  Text list(GenreTable::Count, u'0');
  for (int g : genres)
    if (g >= 0 && g < GenreTable::Count) list[static_cast<std::size_t>(g)] = u'1';
  return list;
}

}  // namespace zevro
