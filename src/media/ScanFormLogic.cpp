#include "media/ScanFormLogic.h"

#include "core/Placement.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/OptionKeys.h"
#include "media/DrivePath.h"
#include "platform/Drives.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr int LastGenre = 99;

Text driveText(char letter) { return Text{static_cast<char16_t>(letter), u':'}; }

int numberOfBox(bool on) { return on ? -1 : 0; }

}  // namespace

ScanFormLogic::ScanFormLogic(Services services, Hooks hooks)
    : services_(std::move(services)), hooks_(std::move(hooks)) {}

// ------------------------------------------------------------------ opening

void ScanFormLogic::load() {
  loadBoxes();
  fillDrives();
  selected_ = preselected();
  loaded_ = true;
  changed();
}

void ScanFormLogic::loadBoxes() {
  const OptionStore& options = services_.options;
  const int sort = opt::readNumber(options, opt::RecordSort);
  boxes_.sortByExtension = sort == optionValue(WalkOrder::Extension);
  boxes_.sortByKind = sort == optionValue(WalkOrder::Kind);
  boxes_.autoCreate = opt::readNumber(options, opt::AutoCreate) != 0;
  boxes_.recordUnzip = opt::readNumber(options, opt::RecordUnzip) != 0;
  boxes_.commentUnzip = opt::readNumber(options, opt::CommentUnzip) != 0;
  boxes_.hideScan = opt::readNumber(options, opt::HideScan) != 0;
}

void ScanFormLogic::storeBoxes() {
  OptionStore& options = services_.options;
  options.writeNumber(opt::RecordSort, recordSort());
  options.writeNumber(opt::AutoCreate, numberOfBox(boxes_.autoCreate));
  options.writeNumber(opt::RecordUnzip, numberOfBox(boxes_.recordUnzip));
  options.writeNumber(opt::CommentUnzip, numberOfBox(boxes_.commentUnzip));
}

int ScanFormLogic::recordSort() const {
  if (boxes_.sortByExtension) return optionValue(WalkOrder::Extension);
  if (boxes_.sortByKind) return optionValue(WalkOrder::Kind);
  return optionValue(WalkOrder::Name);
}

// The letters the machine has now, keeping the selected one where it is still there.
void ScanFormLogic::fillDrives() {
  const char kept = selected_ >= 0 && selected_ < static_cast<int>(drives_.size()) ? drives_[selected_].letter : 0;
  DriveInfo& info = services_.reading.drives;
  info.RefreshDriveTypes();
  Drives& machine = info.drives();
  drives_.clear();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const int present = machine.driveType(letter);
    if (present == drivetype::Unknown || present == drivetype::NoRoot) continue;
    DriveEntry entry;
    entry.letter = letter;
    entry.type = typeOf(letter);
    entry.text = drivepath::driveListText(machine, letter);
    drives_.push_back(std::move(entry));
  }
  selected_ = kept ? indexOfLetter(kept) : -1;
  if (selected_ < 0 && loaded_) selected_ = preselected();
}

// From the last entry back to the second: the first CD-ROM drive, else the
// first removable drive; else the drive the list shows by itself (C:).
int ScanFormLogic::preselected() const {
  for (const int wanted : {drivetype::CdRom, drivetype::Removable})
    for (int i = static_cast<int>(drives_.size()) - 1; i >= 1; --i)
      if (drives_[i].type == wanted) return i;
  const int c = indexOfLetter('C');
  if (c >= 0) return c;
  return drives_.empty() ? -1 : 0;
}

int ScanFormLogic::indexOfLetter(char letter) const {
  const auto it = std::find_if(drives_.begin(), drives_.end(), [&](const DriveEntry& d) { return d.letter == letter; });
  return it == drives_.end() ? -1 : static_cast<int>(it - drives_.begin());
}

int ScanFormLogic::typeOf(char letter) const { return services_.reading.drives.DriveType(driveText(letter)); }

Text ScanFormLogic::selectedDriveText() const {
  if (selected_ < 0 || selected_ >= static_cast<int>(drives_.size())) return {};
  return driveText(drives_[selected_].letter);
}

bool ScanFormLogic::browseEnabled() const {
  if (!choosing_ || refreshing_ || selected_ < 0 || selected_ >= static_cast<int>(drives_.size())) return false;
  return drives_[selected_].type != drivetype::CdRom;
}

// ------------------------------------------------------------------ actions

void ScanFormLogic::selectDrive(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size()) || refreshing_) return;
  selected_ = index;
  folder_.clear();
  progressFolder_.clear();
  changed();
}

