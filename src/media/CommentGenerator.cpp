#include "media/CommentGenerator.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/Strings.h"
#include "media/FileComment.h"
#include "media/FolderRules.h"
#include "media/ReadmeTitle.h"
#include "media/TextOps.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::size_t DriveRootLength = 2;
constexpr std::size_t PlayerSettingsCap = 4u << 20;
constexpr std::size_t ShortestTitle = 3;
constexpr std::size_t LongestTitle = 40;

bool contains(TextView text, TextView part) { return text.find(part) != TextView::npos; }

}  // namespace

CommentGenerator::CommentGenerator(FileSystem& files, NativePath playerSettings, Options options,
                                   std::function<void(int)> progress)
    : files_(files),
      playerSettings_(std::move(playerSettings)),
      options_(options),
      medium_(files),
      readers_(medium_, table_, std::move(progress)) {}

void CommentGenerator::setProgress(std::function<void(int)> progress) {
  readers_.setProgress(std::move(progress));
}

std::vector<Text> CommentGenerator::candidatesOf(TextView list) {
  std::vector<Text> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= list.size(); ++i) {
    if (i < list.size() && list[i] != ch::Tab) continue;
    if (i > start) names.emplace_back(list.substr(start, i - start));
    start = i + 1;
  }
  return names;
}

void CommentGenerator::takeOut(Text& candidates, TextView name) {
  const Text entry = u"\t" + Text(name) + u"\t";
  const std::size_t at = candidates.find(entry);
  if (at != Text::npos) candidates.erase(at, entry.size() - 1);
}

Text CommentGenerator::readmeTitle(TextView path) {
  std::string bytes;
  if (!medium_.read(path, bytes, ReadmeTitle::SampleBytes)) return {};
  const Text folder = parentFolder(path);
  return ReadmeTitle::of(bytes, path, [&]() -> Text {
    const std::optional<Text> driver = medium_.firstFile(joinPath(folder, u"*.DRV"));
    return driver ? fileNamePart(*driver) : Text();
  });
}

Text CommentGenerator::audioCd(TextView mediumTitle) {
  const TextView serial = mediumTitle.substr(3);
  std::string bytes;
  const NativePath ini = playerSettings_ / "CDPlayer.ini";
  if (files_.readStart(ini, bytes, PlayerSettingsCap)) return Text(mediumTitle);
  const folderrules::AudioCd cd = folderrules::AudioCdOf(cp932::decode(bytes), serial);
  if (!cd.found) return Text(mediumTitle);
  const Text root = medium_.drive();
  for (const auto& [number, name] : cd.tracks) {
    const int track = number + 1;
    Text file = u"track";
    if (track < 10) file += u"0";
    file += ascii(std::to_string(track));
    file += u".cda";
    table_.add(joinPath(root, file), name);
  }
  return cd.title.empty() ? Text(mediumTitle) : cd.title;
}

Text CommentGenerator::FolderComment(const FolderVisit& visit) {
  if (visit.firstRow) {
    medium_.setRoot(visit.path, visit.folder ? *visit.folder : NativePath());
    table_.clear();
    stopMark_ = false;
    catalogTitle_.reset();
  }
  if (visit.folder && !visit.entries.empty()) medium_.learn(*visit.folder, visit.entries);
  Text comment = folderComment(visit);
  if (visit.firstRow) rootComment_ = comment;
  return textops::FitComment(comment, MaxComment, false);
}

