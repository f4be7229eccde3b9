// What a click with each flowchart tool does to the document, deletion and undo, without any
// window. Cells are (col, row).
#include <gtest/gtest.h>

#include <QList>

#include "velmora/flowchart/tools/gsaeditor.h"

using namespace velmora;

using gsa::ConditionBlock;
using gsa::Editor;

namespace {

const QString kNone = QStringLiteral("нет перехода");

// Answers the block dialogs from queues (nullopt: cancelled) and records their presets.
template <class T>
bool answer(QList<std::optional<T>>& queue, T* value) {
  const std::optional<T> a = queue.takeFirst();
  if (a) *value = *a;
  return a.has_value();
}
struct Answers : gsa::BlockAsker {
  QList<std::optional<QString>> operators, connectors;
  QList<std::optional<ConditionBlock>> conditions;
  QStringList operatorPresets;
  QList<ConditionBlock> conditionPresets;
  bool askOperator(bool, QString* text) override { return operatorPresets << *text, answer(operators, text); }
  bool askCondition(ConditionBlock* b) override { return conditionPresets << *b, answer(conditions, b); }
  bool askConnector(QString* type) override { return answer(connectors, type); }
};

struct Cell {
  int col, row;
  const char* text;
  int kind;
};

void expectCells(const GsaGridList& g, std::initializer_list<Cell> cells, const char* what) {
  for (const Cell& c : cells) {
    EXPECT_EQ(g.text(c.col, c.row), QString::fromUtf8(c.text))
        << what << " text at " << c.col << "," << c.row;
    EXPECT_EQ(g.kind(c.col, c.row), QString::number(c.kind)) << what << " kind at " << c.col << "," << c.row;
  }
}

}  // namespace

TEST(GsaTools, EachPlacingToolPutsItsKind) {
  struct Case {
    GsaTool tool;
    std::initializer_list<Cell> after;  // placed at (3, 10) on a cell holding "old"/11
  } cases[] = {
      {GsaTool::Start, {{3, 10, "y0", 3}}},
      {GsaTool::End, {{3, 10, "yk", 4}}},
      {GsaTool::Operator, {{3, 10, "y1", 1}}},
      {GsaTool::Splitter, {{3, 10, "old", 5}, {3, 11, "", 18}}},
      {GsaTool::Connector, {{3, 10, "old", 19}, {3, 11, "C", 6}}},
      {GsaTool::HorLine, {{3, 10, "old", 10}}},
      {GsaTool::VertLine, {{3, 10, "old", 11}}},
      {GsaTool::Corner1, {{3, 10, "old", 12}}},
      {GsaTool::Corner2, {{3, 10, "old", 13}}},
      {GsaTool::Corner3, {{3, 10, "old", 14}}},
      {GsaTool::Corner4, {{3, 10, "old", 15}}},
      {GsaTool::MergeLeft, {{3, 10, "old", 16}}},
      {GsaTool::MergeRight, {{3, 10, "old", 17}}},
      {GsaTool::MergeBoth, {{3, 10, "old", 20}}},
      {GsaTool::Crossing, {{3, 10, "old", 21}}},
  };
  for (const Case& c : cases) {
    Editor e;
    e.doc.grid.setText(3, 10, QStringLiteral("old"));
    e.doc.grid.setKind(3, 10, 11);
    Answers a;
    a.operators << QStringLiteral("y1");
    a.connectors << QStringLiteral("C");
    e.apply(c.tool, 3, 10, a);
    expectCells(e.doc.grid, c.after, "tool");
    EXPECT_TRUE(e.modified);
    EXPECT_EQ(e.doc.grid.rowCount(), 60);
  }
}

TEST(GsaTools, ConditionNearTheBottomAppendsOneRow) {
  struct Case {
    int row, rowsAfter;
  } cases[] = {{56, 60}, {57, 60}, {58, 61}, {59, 61}};
  for (const Case& c : cases) {
    Editor e;
    Answers a;
    a.conditions << ConditionBlock{QStringLiteral("x1"), QStringLiteral("1"), kNone, QStringLiteral("0")};
    e.apply(GsaTool::Condition, 2, c.row, a);
    EXPECT_EQ(e.doc.grid.rowCount(), c.rowsAfter) << c.row;
    EXPECT_EQ(e.doc.grid.text(2, c.row + 1), QStringLiteral("0")) << c.row;
    EXPECT_EQ(e.doc.grid.kind(2, c.row + 1), QStringLiteral("11")) << c.row;
  }
}

TEST(GsaTools, ConditionLabelsOffTheGridAreNotStored) {
  struct Case {
    int col;
  } cases[] = {{0}, {29}};
  for (const Case& c : cases) {
    Editor e;
    Answers a;
    a.conditions << ConditionBlock{QStringLiteral("x1"), QStringLiteral("0"), QStringLiteral("1"), kNone};
    e.apply(GsaTool::Condition, c.col, 3, a);
    EXPECT_EQ(e.doc.grid.usedCells().size(), 3) << c.col;  // the condition, one label, the lower one
    EXPECT_EQ(e.doc.grid.colCount(), 30);
  }
}

