#include "listview/MainMenu.h"

#include <array>

#include "core/Strings.h"

namespace zevro::mainmenu {

namespace {

using C = Command;
using enum Look;

constexpr bool NotYet = false;  // `built`: what the command does is not built yet

// Captions keep the blanks and full-width spaces that line the menus up.
const MenuEntry Table[] = {
    // ---- File
    {C::M_ファイル, u"M_ファイル", C::None, u"ファイル(&F)", "", MenuBar},
    {C::MF_リスト開く, u"MF_リスト開く", C::M_ファイル, u"リストを開く  (&O)", "Ctrl+O", Item},
    {C::MF_既存開く, u"MF_既存開く", C::M_ファイル, u"指定ドライブのリストを開く (&M)", "", Item, false, false, NotYet},
    {C::MF_新規作成, u"MF_新規作成", C::M_ファイル, u"リストを新規作成 (&N)", "Ctrl+N", Item, false, true},
    {C::MF_リスト更新, u"MF_リスト更新", C::M_ファイル, u"リストを最新の情報に更新 (&U)", "Ctrl+U", Item, false, false},
    {C::MF_DVD場所, u"MF_DVD場所", C::M_ファイル, u"ディスク・イメージの場所を指定 (&I)", "", Item, false, false},
    {C::MF_上書保存, u"MF_上書保存", C::M_ファイル, u"リストを上書き保存   (&S)", "Ctrl+S", Item, false, true},
    {C::MF_TEXT保存, u"MF_TEXT保存", C::M_ファイル, u"リストを Text/CSVファイルに保存  (&A)", "Ctrl+K", Item},
    {C::MF_リスト削除, u"MF_リスト削除", C::M_ファイル, u"リストを削除    (&D)", "", Item, false, true},
    {C::MF_タイトル変更, u"MF_タイトル変更", C::M_ファイル, u"リストのタイトル名を変更 (&R)", "", Item, false, true},
    {C::MF_ジャンル変更, u"MF_ジャンル変更", C::M_ファイル, u"リストの ジャンルを変更 (&J)", "", Item},
    {C::MF_メディア名変更, u"MF_メディア名変更", C::M_ファイル, u"メディアのタイトルを変更 (&V)", "", Item, false, false},
    {C::MF_印刷, u"MF_印刷", C::M_ファイル, u"印刷 (&P)", "", Item, false, true},
    {C::MF_バックアップ, u"MF_バックアップ", C::M_ファイル, u"カタログ・データをバックアップ (&B)", "", Item, false,
     true},
    {C::MF_比較, u"MF_比較", C::M_ファイル, u"比較…", "", Item},
    {C::MF_終了, u"MF_終了", C::M_ファイル, u"ZEVROの終了 (&X)", "", Item, false, true},

    // ---- Edit
    {C::M_編集, u"M_編集", C::None, u"編集(&E)", "", MenuBar},
    {C::ME_コピー, u"ME_コピー", C::M_編集, u"コピー (&C)", "", Item, false, false},
    {C::ME_貼付, u"ME_貼付", C::M_編集, u"貼り付け (&P)", "", Item, false, false},
    {C::ME_切取, u"ME_切取", C::M_編集, u"切り取り (&X)", "", Item, false, false},
    {C::ME_データ修正, u"ME_データ修正", C::M_編集, u"カーソル行の データを修正 (&R)", "F2", Item, false, true},
    {C::ME_ファイル名修正, u"ME_ファイル名修正", C::M_編集, u"カーソル行の ファイル名を修正 (&N)", "", Item, false,
     false},
    {C::ME_コメント消去, u"ME_コメント消去", C::M_編集, u"選択された行の コメントを消去 (&E)", "", Item, false, true},
    {C::ME_選択行削除, u"ME_選択行削除", C::M_編集, u"選択された行を 削除 (&D)", "", Item, false, false},
    {C::ME_イメージ記録, u"ME_イメージ記録", C::M_編集, u"JPEGイメージをリストに記録する (&J)", "", Item, false, true},
    {C::ME_イメージ消去, u"ME_イメージ消去", C::M_編集, u"JPEGイメージをリストから消去する", "", Item, false, false},
    {C::ME_総て選択, u"ME_総て選択", C::M_編集, u"フォルダー内のファイルを総て選択 (&A)", "Ctrl+A", Item, false, true},

    // ---- Search
    {C::M_検索, u"M_検索", C::None, u"検索(&S)", "", MenuBar},
    {C::MS_文字指定, u"MS_文字指定", C::M_検索, u"検索文字を指定 (&S)", "Ctrl+F", Item, false, false},
    {C::MS_全検索, u"MS_全検索", C::M_検索, u"全カタログ を検索 (&A)", "F6", Item, false, false},
    {C::MS_検索対象, u"MS_検索対象", C::M_検索, u"検索対象 (&T)", "", Submenu, false, true},
    {C::MST_検索対象0, u"MST_検索対象(0)", C::MS_検索対象, u"フォルダー・ファイル欄のみ検索 (&F)", "F4", Check, false,
     false},
    {C::MST_検索対象1, u"MST_検索対象(1)", C::MS_検索対象, u"コメント欄のみ検索 (&C)", "F5", Check, false, false},
    {C::MST_検索対象2, u"MST_検索対象(2)", C::MS_検索対象, u"両方を検索　　　　　 (&B)", "", Check, false, false},
    {C::MS_検索条件, u"MS_検索条件", C::M_検索, u"検索条件 (&O)", "", Submenu},
    {C::MS_大小区別, u"MS_大小区別", C::MS_検索条件, u"大文字・小文字を区別する (&C)", "", Check, false, false},
    {C::MS_半角全角, u"MS_半角全角", C::MS_検索条件, u"半角・全角を区別する      (&D)", "", Check, false, false},
    {C::MS_正規表現, u"MS_正規表現", C::MS_検索条件, u"正規表現で検索する (&R)", "", Check, false, false},
    {C::MS_完全一致, u"MS_完全一致", C::MS_検索条件, u"単語単位で検索する (&O)", "", Check, false, false},
    {C::MS_履歴クリア, u"MS_履歴クリア", C::M_検索, u"検索履歴をクリア (&R)", "", Item, false, false},
    {C::MS_次を検索, u"MS_次を検索", C::M_検索, u"次を検索 (&N)", "F3", Item, false, true},
    {C::MS_前を検索, u"MS_前を検索", C::M_検索, u"逆方向に検索 (&B)", "Shift+F3", Item, false, false},
    {C::MS_次フォルダー, u"MS_次フォルダー", C::M_検索, u"次のフォルダーへ移動", "F7", Item, false, true},
    {C::MS_前フォルダー, u"MS_前フォルダー", C::M_検索, u"前のフォルダーへ移動", "Shift+F7", Item, false, false},
    {C::MS_重複ファイル, u"MS_重複ファイル", C::M_検索, u"重複ファイルを探す", "", Item, false, true},
    {C::MS_単独ファイル, u"MS_単独ファイル", C::M_検索, u"このメディアにしかないファイル", "", Item, false, false},

    // ---- Display
    {C::M_表示, u"M_表示", C::None, u"表示(&D)", "", MenuBar},
    {C::MD_表示モード0, u"MD_表示モード(0)", C::M_表示, u"フォルダーのみ表示 (&-)", "", Check},
    {C::MD_表示モード1, u"MD_表示モード(1)", C::M_表示, u"フォルダーとファイルを表示 (&+)", "", Check},
    {C::MD_表示モード2, u"MD_表示モード(2)", C::M_表示, u"ファイルを右枠に表示 (&R)", "", Check},
    {C::MD_表示モード3, u"MD_表示モード(3)", C::M_表示, u"ファイルを下枠に表示 (&D)", "", Check},
    {C::MD_表示レベル, u"MD_表示レベル", C::M_表示, u"表示するレベル (&L)", "", Submenu, false, true},
    {C::MDL_総て表示, u"MDL_総て表示", C::MD_表示レベル, u"すべてのフォルダーを表示 (&A)", "", Item},
    {C::MDL_レベル表示1, u"MDL_レベル表示(1)", C::MD_表示レベル, u"レベル 1のフォルダーのみ表示 (&1)", "", Item, false,
     true},
    {C::MDL_レベル表示2, u"MDL_レベル表示(2)", C::MD_表示レベル, u"レベル 2のフォルダーのみ表示 (&2)", "", Item},
    {C::MDL_レベル表示3, u"MDL_レベル表示(3)", C::MD_表示レベル, u"レベル 3のフォルダーのみ表示 (&3)", "", Item},
    {C::MDL_レベル表示4, u"MDL_レベル表示(4)", C::MD_表示レベル, u"レベル 4のフォルダーのみ表示 (&4)", "", Item},
    {C::MD_ソート0, u"MD_ソート(0)", C::M_表示, u"ファイル名順 にソート (&N)", "", Item, false, true},
    {C::MD_ソート1, u"MD_ソート(1)", C::M_表示, u"拡張子別 にソート　　(&X)", "", Item},
    {C::MD_ソート2, u"MD_ソート(2)", C::M_表示, u"種類別にソート　　　　(&T)", "", Item},
    {C::MD_固定ピッチ, u"MD_固定ピッチ", C::M_表示, u"サイズ日付け欄は固定ピッチ", "", Check, true, true},
    {C::MD_文字色分け, u"MD_文字色分け", C::M_表示, u"文字をレベル毎に色分け (&C)", "", Check, false, true},
    {C::MD_罫線, u"MD_罫線", C::M_表示, u"罫線 (&K)", "", Submenu},
    {C::MDK_縦罫線L, u"MDK_縦罫線L", C::MD_罫線, u"フォルダー枠の縦の罫線 (&V)", "", Check},
    {C::MDK_横罫線L, u"MDK_横罫線L", C::MD_罫線, u"フォルダー枠の横の罫線 (&H)", "", Check},
    {C::MDK_縦罫線F, u"MDK_縦罫線F", C::MD_罫線, u"ファイル枠の縦の罫線 (&V)", "", Check, false, true},
    {C::MDK_横罫線F, u"MDK_横罫線F", C::MD_罫線, u"ファイル枠の横の罫線 (&H)", "", Check},
    {C::MD_行間, u"MD_行間", C::M_表示, u"行間 (&G)", "", Submenu},
    {C::MDD_行間ドット0, u"MDD_行間ドット(0)", C::MD_行間, u"1ドット (&1)", "", Check},
    {C::MDD_行間ドット1, u"MDD_行間ドット(1)", C::MD_行間, u"2ドット (&2)", "", Check},
    {C::MDD_行間ドット2, u"MDD_行間ドット(2)", C::MD_行間, u"3ドット (&3)", "", Check},
    {C::MDD_行間ドット3, u"MDD_行間ドット(3)", C::MD_行間, u"4ドット (&4)", "", Check},
    {C::MDD_行間ドット4, u"MDD_行間ドット(4)", C::MD_行間, u"2行 (&D)", "", Check, false, true},
    {C::MDD_行間ドット5, u"MDD_行間ドット(5)", C::MD_行間, u"3行 (&T)", "", Check},
    {C::MDD_行間ドット6, u"MDD_行間ドット(6)", C::MD_行間, u"4行 (&Q)", "", Check},
    {C::MD_ワードラップ, u"MD_ワードラップ", C::M_表示, u"ワードラップ (&W)", "", Check},
    {C::MD_データ表示, u"MD_データ表示", C::M_表示, u"カーソル行のデータを表示 (&P)", "", Item, false, true},

    // ---- Options
    {C::M_オプション, u"M_オプション", C::None, u"オプション(&O)", "", MenuBar},
    {C::MO_起動時カタログ, u"MO_起動時カタログ", C::M_オプション, u"起動時にカタログ選択を表示 (&S)", "", Check, false,
     false, NotYet},
    {C::MO_起動時全検索, u"MO_起動時全検索", C::M_オプション, u"起動時に全検索画面を表示 (&W)", "", Check, false, false,
     NotYet},
    {C::MO_密着, u"MO_密着", C::M_オプション, u"カタログ選択画面を密着", "", Check, false, false, NotYet},
    {C::MO_色の変更, u"MO_色の変更", C::M_オプション, u"色の変更 (&C)", "", Item, false, true},
    {C::MO_アイコン変更, u"MO_アイコン変更", C::M_オプション, u"表示アイコンの変更 (&I)", "", Item},
    {C::MO_アイコン戻す, u"MO_アイコン戻す", C::M_オプション, u"表示アイコンを標準に戻す", "", Item},
    {C::MO_フォント変更, u"MO_フォント変更", C::M_オプション, u"リストのフォントを変更 (&F)", "", Item, false, true},
    {C::MO_コメントフォント, u"MO_コメントフォント", C::M_オプション, u"コメント枠のフォントを変更 (&C)", "", Item},
    {C::MO_プレビューフォント, u"MO_プレビューフォント", C::M_オプション, u"プレビューのフォントを変更 (&P)", "", Item},
    {C::MO_カタログフォント, u"MO_カタログフォント", C::M_オプション, u"フォントの種類 (&T)", "", Submenu},
    {C::MOF_カタログフォント0, u"MOF_カタログフォント(0)", C::MO_カタログフォント, u"ゴシック体  (&G)", "", Check},
    {C::MOF_カタログフォント1, u"MOF_カタログフォント(1)", C::MO_カタログフォント, u"明朝体  (&R)", "", Check},
    // Offered only where the desktop has a font of that name (MainWindowLogic::isVisible).
    {C::MOF_カタログフォント2, u"MOF_カタログフォント(2)", C::MO_カタログフォント, u"メイリオ  (&M)", "", Check, true},
    {C::MO_表示維持, u"MO_表示維持", C::M_オプション, u"保存時の表示状態を維持する (&S)", "", Check, false, true},
    {C::MO_別枠表示, u"MO_別枠表示", C::M_オプション, u"コメントは別枠に表示する", "", Check, false, false, NotYet},
    {C::MO_単一クリック, u"MO_単一クリック", C::M_オプション, u"シングル・クリック時にデータ表示 (&1)", "", Check,
     false, false, NotYet},
    {C::MO_移動表示, u"MO_移動表示", C::M_オプション, u"カーソル移動時にデータ表示 (&1)", "", Check, false, false,
     NotYet},
    {C::MO_画像枠固定, u"MO_画像枠固定", C::M_オプション, u"画像枠のサイズを固定する (&K)", "", Check, false, false},
    {C::MO_旧プレイヤー, u"MO_旧プレイヤー", C::M_オプション, u"動画は旧プレイヤーで再生する", "", Check, true, false},
    {C::MO_削除問合せ, u"MO_削除問合せ", C::M_オプション, u"リストの行削除時に問い合わせ (&Q)", "", Check, false, true,
     NotYet},
    {C::MO_関連付け, u"MO_関連付け", C::M_オプション, u"解凍時は外部ソフトを使用する", "", Check, false, false},
    {C::MO_ZIP解凍, u"MO_ZIP解凍", C::M_オプション, u"ZIP形式を解凍する (&Z)", "", Check, false, false},

    // ---- Help
    {C::M_ヘルプ, u"M_ヘルプ", C::None, u"ヘルプ(&H)", "", MenuBar},
    {C::MH_トピック, u"MH_トピック", C::M_ヘルプ, u"トピック検索 (&H)", "", Item},
    {C::MH_バージョン, u"MH_バージョン", C::M_ヘルプ, u"バージョン情報 (&A)", "", Item, false, true},

    // ---- Context menus (no captions of their own: never shown in a bar)
    {C::POP_注釈欄, u"POP_注釈欄", C::None, u"", "", ContextMenu},
    {C::POP注釈_コピー, u"POP注釈_コピー", C::POP_注釈欄, u"コピー", "", Item, false, false},
    {C::POP注釈_貼付, u"POP注釈_貼付", C::POP_注釈欄, u"貼り付け", "", Item, false, false},
    {C::POP注釈_切取, u"POP注釈_切取", C::POP_注釈欄, u"切り取り", "", Item, false, false},
    {C::POP注釈_コメント修正, u"POP注釈_コメント修正", C::POP_注釈欄, u"修正", "", Item, false, true},
    {C::POP注釈_消去, u"POP注釈_消去", C::POP_注釈欄, u"消去", "", Item, false, false},
    {C::POPL_CAN, u"POPL_CAN", C::POP_注釈欄, u"このメニューを消す", "", Item, false, true},
    {C::POP_名称欄, u"POP_名称欄", C::None, u"", "", ContextMenu},
    {C::POP名称_名前コピー, u"POP名称_名前コピー", C::POP_名称欄, u"ファイル名をコピー", "", Item, false, false},
    {C::POP名称_フルパスコピー, u"POP名称_フルパスコピー", C::POP_名称欄, u"フルパス名をコピー", "", Item, false, false},
    {C::POP名称_名前修正, u"POP名称_名前修正", C::POP_名称欄, u"ファイル名を修正", "", Item, false, true},
    {C::POP名称_開く, u"POP名称_開く", C::POP_名称欄, u"ファイルを開く", "", Item, false, true},
    {C::POP名称_表示, u"POP名称_表示", C::POP_名称欄, u"データを表示", "", Item, false, false},
    {C::POPF_CAN, u"POPF_CAN", C::POP_名称欄, u"このメニューを消す", "", Item, false, true},
    {C::POP_DIR欄, u"POP_DIR欄", C::None, u"", "", ContextMenu},
    {C::POPDIR_コピー, u"POPDIR_コピー", C::POP_DIR欄, u"フォルダー名をコピー", "", Item, false, false},
    {C::POPDIR_フルパスコピー, u"POPDIR_フルパスコピー", C::POP_DIR欄, u"フルパス名をコピー", "", Item, false, false},
    {C::POP_日付欄, u"POP_日付欄", C::None, u"", "", ContextMenu},
    {C::POP日付_コピー, u"POP日付_コピー", C::POP_日付欄, u"コピー", "", Item, false, false},
    {C::POP日付_修正, u"POP日付_修正", C::POP_日付欄, u"日付、時間を修正", "", Item, false, false},
    {C::POP_容量欄, u"POP_容量欄", C::None, u"", "", ContextMenu},
    {C::POP容量_コピー, u"POP容量_コピー", C::POP_容量欄, u"コピー", "", Item, false, false},
    {C::POP_選択有, u"POP_選択有", C::None, u"", "", ContextMenu},
    {C::POP選択_コピー, u"POP選択_コピー", C::POP_選択有, u"コピー", "", Item, false, false},
    {C::POP選択_消去, u"POP選択_消去", C::POP_選択有, u"消去", "", Item, false, false},

    // ---- Buttons and labels (captions are their tooltips)
    {C::ボタン_開く, u"ボタン_開く", C::None, u"カタログを開く", "", Button},
    {C::ボタン_読込, u"ボタン_読込", C::None, u"新規メディアの読み取り", "", Button},
    {C::ボタン_保存, u"ボタン_保存", C::None, u"カタログを保存", "", Button},
    {C::ボタン_表示, u"ボタン_表示", C::None, u"ファイルを表示", "", Button, false, false},
    {C::ボタン_深度0, u"ボタン_深度(0)", C::None, u"すべて表示", "", Button},
    {C::ボタン_深度1, u"ボタン_深度(1)", C::None, u"レベル１のみ表示", "", Button},
    {C::ボタン_深度2, u"ボタン_深度(2)", C::None, u"レベル２まで表示", "", Button},
    {C::ボタン_深度3, u"ボタン_深度(3)", C::None, u"レベル３まで表示", "", Button},
    {C::ボタン_深度4, u"ボタン_深度(4)", C::None, u"レベル４まで表示", "", Button},
    {C::ボタン_縦2列, u"ボタン_縦2列", C::None, u"左右枠に表示", "", Button},
    {C::ボタン_横2列, u"ボタン_横2列", C::None, u"上下枠に表示", "", Button},
    {C::FNDBTN, u"FNDBTN", C::None, u"右クリックで全検索", "", Button, false, false},
    {C::NAMDSP, u"NAMDSP", C::None, u"", "", Button},
    {C::JANDSP, u"JANDSP", C::None, u"", "", Button},
};

constexpr std::size_t CommandCount = static_cast<std::size_t>(C::Count);

// Position of each command in the table, built once.
const std::array<int, CommandCount>& positions() {
  static const std::array<int, CommandCount> table = [] {
    std::array<int, CommandCount> p{};
    p.fill(-1);
    for (std::size_t i = 0; i < std::size(Table); ++i) p[static_cast<std::size_t>(Table[i].id)] = static_cast<int>(i);
    return p;
  }();
  return table;
}

struct ArrayRange {
  Command first;
  Command last;
};

constexpr ArrayRange Arrays[] = {
    {C::MST_検索対象0, C::MST_検索対象2},     {C::MD_表示モード0, C::MD_表示モード3},
    {C::MDL_レベル表示1, C::MDL_レベル表示4}, {C::MD_ソート0, C::MD_ソート2},
    {C::MDD_行間ドット0, C::MDD_行間ドット6}, {C::MOF_カタログフォント0, C::MOF_カタログフォント2},
    {C::ボタン_深度0, C::ボタン_深度4},
};

int number(Command c) { return static_cast<int>(c); }

}  // namespace

std::span<const MenuEntry> entries() { return Table; }

const MenuEntry& entry(Command id) {
  static const MenuEntry none{};
  const auto i = static_cast<std::size_t>(id);
  if (i >= CommandCount || positions()[i] < 0) return none;
  return Table[static_cast<std::size_t>(positions()[i])];
}

std::vector<const MenuEntry*> itemsOf(Command menu) {
  std::vector<const MenuEntry*> items;
  if (menu == C::None) return items;
  for (const MenuEntry& e : Table) {
    if (e.parent == menu) items.push_back(&e);
  }
  return items;
}

Command indexed(Command first, int index) { return static_cast<Command>(number(first) + index); }

int indexOf(Command id) {
  for (const ArrayRange& a : Arrays) {
    if (number(id) >= number(a.first) && number(id) <= number(a.last)) {
      // MDL_レベル表示 counts from 1.
      return number(id) - number(a.first) + (a.first == C::MDL_レベル表示1 ? 1 : 0);
    }
  }
  return 0;
}

int levelOf(Command id) {
  if (id == C::MDL_総て表示) return 0;
  if (number(id) >= number(C::MDL_レベル表示1) && number(id) <= number(C::MDL_レベル表示4)) return indexOf(id);
  if (number(id) >= number(C::ボタン_深度0) && number(id) <= number(C::ボタン_深度4)) return indexOf(id);
  return -1;
}

Text openCaptionFor(TextView fileName) {
  const Text ext = extensionOf(trim(fileName), true);
  Text caption(OpenCaptionHead);
  if (ext == u"EXE") return caption + u"実行";
  if (ext == u"LZH" || ext == u"ZIP" || ext == u"CAB") return caption + u"解凍";
  return caption + u"開く";
}

bool canShowData(TextView fileName) {
  static constexpr TextView TextTypes =
      u"/TXT/DOC/LOG/1ST/ME/HTM/HTML/SHTML/JS/CSS/CGI/PL/PM/INI/INF/BAT/VBP/MAK/FRM/"
      u"BAS/CLS/SRC/ASM/ASC/C/A80/A86/LST/INC/MAP/HEX/H/CSV/";
  static constexpr TextView PictureTypes = u"/BMP/DIB/ICO/JPG/JPEG/JPE/GIF/";
  const Text ext = extensionOf(trim(fileName), true);
  if (ext.empty()) return false;
  const Text key = u"/" + ext + u"/";
  return TextTypes.find(key) != TextView::npos || PictureTypes.find(key) != TextView::npos;
}

}  // namespace zevro::mainmenu
