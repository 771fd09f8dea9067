#include "media/FolderWalker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

#include "core/CatalogList.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "media/ExtensionGroups.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr int FirstYear = 1900;
constexpr int CountRedrawEvery = 10;
constexpr int PumpEvery = 50;
constexpr TextView RecycledFolder = u"RECYCLED";
constexpr std::size_t DriveRootLength = 2;  // u"E:"

bool isDriveRoot(TextView path) { return path.size() <= DriveRootLength; }

void lowerInPlace(Text& text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
}

// The extension as the icon table and the sort keys see it (last "." within
// the last six characters) and the name without it.
struct NameParts {
  Text extension;  // u"txt"
  TextView base;   // u"readme"
};

NameParts partsOf(TextView name) {
  NameParts p;
  p.extension = extensionOf(name);
  p.base = p.extension.empty() ? name : name.substr(0, name.size() - p.extension.size() - 1);
  return p;
}

// The sort key of a name: by extension extension "." base, by kind group ":"
// extension "." base, else the name.
Text keyOf(TextView name, const NameParts& p, TextView group, WalkOrder order) {
  if (order != WalkOrder::Extension && order != WalkOrder::Kind) return Text(name);
  Text key;
  key.reserve(group.size() + name.size() + 2);
  if (order == WalkOrder::Kind) {
    key += group;
    key.push_back(u':');
  }
  key += p.extension;
  key.push_back(u'.');
  key += p.base;
  return key;
}

// Files whose text may describe their folder: DOC, TXT, WRI, ME, BBS, DIZ
// (but not copyright, licence or history texts) and a plain "readme".
bool isCommentCandidate(const NameParts& p) {
  if (p.extension.empty()) return asciiLower(p.base) == u"readme";
  static constexpr TextView Types[] = {u"DOC", u"TXT", u"WRI", u"ME", u"BBS", u"DIZ"};
  static constexpr TextView Excluded[] = {u"copyrite", u"license", u"history"};
  const Text ext = asciiUpper(p.extension);
  if (std::find(std::begin(Types), std::end(Types), ext) == std::end(Types)) return false;
  const Text base = asciiLower(p.base);
  return std::find(std::begin(Excluded), std::end(Excluded), base) == std::end(Excluded);
}

bool isTitleFile(std::string_view nativeName) {
  if (nativeName.empty() || nativeName.front() != 'V') return false;
  const Text lower = asciiLower(cp932::fromNativeName(nativeName));
  return lower == u"volname.txt" || lower == u"volname.dat";
}

bool isArchiveExtension(TextView ext) {
  const Text upper = asciiUpper(ext);
  return upper == u"LZH" || upper == u"ZIP" || upper == u"CAB";
}

// The number in a size text, commas skipped: u"1,234" -> 1234, u"" -> 0.
// A text of more digits than a size can have (a damaged list) stops growing
// at the largest value instead of overflowing.
std::int64_t sizeValue(TextView text) {
  constexpr std::int64_t Limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t n = 0;
  for (char16_t c : text) {
    if (c == u',') continue;
    if (c < u'0' || c > u'9') break;
    if (n > Limit) return std::numeric_limits<std::int64_t>::max();
    n = n * 10 + (c - u'0');
  }
  return n;
}

// a + b for sizes that are never negative, stopping at the largest value.
std::int64_t addSizes(std::int64_t a, std::int64_t b) {
  return a > std::numeric_limits<std::int64_t>::max() - b ? std::numeric_limits<std::int64_t>::max() : a + b;
}

}  // namespace

struct FolderWalker::FileItem {
  // Views of the listing's texts (Listing::text).
  TextView name;       // catalog text, u"MANUAL.TXT"
  TextView foldedKey;  // the sort key in lower case
  // The name on disk: a view of the folder's listing, which is kept until
  // the file rows are written.
  std::string_view native;
  DirEntry::Type type = DirEntry::Type::File;
  std::uint64_t size = 0;
  ListTime time;
  Text extension;  // u"TXT"
};

