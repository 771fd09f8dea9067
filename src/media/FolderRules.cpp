#include "media/FolderRules.h"

#include <array>

#include "core/Strings.h"
#include "media/TextOps.h"

namespace zevro::folderrules {

namespace {

struct Device {
  TextView key;
  TextView comment;
};

// Note the two middle dots: "driver" has the half-width one, "drivers" the
// full-width one, as the folders of the time were labelled.
constexpr std::array<Device, 31> Devices{{
    {u"driver", u"デバイス･ドライバー"},
    {u"drivers", u"デバイス・ドライバー"},
    {u"win31", u"Windows 3.1用ソフト"},
    {u"win95", u"Windows95用ソフト"},
    {u"winnt", u"WindowsNT用ソフト"},
    {u"vbrun", u"VisualBasic用ランタイム・ライブラリ"},
    {u"msie", u"Microsoft ｲﾝﾀｰﾈｯﾄ･ｴｸｽﾌﾟﾛｰﾗ"},
    {u"vfw", u"Video for Windows ﾗﾝﾀｲﾑ"},
    {u"iodata", u"アイ・オー･データ機器"},
    {u"melco", u"メルコ"},
    {u"canopus", u"カノープス"},
    {u"icm", u"ICM"},
    {u"logitec", u"ロジテック"},
    {u"midori", u"緑電子"},
    {u"nec", u"NEC"},
    {u"pc98", u"PC-98シリーズ"},
    {u"ibm", u"IBM"},
    {u"sony", u"ソニー"},
    {u"toshiba", u"東芝"},
    {u"epson", u"エプソン"},
    {u"hitachi", u"日立"},
    {u"mitubisi", u"三菱電気"},
    {u"canon", u"キャノン"},
    {u"fujitsu", u"富士通"},
    {u"dec", u"DEC"},
    {u"dell", u"DELL"},
    {u"compaq", u"COMPAQ"},
    {u"hp", u"HP"},
    {u"acer", u"ACER"},
    {u"olivetti", u"オリベッティ"},
    {u"gateway", u"GATEWAY"},
}};

bool isNumber(TextView text) {
  if (text.empty()) return false;
  for (char16_t c : text)
    if (!textops::isAsciiDigit(c)) return false;
  return true;
}

// 1-based positions: from(label, n) is the label from its n-th character,
// part(label, n, m) m characters from there.
TextView from(TextView label, std::size_t n) { return n - 1 < label.size() ? label.substr(n - 1) : TextView(); }
TextView part(TextView label, std::size_t n, std::size_t m) { return from(label, n).substr(0, m); }

// A number without its leading zeros: u"05" -> u"5", u"00" -> u"0".
Text withoutZeros(TextView digits) {
  std::size_t i = 0;
  while (i + 1 < digits.size() && digits[i] == u'0') ++i;
  return Text(digits.substr(i));
}

}  // namespace

Text DeviceComment(TextView folderName) {
  const Text key = asciiLower(folderName);
  for (const Device& d : Devices)
    if (d.key == key) return Text(d.comment);
  return {};
}

Magazine MagazineTitle(TextView label) {
  const Text lower = asciiLower(label);
  Magazine m;
  m.result = Magazine::Result::Title;
  const auto yearMonth = [&](std::size_t at, TextView yearPrefix) {
    return Text(u" ") + Text(yearPrefix) + Text(part(label, at, 2)) + u"年 " + withoutZeros(part(label, at + 2, 2)) +
           u"月号";
  };
  if (lower.starts_with(u"asciiiv")) {
    m.title = u"月刊アスキー DOS/V";
    if (isNumber(from(label, 8))) m.title += yearMonth(8, u"");
  } else if (lower.starts_with(u"ascii-wm")) {
    m.title = Text(u"月刊 Windows Magazine Vol.") + Text(from(label, 9));
  } else if (lower.starts_with(u"dosv")) {
    m.title = u"月刊 DOS/V USER";
    if (isNumber(from(label, 5))) m.title += yearMonth(5, u"");
  } else if (lower.starts_with(u"ohpc")) {
    m.title = u"Oh!PC";
    if (isNumber(from(label, 5))) m.title += yearMonth(5, u"20");
  } else if (lower.starts_with(u"oh!pc")) {
    m.title = u"Oh!PC";
    if (isNumber(from(label, 6)))
      m.title += u" " + withoutZeros(part(label, 6, 2)) + u"月 " + withoutZeros(part(label, 8, 2)) + u"日号";
  } else if (lower.starts_with(u"vpr")) {
    m.title = u"DOS/V Power Report";
    if (isNumber(from(label, 4))) {
      m.title += yearMonth(4, u"");
      if (label.size() >= 8) m.title += Text(u" Disk-") + Text(from(label, 8));
    }
  } else if (lower.starts_with(u"livecd_")) {
    m.title = Text(u"Windows Magazine - LIVE CD Vol.") + Text(from(label, 8));
  } else if (lower.starts_with(u"vbm_")) {
    m.title = Text(u"VBマガジン Vol.") + Text(from(label, 8));
  } else if (lower == u"md") {
    m.title = u"CD-ROMマガジン";
  } else if (lower.starts_with(u"vd")) {
    if (label.size() == 8 && isNumber(from(label, 3))) {
      m.title = Text(u"Vector Pack ") + Text(part(label, 5, 2)) + u"年 Disk-" + Text(label.substr(7, 1));
    } else {
      m.result = Magazine::Result::Keep;
    }
  } else {
    m.result = Magazine::Result::None;
  }
  return m;
}

Text IssueDate(TextView name) {
  if (name.size() < 4) return {};
  const TextView last = name.substr(name.size() - 4);
  if (!isNumber(last) || (last[0] != u'0' && last[0] != u'9')) return {};
  const int month = (last[2] - u'0') * 10 + (last[3] - u'0');
  if (month < 1 || month > 12) return {};
  return Text(u" ") + Text(last.substr(0, 2)) + u"年" + Text(last.substr(2, 2)) + u"月号";
}

AudioCd AudioCdOf(TextView iniText, TextView serial) {
  AudioCd cd;
  const Text lower = asciiLower(iniText);
  const Text head = u"[" + asciiLower(serial) + u"]";
  std::size_t at = lower.find(head);
  while (at != Text::npos && at > 0 && !textops::isLineBreak(lower[at - 1])) at = lower.find(head, at + 1);
  if (at == Text::npos) return cd;
  cd.found = true;
  Text artist;
  Text title;
  std::size_t lineStart = lower.find_first_of(u"\r\n", at);
  const std::vector<TextView> lines = textops::LinesOf(lineStart == Text::npos ? TextView() : TextView(iniText).substr(lineStart));
  for (TextView line : lines) {
    if (line.starts_with(u"[")) break;
    const Text l = asciiLower(line);
    if (l.starts_with(u"artist=")) {
      artist = Text(line.substr(7));
    } else if (l.starts_with(u"title=")) {
      title = Text(line.substr(6));
    } else if (!line.empty() && textops::isAsciiDigit(line.front())) {
      const std::size_t eq = line.find(u'=');
      if (eq == TextView::npos) continue;
      int n = 0;
      std::size_t i = 0;
      for (; i < eq && textops::isAsciiDigit(line[i]) && n < 1000; ++i) n = n * 10 + (line[i] - u'0');
      if (i != eq) continue;
      cd.tracks.emplace_back(n, Text(line.substr(eq + 1)));
    }
  }
  cd.title = artist.empty() ? title : artist + u"/" + title;
  return cd;
}

}  // namespace zevro::folderrules
