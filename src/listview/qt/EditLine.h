#pragma once
// The text box that edits one cell in place, laid over the cell of a grid
// (EDTLINL over the folder grid, EDTLINF over the file grid). It may hold
// several lines; it draws the grid's vertical rule at its right edge so the
// cell keeps its boundary while it is covered. The window decides what a
// key does (MainWindowLogic::editLineKey); this box only shows text.
//
//   EditLine* line = new EditLine(grid, u"EDTLINL");
//   line->setKeyHook([](QKeyEvent* e) { return false; });   // true consumes
//   line->open(u"はじめに\r\n二行目", cell, rgb(255, 255, 192), rule, font, true);
//   line->text()   u"はじめに\r\n二行目"
#include <QPlainTextEdit>

#include <functional>

#include "grid/GridSettings.h"
#include "text/Text.h"

namespace zevro {

class GridWidget;

class EditLine : public QPlainTextEdit {
public:
  EditLine(GridWidget& grid, TextView name);

  // Shows the box over `cell` (viewport coordinates of the grid, the rule
  // column included) with the text, the caret at its start, nothing
  // selected, and gives it the focus.
  void open(TextView text, const QRect& cell, Colour background, Colour rule, const QFont& font, bool inputMethod);
  // Moves the box (the grid scrolled); the text stays.
  void place(const QRect& cell);
  // Hides the box and drops its text.
  void close();
  // The text with CR LF line breaks.
  Text text() const;
  void insertBreak();

  void setKeyHook(std::function<bool(QKeyEvent*)> hook) { keyHook_ = std::move(hook); }

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  GridWidget& grid_;
  QColor rule_;
  std::function<bool(QKeyEvent*)> keyHook_;
};

}  // namespace zevro