TEST(GsaTools, DialogsArePresetFromTheCell) {
  Editor e;
  Answers a;
  a.operators << QStringLiteral("y1") << std::nullopt;
  e.apply(GsaTool::Operator, 1, 1, a);
  e.apply(GsaTool::Operator, 1, 1, a);
  a.conditions << ConditionBlock{QStringLiteral("x2"), QStringLiteral("1"), kNone, QStringLiteral("0")}
               << std::nullopt;
  e.apply(GsaTool::Condition, 4, 4, a);
  e.doc.grid.setText(5, 4, QStringLiteral("?"));  // not a label: its combo stays open
  e.apply(GsaTool::Condition, 4, 4, a);
  EXPECT_EQ(a.operatorPresets, (QStringList{QString(), QStringLiteral("y1")}));
  ASSERT_EQ(a.conditionPresets.size(), 2);
  const ConditionBlock& second = a.conditionPresets[1];
  EXPECT_EQ(second.text, QStringLiteral("x2"));
  EXPECT_EQ(second.left, QStringLiteral("1"));
  EXPECT_EQ(second.right, QString());
  EXPECT_EQ(second.down, QStringLiteral("0"));
}

TEST(GsaTools, CancelledDialogPlacesNothingButCountsAsAnEdit) {
  for (GsaTool tool : {GsaTool::Operator, GsaTool::Condition, GsaTool::Connector}) {
    Editor e;
    Answers a;
    a.operators << std::nullopt;
    a.conditions << std::nullopt;
    a.connectors << std::nullopt;
    e.apply(tool, 2, 59, a);
    EXPECT_EQ(e.doc.grid, GsaGridList()) << int(tool);
    EXPECT_TRUE(e.modified);
    EXPECT_TRUE(e.undoAvailable());
  }
}

TEST(GsaTools, TwoCellBlocksAppendARowOnlyInTheLastRow) {
  struct Case {
    GsaTool tool;
    int row, rowsAfter;
  } cases[] = {{GsaTool::Splitter, 58, 60},
               {GsaTool::Splitter, 59, 61},
               {GsaTool::Connector, 58, 60},
               {GsaTool::Connector, 59, 61}};
  for (const Case& c : cases) {
    Editor e;
    Answers a;
    a.connectors << QStringLiteral("D");
    e.apply(c.tool, 0, c.row, a);
    EXPECT_EQ(e.doc.grid.rowCount(), c.rowsAfter);
    EXPECT_FALSE(e.doc.grid.isEmptyCell(0, c.row + 1));
    ASSERT_TRUE(e.undo());
    EXPECT_EQ(e.doc.grid.rowCount(), 60);
  }
}

TEST(GsaTools, DeletingTakesThePartnerAndTheLabels) {
  struct Case {
    const char* what;
    std::initializer_list<Cell> before;
    int col, row;  // deleted
    std::initializer_list<Cell> after;
  } cases[] = {
      {"connector, lower half",
       {{3, 10, "", 19}, {3, 11, "C", 6}},
       3,
       11,
       {{3, 10, "", 255}, {3, 11, "", 255}}},
      {"connector, upper half",
       {{3, 10, "", 19}, {3, 11, "C", 6}},
       3,
       10,
       {{3, 10, "", 255}, {3, 11, "C", 255}}},
      {"splitter, upper half", {{3, 10, "", 5}, {3, 11, "", 18}}, 3, 10, {{3, 11, "", 255}}},
      {"splitter, legs", {{3, 10, "", 5}, {3, 11, "", 18}}, 3, 11, {{3, 10, "", 255}}},
      {"condition",
       {{3, 10, "x1", 2}, {2, 10, "нет перехода", 13}, {4, 10, "1", 10}, {3, 11, "0", 11}},
       3,
       10,
       {{3, 10, "", 255}, {2, 10, "", 13}, {4, 10, "", 255}, {3, 11, "", 255}}},
      {"condition in the corner", {{0, 59, "x1", 2}, {1, 59, "1", 10}}, 0, 59, {{1, 59, "", 255}}},
      {"operator", {{3, 10, "y1", 1}, {3, 11, "", 11}}, 3, 10, {{3, 10, "", 255}, {3, 11, "", 11}}},
  };
  for (const Case& c : cases) {
    Editor e;
    for (const Cell& b : c.before)
      e.doc.grid.setCell(b.col, b.row, {QString::fromUtf8(b.text), QString::number(b.kind)});
    Answers a;
    e.apply(GsaTool::Delete, c.col, c.row, a);
    expectCells(e.doc.grid, c.after, c.what);
    EXPECT_EQ(e.doc.grid.rowCount(), 60) << c.what;
  }
}

TEST(GsaTools, EveryEditIsUndoneOnceAndMarksTheFlowchartModified) {
  struct Case {
    const char* what;
    void (*edit)(Editor&, gsa::BlockAsker&);
  } cases[] = {
      {"placing", [](Editor& e, gsa::BlockAsker& a) { e.apply(GsaTool::End, 1, 5, a); }},
      {"adding a row", [](Editor& e, gsa::BlockAsker&) { ASSERT_TRUE(e.addRow()); }},
      {"clearing", [](Editor& e, gsa::BlockAsker&) { e.clear(); }},
  };
  for (const Case& c : cases) {
    Editor e;
    Answers a;
    EXPECT_FALSE(e.undo());
    e.apply(GsaTool::Start, 1, 1, a);
    const GsaGridList before = e.doc.grid;
    e.modified = false;  // as after a save
    c.edit(e, a);
    EXPECT_TRUE(e.modified) << c.what;
    ASSERT_TRUE(e.undo()) << c.what;
    EXPECT_EQ(e.doc.grid, before) << c.what;
    EXPECT_TRUE(e.modified) << c.what;
    EXPECT_FALSE(e.undo()) << c.what;
  }
}
