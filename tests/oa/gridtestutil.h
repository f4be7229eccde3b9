#pragma once
// What a grid shows: its titles and cells against the widths of their columns.
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

#include "tests/servers/printers.h"

// The texts of `grid`, titles included, that their column is too narrow to show whole.
inline QStringList cutTexts(const QTableView* grid) {
  QStringList cut;
  const int line = grid->showGrid() ? 1 : 0;
  const QAbstractItemModel* m = grid->model();
  for (int c = 0; c < m->columnCount(); ++c) {
    const int width = grid->columnWidth(c);
    if (grid->horizontalHeader()->sectionSizeHint(c) > width)
      cut << m->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < m->rowCount(); ++r) {
      const QModelIndex i = m->index(r, c);
      if (grid->sizeHintForIndex(i).width() + line > width) cut << i.data().toString();
    }
  }
  return cut;
}

// The titles of the columns of `grid` that do not lie whole inside its view.
inline QStringList columnsOutOfView(const QTableView* grid) {
  QStringList out;
  const QAbstractItemModel* m = grid->model();
  for (int c = 0; c < m->columnCount(); ++c) {
    const int x = grid->columnViewportPosition(c);
    if (x < 0 || x + grid->columnWidth(c) > grid->viewport()->width())
      out << m->headerData(c, Qt::Horizontal).toString();
  }
  return out;
}