struct FolderWalker::Listing {
  struct Subfolder {
    Text foldedName;
    Text name;
    std::string native;
  };
  std::vector<FileItem> files;
  // The names and sort keys of all files, one after another: one block of
  // memory for a folder rather than two for each of its files.
  Text text;
  std::vector<Subfolder> subfolders;
  std::int64_t total = 0;
  Text candidates{ch::Tab};
};

// One folder as the reader found it, waiting for its rows.
struct FolderWalker::Visit {
  enum class State {
    Listed,      // with its listing; empty when unreadable or too deep (see problems)
    NotEntered,  // another file system, or a folder met before: its row only
    BadDate,     // an entry dated before 1900: the folder is left out
  };
  NativePath folder;
  Text path;  // u"E:\\DOCS"
  Text name;  // u"DOCS"
  int depth = 0;
  State state = State::Listed;
  std::vector<WalkProblem> problems;  // what the reader met, reported when the folder's turn comes
  // The listing as the file system gave it, in no order; the walk orders
  // it and makes its files' items (the subfolders are the reader's, in the
  // listing below).
  std::vector<DirEntry> entries;
  Listing listing;
};

// Lists the folders of a walk on a thread of its own, depth first in the
// order the walk visits them, and hands them over in that order. It runs a
// limited way ahead; stopping it (or its end) joins the thread.
class FolderWalker::Reader {
public:
  Reader(FolderWalker& walker, NativePath folder, Text path, Text name)
      : walker_(walker), thread_([this, folder = std::move(folder), path = std::move(path), name = std::move(name)] {
          run(folder, path, name);
        }) {}
  ~Reader() {
    {
      const std::lock_guard hold(lock_);
      stop_ = true;
    }
    room_.notify_all();
    thread_.join();
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // The next folder of the walk, waiting for it to be listed.
  Visit next() {
    std::unique_lock hold(lock_);
    ready_.wait(hold, [this] { return !queue_.empty() || done_; });
    if (queue_.empty()) {
      if (failure_) std::rethrow_exception(failure_);
      throw std::logic_error("the walk asked for more folders than were listed");
    }
    Visit visit = std::move(queue_.front());
    queue_.pop_front();
    ahead_ -= weightOf(visit);
    hold.unlock();
    room_.notify_one();
    return visit;
  }

  // A listing the walk is done with: the reader frees it. Memory is best
  // freed by the thread that took it (its allocator then serves the next
  // listing from it, without the locks of memory shared between threads).
  void giveBack(std::vector<DirEntry>&& entries) {
    if (entries.empty()) return;
    const std::lock_guard hold(lock_);
    spent_.push_back(std::move(entries));
  }

private:
  // At most this many folders, or entries, are listed ahead of the rows
  // (always at least one folder, however large).
  static constexpr std::size_t MostFolders = 64;
  static constexpr std::size_t MostEntries = std::size_t{1} << 16;

  static std::size_t weightOf(const Visit& v) { return 1 + v.entries.size(); }

  void run(const NativePath& folder, const Text& path, const Text& name) {
    try {
      read(folder, path, name, 0);
    } catch (...) {
      const std::lock_guard hold(lock_);
      failure_ = std::current_exception();
    }
    {
      const std::lock_guard hold(lock_);
      done_ = true;
    }
    ready_.notify_all();
  }

  // False once the walk no longer wants folders.
  bool read(const NativePath& folder, const Text& path, TextView name, int depth) {
    if (stopping()) return false;
    freeSpent();
    Visit visit;
    visit.folder = folder;
    visit.path = path;
    visit.name = Text(name);
    visit.depth = depth;
    walker_.readFolder(visit);
    struct Sub {
      Text name;
      std::string native;
    };
    std::vector<Sub> subs;
    subs.reserve(visit.listing.subfolders.size());
    for (const Listing::Subfolder& s : visit.listing.subfolders) subs.push_back({s.name, s.native});
    if (!hand(std::move(visit))) return false;
    for (const Sub& sub : subs) {
      Text subPath = path;
      subPath.push_back(ch::PathSeparator);
      subPath += sub.name;
      if (!read(folder / sub.native, subPath, sub.name, depth + 1)) return false;
    }
    return true;
  }

  void freeSpent() {
    std::vector<std::vector<DirEntry>> spent;
    {
      const std::lock_guard hold(lock_);
      spent.swap(spent_);
    }
  }

  bool stopping() {
    const std::lock_guard hold(lock_);
    return stop_;
  }

  bool hand(Visit&& visit) {
    const std::size_t weight = weightOf(visit);
    {
      std::unique_lock hold(lock_);
      room_.wait(hold,
                 [this] { return stop_ || queue_.empty() || (queue_.size() < MostFolders && ahead_ < MostEntries); });
      if (stop_) return false;
      queue_.push_back(std::move(visit));
      ahead_ += weight;
    }
    ready_.notify_one();
    return true;
  }

  FolderWalker& walker_;
  std::mutex lock_;
  std::condition_variable ready_;  // a folder was handed over, or the reader ended
  std::condition_variable room_;   // a folder was taken, or the walk stopped
  std::deque<Visit> queue_;
  std::size_t ahead_ = 0;  // the weight of the folders queued
  bool stop_ = false;
  bool done_ = false;
  std::exception_ptr failure_;
  std::vector<std::vector<DirEntry>> spent_;  // listings given back, to be freed here
  std::thread thread_;  // last: started once everything above is made
};

Text FolderWalker::badDateMessage(TextView folderPath) {
  Text text(BadDateMessageHead);
  text += folderPath;
  text += BadDateMessageTail;
  return text;
}

Text FolderWalker::sortKey(TextView name, WalkOrder order) {
  const NameParts p = partsOf(name);
  return keyOf(name, p, ExtensionGroups::groupOf(p.extension), order);
}

TextView FolderWalker::groupOf(const Text& extension) {
  if (lastGroup_ && extension == lastGroupExtension_) return *lastGroup_;
  // A medium has few distinct extensions; looked up once each.
  const auto [it, added] = groups_.try_emplace(extension);
  if (added) it->second = ExtensionGroups::groupOf(extension);
  lastGroupExtension_ = extension;
  lastGroup_ = it->second;
  return it->second;
}

FolderWalker::FolderWalker(FileSystem& files, Ui& ui, const IconTable& icons, WalkOptions options,
                           WalkCallbacks callbacks, WalkHooks hooks)
    : files_(files), ui_(ui), icons_(icons), options_(options), callbacks_(std::move(callbacks)), hooks_(hooks) {}

bool FolderWalker::WalkFolder(const NativePath& folder, TextView path, TextView mediumTitle, RowStore& store) {
  mediumTitle_ = Text(mediumTitle);
  cancelled_ = false;
  full_ = false;
  count_ = 0;
  folderRows_ = 0;
  problems_.clear();
  visited_.clear();
  const std::optional<FileSystem::Identity> root = files_.identityOf(folder);
  rootDevice_ = root ? root->device : 0;
  lowPriority_ = callbacks_.lowPriority && callbacks_.lowPriority();
  catalog::makeCatalogList(store);
  if (hooks_.comments) {
    hooks_.comments->setProgress([this](int count) {
      if (callbacks_.showCount) callbacks_.showCount(count);
      pump();
    });
  }
  const Text rootPath(path);
  const Text rootName = isDriveRoot(path) ? rootPath : fileNamePart(path);
  if (hooks_.archives && readArchiveMedium(folder, rootPath, rootName, store)) return !stopped();
  Reader reader(*this, folder, rootPath, rootName);
  reader_ = &reader;
  try {
    Visit root = reader.next();
    visitFolder(root, store);
  } catch (...) {
    reader_ = nullptr;
    throw;
  }
  reader_ = nullptr;
  return !stopped();
}

bool FolderWalker::readArchiveMedium(const NativePath& file, const Text& path, TextView name, RowStore& store) {
  const std::optional<DirEntry> entry = files_.stat(file);
  if (!entry || entry->type != DirEntry::Type::File || !isArchiveExtension(extensionOf(name))) return false;
  Listing listing;
  listing.total = static_cast<std::int64_t>(entry->size);
  if (!writeFolderRow(file, path, name, 0, listing, store)) return true;
  ListTime::of(entry->modified, options_.zone).writeRowText(date_);
  const Text parent = parentFolder(path);
  ArchiveVisit visit{parent, name, &file, 0, date_, entry->size, {}, kindOf(extensionOf(name)), true};
  visit.countMember = [this] { return countItem(); };
  visit.listFull = [this] { reportListFull(); };
  hooks_.archives->WalkArchive(visit, store);
  countItem();
  return true;
}

void FolderWalker::visitFolder(Visit& visit, RowStore& store) {
  if (callbacks_.showFolder) callbacks_.showFolder(visit.path);
  Listing& listing = visit.listing;
  if (visit.state == Visit::State::NotEntered) {
    // Another file system mounted here, or a folder already read through
    // another path: its row stays, without contents.
    writeFolderRow(visit.folder, visit.path, visit.name, visit.depth, listing, store);
    return;
  }
  for (WalkProblem& p : visit.problems) problems_.push_back(std::move(p));
  listFiles(visit);
  if (visit.state == Visit::State::BadDate) {
    reportBadDate(visit.path);  // dates before 1900: the folder is left out
    return;
  }
  if (cancelled_) return;
  if (!writeFolderRow(visit.folder, visit.path, visit.name, visit.depth, listing, store)) return;

  for (const FileItem& item : listing.files) {
    if (!writeFileRow(visit.folder, visit.path, item, visit.depth + 1, store)) return;
    if (!countItem()) return;
  }
  // The files' names on disk were views of the listing.
  listing.files = {};
  reader_->giveBack(std::move(visit.entries));
  visit.entries = {};
  if (!countItem()) return;
  // The reader listed the subfolders in this order, each with everything
  // below it before the next.
  for (std::size_t i = 0; i < listing.subfolders.size(); ++i) {
    Visit sub = reader_->next();
    visitFolder(sub, store);
    if (stopped() || !pump()) return;
  }
}

bool FolderWalker::entering(const NativePath& folder, int depth) {
  const std::optional<FileSystem::Identity> identity = files_.identityOf(folder);
  if (!identity) return true;  // the listing reports what is wrong with it
  if (depth > 0 && identity->device != rootDevice_) return false;
  return visited_.insert(*identity).second;
}

void FolderWalker::readFolder(Visit& visit) {
  IoError error;
  {
    const std::lock_guard hold(medium_);
    if (!entering(visit.folder, visit.depth)) {
      visit.state = Visit::State::NotEntered;
      return;
    }
    if (visit.depth >= RowStore::MaxLevel) {
      // Its files would need a level the list cannot hold.
      visit.problems.push_back({WalkProblem::Kind::TooDeep, visit.path, {}});
      return;
    }
    // In the file system's own order: the walk's thread orders them.
    visit.entries = files_.listUnsorted(visit.folder, &error);
  }
  if (error) {
    visit.problems.push_back({WalkProblem::Kind::Unreadable, visit.path, error.text});
    return;  // the folder keeps its row, without contents
  }
  listSubfolders(visit);
}

bool FolderWalker::beforeFirstYear(FileTime time) const {
  // No zone is a day or more away from UTC: a time after the second day of
  // the first year is in it wherever it is told, and only older times need
  // the zone's own answer.
  constexpr FileTime SecondDayOfFirstYear = -2'208'816'000LL * 1'000'000'000LL;  // 1900-01-03 UTC
  if (time >= SecondDayOfFirstYear) return false;
  return ListTime::of(time, options_.zone).year < FirstYear;
}

bool FolderWalker::isSkippedTitleFile(const Visit& visit, const DirEntry& e, bool& titleFileSkipped) {
  if (titleFileSkipped || visit.depth != 0 || !isDriveRoot(visit.path) || !isTitleFile(e.name)) return false;
  titleFileSkipped = true;
  return true;
}

void FolderWalker::listSubfolders(Visit& visit) {
  // The entries are in no order here: the title file left out is the first
  // by name, and whether an entry is dated before 1900 does not depend on
  // the order.
  const DirEntry* titleFile = nullptr;
  if (visit.depth == 0 && isDriveRoot(visit.path)) {
    for (const DirEntry& e : visit.entries)
      if (!e.isFolder() && isTitleFile(e.name) && (!titleFile || e.name < titleFile->name)) titleFile = &e;
  }
  Listing& listing = visit.listing;
  for (const DirEntry& e : visit.entries) {
    if (e.isFolder()) {
      if (e.name.starts_with('.')) continue;
      Text name = cp932::fromNativeName(e.name);
      if (name == RecycledFolder) continue;
      if (beforeFirstYear(e.modified)) {
        visit.state = Visit::State::BadDate;
        break;
      }
      Text folded = asciiLower(name);
      listing.subfolders.push_back({std::move(folded), std::move(name), e.name});
      continue;
    }
    if (&e != titleFile && beforeFirstYear(e.modified)) {
      visit.state = Visit::State::BadDate;
      break;
    }
  }
  if (visit.state == Visit::State::BadDate) {
    listing.subfolders.clear();
    return;
  }
  std::sort(listing.subfolders.begin(), listing.subfolders.end(),
            [](const Listing::Subfolder& a, const Listing::Subfolder& b) {
              if (a.foldedName != b.foldedName) return a.foldedName < b.foldedName;
              return a.native < b.native;
            });
}

void FolderWalker::listFiles(Visit& visit) {
  const Text& path = visit.path;
  Listing& listing = visit.listing;
  std::vector<DirEntry>& entries = visit.entries;
  sortByName(entries);
  // The reader found an entry dated before 1900: the walk stops at the
  // first, reporting the entries that could not be looked at before it.
  const bool badDate = visit.state == Visit::State::BadDate;
  bool titleFileSkipped = false;
  listing.files.reserve(entries.size());
  struct Span {
    std::size_t at;    // of the name in Listing::text; its key follows it
    std::size_t name;  // lengths
    std::size_t key;
  };
  std::vector<Span> spans;
  spans.reserve(entries.size());
  for (DirEntry& e : entries) {
    if (e.statError) {
      // Kept with what is known: leaving it out would drop a whole folder
      // without a word, and a replaced catalog would lose its rows.
      Text entryPath = path;
      entryPath.push_back(ch::PathSeparator);
      entryPath += cp932::fromNativeName(e.name);
      problems_.push_back({WalkProblem::Kind::NoDetails, std::move(entryPath),
                           std::generic_category().message(e.statError)});
    }
    if (e.isFolder()) {
      // The reader took the subfolders.
      if (badDate && !e.name.starts_with('.') && cp932::fromNativeName(e.name) != RecycledFolder &&
          beforeFirstYear(e.modified))
        break;
      continue;
    }
    if (isSkippedTitleFile(visit, e, titleFileSkipped)) continue;
    if (badDate && beforeFirstYear(e.modified)) break;
    FileItem item;
    const Text name = cp932::fromNativeName(e.name);
    const NameParts parts = partsOf(name);
    item.extension = parts.extension;
    const TextView group = options_.sortOrder == WalkOrder::Kind ? groupOf(parts.extension) : TextView();
    Text key = keyOf(name, parts, group, options_.sortOrder);
    lowerInPlace(key);
    // Where the texts will be: the views are made once the text is complete.
    spans.push_back({listing.text.size(), name.size(), key.size()});
    listing.text += name;
    listing.text += key;
    item.native = e.name;
    item.type = e.type;
    item.size = e.size;
    item.time = ListTime::of(e.modified, options_.zone);
    listing.total += static_cast<std::int64_t>(e.size);
    // Only regular files are ever read for comments: a FIFO named
    // readme.txt would block the reading forever.
    if (e.type == DirEntry::Type::File && isCommentCandidate(parts)) {
      listing.candidates += asciiLower(name);
      listing.candidates.push_back(ch::Tab);
    }
    listing.files.push_back(std::move(item));
  }
  if (badDate) {
    listing = Listing{};
    reader_->giveBack(std::move(entries));
    entries = {};
    return;
  }
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const TextView text = listing.text;
    listing.files[i].name = text.substr(spans[i].at, spans[i].name);
    listing.files[i].foldedKey = text.substr(spans[i].at + spans[i].name, spans[i].key);
  }
  // Case-insensitive order; names that differ only in case keep a fixed order.
  const auto before = [](const FileItem& a, const FileItem& b) {
    const int order = a.foldedKey.compare(b.foldedKey);
    return order != 0 ? order < 0 : a.native < b.native;
  };
  // A listing in the order of its bytes often is the order wanted already
  // (one case, one kind of file). Otherwise the places are sorted rather
  // than the items: a swap of items moves four strings.
  std::vector<FileItem>& files = listing.files;
  if (!std::is_sorted(files.begin(), files.end(), before)) {
    std::vector<std::uint32_t> order(files.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return before(files[a], files[b]); });
    std::vector<FileItem> sorted;
    sorted.reserve(files.size());
    for (const std::uint32_t i : order) sorted.push_back(std::move(files[i]));
    files = std::move(sorted);
  }
}

