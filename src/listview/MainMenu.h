#pragma once
// The one table of the main window's menus: every menu, submenu, item and
// context menu with its control name, caption, shortcut and look. The window
// builds its menu bar and context menus from it and tests read the same
// table, so a caption is written once.
//
//   entry(Command::MF_リスト開く) ==
//     {Command::MF_リスト開く, u"MF_リスト開く", Command::M_ファイル,
//      u"リストを開く  (&O)", "Ctrl+O", Look::Item}
//
// Control arrays are numbered commands in a row: MD_表示モード0 … MD_表示モード3
// have the names u"MD_表示モード(0)" … u"MD_表示モード(3)" (indexed(), indexOf()).
//
// Whether a command can run now is MainWindowLogic's business; the table only
// says whether the program has it at all (`built`): a command that is not
// built yet stays in its menu, greyed.
#include <span>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace zevro {

enum class Command : int {
  None = 0,
  // File
  M_ファイル,
  MF_リスト開く,
  MF_既存開く,
  MF_新規作成,
  MF_リスト更新,
  MF_DVD場所,
  MF_上書保存,
  MF_TEXT保存,
  MF_リスト削除,
  MF_タイトル変更,
  MF_ジャンル変更,
  MF_メディア名変更,
  MF_印刷,
  MF_バックアップ,
  MF_比較,
  MF_終了,
  // Edit
  M_編集,
  ME_コピー,
  ME_貼付,
  ME_切取,
  ME_データ修正,
  ME_ファイル名修正,
  ME_コメント消去,
  ME_選択行削除,
  ME_イメージ記録,
  ME_イメージ消去,
  ME_総て選択,
  // Search
  M_検索,
  MS_文字指定,
  MS_全検索,
  MS_検索対象,
  MST_検索対象0,
  MST_検索対象1,
  MST_検索対象2,
  MS_検索条件,
  MS_大小区別,
  MS_半角全角,
  MS_正規表現,
  MS_完全一致,
  MS_履歴クリア,
  MS_次を検索,
  MS_前を検索,
  MS_次フォルダー,
  MS_前フォルダー,
  MS_重複ファイル,
  MS_単独ファイル,
  // Display
  M_表示,
  MD_表示モード0,
  MD_表示モード1,
  MD_表示モード2,
  MD_表示モード3,
  MD_表示レベル,
  MDL_総て表示,
  MDL_レベル表示1,
  MDL_レベル表示2,
  MDL_レベル表示3,
  MDL_レベル表示4,
  MD_ソート0,
  MD_ソート1,
  MD_ソート2,
  MD_固定ピッチ,
  MD_文字色分け,
  MD_罫線,
  MDK_縦罫線L,
  MDK_横罫線L,
  MDK_縦罫線F,
  MDK_横罫線F,
  MD_行間,
  MDD_行間ドット0,
  MDD_行間ドット1,
  MDD_行間ドット2,
  MDD_行間ドット3,
  MDD_行間ドット4,
  MDD_行間ドット5,
  MDD_行間ドット6,
  MD_ワードラップ,
  MD_データ表示,
  // Options
  M_オプション,
  MO_起動時カタログ,
  MO_起動時全検索,
  MO_密着,
  MO_色の変更,
  MO_アイコン変更,
  MO_アイコン戻す,
  MO_フォント変更,
  MO_コメントフォント,
  MO_プレビューフォント,
  MO_カタログフォント,
  MOF_カタログフォント0,
  MOF_カタログフォント1,
  MOF_カタログフォント2,
  MO_表示維持,
  MO_別枠表示,
  MO_単一クリック,
  MO_移動表示,
  MO_画像枠固定,
  MO_旧プレイヤー,
  MO_削除問合せ,
  MO_関連付け,
  MO_ZIP解凍,
  // Help
  M_ヘルプ,
  MH_トピック,
  MH_バージョン,
  // Context menus of the grids
  POP_注釈欄,
  POP注釈_コピー,
  POP注釈_貼付,
  POP注釈_切取,
  POP注釈_コメント修正,
  POP注釈_消去,
  POPL_CAN,
  POP_名称欄,
  POP名称_名前コピー,
  POP名称_フルパスコピー,
  POP名称_名前修正,
  POP名称_開く,
  POP名称_表示,
  POPF_CAN,
  POP_DIR欄,
  POPDIR_コピー,
  POPDIR_フルパスコピー,
  POP_日付欄,
  POP日付_コピー,
  POP日付_修正,
  POP_容量欄,
  POP容量_コピー,
  POP_選択有,
  POP選択_コピー,
  POP選択_消去,
  // Buttons and clickable labels (not in any menu)
  ボタン_開く,
  ボタン_読込,
  ボタン_保存,
  ボタン_表示,
  ボタン_深度0,
  ボタン_深度1,
  ボタン_深度2,
  ボタン_深度3,
  ボタン_深度4,
  ボタン_縦2列,
  ボタン_横2列,
  FNDBTN,
  NAMDSP,
  JANDSP,
  Count
};

enum class Look : int {
  MenuBar,      // a menu of the menu bar
  Submenu,      // a menu inside another
  ContextMenu,  // a hidden top-level menu opened by a right click
  Item,         // a command
  Check,        // a command that shows a check mark
  Button,       // a button or label of the window
};

struct MenuEntry {
  Command id = Command::None;
  TextView name;                   // control name, u"MF_リスト開く", u"MD_表示モード(2)"
  Command parent = Command::None;  // the menu holding it; None for menus of the bar, context menus, buttons
  TextView caption;                // as shown, u"リストを開く  (&O)"; buttons: their tooltip
  std::string_view shortcut;       // "Ctrl+O", "F2", "Shift+F3"; empty for none
  Look look = Look::Item;
  bool hidden = false;           // in the menu but never shown
  bool separatorBefore = false;  // a line above it in its menu
  bool built = true;             // false: the program does not have it yet (greyed)
};

namespace mainmenu {

// Every entry in menu order: the menus of the bar with their items, then the
// context menus, then the buttons.
std::span<const MenuEntry> entries();

// The entry of a command (Command::None for an unknown value).
const MenuEntry& entry(Command id);

// The entries directly inside a menu, in order.
std::vector<const MenuEntry*> itemsOf(Command menu);

// Members of control arrays: indexed(Command::MD_表示モード0, 2) ==
// Command::MD_表示モード2; indexOf gives 2 back for MD_表示モード2 (0 for a
// command outside any array).
Command indexed(Command first, int index);
int indexOf(Command id);

// The level buttons, the level items of the Display menu and the display
// mode items as the values they stand for: ボタン_深度3 -> 3, MDL_総て表示 -> 0,
// MDL_レベル表示2 -> 2; -1 for other commands.
int levelOf(Command id);

// The caption of "このファイルを…" for a file name in the name column's
// context menu: "EXE" gives u"このファイルを実行", "LZH", "ZIP" and "CAB"
// u"このファイルを解凍", any other u"このファイルを開く".
inline constexpr TextView OpenCaptionHead = u"このファイルを";
Text openCaptionFor(TextView fileName);
// Whether "データを表示" is offered for the file: text and picture types.
bool canShowData(TextView fileName);

}  // namespace mainmenu

}  // namespace zevro
