#pragma once
// What the reading window decides, without the window: the drive list and
// which drive it offers first, the folder choice, the option boxes and their
// rules, the start and stop buttons, and one reading from the start button to
// the finished list (MediaReading), with its progress. The window
// (media/qt/ScanForm) draws this state and forwards the user's clicks; tests
// drive it through the hooks with a scripted Ui.
//
//   drives()          {'C', 3, u"c: [ROOT]  /"}, {'D', 5, u"d: [GAMES]  /media/kaori/GAMES"}
//   selectedFolder()  u"" (the whole medium) or u"D:\\DOCS" (a folder read as a medium)
//   runState()        Waiting (0) -> Started (1) by Start; Stopped (-1) by Stop,
//                     by closing the window or by a reading that did not succeed
//   titleText()       u"" -> u"読み込み中: GAMES" -> u"フォルダー･サイズ記録中"
//   progressFolder()  u"D:\\DOCS", progressCount() 1234 (files and folders so far)
//
// One reading (readMedium): the window shows itself, lets the user choose and
// waits for Start; then the medium is read into the caller's store. The old
// catalog of a medium read again is only named in the result: the caller
// retires it once the new list is stored (see ReadingStore.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/Geometry.h"
#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "media/ArchiveLister.h"
#include "media/CommentSource.h"
#include "media/MediaReading.h"
#include "text/Text.h"

namespace zevro {

class ScanFormLogic {
public:
  // --- Texts of the window --------------------------------------------------
  static constexpr TextView Caption = u"メディアの読み取り";
  static constexpr TextView ChooseDriveText = u"ドライブを選択して、 ［開始］ボタンを押して下さい";
  static constexpr TextView BrowseCaption = u"参照";
  static constexpr TextView StartCaption = u"開始";
  static constexpr TextView StopCaption = u"中止";
  static constexpr TextView SettingsCaption = u"設定";
  static constexpr TextView AutoCreateCaption = u"ｺﾒﾝﾄを自動生成";
  static constexpr TextView SortByExtensionCaption = u"拡張子別にｿｰﾄして記録";
  static constexpr TextView SortByKindCaption = u"種類別に ｿｰﾄして記録";
  static constexpr TextView RecordUnzipCaption = u"LZH内のﾌｧｲﾙ名も記録";
  static constexpr TextView CommentUnzipCaption = u"LZHからもｺﾒﾝﾄを生成";
  static constexpr TextView PriorityCaption = u"優先度";
  static constexpr TextView HighPriorityCaption = u"高い";
  static constexpr TextView LowPriorityCaption = u"低い";
  static constexpr TextView HideScanCaption = u"ﾘｽﾄ画面を隠す";
  static constexpr TextView FolderChooserTitle = u"読み取りフォルダーの選択";
  // Asked when Stop is pressed during a reading (Yes / No, No preselected).
  static constexpr TextView StopQuestion = u"読み取りを中止していいですか？";

  // The title line's colours, 0xBBGGRR: plain black on white, and while a
  // new reading runs RGB 224,64,128 on RGB 255,255,192.
  struct TitleColours {
    std::uint32_t text;
    std::uint32_t back;
  };
  static constexpr TitleColours PlainColours{0x000000, 0xFFFFFF};
  static constexpr TitleColours ReadingColours{0x8040E0, 0xC0FFFF};
  // While a list is brought up to date: RGB 0,0,128 on RGB 192,240,255.
  static constexpr TitleColours RefreshColours{0x800000, 0xFFF0C0};

  enum class RunState : int { Stopped = -1, Waiting = 0, Started = 1 };

  struct DriveEntry {
    char letter = 'C';  // 'A'..'Z'
    int type = 0;       // drive type (platform/Drives.h), 5 CD-ROM, 2 removable …
    Text text;          // u"d: [GAMES]  /media/kaori/GAMES": letter and colon first
  };

