// MF_リスト更新: the shown catalog read again from its medium, with what the
// user changed in it carried over (see media/ListRefresh.h).
#include "core/CatalogList.h"
#include "listview/MainWindowLogic.h"
#include "media/ListRefresh.h"
#include "text/Cp932.h"

namespace zevro {

MainWindowEffects MainWindowLogic::refreshList() {
  MainWindowEffects e;
  if (!hooks_.refreshMedium || !services_.locator || !hasList()) return e;
  busy_ = true;
  titleHidden_ = true;
  e.labels = true;
  e.grids.files.merge(fileGrid_.Grid_Clear());
  e.grids.files.full = true;
  tree_.forgetPaneFolder();

  // Whatever happens, the window comes back with its title and the list it
  // showed (a refresh that finds nothing changes nothing).
  const auto endWithList = [&](MainWindowEffects done) {
    busy_ = false;
    titleHidden_ = false;
    done.labels = true;
    console_ = consoleOfList();
    done.grids.focus = active_ == Pane::File ? TreeFocus::FileGrid : TreeFocus::FolderGrid;
    return done;
  };

  RowStore& list = document_->list();
  services_.locator->userAction = true;  // the user may be asked to insert the medium
  const ListRefresh::Source source =
      ListRefresh::sourceOf(*services_.locator, services_.platform.files, services_.catalogFolder, shownCatalog());
  services_.locator->userAction = false;
  if (source.outcome != ListRefresh::Source::Outcome::Found) {
    if (source.outcome == ListRefresh::Source::Outcome::SameAsSource) services_.platform.ui.beep();
    return endWithList(e.merge(showCatalog(true)));
  }

  RowStore fresh;
  fresh.setErrorHandler(
      [this](TextView message) { services_.platform.ui.showMessage(message, mb::Ok | mb::IconExclamation, u""); });
  const std::optional<MediaReading::Result> reading =
      hooks_.refreshMedium(fresh, source.path, document_->currentFileName(), list.fieldView(catalog::FieldName, 0));
  if (!reading || !reading->ok() || fresh.rowCount() == 0) {
    const Text report = reading ? MediaReading::reportOf(*reading) : Text();
    if (!report.empty()) services_.platform.ui.showMessage(report, mb::Ok | mb::IconExclamation, u"");
    return endWithList(e.merge(showCatalog(true)));
  }
  if (source.keepEntry) ListRefresh::keepEntries(fresh, source.keepEntry);
  if (fresh.rowCount() == 0 || ListRefresh::mergeUserEdits(list, fresh) < 0)
    return endWithList(e.merge(showCatalog(true)));  // out of memory (the store said so): the list stays

  // The fresh rows become the shown list, in the order the reading window's
  // boxes recorded them.
  if (!list.loadBlocks(fresh.heap(), fresh.levelBlock(), fresh.treeFlagBlock(), fresh.kindBlock(),
                       fresh.colourBlock())) {
    // The shown rows are gone with the failed copy: the catalog as saved comes back.
    document_->setModified(false);
    return endWithList(e.merge(loadCatalog(document_->currentFileName())));
  }
  list.setSortOrder(fresh.sortOrder());
  list.deriveIndexAndTreeFlags();
  tree_.prepareMarks();
  if (reading->freeSpace > 0) document_->setFreeSpace(reading->freeSpace);
  chosenLevel_ = 0;
  e.merge(showCatalog(false));
  if (list.rowCount() > 0) document_->setModified(true);
  if (!MediaReading::reportOf(*reading).empty())
    services_.platform.ui.showMessage(MediaReading::reportOf(*reading), mb::Ok | mb::IconExclamation, u"");
  return endWithList(e);
}

}  // namespace zevro
