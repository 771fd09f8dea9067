#include "search/ResultExport.h"

#include "core/FileOps.h"
#include "core/ListExport.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::resultexport {

namespace {

Text pathText(const NativePath& path) { return cp932::fromNativeName(path.native()); }
NativePath nativeOf(TextView text) { return NativePath(cp932::toNativeName(text)); }

Text choosePath(const Request& request) {
  Ui& ui = request.platform.ui;
  if (!request.fileDialogs) {
    const Text offered = pathText(request.catalogFolder / cp932::toNativeName(DefaultFileName));
    Text answer = ui.inputLine(InputPrompt, InputTitle, offered);
    if (answer.empty()) return {};
    if (fileops::fileExists(request.platform.files, nativeOf(answer))) {
      Text question = u"\x08";
      question += answer;
      question += u'\x07';
      question += ExistsQuestionTail;
      if (ui.showMessage(question, mb::YesNo | mb::IconQuestion, u"") != AnswerYes) return {};
    }
    return answer;
  }
  const NativePath last = request.lastExportPath ? *request.lastExportPath : NativePath();
  SaveFileRequest dialog;
  dialog.title = Text(DialogTitle);
  dialog.filters = Text(DialogFilters);
  dialog.firstFilter = CsvFilter;
  dialog.defaultExtension = Text(DefaultExtension);
  dialog.folder = last.empty() ? Text() : pathText(last.parent_path());
  dialog.fileName = last.empty() ? Text() : pathText(last.stem());
  Text chosen = ui.chooseSaveFile(dialog);
  if (chosen.empty()) return {};
  // Only a doubled ".TXT" or ".CSV" goes: "data.v2.CSV" is a name of its own.
  chosen = listexport::withoutDoubledExtension(chosen);
  if (request.lastExportPath) *request.lastExportPath = nativeOf(chosen);
  return chosen;
}

}  // namespace

ExportWriter::Form formOf(const NativePath& path) { return listexport::formOf(path); }

std::string resultBytes(const RowStore& grid, ExportWriter::Form form) {
  ExportWriter writer(form, ExportWriter::LastColumn::Whole);
  constexpr std::size_t PerLine = 24;
  writer.reserve(grid.heap().size() * 3 / 2 + PerLine * static_cast<std::size_t>(grid.shownCount()));
  writer.addHeader(CsvHeader);
  ExportWriter::Values fields;
  for (std::int32_t row : grid.displayOrder()) {
    grid.fieldsOf(row, fields);
    writer.addRow(fields);
  }
  return writer.takeBytes();
}

IoError writeResults(FileSystem& files, const NativePath& path, const RowStore& grid) {
  return files.writeFileAtomic(path, resultBytes(grid, formOf(path)));
}

std::optional<NativePath> saveResults(const Request& request, const RowStore& grid) {
  Ui& ui = request.platform.ui;
  if (grid.shownCount() < 2) {
    ui.beep();
    return std::nullopt;
  }
  const Text chosen = choosePath(request);
  if (chosen.empty()) return std::nullopt;
  const NativePath path = nativeOf(chosen);
  if (const IoError error = writeResults(request.platform.files, path, grid)) {
    Text text = fromUtf8(error.text);
    text += u"|\x08";
    text += chosen;
    text += u'\x07';
    ui.showMessage(text, mb::Ok | mb::IconExclamation, u"");
    return std::nullopt;
  }
  if (formOf(path) == ExportWriter::Form::Text) ui.openWithDefault(path.native());
  return path;
}

}  // namespace zevro::resultexport
