#include "core/CatalogDeletion.h"

#include "core/FileOps.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro {

namespace catalogdeletion {

namespace {

constexpr char16_t BoldOn = 8;
constexpr char16_t BoldOff = 7;
constexpr char16_t QuestionColour = 5;
constexpr char16_t NormalColour = 0;
constexpr std::size_t KindStart = 3;  // "_03CD_GAMES": the medium kind begins at the 4th character

}  // namespace

Text questionText(TextView title) {
  Text text(QuestionHead);
  text += BoldOn;
  text += title;
  text += BoldOff;
  text += QuestionMiddle;
  text += QuestionColour;
  text += QuestionAsk;
  text += NormalColour;
  return text;
}

Text pictureCompanionName(TextView listFileName) {
  const Text base = baseName(listFileName);
  const TextView rest = TextView(base).substr(std::min(KindStart, base.size()));
  return u"_p_" + asciiUpper(rest.substr(0, 2)) + Text(rest.substr(std::min<std::size_t>(2, rest.size()))) + u".ccj";
}

}  // namespace catalogdeletion

namespace {

// Another list file of the same medium in another genre: the same name from
// the 4th character on ("_05cd_GAMES.cct" beside "_03CD_GAMES.cct").
bool companionShared(FileSystem& files, const NativePath& folder, TextView listFileName) {
  const Text self = asciiLower(listFileName);
  if (self.size() <= 3) return false;
  const TextView medium = TextView(self).substr(3);
  for (const DirEntry& e : files.list(folder)) {
    if (e.isFolder() || e.linkToFolder) continue;
    const Text other = asciiLower(fileops::nameOf(e));
    if (other == self || other.size() != self.size() || other[0] != u'_') continue;
    if (TextView(other).substr(3) == medium) return true;
  }
  return false;
}

}  // namespace

DeleteOutcome deleteCatalog(Platform& platform, CatalogIndex& index, const NativePath& listFile, TextView title) {
  FileSystem& files = platform.files;
  if (listFile.empty() || !fileops::fileExists(files, listFile)) {
    platform.ui.beep();
    return DeleteOutcome::Refused;
  }
  if (platform.ui.showMessage(catalogdeletion::questionText(title), catalogdeletion::QuestionFlags, u"") != AnswerYes)
    return DeleteOutcome::Declined;

  // The list file goes first: when it cannot be deleted, its pictures and its
  // entry must stay with it.
  const NativePath onDisk = fileops::resolved(files, listFile);
  fileops::deleteFile(files, onDisk);
  if (files.stat(onDisk)) {
    platform.ui.systemMessage(fileops::cannotDeleteText(onDisk), mb::Ok, u"");
    return DeleteOutcome::Failed;
  }

  const NativePath folder = onDisk.parent_path();
  const Text name = cp932::fromNativeName(onDisk.filename().native());
  if (!companionShared(files, folder, name))
    fileops::deleteFile(files, folder / cp932::toNativeName(catalogdeletion::pictureCompanionName(name)));

  if (IoError error = index.removeEntry(CatalogIndex::indexName(onDisk))) {
    const NativePath indexFile = fileops::resolved(files, index.catalogFolder() / CatalogIndex::FileName);
    platform.ui.systemMessage(
        fromUtf8(error.text) + ch::CR + Text(fileops::MsgMoveFileLabel) + fileops::shown(indexFile), mb::Ok, u"");
  }
  return DeleteOutcome::Deleted;
}

}  // namespace zevro
