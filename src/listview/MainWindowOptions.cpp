#include "listview/MainWindowOptions.h"

#include <algorithm>

#include "core/OptionKeys.h"
#include "dialogs/FontOptions.h"

namespace zevro {

namespace {

using Self = MainWindowOptions;

constexpr TextView ListWidthKeys[4] = {opt::ListWidthNm0, opt::ListWidthWm0, opt::ListWidthNs0, opt::ListWidthWs0};
constexpr TextView FileWidthKeys[4] = {opt::FileWidthNm0, opt::FileWidthWm0, opt::FileWidthNs0, opt::FileWidthWs0};

struct SwitchRow {
  Command command;
  bool Self::*member;
  TextView key;
  bool onOff;
};

// Menu item, the member it flips and the option key that keeps it.
const SwitchRow Switches[] = {
    {Command::MD_文字色分け, &Self::colorF, opt::ColorF, true},
    {Command::MDK_横罫線L, &Self::keiDispH, opt::KeiDispH, false},
    {Command::MDK_縦罫線L, &Self::keiDispV, opt::KeiDispV, false},
    {Command::MDK_横罫線F, &Self::keiFileH, opt::KeiFileH, false},
    {Command::MDK_縦罫線F, &Self::keiFileV, opt::KeiFileV, false},
    {Command::MD_ワードラップ, &Self::listWordWrap, opt::ListWordWrap, false},
    {Command::MD_固定ピッチ, &Self::useFixedPitch, opt::UseFixedPitch, false},
    {Command::MO_起動時カタログ, &Self::startWithCatalog, opt::StartWithCatalog, false},
    {Command::MO_起動時全検索, &Self::startWithFind, opt::StartWithFind, false},
    {Command::MO_密着, &Self::attachSelBox, opt::AttachSelBox, false},
    {Command::MO_表示維持, &Self::useSameView, opt::useSameView, false},
    {Command::MO_別枠表示, &Self::useCommentFrame, opt::useCommentFrame, false},
    {Command::MO_単一クリック, &Self::prevSingle, opt::PrevSingle, false},
    {Command::MO_移動表示, &Self::prevUpDown, opt::PrevUpDown, false},
    {Command::MO_画像枠固定, &Self::fixPreview, opt::FixPreview, false},
    {Command::MO_旧プレイヤー, &Self::useOldPlayer, opt::UseOldPlayer, false},
    {Command::MO_削除問合せ, &Self::queryDelete, opt::QueryDelete, false},
    {Command::MO_関連付け, &Self::useExternal, opt::UseExternal, false},
    {Command::MO_ZIP解凍, &Self::useExtactZip, opt::UseExtactZip, false},
};

// Bit 1 counts only without a pane; 3 and 5 are 2 and 4.
int displayModeOf(int stored) {
  if (stored & 2) return 2;
  if (stored & 4) return 4;
  return stored & 1;
}

int percentOf(int stored) { return stored <= 0 || stored >= 100 ? 50 : stored; }

}  // namespace

Self::WidthCase Self::widthCase(bool rightPane, bool maximised) {
  if (rightPane) return maximised ? Nm : Ns;
  return maximised ? Wm : Ws;
}

void Self::write(OptionStore& store, bool normalState) const {
  if (normalState) {
    store.writeNumber(opt::WindowX, windowX);
    store.writeNumber(opt::WindowY, windowY);
    store.writeNumber(opt::WIDTH, width);
    store.writeNumber(opt::HEIGHT, height);
  }
  store.writeNumber(opt::FolderPercentH, folderPercentH);
  store.writeNumber(opt::FolderPercentV, folderPercentV);
  store.writeNumber(opt::FileFrames, displayMode);
  store.writeNumber(opt::CurrentJanreNo, currentJanreNo);
  store.writeText(opt::JanreOpen, janreOpen);
  store.writeBoolean(opt::AlphaSame, alphaSame);
  store.writeBoolean(opt::HanZenSame, hanZenSame);
  store.writeBoolean(opt::FindTerm, findTerm);
  store.writeBoolean(opt::UseWildCard, useWildCard);
  for (std::size_t i = 0; i < 4; ++i) {
    store.writeNumber(ListWidthKeys[i], listWidths[i]);
    store.writeNumber(FileWidthKeys[i], fileWidths[i]);
  }
}

void Self::readDisplay(const OptionStore& store) {
  listFore = opt::readColour(store, opt::ListForeCol);
  listBack = opt::readColour(store, opt::ListBackCol);
  selFore = opt::readColour(store, opt::SelForeCol);
  selBack = opt::readColour(store, opt::SelBackCol);
  csrFore = opt::readColour(store, opt::CsrForeCol);
  csrBack = opt::readColour(store, opt::CsrBackCol);
  vLine = opt::readColour(store, opt::ListVLineCol);
  hLine = opt::readColour(store, opt::ListHLineCol);
  titleForeL = opt::readColour(store, opt::TitleForeColL);
  titleBackL = opt::readColour(store, opt::TitleBackColL);
  titleForeF = opt::readColour(store, opt::TitleForeColF);
  titleBackF = opt::readColour(store, opt::TitleBackColF);
  for (int level = 1; level <= opt::ForeColorCount; ++level)
    levelColours[static_cast<std::size_t>(level - 1)] = opt::readColour(store, opt::foreColorKey(level));
  const FontChoice stored = fontoptions::read(store, fontoptions::listKeys(), {font.name, font.size, font.bold});
  font.name = stored.name;
  font.size = stored.size;
  font.bold = stored.bold;
}

Self Self::read(const OptionStore& store) {
  Self o;
  o.displayMode = displayModeOf(opt::readNumber(store, opt::FileFrames));
  o.folderPercentH = percentOf(opt::readNumber(store, opt::FolderPercentH));
  o.folderPercentV = percentOf(opt::readNumber(store, opt::FolderPercentV));
  o.colorF = opt::readOnOff(store, opt::ColorF);
  o.keiDispH = opt::readBoolean(store, opt::KeiDispH);
  o.keiDispV = opt::readBoolean(store, opt::KeiDispV);
  o.keiFileH = opt::readBoolean(store, opt::KeiFileH);
  o.keiFileV = opt::readBoolean(store, opt::KeiFileV);
  o.listWordWrap = opt::readBoolean(store, opt::ListWordWrap);
  o.listInterleave = std::clamp(opt::readNumber(store, opt::ListInterleave), 1, 7);
  o.useFixedPitch = opt::readBoolean(store, opt::UseFixedPitch);
  for (std::size_t i = 0; i < 4; ++i) {
    if (store.has(ListWidthKeys[i])) o.listWidths[i] = opt::readNumber(store, ListWidthKeys[i]);
    if (store.has(FileWidthKeys[i])) o.fileWidths[i] = opt::readNumber(store, FileWidthKeys[i]);
  }

  o.readDisplay(store);

  for (const SwitchRow& s : Switches) {
    if (s.onOff) continue;  // ColorF, read above
    o.*(s.member) = opt::readBoolean(store, s.key);
  }
  o.catFontNo = opt::readNumber(store, opt::CatFontNo);

  o.alphaSame = opt::readBoolean(store, opt::AlphaSame);
  o.hanZenSame = opt::readBoolean(store, opt::HanZenSame);
  o.useWildCard = opt::readBoolean(store, opt::UseWildCard);
  o.findTerm = opt::readBoolean(store, opt::FindTerm);
  o.findMode = opt::readNumber(store, opt::FindMode);
  o.currentJanreNo = opt::readNumber(store, opt::CurrentJanreNo);
  o.janreOpen = store.readText(opt::JanreOpen, u"");

  // A position off the screen's top left comes back where the title bar
  // can be reached; a size below the smallest usable one is raised.
  o.windowX = opt::readNumber(store, opt::WindowX);
  o.windowY = opt::readNumber(store, opt::WindowY);
  if (o.windowX < 0 || o.windowY < 0) {
    o.windowX = 0;
    o.windowY = 40;
  }
  if (store.has(opt::WIDTH)) {
    o.width = store.readNumber(opt::WIDTH, DesignedWidth);
    o.height = store.readNumber(opt::HEIGHT, DesignedHeight);
    if (o.width < 7800) o.width = 7800;
    if (o.height < 2800) o.height = 3000;
  }
  return o;
}

std::optional<Self::Switch> Self::switchOf(Command command) {
  for (const SwitchRow& s : Switches) {
    if (s.command == command) return Switch{s.member, s.key, s.onOff};
  }
  return std::nullopt;
}

bool Self::toggle(Command command, OptionStore& store) {
  const std::optional<Switch> s = switchOf(command);
  if (!s) return false;
  bool& value = this->*(s->member);
  value = !value;
  if (s->onOff) {
    store.writeOnOff(s->key, value);
  } else {
    store.writeBoolean(s->key, value);
  }
  return value;
}

bool Self::isOn(Command command) const {
  const std::optional<Switch> s = switchOf(command);
  return s && this->*(s->member);
}

void Self::setInterleave(int value, OptionStore& store) {
  listInterleave = std::clamp(value, 1, 7);
  store.writeNumber(opt::ListInterleave, listInterleave);
}

}  // namespace zevro
