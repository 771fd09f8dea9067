#include "listview/ListEdit.h"

#include <algorithm>

#include "core/CatalogList.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::listedit {
namespace {

constexpr char16_t Cr = u'\r';
constexpr char16_t Lf = u'\n';
constexpr char16_t Quote = u'"';

bool sameIgnoringCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i];
    char16_t y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The name rules of a name edit on one row (the catalog's or the pane's):
// what to write as name, medium name and flags, or why not.
struct NameChange {
  Text name;
  std::optional<Text> mediumName;  // field 5 to write, when it changes
  int flags = 0;
  bool beep = false;
  Text message;
};

NameChange nameChange(TextView typed, TextView old, TextView medium, int flags) {
  NameChange change;
  Text name(typed);
  Text mediumText(medium);
  if (name.empty()) name = mediumText;
  if (name.empty() || baseName(name).empty()) {
    change.beep = true;
    return change;
  }
  const Text newExt = extensionOf(name);
  Text oldExt = extensionOf(old);
  if (oldExt.empty()) oldExt = extensionOf(mediumText);
  if (!newExt.empty() && !sameIgnoringCase(newExt, oldExt)) {
    change.message = Text(ExtensionChangedMessage);
    return change;
  }
  change.flags = flags | catalog::FlagMediumName;
  if (mediumText.empty()) {
    mediumText = Text(old);
    change.mediumName = mediumText;
  }
  if (name == mediumText) change.mediumName = Text();
  change.name = std::move(name);
  return change;
}

bool failed(const NameChange& c) { return c.beep || !c.message.empty(); }

CommitResult refuse(bool beep, Text message = {}) {
  CommitResult r;
  r.ok = false;
  r.beep = beep;
  r.message = std::move(message);
  return r;
}

bool exists(FileSystem& files, const NativePath& path) { return files.stat(path).has_value(); }

// Renames the file at `from` to `to` without ever replacing another file.
// A rename that changes only the case of the name goes through a unique
// temporary name, and the file gets its old name back when the second step
// fails. Answers whether the file now carries the new name.
bool renameKeepingOthers(FileSystem& files, const NativePath& from, const NativePath& to, bool caseOnly) {
  if (!caseOnly) return !files.renameNoReplace(from, to);
  // On a case-sensitive file system the differently-cased name may be
  // another file: it is only the same file when the identities agree.
  const auto a = files.identityOf(from);
  const auto b = files.identityOf(to);
  if (b && !(a && a->device == b->device && a->inode == b->inode)) return false;
  NativePath temporary;
  for (int n = 0; n < 1000; ++n) {
    temporary = from;
    temporary += ".zevro-rename-" + std::to_string(n);
    if (!exists(files, temporary) && !files.renameNoReplace(from, temporary)) break;
    temporary.clear();
  }
  if (temporary.empty()) return false;
  if (!files.renameNoReplace(temporary, to)) return true;
  files.renameNoReplace(temporary, from);
  return false;
}

}  // namespace

Text normaliseEntered(TextView text) {
  Text out;
  out.reserve(text.size());
  bool breaks = false;
  for (char16_t c : text) {
    if (c == Cr || c == Lf) breaks = true;
    out.push_back(c < 32 && c != u'\t' && c != Cr && c != Lf ? u' ' : c);
  }
  if (!breaks) return out;
  Text joined;
  joined.reserve(out.size() + 8);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c == Cr) {
      joined += u"\r\n";
      if (i + 1 < out.size() && out[i + 1] == Lf) ++i;
    } else if (c == Lf) {
      joined += u"\r\n";
    } else {
      joined.push_back(c);
    }
  }
  return joined;
}

bool dateAllowed(TextView text) {
  constexpr TextView allowed = u" 0123456789/:.'+-x×()[]\"";
  return std::all_of(text.begin(), text.end(), [&](char16_t c) { return allowed.find(c) != TextView::npos; });
}

int flagBits(const RowStore& store, int row) {
  const TextView flag = store.fieldView(catalog::FieldFlags, row);
  if (flag.size() != 1 || flag[0] < catalog::FlagBase || flag[0] > catalog::FlagBase + 15) return 0;
  return flag[0] - catalog::FlagBase;
}

Text flagText(int bits) { return Text(1, static_cast<char16_t>(catalog::FlagBase + (bits & 15))); }

