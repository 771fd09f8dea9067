#include "print/GridPrint.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
#include "core/Strings.h"

namespace zevro {

namespace {

constexpr TextView CrLf = u"\r\n";

// The lines of a cell text, split at CR LF.
std::vector<TextView> linesOf(TextView text) {
  std::vector<TextView> lines;
  for (;;) {
    const std::size_t at = text.find(CrLf);
    if (at == TextView::npos) {
      lines.push_back(text);
      return lines;
    }
    lines.push_back(text.substr(0, at));
    text.remove_prefix(at + CrLf.size());
  }
}

int roundTwips(double v) { return static_cast<int>(std::lround(v)); }

// The part of a text trim() keeps, without copying it: leading blanks, tabs
// and ideographic spaces, trailing tabs and blanks left off.
TextView trimmedView(TextView text) {
  std::size_t b = 0;
  while (b < text.size() && (text[b] == u' ' || text[b] == u'\t' || text[b] == u'\u3000')) ++b;
  std::size_t e = text.size();
  while (e > b && text[e - 1] == u'\t') --e;
  while (e > b && text[e - 1] == u' ') --e;
  return text.substr(b, e - b);
}

}  // namespace

Text GridPrint::sizeCell(TextView size) {
  const Text trimmed = trim(size);
  return rightJustify(trimmed, std::max(SizeDigits, static_cast<int>(trimmed.size())));
}

Text GridPrint::findDateCell(TextView date) {
  const Text trimmed = trim(date);
  const std::size_t blank = trimmed.find(u' ');
  if (trimmed.size() <= 8 || blank == Text::npos) return Text(date);
  return trimmed.substr(0, blank) + Text(CrLf) + trimmed.substr(blank + 1);
}

bool GridPrint::SetPrintFont(bool mincho, double size, bool bold, bool italic, bool proportional) {
  Text error;
  const int x = device_.x();
  const int y = device_.y();
  if (device_.setFont({mincho, size, bold, italic, proportional}, error)) {
    device_.setX(x);
    device_.setY(y);
    return true;
  }
  if (hooks_.cancelShown) hooks_.cancelShown(false);
  ui_.showMessage(error, mb::Ok, u"");
  return false;
}

// One drawing pass: the state of Algorithms "draw a list" while it runs.
class GridPrint::Pass {
public:
  Pass(GridPrint& owner, const PrintSource& source, const PrintSettings& settings, bool find)
      : o_(owner), d_(owner.device_), src_(source), s_(settings), find_(find), m_(owner.m_) {}

  Outcome run(TextView title, TextView folderText, int windowWidth);

private:
  bool cellFont(bool proportional);
  bool prepare(int windowWidth);
  bool chooseColumns();
  bool page(TextView title, TextView folderText, bool printed);
  void tree(int r, int rowTop, int& textX, int& available, bool printed);
  int writeCell(TextView text, int textX, int available, int y, bool printed);
  void endJob();
  bool fontFailed() {
    out_.fontError = true;
    return false;
  }

  int levelsOf(int r) const { return m_.ipl > 0 ? (src_.indent(r) - m_.base) / m_.ipl : 0; }
  bool lastSibling(int r) const { return (src_.displayFlags(r) & 2) != 0; }

  GridPrint& o_;
  PrevPrint& d_;
  const PrintSource& src_;
  const PrintSettings& s_;
  const bool find_;
  Metrics& m_;
  Outcome out_;