Text CommentGenerator::folderComment(const FolderVisit& visit) {
  Text empty;
  Text& candidates = visit.candidates ? *visit.candidates : empty;
  const bool first = visit.firstRow;
  const bool driveRoot = visit.path.size() <= DriveRootLength;
  const bool folderMedium = first && !driveRoot;
  // 1. The name the rules look at.
  Text comment;
  const Text name = first && driveRoot ? Text(visit.mediumTitle) : Text(visit.name);
  if (folderMedium) comment = Text(visit.name);
  const Text folderName = driveRoot ? Text() : Text(visit.name);
  const auto pathOf = [&](TextView file) { return joinPath(visit.path, file); };

  bool settingsTitle = false;  // step 5 gave the comment: on to step 9 / 10
  bool fromTable = false;
  bool toFinish = false;  // a folder read as the medium goes straight to the end
  if (options_.autoCreate) {
    // 2. Bulletin-board indexes.
    if (!first && !stopMark_) {
      for (const Text& c : candidatesOf(candidates)) {
        if (!contains(c, u".bbs") && !contains(c, u"00_index")) continue;
        if (readers_.ReadBulletinIndex(pathOf(c), folderName)) takeOut(candidates, c);
      }
    }
    // 3. A disk list.
    if (!stopMark_ && contains(candidates, u"\tfiledir.txt\t")) {
      const IndexReaders::DiskListResult disk = readers_.ReadDiskList(pathOf(u"filedir.txt"), rootComment_);
      if (disk.read) takeOut(candidates, u"filedir.txt");
      if (!disk.title.empty()) catalogTitle_ = disk.title;
    }
    // 4. A file list named like the folder, or contents.*.
    bool listRead = false;
    if (!stopMark_) {
      const Text own = asciiLower(folderName) + u".";
      for (const Text& c : candidatesOf(candidates)) {
        if (!(!folderName.empty() && c.starts_with(own)) && !c.starts_with(u"contents.")) continue;
        if (readers_.ReadFileList(pathOf(c), folderName)) {
          takeOut(candidates, c);
          listRead = true;
          break;
        }
      }
    }
    // 5. A settings file's title.
    if (!listRead) {
      for (auto [file, key] : {std::pair<TextView, TextView>{u"setdata.ini", u"caption"}, {u"setup.lst", u"wndtitle"}}) {
        if (!medium_.isFile(pathOf(file))) continue;
        Text title = readers_.SettingsTitle(pathOf(file), key);
        if (title.empty()) continue;
        comment = std::move(title);
        settingsTitle = true;
        break;
      }
    }
    // 6. The root's lists.
    if (!settingsTitle && first) {
      if (folderMedium) {
        toFinish = true;
      } else {
        for (TextView file : {u"cdlist.txt", u"menu.dat", u"dirs.txt"}) {
          const Text p = pathOf(file);
          if (!medium_.isFile(p)) continue;
          const bool read = file == u"menu.dat" ? readers_.ReadMenu(p) : readers_.ReadFileList(p, folderName);
          if (read) break;
        }
        if (contains(candidates, u"\t00global.txt\t") && readers_.ReadCollectionList(pathOf(u"00global.txt"))) {
          stopMark_ = true;
          takeOut(candidates, u"00global.txt");
        }
        if (!stopMark_) {
          std::optional<Text> outline;
          for (const Text& c : candidatesOf(candidates))
            if (c.starts_with(u"読ん")) {
              outline = c;
              break;
            }
          if (!outline && contains(candidates, u"\tcontents.txt\t")) outline = Text(u"contents.txt");
          if (!outline && contains(candidates, u"\treadme.txt\t")) outline = Text(u"readme.txt");
          if (outline && readers_.ReadOutline(pathOf(*outline))) takeOut(candidates, *outline);
        }
      }
    }
  }
  if (!settingsTitle && !toFinish) {
    // 7. An entry an index made for this folder.
    if (const std::optional<TextView> entry = table_.find(visit.path)) {
      comment = Text(*entry);
      fromTable = true;
    }
    // 8. The readme.
    if (!fromTable && options_.autoCreate) {
      for (const Text& c : candidatesOf(candidates)) {
        if (!contains(c, u"readme") || extensionOf(c, true) == u"WRI") continue;
        Text title = readmeTitle(pathOf(c));
        if (!contains(title, u"会社")) comment = std::move(title);
        takeOut(candidates, c);
        break;
      }
      if (comment.empty()) {
        for (const Text& c : candidatesOf(candidates)) {
          Text title = readmeTitle(pathOf(c));
          if (title.starts_with(u"Oh!PC") || contains(title, u"会社") || title.empty()) continue;
          comment = std::move(title);
          break;
        }
      }
      if (comment.empty()) {
        if (const std::optional<Text> batch = medium_.firstFile(pathOf(u"UP*.BAT")))
          comment = readers_.BatchTitle(*batch);
      }
    }
  }
  if (toFinish) return comment;  // 6: a folder read as the medium keeps its name

  bool issueDate = false;
  if (!first) {
    // 9.
    if (!comment.empty()) return comment;
    comment = folderrules::DeviceComment(visit.name);
    issueDate = true;
  } else if (folderMedium ||
             (comment.size() >= ShortestTitle && comment.size() <= LongestTitle && !contains(comment, u"体験"))) {
    // 10.
    issueDate = true;
  } else {
    const folderrules::Magazine magazine = folderrules::MagazineTitle(visit.mediumTitle);
    if (magazine.result == folderrules::Magazine::Result::Title) {
      comment = magazine.title;
    } else if (magazine.result == folderrules::Magazine::Result::None) {
      comment = Text(visit.mediumTitle);
      if (comment.starts_with(u"CDA")) comment = audioCd(visit.mediumTitle);
    }
  }
  // 11.
  if (issueDate) comment += folderrules::IssueDate(name);
  return comment;
}