CommitResult CommitEdit(const EditPlace& place, TextView typed, RenameMode mode, const MediumAccess* medium) {
  RowStore& cat = *place.catalog;
  const int r = place.catalogRow;
  const int c = place.column;
  if (r < 0 || r >= cat.rowCount() || c < 0 || c > 3) return refuse(true);
  Text text = normaliseEntered(typed);
  const Text old = cat.field(c, r);
  const bool folderLike = cat.kind(r) <= catalog::KindArchiveFolder;
  if (c == 0 && folderLike) return refuse(true);

  if (c == 0 && mode == RenameMode::ListAndMedium) {
    if (text.empty()) return refuse(true);
    if (text != old) {
      if (baseName(text).empty()) return refuse(true);
      const Text mediumName = cat.field(catalog::FieldMediumName, r);
      const Text newExt = extensionOf(text);
      const Text oldExt = extensionOf(mediumName.empty() ? old : mediumName);
      if (!newExt.empty() && !sameIgnoringCase(newExt, oldExt)) return refuse(false, Text(ExtensionChangedMessage));
      if (newExt.empty() && !oldExt.empty()) text += u"." + oldExt;
      if (medium && medium->locate && medium->files) {
        Text path = cat.rowPath(r, 1);
        if (!mediumName.empty()) path = folderWithSeparator(path) + mediumName;
        const std::optional<NativePath> p = medium->locate(path);
        if (p && exists(*medium->files, *p)) {
          const NativePath q = p->parent_path() / cp932::toNativeName(text);
          const bool caseOnly = sameIgnoringCase(cp932::fromNativeName(p->filename().native()), text);
          if (q != *p) {
            if (!caseOnly && exists(*medium->files, q))
              return refuse(false, Text(TargetExistsHead) + text + Text(TargetExistsTail));
            if (!renameKeepingOthers(*medium->files, *p, q, caseOnly) || !exists(*medium->files, q))
              return refuse(false, Text(RenameFailedMessage));
          }
          // The medium carries the new name now.
          cat.setField(catalog::FieldMediumName, r, text);
          if (place.pane) place.pane->setField(catalog::FieldMediumName, place.paneRow, text);
        }
      }
    }
  }

  int flags = flagBits(cat, r);
  if (c == 2 && text != old && !dateAllowed(text)) return refuse(false, Text(DateMessage));
  if (c == 3) return {};

  // The pane row first: its rules may turn an empty name into the medium name.
  if (place.pane && text != old) {
    RowStore& pane = *place.pane;
    const int f = place.paneRow;
    if (c == 0) {
      const NameChange change = nameChange(text, old, pane.field(catalog::FieldMediumName, f), flags);
      if (failed(change)) return refuse(change.beep, change.message);
      text = change.name;
    }
  }
  if (text == cat.fieldView(c, r)) return {};

  if (c == 0) {
    const NameChange change = nameChange(text, old, cat.field(catalog::FieldMediumName, r), flags);
    if (failed(change)) return refuse(change.beep, change.message);
    flags = change.flags;
    for (auto [store, row] : {std::pair{&cat, r}, std::pair{place.pane, place.paneRow}}) {
      if (!store) continue;
      store->setField(0, row, change.name);
      store->setField(catalog::FieldFlags, row, flagText(flags));
      if (change.mediumName) store->setField(catalog::FieldMediumName, row, *change.mediumName);
    }
  } else {
    flags |= c == 1 ? catalog::FlagUserComment : catalog::FlagUserDate;
    for (auto [store, row] : {std::pair{&cat, r}, std::pair{place.pane, place.paneRow}}) {
      if (!store) continue;
      store->setField(c, row, text);
      store->setField(catalog::FieldFlags, row, flagText(flags));
    }
  }
  cat.setModified(true);
  CommitResult done;
  done.stored = true;
  return done;
}

Colour editLineBackground(RenameMode mode, int column, Colour gridBackground) {
  if (gridBackground != EditLineWhite) return EditLineWhite;
  if (mode == RenameMode::ListAndMedium && column == catalog::FieldName) return EditLineMediumBack;
  return EditLineBack;
}

bool editLineTakesInputMethod(int column) { return column != catalog::FieldDate; }

