#pragma once
// Flowcharts for the tests, drawn as text: one string per grid row, cells separated by
// blanks. A cell is "." (empty) or "kind" or "kind:text"; "_" in a text stands for a blank.
#include <QString>
#include <QStringList>
#include <ostream>

#include "common/tabledata.h"
#include "velmora/flowchart/core/gsadocument.h"

using namespace velmora;

namespace gsatest {

inline GsaGridList picture(std::initializer_list<const char*> rows) {
  QList<QStringList> cells;
  int cols = 1;
  for (const char* r : rows) {
    cells << QString::fromUtf8(r).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    cols = qMax(cols, int(cells.last().size()));
  }
  GsaGridList g(int(cells.size()), cols);
  for (int row = 0; row < cells.size(); ++row) {
    for (int col = 0; col < cells[row].size(); ++col) {
      const QString token = cells[row][col];
      if (token == QLatin1String(".")) continue;
      const int colon = token.indexOf(QLatin1Char(':'));
      g.setKind(col, row, colon < 0 ? token : token.left(colon));
      if (colon >= 0) g.setText(col, row, token.mid(colon + 1).replace(QLatin1Char('_'), QLatin1Char(' ')));
    }
  }
  return g;
}

inline GsaDocument document(const GsaGridList& grid, bool userNaming = false, bool moveEvents = false) {
  GsaDocument d;
  d.grid = grid;
  d.userNaming = userNaming;
  d.moveEvents = moveEvents;
  return d;
}

inline QList<TableRow> rows(std::initializer_list<std::initializer_list<const char*>> list) {
  QList<TableRow> out;
  for (const auto& r : list) {
    QStringList c;
    for (const char* s : r) c << QString::fromUtf8(s);
    out << TableRow{c.value(0), c.value(1), c.value(2), c.value(3)};
  }
  return out;
}

}  // namespace gsatest

inline std::ostream& operator<<(std::ostream& os, const TableRow& r) {
  return os << "(" << r.si.toStdString() << " | " << r.y.toStdString() << " | " << r.x.toStdString() << " | "
            << r.sj.toStdString() << ")";
}

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