  int first_ = 1, last_ = PrintSettings::MaxPage;
  int ruleStart_ = 0;
  int currentTh_ = 0;
  int pitchSet_ = -1;  // 0 fixed, 1 proportional, -1 none yet on this page
  int bottomLimit_ = 0;
  int runTop_ = 0;
  int row_ = 0;  // the first row not yet placed
  bool stop_ = false;
};

bool GridPrint::Pass::cellFont(bool proportional) {
  if (!o_.SetPrintFont(s_.mincho, s_.sizePoints(), s_.bold, false, proportional)) return false;
  currentTh_ = d_.textHeight(u"A");
  pitchSet_ = proportional ? 1 : 0;
  return true;
}

bool GridPrint::Pass::prepare(int windowWidth) {
  if (!o_.SetPrintFont(s_.mincho, 9, false, false, false)) return false;
  if (!cellFont(false)) return false;
  d_.setTextColour(windowWidth);
  if (!find_) {
    first_ = s_.firstPage();
    last_ = s_.lastPage();
  }
  m_ = {};
  m_.pad = d_.millimetresToTwipsX(1);
  m_.left = d_.millimetresToTwipsX(5);
  m_.top = d_.millimetresToTwipsY(5);
  m_.gap = d_.millimetresToTwipsY(2);
  m_.th = d_.textHeight(u"A");
  m_.sp = d_.textWidth(u" ");
  // A font without height would give rows of no height and a page that
  // never fills.
  m_.pitch = std::max(1, m_.th * s_.gapTenths() / 10);
  m_.rowpad = (m_.pitch - m_.th) / 2;
  m_.u = s_.gapTenths() <= 12 ? m_.th : m_.th * 12 / 10;
  m_.h = d_.textWidth(u"Z") / 2;
  m_.z = d_.textWidth(u"Z");
  m_.width = d_.pageWidth();
  m_.height = d_.pageHeight();
  m_.px = d_.pixelsToTwipsX(1);
  m_.py = d_.pixelsToTwipsY(1);
  m_.ipl = src_.indentPerLevel();
  m_.base = src_.baseIndent();
  return true;
}

bool GridPrint::Pass::chooseColumns() {
  std::vector<Column>& cols = o_.columns_;
  cols.clear();
  const int table = m_.width - 2 * m_.left;
  int stretch = -1;  // the column that takes the rest
  if (find_) {
    cols = {{0, m_.z * 24, HeadCatalogTitle, false},
            {1, m_.z * 32, HeadFolderFile, false},
            {2, d_.textWidth(FindDateSample), HeadDateTime, false},
            {3, 0, HeadComment, true}};
    stretch = 3;
  } else {
    bool anyDate = false;
    bool anySize = false;
    TextView widestSize;
    for (int r = 0; r < src_.rowCount(); ++r) {
      if (!anyDate && !trimmedView(src_.field(2, r)).empty()) anyDate = true;
      const TextView trimmed = trimmedView(src_.field(3, r));
      if (trimmed.empty()) continue;
      anySize = true;
      if (trimmed.size() > widestSize.size()) widestSize = trimmed;
    }
    const TextView nameHead = s_.items == PrintSettings::FoldersOnly ? HeadFolder
                              : s_.items == PrintSettings::FilesOnly ? HeadFile
                                                                     : HeadFolderFile;
    const int nameZ = s_.items == PrintSettings::FilesOnly ? 32 : (s_.comment || s_.items == 1 ? 40 : 50);
    cols.push_back({0, m_.z * nameZ, nameHead, false});
    if (s_.comment) cols.push_back({1, 0, HeadComment, true});
    stretch = s_.comment ? 1 : 0;
    // Sizes of ten gigabytes and more are longer than the sample: the
    // column widens to the widest so that no digit is cut.
    const int sizeWidth =
        std::max(d_.textWidth(SizeSample), d_.textWidth(u"W" + sizeCell(Text(widestSize)) + u"W"));
    const Column date{2, d_.textWidth(DateSample), HeadDate, false};
    const Column size{3, sizeWidth, HeadSize, false};
    if (anyDate && anySize && s_.comment && s_.swap) {
      cols.push_back(size);
      cols.push_back(date);
    } else {
      if (anyDate) cols.push_back(date);
      if (anySize) cols.push_back(size);
    }
  }
  int others = 0;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (static_cast<int>(i) != stretch) others += cols[i].width;
  }
  cols[static_cast<std::size_t>(stretch)].width = table - others;
  const bool commentStretches = find_ || s_.comment;
  if (commentStretches && table - others < 4 * m_.z) {
    o_.ui_.showMessage(CommentTooNarrow, mb::Ok, u"");
    return false;
  }
  std::vector<int>& x = o_.x_;
  x.assign(1, m_.left);
  for (const Column& c : cols) x.push_back(x.back() + c.width);
  const bool namesOnly = find_ ? !s_.tree : (s_.items == PrintSettings::FilesOnly || !s_.tree);
  ruleStart_ = namesOnly ? x[0] : x[1];
  return true;
}

