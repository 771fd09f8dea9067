#pragma once
// The question about a medium that is catalogued already, asked before it is
// read again: what the question window shows and what its buttons answer.
//
//   E:ドライブ　[GAMES] のリストは、既にカタログされています
//   ボリューム名  GAMES          タイトル名  ゲーム集
//   [旧リストを削除して、読み直し] [別リストとして、追加読み込み] [ｷｬﾝｾﾙ]
//
// Button 0 replaces the old catalog (once the new reading has succeeded),
// button 1 reads another list beside it, button 2 and closing the window
// keep everything as it is.
#include <array>

#include "media/MediaReading.h"
#include "text/Text.h"

namespace zevro {

class ReadQuestion {
public:
  static constexpr TextView Caption = u"リストの読み込み";
  static constexpr TextView DriveTail = u"ドライブ　";
  static constexpr TextView AlreadyCatalogued = u"のリストは、既にカタログされています";
  static constexpr TextView VolumeCaption = u"ボリューム名";
  static constexpr TextView TitleCaption = u"タイトル名";
  static constexpr TextView RefreshHint1 = u"登録済みのリストを更新したいときは、";
  static constexpr TextView RefreshHint2 = u"ファイル･メニューの「最新の情報に更新」を使用してください。";
  static constexpr TextView ChooseText = u"旧リストを削除して読み直すか、別リストとして追加するかを選択して下さい。";

  static constexpr int ReplaceButton = 0;
  static constexpr int AddButton = 1;
  static constexpr int CancelButton = 2;
  // The button that has the focus when the question opens.
  static constexpr int FocusButton = AddButton;
  static constexpr std::array<TextView, 3> Buttons = {
      u"旧リストを削除して、読み直し",
      u"別リストとして、追加読み込み",
      u"ｷｬﾝｾﾙ",
  };

  // The drive line: u"e:" -> u"E:ドライブ　".
  static Text driveText(TextView drive);

  // The answer of a button index; anything else (the window closed by its
  // frame) keeps the old catalog: Cancel.
  static MediaReading::Existing answerOf(int button);
};

}  // namespace zevro