void ScanFormLogic::browse() {
  if (!browseEnabled()) return;
  Drives& machine = services_.reading.drives.drives();
  const std::optional<NativePath> root = machine.root(drives_[selected_].letter);
  Ui& ui = services_.reading.platform.ui;
  const Text chosen = ui.browseForFolder(root ? cp932::fromNativeName(root->native()) : Text(), FolderChooserTitle);
  if (chosen.empty()) return;
  const std::optional<Text> drivePath = drivepath::drivePathOf(machine, NativePath(cp932::toNativeName(chosen)));
  int index = drivePath ? indexOfLetter(drivepath::letterOf(*drivePath)) : -1;
  if (index < 0 && drivePath) {
    // A medium that came after the list was made.
    fillDrives();
    index = indexOfLetter(drivepath::letterOf(*drivePath));
  }
  if (index < 0) {
    ui.beep();
    return;
  }
  selectDrive(index);
  folder_ = *drivePath;
  progressFolder_ = *drivePath;
  changed();
}

void ScanFormLogic::setAutoCreate(bool on) {
  boxes_.autoCreate = on;
  changed();
}

void ScanFormLogic::setSortByExtension(bool on) {
  boxes_.sortByExtension = on;
  if (on) boxes_.sortByKind = false;
  changed();
}

void ScanFormLogic::setSortByKind(bool on) {
  boxes_.sortByKind = on;
  if (on) boxes_.sortByExtension = false;
  changed();
}

void ScanFormLogic::setRecordUnzip(bool on) {
  boxes_.recordUnzip = on;
  changed();
}

void ScanFormLogic::setCommentUnzip(bool on) {
  boxes_.commentUnzip = on;
  changed();
}

void ScanFormLogic::setLowPriority(bool on) {
  boxes_.lowPriority = on;
  changed();
}

void ScanFormLogic::setHideScan(bool on) {
  boxes_.hideScan = on;
  if (hooks_.hideMainWindow) hooks_.hideMainWindow(on);
  changed();
}

void ScanFormLogic::start() {
  if (!choosing_ || state_ != RunState::Waiting || selected_ < 0) return;
  state_ = RunState::Started;
  changed();
}

void ScanFormLogic::stop() {
  if (choosing_) {
    state_ = RunState::Stopped;
    changed();
    return;
  }
  if (!reading_ || state_ != RunState::Started) return;
  const int answer = services_.reading.platform.ui.showMessage(StopQuestion, mb::YesNo | mb::DefaultSecond, {});
  if (answer == AnswerNo) return;
  state_ = RunState::Stopped;
  changed();
}

void ScanFormLogic::close() {
  state_ = RunState::Stopped;
  shown_ = false;
  changed();
}

// ------------------------------------------------------------------ reading

std::optional<MediaReading::Result> ScanFormLogic::readMedium(RowStore& store) {
  if (!loaded_) load();
  folder_.clear();
  title_.clear();
  titleColours_ = &PlainColours;
  progressFolder_.clear();
  progressCount_ = -1;
  fillDrives();
  if (!showAndWaitForStart()) return finish(store, std::nullopt);
  const Text path = folder_.empty() ? selectedDriveText() : folder_;
  return finish(store, runReading([&](MediaReading& reading) { return reading.read(path, store); }));
}

bool ScanFormLogic::showAndWaitForStart() {
  choosing_ = true;
  escapeStops_ = true;
  if (boxes_.hideScan && hooks_.hideMainWindow) hooks_.hideMainWindow(true);
  shown_ = true;
  state_ = RunState::Waiting;
  changed();

  if (hooks_.waitForStart) hooks_.waitForStart();
  if (state_ != RunState::Started) return false;
  choosing_ = false;
  escapeStops_ = false;
  changed();
  return true;
}

MediaReading::Result ScanFormLogic::runReading(const std::function<MediaReading::Result(MediaReading&)>& work) {
  reading_ = true;
  MediaReading reading(services_.reading, readingSettings(), readingHooks());
  MediaReading::Result result = work(reading);
  reading_ = false;
  // A stop that came after the last look of the walk still counts.
  if (result.ok() && state_ != RunState::Started) result.outcome = MediaReading::Outcome::Stopped;
  return result;
}

std::optional<MediaReading::Result> ScanFormLogic::refreshMedium(RowStore& store, TextView source,
                                                                 TextView catalogFileName, TextView mediumTitle) {
  if (!loaded_) load();
  folder_.clear();
  titleColours_ = &PlainColours;
  progressFolder_.clear();
  progressCount_ = -1;
  fillDrives();
  const char letter = source.empty() ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(source[0])));
  selected_ = indexOfLetter(letter);
  if (selected_ < 0) {
    changed();
    return std::nullopt;
  }
  title_ = Text(mediumTitle);
  folder_ = Text(source);
  progressFolder_ = folder_;
  refreshing_ = true;
  if (!showAndWaitForStart()) {
    refreshing_ = false;
    return finish(store, std::nullopt);
  }
  std::optional<MediaReading::Result> done = finish(store, runReading([&](MediaReading& reading) {
    return reading.refresh(source, catalogFileName, mediumTitle, store);
  }));
  refreshing_ = false;
  changed();
  return done;
}