bool EditComment(RowStore& catalog, int row, TextView text, RowStore* pane, std::span<const std::int32_t> paneMap) {
  if (row < 1 || row >= catalog.rowCount()) return false;
  const Text normal = normaliseEntered(text);
  const Text flags = flagText(flagBits(catalog, row) | catalog::FlagUserComment);
  catalog.setField(catalog::FieldComment, row, normal);
  catalog.setField(catalog::FieldFlags, row, flags);
  if (pane) {
    const auto at = std::find(paneMap.begin(), paneMap.end(), row);
    if (at != paneMap.end()) {
      const int f = static_cast<int>(at - paneMap.begin());
      pane->setField(catalog::FieldComment, f, normal);
      pane->setField(catalog::FieldFlags, f, flags);
    }
  }
  catalog.setModified(true);
  return true;
}

Text copyText(const RowStore& store, int column, std::span<const int> displayRows) {
  Text out;
  bool first = true;
  for (int d : displayRows) {
    if (!first) out += u"\r\n";
    first = false;
    const TextView cell = store.shownFieldView(column, d);
    if (cell.find_first_of(u"\"\r\n") == TextView::npos) {
      out += cell;
      continue;
    }
    out.push_back(Quote);
    for (char16_t ch : cell) {
      if (ch == Quote) out.push_back(Quote);
      out.push_back(ch);
    }
    out.push_back(Quote);
  }
  return out;
}

std::vector<Text> splitPaste(TextView text) {
  std::vector<Text> lines;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    Text line;
    if (text[i] == Quote) {
      ++i;
      while (i < n) {
        if (text[i] == Quote) {
          if (i + 1 < n && text[i + 1] == Quote) {
            line.push_back(Quote);
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        line.push_back(text[i++]);
      }
    }
    const std::size_t end = std::min(text.find(u"\r\n", i), n);
    line.append(text.substr(i, end - i));
    lines.push_back(std::move(line));
    i = end + 2;
  }
  return lines;
}

PasteResult pasteLines(RowStore& grid, RowStore* catalogOfPane, std::span<const std::int32_t> paneMap, int column,
                       int firstRow, std::span<const Text> lines) {
  PasteResult result;
  RowStore& cat = catalogOfPane ? *catalogOfPane : grid;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int d = firstRow + static_cast<int>(i);
    const int f = grid.storedRowAt(d);
    if (f < 0) {
      result.beep = true;
      break;
    }
    if (column == 2 && !dateAllowed(lines[i])) {
      result.message = Text(DateMessage);
      break;
    }
    const int r = catalogOfPane ? (f < static_cast<int>(paneMap.size()) ? paneMap[static_cast<std::size_t>(f)] : -1)
                                : f;
    if (r < 0) break;
    const int bit = column == 1 ? catalog::FlagUserComment : column == 2 ? catalog::FlagUserDate : 0;
    const Text flags = flagText(flagBits(cat, r) | bit);
    cat.setField(column, r, lines[i]);
    cat.setField(catalog::FieldFlags, r, flags);
    if (catalogOfPane) {
      grid.setField(column, f, lines[i]);
      grid.setField(catalog::FieldFlags, f, flags);
    }
    ++result.stored;
  }
  if (result.stored > 0) cat.setModified(true);
  return result;
}

int eraseCells(RowStore& grid, RowStore* catalogOfPane, std::span<const std::int32_t> paneMap, int column,
               std::span<const int> displayRows) {
  int erased = 0;
  for (int d : displayRows) {
    const int f = grid.storedRowAt(d);
    if (f < 0 || grid.fieldView(column, f).empty()) continue;
    grid.setField(column, f, u"");
    if (catalogOfPane && f < static_cast<int>(paneMap.size()))
      catalogOfPane->setField(column, paneMap[static_cast<std::size_t>(f)], u"");
    ++erased;
  }
  if (erased > 0) (catalogOfPane ? *catalogOfPane : grid).setModified(true);
  return erased;
}

std::vector<std::uint8_t> paneDeleteMarks(const RowStore& pane, std::span<const int> storedRows, bool& grown) {
  std::vector<std::uint8_t> marks(static_cast<std::size_t>(pane.rowCount()), 0);
  grown = false;
  for (int f : storedRows) {
    if (f < 0 || f >= pane.rowCount()) continue;
    marks[static_cast<std::size_t>(f)] = 1;
  }
  for (int f : storedRows) {
    if (f < 0 || f >= pane.rowCount()) continue;
    for (int g = f + 1; g < pane.rowCount() && pane.level(g) > pane.level(f); ++g) {
      if (!marks[static_cast<std::size_t>(g)]) grown = true;
      marks[static_cast<std::size_t>(g)] = 1;
    }
  }
  return marks;
}

}  // namespace zevro::listedit
