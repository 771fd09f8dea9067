// The main window's export, backup and conversion driven with keys and menu
// actions, as a user would, over a scripted Ui.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <memory>
#include <string>

#include "../MainWindowFixture.h"
#include "ShownMainWindow.h"
#include "core/CatalogBackup.h"
#include "core/ListExport.h"
#include "listview/qt/MainWindow.h"
#include "listview/qt/UpdateForm.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using C = Command;

class MainWindowDataTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  void TearDown() override { test::closeWithoutQuestion(window, logic.get()); }

  MainWindow& showWindow() {
    start();
    window = std::make_unique<MainWindow>(*logic);
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / chosen);
    };
    test::showAndWait(*window);
    return *window;
  }

  void openWithKeys(const std::string& name) {
    chosen = name;
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
  }

  Text pathText(const NativePath& path) const { return cp932::fromNativeName(path.native()); }

  std::string chosen;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowDataTest, CtrlKWritesTheShownRowsAsText) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  showWindow();
  openWithKeys("_00HD_DATA.cct");
  ui.saveFiles.push_back(pathText(temp().path("out.TXT")));
  QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ui.saveRequests[0].title, listexport::DialogTitle);
  EXPECT_EQ(temp().get("out.TXT"), listexport::shownRowsBytes(logic->document().list(), ExportWriter::Form::Text));
}

TEST_F(MainWindowDataTest, TheBackupItemCopiesAndTellsTheCount) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  std::filesystem::create_directories(temp().path("Save"));
  MainWindow& w = showWindow();
  QAction* item = w.action(C::MF_バックアップ);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  ui.folders.push_back(pathText(temp().path("Save")));
  item->trigger();
  QApplication::processEvents();
  // The list file and the option file, which now holds BackupDir.
  EXPECT_EQ(ui.messages().back(), CatalogBackup::doneMessage(2));
  EXPECT_EQ(temp().get("Save/ZEVRO_Backup/Catalog/_00HD_DATA.cct"), temp().get("zevro/Catalog/_00HD_DATA.cct"));
}

TEST_F(MainWindowDataTest, AnOldCatalogIsConvertedWithTheProgressWindowAndShown) {
  Text heap = u"\x01OLDDISC\x02古いディスク\x02\x02" u"9\x01" u"DOCS\x02\x02\x02" u"9";
  heap += char16_t{0};
  char length[24];
  std::snprintf(length, sizeof length, "%06zX", heap.size());
  temp().put("zevro/Catalog/_01HD_OLDDISC.cct", std::string("AX00020002") + length + "0----" + cp932::encode(heap) +
                                                    std::string("\x0D\x0A", 2) + std::string("\x00\x01", 2));
  MainWindow& w = showWindow();
  openWithKeys("_01HD_OLDDISC.cct");
  EXPECT_EQ(w.titleLabel()->text(), QStringLiteral("古いディスク"));
  auto* form = w.findChild<UpdateForm*>(QStringLiteral("UpdateForm"));
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->isVisible());  // gone once the conversion ended
  EXPECT_EQ(form->windowTitle(), QStringLiteral("ZEVRO"));
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("FILDSP"))->text(), QStringLiteral("_01HD_OLDDISC.cct"));
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("しばらく　お待ち下さい"));
  EXPECT_EQ(logic->folderGrid().rowCount(), 2);
}

}  // namespace
}  // namespace zevro
