#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "print/RecordingPrevPrint.h"
#include "print/qt/CancelForm.h"
#include "print/qt/PrevForm.h"
#include "print/qt/PrintDialogue.h"

namespace zevro {
namespace {

using namespace catalog;
using C = PrevControl;

const TextView ElevenKeys[] = {opt::RomanFont, opt::BoldFont, opt::SizeIndex, opt::GapIndex, opt::PrnTree,
                               opt::PrnComment, opt::SwapDate, opt::PrnVline, opt::PrnHline, opt::PrnFrame,
                               opt::PrnWrap};

// A catalog of `files` files in one folder, every row shown.
void fillCatalog(RowStore& store, int files) {
  store.clear();
  makeCatalogList(store);
  ASSERT_TRUE(store.appendShown(buildRecord({u"DISC", u"テスト"}), 1, 0, KindTitleCD, 0));
  ASSERT_TRUE(store.appendShown(buildRecord({u"DOCS", u"文書", u"24/01/31 12:00", u"5,000"}), 2, 0, KindFolder, 1));
  for (int i = 0; i < files; ++i) {
    const Text name = u"ファイル" + ascii(std::to_string(i)) + u".TXT";
    ASSERT_TRUE(store.appendShown(buildRecord({name, u"コメント", u"24/01/30 09:15", u"1,234"}), 0, 0, KindFile, 2));
  }
  ASSERT_TRUE(store.deriveIndexAndTreeFlags());
}

struct Printing {
  Printing() : options(files, QDir(dir.path()).filePath("ZEVRO32.Opt").toStdString()), dialogue(options, ui, nullptr) {
    dialogue.form().printer().setOutputFormat(QPrinter::PdfFormat);
    dialogue.form().choosePdfFile = [this] { return QDir(dir.path()).filePath("out.pdf"); };
    const std::function<void()> refresh = dialogue.form().refreshPreview;
    dialogue.form().refreshPreview = [this, refresh] {
      ++redraws;
      refresh();
    };
  }

  // Runs act once the print window waits, then prints the list. A window
  // that act leaves open fails the test and is closed, so nothing hangs.
  bool printList(const RowStore& rows, const std::function<void(PrevForm&)>& act) {
    auto* timer = new QTimer;
    int tries = 0;
    QObject::connect(timer, &QTimer::timeout, [this, act, timer, &tries] {
      PrevForm& form = dialogue.form();
      if (!form.isVisible()) {
        if (++tries < 200) return;
        ADD_FAILURE() << "the print window is not shown";
        timer->stop();
        return;
      }
      timer->stop();
      act(form);
      if (form.isVisible()) {
        ADD_FAILURE() << "the print window is still open";
        form.hide();
      }
    });
    timer->start(10);
    const bool printed = dialogue.PrintList({&rows, nullptr, u"CD: テスト", u"", 1, {}, 6});
    delete timer;
    return printed;
  }

  QPushButton* button(C c) { return static_cast<QPushButton*>(dialogue.form().control(c)); }

