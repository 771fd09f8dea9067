#include "media/DiskImage.h"

#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::diskimage {

NativePath folderFor(const NativePath& chosenFile, TextView firstRowName) {
  NativePath folder = chosenFile.parent_path();
  const Text name = cp932::fromNativeName(folder.filename().native());
  if (!firstRowName.empty() && asciiLower(name) == asciiLower(firstRowName) && folder.has_parent_path())
    folder = folder.parent_path();
  return folder;
}

void record(RowStore& list, const NativePath& folder) {
  const TextView flags = list.fieldView(catalog::FieldFlags, 0);
  const int bits = flags.empty() ? 0 : flags[0] - catalog::FlagBase;
  list.setField(catalog::FieldFlags, 0, Text(1, static_cast<char16_t>(catalog::FlagBase + (bits | catalog::FlagMediumName))));
  list.setField(catalog::FieldMediumName, 0, cp932::fromNativeName(folder.native()));
  list.setModified(true);
}

bool ChooseDiskImage(CatalogDocument& document, Ui& ui, OptionStore& options, TextView currentName) {
  RowStore& list = document.list();
  if (list.rowCount() == 0 || !list.hasCurrentFormat()) {
    ui.showMessage(ReloadMessage, mb::Ok, {});
    return false;
  }
  if (!document.confirmDiscard()) return false;
  const Text stored = opt::readText(options, opt::DiskImageFile);
  FileOpenRequest request;
  request.title = Text(DialogTitle);
  request.filter = Text(Filter);
  const NativePath storedPath = cp932::toNativeName(stored);
  request.initialName =
      currentName.empty() ? cp932::fromNativeName(storedPath.filename().native()) : Text(currentName);
  request.defaultExtension = extensionOf(currentName);
  request.initialFolder = cp932::fromNativeName(storedPath.parent_path().native());
  const Text chosen = ui.chooseFileToOpen(request);
  if (chosen.empty()) return false;
  options.writeText(opt::DiskImageFile, chosen);
  const Text first = list.shownCount() > 1 ? list.shownField(catalog::FieldName, 1) : Text();
  record(list, folderFor(cp932::toNativeName(chosen), first));
  return true;
}

}  // namespace zevro::diskimage