GridPrint::Outcome GridPrint::Pass::run(TextView title, TextView folderText, int windowWidth) {
  if (o_.hooks_.clearCancel) o_.hooks_.clearCancel();
  const bool printer = !d_.preview();
  if (!prepare(windowWidth)) {
    out_.fontError = true;
    if (printer) endJob();
    return out_;
  }
  if (!chooseColumns()) {
    out_.refused = true;
    return out_;
  }
  if (printer) {
    if (o_.hooks_.cancelShown) o_.hooks_.cancelShown(true);
    if (o_.hooks_.pump) o_.hooks_.pump();
  }
  for (int p = 1; p <= last_ && row_ < src_.rowCount(); ++p) {
    const bool printed = p >= first_;
    ++out_.laidOut;
    if (!page(title, folderText, printed) || stop_) break;
    if (printed && d_.preview()) return out_;
    if (o_.hooks_.pump) o_.hooks_.pump();
  }
  if (printer) endJob();
  return out_;
}

void GridPrint::Pass::endJob() {
  if (o_.hooks_.cancelShown) o_.hooks_.cancelShown(false);
  d_.endJob();
}

// One page; false when the pass ends (a font error).
bool GridPrint::Pass::page(TextView title, TextView folderText, bool printed) {
  const std::vector<int>& x = o_.x_;
  const std::vector<Column>& cols = o_.columns_;
  const int xn = x.back();
  if (printed) d_.filledBox(0, 0, m_.width, m_.height, White);
  int y = m_.top;

  // Title, underlined.
  if (!o_.SetPrintFont(true, 16, true, false, true)) return fontFailed();
  const int titleWidth = d_.textWidth(title);
  const int titleX = (m_.width - titleWidth) / 2;
  if (printed) {
    d_.setX(titleX);
    d_.setY(y);
    d_.text(title);
  }
  const int y1 = m_.top + d_.textHeight(u"A") + m_.py;
  if (printed) d_.box(titleX, y1, titleX + titleWidth, y1 + m_.py, DefaultLineColour, 1);
  y = y1 + 10 * m_.py;

  // Page label.
  if (!o_.SetPrintFont(true, 9.75, false, false, false)) return fontFailed();
  const Text label = Text(PageLabel) + ascii(std::to_string(out_.laidOut));
  const int labelTh = d_.textHeight(u"A");
  y = std::max(0, y - labelTh / 2);
  if (printed) {
    d_.setX(xn - d_.textWidth(label));
    d_.setY(y);
    d_.text(label);
  }
  y += labelTh + m_.gap;

  // Folder line and header band, in the other family.
  if (!o_.SetPrintFont(!s_.mincho, 10.5, true, false, true)) return fontFailed();
  const int headTh = d_.textHeight(u"A");
  if (!find_ && s_.items == PrintSettings::FilesOnly) {
    if (printed) {
      d_.setX(x[0]);
      d_.setY(y);
      d_.text(folderText);
    }
    y += headTh;
  }
  const int bandTop = y + m_.gap;
  const int bandHeight = m_.gap + headTh;
  const int rowsTop = bandTop + bandHeight;
  bottomLimit_ = m_.height - 2 * m_.top;
  if (printed && s_.frame) {
    d_.filledBox(x[0], bandTop, xn, bandTop + bandHeight, BandColour);
    for (std::size_t i = 0; i < cols.size(); ++i) {
      d_.setX(x[i] + (cols[i].width - d_.textWidth(cols[i].header)) / 2);
      d_.setY(bandTop + (bandHeight - headTh) / 2);
      d_.text(cols[i].header);
    }
    d_.line(x[0], rowsTop, xn, rowsTop, HeaderRuleColour, 1);
  }

  // Rows.
  pitchSet_ = -1;
  runTop_ = 0;
  int rowTop = rowsTop;
  int bottom = rowsTop;
  const int count = src_.rowCount();
  while (row_ < count) {
    int nextTop = -1;
    for (std::size_t i = 0; i < cols.size(); ++i) {
      const Column& c = cols[i];
      if (pitchSet_ != (c.proportional ? 1 : 0) && !cellFont(c.proportional)) return fontFailed();
      Text text(src_.field(c.field, row_));
      if (!find_ && c.field == 3) {
        text = sizeCell(text);
      } else if (c.field == 2) {
        if (find_)
          text = findDateCell(text);
        else if (trim(text).size() <= 8)
          text = u"    " + text;
      }
      int available = c.width - 3 * m_.pad;
      int textX = i > 0 ? x[i] + 2 * m_.pad : x[0];
      if (i == 0) tree(row_, rowTop, textX, available, printed);
      const int end = writeCell(text, textX, available, rowTop + m_.rowpad, printed);
      nextTop = std::max(nextTop, end);
    }
    const int rowEnd = nextTop >= 0 ? nextTop : rowTop + m_.pitch;
    ++row_;
    if (rowEnd >= bottomLimit_) {
      bottom = rowEnd;
      break;
    }
    if (row_ >= count) {
      // One blank line under the last row closes the list.
      bottom = rowEnd + m_.pitch;
      break;
    }
    if (printed && s_.horizontalRules) d_.line(ruleStart_, rowEnd, xn, rowEnd, DefaultLineColour, 1);
    rowTop = rowEnd;
  }

  // Page end.
  if (printed) {
    const int ruleBottom = s_.verticalRules ? bottom : s_.frame ? rowsTop : -1;
    if (ruleBottom >= 0) {
      for (std::size_t i = 1; i + 1 < x.size(); ++i) d_.line(x[i], bandTop, x[i], ruleBottom, DefaultLineColour, 1);
    }
  }
  if (o_.hooks_.pump) o_.hooks_.pump();
  if (o_.hooks_.cancelRequested && o_.hooks_.cancelRequested()) {
    out_.cancelled = true;
    stop_ = true;
  }
  if (printed) {
    if (s_.frame) d_.box(x[0], bandTop, xn, bottom, DefaultLineColour, 2);
    d_.showPage();
    ++out_.shown;
  }
  return true;
}