void FolderWalker::reportBadDate(const Text& path) {
  problems_.push_back({WalkProblem::Kind::BadDate, path, {}});
  ui_.showMessage(badDateMessage(path), mb::Ok, {});
}

bool FolderWalker::writeFolderRow(const NativePath& folder, const Text& path, TextView name, int depth,
                                  Listing& listing, RowStore& store) {
  Text comment;
  if (hooks_.comments) {
    std::vector<FolderEntry> entries;
    entries.reserve(listing.files.size() + listing.subfolders.size());
    for (const FileItem& f : listing.files) entries.push_back({f.name, f.native, false});
    for (const Listing::Subfolder& s : listing.subfolders) entries.push_back({s.name, s.native, true});
    FolderVisit visit{path, name, depth == 0, mediumTitle_, &listing.candidates, &folder, entries};
    const std::lock_guard hold(medium_);
    comment = hooks_.comments->FolderComment(visit);
    if (comment.size() > MaxFolderComment) comment.resize(MaxFolderComment);
  }
  const bool title = depth == 0;
  const int kind = title ? options_.mediumKind + 1 : catalog::KindFolder;
  const Text size = groupedNumber(listing.total);
  if (!append(title ? TextView(mediumTitle_) : name, comment, {}, size, kind, depth, store)) return false;
  ++folderRows_;
  // A disk list read in this folder may name the catalog.
  if (hooks_.comments) {
    if (std::optional<Text> catalogTitle = hooks_.comments->takeCatalogTitle(); catalogTitle && store.rowCount() > 0)
      store.setField(catalog::FieldComment, 0, *catalogTitle);
  }
  return true;
}