  QTemporaryDir dir;
  LinuxFileSystem files;
  FakeUi ui;
  OptionStore options;
  PrintDialogue dialogue;
  int redraws = 0;
};

TEST(PrintWindow, ControlsCarryTheirCaptionsAndTooltips) {
  Printing p;
  PrevForm& form = p.dialogue.form();
  EXPECT_EQ(form.windowTitle(), QString::fromUtf16(u"ZEVRO 印刷"));
  for (const PrevControlText& t : PrevFormLogic::controls()) {
    QWidget* w = form.control(t.control);
    ASSERT_NE(w, nullptr) << toUtf8(t.name);
    EXPECT_EQ(w->toolTip(), QString::fromUtf16(t.tooltip.data(), static_cast<qsizetype>(t.tooltip.size())))
        << toUtf8(t.name);
  }
  EXPECT_EQ(static_cast<QCheckBox*>(form.control(C::折返SEL))->text(), QString::fromUtf16(u"長い行は折り返す"));
  EXPECT_EQ(static_cast<QComboBox*>(form.control(C::SIZLST))->count(), 5);
}

TEST(PrintWindow, CancelWritesNothingAndStartWritesTheElevenKeys) {
  RowStore rows;
  fillCatalog(rows, 10);
  Printing p;
  EXPECT_FALSE(p.printList(rows, [&](PrevForm& form) {
    EXPECT_FALSE(form.previewImage().isNull());
    static_cast<QComboBox*>(form.control(C::行間LST))->setCurrentIndex(3);
    p.button(C::CANBTN)->click();
  }));
  EXPECT_FALSE(p.options.hasPending());
  EXPECT_FALSE(QFile::exists(QDir(p.dir.path()).filePath("out.pdf")));
  // The change is kept in the window and written when printing starts.
  EXPECT_TRUE(p.printList(rows, [&](PrevForm& form) {
    EXPECT_EQ(static_cast<QComboBox*>(form.control(C::行間LST))->currentIndex(), 3);
    p.button(C::PRNBTN)->click();
  }));
  EXPECT_TRUE(p.options.hasPending());
  for (TextView key : ElevenKeys) EXPECT_FALSE(p.options.readText(key, u"").empty()) << toUtf8(key);
  EXPECT_EQ(p.options.readNumber(opt::GapIndex, 0), 3);
  EXPECT_TRUE(QFile::exists(QDir(p.dir.path()).filePath("out.pdf")));
  EXPECT_FALSE(QFile::exists(QDir(p.dir.path()).filePath("out.pdf.part")));
  EXPECT_EQ(p.dialogue.form().device().pagesPrinted(), p.dialogue.outcome().shown);
}

TEST(PrintWindow, EachSettingRedrawsThePreview) {
  RowStore rows;
  fillCatalog(rows, 10);
  Printing p;
  p.printList(rows, [&](PrevForm& form) {
    const int before = p.redraws;
    static_cast<QCheckBox*>(form.control(C::縦罫SEL))->click();
    static_cast<QComboBox*>(form.control(C::SIZLST))->setCurrentIndex(4);
    EXPECT_EQ(p.redraws, before + 2);
    EXPECT_TRUE(form.logic().changed());
    p.button(C::CANBTN)->click();
  });
}

TEST(PrintWindow, TheStartPageRedrawsTheEndPageDoesNot) {
  RowStore rows;
  fillCatalog(rows, 200);
  Printing p;
  p.printList(rows, [&](PrevForm& form) {
    QApplication::setActiveWindow(&form);
    auto* top = static_cast<QLineEdit*>(form.control(C::TOPLIN));
    auto* end = static_cast<QLineEdit*>(form.control(C::ENDLIN));
    static_cast<QAbstractButton*>(form.control(C::頁範囲OPT1))->click();
    const int before = p.redraws;
    end->setFocus();
    end->setText(QStringLiteral("3"));
    top->setFocus();  // leaves ENDLIN
    EXPECT_EQ(p.redraws, before);
    top->setText(QStringLiteral("2"));
    end->setFocus();  // leaves TOPLIN
    EXPECT_EQ(p.redraws, before + 1);
    EXPECT_EQ(form.settings().rangeStart, 2);
    EXPECT_EQ(p.ui.count(FakeUi::Kind::Beep), 0);
    // A start of 0 is refused with a beep.
    top->setFocus();
    top->setText(QStringLiteral("0"));
    end->setFocus();
    EXPECT_EQ(p.ui.count(FakeUi::Kind::Beep), 1);
    p.button(C::CANBTN)->click();
  });
}

TEST(PrintWindow, ItemsFollowTheDisplayMode) {
  Printing p;
  PrevForm& form = p.dialogue.form();
  auto item = [&](C c) { return static_cast<QAbstractButton*>(form.control(c)); };
  form.enableForList(1);
  EXPECT_TRUE(item(C::項目OPT0)->isEnabled() && item(C::項目OPT0)->isChecked());
  EXPECT_FALSE(item(C::項目OPT1)->isEnabled() || item(C::項目OPT2)->isEnabled());
  form.enableForList(0);
  EXPECT_TRUE(item(C::項目OPT1)->isChecked());
  EXPECT_FALSE(item(C::項目OPT0)->isEnabled() || item(C::項目OPT2)->isEnabled());
  form.enableForList(2);
  EXPECT_TRUE(item(C::項目OPT1)->isChecked());  // stays chosen
  EXPECT_TRUE(item(C::項目OPT2)->isEnabled());
  form.enableForSearch();
  EXPECT_FALSE(form.control(C::FRM印字範囲)->isEnabled());
  EXPECT_FALSE(form.control(C::ツリー印字SEL)->isEnabled());
  EXPECT_TRUE(item(C::項目OPT1)->isChecked());  // values kept
}

TEST(CancelWindow, StopDuringAFivePagePrintEndsAfterTheCurrentPage) {
  RowStore rows;
  fillCatalog(rows, 5 * 54 - 20);
  RecordingPrevPrint device;
  device.setPreview(false);
  FakeUi ui;
  CancelForm cancel;
  GridPrint print(device, ui);
  int pumps = 0;
  print.hooks().clearCancel = [&] { cancel.clearRequest(); };
  print.hooks().cancelRequested = [&] { return cancel.requested(); };
  print.hooks().cancelShown = [&](bool on) { cancel.setVisible(on); };
  print.hooks().pump = [&] {
    QApplication::processEvents();
    // The user presses "中止" while the second page is drawn.
    if (++pumps == 3) cancel.stopButton()->click();
  };
  RowStorePrintSource source(rows, {}, 6);
  const GridPrint::Outcome o = print.DrawListPages(source, PrintSettings{}, u"CD: テスト", u"", 9000);
  EXPECT_TRUE(o.cancelled);
  EXPECT_EQ(o.shown, 2);
  EXPECT_EQ(device.endedJobs(), 1);
  EXPECT_FALSE(cancel.isVisible());
  EXPECT_EQ(cancel.stopButton()->text(), QString::fromUtf16(u"中止"));
}

}  // namespace
}  // namespace zevro