// Tree lines, expand box and icon of the name column, and the indentation
// they push the text by. The indentation is worked out on every page, so
// that a name wraps alike on a page that is only laid out; lines and icons
// are drawn on printed pages only.
void GridPrint::Pass::tree(int r, int rowTop, int& textX, int& available, bool printed) {
  const std::vector<int>& x = o_.x_;
  const int x0 = x[0];
  const int x1 = x[1];
  const int U = m_.u;
  if (!s_.tree) {
    const int d = r == 0 ? U - m_.pad : levelsOf(r) * U;
    textX = x0 + d;
    available -= d;
    return;
  }
  const int offset = r == 0 ? U - m_.pad : levelsOf(r) * U - m_.pad;
  const int conn = x0 + offset;
  const int mid = rowTop + m_.pitch / 2;
  const int rowBottom = rowTop + m_.pitch;
  if (printed) {
    if (r == 0) {
      if (offset >= 1) d_.line(conn, mid, conn, rowBottom, DefaultLineColour, 1);
      runTop_ = rowBottom;
    } else {
      if (runTop_ == 0) runTop_ = rowTop;
      if (conn < x1 && offset >= 1)
        d_.line(conn, runTop_, conn, lastSibling(r) ? mid : rowBottom, DefaultLineColour, 1);
      // Lines of the ancestors that have siblings still to come.
      int a = offset;
      int level = src_.indent(r);
      int q = r;
      while (a > 8 * m_.px && m_.ipl > 0) {
        a -= U;
        if (a < 0) break;
        level -= m_.ipl;
        int found = -1;
        for (int k = q - 1; k >= 1; --k) {
          if (src_.indent(k) == level) {
            found = k;
            break;
          }
        }
        if (found < 0) continue;
        if (!lastSibling(found) && x0 + a < x1) d_.line(x0 + a, runTop_, x0 + a, rowBottom, DefaultLineColour, 1);
        q = found;
      }
      runTop_ = rowBottom;
      if (conn + U < x1 && offset >= 1) d_.line(conn, mid, conn + U, mid, DefaultLineColour, 1);
    }
    const int h = m_.h;
    if ((src_.displayFlags(r) & 1) != 0 && conn + h < x1 && offset >= 1) {
      const int bx1 = conn - h, by1 = mid - h, bx2 = conn + h + 4 * m_.px, by2 = mid + h + 4 * m_.py;
      d_.filledBox(bx1, by1, bx2, by2, White);
      d_.box(bx1, by1, bx2, by2, DefaultLineColour, 1);
      d_.line(conn - roundTwips(0.6 * h), mid, conn + roundTwips(0.85 * h), mid, DefaultLineColour, 1);
      const bool childrenShown = r + 1 < src_.rowCount() && src_.indent(r + 1) > src_.indent(r);
      if (!childrenShown)
        d_.line(conn, mid - roundTwips(0.6 * h), conn, mid + roundTwips(0.85 * h), DefaultLineColour, 1);
    }
  }
  int s = r != 0 ? offset + U : offset;
  const int kind = src_.kind(r);
  const int n = src_.iconNumber(kind) - 1;
  if (kind != 0 && s >= 0 && n >= 0 && n <= src_.iconCount() && x0 + s + U < x1) {
    s -= U / 2;
    if (printed) {
      d_.picture(n < 4 ? PrintPicture::Marks : PrintPicture::IconStrip, n, x0 + s, rowTop + (m_.pitch - U) / 2, U,
                 U);
    }
  }
  textX = x0 + s + U + m_.sp;
  available -= s + U + m_.sp;
}

