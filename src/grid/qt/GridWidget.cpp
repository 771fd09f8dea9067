#include "grid/qt/GridWidget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "grid/GridKeys.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridItemBar.h"

namespace zevro {

namespace {

QRect toQRect(const GridRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

int buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return gridkey::LeftButton;
    case Qt::RightButton: return gridkey::RightButton;
    case Qt::MiddleButton: return gridkey::MiddleButton;
    default: return 0;
  }
}

constexpr int ItemBarPadding = 8;  // the title strip is the text height plus this

}  // namespace

GridWidget::GridWidget(GridModel& model, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model), painter_(model) {
  if (!model_.initialised()) model_.Grid_Init();
  itemBar_ = new GridItemBar(*this);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setSingleStep(1);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  scrollBar_->hide();
  connect(scrollBar_, &QScrollBar::valueChanged, this, &GridWidget::followScrollBar);
  setFocusPolicy(Qt::StrongFocus);
  // Typed letters jump to rows: the keys must arrive as keys, not as input
  // method text.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  // The scroll area's own bars would run up beside the title strip.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  applySettings();
}

GridWidget::~GridWidget() = default;

void GridWidget::applySettings() {
  const GridSettings& s = model_.settings();
  const QFont normal = gridfonts::fontFor(s.font);
  const QFont alternate = gridfonts::fontFor(s.altFont);
  painter_.setFonts(normal, alternate);
  painter_.setPalette(palette());
  const QFontMetrics fm(normal);
  model_.setTextHeight(fm.height());
  model_.setScrollBarWidth(scrollBar_->sizeHint().width());
  itemBarHeight_ = fm.height() + ItemBarPadding;
  relayout();
}

void GridWidget::relayout() {
  const QRect inner = contentsRect();
  apply(model_.Grid_Layout(inner.width(), std::max(inner.height() - itemBarHeight_, 0)));
}

// The title strip across the whole width; below it the rows, narrowed by
// the scroll bar when that shows.
void GridWidget::placeBars() {
  const QRect inner = contentsRect();
  itemBar_->setGeometry(inner.left(), inner.top(), inner.width(), itemBarHeight_);
  const bool bar = model_.needsScrollBar();
  const int barWidth = bar ? model_.scrollBarWidth() : 0;
  setViewportMargins(0, itemBarHeight_, barWidth, 0);
  if (bar) {
    scrollBar_->setGeometry(inner.right() + 1 - barWidth, inner.top() + itemBarHeight_, barWidth,
                            std::max(inner.height() - itemBarHeight_, 0));
  }
  scrollBar_->setVisible(bar);
}

void GridWidget::setIconStrip(const QImage& strip, int count, int sourceWidth, int sourceHeight, std::vector<int> map) {
  const GridUpdate u = model_.Grid_SetIcons(count, sourceWidth, sourceHeight, std::move(map));
  const GridIcons& icons = model_.icons();
  painter_.setIcons(GridPainter::argbStrip(strip, icons.count, sourceWidth, sourceHeight, icons.width, icons.height));
  apply(u);
}

void GridWidget::syncScrollBar() {
  syncing_ = true;
  scrollBar_->setRange(0, model_.lastTopRow());
  scrollBar_->setPageStep(model_.visibleRows());
  scrollBar_->setValue(model_.topRow());
  syncing_ = false;
}

void GridWidget::apply(const GridUpdate& u) {
  if (u.layout) placeBars();
  if (u.layout || scrollBar_->value() != model_.topRow()) syncScrollBar();
  const int visible = model_.visibleRows();
  if (u.full || std::abs(u.scrolled) >= visible) {
    viewport()->update();
  } else {
    if (u.scrolled != 0) viewport()->scroll(0, -u.scrolled * model_.metrics().rowHeight);
    for (int row : u.rows) {
      if (model_.rowVisible(row)) viewport()->update(toQRect(model_.rowRect(row)));
    }
    for (const GridCell& c : u.cells) {
      // The whole row band of the cell: the cursor frame and the tree lines
      // reaching into it are drawn again with it.
      if (model_.rowVisible(c.row)) viewport()->update(toQRect(model_.cellRect(c.column, c.row)).adjusted(-1, 0, 1, 1));
    }
  }
  if (u.itemBar || u.layout) itemBar_->update();
  if (u.cursorMoved) emit cursorMoved();
  if (u.selectionChanged) emit selectionChanged();
}

QRect GridWidget::cellRect(int column, int row) const { return toQRect(model_.cellRect(column, row)); }

