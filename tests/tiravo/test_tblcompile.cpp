// The table compiler of Tiravo, without windows: cell checks, the items it makes, the model.
#include <gtest/gtest.h>

#include "tiravo/core/ftt.h"
#include "tiravo/core/tblcompile.h"

using namespace tiravo;

namespace {

struct ScanCase {
  const char* text;
  int mode;
  int code;
  int first, last;    // the span, checked when the code is not 0
  const char* items;  // the items joined by "," when the code is 0
};

// The callbacks record what the compiler reported and correct cells from a queue.
struct Recorder : CompileCallbacks {
  QList<CellError> errors;
  QList<TableRow> fixes;  // each error replaces the faulty row with the next fix, then retries
  QList<int> progressDone;
  int empties = 0;
  bool shown = false;
  void progressShown(bool on) override { shown = on; }
  void progress(int done, int) override { progressDone << done; }
  bool cellError(const CellError& e, TableData& table) override {
    errors << e;
    if (fixes.isEmpty()) return false;
    table.rows[e.row - 1] = fixes.takeFirst();
    return true;
  }
  void tableEmpty() override { ++empties; }
};

TableData table(const QList<TableRow>& rows) {
  TableData t;
  t.rows = rows;
  return t;
}

}  // namespace

TEST(TableCompiler, ScanCellCodesSpansAndItems) {
  const ScanCase cases[] = {
      {"x1 & X2", BinaryCondition, CellOk, 0, 0, "x1=1,x2=0"},
      {" 1 ", BinaryCondition, CellOk, 0, 0, "1"},
      {"0", AbstractCondition, CellOk, 0, 0, "0"},
      {"z1", AbstractCondition, CellOk, 0, 0, "z1=1"},
      {"z1 & z2", AbstractCondition, JoinerNotAllowed, 0, 0, ""},
      {"Z1", AbstractCondition, InversionNotAllowed, 0, 1, ""},
      {"y1 y2", OutputCell, MissingSeparator, 3, 4, ""},
      {"y1 & & y2", OutputCell, MissingName, 3, 5, ""},
      {"y1 &", OutputCell, ExtraJoiner, 3, 3, ""},
      {"& y1", OutputCell, ExtraJoiner, 0, 0, ""},
      {"Y1", OutputCell, InversionNotAllowed, 0, 1, ""},
      // Inversion is tested before repetition.
      {"y1 & Y1", OutputCell, InversionNotAllowed, 5, 6, ""},
      {"y1 & y1", OutputCell, RepeatedName, 5, 6, ""},
      {"x1&X1", BinaryCondition, RepeatedName, 3, 4, ""},
      {"  ", OutputCell, CellOk, 0, 0, ""},
      {"  ", TargetCell, EmptyCell, 0, 0, ""},
      {"1s", SourceCell, NotALetter, 0, 1, ""},
      {"_a", SourceCell, NotALetter, 0, 1, ""},
      {"s.1", SourceCell, BadCharacter, 1, 1, ""},
      {"S1&ы2", SourceCell, CellOk, 0, 0, "s1=0,ы2=1"},
      {"Ёж", SourceCell, CellOk, 0, 0, "ёж=0"},
      {"S1", TargetCell, InversionNotAllowed, 0, 1, ""},
      {"s1 & s2", TargetCell, CellOk, 0, 0, "s1=1,s2=1"},
  };
  for (const ScanCase& c : cases) {
    QStringList items;
    int first = -1, last = -1;
    const int code = ScanCell(QString::fromUtf8(c.text), items, c.mode, &first, &last);
    EXPECT_EQ(code, c.code) << c.text;
    if (c.code == CellOk) {
      EXPECT_EQ(items.join(QLatin1Char(',')), QString::fromUtf8(c.items)) << c.text;
    } else {
      EXPECT_EQ(first, c.first) << c.text;
      EXPECT_EQ(last, c.last) << c.text;
    }
  }
}

// A cell of a hundred thousand names is read whole: a repeat is found wherever it stands and
// every name becomes one literal of the line.
TEST(TableCompiler, CellOfManyNames) {
  constexpr int kNames = 100000;
  QStringList names;
  for (int k = 0; k < kNames; ++k) names << (k % 2 ? QStringLiteral("X%1") : QStringLiteral("x%1")).arg(k);
  const QString cell = names.join(QLatin1Char('&'));
  struct Case {
    QString text;
    int code, first;
  } cases[] = {
      {cell, CellOk, 0},
      {cell + QStringLiteral("&x7"), RepeatedName, int(cell.size()) + 1},
      {QStringLiteral("x99999&") + cell, RepeatedName, int(cell.size()) + 1},
  };
  for (const Case& c : cases) {
    QStringList items;
    int first = -1;
    EXPECT_EQ(ScanCell(c.text, items, BinaryCondition, &first), c.code);
    if (c.code != CellOk) {
      EXPECT_EQ(first, c.first);
    }
  }
  TableData t = table({{"s0", "y1", cell, "s1"}});
  auto m = CompileTable(t, 0);
  ASSERT_TRUE(m);
  ASSERT_EQ(m->Lines.size(), 1u);
  const SSignalSet condition = m->Lines[0].Transitions[0].Condition;
  ASSERT_EQ(condition.Size(), unsigned(kNames));
  EXPECT_EQ(condition.At(0), 1);   // x0
  EXPECT_EQ(condition.At(1), -2);  // X1
  EXPECT_EQ(m->XNames.size(), kNames);
}

