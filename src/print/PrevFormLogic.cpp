#include "print/PrevFormLogic.h"

#include <algorithm>
#include <cmath>

namespace zevro {

namespace {

using C = PrevControl;

constexpr std::array<PrevControlText, static_cast<int>(C::Count)> Controls = {{
    {C::項目OPT0, u"項目OPT(0)", u"フォルダー＋ファイル印字", u""},
    {C::項目OPT1, u"項目OPT(1)", u"フォルダー欄のみ印字", u""},
    {C::項目OPT2, u"項目OPT(2)", u"ファイル欄のみ印字", u""},
    {C::頁範囲OPT0, u"頁範囲OPT(0)", u"総てのページを印字", u""},
    {C::頁範囲OPT1, u"頁範囲OPT(1)", u"指定ページのみ印字", u""},
    {C::TOPLIN, u"TOPLIN", u"1", u"印字開始ページを指定します"},
    {C::ENDLIN, u"ENDLIN", u"1", u"印字終了ページを指定します"},
    {C::FONTYP0, u"FONTYP(0)", u"明朝体", u""},
    {C::FONTYP1, u"FONTYP(1)", u"ゴシック体", u""},
    {C::SIZLST, u"SIZLST", u"", u""},
    {C::行間LST, u"行間LST", u"", u""},
    {C::BLDSEL, u"BLDSEL", u"太字", u""},
    {C::ツリー印字SEL, u"ツリー印字SEL", u"アイコンとツリー印字", u"オフにすると、文字だけのリストが印字されます"},
    {C::コメント欄SEL, u"コメント欄SEL", u"コメント欄を印字", u"コメント欄が必要ない場合は、オフにします"},
    {C::欄入替SEL, u"欄入替SEL", u"サイズ欄と日付欄を入替", u"サイズと日付の印字順序を入れ替えます"},
    {C::縦罫SEL, u"縦罫SEL", u"縦の罫線を印字", u""},
    {C::横罫SEL, u"横罫SEL", u"横の罫線を印字", u""},
    {C::外枠SEL, u"外枠SEL", u"外枠を印字", u""},
    {C::折返SEL, u"折返SEL", u"長い行は折り返す", u"オフにすると、長い文字は切り捨てられます"},
    {C::SETBTN, u"SETBTN", u"プリンターの設定 (&P)", u""},
    {C::PRNBTN, u"PRNBTN", u"印刷開始", u""},
    {C::CANBTN, u"CANBTN", u"キャンセル", u""},
    {C::FRM印字項目, u"FRM印字項目", u"印刷する項目", u""},
    {C::FRM印字範囲, u"FRM印字範囲", u"印刷するページ", u""},
    {C::Frame1, u"Frame1", u"リストのフォント", u""},
    {C::Label1, u"Label1", u"ｻｲｽﾞ", u""},
    {C::Label2, u"Label2", u"行間", u""},
}};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The whole text is a number: blanks around, a sign, digits with one point.
bool isNumeric(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (isDigit(text[i])) {
      digits = true;
    } else if (text[i] == u'.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  while (i < text.size() && text[i] == u' ') ++i;
  return digits && i == text.size();
}

}  // namespace

const std::array<PrevControlText, static_cast<int>(PrevControl::Count)>& PrevFormLogic::controls() { return Controls; }

const PrevControlText& PrevFormLogic::text(PrevControl control) { return Controls[static_cast<std::size_t>(control)]; }

void PrevFormLogic::load(const OptionStore& options) {
  const PrintSettings stored = PrintSettings::fromOptions(options);
  // Items and range stay as they are; the range boxes start at 1 each load.
  settings_.mincho = stored.mincho;
  settings_.bold = stored.bold;
  settings_.sizeIndex = stored.sizeIndex;
  settings_.gapIndex = stored.gapIndex;
  settings_.tree = stored.tree;
  settings_.comment = stored.comment;
  settings_.swap = stored.swap;
  settings_.verticalRules = stored.verticalRules;
  settings_.horizontalRules = stored.horizontalRules;
  settings_.frame = stored.frame;
  settings_.wrap = stored.wrap;
  settings_.rangeStart = 1;
  settings_.rangeEnd = 1;
  changed_ = false;
}

bool PrevFormLogic::save(OptionStore& options) {
  if (!changed_) return false;
  settings_.toOptions(options);
  changed_ = false;
  return true;
}

std::optional<PrevControl> PrevFormLogic::enterTarget(PrevControl from, bool allPagesChosen) {
  switch (from) {
    case C::項目OPT0:
    case C::項目OPT1:
    case C::項目OPT2: return allPagesChosen ? C::頁範囲OPT0 : C::頁範囲OPT1;
    case C::頁範囲OPT0:
    case C::頁範囲OPT1: return allPagesChosen ? C::PRNBTN : C::TOPLIN;
    case C::TOPLIN: return C::ENDLIN;
    case C::ENDLIN: return C::PRNBTN;
    case C::FONTYP0:
    case C::FONTYP1: return C::SIZLST;
    case C::BLDSEL: return C::縦罫SEL;
    case C::ツリー印字SEL: return C::コメント欄SEL;
    case C::コメント欄SEL: return C::欄入替SEL;
    case C::欄入替SEL: return C::縦罫SEL;
    case C::縦罫SEL: return C::横罫SEL;
    case C::横罫SEL: return C::外枠SEL;
    case C::外枠SEL: return C::折返SEL;
    case C::折返SEL: return C::PRNBTN;
    default: return std::nullopt;
  }
}

int PrevFormLogic::leadingNumber(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) sign = text[i++] == u'-' ? -1 : 1;
  double value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > 1e9) break;
  }
  if (i < text.size() && text[i] == u'.') {
    double scale = 0.1;
    for (++i; i < text.size() && isDigit(text[i]); ++i, scale /= 10) value += (text[i] - u'0') * scale;
  }
  return static_cast<int>(std::nearbyint(sign * value));
}

PrevFormLogic::RangeAnswer PrevFormLogic::leaveTop(TextView top, TextView end) {
  RangeAnswer a;
  const int start = leadingNumber(top);
  a.beep = start < 1 || start > MaxStartPage;
  if (end != u"最終" && leadingNumber(end) < start) a.endText = Text(top);
  a.redraw = true;
  return a;
}

PrevFormLogic::RangeAnswer PrevFormLogic::leaveEnd(TextView end, TextView top) {
  RangeAnswer a;
  const int last = leadingNumber(end);
  a.beep = !isNumeric(end) || last == 0 || last < leadingNumber(top) || last > MaxEndPage;
  return a;
}

PrevFormLogic::PreviewPlace PrevFormLogic::previewPlace(int paperWidth, int paperHeight, const Rect& printable,
                                                        int previewWidth, int previewHeight) {
  PreviewPlace p;
  if (paperWidth <= 0 || paperHeight <= 0) return p;
  // One scale for everything: the sheet fits, margins and page scale alike.
  const double scale =
      std::min(static_cast<double>(previewWidth) / paperWidth, static_cast<double>(previewHeight) / paperHeight);
  auto px = [scale](int twips) { return static_cast<int>(std::lround(twips * scale)); };
  p.sheet = {0, 0, px(paperWidth), px(paperHeight)};
  p.page = {px(printable.left), px(printable.top), px(printable.width), px(printable.height)};
  return p;
}

}  // namespace zevro
