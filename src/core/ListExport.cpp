#include "core/ListExport.h"

#include "core/FileOps.h"
#include "core/OptionKeys.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::listexport {

namespace {

constexpr TextView NameReplaced = u"\\/:,;*?<>|\"";
constexpr std::size_t ExtensionLength = 4;  // ".TXT"

bool endsWithExportExtension(TextView path) {
  if (path.size() < ExtensionLength) return false;
  const Text tail = asciiUpper(path.substr(path.size() - ExtensionLength));
  return tail == u".TXT" || tail == u".CSV";
}

Text pathText(const NativePath& path) { return cp932::fromNativeName(path.native()); }
NativePath nativeOf(TextView text) { return NativePath(cp932::toNativeName(text)); }

// The path the user names: the save dialog, or the input box where there is none.
Text choosePath(const Request& request, TextView proposed) {
  Ui& ui = request.platform.ui;
  if (!request.fileDialogs) {
    const Text offered = pathText(request.catalogFolder / cp932::toNativeName(proposed));
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
  const NativePath recent = request.options.readPath(opt::RecentTextName, NativePath());
  SaveFileRequest dialog;
  dialog.title = Text(DialogTitle);
  dialog.filters = Text(DialogFilters);
  dialog.firstFilter = 0;
  dialog.defaultExtension = Text(DefaultExtension);
  dialog.folder = pathText(recent.empty() ? request.catalogFolder : recent.parent_path());
  dialog.fileName = Text(proposed.substr(0, proposed.size() - ExtensionLength));
  Text chosen = ui.chooseSaveFile(dialog);
  if (chosen.empty()) return {};
  chosen = withoutDoubledExtension(chosen);
  request.options.writePath(opt::RecentTextName, nativeOf(chosen));
  return chosen;
}

}  // namespace

Text proposedName(TextView title) {
  if (title.empty()) return Text(EmptyTitleName);
  Text name(title);
  for (char16_t& c : name)
    if (NameReplaced.find(c) != TextView::npos) c = u'-';
  name += u".TXT";
  return name;
}

Text withoutDoubledExtension(TextView path) {
  if (!endsWithExportExtension(path) || !endsWithExportExtension(path.substr(0, path.size() - ExtensionLength)))
    return Text(path);
  return Text(path.substr(0, path.size() - ExtensionLength));
}

ExportWriter::Form formOf(const NativePath& path) {
  const Text extension = asciiUpper(cp932::fromNativeName(path.extension().native()));
  return extension == u".CSV" ? ExportWriter::Form::Csv : ExportWriter::Form::Text;
}

void addRow(ExportWriter& writer, const RowStore& store, int row) {
  ExportWriter::Values fields;
  store.fieldsOf(row, fields);
  writer.addRow(fields, static_cast<std::size_t>(2 * store.level(row)));
}

std::string shownRowsBytes(const RowStore& store, ExportWriter::Form form) {
  ExportWriter writer(form);
  // About the heap's bytes plus what each line adds (quotes, commas,
  // padding, indent and line end).
  constexpr std::size_t PerLine = 24;
  writer.reserve(store.heap().size() * 3 / 2 + PerLine * static_cast<std::size_t>(store.shownCount()));
  writer.addHeader(CsvHeader);
  for (std::int32_t row : store.displayOrder()) addRow(writer, store, row);
  return writer.takeBytes();
}

std::optional<NativePath> exportList(const Request& request, const RowStore& shown, TextView title,
                                     bool hasCurrentFile) {
  Ui& ui = request.platform.ui;
  if (shown.rowCount() == 0 || !hasCurrentFile) {
    ui.beep();
    return std::nullopt;
  }
  const Text chosen = choosePath(request, proposedName(title));
  if (chosen.empty()) return std::nullopt;
  const NativePath path = nativeOf(chosen);
  const ExportWriter::Form form = formOf(path);
  if (const IoError error = request.platform.files.writeFileAtomic(path, shownRowsBytes(shown, form))) {
    ui.beep();
    Text text = fromUtf8(error.text);
    text += u"|\x08";
    text += chosen;
    text += u'\x07';
    ui.showMessage(text, mb::Ok | mb::IconExclamation, u"");
    return std::nullopt;
  }
  if (form == ExportWriter::Form::Text) ui.openWithDefault(path.native());
  return path;
}

}  // namespace zevro::listexport
