#include "select/GenreCommands.h"

#include "core/FileOps.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro {

namespace genrecommands {

Text renamePrompt(TextView oldName) { return Text(RenamePrompt) + Text(oldName); }

Text deleteQuestion(TextView name) {
  Text text(DeleteHead);
  text += u'\x08';
  text += name;
  text += u'\x07';
  text += DeleteMiddle;
  text += u'\x05';
  text += DeleteAsk;
  text += u'\0';
  return text;
}

}  // namespace genrecommands

using namespace genrecommands;

GenreCommands::GenreCommands(CatalogSelection& selection, Platform& platform)
    : selection_(selection), platform_(platform) {}

int GenreCommands::cursorGenre() const {
  const int row = selection_.cursorStoredRow();
  if (!selection_.isGenreRow(row)) return -1;
  const int genre = selection_.genreOfRow(row);
  return CatalogSelection::outsideTable(genre) ? -1 : genre;
}

bool GenreCommands::fits(int genre, TextView name) {
  return selection_.genres().namesLength(genre, name) <= GenreTable::MaxNamesLength;
}

GenreOutcome GenreCommands::written(int cursorGenre) {
  GenreTable& genres = selection_.genres();
  if (IoError error = genres.write(selection_.files(), selection_.catalogFolder(), selection_.programFolder())) {
    platform_.ui.showMessage(fromUtf8(error.text) + u"|" +
                                 cp932::fromNativeName((selection_.catalogFolder() / GenreTable::FileName).native()),
                             mb::Ok | mb::IconExclamation, u"");
    return GenreOutcome::Failed;
  }
  selection_.build();
  if (cursorGenre >= 0) selection_.moveCursorTo(selection_.rowOfGenre(cursorGenre));
  return GenreOutcome::Done;
}

int GenreCommands::add() {
  if (selection_.genres().lowestFree() < 0) {
    platform_.ui.showMessage(FullMessage, mb::Ok | mb::IconExclamation, u"");
    return -1;
  }
  const Text name = platform_.ui.inputLine(AddPrompt, AddTitle, u"");
  if (name.empty()) return -1;
  return addNamed(name);
}

int GenreCommands::addNamed(TextView name, GenreOutcome* outcome) {
  GenreOutcome ignored;
  GenreOutcome& result = outcome ? *outcome : ignored;
  GenreTable& genres = selection_.genres();
  const int genre = genres.lowestFree();
  if (genre < 0) {
    platform_.ui.showMessage(FullMessage, mb::Ok | mb::IconExclamation, u"");
    result = GenreOutcome::Refused;
    return -1;
  }
  const Text stored = GenreTable::storableName(name);
  if (stored.empty() || !fits(genre, stored)) {
    platform_.ui.beep();
    result = GenreOutcome::Refused;
    return -1;
  }
  const GenreTable before = genres;
  genres.setName(genre, stored);
  genres.setPosition(genre, genres.nextPosition());
  genres.setState(genre, GenreTable::Closed);
  result = written(genre);
  if (result != GenreOutcome::Done) {
    genres = before;
    return -1;
  }
  return genre;
}

GenreOutcome GenreCommands::rename(int genre) {
  GenreTable& genres = selection_.genres();
  if (genre < 0 || !genres.inUse(genre)) {
    platform_.ui.beep();
    return GenreOutcome::Refused;
  }
  const Text old = genres.name(genre);
  const Text name = platform_.ui.inputLine(renamePrompt(old), RenameTitle, old);
  if (name.empty()) return GenreOutcome::Unchanged;
  return renameTo(genre, name);
}

GenreOutcome GenreCommands::renameTo(int genre, TextView name) {
  GenreTable& genres = selection_.genres();
  if (genre < 0 || !genres.inUse(genre)) {
    platform_.ui.beep();
    return GenreOutcome::Refused;
  }
  const Text stored = GenreTable::storableName(name);
  if (stored.empty() || stored == genres.name(genre)) return GenreOutcome::Unchanged;
  if (!fits(genre, stored)) {
    platform_.ui.beep();
    return GenreOutcome::Refused;
  }
  const GenreTable before = genres;
  genres.setName(genre, stored);
  const GenreOutcome result = written(genre);
  if (result != GenreOutcome::Done) {
    genres = before;
    return result;
  }
  lastName_ = stored;
  return result;
}