QRect GridWidget::editRect(int column, int row) const { return toQRect(model_.editRect(column, row)); }

void GridWidget::updateGuide(int oldX) {
  const int h = viewport()->height();
  if (oldX >= 0) {
    viewport()->update(QRect(oldX, 0, 1, h));
    itemBar_->update(QRect(oldX, 0, 1, itemBar_->height()));
  }
  const ItemBarDrag& drag = model_.itemBarDrag();
  if (!drag.dragging()) return;
  viewport()->update(QRect(drag.guideX(), 0, 1, h));
  itemBar_->update(QRect(drag.guideX(), 0, 1, itemBar_->height()));
}

QSize GridWidget::minimumSizeHint() const {
  const int frame = 2 * frameWidth();
  return QSize(80 + frame, itemBarHeight_ + model_.minimumSurfaceHeight() + frame);
}

QSize GridWidget::sizeHint() const { return QSize(400, 300); }

// ---------------------------------------------------------------- events

void GridWidget::paintEvent(QPaintEvent* event) {
  if (model_.pendingRows()) {
    model_.Grid_FinishRows(0);
    syncScrollBar();
  }
  QPainter p(viewport());
  p.setClipRegion(event->region());
  painter_.paintSurface(p, event->rect());
  painter_.paintGuide(p, viewport()->height());
}

void GridWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  relayout();
}

void GridWidget::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    painter_.setPalette(palette());
    viewport()->update();
  }
}

int GridWidget::shiftStateOf(Qt::KeyboardModifiers m) {
  int s = 0;
  if (m & Qt::ShiftModifier) s |= gridkey::ShiftMask;
  if (m & Qt::ControlModifier) s |= gridkey::CtrlMask;
  if (m & Qt::AltModifier) s |= gridkey::AltMask;
  return s;
}

int GridWidget::keyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return gridkey::Enter;
    case Qt::Key_Shift: return gridkey::Shift;
    case Qt::Key_Control: return gridkey::Control;
    case Qt::Key_Alt: return gridkey::Alt;
    case Qt::Key_Escape: return gridkey::Escape;
    case Qt::Key_Space: return gridkey::Space;
    case Qt::Key_PageUp: return gridkey::PageUp;
    case Qt::Key_PageDown: return gridkey::PageDown;
    case Qt::Key_End: return gridkey::End;
    case Qt::Key_Home: return gridkey::Home;
    case Qt::Key_Left: return gridkey::Left;
    case Qt::Key_Up: return gridkey::Up;
    case Qt::Key_Right: return gridkey::Right;
    case Qt::Key_Down: return gridkey::Down;
    case Qt::Key_Help: return gridkey::Help;
    case Qt::Key_At: return gridkey::AtSign;
    default: break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int digit = key - Qt::Key_0;
    return (event.modifiers() & Qt::KeypadModifier) ? gridkey::Pad0 + digit : gridkey::Digit0 + digit;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return gridkey::LetterA + (key - Qt::Key_A);
  return 0;
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
  if (keyHook_ && keyHook_(event)) return;
  const int key = keyCodeOf(*event);
  if (key == 0) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  apply(model_.Grid_KeyDown(key, shiftStateOf(event->modifiers())));
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The press before it moved the cursor to the row already.
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit doubleClicked();
    return;
  }
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const int x = static_cast<int>(event->position().x());
  const int y = static_cast<int>(event->position().y());
  if (event->button() == Qt::RightButton) {
    apply(model_.Grid_HitCell(x, y));
    emit rightClicked(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (pressHook_ && pressHook_(event, model_.Grid_RowAt(std::max(y, 0)))) return;
  apply(model_.Grid_MouseDown(gridkey::LeftButton, shiftStateOf(event->modifiers()), x, y));
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) == 0) return;
  apply(model_.Grid_MouseMove(gridkey::LeftButton, shiftStateOf(event->modifiers()),
                              static_cast<int>(event->position().x()), static_cast<int>(event->position().y())));
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event) {
  apply(model_.Grid_MouseUp(buttonOf(event->button()), shiftStateOf(event->modifiers()),
                            static_cast<int>(event->position().x()), static_cast<int>(event->position().y())));
}

void GridWidget::followScrollBar(int value) {
  if (syncing_) return;
  apply(model_.Grid_ScrollTo(value, false));
}

void GridWidget::wheelEvent(QWheelEvent* event) {
  if (!scrollBar_->isVisible()) return;
  QCoreApplication::sendEvent(scrollBar_, event);
}

}  // namespace zevro
