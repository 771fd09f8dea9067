#pragma once
// The options of the main window as one value: read from the option store
// when the window opens, switched by the Display and Options menus (each
// switch is written to the store at once), and written back when the window
// closes (write).
//
//   MainWindowOptions o = MainWindowOptions::read(store);
//   o.displayMode        4 (files in a bottom pane), from FileFrames " 4"
//   o.listInterleave     2 (2 px between lines), from ListInterleave
//   o.listWidths[Ns]     90 (first column of the folder pane, pixels)
//   o.windowX, o.width   twips, like 0 and 13500
#include <array>
#include <cstdint>
#include <optional>

#include "core/OptionStore.h"
#include "grid/GridSettings.h"
#include "listview/MainMenu.h"
#include "text/Text.h"

namespace zevro {

struct MainWindowOptions {
  // The size the window is designed for, in twips (900 x 640 px at 96 dpi).
  static constexpr int DesignedWidth = 13500;
  static constexpr int DesignedHeight = 9600;

  // Which of the four first-column widths applies: N while the file pane is
  // on the right, W otherwise; m while the window is maximised, s otherwise.
  enum WidthCase : int { Nm = 0, Wm = 1, Ns = 2, Ws = 3 };
  static WidthCase widthCase(bool rightPane, bool maximised);

  // ---- Display
  int displayMode = 4;  // 0, 1, 2 or 4 (FileFrames; 3 and 5 read as 2 and 4)
  int folderPercentH = 50;
  int folderPercentV = 50;
  bool colorF = true;
  bool keiDispH = false;
  bool keiDispV = true;
  bool keiFileH = true;
  bool keiFileV = true;
  bool listWordWrap = false;
  int listInterleave = 2;  // 1..7
  bool useFixedPitch = false;
  // Pixels, by WidthCase. Until a width is stored (the window closes), a
  // name column shows a typical name whole: "家族のアルバム_2024.jpg" rather
  // than "家族のアー" beside an empty comment.
  static constexpr std::array<int, 4> FirstStartNameWidths{180, 260, 180, 260};
  std::array<int, 4> listWidths = FirstStartNameWidths;
  std::array<int, 4> fileWidths = FirstStartNameWidths;

  // ---- Colours (0xBBGGRR; 0x8000000D/E the desktop's selection colours)
  Colour listFore = 0x000000;
  Colour listBack = 0xFFFFFF;
  Colour selFore = SystemSelectionText;
  Colour selBack = SystemSelectionBack;
  Colour csrFore = 0x000000;
  Colour csrBack = 0xE8FFC8;
  Colour vLine = 0xB0B0B0;
  Colour hLine = 0xA0A0A0;
  Colour titleForeL = 0xFFFFFF;
  Colour titleBackL = 0xE0D090;
  Colour titleForeF = 0xFFFFFF;
  Colour titleBackF = 0xE8C0D0;
  std::array<Colour, 12> levelColours{0x800000, 0x008000, 0x800080, 0xA06000, 0x007090, 0x8020A0,
                                      0xC08000, 0x444444, 0x504422, 0x333370, 0x603370, 0x337033};
  GridFontSetting font;  // FontName (designed: u"ＭＳ Ｐゴシック"), FontSize "9.75", FontBold

  // ---- Switches of the Options menu
  bool startWithCatalog = true;
  bool startWithFind = false;
  bool attachSelBox = true;
  bool useSameView = true;
  bool useCommentFrame = false;
  bool prevSingle = false;
  bool prevUpDown = false;
  bool fixPreview = false;
  bool useOldPlayer = false;
  bool queryDelete = true;
  bool useExternal = false;
  bool useExtactZip = true;
  int catFontNo = 0;

  // ---- Kept for the search and the selection list (written back at close)
  bool alphaSame = false;
  bool hanZenSame = false;
  bool useWildCard = false;
  bool findTerm = false;
  int findMode = 3;
  int currentJanreNo = 0;
  Text janreOpen;

  // ---- Window geometry in twips, as stored
  int windowX = 0;
  int windowY = 0;
  int width = DesignedWidth;
  int height = DesignedHeight;

  static MainWindowOptions read(const OptionStore& store);
  // Reads again what the options window and the font commands change: the
  // colours and the list font (the rest stays as the window holds it).
  void readDisplay(const OptionStore& store);

  // Writes what the window keeps when it closes: WindowX, WindowY, WIDTH,
  // HEIGHT (only when the window is in the normal state, neither minimized
  // nor maximized), FolderPercentH, FolderPercentV, FileFrames (displayMode),
  // CurrentJanreNo, JanreOpen, AlphaSame, HanZenSame, FindTerm, UseWildCard
  // and the eight first-column widths.
  void write(OptionStore& store, bool normalState) const;

  // The switch a menu item stands for, as a member and its option key:
  // MD_文字色分け -> &colorF and u"ColorF"; nullopt for other commands.
  struct Switch {
    bool MainWindowOptions::*member;
    TextView key;
    bool onOff;  // written as "ON"/"OFF" (else -1/0)
  };
  static std::optional<Switch> switchOf(Command command);

  // Flips the switch of a menu item and writes its key; the new state.
  // False (and nothing written) for a command that is no switch.
  bool toggle(Command command, OptionStore& store);
  bool isOn(Command command) const;

  // The line spacing item MDD_行間ドット(i) writes ListInterleave = i + 1.
  void setInterleave(int value, OptionStore& store);
};

}  // namespace zevro
