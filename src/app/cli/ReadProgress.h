#pragma once
// What `zevro-cli read` shows on a terminal while it reads: one line that
// is redrawn in place at most ten times a second,
//   "12,345 files, 678 folders  0:42  …\PHOTOS\2024\旅行"
// and, when the reading is done, a summary in its place:
//   "12,345 files, 678 folders read in 0:57"
// The folder is cut at its front so that the line fits 79 columns
// (full-width characters count two).
#include <chrono>
#include <iosfwd>
#include <string>

#include "media/FolderWalker.h"
#include "media/ThrottledPump.h"
#include "text/Text.h"

namespace zevro::cli {

class ReadProgress {
public:
  explicit ReadProgress(std::ostream& err);

  WalkCallbacks callbacks();
  // Replaces the progress line by the summary of the stored rows.
  void finish(int files, int folders);

  // "1,234 files, 56 folders" (the shared start of both lines).
  static std::string countText(int files, int folders);
  // "0:07", "12:34", "1:02:03"
  static std::string elapsedText(std::chrono::steady_clock::duration elapsed);
  // The tail of `path` that fits `columns` (full-width characters take two),
  // with "…" in front when it was cut.
  static std::string fittedTail(TextView path, int columns);

private:
  bool draw();

  std::ostream& err_;
  std::chrono::steady_clock::time_point start_;
  Text folder_;
  int count_ = 0;
  int folders_ = 0;
  ThrottledPump throttle_;
};

}  // namespace zevro::cli