  // The option boxes.
  struct Boxes {
    bool autoCreate = true;        // AUTSEL, option AutoCreate
    bool sortByExtension = false;  // SRTSEL  } option RecordSort: 1, 2, or 0 for neither
    bool sortByKind = true;        // TYPSEL  }
    bool recordUnzip = false;      // LZHSEL, option RecordUnzip
    bool commentUnzip = false;     // LCMSEL, option CommentUnzip
    bool lowPriority = false;      // LVLOPT: pending events run after every item
    bool hideScan = false;         // HIDSEL, option HideScan: the list window is hidden
  };

  struct Services {
    MediaReading::Services reading;  // platform, drives, title files, icons, catalog folder
    OptionStore& options;
    // The comment generator; nullptr: comments stay empty.
    CommentSource* comments = nullptr;
    // The archive reader; nullptr: archives cannot be read, their boxes are disabled.
    ArchiveLister* archives = nullptr;
  };

  // What the window does for the logic; each may be left empty.
  struct Hooks {
    // The state of the controls changed (enabled, checked, texts, shown): redraw.
    std::function<void()> changed;
    // Lets window events run until runState() is no longer Waiting; if it
    // returns with the state unchanged, the reading counts as stopped.
    std::function<void()> waitForStart;
    // Lets pending window events run during the reading (a stop button); the
    // window throttles itself and redraws the progress here.
    std::function<void()> pump;
    // The question about a medium that is catalogued already; empty: Cancel.
    std::function<MediaReading::Existing(const MediaReading::ExistingCatalog&)> askExisting;
    // The list window is hidden while "ﾘｽﾄ画面を隠す" is checked.
    std::function<void(bool hidden)> hideMainWindow;
    // The busy pointer during the reading.
    std::function<void(bool busy)> busy;
  };

  ScanFormLogic(Services services, Hooks hooks = {});
  void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  // Opening the window: the boxes from the options, the drive list, and the
  // drive offered first: the last CD-ROM drive of the list, else its last
  // removable drive (the first entry never counts), else C:.
  void load();

  // --- The user's actions -----------------------------------------------------
  // Another drive: the chosen folder is forgotten; "参照" is enabled unless
  // the drive is a CD-ROM drive.
  void selectDrive(int index);
  // "参照": the folder chooser at the selected drive; a chosen folder selects
  // its drive and becomes the folder that is read.
  void browse();
  void setAutoCreate(bool on);
  void setSortByExtension(bool on);  // clears sort by kind
  void setSortByKind(bool on);       // clears sort by extension
  void setRecordUnzip(bool on);
  void setCommentUnzip(bool on);
  void setLowPriority(bool on);
  void setHideScan(bool on);
  void start();
  // "中止": before Start it stops at once; during a reading it asks first.
  void stop();
  // The window's close box: hides the window and stops a waiting or running reading.
  void close();

  // One new reading into the store: shows the window, waits for Start and
  // reads the chosen drive or folder. nullopt when the user never started
  // (Stop or the close box); otherwise the reading's result, which on
  // failure leaves the store empty. The window is hidden afterwards in
  // every case and the boxes are stored in the options.
  std::optional<MediaReading::Result> readMedium(RowStore& store);

  // A shown catalog brought up to date: the window shows the medium title,
  // its drive is chosen and locked (no folder choice), the source (u"E:" or
  // u"E:\\DOCS") is read after Start under the catalog's own name, without
  // any question, into the store given (not the shown list). nullopt when
  // the user never started or the source's drive is not in the list.
  std::optional<MediaReading::Result> refreshMedium(RowStore& store, TextView source, TextView catalogFileName,
                                                    TextView mediumTitle);
  // A refresh is under way (the drive list and the folder choice are locked).
  bool refreshing() const { return refreshing_; }

