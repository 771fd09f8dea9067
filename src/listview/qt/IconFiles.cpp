#include "listview/qt/IconFiles.h"

#include "core/FileOps.h"
#include "listview/qt/IconForm.h"
#include "listview/qt/IconStrip.h"

namespace zevro::iconfiles {

QImage LoadIcons(Program& program) {
  const int pictureIcons = program.LoadIcons();
  if (pictureIcons == 0) return iconstrip::standardStrip();
  std::string bytes;
  FileSystem& files = program.platform().files;
  const NativePath picture = fileops::resolved(files, program.iconPicturePath());
  std::optional<QImage> strip;
  if (!files.readFile(picture, bytes)) strip = iconstrip::fromBitmapBytes(bytes);
  if (strip && iconstrip::iconCount(*strip) == pictureIcons) return *strip;
  // Never the user's table with pictures it was not made for.
  program.icons().useStandardTables();
  return iconstrip::standardStrip();
}

bool DispIconList(Program& program, QImage& strip, QWidget* parent) {
  IconEdit edit(program.icons(), iconstrip::iconCount(strip));
  QImage working = strip;
  IconForm form(edit, working, program.platform().ui, parent);
  const bool ok = form.exec() == QDialog::Accepted;
  const IconEdit::Outcome outcome = edit.finish(ok);
  if (!outcome.savePicture) return false;
  program.storeUserIcons(edit, iconstrip::bitmapBytes(iconstrip::withIcons(working, outcome.stripIcons)));
  strip = LoadIcons(program);
  return true;
}

QImage useStandardIcons(Program& program) {
  program.useStandardIcons();
  return iconstrip::standardStrip();
}

}  // namespace zevro::iconfiles
