#pragma once
// Showing a catalog row in the data window: its attached picture when it
// has one, else its file from the medium when that is a text file or a
// picture; anything else clears the window.
//
//   text types     TXT DOC LOG 1ST ME HTM HTML SHTML JS CSS CGI PL PM INI INF
//                  BAT VBP MAK FRM BAS CLS SRC ASM ASC C A80 A86 LST INC MAP
//                  HEX H CSV
//   picture types  BMP DIB ICO JPG JPEG JPE GIF
//
// A file that cannot be found is told on the console line:
// u"ファイル無し：DOCS\\README.TXT".
#include <functional>
#include <optional>
#include <utility>

#include "media/DataWindow.h"
#include "media/MediumLocator.h"
#include "media/PictureCompanion.h"
#include "text/Text.h"

namespace zevro {

class RowDataShow {
public:
  static constexpr TextView NoFile = u"ファイル無し：";
  static constexpr TextView TextTypes =
      u"/TXT/DOC/LOG/1ST/ME/HTM/HTML/SHTML/JS/CSS/CGI/PL/PM/INI/INF/BAT/VBP/MAK/FRM/BAS/CLS/SRC/ASM/ASC/C/A80/A86/LST/"
      u"INC/MAP/HEX/H/CSV/";
  static constexpr TextView PictureTypes = u"/BMP/DIB/ICO/JPG/JPEG/JPE/GIF/";

  // The width and height of a picture file; nullopt when it cannot be read.
  using PictureSize = std::function<std::optional<std::pair<int, int>>(const NativePath&)>;

  struct Services {
    MediumLocator& locator;
    AttachedPictures& pictures;
    FileSystem& files;
    Ui& ui;
    DataWindow& window;
    PictureSize pictureSize;
    NativePath extractionFolder;
    // Prints on the main window's console line (cleared first).
    std::function<void(TextView)> console;
  };

  enum class Shown { Nothing, Document, Picture, AttachedPicture };

  explicit RowDataShow(Services services) : s_(std::move(services)) {}

  static bool isTextType(TextView extension);
  static bool isPictureType(TextView extension);

  // Shows catalog row `row` (0 or a folder-like row: clears the window).
  Shown ShowRowData(const ShownCatalog& shown, int row);

private:
  Shown showPicture(const NativePath& file, TextView p, Shown kind);
  Shown clear();

  Services s_;
};

}  // namespace zevro