// Writes a cell text from (textX, y); answers the end of its lowest line
// when it took more than one, else -1.
int GridPrint::Pass::writeCell(TextView text, int textX, int available, int y, bool printed) {
  std::vector<TextView> lines = linesOf(text);
  if (!s_.wrap) lines.resize(1);
  const int th = currentTh_;
  int end = -1;
  bool lineEnded = false;
  for (std::size_t li = 0; li < lines.size(); ++li) {
    const TextView line = lines[li];
    if (li > 0) {
      if (!lineEnded) y += th;
      if (y >= bottomLimit_) break;
    }
    if (d_.textWidth(line) <= available) {
      if (printed && !line.empty()) {
        d_.setX(textX);
        d_.setY(y);
        d_.text(line);
      }
      lineEnded = false;
      // A further line reaches down to its own foot, where the next row may start.
      if (li > 0) end = std::max(end, y + th + m_.rowpad);
      continue;
    }
    // Broken character by character; each piece holds one character at least.
    std::size_t k = 0;
    while (k < line.size()) {
      std::size_t m = 1;
      while (k + m < line.size() && d_.textWidth(line.substr(k, m + 1)) <= available) ++m;
      if (printed) {
        d_.setX(textX);
        d_.setY(y);
        d_.text(Text(line.substr(k, m)) + u'\r');
      }
      y += th;
      k += m;
      if (!s_.wrap || y >= bottomLimit_) break;
    }
    lineEnded = true;
    end = std::max(end, y + m_.rowpad);
  }
  return end;
}

GridPrint::Outcome GridPrint::DrawListPages(const PrintSource& source, const PrintSettings& settings, TextView title,
                                            TextView folderText, int windowWidth) {
  Pass pass(*this, source, settings, false);
  return pass.run(title, folderText, windowWidth);
}

GridPrint::Outcome GridPrint::DrawFindPages(const PrintSource& results, const PrintSettings& settings, TextView title,
                                            int windowWidth) {
  Pass pass(*this, results, settings, true);
  return pass.run(title, u"", windowWidth);
}

}  // namespace zevro