TEST(TableCompiler, MessagesFollowTheCodes) {
  EXPECT_EQ(cellMessage(MissingSeparator), "пропущен разделитель");
  EXPECT_EQ(cellMessage(JoinerNotAllowed), "соеденитель недопустим");
  EXPECT_EQ(cellMessage(EmptyCell), "пустая ячейка");
}

TEST(TableCompiler, BinaryRowBecomesOneLine) {
  TableData t = table({{"s0", "y1", "x1 & X2", "s1"}});
  auto m = CompileTable(t, 0);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Mode, FTT::Binary);
  ASSERT_EQ(m->Lines.size(), 1u);
  QStringList conditions, targets, lines;
  m->ListLine(0, conditions, targets);
  m->ListLines(lines);
  EXPECT_EQ(lines, QStringList{"s0[y1]"});
  EXPECT_EQ(m->XNames, (QStringList{"x1", "x2"}));
  ASSERT_EQ(conditions.size(), 1);
  EXPECT_EQ(targets, QStringList{"s1"});
}

TEST(TableCompiler, EmptySourceRepeatsTheRowAbove) {
  TableData t = table({{"s0", "", "x1", "s1"}, {"", "", "x2", "s2"}});
  auto m = CompileTable(t, 0);
  ASSERT_TRUE(m);
  ASSERT_EQ(m->Lines.size(), 1u);  // both rows have the key s0
  EXPECT_EQ(m->Lines[0].Transitions.size(), 2u);
}

TEST(TableCompiler, FaultsStopInTheirCellsInOrder) {
  struct Case {
    QList<TableRow> rows;
    int signalCoding, row, column, code;
  };
  const Case cases[] = {
      // The condition is read before the outputs.
      {{{"s0", "Y1", "x1 x2", "s1"}}, 0, 1, 3, MissingSeparator},
      {{{"", "y1", "x1", "s1"}}, 0, 1, 1, EmptyCell},
      {{{"s0", "y1", "z1 & z2", "s1"}}, 1, 1, 3, JoinerNotAllowed},
      // Four blank cells: the first row stops at si; later the si repeats, so xij stops.
      {{{" ", " ", " ", " "}}, 0, 1, 1, EmptyCell},
      {{{"s0", "", "x1", "s1"}, {" ", " ", " ", " "}}, 0, 2, 3, EmptyCell},
  };
  for (const Case& c : cases) {
    TableData t = table(c.rows);
    Recorder r;
    EXPECT_FALSE(CompileTable(t, c.signalCoding, &r));
    ASSERT_EQ(r.errors.size(), 1);
    EXPECT_EQ(r.errors[0].row, c.row);
    EXPECT_EQ(r.errors[0].column, c.column);
    EXPECT_EQ(r.errors[0].code, c.code);
    EXPECT_FALSE(r.shown);  // the progress panels are gone again
  }
}

TEST(TableCompiler, ConditionZeroSkipsTheTargetCell) {
  TableData t = table({{"s0", "y1", " 0 ", "S%%"}});
  Recorder r;
  auto m = CompileTable(t, 0, &r);
  ASSERT_TRUE(m);
  EXPECT_TRUE(r.errors.isEmpty());
  EXPECT_TRUE(m->Lines[0].Transitions.empty());
}

TEST(TableCompiler, CorrectedCellIsReadAgain) {
  TableData t = table({{"s0", "y1 y2", "x1", "s1"}});
  Recorder r;
  r.fixes << TableRow{"s0", "y1&y2", "x1", "s1"};
  auto m = CompileTable(t, 0, &r);
  ASSERT_TRUE(m);
  ASSERT_EQ(r.errors.size(), 1);
  EXPECT_EQ(r.errors[0].message, "пропущен разделитель");
  EXPECT_EQ(r.errors[0].selStart, 3);
  EXPECT_EQ(r.errors[0].selLength, 2);
  EXPECT_EQ(t.rows[0].y, "y1&y2");  // the caller's table holds the correction
  EXPECT_EQ(m->YNames, (QStringList{"y1", "y2"}));
}

TEST(TableCompiler, EmptyRowsAreSkippedAndAnEmptyTableIsReported) {
  TableData t = table({{}, {}, {}});
  Recorder r;
  EXPECT_FALSE(CompileTable(t, 0, &r));
  EXPECT_EQ(r.empties, 1);
  EXPECT_EQ(emptyTableMessage(), "Таблица пуста, введите данные в таблицу.");

  TableData u = table({{}, {"s0", "", "1", "s0"}, {}});
  Recorder r2;
  ASSERT_TRUE(CompileTable(u, 0, &r2));
  EXPECT_EQ(r2.progressDone, (QList<int>{0, 2}));  // the row reached, not the rows compiled
}

TEST(TableCompiler, BrowserTableLines) {
  TableData t = table({{"s1", "y1", "x1", "s2"},
                       {"s1", "y1", "x1", "s3"},
                       {"s1", "y1", "X1", "s1"},
                       {"s2", "y2", "1", "s1"},
                       {"s3", "y3", "x2", "s3"},
                       {"s3", "y3", "X2", "s1"}});
  auto m = CompileTable(t, 0);
  ASSERT_TRUE(m);
  QStringList lines, conditions, targets;
  m->ListLines(lines);
  EXPECT_EQ(lines, (QStringList{"s1[y1]", "s2[y2]", "s3[y3]"}));
  m->ListLine(0, conditions, targets);
  EXPECT_EQ(conditions, (QStringList{"x1", "X1"}));
  EXPECT_EQ(targets, (QStringList{"s2&s3", "s1"}));
}