bool FolderWalker::writeFileRow(const NativePath& folder, const Text& path, const FileItem& item, int level,
                                RowStore& store) {
  const bool regular = item.type == DirEntry::Type::File;
  const bool archive = options_.archives && hooks_.archives && regular && isArchiveExtension(item.extension);
  NativePath file;
  if (archive) file = folder / item.native;
  Text comment;
  if (hooks_.comments) {
    const FileVisit visit{path, item.name, archive ? &file : nullptr, regular, &folder, item.native};
    // Most files are never read for their comment: those leave the medium
    // to the reader.
    std::unique_lock hold(medium_, std::defer_lock);
    if (hooks_.comments->fileCommentReads(visit)) hold.lock();
    comment = hooks_.comments->FileComment(visit);
  }
  const int kind = kindOf(item.extension);
  if (archive) {
    const int row = store.rowCount();
    item.time.writeRowText(date_);
    ArchiveVisit visit{path, item.name, &file, level, date_, item.size, comment, kind};
    visit.countMember = [this] { return countItem(); };
    if (hooks_.comments) {
      visit.commentFromMembers = [this, &path, &item](TextView candidates, const ArchiveVisit::MemberReader& read) {
        return hooks_.comments->ArchiveComment({path, item.name, candidates, read});
      };
    }
    visit.listFull = [this] { reportListFull(); };
    std::unique_lock hold(medium_);
    const bool walked = hooks_.archives->WalkArchive(visit, store);
    hold.unlock();
    if (walked && store.rowCount() > row) {
      store.setKind(row, kind);
      return true;
    }
  }
  item.time.writeRowText(date_);
  return append(item.name, comment, date_, groupedNumber(static_cast<std::int64_t>(item.size)), kind, level, store);
}

