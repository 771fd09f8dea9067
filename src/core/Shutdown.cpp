#include "core/Shutdown.h"

#include <cerrno>

#include "core/FileOps.h"
#include "core/OptionKeys.h"
#include "core/ShutdownMessages.h"
#include "core/Startup.h"

namespace zevro {

namespace {

void report(Ui& ui, const Text& text) { ui.showMessage(text, mb::Ok, u""); }

// The extraction folder with everything below it; links inside are removed,
// never followed (an extracted archive may hold links to anywhere).
bool removeExtractionFolder(FileSystem& files, const NativePath& folder) {
  IoError error = files.removeTree(folder);
  return !error || error.code == ENOENT;
}

bool emptyWorkFolder(FileSystem& files, const NativePath& folder) {
  fileops::deleteFilesOfFolder(files, folder);
  return fileops::listFiles(files, folder, u"*").empty();
}

}  // namespace

bool saveOptions(Platform& platform, OptionStore& options) {
  if (!options.save()) return true;
  report(platform.ui, fileWriteErrorText(options.path()));
  return false;
}

bool emptyWorkFolders(Platform& platform, const NativePath& programFolder) {
  bool done = true;
  const NativePath extraction = fileops::resolved(platform.files, programFolder / ExtractionFolderName);
  if (!removeExtractionFolder(platform.files, extraction)) {
    report(platform.ui, dirAccessErrorText(extraction));
    done = false;
  }
  const NativePath work = fileops::resolved(platform.files, programFolder / WorkFolderName);
  if (!emptyWorkFolder(platform.files, work)) {
    report(platform.ui, dirAccessErrorText(work));
    done = false;
  }
  return done;
}

}  // namespace zevro
