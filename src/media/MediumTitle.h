#pragma once
// Changing the title of a removable medium (the File menu's
// "メディアのタイトルを変更"): the user puts in the medium of the shown
// catalog and picks its drive; its title file gets the new title and the
// catalogs of the medium are renamed to it.
#include <functional>

#include "media/DriveInfo.h"
#include "media/MediumLocator.h"
#include "media/TitleFile.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro::mediumtitle {

inline constexpr TextView Instruction = u"このラベルと同じ メディアを ドライブにセットして、そのドライブ名をクリックして下さい。";
inline constexpr TextView WrongTypeKind = u"USBメモリー、USBディスク";
inline constexpr TextView WrongTypeTail = u"などのドライブを指定して下さい";
inline constexpr TextView CurrentHead = u"現在のタイトルは、「 ";
inline constexpr TextView CurrentTail = u" 」です。";
inline constexpr TextView ChangeQuestion = u"このタイトルを変更してもいいですか？";

Text wrongTypeMessage();
Text changeQuestion(TextView currentTitle);

// Renames the catalogs of the medium in the drive: (letter, old title, new title).
using Relabel = std::function<bool(char letter, TextView oldTitle, TextView newTitle)>;

// wantedTitle: the label of the shown catalog. True when the medium got a
// new title.
bool ChangeMediumTitle(MediaDriveQuestion& question, DriveInfo& drives, TitleFile& titles, Ui& ui,
                       TextView wantedTitle, const Relabel& relabel);

}  // namespace zevro::mediumtitle
