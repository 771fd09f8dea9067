#pragma once
// What the main-window tests share: the window shown at one size and waited
// for, and closed at the end of a test without the question about unsaved
// changes.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "listview/MainWindowLogic.h"
#include "listview/qt/MainWindow.h"

namespace zevro::test {

// Shows `window` at 900 × 640 and waits until it is exposed and, with
// `activate`, the active window.
inline void showAndWait(QWidget& window, bool activate = true) {
  window.resize(900, 640);
  window.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  if (!activate) return;
  window.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Closes and drops a test's window; its list counts as saved, so nothing is
// asked.
inline void closeWithoutQuestion(std::unique_ptr<MainWindow>& window, MainWindowLogic* logic) {
  if (window) {
    if (logic) logic->document().setModified(false);
    window->close();
  }
  window.reset();
}

}  // namespace zevro::test
