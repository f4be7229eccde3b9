// What the joint model window shows: its register grid, the step chosen, the report, and
// columns and a window wide enough for every text.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QMdiArea>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include "tests/oa/gridtestutil.h"
#include "tests/oa/jointmodeltest.h"

namespace {

// The first fields of the report's lines that do not start at the tab stop of their column: a text
// that reaches past the next stop pushes the rest of its line one column on.
QStringList misaligned(QTextDocument* doc) {
  QStringList out;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (!b.text().contains('\t')) continue;
    doc->documentLayout()->blockBoundingRect(b);  // lays the paragraph out
    const QList<QTextOption::Tab> stops = b.blockFormat().tabPositions();
    int pos = 0;
    const QStringList fields = b.text().split('\t');
    for (int i = 0; i < fields.size(); ++i) {
      const QTextLine line = b.layout()->lineForTextPosition(pos);
      const qreal x = line.cursorToX(pos);
      if ((i >= stops.size() || qAbs(x - stops[i].position) > 0.5) && out.size() < 5)
        out << QStringLiteral("%1 field %2 at %3").arg(b.text()).arg(i).arg(x);
      pos += int(fields[i].size()) + 1;
    }
  }
  return out;
}

TEST_F(JointModel, BlocksFillTheRegisterGridAndBusMode) {
  struct Case {
    QStringList blocks;
    QStringList watched;
    bool bus;
  };
  const Case cases[] = {
      {{"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"}, {"A", "DI1", "d"}, true},
      {{"reg", "register", "d[4]", "mux", "B[2]"}, {"d", "B"}, false},
      {{"reg:", "dI[3]"}, {"dI"}, true},
  };
  for (const Case& c : cases) {
    closeTable();
    openTable();
    table->document()->oa().blocks = c.blocks;
    table->document()->oa().xSignals.clear();  // no conditions on registers these blocks may lack
    table->document()->oa().xValues.clear();
    TOACAModelForm* w = run();
    ASSERT_TRUE(w);
    QStringList names;
    for (int r = 1; r < w->regRowCount(); ++r) names << w->regCell(0, r);
    EXPECT_EQ(names, c.watched);
    EXPECT_EQ(w->busMode, c.bus);
    EXPECT_EQ(TestFrame->ui().ModelBusAction->isEnabled(), c.bus);
    EXPECT_TRUE(table->gridLocked());
    EXPECT_EQ(table->grid()->toolTip(), QStringLiteral("Идет процесс моделирования"));
  }
  // Without the option the grid starts empty.
  closeTable();
  openTable();
  OptionsForm->AutoReg->setChecked(false);
  TOACAModelForm* w = run();
  EXPECT_EQ(w->regRowCount(), 2);
  EXPECT_EQ(w->regCell(0, 1), QString());
}

// Every field of the report starts at the tab stop of its column: a fresh window, and rows of
// long texts past step 99 with a long register name. Columns are never narrower than 7 points
// per character of their title.
TEST_F(JointModel, ReportOfAFreshWindow) {
  const QString longName = QStringLiteral("Накопитель_результата");
  const QList<int> least = {0, 16, 25, 34, 43, 94};
  for (int rows : {0, 101}) {  // numbered rows written as a run writes them
    SCOPED_TRACE(rows);
    closeTable();
    openTable();
    table->document()->oa().blocks = {"reg:", "A[8]", longName + "[4]"};
    TOACAModelForm* w = run();
    for (int r = 1; r <= rows; ++r) {
      if (r >= w->rowCount()) w->addStepRow(r);
      w->setStepRow(r, "x1&X2&x3&X4", "s1&s2&s3", "y1&y2&yWrite");
      w->model()->ApplySignals("y1", 'a');
    }
    w->mReportClick();
    ASSERT_TRUE(w->reportEditor);
    QTextDocument* doc = w->reportEditor->document();
    QTextBlock header;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      if (b.text().startsWith("t \t")) header = b;
    ASSERT_TRUE(header.isValid());
    EXPECT_EQ(header.text(), QStringLiteral("t \tx\ts\ty\tрегистр\tзначение"));
    QList<int> stops;
    for (const QTextOption::Tab& t : header.blockFormat().tabPositions())
      stops << qRound(t.position * 3.0 / 4.0);
    ASSERT_EQ(stops.size(), least.size());
    for (int i = 0; i < stops.size(); ++i) EXPECT_GE(stops[i], least[i]) << i;
    EXPECT_EQ(misaligned(doc), QStringList());
    EXPECT_TRUE(doc->toPlainText().startsWith(QStringLiteral("Модель: Untitled")));
    EXPECT_TRUE(doc->toPlainText().contains(QStringLiteral("\t\t\t\t") + longName + "\t"));
  }
}