int FolderWalker::kindOf(const Text& extension) {
  // Files of a folder mostly share their extension: the last one answers
  // without a look into the table.
  if (lastKind_ >= 0 && extension == lastKindExtension_) return lastKind_;
  // A medium has few distinct extensions; the table is a long text to search.
  const auto [it, added] = kinds_.try_emplace(extension, 0);
  if (added) it->second = icons_.IconCodeOf(extension);
  lastKindExtension_ = extension;
  lastKind_ = it->second;
  return it->second;
}

bool FolderWalker::append(TextView name, TextView comment, TextView date, TextView size, int kind, int level,
                          RowStore& store) {
  const TextView fields[] = {name, comment, date, size, record::NoFlagsText};
  catalog::buildRecordInto(record_, fields);
  record_.push_back(record::marker(catalog::FieldMediumName));
  if (store.appendShown(record_, catalog::colourIndexFor(kind, level), catalog::HighlightNone, kind, level))
    return true;
  reportListFull();
  return false;
}

void FolderWalker::reportListFull() {
  if (full_) return;
  full_ = true;
  problems_.push_back({WalkProblem::Kind::ListFull, {}, {}});
}

bool FolderWalker::countItem() {
  ++count_;
  if (lowPriority_) {
    if (callbacks_.showCount) callbacks_.showCount(count_);
    return pump();
  }
  if (count_ % CountRedrawEvery == 0 && callbacks_.showCount) callbacks_.showCount(count_);
  if (count_ % PumpEvery == 0) return pump();
  return !stopped();
}

