#include "velmora/oa/gridfit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

namespace gridfit {

namespace {

class ViewWatch : public QObject {
 public:
  explicit ViewWatch(QTableWidget* grid) : QObject(grid), grid_(grid) { grid->viewport()->installEventFilter(this); }

  bool eventFilter(QObject*, QEvent* event) override {
    // Fitting may show or hide a scroll bar, which resizes the view once more.
    if (event->type() == QEvent::Resize && !busy_) {
      busy_ = true;
      fitAll(grid_);
      busy_ = false;
    }
    return false;
  }

 private:
  QTableWidget* grid_;
  bool busy_ = false;
};

}  // namespace

int cellWidth(const QTableWidget* grid, const QString& text) {
  // The item's text margins on both sides and the grid line, as the item view draws a cell,
  // and a pixel each side against rounding.
  const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
  return grid->fontMetrics().horizontalAdvance(text) + 2 * margin + (grid->showGrid() ? 1 : 0) + 2;
}

void fitAll(QTableWidget* grid) {
  const int columns = grid->columnCount();
  const int rows = grid->rowCount();
  int used = 0;
  for (int c = 0; c < columns; ++c) {
    int need = grid->horizontalHeader()->isHidden() ? 0 : grid->horizontalHeader()->sectionSizeHint(c);
    for (int r = 0; r < rows; ++r)
      if (const QTableWidgetItem* it = grid->item(r, c)) need = qMax(need, cellWidth(grid, it->text()));
    if (c == columns - 1) need = qMax(need, grid->viewport()->width() - used);
    grid->setColumnWidth(c, need);
    used += need;
  }
}

void widenFor(QTableWidget* grid, int column, const QString& text) {
  const int need = cellWidth(grid, text);
  if (need > grid->columnWidth(column)) grid->setColumnWidth(column, need);
}

void keepFitted(QTableWidget* grid) { new ViewWatch(grid); }

}  // namespace gridfit
