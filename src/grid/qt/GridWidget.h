#pragma once
// The owner-drawn list of the program: one scroll area that paints the
// visible rows of a grid model, with the column title strip above them.
// It only translates events into model operations and draws what the model
// says has changed; every decision lives in GridModel.
//
//   RowStore list;                  // the rows, filled elsewhere
//   GridModel model(list);
//   model.Grid_Init();
//   model.columns().setCount(4);    // the owner sets columns and settings
//   GridWidget grid(model);
//   grid.applySettings();           // fonts, metrics, layout, repaint
//
// The vertical scroll bar sits at the right of the rows, below the title
// strip (which spans the whole width): its range is the rows less the
// visible rows, its page the visible rows, its value the top row, and the
// grid follows it while the thumb is dragged. It shows only when the rows
// do not all fit.
#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QScrollBar>

#include <functional>
#include <vector>

#include "grid/GridModel.h"
#include "grid/qt/GridPainter.h"

namespace zevro {

class GridItemBar;

class GridWidget : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit GridWidget(GridModel& model, QWidget* parent = nullptr);
  ~GridWidget() override;

  GridModel& model() { return model_; }
  const GridModel& model() const { return model_; }
  const GridPainter& painter() const { return painter_; }
  GridItemBar* itemBar() const { return itemBar_; }
  QScrollBar* scrollBar() const { return scrollBar_; }
  int itemBarHeight() const { return itemBarHeight_; }

  // After the settings changed: fonts, row metrics, layout and a repaint.
  void applySettings();
  // Lays the grid out for the widget's current size (after rows were
  // added or removed, Grid_Refresh does the same through apply()).
  void relayout();
  // The icon strip in the program's form (picture left, mask right in each
  // cell), `count` icons of sourceWidth x sourceHeight.
  void setIconStrip(const QImage& strip, int count, int sourceWidth, int sourceHeight, std::vector<int> map = {});
  // Scrolls, repaints and tells the listeners what a model operation changed.
  void apply(const GridUpdate& update);

  // Surface rectangles (viewport coordinates) for the in-place editor.
  QRect cellRect(int column, int row) const;
  QRect editRect(int column, int row) const;

  // Hooks that see a key or a left press first (the editor, expand boxes);
  // answering true consumes the event.
  void setKeyHook(std::function<bool(QKeyEvent*)> hook) { keyHook_ = std::move(hook); }
  void setPressHook(std::function<bool(QMouseEvent*, int row)> hook) { pressHook_ = std::move(hook); }

  // Keys and modifiers as the model takes them.
  static int keyCodeOf(const QKeyEvent& event);
  static int shiftStateOf(Qt::KeyboardModifiers modifiers);

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

signals:
  void cursorMoved();
  void selectionChanged();
  void columnPicked(int column);
  void rightClicked(QPoint globalPos);
  // A left double click on a row.
  void doubleClicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  friend class GridItemBar;
  void syncScrollBar();
  void placeBars();
  void followScrollBar(int value);
  void updateGuide(int oldX);

  GridModel& model_;
  GridPainter painter_;
  GridItemBar* itemBar_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  int itemBarHeight_ = 20;
  bool syncing_ = false;  // the grid itself moves the scroll bar
  std::function<bool(QKeyEvent*)> keyHook_;
  std::function<bool(QMouseEvent*, int)> pressHook_;
};

}  // namespace zevro
