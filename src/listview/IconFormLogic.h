#pragma once
// What the icon dialog "アイコンの選択" decides without a window: its texts,
// the help text of the region under the pointer, the preview's size, and
// the question for a new extension with its checks.
//
//   IconFormLogic logic;
//   logic.hover(IconFormLogic::Region::Preview)  -> u"クリックすると、…"
//   logic.hover(IconFormLogic::Region::Preview)  -> nothing (the text stays)
//   logic.togglePreview()                        32 -> 16 px
//   logic.askExtension(ui, edit)                 the input box until an answer is taken
#include <optional>

#include "core/IconEdit.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

class IconFormLogic {
public:
  static constexpr TextView Caption = u"アイコンの選択";
  static constexpr TextView TypeCaption = u"ファイル・タイプ";
  static constexpr TextView PasteCaption = u"貼り付け";
  static constexpr TextView AddCaption = u"追加";
  static constexpr TextView OkCaption = u"OK";
  static constexpr TextView CancelCaption = u"ｷｬﾝｾﾙ";
  static constexpr TextView ListFont = u"ＭＳ Ｐゴシック";

  // Help texts ("\n" breaks lines).
  static constexpr TextView ListHelp =
      u"ファイルの拡張子を選択します\n(1)～(6)はグループ別のアイコン\nそれ以外は拡張子毎のアイコンです\n"
      u"※拡張子毎のアイコンが優先的に表示されます";
  static constexpr TextView PreviewHelp = u"クリックすると、縮小表示／実寸表示を切り替えられます";
  static constexpr TextView PasteHelp =
      u"クリップボードの画像を選択中のファイル・タイプ用アイコンとして設定します\n"
      u"先に「ﾍﾟｲﾝﾄ」などのソフトを使って、画像をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしておいて下さい\n"
      u"※ 白の部分はｱｲｺﾝでは透明となります。";
  static constexpr TextView AddHelp =
      u"一覧にない拡張子を新規に追加します\n\n"
      u"※読み取り時設定の「総てのﾌｧｲﾙを記録」がオフのときは、追加する必要はありません";
  static constexpr TextView NoBitmapHelp =
      u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞに画像データが入っていません\n\n"
      u"「ペイント」などの画像処理プログラムを使って、ｸﾘｯﾌﾟﾎﾞｰﾄﾞに画像をコピーして下さい";
  // Icon numbers and kind codes are bytes: the 255th is the last.
  static constexpr TextView FullHelp =
      u"アイコンとファイル・タイプは、それぞれ255番までです\n\nこれ以上は追加できません";

  // The new-extension question of the input box.
  static constexpr TextView AddTitle = u"ZEVRO";
  static constexpr TextView AddPrompt = u"新しい拡張子を入力して下さい||\x03　　（５文字以内の英数字）";

  // Preview sizes: enlarged (the start) and actual.
  static constexpr int Enlarged = 32;
  static constexpr int ActualSize = 16;

  // Regions of the dialog with a help text of their own; None: the OK and
  // Cancel buttons and the dialog away from the list.
  enum class Region { None, List, Preview, Paste, Add };
  static TextView helpText(Region region);

  // The pointer entered a region: the new help text, or nothing when the
  // region is the one whose text is shown.
  std::optional<Text> hover(Region region);
  // A text shown for a region outside the hover (a paste without picture):
  // it stays while the pointer stays there.
  Text show(Region region, TextView text);
  Region helpRegion() const { return helpRegion_; }

  int previewSize() const { return previewSize_; }
  void togglePreview() { previewSize_ = previewSize_ == Enlarged ? ActualSize : Enlarged; }

  // The input box until an answer is taken: a refused one beeps and asks
  // again, an empty one ends. The answer added, or nothing. When no kind
  // code is left, the beep comes with `full` set and the question ends.
  std::optional<IconEdit::AddResult> askExtension(Ui& ui, IconEdit& edit, bool& full) const;

private:
  Region helpRegion_ = Region::None;
  int previewSize_ = Enlarged;
};

}  // namespace zevro
