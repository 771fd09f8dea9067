#pragma once
// The folder comments that need no file of the medium: device and maker
// folder names, magazine CD labels, issue dates in folder names, and the
// names an audio CD has in the player's settings.
//
//   DeviceComment(u"drivers")        -> u"デバイス・ドライバー"
//   MagazineTitle(u"ASCIIIV9905")    -> u"月刊アスキー DOS/V 99年 5月号"
//   IssueDate(u"SOFT9912")           -> u" 99年12月号"
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Text.h"

namespace zevro::folderrules {

// The comment of a device or maker folder (name in any case), or empty.
Text DeviceComment(TextView folderName);

// What a magazine label gives: a title, nothing for a label of no magazine,
// or Keep for a "vd" label that fails its number test (the comment stays
// as it was).
struct Magazine {
  enum class Result { None, Title, Keep } result = Result::None;
  Text title;
};
Magazine MagazineTitle(TextView label);

// " YY年MM月号" when the last four characters of the name are digits, the
// first of them 0 or 9 and the last two a month; else empty.
Text IssueDate(TextView name);

// The player settings of an audio CD: the title "artist/title" (or the
// title alone) and the track names, from the section of the serial.
struct AudioCd {
  Text title;                                  // empty when the section has none
  std::vector<std::pair<int, Text>> tracks;    // number as written, name
  bool found = false;                          // the section was there
};
AudioCd AudioCdOf(TextView iniText, TextView serial);

}  // namespace zevro::folderrules