  // The window is dropped by the program: its position (twips) and the
  // HideScan box go to the options.
  void unload(int xTwips, int yTwips);
  // The stored position in twips; nullopt when none was stored.
  std::optional<std::pair<int, int>> storedPosition() const;
  // Where the window opens, in pixels (window: its size; owner: the list
  // window's frame while it is shown; screen: the usable area): at the
  // stored position, else where the user left it (nullopt: it stays), else
  // at the owner's top left, else in the middle of the screen; always on
  // the screen.
  std::optional<Rect> placement(const Rect& window, const std::optional<Rect>& owner, const Rect& screen, int dpiX,
                                int dpiY, bool placedBefore) const;

  // --- State the window draws -------------------------------------------------
  const std::vector<DriveEntry>& drives() const { return drives_; }
  int selectedDrive() const { return selected_; }  // index into drives(); -1 when empty
  const Text& selectedFolder() const { return folder_; }
  const Boxes& boxes() const { return boxes_; }
  // The option RecordSort for the boxes: 1 by extension, 2 by kind, 0 by name.
  int recordSort() const;
  // The user chose another catalog folder: readings are stored there.
  void setCatalogFolder(NativePath folder) { services_.reading.catalogFolder = std::move(folder); }
  bool archivesAvailable() const { return services_.archives != nullptr; }
  bool driveListEnabled() const { return choosing_ && !refreshing_; }
  bool settingsEnabled() const { return choosing_; }
  bool startEnabled() const { return choosing_; }
  bool browseEnabled() const;
  bool recordUnzipEnabled() const { return choosing_ && archivesAvailable(); }
  // Comments are offered only where a comment generator is there; without
  // one the box is disabled and shown unchecked (the stored choice stays).
  bool commentsAvailable() const { return services_.comments != nullptr; }
  bool autoCreateEnabled() const { return choosing_ && commentsAvailable(); }
  bool autoCreateShown() const { return boxes_.autoCreate && commentsAvailable(); }
  bool commentUnzipEnabled() const { return autoCreateEnabled() && archivesAvailable() && boxes_.autoCreate; }
  // Escape presses "中止" (before a reading starts).
  bool escapeStops() const { return escapeStops_; }
  bool shown() const { return shown_; }
  RunState runState() const { return state_; }
  const Text& titleText() const { return title_; }
  const TitleColours& titleColours() const { return *titleColours_; }
  // The folder chosen or being read, and the count of files and folders read
  // so far (-1 before a reading).
  const Text& progressFolder() const { return progressFolder_; }
  int progressCount() const { return progressCount_; }
  // The drive text of the selected entry, u"D:"; empty when none.
  Text selectedDriveText() const;

private:
  void loadBoxes();
  void storeBoxes();
  void fillDrives();
  int preselected() const;
  int indexOfLetter(char letter) const;
  int typeOf(char letter) const;
  MediaReading::Settings readingSettings() const;
  MediaReading::Hooks readingHooks();
  // Shows the window in its waiting state until the user starts or closes
  // it; true when started (the controls then show the running reading).
  bool showAndWaitForStart();
  // One reading with the window's settings and hooks; a stop that came
  // after the walk's last look still makes it stopped.
  MediaReading::Result runReading(const std::function<MediaReading::Result(MediaReading&)>& work);
  std::optional<MediaReading::Result> finish(RowStore& store, std::optional<MediaReading::Result> result);
  void changed();

  Services services_;
  Hooks hooks_;
  Boxes boxes_;
  std::vector<DriveEntry> drives_;
  int selected_ = -1;
  Text folder_;
  RunState state_ = RunState::Stopped;
  bool choosing_ = false;  // drive list, settings and Start enabled
  bool escapeStops_ = false;
  bool reading_ = false;  // the walk runs
  bool refreshing_ = false;
  bool shown_ = false;
  bool loaded_ = false;
  Text title_;
  const TitleColours* titleColours_ = &PlainColours;
  Text progressFolder_;
  int progressCount_ = -1;
};

}  // namespace zevro
