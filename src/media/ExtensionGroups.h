#pragma once
// The kind groups of file extensions, which order files "by kind": related
// types get neighbouring two-digit codes (documents 00-13, web 20-29,
// pictures 50-59, sound 60-69, video 70-78, program sources 82-89, system
// files 94-96, archives 97, programs 98), an extension that is not listed
// "99".
//
// The table is one text of entries, a two-digit code, ".", the upper-case
// extension and "|"; an extension's group is the code of its first entry:
//   u"00.DOC|01.DOT|08.RTF|…|97.LZH|97.ZIP|97.CAB|98.EXE|98.BAT|"
#include "text/Text.h"

namespace zevro {

class ExtensionGroups {
public:
  // The group an extension not in the table gets.
  static constexpr TextView Unlisted = u"99";

  // The table text (see above).
  static TextView table();

  // The two-digit group of an extension (any case, without the "."):
  //   u"txt" -> u"10",  u"SLK" -> u"40" (its first entry),  u"zip" -> u"97",
  //   u"xyz" -> u"99",  u"" -> u"99".
  static TextView groupOf(TextView extension);
};

}  // namespace zevro
