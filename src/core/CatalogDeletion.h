#pragma once
// Deleting the shown catalog: its list file, its picture companion and its
// index entry, after the user said Yes.
//
// The picture companion of "_03CD_GAMES.cct" is "_p_CD_GAMES.ccj": the genre
// is not part of its name, so catalogs of one medium in several genres
// ("_03CD_GAMES.cct", "_05cd_GAMES.cct") share it. It is deleted only with
// the last of them.
#include "core/CatalogIndex.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

namespace catalogdeletion {

// The question, pieces put together with the title in bold and the question
// in colour 5:
//   u"表示中の 『 \x08" + title + u"\x07 』 を\x05カタログから削除していいですか？\x00"
inline constexpr TextView QuestionHead = u"表示中の 『 ";
inline constexpr TextView QuestionMiddle = u" 』 を";
inline constexpr TextView QuestionAsk = u"カタログから削除していいですか？";
inline constexpr int QuestionFlags = mb::YesNo | mb::DefaultSecond | mb::IconQuestion;

Text questionText(TextView title);

// The companion's name for a list file's name:
//   u"_03cd_GAMES.cct" -> u"_p_CD_GAMES.ccj",  u"_00HD_DOCS&OLD Disk.cct" -> u"_p_HD_DOCS&OLD Disk.ccj".
Text pictureCompanionName(TextView listFileName);

}  // namespace catalogdeletion

enum class DeleteOutcome {
  Refused,   // no list file (or it is gone): a beep, nothing asked
  Declined,  // the user answered No
  Failed,    // the list file could not be deleted (reported); nothing changed
  Deleted,   // the list file is gone, its entry too; the companion unless shared
};

// listFile: the shown catalog's path, like "/home/kaori/zevro/Catalog/_03CD_GAMES.cct"
// (empty when none is shown); title: the shown catalog's title. A failure to
// rewrite the index after the deletion is reported; the entry is gone from
// the index in memory all the same and the next write (or the next start)
// takes it out of the file.
DeleteOutcome deleteCatalog(Platform& platform, CatalogIndex& index, const NativePath& listFile, TextView title);

}  // namespace zevro
