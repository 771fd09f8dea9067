// The main window's in-place editing, clipboard and row commands.
#include <algorithm>

#include "core/CatalogList.h"
#include "grid/GridKeys.h"
#include "listview/ListEdit.h"
#include "listview/MainWindowLogic.h"

namespace zevro {

namespace le = listedit;

std::vector<int> MainWindowLogic::selectedOrCursor(GridModel& g) {
  RowStore& s = g.store();
  if (s.selectedCount() == 0 && g.cursorRow() >= 0 && g.cursorRow() < g.rowCount())
    g.Grid_SelectRow(g.cursorRow(), true);
  std::vector<int> rows;
  for (int d = 0; d < s.shownCount(); ++d)
    if (s.selected(d)) rows.push_back(d);
  return rows;
}

bool MainWindowLogic::OpenEditLine(Pane pane) {
  if (!hasList()) return false;
  if (pane == Pane::File && !paneOpen()) return false;
  GridModel& g = grid(pane);
  const int d = g.cursorRow();
  const int c = g.cursorColumn();
  if (d < 0 || d >= g.rowCount() || c == 3) return false;
  RowStore& s = g.store();
  const int stored = s.storedRowAt(d);
  if (c == 0 && s.kind(stored) <= catalog::KindArchiveFolder) return false;
  if (s.selectedCount() > 1 || (s.selectedCount() == 1 && !s.selected(d))) {
    ui().beep();
    return false;
  }
  if (s.selectedCount() == 1) g.Grid_SelectRow(d, false);
  editPane_ = pane;
  return true;
}

Text MainWindowLogic::editLineStartText() const {
  if (!editPane_) return {};
  const GridModel& g = *editPane_ == Pane::Folder ? folderGrid_ : fileGrid_;
  Text text = g.store().shownField(g.cursorColumn(), g.cursorRow());
  for (std::size_t at; (at = text.find(u"\n\n")) != Text::npos;) text.erase(at, 1);
  return text;
}

bool MainWindowLogic::CommitEdit(TextView text, EditReason reason) {
  if (!editPane_) return true;
  const Pane pane = *editPane_;
  if (reason == EditReason::Cancel) {
    editPane_.reset();
    return true;
  }
  GridModel& g = grid(pane);
  le::EditPlace place;
  place.catalog = &document_->list();
  place.column = g.cursorColumn();
  if (pane == Pane::Folder) {
    place.catalogRow = g.store().storedRowAt(g.cursorRow());
  } else {
    place.pane = &files_;
    place.paneRow = files_.storedRowAt(g.cursorRow());
    place.catalogRow = tree_.paneSourceRow(place.paneRow);
  }
  le::MediumAccess medium;
  if (services_.locator) {
    const ShownCatalog shown = shownCatalog();
    medium.files = &services_.platform.files;
    medium.locate = [this, shown](TextView path) -> std::optional<NativePath> {
      NativePath p = services_.locator->LocateOnMedium(shown, path, false, true);
      if (p.empty()) return std::nullopt;
      return p;
    };
  }
  const le::CommitResult r = le::CommitEdit(place, text, renameMode_, services_.locator ? &medium : nullptr);
  if (!r.ok) {
    if (r.beep) ui().beep();
    if (!r.message.empty()) ui().showMessage(r.message, mb::Ok, u"");
    return false;
  }
  if (g.cursorColumn() == catalog::FieldComment) commentToWindow(pane);
  if (reason == EditReason::Finish) editPane_.reset();
  return true;
}

bool MainWindowLogic::moveEditLine(bool down, MainWindowEffects& effects) {
  if (!editPane_) return false;
  const Pane pane = *editPane_;
  GridModel& g = grid(pane);
  const int next = g.cursorRow() + (down ? 1 : -1);
  editPane_.reset();
  if (next < 0 || next >= g.rowCount()) return false;
  const GridUpdate u = g.Grid_MoveCursor(next);
  (pane == Pane::Folder ? effects.grids.folder : effects.grids.files).merge(u);
  if (pane == Pane::Folder && paneOpen()) effects.grids.merge(tree_.FillFilePane(true));
  effects.labels = true;
  rowConsole(pane);
  if (renameMode_ == le::RenameMode::ListAndMedium && g.store().kind(g.store().storedRowAt(next)) <= catalog::KindArchiveFolder)
    return false;
  return OpenEditLine(pane);
}

MainWindowLogic::EditKeyAnswer MainWindowLogic::commitAndMove(bool down, TextView text) {
  EditKeyAnswer a;
  a.what = EditLineKey::Consumed;
  if (!CommitEdit(text, EditReason::Next)) return a;  // the message said why; the line stays
  const Pane pane = editLinePane();
  a.effects = RefreshGrid(RefreshFolderGrid | RefreshFileGrid);
  // A rename shows in the console line's path at once.
  rowConsole(pane);
  a.effects.labels = true;
  if (moveEditLine(down, a.effects)) {
    a.what = EditLineKey::Reopened;
    a.effects.editLine = true;
    return a;
  }
  a.what = EditLineKey::Closed;
  a.effects.grids.focus = pane == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid;
  return a;
}

MainWindowLogic::EditKeyAnswer MainWindowLogic::editLineKey(int keyCode, int shift, TextView text) {
  EditKeyAnswer a;
  if (!editPane_) return a;
  const Pane pane = *editPane_;
  const GridModel& g = grid(pane);
  const bool ctrl = (shift & gridkey::CtrlMask) != 0;
  const bool withShift = (shift & gridkey::ShiftMask) != 0;
  const TreeFocus focus = pane == Pane::Folder ? TreeFocus::FolderGrid : TreeFocus::FileGrid;
  switch (keyCode) {
    case gridkey::Enter:
      if (withShift || ctrl) {
        a.what = EditLineKey::Break;
        return a;
      }
      return commitAndMove(true, text);
    case gridkey::Escape:
      CommitEdit(text, EditReason::Cancel);
      a.what = EditLineKey::Closed;
      a.effects.grids.focus = focus;
      return a;
    case gridkey::Up:
    case gridkey::Down: {
      if (!ctrl) return a;  // the caret moves within the text
      const bool down = keyCode == gridkey::Down;
      if (down ? g.cursorRow() >= g.rowCount() - 1 : g.cursorRow() <= 0) {
        a.what = EditLineKey::Consumed;
        return a;
      }
      return commitAndMove(down, text);
    }
    case gridkey::PageUp:
    case gridkey::PageDown:
      if (ctrl) {
        a.what = EditLineKey::Consumed;
        return a;
      }
      // Paging leaves the cell: what was typed is dropped.
      CommitEdit(text, EditReason::Cancel);
      a.what = EditLineKey::ClosedGridKey;
      a.effects.grids.focus = focus;
      return a;
    default: return a;
  }
}

Colour MainWindowLogic::editLineBackground() const {
  const Pane pane = editLinePane();
  const GridModel& g = pane == Pane::Folder ? folderGrid_ : fileGrid_;
  return le::editLineBackground(renameMode_, g.cursorColumn(), g.settings().backColour);
}

bool MainWindowLogic::editLineTakesInputMethod() const {
  const GridModel& g = editLinePane() == Pane::Folder ? folderGrid_ : fileGrid_;
  return le::editLineTakesInputMethod(g.cursorColumn());
}

MainWindowEffects MainWindowLogic::FinishEdit() {
  MainWindowEffects e;
  if (!editPane_) return e;
  const Text text = hooks_.editLineText ? hooks_.editLineText() : Text();
  CommitEdit(text, EditReason::Finish);
  editPane_.reset();
  if (hooks_.hideEditLine) hooks_.hideEditLine();
  return RefreshGrid(RefreshFolderGrid | RefreshFileGrid);
}

MainWindowEffects MainWindowLogic::EditComment(int catalogRow, TextView text) {
  if (!le::EditComment(document_->list(), catalogRow, text, paneOpen() ? &files_ : nullptr, tree_.filePane().map()))
    return {};
  MainWindowEffects e = RefreshGrid(RefreshFolderGrid | RefreshFileGrid);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::copyColumn(int column) {
  MainWindowEffects e = FinishEdit();
  if (hooks_.pump) hooks_.pump();
  GridModel& g = activeGrid();
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) {
    ui().beep();
    return e;
  }
  const std::vector<int> rows = selectedOrCursor(g);
  ui().setClipboardText(le::copyText(g.store(), column, rows));
  return e.merge(RefreshGrid(&g == &folderGrid_ ? RefreshFolderGrid : RefreshFileGrid));
}

MainWindowEffects MainWindowLogic::copyFullPath() {
  MainWindowEffects e = FinishEdit();
  GridModel& g = activeGrid();
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) {
    ui().beep();
    return e;
  }
  const int stored = g.store().storedRowAt(g.cursorRow());
  Text path;
  if (&g == &folderGrid_) {
    path = g.store().rowPath(stored, 1);
  } else {
    const Text folder = tree_.filePane().folderPath().value_or(Text());
    const Text inner = g.store().rowPath(stored, 0);
    path = folder.empty() ? inner : folder + u"\\" + inner;
  }
  ui().setClipboardText(path);
  return e;
}

