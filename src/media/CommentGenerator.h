#pragma once
// The comments a reading generates for folders and files (the CommentSource
// of the walk). A folder's comment comes, in turn, from the index files of
// the folder (bulletin-board indexes, a disk list, a file list named like
// the folder), its settings file, the root's lists, an entry an index made
// for it earlier, its readme, an UP*.BAT, the device and maker table, the
// magazine label or audio-CD settings (the title line), and an issue date in
// its name. A file's comment is its entry in the comment table, else what
// the file itself tells (FileComment.h).
//
// With AutoCreate off no index, settings file or readme is read; the comment
// table, device table, magazine labels, audio CD names, issue dates and the
// file rules still apply.
//
// Every comment is made fit for a row: characters below the blank become
// blanks (a file comment keeps its CR LF), and a comment longer than 128
// characters is squeezed and then cut.
#include <cstddef>
#include <functional>
#include <optional>

#include "media/CommentSource.h"
#include "media/CommentTable.h"
#include "media/IndexReaders.h"
#include "media/MediumFiles.h"
#include "platform/FileSystem.h"

namespace zevro {

struct CommentOptions {
  bool autoCreate = true;     // AutoCreate: index files, settings files and readmes are read
  bool commentUnzip = false;  // CommentUnzip: an archive row's comment may come from its readme
};

class CommentGenerator final : public CommentSource {
public:
  static constexpr std::size_t MaxComment = 128;
  static constexpr TextView PlayerSettingsName = u"CDPlayer.ini";

  using Options = CommentOptions;

  // playerSettings: the folder holding CDPlayer.ini ($WINDIR, else the
  // program folder). progress: the count of index names handled.
  CommentGenerator(FileSystem& files, NativePath playerSettings, Options options = {},
                   std::function<void(int)> progress = {});

  void setOptions(const Options& options) { options_ = options; }
  const Options& options() const { return options_; }
  void setProgress(std::function<void(int)> progress) override;
  void setReading(bool autoCreate, bool commentUnzip) override { options_ = {autoCreate, commentUnzip}; }

  Text FolderComment(const FolderVisit& visit) override;
  Text FileComment(const FileVisit& visit) override;
  bool fileCommentReads(const FileVisit& visit) const override;
  Text ArchiveComment(const ArchiveCommentVisit& visit) override;
  std::optional<Text> takeCatalogTitle() override;

  const CommentTable& table() const { return table_; }

private:
  Text folderComment(const FolderVisit& visit);
  Text readmeTitle(TextView path);
  // Takes a candidate out of the list: u"\treadme.txt\tx.txt\t" - u"readme.txt".
  static void takeOut(Text& candidates, TextView name);
  static std::vector<Text> candidatesOf(TextView list);
  Text audioCd(TextView mediumTitle);

  FileSystem& files_;
  NativePath playerSettings_;
  Options options_;
  MediumFiles medium_;
  CommentTable table_;
  IndexReaders readers_;
  bool stopMark_ = false;
  Text rootComment_;
  std::optional<Text> catalogTitle_;
};

}  // namespace zevro
