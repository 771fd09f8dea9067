#include "media/CatalogName.h"

#include "core/ListFileName.h"
#include "core/Numbers.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// "E:", "E:\" and "E:/" read the whole medium; longer paths a folder of it.
constexpr std::size_t RootLength = 3;

// The folders below the root: u"E:\\SOFT\\TOOLS\\" -> u"SOFT\\TOOLS"; "" for the root.
Text folderPart(TextView path) {
  if (path.size() <= RootLength) return {};
  Text folder(path.substr(RootLength));
  while (!folder.empty() && (folder.back() == ch::PathSeparator || folder.back() == u'/')) folder.pop_back();
  return folder;
}

CatalogNameResult failed(CatalogNameResult::Failure failure) {
  CatalogNameResult result;
  result.failure = failure;
  return result;
}

}  // namespace

CatalogNameResult CatalogName(DriveInfo& drives, TitleFile& titles, Ui& ui, const NativePath& catalogFolder,
                              TextView path, TextView genre, int sequence) {
  if (!drives.hasMedium(path)) {
    ui.beep();
    return failed(CatalogNameResult::Failure::NoMedium);
  }
  Text label = drives.VolumeLabel(path);
  if (label == DriveInfo::AudioCdLabel) label = drives.AudioCdIdentity(path);
  const Text kind = drives.DriveKind(path);
  const Text folder = folderPart(path);

  if (kind == DriveInfo::KindFD) {
    label = titles.ReadTitleFile(path);
    if (label.empty()) return failed(CatalogNameResult::Failure::NoTitle);
  } else if (label.empty()) {
    label = drives.SyntheticLabel(path);
  }
  CatalogNameResult result;
  result.mediumTitle = label;
  if (!folder.empty() && kind != DriveInfo::KindCD) label += u" " + folder;

  Text name = u"_";
  name += genre;
  name += kind;
  name += u'_';
  name += listfilename::replaceNameCharacters(label);
  if (sequence != 0) name += u"-" + zeroPadded(sequence, 2);
  name += u'.';
  name += listfilename::MadeExtension;
  result.fileName = listfilename::fitName(name);
  result.path = catalogFolder / cp932::toNativeName(result.fileName);
  return result;
}

}  // namespace zevro
