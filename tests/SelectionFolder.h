#pragma once
// What the tests of the selection list and the genre commands share: a
// catalog folder in a temporary folder with list files made by the test, a
// genre table, the catalog index and the selection list over them.
#include <optional>
#include <string>

#include "CatalogTestFiles.h"
#include "TempFolder.h"
#include "core/CatalogIndex.h"
#include "core/GenreTable.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "select/CatalogSelection.h"
#include "select/GenreCommands.h"

namespace zevro::test {

struct SelectionFolder {
  TempFolder temp{"zevro-select"};
  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  NativePath root = temp.root();
  CatalogIndex index{files, root};
  GenreTable genres;
  std::optional<CatalogSelection> selection;
  std::optional<GenreCommands> commands;

  // A list file whose title line has this label and title.
  void list(const std::string& name, TextView title, TextView label = u"LABEL") {
    temp.put(name, testfiles::currentListFile(label, title));
  }
  void genre(int g, TextView name, int position, char16_t state = GenreTable::Open) {
    genres.setName(g, name);
    genres.setPosition(g, position);
    genres.setState(g, state);
  }
  void writeGenres() { ASSERT_FALSE(genres.write(files, root)); }
  // The index loaded and the list built, as the selection window does.
  CatalogSelection& open(bool byTitle = false, int media = selection::MediaAll) {
    index.load();
    selection.emplace(CatalogSelection::Services{files, index, genres, root, {}, {}});
    selection->setSortByTitle(byTitle);
    selection->setMediaMode(media);
    selection->build();
    commands.emplace(*selection, platform);
    return *selection;
  }
  std::string genreBytes() { return temp.get(GenreTable::FileName); }
  GenreTable onDisk() { return GenreTable::decode(genreBytes()); }
};

}  // namespace zevro::test
