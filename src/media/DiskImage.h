#pragma once
// A folder on disk that holds a copy of a medium (a disk image's files)
// stands in for the medium: it is recorded in the title line (field 5, flag
// bit 1) and searched before the drives.
//
//   chosen "/img/GAMES/VIDEO_TS/x.vob", the medium's first entry VIDEO_TS
//       -> "/img/GAMES" (the folder above the medium's top entry)
//   chosen "/img/GAMES/x.vob"          -> "/img/GAMES"
//
// The folder is stored as this machine's path: a catalog carried to another
// machine looks for it there and, not finding it, goes on to the drives.
#include "core/CatalogDocument.h"
#include "core/OptionStore.h"
#include "text/Text.h"

namespace zevro::diskimage {

inline constexpr TextView ReloadMessage = u"このリストをロードし直して下さい";
inline constexpr TextView DialogTitle = u"ディスク・イメージの場所を指定";
inline constexpr TextView Filter =
    u"映像ﾌｧｲﾙ|*.mpg;*.wmv;*.avi;*.mpn;*.avn;*.rm;*.VOB;*.IFO|総てのﾌｧｲﾙ|*.*";

// The folder to record for a chosen file.
NativePath folderFor(const NativePath& chosenFile, TextView firstRowName);
// Records the folder in the title line and marks the catalog modified.
void record(RowStore& list, const NativePath& folder);

// The command: the reload check, the save question, the file dialog
// (starting at the current row's name or the option DiskImageFile), the
// chosen file kept in DiskImageFile, the folder recorded. currentName: the
// name of the current row of the active grid. True when a folder was recorded.
bool ChooseDiskImage(CatalogDocument& document, Ui& ui, OptionStore& options, TextView currentName);

}  // namespace zevro::diskimage
