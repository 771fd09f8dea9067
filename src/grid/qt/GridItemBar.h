#pragma once
// The column title strip above a grid's rows: draws the titles, resizes
// columns by dragging a boundary and picks a column by a click on its title.
#include <QWidget>

namespace zevro {

class GridWidget;

class GridItemBar : public QWidget {
  Q_OBJECT
public:
  explicit GridItemBar(GridWidget& grid);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  GridWidget& grid_;
};

}  // namespace zevro