MainWindowEffects MainWindowLogic::pasteColumn() {
  GridModel& g = activeGrid();
  const int c = g.cursorColumn();
  if (c == 0 || c == 3 || g.store().selectedCount() > 1) {
    ui().beep();
    return {};
  }
  MainWindowEffects e = FinishEdit();
  const Text text = le::normaliseEntered(ui().clipboardText());
  if (text.empty()) {
    ui().beep();
    return e;
  }
  const std::vector<Text> lines = le::splitPaste(text);
  const bool pane = &g == &fileGrid_;
  const le::PasteResult r = le::pasteLines(g.store(), pane ? &document_->list() : nullptr,
                                           tree_.filePane().map(), c, g.cursorRow(), lines);
  if (r.beep) ui().beep();
  if (!r.message.empty()) ui().showMessage(r.message, mb::Ok, u"");
  e.merge(RefreshGrid(RefreshFolderGrid | RefreshFileGrid));
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::eraseColumn() {
  MainWindowEffects e = FinishEdit();
  GridModel& g = activeGrid();
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount() || g.cursorColumn() == 0) {
    ui().beep();
    return e;
  }
  if (hooks_.busyPointer) hooks_.busyPointer(true);
  const std::vector<int> rows = selectedOrCursor(g);
  const bool pane = &g == &fileGrid_;
  le::eraseCells(g.store(), pane ? &document_->list() : nullptr, tree_.filePane().map(), g.cursorColumn(), rows);
  if (hooks_.busyPointer) hooks_.busyPointer(false);
  e.merge(RefreshGrid(RefreshFolderGrid | RefreshFileGrid));
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::eraseCursorComment() {
  MainWindowEffects e = FinishEdit();
  GridModel& g = activeGrid();
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) {
    ui().beep();
    return e;
  }
  const int rows[] = {g.cursorRow()};
  const bool pane = &g == &fileGrid_;
  le::eraseCells(g.store(), pane ? &document_->list() : nullptr, tree_.filePane().map(), catalog::FieldComment, rows);
  document_->list().setModified(true);
  e.merge(RefreshGrid(RefreshFolderGrid | RefreshFileGrid));
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::cutColumn() {
  GridModel& g = activeGrid();
  if (g.cursorColumn() == 0) {
    ui().beep();
    return {};
  }
  MainWindowEffects e = copyColumn(g.cursorColumn());
  return e.merge(eraseColumn());
}

MainWindowEffects MainWindowLogic::deleteSelectedRows() {
  MainWindowEffects e = FinishEdit();
  if (!hasList()) return e;
  return e.merge(active_ == Pane::File && paneOpen() ? deleteFileRows() : deleteFolderRows());
}

MainWindowEffects MainWindowLogic::deleteFolderRows() {
  GridModel& g = folderGrid_;
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) return {};
  MainWindowEffects e;
  selectedOrCursor(g);
  if (g.store().selected(0)) {
    ui().showMessage(le::TitleLineMessage, mb::Ok, u"");
    e.grids.folder.full = true;
    return e;
  }
  if (options_.queryDelete) {
    const TextView question = g.Grid_DeleteSelectedIncomplete() ? le::DeleteSubtreeQuestion : le::DeleteQuestion;
    if (ui().showMessage(question, mb::OkCancel | mb::IconQuestion, u"") != AnswerOk) return e;
  }
  if (hooks_.busyPointer) hooks_.busyPointer(true);
  e.grids.folder.merge(g.Grid_DeleteSelected());
  // The search within the list remembers rows by number.
  listSearch_.reset();
  tree_.forgetPaneFolder();
  if (paneOpen()) e.grids.merge(tree_.FillFilePane(true));
  document_->list().setModified(true);
  if (hooks_.busyPointer) hooks_.busyPointer(false);
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::deleteFileRows() {
  GridModel& g = fileGrid_;
  if (g.cursorRow() < 0 || g.cursorRow() >= g.rowCount()) return {};
  MainWindowEffects e;
  std::vector<int> stored;
  for (int d : selectedOrCursor(g)) stored.push_back(files_.storedRowAt(d));
  // An archive's members go with it wherever a sort put them.
  bool grown = false;
  const std::vector<std::uint8_t> paneMarks = le::paneDeleteMarks(files_, stored, grown);
  if (options_.queryDelete) {
    const TextView question = grown ? le::DeleteFilesWithMembersQuestion : le::DeleteFilesQuestion;
    if (ui().showMessage(question, mb::OkCancel | mb::IconQuestion, u"") != AnswerOk) return e;
  }
  if (hooks_.busyPointer) hooks_.busyPointer(true);
  RowStore& cat = document_->list();
  std::vector<std::uint8_t> marks(static_cast<std::size_t>(cat.rowCount()), 0);
  bool any = false;
  for (std::size_t f = 0; f < paneMarks.size(); ++f) {
    if (!paneMarks[f]) continue;
    const int r = tree_.paneSourceRow(static_cast<int>(f));
    if (r > 0) {
      marks[static_cast<std::size_t>(r)] = 1;
      any = true;
    }
  }
  if (any) {
    e.grids.folder.merge(folderGrid_.Grid_DeleteMarkedRows(marks));
    listSearch_.reset();
    cat.setModified(true);
    // The pane's map points at the catalog rows as they were: fill it again
    // from the catalog as it is now.
    tree_.forgetPaneFolder();
    e.grids.merge(tree_.FillFilePane(true));
  }
  if (hooks_.busyPointer) hooks_.busyPointer(false);
  e.grids.folder.full = true;
  e.grids.files.full = true;
  e.labels = true;
  return e;
}

MainWindowEffects MainWindowLogic::selectFolderFiles() {
  MainWindowEffects e = FinishEdit();
  GridModel& f = folderGrid_;
  if (f.store().selectedCount() > 1) {
    ui().beep();
    return e;
  }
  if (paneOpen()) {
    for (int d = 0; d < fileGrid_.rowCount(); ++d) e.grids.files.merge(fileGrid_.Grid_SelectRow(d, true));
    return e;
  }
  int d = f.cursorRow();
  for (int i = 0; i < f.rowCount(); ++i)
    if (f.store().selected(i)) d = i;
  const int stored = f.store().storedRowAt(d);
  if (stored < 0 || f.store().kind(stored) != catalog::KindFolder) {
    ui().beep();
    return e;
  }
  e.grids.folder.merge(f.Grid_SelectRow(d, false));
  const int level = f.store().level(stored + 1);
  for (int i = d + 1; i < f.rowCount(); ++i) {
    const int s = f.store().storedRowAt(i);
    if (f.store().level(s) != level || f.store().kind(s) == catalog::KindFolder) break;
    e.grids.folder.merge(f.Grid_SelectRow(i, true));
  }
  return e;
}

}  // namespace zevro