TEST_F(JointModel, ChoosingAStepShowsItsRegisters) {
  TOACAModelForm* w = run();
  w->stepLimit_ = 3;
  TestFrame->ui().DecAction->trigger();
  w->DecClick();
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() == 4 && idle(w); }));
  w->stepGrid()->setCurrentCell(1, 0);  // row 2
  EXPECT_EQ(w->regCell(1, 1), "2");
  w->stepGrid()->setCurrentCell(0, 0);
  EXPECT_EQ(w->regCell(1, 1), "1");
}

// Whatever made the last row (a run to its limit, single steps), it is the highlighted one and
// the register grid shows its step, as choosing it by hand does.
TEST_F(JointModel, TheLastStepIsChosenAndShown) {
  const struct {
    const char* how;
    unsigned limit;
    int steps;  // single steps; 0 runs to the limit
    int rows;   // step rows made
  } cases[] = {{"run to 3", 3, 0, 3}, {"run to 1", 1, 0, 1}, {"two steps", 50, 2, 2}, {"run to 5", 5, 0, 5}};
  TOACAModelForm* w = run();
  w->DecClick();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    w->stepLimit_ = c.limit;
    auto made = [&](int steps) { return w->model()->RowCount() == steps + 1 && idle(w); };
    if (c.steps == 0) w->startClick();
    for (int i = 0; i < c.steps; ++i) {
      w->stepClick();
      ASSERT_TRUE(waitFor([&] { return made(i + 1); }));
    }
    ASSERT_TRUE(waitFor([&] { return made(c.rows); }));
    ASSERT_TRUE(turned(w, 2));
    EXPECT_EQ(w->rowCount(), c.rows + 1);
    EXPECT_EQ(w->stepGrid()->currentRow() + 1, c.rows);
    const QString shown = w->regCell(1, 1);
    EXPECT_EQ(shown, QString::number(c.rows));  // y1 adds one to A at every step
    w->stepGrid()->setCurrentCell(0, 0);
    w->stepGrid()->setCurrentCell(c.rows - 1, 0);  // the same row chosen by hand
    EXPECT_EQ(w->regCell(1, 1), shown);
    w->resetClick();
    ASSERT_TRUE(waitFor([&] { return made(0) && w->rowCount() == 2; }));
    EXPECT_EQ(w->regCell(1, 1), "0");  // a reset shows the initial registers
  }
}

// The window opens as wide as its two grids need, within the MDI area, and never below its
// smallest size.
TEST_F(JointModel, OpensWideEnoughForItsColumns) {
  const QStringList blocks[] = {{"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"},
                                {"reg:", "A[32]", "B[32]", "mux:"}};
  for (const QStringList& b : blocks) {
    SCOPED_TRACE(b.join(' ').toStdString());
    closeTable();
    openTable();
    table->document()->oa() = description(b);
    ASSERT_TRUE(showFrame());
    TOACAModelForm* w = run();
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(columnsOutOfView(w->stepGrid()), QStringList());
    EXPECT_EQ(columnsOutOfView(w->regGrid()), QStringList());
    EXPECT_EQ(cutTexts(w->regGrid()), QStringList());
    const QWidget* sub = w->parentWidget();
    const int room = TestFrame->mdiArea()->viewport()->width();
    EXPECT_GE(sub->x(), 0);
    EXPECT_LE(sub->x() + sub->width(), room);
    EXPECT_GE(w->width(), 453);
    EXPECT_GE(w->height(), 125);
    EXPECT_EQ(w->minimumSize(), QSize(453, 125));
  }
}

// The register grid and the step grid show every title and every value whole: when the window
// opens, after steps change the values and the step texts, and after the radix changes.
TEST_F(JointModel, ColumnsShowEveryTextWhole) {
  table->document()->oa().blocks = {"reg:", "A[8]", QStringLiteral("Накопитель_результата[32]")};
  table->document()->oa().yItems = {{"A:=A+1", QStringLiteral("Накопитель_результата:=!A")}};
  sim->edit([](SimScript& s) { s.state = "s1&s2&s3&s4&s5&s6"; });
  ASSERT_TRUE(showFrame());
  TOACAModelForm* w = run();
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(cutTexts(w->regGrid()), QStringList());
    EXPECT_EQ(cutTexts(w->stepGrid()), QStringList());
  };
  check("opened");
  w->stepLimit_ = 3;
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() == 4 && idle(w); }));
  EXPECT_EQ(w->regCell(1, 2).size(), 32);
  check("stepped");
  for (QAction* radix : {TestFrame->ui().DecAction, TestFrame->ui().HexAction, TestFrame->ui().BinAction}) {
    radix->trigger();
    check(radix->objectName().toLatin1().constData());
  }
  TestFrame->hide();
}

}  // namespace
