#pragma once
// What the data window does, without the window: the text it loads, the
// zoom steps of a picture, how its size changes are answered, and where a
// key pressed in it goes. The Qt window (qt/LiveForm) shows the answers.
//
// Sizes are pixels unless named twips; twipsPerPixel comes from the screen
// (15 at 96 dpi).
#include <optional>
#include <utility>

#include "core/OptionStore.h"
#include "platform/FileSystem.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

// The beginning of a text file as the data window shows it.
struct DocLoad {
  enum class Outcome { Missing, Shown, Failed };
  Outcome outcome = Outcome::Missing;
  Text text;      // Shown: the text, empty when the bytes hold code 17
  IoError error;  // Failed: why it could not be read
};

inline constexpr std::size_t DocShownBytes = 16384;
// The window is never smaller than this when it shows text.
inline constexpr int DocMinWidthTwips = 3600;
inline constexpr int DocMinHeightTwips = 4200;
// A window wider than this stretches its picture over the client area.
inline constexpr int StretchAboveTwips = 1680;

// Reads the first min(16384, length) bytes of a regular file. An empty path,
// a missing file and anything that is not a regular file (a FIFO or device
// would block the window for ever) count as missing.
//   20,000 bytes of text -> the first 16,384, a cut double-byte character dropped
DocLoad loadDocText(FileSystem& files, const NativePath& file);
// loadDocText, telling a read error through the platform's message box.
DocLoad loadDocTextTold(FileSystem& files, Ui& ui, const NativePath& file);

// The natural size a picture caption carries: the number after the last "("
// and the number after the first "x" that follows it.
//   u"photo (2).jpg (640x480)" -> {640, 480};  u"a.jpg" -> nullopt
std::optional<std::pair<int, int>> captionPictureSize(TextView caption);

struct Size2 {
  int width = 0;
  int height = 0;
  bool operator==(const Size2&) const = default;
};

class LiveFormLogic {
public:
  // Where a key pressed in the window goes.
  enum class KeyRoute { Natural, ZoomIn, ZoomOut, Stay, MainUp, MainDown, Main };
  // key: a Qt-independent code: the character for printable keys, or one of
  // the codes below.
  static constexpr int KeyUp = 0x10000 + 1;
  static constexpr int KeyDown = 0x10000 + 2;
  static constexpr int KeyPadPlus = 0x10000 + 3;
  static constexpr int KeyPadMinus = 0x10000 + 4;
  static constexpr int KeyCode146 = 146;
  static KeyRoute route(int key);

  explicit LiveFormLogic(int twipsPerPixel = 15) : tpp_(twipsPerPixel > 0 ? twipsPerPixel : 15) {}
  int twipsPerPixel() const { return tpp_; }

  // The zoom factor in tenths (10 = natural size, 0 = not yet known). Kept
  // in whole tenths so that steps of 0.2 land exactly on the limits.
  int zoomTenths() const { return zoom_; }
  void resetZoom() { zoom_ = 0; }

  // "=": the window that shows the picture at its natural size.
  //   picture 640 x 480, frame 10 x 30 -> window 650 x 510
  static Size2 naturalWindow(Size2 picture, Size2 frame) {
    return {picture.width + frame.width, picture.height + frame.height};
  }

  struct Zoom {
    Size2 window;                 // the new outer size
    std::optional<Size2> image;   // the image's size, unless the window is wide enough to stretch it
  };
  // "+" or "-" with the picture's caption, the image's current width and the
  // frame (outer minus client size). nullopt: nothing happens (no size in the
  // caption, or the factor is at its limit).
  //   factor 1.0, "+" -> 1.2: 640 x 480 in frame 10 x 30 -> window 778 x 606
  std::optional<Zoom> zoom(KeyRoute key, TextView caption, int imageWidth, Size2 frame);

  // A resize of the window by the user (not while it fits itself to a
  // picture).
  struct Resize {
    Size2 textBox;       // client - (8, 4)
    bool stretch = false;  // the image takes the whole client area
  };
  // With FixPreview on, a window size that differs from PicViewWidth or
  // PicViewHeight (twips) is written to them.
  Resize resized(Size2 window, Size2 client, bool fixPreview, OptionStore& options, TextView caption,
                 int imageWidth);

  // The smallest window that shows text, in pixels.
  Size2 textWindow(Size2 window) const;

private:
  int tpp_;
  int zoom_ = 0;
};

}  // namespace zevro
