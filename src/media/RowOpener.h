#pragma once
// Opening the file of a catalog row from its medium, the way its type asks:
//
//   extension                                 action
//   LZH, ZIP                                  the whole archive extracted into a
//                                             folder the user chooses (the desktop's
//                                             program instead with UseExternal, or
//                                             when the archive cannot be read here)
//   EXE                                       asks first (not for names holding
//                                             "setup" or "inst"), then opens
//   COM BAT DRV DLL VXD X86 286 386 SYS OCX   a beep, nothing else
//   OCA DAT REG VBX CAB LIB BAS INS
//   MPN MPNG AVN                              locked video: the password, then played
//   MPG MPEG AVI WMV RM VOB IFO               played
//   anything else                             the desktop's default program
//
// Players are looked for on PATH: with UseOldPlayer only the older player
// (mplayer); otherwise the newer one (mpv), else the DVD player (vlc). They
// are started with the file as one argument, never through a shell.
#include <optional>

#include "media/ArchiveReader.h"
#include "media/MediumLocator.h"
#include "platform/Programs.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

enum class OpenAction { ShellOpen, ExtractArchive, AskThenOpen, BeepOnly, LockedVideo, Play };

class RowOpener {
public:
  static constexpr TextView RunQuestionTail = u" をこの場所で実行していいですか？";
  static constexpr TextView HardDiskWarning = u"※ ハードディスクにインストールしないと正しく動作しないソフトがあります";
  static constexpr TextView PasswordPrompt = u"\x01このファイルの パスワードを入力して下さい";
  static constexpr TextView PasswordCaption = u"ZEVRO";
  static constexpr TextView ExtractTitleTail = u"の解凍先 指定";
  // Neither try to open a file with the desktop's program succeeded.
  static constexpr TextView NoProgramMessage = u"このファイルを開くプログラムが見つかりません|";
  // The one password of locked video files, compared exactly.
  static constexpr TextView Password = u"HOSHI";
  static constexpr const char* OldPlayer = "mplayer";
  static constexpr const char* NewPlayer = "mpv";
  static constexpr const char* DvdPlayer = "vlc";

  struct Services {
    MediumLocator& locator;
    ArchiveReader& archives;
    FileSystem& files;
    Ui& ui;
    Programs& programs;
    NativePath extractionFolder;  // "<program folder>/TempFile"
  };

  struct Settings {
    bool useExternal = false;   // UseExternal: archives go to the desktop's program
    bool useOldPlayer = false;  // UseOldPlayer
    bool zipUsable = true;      // UseExtactZip
    // The audio-track command, like u"vlc cdda:///dev/sr0 --cdda-track=%1":
    // its words before the first "%" (or all of them), then the file.
    Text audioCdCommand;
  };

  explicit RowOpener(Services services) : s_(std::move(services)) {}

  Settings settings;
  // Set for the rest of the run once the password was given right.
  bool passwordAccepted = false;

  static OpenAction actionFor(TextView extension, bool useExternal, bool lzhUsable, bool zipUsable);
  // The row path from level 1, its last part replaced by the name on the
  // medium when the row was renamed (field 5): u"DIR\\NEW.TXT" -> u"DIR\\ORIG.TXT".
  static Text relativePath(const RowStore& list, int row);
  // The question before a program is run; kind "HD" leaves the warning off.
  static Text runQuestion(TextView fileName, TextView kind);
  // The words of the audio-track command with the file added.
  static std::vector<std::string> audioCdArguments(TextView command, const NativePath& file);

  // The player to use, or nullopt (then nothing is played).
  std::optional<NativePath> player();
  bool oldPlayerInstalled() { return s_.programs.find(OldPlayer).has_value(); }

  // Opens the file of catalog row `row` of the shown catalog; track: the
  // number an audio CD's row stands for (its "TrackNN.CDA").
  void OpenRowFile(const ShownCatalog& shown, int row, int track);

private:
  void shellOpen(const ShownCatalog& shown, TextView p, TextView extension, int row);
  void extractArchive(const ShownCatalog& shown, TextView p, ArchiveType type);
  void play(const ShownCatalog& shown, TextView p, int row);

  Services s_;
};

}  // namespace zevro
