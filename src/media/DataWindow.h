#pragma once
// What the main window hands the data window: a text file to show, a
// picture, or nothing. The data window implements it; the logic that
// decides what to show knows only this.
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

struct PictureShow {
  NativePath file;  // "/…/temp/007.jpg" or the located picture file
  int width = 0;    // the picture's own size in pixels
  int height = 0;
  Text caption;  // u"photo.jpg (640x480)"
};

class DataWindow {
public:
  virtual ~DataWindow() = default;
  // The window exists (it was shown once); clearing a window that never
  // was is skipped.
  virtual bool loaded() const = 0;
  // A text file; displayName is the row path, like u"DOCS\\README.TXT".
  virtual void DispDoc(const NativePath& file, TextView displayName) = 0;
  virtual void DispPic(const PictureShow& picture) = 0;
  virtual void DispNull() = 0;
};

// Where a picture of w x h sits in the data window.
struct PictureFit {
  int x = 0;
  int y = 0;
  int width = 0;  // the size it is drawn at
  int height = 0;
  int windowWidth = 0;  // the data window's outer size
  int windowHeight = 0;
};

// With a fixed frame (FixPreview): a picture larger than the frame F x G
// (F = PicViewWidth, G = the window's inner height) is scaled to fit,
// keeping its proportions, and centred (border: outer minus inner width);
// the window takes PicViewWidth x PicViewHeight.
//   800 x 600 in 400 x 600  -> 400 x 300 at (0, 150);  200 x 100 -> 200 x 100 at (100, 250)
// Without it the window fits the picture: w + 4 + borders by h + 4 + borders,
// the picture at (0, 0) in its own size.
PictureFit fitPicture(int w, int h, bool fixPreview, int picViewWidth, int picViewHeight, int innerHeight,
                      int borderWidth, int borderHeight);

// u"photo.jpg (640x480)": the file name of the row path and the size.
Text pictureCaption(TextView rowPath, int w, int h);

}  // namespace zevro
