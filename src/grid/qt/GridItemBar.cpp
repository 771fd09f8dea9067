#include "grid/qt/GridItemBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "grid/GridKeys.h"
#include "grid/qt/GridWidget.h"
#include "platform/qt/QtText.h"

namespace zevro {

GridItemBar::GridItemBar(GridWidget& grid) : QWidget(&grid), grid_(grid) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GridItemBar::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  grid_.painter().paintItemBar(p, width(), height());
  grid_.painter().paintGuide(p, height());
}

void GridItemBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = static_cast<int>(event->position().x());
  GridModel& model = grid_.model();
  const GridUpdate u = model.Grid_ItemBarMouseDown(gridkey::LeftButton, x);
  if (model.itemBarDrag().dragging()) {
    grid_.updateGuide(-1);
    return;
  }
  grid_.apply(u);
  if (u.picked) emit grid_.columnPicked(model.pickedColumn());
}

void GridItemBar::mouseMoveEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  GridModel& model = grid_.model();
  if (model.itemBarDrag().dragging()) {
    const int old = model.itemBarDrag().guideX();
    model.Grid_ItemBarMouseMove(gridkey::LeftButton, x);
    if (model.itemBarDrag().guideX() != old) grid_.updateGuide(old);
    return;
  }
  if ((event->buttons() & Qt::LeftButton) != 0) return;
  const int before = model.hoverColumn();
  model.Grid_ItemBarMouseMove(0, x);
  setCursor(model.resizePointer() ? Qt::SplitHCursor : Qt::ArrowCursor);
  const int column = model.hoverColumn();
  const QString tip = column >= 0 ? toQString(model.columns().column(column).tooltip) : QString();
  setToolTip(tip);
  if (column != before && tip.isEmpty()) QToolTip::hideText();
}

void GridItemBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  GridModel& model = grid_.model();
  if (!model.itemBarDrag().dragging()) return;
  const int old = model.itemBarDrag().guideX();
  const GridUpdate u = model.Grid_ItemBarMouseUp(gridkey::LeftButton, static_cast<int>(event->position().x()));
  grid_.updateGuide(old);
  grid_.apply(u);
  grid_.setFocus(Qt::MouseFocusReason);
}

}  // namespace zevro
