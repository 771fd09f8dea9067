#pragma once
// Paths as the catalogs write them ("E:\SOFT\TOOLS") and the folders of this
// machine they stand for, through the drive letters:
//   with E: standing for "/media/kaori/GAMES":
//   u"E:\\SOFT\\TOOLS"  <->  "/media/kaori/GAMES/SOFT/TOOLS"
//   u"E:" and u"E:\\"    ->  "/media/kaori/GAMES"
#include <optional>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro::drivepath {

// The letter a path or drive text starts with, upper-cased: u"e:\\X" -> 'E';
// 0 when the first character is no letter A to Z.
char letterOf(TextView pathOrDrive);

// True when a part of the path is "..": it would lead out of the drive's
// root (u"K:\\.." , u"K:\\DOCS\\..\\..").
bool leavesDrive(TextView drivePath);

// The folder of this machine a drive path stands for; nullopt when the
// letter has no root (unmapped, or no medium in the drive) or the path
// leaves the drive. Both "\" and "/" separate folders; each name is the
// folder's entry of that name, the exact one first, else one that differs
// only in case (u"K:\\docs" finds "DOCS").
std::optional<NativePath> nativePathOf(Drives& drives, FileSystem& files, TextView drivePath);

// The same below a folder of this machine, for a path relative to it
// (u"DOCS\\README.TXT" below "/img/GAMES" -> "/img/GAMES/DOCS/README.TXT",
// each name found as above); nullopt when a part is "..".
std::optional<NativePath> nativePathBelow(FileSystem& files, const NativePath& folder, TextView relative);

// The entry of a drive list: letter and colon first, then the label and the
// folder the letter stands for: u"d: [GAMES]  /media/kaori/GAMES".
Text driveListText(Drives& drives, char letter);

// The drive path of a folder of this machine: the letter whose root holds it
// most closely (C: for "/" holds everything), then the folders below that
// root joined by "\":
//   "/media/kaori/GAMES/SOFT" -> u"E:\\SOFT",  "/media/kaori/GAMES" -> u"E:\\",
//   "/home/kaori" -> u"C:\\home\\kaori".
// The path must be absolute; it is taken as written (no links resolved).
std::optional<Text> drivePathOf(Drives& drives, const NativePath& path);

}  // namespace zevro::drivepath
