#include "listview/qt/EditLine.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>

#include "grid/qt/GridWidget.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

QColor toColour(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// The box keeps "\n" inside; the list keeps CR LF.
QString forBox(TextView text) {
  QString s = toQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(u'\r', u'\n');
  return s;
}

}  // namespace

EditLine::EditLine(GridWidget& grid, TextView name) : QPlainTextEdit(grid.viewport()), grid_(grid) {
  setObjectName(toQString(name));
  setFrameStyle(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  document()->setDocumentMargin(0);
  setContentsMargins(0, 0, 0, 0);
  hide();
}

void EditLine::open(TextView text, const QRect& cell, Colour background, Colour rule, const QFont& font,
                    bool inputMethod) {
  rule_ = toColour(rule);
  QPalette p = palette();
  p.setColor(QPalette::Base, toColour(background));
  p.setColor(QPalette::Window, toColour(background));
  p.setColor(QPalette::Text, Qt::black);
  setPalette(p);
  setFont(font);
  setAttribute(Qt::WA_InputMethodEnabled, inputMethod);
  setInputMethodHints(inputMethod ? Qt::ImhNone
                                  : Qt::ImhPreferNumbers | Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
  // A box that keeps the focus from one cell to the next tells the input
  // method of the change itself.
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
  setPlainText(forBox(text));
  QTextCursor caret = textCursor();
  caret.movePosition(QTextCursor::Start);
  setTextCursor(caret);
  place(cell);
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
}

void EditLine::place(const QRect& cell) { setGeometry(cell); }

void EditLine::close() {
  hide();
  clear();
}

Text EditLine::text() const {
  QString s = toPlainText();
  s.replace(u'\n', QStringLiteral("\r\n"));
  return fromQString(s);
}

void EditLine::insertBreak() {
  textCursor().insertText(QStringLiteral("\n"));
  ensureCursorVisible();
}

void EditLine::keyPressEvent(QKeyEvent* event) {
  if (keyHook_ && keyHook_(event)) return;
  QPlainTextEdit::keyPressEvent(event);
}

void EditLine::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  // The cell's right boundary, in the grid's rule colour, down the box.
  QPainter painter(viewport());
  painter.setPen(rule_);
  const int x = viewport()->width() - 1;
  painter.drawLine(x, 0, x, viewport()->height() - 1);
}

}  // namespace zevro
