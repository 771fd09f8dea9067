#include "print/RecordingPrevPrint.h"

namespace zevro {

std::string RecordingPrevPrint::Op::describe() const {
  auto n = [](int v) { return std::to_string(v); };
  switch (kind) {
    case Text: return "text " + n(x1) + ' ' + n(y1) + ' ' + toUtf8(text);
    case Line:
      return "line " + n(x1) + ' ' + n(y1) + ' ' + n(x2) + ' ' + n(y2) + ' ' + n(colour) + ' ' + n(width);
    case Box: return "box " + n(x1) + ' ' + n(y1) + ' ' + n(x2) + ' ' + n(y2) + ' ' + n(colour) + ' ' + n(width);
    case FilledBox: return "fill " + n(x1) + ' ' + n(y1) + ' ' + n(x2) + ' ' + n(y2) + ' ' + n(colour);
    case Picture:
      return std::string(width == 0 ? "mark " : "icon ") + n(colour) + ' ' + n(x1) + ' ' + n(y1) + ' ' + n(x2) +
             ' ' + n(y2);
    case ShowPage: return "page";
    case EndJob: return "end";
  }
  return {};
}

namespace {

RecordingPrevPrint::Op makeOp(RecordingPrevPrint::Op::Kind kind, int x1 = 0, int y1 = 0, int x2 = 0, int y2 = 0,
                              int colour = 0, int width = 0) {
  RecordingPrevPrint::Op op;
  op.kind = kind;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  op.colour = colour;
  op.width = width;
  return op;
}

}  // namespace

void RecordingPrevPrint::add(Op op) {
  op.page = page_;
  ops_.push_back(std::move(op));
}

void RecordingPrevPrint::text(TextView text) {
  const bool endsLine = !text.empty() && text.back() == ch::CR;
  if (endsLine) text.remove_suffix(1);
  Op op = makeOp(Op::Text, x_, y_);
  op.text = zevro::Text(text);
  op.font = font_;
  add(std::move(op));
  if (endsLine) {
    x_ = 0;
    y_ += charHeight;
  } else {
    x_ += textWidth(text);
  }
}

void RecordingPrevPrint::line(int x1, int y1, int x2, int y2, int colour, int width) {
  add(makeOp(Op::Line, x1, y1, x2, y2, colour, width));
}

void RecordingPrevPrint::box(int x1, int y1, int x2, int y2, int colour, int width) {
  add(makeOp(Op::Box, x1, y1, x2, y2, colour, width));
}

void RecordingPrevPrint::filledBox(int x1, int y1, int x2, int y2, int colour) {
  add(makeOp(Op::FilledBox, x1, y1, x2, y2, colour, 0));
}

void RecordingPrevPrint::picture(PrintPicture source, int cell, int x, int y, int width, int height) {
  add(makeOp(Op::Picture, x, y, width, height, cell, source == PrintPicture::Marks ? 0 : 1));
}

void RecordingPrevPrint::showPage() {
  add(makeOp(Op::ShowPage));
  ++page_;
}

void RecordingPrevPrint::endJob() {
  add(makeOp(Op::EndJob));
  ++endedJobs_;
}

bool RecordingPrevPrint::setFont(const PrintFont& font, zevro::Text& error) {
  if (refuseFont && refuseFont(font)) {
    error = refusalText;
    return false;
  }
  font_ = font;
  return true;
}

std::vector<std::string> RecordingPrevPrint::pageOps(int page) const {
  std::vector<std::string> out;
  for (const Op& op : ops_) {
    if (op.page == page && op.kind != Op::ShowPage && op.kind != Op::EndJob) out.push_back(op.describe());
  }
  return out;
}

std::vector<zevro::Text> RecordingPrevPrint::texts() const {
  std::vector<zevro::Text> out;
  for (const Op& op : ops_) {
    if (op.kind == Op::Text) out.push_back(op.text);
  }
  return out;
}

}  // namespace zevro
