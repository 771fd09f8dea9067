#pragma once
// The print layout: turns the display rows of a list into pages on a page
// device (PrevPrint.h), for the main window's list (DrawListPages) and for
// search results (DrawFindPages). The same pass draws the preview (the
// first page of the range, shown and done) and the printout (every page of
// the range, with page breaks).
//
// A page: the title centred and underlined, "No." and the page number, on
// a files-only print the folder line, the shaded column header band, the
// rows with tree lines, expand boxes and icons in the name column, rules
// and the outer frame. Pages before the range start are laid out without
// drawing, so page 3 of a range starting at 3 is page 3 of the whole print.
//
//   RecordingPrevPrint device;                 // or the QPainter device
//   GridPrint print(device, ui);
//   print.hooks().cancelRequested = [&] { return cancelForm.requested(); };
//   GridPrint::Outcome o = print.DrawListPages(source, settings, u"CD: ゲーム集", u"", 9000);
//   o.shown       pages handed out (previewed or printed)
#include <functional>
#include <vector>

#include "platform/Ui.h"
#include "print/PrevPrint.h"
#include "print/PrintSettings.h"
#include "print/PrintSource.h"
#include "text/Text.h"

namespace zevro {

class GridPrint {
public:
  // The message when the comment column would be too narrow.
  static constexpr TextView CommentTooNarrow =
      u"コメント欄を印字できません\r\rフォント･サイズを小さくして やり直してください";

  // Column headers.
  static constexpr TextView HeadFolderFile = u"Folder/File";
  static constexpr TextView HeadFolder = u"Folder";
  static constexpr TextView HeadFile = u"File";
  static constexpr TextView HeadComment = u"Comment";
  static constexpr TextView HeadDate = u"Date";
  static constexpr TextView HeadSize = u"Size";
  static constexpr TextView HeadCatalogTitle = u"Catalog Title";
  static constexpr TextView HeadDateTime = u"Date/Time";
  static constexpr TextView PageLabel = u"No.";

  // Width samples of the fixed columns.
  static constexpr TextView DateSample = u"W99/12/31 23:55W";
  static constexpr TextView SizeSample = u"W9,999,999,999W";
  static constexpr TextView FindDateSample = u"W99/12/31W";
  static constexpr int SizeDigits = 13;  // sizes are right-justified to at least this

  static constexpr int BandColour = 0xF0F0F0;
  static constexpr int HeaderRuleColour = 2;

  // What the pass leans on while it runs; each may stay empty.
  struct Hooks {
    std::function<void()> pump;                  // lets window events run (after each page)
    std::function<bool()> cancelRequested;       // polled once per page
    std::function<void()> clearCancel;           // at the start of a pass
    std::function<void(bool shown)> cancelShown; // the cancel window, in printer mode
  };

  // What a pass did.
  struct Outcome {
    int shown = 0;           // pages handed out (previewed or printed)
    int laidOut = 0;         // pages laid out, drawn or not
    bool refused = false;    // the comment column was too narrow: nothing drawn
    bool fontError = false;  // a font could not be set
    bool cancelled = false;  // the user stopped it
  };

  // One column as the pass lays it out.
  struct Column {
    int field = 0;  // field of the row
    int width = 0;
    TextView header;
    bool proportional = false;
  };

  // Measures of a pass, in twips.
  struct Metrics {
    int pad = 0, left = 0, top = 0, gap = 0;
    int th = 0, sp = 0, pitch = 0, rowpad = 0, u = 0, h = 0;
    int width = 0, height = 0, px = 0, py = 0;
    int ipl = 0, base = 0;
    int z = 0;  // width of "Z"
  };

  GridPrint(PrevPrint& device, Ui& ui) : device_(device), ui_(ui) {}

  Hooks& hooks() { return hooks_; }
  // The last pass's measures and columns (for tests and the window).
  const Metrics& metrics() const { return m_; }
  const std::vector<Column>& columns() const { return columns_; }
  const std::vector<int>& positions() const { return x_; }

  // windowWidth: the print window's width in twips (the preview's text colour).
  Outcome DrawListPages(const PrintSource& source, const PrintSettings& settings, TextView title, TextView folderText,
                        int windowWidth);
  Outcome DrawFindPages(const PrintSource& results, const PrintSettings& settings, TextView title, int windowWidth);

  // Sets a font; on failure hides the cancel window, shows the device's
  // error text in a message box and answers false.
  bool SetPrintFont(bool mincho, double size, bool bold, bool italic, bool proportional);

  // The text of a size cell: trimmed, right-justified to 13 characters and
  // never cut: u"1,234" -> u"        1,234", u"10,000,000,000" stays whole.
  static Text sizeCell(TextView size);
  // The text of a search-result date cell: a date with its time goes on two
  // lines: u"99/12/31 23:55" -> u"99/12/31\r\n23:55".
  static Text findDateCell(TextView date);

private:
  class Pass;

  PrevPrint& device_;
  Ui& ui_;
  Hooks hooks_;
  Metrics m_;
  std::vector<Column> columns_;
  std::vector<int> x_;
};

}  // namespace zevro
