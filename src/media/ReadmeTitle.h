#pragma once
// One short line naming the software a readme describes, from the first 512
// characters of the text, or nothing. The analysis is a fixed sequence of
// keyword rules tuned to Japanese readmes:
//   1. binary texts give nothing (a code 16 or 255, a compound document
//      D0 CF 11, an old word-processor document DB A5, a first character
//      below TAB);
//   2. in a driver folder, the line naming the folder's first *.DRV after a
//      label such as "ドライバ名";
//   3. a trial version ("体験版", "試用版", "デモ版") gives its name tagged
//      " （体験版）";
//   4. label lines "【名称】" and "【ソフト名】";
//   5. a scan of the lines with skip and stop rules;
//   6. else the line holding "Ver.".
// Every candidate line goes through PhraseRules, which removes greetings,
// "の使い方", dates, file names and decoration.
//
//   "すごいツール Ver1.00\r\n\r\n株式会社サンプル\r\n"   -> u"すごいツール Ver1.00"
//   "ABCツール 試用版\r\n"                              -> u"ABCツール （体験版）"
//   "【名称】 TOOL.LZH すごいツール\r\n"                 -> u"すごいツール"
#include <cstddef>
#include <functional>
#include <string_view>

#include "text/Text.h"

namespace zevro {

class ReadmeTitle {
public:
  // Bytes read from a readme: enough for 512 characters of Shift-JIS text
  // (a Write document: its header and the text after it).
  static constexpr std::size_t SampleBytes = 2048;
  static constexpr std::size_t SampleCharacters = 512;
  static constexpr TextView TrialTag = u" （体験版）";

  // The title of a readme from its first bytes. `path` is its catalog path
  // (a folder path holding "driver" or "drv" turns on the driver rule);
  // `firstDriver` gives the name of the folder's first *.DRV file (empty
  // when none), asked only in a driver folder.
  static Text of(std::string_view bytes, TextView path, const std::function<Text()>& firstDriver = {});

  // The text of the sample: the first 512 characters of the decoded bytes,
  // or of a Write document's text after its first line; empty when the
  // bytes do not look like text.
  static Text sampleOf(std::string_view bytes, bool writeDocument);

  // The 27 phrase rules on one candidate text.
  static Text PhraseRules(TextView candidate);
};

}  // namespace zevro
