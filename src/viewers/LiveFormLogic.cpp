#include "viewers/LiveFormLogic.h"

#include <cmath>

#include "core/OptionKeys.h"
#include "viewers/DocumentText.h"

namespace zevro {

DocLoad loadDocText(FileSystem& files, const NativePath& file) {
  DocLoad load;
  if (file.empty()) return load;
  const std::optional<DirEntry> entry = files.stat(file);
  if (!entry || entry->type == DirEntry::Type::Folder || entry->type == DirEntry::Type::Other) return load;
  std::string bytes;
  if (IoError e = files.readStart(file, bytes, DocShownBytes)) {
    // A link to a FIFO or device is refused by the read itself.
    if (e.code == NotRegularFile || e.code == ENOENT) return load;
    load.outcome = DocLoad::Outcome::Failed;
    load.error = std::move(e);
    return load;
  }
  load.outcome = DocLoad::Outcome::Shown;
  if (bytes.find('\x11') != std::string::npos) return load;
  load.text = decodeDocument(bytes);
  return load;
}

DocLoad loadDocTextTold(FileSystem& files, Ui& ui, const NativePath& file) {
  DocLoad load = loadDocText(files, file);
  if (load.outcome == DocLoad::Outcome::Failed) ui.systemMessage(fromUtf8(load.error.text), mb::Ok, u"");
  return load;
}

namespace {

// The leading digits of a text: u"640x480)" -> 640; nullopt without any.
std::optional<int> leadingNumber(TextView t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == u' ') ++i;
  long long n = 0;
  const std::size_t start = i;
  for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9' && n < 1000000000; ++i) n = n * 10 + (t[i] - u'0');
  if (i == start) return std::nullopt;
  return static_cast<int>(n);
}

}  // namespace

std::optional<std::pair<int, int>> captionPictureSize(TextView caption) {
  const std::size_t open = caption.rfind(u'(');
  if (open == TextView::npos) return std::nullopt;
  const TextView part = caption.substr(open + 1);
  const std::size_t x = part.find(u'x');
  if (x == TextView::npos) return std::nullopt;
  const std::optional<int> w = leadingNumber(part);
  const std::optional<int> h = leadingNumber(part.substr(x + 1));
  if (!w || !h || *w <= 0 || *h <= 0) return std::nullopt;
  return std::pair{*w, *h};
}

LiveFormLogic::KeyRoute LiveFormLogic::route(int key) {
  switch (key) {
    case u'=': return KeyRoute::Natural;
    case u'+':
    case KeyPadPlus: return KeyRoute::ZoomIn;
    case u'-':
    case KeyPadMinus: return KeyRoute::ZoomOut;
    case KeyCode146: return KeyRoute::Stay;
    case KeyUp: return KeyRoute::MainUp;
    case KeyDown: return KeyRoute::MainDown;
    default: return KeyRoute::Main;
  }
}

std::optional<LiveFormLogic::Zoom> LiveFormLogic::zoom(KeyRoute key, TextView caption, int imageWidth, Size2 frame) {
  if (key != KeyRoute::ZoomIn && key != KeyRoute::ZoomOut) return std::nullopt;
  const std::optional<std::pair<int, int>> natural = captionPictureSize(caption);
  if (!natural) return std::nullopt;
  const auto [w, h] = *natural;
  if (zoom_ == 0) zoom_ = std::max(1, static_cast<int>(std::lround(10.0 * imageWidth / w)));
  if (key == KeyRoute::ZoomIn) {
    if (zoom_ > 20) return std::nullopt;
    zoom_ += 2;
  } else {
    if (zoom_ < 4) return std::nullopt;
    zoom_ -= 2;
  }
  const Size2 image{static_cast<int>(static_cast<long long>(w) * zoom_ / 10),
                    static_cast<int>(static_cast<long long>(h) * zoom_ / 10)};
  Zoom z;
  z.window = {image.width + frame.width, image.height + frame.height};
  if (z.window.width * tpp_ <= StretchAboveTwips) z.image = image;
  return z;
}

LiveFormLogic::Resize LiveFormLogic::resized(Size2 window, Size2 client, bool fixPreview, OptionStore& options,
                                             TextView caption, int imageWidth) {
  Resize r;
  r.textBox = {std::max(0, client.width - 8), std::max(0, client.height - 4)};
  if (fixPreview) {
    const int widthTwips = window.width * tpp_;
    const int heightTwips = window.height * tpp_;
    if (options.readNumber(opt::PicViewWidth, 0) != widthTwips) options.writeNumber(opt::PicViewWidth, widthTwips);
    if (options.readNumber(opt::PicViewHeight, 0) != heightTwips)
      options.writeNumber(opt::PicViewHeight, heightTwips);
    return r;
  }
  r.stretch = window.width * tpp_ > StretchAboveTwips;
  const int shownWidth = r.stretch ? client.width : imageWidth;
  const std::optional<std::pair<int, int>> natural = captionPictureSize(caption);
  if (caption.find(u'(') == TextView::npos || !natural)
    zoom_ = 10;
  else
    zoom_ = std::max(1, static_cast<int>(std::lround(10.0 * shownWidth / natural->first)));
  return r;
}

Size2 LiveFormLogic::textWindow(Size2 window) const {
  return {std::max(window.width, (DocMinWidthTwips + tpp_ - 1) / tpp_),
          std::max(window.height, (DocMinHeightTwips + tpp_ - 1) / tpp_)};
}

}  // namespace zevro
