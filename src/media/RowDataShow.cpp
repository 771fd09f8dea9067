#include "media/RowDataShow.h"

#include <cmath>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/Strings.h"
#include "media/RowOpener.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

bool listed(TextView list, TextView extension) {
  return !extension.empty() && list.find(u"/" + Text(extension) + u"/") != TextView::npos;
}

Text number(int n) {
  const std::string digits = std::to_string(n);
  return Text(digits.begin(), digits.end());
}

}  // namespace

PictureFit fitPicture(int w, int h, bool fixPreview, int picViewWidth, int picViewHeight, int innerHeight,
                      int borderWidth, int borderHeight) {
  PictureFit fit;
  if (!fixPreview || w <= 0 || h <= 0) {
    fit.width = std::max(w, 0);
    fit.height = std::max(h, 0);
    fit.windowWidth = fit.width + 4 + borderWidth;
    fit.windowHeight = fit.height + 4 + borderHeight;
    return fit;
  }
  const double frameW = picViewWidth;
  const double frameH = innerHeight;
  double newW = w;
  double newH = h;
  if (w > picViewWidth || h > innerHeight) {
    if (frameH > 0 && frameW / frameH >= static_cast<double>(w) / h) {
      newH = frameH;
      newW = static_cast<double>(w) / h * frameH;
    } else {
      newW = frameW;
      newH = frameW * h / w;
    }
  }
  fit.width = static_cast<int>(std::lround(newW));
  fit.height = static_cast<int>(std::lround(newH));
  fit.x = (picViewWidth - borderWidth - fit.width) / 2;
  fit.y = (innerHeight - fit.height) / 2;
  fit.windowWidth = picViewWidth;
  fit.windowHeight = picViewHeight;
  return fit;
}

Text pictureCaption(TextView rowPath, int w, int h) {
  return fileNamePart(rowPath) + u" (" + number(w) + u"x" + number(h) + u")";
}

bool RowDataShow::isTextType(TextView extension) { return listed(TextTypes, extension); }
bool RowDataShow::isPictureType(TextView extension) { return listed(PictureTypes, extension); }

RowDataShow::Shown RowDataShow::ShowRowData(const ShownCatalog& shown, int row) {
  if (s_.locator.locateCancelled) return clear();
  if (shown.list == nullptr || row < 0 || row >= shown.list->rowCount()) {
    s_.ui.beep();
    return clear();
  }
  if (catalog::isFolderLike(shown.list->kind(row))) return clear();
  const Text p = RowOpener::relativePath(*shown.list, row);
  s_.files.removeTree(s_.extractionFolder);

  const Text listFileName = cp932::fromNativeName(shown.listFile.filename().native());
  const TextView id = shown.list->fieldView(catalog::FieldImage, row);
  if (!id.empty()) {
    s_.pictures.SyncPictureCache(listFileName);
    const std::optional<NativePath> picture = s_.pictures.LoadAttachedPicture(listFileName, id);
    if (picture) return showPicture(*picture, p, Shown::AttachedPicture);
  }

  const Text extension = trim(extensionOf(p, true));
  const bool text = isTextType(extension);
  if (!text && !isPictureType(extension)) return clear();
  const NativePath file = s_.locator.LocateFile(shown, p, row);
  if (file.empty() || !fileops::fileExists(s_.files, file)) {
    if (!s_.locator.locateCancelled && s_.console) s_.console(Text(NoFile) + p);
    return clear();
  }
  if (text) {
    s_.window.DispDoc(file, p);
    return Shown::Document;
  }
  return showPicture(file, p, Shown::Picture);
}

RowDataShow::Shown RowDataShow::showPicture(const NativePath& file, TextView p, Shown kind) {
  const std::optional<std::pair<int, int>> size = s_.pictureSize ? s_.pictureSize(file) : std::nullopt;
  if (!size) return clear();
  PictureShow picture;
  picture.file = file;
  picture.width = size->first;
  picture.height = size->second;
  picture.caption = pictureCaption(p, picture.width, picture.height);
  s_.window.DispPic(picture);
  return kind;
}

RowDataShow::Shown RowDataShow::clear() {
  if (s_.window.loaded()) s_.window.DispNull();
  return Shown::Nothing;
}

}  // namespace zevro
