#pragma once
// The icon dialog's working copy of the icon map and the extension type
// table: what a paste or an added extension changes, and what the dialog's
// end leaves to be written. The pictures themselves are the window's; this
// class says which icon of the strip a paste goes to and how many icons the
// strip holds.
//
//   IconEdit edit(program.icons(), 46);
//   edit.pasteTarget(109)      MP3 shares icon 26 with MP1 -> 47 (appended)
//   edit.paste(109)            map[109] = 47, strip of 47 icons, changed
//   edit.add(u" 7z ")          -> {Added, 195, u"7Z"}, map[195] = 6
//   edit.finish(true)          -> write the picture and IconList.CCZ
#include <optional>
#include <vector>

#include "core/IconTable.h"
#include "text/Text.h"

namespace zevro {

class IconEdit {
public:
  // The extension an added one may have at most, and the codes and icons a
  // byte can hold.
  static constexpr std::size_t MaxExtension = 5;
  static constexpr int LastCode = IconTable::MapSize - 1;

  IconEdit(const IconTable& inUse, int stripIcons);

  const IconTable::IconMap& map() const { return map_; }
  const Text& types() const { return types_; }
  int stripIcons() const { return stripIcons_; }
  bool changed() const { return changed_; }

  // The entries of the working table in order, for the list of the dialog:
  // {u"3GP", 10}, {u"AA3", 11}, … {u"HTM", 73}, {u"HTML", 73}, …
  struct Entry {
    Text extension;
    int code;
  };
  std::vector<Entry> entries() const;
  // The icon the working map gives a kind code (0: none).
  int iconOf(int code) const;

  // The icon a paste for `code` draws into: its own icon when no other code
  // shares it (and it has one), else a new one after the strip. Nothing when
  // that would be past icon 255: icon numbers are bytes.
  std::optional<int> pasteTarget(int code) const;
  // Points `code` at the target (the strip grows to hold it); the caller
  // draws the picture there. Nothing (and no change) when there is none.
  std::optional<int> paste(int code);

  // An answer of the "new extension" question: trimmed, upper-cased, then
  // added when it is 1 to 5 letters A-Z or digits, not in the table yet, and
  // a kind code is left (the last entry's + 1, at most 255).
  enum class AddStatus { Added, Empty, TooLong, NotAlphanumeric, Listed, NoCodeLeft };
  struct AddResult {
    AddStatus status;
    int code = 0;      // the new kind code when added
    Text extension;    // u"7Z"
  };
  AddResult add(TextView answer);
  // The kind code of the table's last entry (9 for an empty table, so the
  // first added type gets 10).
  int lastCode() const;

  // Cancel and the close box forget the changes.
  void forget() { changed_ = false; }

  // What the end of the dialog leaves to be done. After OK with a change the
  // picture is saved and IconList.CCZ written (even when only a picture was
  // repainted: the picture alone would not be loaded at the next start);
  // otherwise the strip keeps the icons it had before the dialog.
  struct Outcome {
    bool savePicture = false;
    bool saveTable = false;
    int stripIcons = 0;  // the icons the strip keeps
  };
  Outcome finish(bool ok) const;
  // After OK with a change: the working map and table become the ones in use.
  void commitTo(IconTable& inUse) const;

private:
  IconTable::IconMap map_;
  Text types_;
  int stripIcons_;
  int originalIcons_;
  bool changed_ = false;
};

}  // namespace zevro
