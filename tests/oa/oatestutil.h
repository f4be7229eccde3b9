#pragma once
// A register grid in memory and a model description the tests build on.
#include <QList>
#include <QStringList>
#include <QVector>

#include "velmora/documents/formats/oafile.h"
#include "velmora/oa/oaengine.h"

using namespace velmora;

struct FakeGrid : RegisterGrid {
  QStringList names{"Регистр/шина"};
  QStringList values{"Значение"};
  explicit FakeGrid(const QStringList& watched = {}) {
    for (const QString& n : watched) {
      names << n;
      values << QString();
    }
  }
  int rowCount() const override { return names.size(); }
  QString nameAt(int row) const override { return names[row]; }
  void setValueAt(int row, const QString& text) override { values[row] = text; }
};

// The lists of one description, kept alive as long as a model borrows them.
struct Description {
  QStringList blocks;
  QStringList ySignals;
  QList<QStringList> yItems;
  QStringList xSignals;
  QStringList xValues;
};

// Registers A[8], B[8], C[4] and the bus DI1[8]; y1..y3 and x1..x3 of the worked example.
inline Description example() {
  Description d;
  d.blocks = {"reg:", "A[8]", "B[8]", "C[4]", "mux:", "DI1[8]"};
  d.ySignals = {"y1", "y2", "y3"};
  d.yItems = {{"A:=200", "B:=A", "C[0]:=1"},
              {"DI1:=A+C", "B:=DI1", "C:=!C", "A:=A+1"},
              {"A:=B+C+1", "B:=rc(A,1)", "C:=C-B"}};
  d.xSignals = {"x1", "x2", "x3"};
  d.xValues = {"A[7]", "C[0]", "B[0]&B[1]"};
  return d;
}

// The worked example as a table's ОА description.
inline void describeExample(OaDescription* d) {
  const Description e = example();
  d->blocks = e.blocks;
  d->ySignals = e.ySignals;
  d->yItems = e.yItems;
  d->xSignals = e.xSignals;
  d->xValues = e.xValues;
  d->oaPresent = true;
}
