#pragma once
// What a grid shows: its titles and cells against the widths of their columns.
#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

#include "tests/servers/printers.h"

// The texts of `grid`, titles included, that their column is too narrow to show whole.
inline QStringList cutTexts(const QTableWidget* grid) {
  QStringList cut;
  const int line = grid->showGrid() ? 1 : 0;
  for (int c = 0; c < grid->columnCount(); ++c) {
    const int width = grid->columnWidth(c);
    if (grid->horizontalHeader()->sectionSizeHint(c) > width) cut << grid->horizontalHeaderItem(c)->text();
    for (int r = 0; r < grid->rowCount(); ++r) {
      const QModelIndex i = grid->model()->index(r, c);
      if (grid->sizeHintForIndex(i).width() + line > width) cut << i.data().toString();
    }
  }
  return cut;
}