bool FolderWalker::pump() {
  if (callbacks_.pump && !callbacks_.pump()) cancelled_ = true;
  if (callbacks_.lowPriority) lowPriority_ = callbacks_.lowPriority();
  return !stopped();
}

std::int64_t FolderWalker::SizeValue(TextView text) { return sizeValue(text); }

std::int64_t FolderWalker::AddFolderSizes(RowStore& store) {
  const int rows = store.rowCount();
  // The folder-like rows in order, with their totals.
  struct Folder {
    int row;
    std::int64_t total;
  };
  std::vector<Folder> folders;
  std::vector<std::size_t> open;  // indexes into folders, levels rising
  auto close = [&]() {
    const std::size_t done = open.back();
    open.pop_back();
    if (!open.empty()) folders[open.back()].total = addSizes(folders[open.back()].total, folders[done].total);
  };
  for (int r = 0; r < rows; ++r) {
    if (!catalog::isFolderLike(store.kind(r))) continue;
    const int level = store.level(r);
    while (!open.empty() && store.level(folders[open.back()].row) >= level) close();
    open.push_back(folders.size());
    folders.push_back({r, sizeValue(store.fieldView(catalog::FieldSize, r))});
  }
  while (!open.empty()) close();

  const std::int64_t medium = !folders.empty() && folders.front().row == 0 ? folders.front().total : 0;
  std::vector<Text> texts;
  texts.reserve(folders.size());
  std::vector<RowStore::FieldText> sizes;
  sizes.reserve(folders.size());
  for (const Folder& f : folders) {
    texts.push_back(groupedNumber(f.total));
    sizes.push_back({f.row, texts.back()});
  }
  if (!store.setFieldOfRows(catalog::FieldSize, sizes)) return 0;
  return medium;
}

}  // namespace zevro
