#pragma once
// A row store written as a list file on disk, by every path that writes one
// (a save, a relabelling, the conversion of old data).
//
// The new file is complete (written, flushed, time set) before the old one
// is touched. With keepTime an existing file is copied to the backup folder
// ("/…/zevro/Backup/_03CD_GAMES.cct") and the new file gets the old time
// plus one second. The name is normalised ("_03FD_X.cct"); an old file of
// another spelling ("_03fd_x.CCT") is the same catalog and does not stay
// beside the new one.
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/Platform.h"

namespace zevro::listfile {

struct WriteOutcome {
  bool written = false;
  NativePath path;  // the file written
  Limit limit = Limit::Ok;
  IoError error;
};

WriteOutcome writeToDisk(Platform& platform, const NativePath& backupFolder, const RowStore& store,
                         const Header& header, const NativePath& path, bool keepTime);

}  // namespace zevro::listfile