MediaReading::Settings ScanFormLogic::readingSettings() const {
  const OptionStore& options = services_.options;
  MediaReading::Settings settings;
  settings.genre = std::clamp(opt::readNumber(options, opt::CurrentJanreNo), 0, LastGenre);
  settings.walk.sortOrder = walkOrderOf(recordSort()).value_or(WalkOrder::Name);
  settings.walk.zone = opt::readBoolean(options, opt::LocalListTime) ? ListTime::Zone::Machine : ListTime::Zone::Japan;
  settings.walk.archives = archivesAvailable() && (boxes_.recordUnzip || (boxes_.autoCreate && boxes_.commentUnzip));
  return settings;
}

MediaReading::Hooks ScanFormLogic::readingHooks() {
  MediaReading::Hooks hooks;
  hooks.askExisting = [this](const MediaReading::ExistingCatalog& existing) {
    return hooks_.askExisting ? hooks_.askExisting(existing) : MediaReading::Existing::Cancel;
  };
  hooks.status = [this](TextView text) {
    const TitleColours* colours = refreshing_ ? &RefreshColours : &ReadingColours;
    if (titleColours_ != colours && hooks_.busy) hooks_.busy(true);
    title_ = Text(text);
    titleColours_ = colours;
    progressFolder_.clear();
    changed();
  };
  hooks.progress.showFolder = [this](TextView path) { progressFolder_ = Text(path); };
  hooks.progress.showCount = [this](int count) { progressCount_ = count; };
  hooks.progress.pump = [this] {
    if (hooks_.pump) hooks_.pump();
    return state_ == RunState::Started;
  };
  hooks.progress.lowPriority = [this] { return boxes_.lowPriority; };
  // The comment table, device names, magazine labels and file rules apply
  // whatever the box says; the box switches index files and readmes.
  hooks.walk.comments = services_.comments;
  if (services_.comments) services_.comments->setReading(boxes_.autoCreate, boxes_.commentUnzip);
  const MediaReading::Settings settings = readingSettings();
  hooks.walk.archives = settings.walk.archives ? services_.archives : nullptr;
  if (hooks.walk.archives)
    hooks.walk.archives->setOptions({.recordMembers = boxes_.recordUnzip,
                                     .comments = boxes_.autoCreate && boxes_.commentUnzip,
                                     .zip = opt::readBoolean(services_.options, opt::UseExtactZip),
                                     .sortOrder = settings.walk.sortOrder});
  return hooks;
}

std::optional<MediaReading::Result> ScanFormLogic::finish(RowStore& store, std::optional<MediaReading::Result> result) {
  storeBoxes();
  if ((titleColours_ == &ReadingColours || titleColours_ == &RefreshColours) && hooks_.busy) hooks_.busy(false);
  titleColours_ = &PlainColours;
  choosing_ = false;
  escapeStops_ = false;
  shown_ = false;
  // Whatever became of the reading, the list window comes back with the
  // reading window gone: hidden for good, nothing would ever show it again.
  if (boxes_.hideScan && hooks_.hideMainWindow) hooks_.hideMainWindow(false);
  if (!result || !result->ok()) {
    state_ = RunState::Stopped;
    store.clear();
  }
  changed();
  return result;
}

// ------------------------------------------------------------------ unloading

void ScanFormLogic::unload(int xTwips, int yTwips) {
  OptionStore& options = services_.options;
  options.writeNumber(opt::ScanX, xTwips);
  options.writeNumber(opt::ScanY, yTwips);
  options.writeNumber(opt::HideScan, numberOfBox(boxes_.hideScan));
}

std::optional<std::pair<int, int>> ScanFormLogic::storedPosition() const {
  const OptionStore& options = services_.options;
  if (!options.has(opt::ScanX) || !options.has(opt::ScanY)) return std::nullopt;
  return std::pair{options.readNumber(opt::ScanX, 0), options.readNumber(opt::ScanY, 0)};
}

std::optional<Rect> ScanFormLogic::placement(const Rect& window, const std::optional<Rect>& owner, const Rect& screen,
                                             int dpiX, int dpiY, bool placedBefore) const {
  Rect at = window;
  if (const std::optional<std::pair<int, int>> stored = storedPosition()) {
    at.left = twipsToPixels(stored->first, dpiX);
    at.top = twipsToPixels(stored->second, dpiY);
  } else if (placedBefore) {
    return std::nullopt;
  } else if (owner) {
    at.left = owner->left;
    at.top = owner->top;
  } else {
    at.left = screen.left + (screen.width - window.width) / 2;
    at.top = screen.top + (screen.height - window.height) / 2;
  }
  return keptOnScreen(at, screen);
}

void ScanFormLogic::changed() {
  if (hooks_.changed) hooks_.changed();
}

}  // namespace zevro