Text CommentGenerator::FileComment(const FileVisit& visit) {
  if (const std::optional<TextView> entry = table_.find(visit.folderPath, visit.name))
    return textops::FitComment(*entry, MaxComment, true);
  const filecomment::Kind kind = filecomment::kindOf(visit.name);
  if (kind == filecomment::Kind::None) return {};
  if (kind == filecomment::Kind::Mp3) return textops::FitComment(filecomment::Mp3Comment(visit.name), MaxComment, true);
  // Only a regular file is opened, and only its start is read.
  if (!visit.regular || (!visit.file && !visit.folder)) return {};
  const NativePath file = visit.file ? *visit.file : *visit.folder / visit.native;
  std::string bytes;
  if (files_.readStart(file, bytes, filecomment::bytesFor(kind))) return {};
  Text comment;
  switch (kind) {
    case filecomment::Kind::Avi: comment = filecomment::AviComment(bytes); break;
    case filecomment::Kind::Txt: comment = filecomment::TxtComment(bytes); break;
    case filecomment::Kind::Html: comment = filecomment::HtmlComment(bytes); break;
    default: break;
  }
  return textops::FitComment(comment, MaxComment, true);
}

bool CommentGenerator::fileCommentReads(const FileVisit& visit) const {
  // What FileComment opens: the start of a regular file of a kind that
  // tells its own comment (an entry of the comment table is not asked for
  // here: it only spares the read).
  if (!visit.regular || (!visit.file && !visit.folder)) return false;
  // The extensions filecomment::kindOf reads, compared without a copy: this
  // is asked of every file.
  const TextView ext = extensionView(visit.name);
  if (ext.size() < 3 || ext.size() > 4) return false;
  char lower[4] = {};
  for (std::size_t i = 0; i < ext.size(); ++i) {
    const char16_t c = ext[i];
    if (c > 0x7F) return false;
    lower[i] = static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
  }
  const std::string_view e(lower, ext.size());
  return e == "avi" || e == "txt" || e == "htm" || e == "html";
}

Text CommentGenerator::ArchiveComment(const ArchiveCommentVisit& visit) {
  if (!options_.autoCreate || !options_.commentUnzip || !visit.readMember) return {};
  const std::vector<Text> members = candidatesOf(visit.candidates);
  const Text archive = joinPath(visit.folderPath, visit.name);
  const auto titleOf = [&](const Text& member) -> Text {
    const std::optional<std::string> bytes = visit.readMember(member, ReadmeTitle::SampleBytes);
    if (!bytes) return {};
    Text path = member;
    std::replace(path.begin(), path.end(), u'/', ch::PathSeparator);
    return ReadmeTitle::of(*bytes, joinPath(archive, path));
  };
  Text comment;
  std::optional<Text> usedReadme;
  for (const Text& m : members) {
    if (!contains(m, u"readme") || extensionOf(m, true) == u"WRI") continue;
    Text title = titleOf(m);
    if (!contains(title, u"会社")) comment = std::move(title);
    usedReadme = m;
    break;
  }
  if (comment.empty()) {
    for (const Text& m : members) {
      if (usedReadme && m == *usedReadme) continue;
      Text title = titleOf(m);
      if (title.empty() || title.starts_with(u"Oh!PC") || contains(title, u"会社")) continue;
      comment = std::move(title);
      break;
    }
  }
  return textops::FitComment(comment, MaxComment, false);
}

std::optional<Text> CommentGenerator::takeCatalogTitle() {
  std::optional<Text> title = std::move(catalogTitle_);
  catalogTitle_.reset();
  if (title) return textops::FitComment(*title, MaxComment, false);
  return title;
}

}  // namespace zevro