GenreOutcome GenreCommands::remove(int genre, bool ask) {
  GenreTable& genres = selection_.genres();
  if (genre < 0 || !genres.inUse(genre)) {
    platform_.ui.beep();
    return GenreOutcome::Refused;
  }
  // The files decide, not the rows: the media filter may hide some of them.
  if (fileops::fileExists(selection_.files(), selection_.catalogFolder(), u"_" + zeroPadded(genre, 2) + u"?D_*.CCT")) {
    platform_.ui.showMessage(HasListsMessage, mb::Ok | mb::IconExclamation, u"");
    return GenreOutcome::Refused;
  }
  if (ask && platform_.ui.showMessage(deleteQuestion(genres.name(genre)), DeleteFlags, u"") != AnswerYes)
    return GenreOutcome::Unchanged;
  const int position = genres.position(genre);
  const GenreTable before = genres;
  genres.setPosition(genre, GenreTable::FreePosition);
  genres.setName(genre, u"");
  genres.setState(genre, GenreTable::Closed);
  genres.renumber();
  // The cursor goes to the genre that followed, or to the first row.
  const int next = genres.genreAt(position);
  const GenreOutcome result = written(next);
  if (result != GenreOutcome::Done) {
    genres = before;
    return result;
  }
  if (next < 0) selection_.moveCursorTo(0);
  return result;
}

GenreOutcome GenreCommands::moveUp(int genre) { return swapPlaces(genre, -1); }

GenreOutcome GenreCommands::moveDown(int genre) { return swapPlaces(genre, +1); }

GenreOutcome GenreCommands::swapPlaces(int genre, int step) {
  GenreTable& genres = selection_.genres();
  if (genre < 0 || !genres.inUse(genre)) {
    platform_.ui.beep();
    return GenreOutcome::Refused;
  }
  // The first genre has none above it, the last none below.
  const int b = genres.position(genre);
  const int other = genres.genreAt(b + step);
  if (other < 0) return GenreOutcome::Unchanged;
  const GenreTable before = genres;
  genres.setPosition(other, b);
  genres.setPosition(genre, b + step);
  const GenreOutcome result = written(genre);
  if (result != GenreOutcome::Done) genres = before;
  return result;
}

CatalogMove moveCatalog(Platform& platform, CatalogIndex& index, const NativePath& catalogFolder, TextView fileName,
                        int genre) {
  CatalogMove move;
  FileSystem& files = platform.files;
  const std::optional<std::string> onDisk = files.resolveName(catalogFolder, cp932::toNativeName(fileName));
  if (!onDisk) {
    move.outcome = GenreOutcome::Failed;
    return move;
  }
  move.oldName = cp932::fromNativeName(*onDisk);
  const std::optional<int> current = selection::genreDigits(move.oldName);
  if (!current || genre < 0 || genre >= GenreTable::Count) {
    platform.ui.beep();
    move.outcome = GenreOutcome::Refused;
    return move;
  }
  if (*current == genre) return move;
  const Text newName = selection::renamedToGenre(move.oldName, genre);
  // A rename would replace a catalog already there under that name.
  if (files.resolveName(catalogFolder, cp932::toNativeName(newName))) {
    platform.ui.showMessage(Text(MoveClashMessage) + newName, mb::Ok | mb::IconExclamation, u"");
    move.outcome = GenreOutcome::Refused;
    return move;
  }
  if (IoError error = files.renameFile(catalogFolder / *onDisk, catalogFolder / cp932::toNativeName(newName))) {
    platform.ui.systemMessage(fromUtf8(error.text), mb::Ok, u"");
    move.outcome = GenreOutcome::Failed;
    return move;
  }
  move.newName = newName;
  move.outcome = GenreOutcome::Done;
  if (IoError error = index.removeEntry(move.oldName)) {
    platform.ui.showMessage(fromUtf8(error.text) + u"|" + cp932::fromNativeName((catalogFolder / CatalogIndex::FileName).native()),
                            mb::Ok | mb::IconExclamation, u"");
  }
  return move;
}

}  // namespace zevro
