#pragma once
// What the print window decides, without a window: its controls with their
// captions and tooltips, the stored settings (read at load, written only
// when changed), which change redraws the preview, where Enter moves the
// focus, the checks of the page-range boxes, and where the page lies in
// the preview.
//
//   PrevFormLogic logic;
//   logic.load(options);                       // the eleven keys
//   logic.change([](PrintSettings& s) { s.gapIndex = 2; });   -> redraw
//   logic.leaveTop(u"0", u"1")                 {beep, refocus}
//   logic.save(options);                       // only when something changed
#include <array>
#include <optional>

#include "core/Geometry.h"
#include "core/OptionStore.h"
#include "print/PrintSettings.h"
#include "text/Text.h"

namespace zevro {

enum class PrevControl : int {
  項目OPT0, 項目OPT1, 項目OPT2,
  頁範囲OPT0, 頁範囲OPT1,
  TOPLIN, ENDLIN,
  FONTYP0, FONTYP1, SIZLST, 行間LST, BLDSEL,
  ツリー印字SEL, コメント欄SEL, 欄入替SEL, 縦罫SEL, 横罫SEL, 外枠SEL, 折返SEL,
  SETBTN, PRNBTN, CANBTN,
  FRM印字項目, FRM印字範囲, Frame1, Label1, Label2,
  Count
};

struct PrevControlText {
  PrevControl control;
  TextView name;     // u"TOPLIN"
  TextView caption;  // u"1"
  TextView tooltip;  // u"印字開始ページを指定します", or empty
};

class PrevFormLogic {
public:
  static constexpr TextView Caption = u"ZEVRO 印刷";
  static constexpr int MaxStartPage = 100;
  static constexpr int MaxEndPage = 200;
  // The entries of the two lists.
  static constexpr std::array<TextView, PrintSettings::SizeCount> SizeItems = {u"9", u"9.75", u"10.5", u"11.25",
                                                                                 u"12"};
  static constexpr std::array<TextView, PrintSettings::GapCount> GapItems = {u"1.2行", u"1.4行", u"1.6行", u"1.8行"};

  // Every control with its caption and tooltip.
  static const std::array<PrevControlText, static_cast<int>(PrevControl::Count)>& controls();
  static const PrevControlText& text(PrevControl control);

  // ---- Stored settings ----
  // Reads the eleven keys; nothing counts as changed.
  void load(const OptionStore& options);
  const PrintSettings& settings() const { return settings_; }
  PrintSettings& current() { return settings_; }
  // A control changed a stored setting (FONTYP, SIZLST, 行間LST, BLDSEL, the
  // seven check boxes): remembered for the next save. Answers whether it
  // changed anything.
  template <class F>
  bool change(F&& edit) {
    const PrintSettings before = settings_;
    edit(settings_);
    if (settings_.sameStored(before)) return false;
    changed_ = true;
    return true;
  }
  bool changed() const { return changed_; }
  // Writes all eleven keys when a setting changed since the load or the
  // last save; answers whether it wrote.
  bool save(OptionStore& options);

  // ---- Enter ----
  // Where Enter moves the focus from `from`; nullopt: it stays.
  static std::optional<PrevControl> enterTarget(PrevControl from, bool allPagesChosen);

  // ---- Page range ----
  // The leading number of a text, rounded half to even: u"12abc" -> 12,
  // u" 2.5" -> 2, u"x" -> 0.
  static int leadingNumber(TextView text);
  struct RangeAnswer {
    bool beep = false;     // the value is refused: beep and put the focus back
    std::optional<Text> endText;  // ENDLIN takes this text
    bool redraw = false;   // the preview is drawn again (when in preview mode)
  };
  // Leaving TOPLIN with its text and that of ENDLIN.
  static RangeAnswer leaveTop(TextView top, TextView end);
  // Leaving ENDLIN: it must be a number from the start to 200, not 0.
  static RangeAnswer leaveEnd(TextView end, TextView top);

  // ---- Preview ----
  // Where the sheet and its printable part lie in a preview of
  // previewWidth x previewHeight pixels: one scale (pixels per twip) for
  // the sheet, the margins and the page, the sheet's shape kept.
  struct PreviewPlace {
    Rect sheet;  // pixels
    Rect page;   // pixels
  };
  static PreviewPlace previewPlace(int paperWidth, int paperHeight, const Rect& printable, int previewWidth,
                                   int previewHeight);

private:
  PrintSettings settings_;
  bool changed_ = false;
};

}  // namespace zevro
