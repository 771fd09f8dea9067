#include "print/qt/PrintDialogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QPrinter>

#include "print/qt/CancelForm.h"
#include "print/qt/PrevForm.h"

namespace zevro {

namespace {

// Search results carry their medium as kind code (1 CD, 2 floppy, 3 hard
// disk): the medium's print mark.
const std::vector<int> ResultIcons = {0, 2, 3, 4};

}  // namespace

PrintDialogue::PrintDialogue(OptionStore& options, Ui& ui, QWidget* owner)
    : options_(options), ui_(ui), owner_(owner) {}

PrintDialogue::~PrintDialogue() = default;

void PrintDialogue::setIconStrip(const QImage& strip) {
  strip_ = strip;
  if (form_) form_->device().setIconStrip(strip_);
}

PrevForm& PrintDialogue::form() {
  if (!form_) {
    form_ = std::make_unique<PrevForm>(options_, ui_, owner_);
    form_->device().setIconStrip(strip_);
    form_->refreshPreview = [this] {
      if (searchPrint_)
        RefreshFindPreview();
      else
        RefreshPreview();
    };
    form_->choosePdfFile = [this] {
      return QFileDialog::getSaveFileName(form_.get(), QString::fromUtf16(u"PDF ファイルに印刷"), QString(),
                                          QStringLiteral("PDF (*.pdf)"));
    };
  }
  return *form_;
}

CancelForm& PrintDialogue::cancelForm() {
  if (!cancel_) cancel_ = std::make_unique<CancelForm>(owner_);
  return *cancel_;
}

GridPrint& PrintDialogue::layout() {
  if (!layout_) {
    layout_ = std::make_unique<GridPrint>(form().device(), ui_);
    GridPrint::Hooks& h = layout_->hooks();
    h.pump = [] { QCoreApplication::processEvents(); };
    h.clearCancel = [this] { cancelForm().clearRequest(); };
    h.cancelRequested = [this] { return cancelForm().requested(); };
    h.cancelShown = [this](bool on) {
      if (on)
        cancelForm().show();
      else
        cancelForm().hide();
    };
  }
  return *layout_;
}

const RowStore* PrintDialogue::listRows() const {
  const bool files = form_ && form_->settings().items == PrintSettings::FilesOnly && list_.fileRows;
  return files ? list_.fileRows : list_.folderRows;
}

void PrintDialogue::RefreshPreview() {
  const RowStore* rows = listRows();
  if (!rows) return;
  RowStorePrintSource source(*rows, list_.iconMap, list_.iconCount);
  outcome_ = layout().DrawListPages(source, form().settings(), list_.title, list_.folderText, form().widthTwips());
}

void PrintDialogue::RefreshFindPreview() {
  if (!results_) return;
  RowStorePrintSource source(*results_, ResultIcons, 4);
  outcome_ = layout().DrawFindPages(source, form().settings(), findTitle_, form().widthTwips());
}

namespace {

// A PDF goes into a temporary file beside the one named, renamed over it
// once every page is in: a stopped or failed print leaves the old file.
class PdfTarget {
public:
  explicit PdfTarget(QPrinter& printer) : printer_(printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) return;
    target_ = printer.outputFileName();
    printer.setOutputFileName(target_ + QStringLiteral(".part"));
  }
  ~PdfTarget() {
    if (target_.isEmpty()) return;
    const QString part = printer_.outputFileName();
    if (done_) {
      QFile::remove(target_);
      QFile::rename(part, target_);
    } else {
      QFile::remove(part);
    }
    // The next print asks for its file again.
    printer_.setOutputFileName(QString());
  }
  void done() { done_ = true; }

private:
  QPrinter& printer_;
  QString target_;
  bool done_ = false;
};

}  // namespace

bool PrintDialogue::PrintList(const ListRequest& request) {
  searchPrint_ = false;
  list_ = request;
  PrevForm& f = form();
  f.enableForList(request.shownMode);
  f.device().setSurfaceDpi(f.previewDpi());
  f.device().setPreview(true);
  RefreshPreview();
  if (!f.run()) return false;
  PdfTarget pdf(f.printer());
  f.device().setPreview(false);
  RefreshPreview();
  f.device().endJob();
  if (f.device().pagesPrinted() == 0 || outcome_.cancelled || outcome_.fontError) return false;
  pdf.done();
  return true;
}

bool PrintDialogue::PrintFindList(const RowStore& results, TextView title) {
  searchPrint_ = true;
  results_ = &results;
  findTitle_ = Text(title);
  PrevForm& f = form();
  f.enableForSearch();
  f.device().setSurfaceDpi(f.previewDpi());
  f.device().setPreview(true);
  RefreshFindPreview();
  if (!f.run()) return false;
  PdfTarget pdf(f.printer());
  f.device().setPreview(false);
  RefreshFindPreview();
  f.device().endJob();
  if (f.device().pagesPrinted() == 0 || outcome_.cancelled || outcome_.fontError) return false;
  pdf.done();
  return true;
}

void PrintDialogue::unload() {
  if (form_) form_->unload();
}

}  // namespace zevro
