#pragma once
// A page device that draws nothing and records every drawing operation, for
// tests of the print layout. Its font is uniform: every character is 100
// twips wide and 200 twips high whatever the font; one millimetre is 57
// twips, one printer pixel 2 twips; the page is A4 (11906 x 16838 twips).
//
//   RecordingPrevPrint device;
//   … draw …
//   device.ops()[5]   {Op::Text, 285, 1000, 0, 0, 0, 0, u"No.1", page 1}
//   device.shownPages()   pages handed out (showPage), preview or printer
#include <functional>
#include <string>
#include <vector>

#include "print/PrevPrint.h"

namespace zevro {

class RecordingPrevPrint : public PrevPrint {
public:
  static constexpr int CharWidth = 100;
  static constexpr int CharHeight = 200;
  static constexpr int Millimetre = 57;
  static constexpr int Pixel = 2;
  static constexpr int A4Width = 11906;
  static constexpr int A4Height = 16838;

  struct Op {
    enum Kind { Text, Line, Box, FilledBox, Picture, ShowPage, EndJob } kind = Text;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int colour = 0;  // line and box colour; picture: the cell
    int width = 0;   // line width; picture: 0 marks, 1 icon strip
    zevro::Text text;
    PrintFont font;  // the font of a text
    int page = 0;    // counted from 0, one up after every showPage

    // "text 285 1000 No.1", "line 285 900 11621 900 -1 1" …
    std::string describe() const;
    bool operator==(const Op&) const = default;
  };

  RecordingPrevPrint(int width = A4Width, int height = A4Height) : width_(width), height_(height) {}

  // A font the device refuses; the error text given.
  std::function<bool(const PrintFont&)> refuseFont;
  zevro::Text refusalText = u"フォントを設定できません";
  // The height of every text (a font without height can be made with 0).
  int charHeight = CharHeight;

  const std::vector<Op>& ops() const { return ops_; }
  void clearOps() { ops_.clear(); page_ = 0; }
  int shownPages() const { return page_; }
  int endedJobs() const { return endedJobs_; }
  // The operations of page `page` (from 0), as lines of describe().
  std::vector<std::string> pageOps(int page) const;
  // Every text drawn, in order.
  std::vector<zevro::Text> texts() const;

  void setPreview(bool preview) override { preview_ = preview; }
  bool preview() const override { return preview_; }
  void text(TextView text) override;
  void line(int x1, int y1, int x2, int y2, int colour, int width) override;
  void box(int x1, int y1, int x2, int y2, int colour, int width) override;
  void filledBox(int x1, int y1, int x2, int y2, int colour) override;
  void picture(PrintPicture source, int cell, int x, int y, int width, int height) override;
  void showPage() override;
  void endJob() override;
  void setTextColour(int windowWidth) override { textColour_ = windowWidth < 4951 ? 0x333333 : 0x777777; }
  int textColour() const { return textColour_; }

  int pixelsToTwipsX(int count) const override { return count * Pixel; }
  int pixelsToTwipsY(int count) const override { return count * Pixel; }
  int millimetresToTwipsX(int count) const override { return count * Millimetre; }
  int millimetresToTwipsY(int count) const override { return count * Millimetre; }

  int x() const override { return x_; }
  int y() const override { return y_; }
  void setX(int x) override { x_ = x; }
  void setY(int y) override { y_ = y; }

  bool setFont(const PrintFont& font, zevro::Text& error) override;
  const PrintFont& font() const override { return font_; }
  int textWidth(TextView text) override { return static_cast<int>(text.size()) * CharWidth; }
  int textHeight(TextView) override { return charHeight; }
  int pageWidth() const override { return width_; }
  int pageHeight() const override { return height_; }

private:
  void add(Op op);

  std::vector<Op> ops_;
  PrintFont font_;
  bool preview_ = true;
  int width_;
  int height_;
  int x_ = 0;
  int y_ = 0;
  int page_ = 0;
  int endedJobs_ = 0;
  int textColour_ = 0;
};

}  // namespace zevro
