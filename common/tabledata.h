#pragma once
// A transition table as the converters, the table file and the compiler see it.
#include <QList>
#include <QString>

struct TableRow {
  QString si;  // source state; empty continues the source of the row above
  QString y;   // output signals joined by "&"
  QString x;   // condition: names joined by "&", upper case = inverted, "1" unconditional
  QString sj;  // target state(s)
  bool operator==(const TableRow& o) const { return si == o.si && y == o.y && x == o.x && sj == o.sj; }
  bool isEmpty() const { return si.isEmpty() && y.isEmpty() && x.isEmpty() && sj.isEmpty(); }
};

// Four shared strings: a growing list moves rows by copying their bytes.
Q_DECLARE_TYPEINFO(TableRow, Q_RELOCATABLE_TYPE);

struct TableData {
  QString signalCoding = QStringLiteral("Binary");  // "Binary" or "Abstract"
  QList<TableRow> rows;
};
