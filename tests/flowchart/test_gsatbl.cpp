// The check's messages and verdicts, and the conversion of hand-traced flowcharts into
// tables; every table the conversion makes compiles.
#include <gtest/gtest.h>

#include "servers/fsmcompiler.h"
#include "tests/flowchart/gsapicture.h"
#include "velmora/flowchart/core/gsatbl.h"

using namespace velmora;

using namespace gsatest;

namespace {

const QString kOpen = QString::fromUtf8("Незавершенная связь или отсутствует соединение.");

void expectCompiles(const TableData& t) {
  for (const fsm::Type& type : {fsm::Type{1, 2, 1, 2}, fsm::Type{0, 0, 1, 0}}) {
    fsm::Compiler c;
    c.setType(type.states, type.outputs, type.inputs, type.triggers);
    for (const TableRow& r : t.rows) c.addSource(r.si, r.y, r.x, r.sj);
    EXPECT_EQ(c.make(), 0) << c.status().toStdString();
  }
}

}  // namespace

TEST(GsaCheck, MessagesVerdictsAndPositions) {
  const struct {
    const char* name;
    GsaDocument doc;
    int verdict;
    QStringList messages;
  } cases[] = {
      {"empty grid",
       GsaDocument(),
       TGSATbl::NoEnd,
       {QString::fromUtf8("[0, 0] Отсутствует начальная вершина."),
        QString::fromUtf8("[0, 0] Отсутствует конечная вершина.")}},
      {"two starts, two ends",
       document(picture({"3 4 3 4"})),
       TGSATbl::ManyEnds,
       {QString::fromUtf8("[0, 0] Начальных вершин более одной."),
        QString::fromUtf8("[0, 0] Конечных вершин более одной.")}},
      {"vertical line in row 0, horizontal line in the last column",
       document(picture({"3 . 11", "4 . .", ". 11 10"})),
       TGSATbl::OpenRight,
       {"[2, 0] " + kOpen, "[2, 0] " + kOpen, "[1, 2] " + kOpen, "[1, 2] " + kOpen, "[2, 2] " + kOpen}},
      {"automatic naming, operator text begins with the event letter",
       document(picture({"3", "11", "1:s1", "11", "4"})),
       TGSATbl::EventNameFound,
       {QString::fromUtf8("[0, 2] В операторной вершине найдено имя события. Возможно, неверно "
                          "выбран режим 'Автоматическое присвоение имен'.")}},
      {"the same with an open link elsewhere",
       document(picture({"3 .", "11 .", "1:s1 10", "11 .", "4 ."})),
       TGSATbl::OpenRight,
       {"[1, 2] " + kOpen,
        QString::fromUtf8("[0, 2] В операторной вершине найдено имя события. Возможно, неверно "
                          "выбран режим 'Автоматическое присвоение имен'.")}},
      {"user naming, operator text begins with the output letter",
       document(picture({"3", "11", "1:y1", "11", "4"}), true),
       TGSATbl::EventNameMissing,
       {QString::fromUtf8("[0, 2] В операторной вершине не найдено имя события. Возможно, нужно "
                          "выбрать режим 'Автоматическое присвоение имен'.")}},
      {"condition tested above only", document(picture({"2:x1 3 4"})), TGSATbl::OpenUp, {"[0, 0] " + kOpen}},
  };
  for (const auto& c : cases) {
    TGSATbl t;
    EXPECT_EQ(t.Check(c.doc), c.verdict) << c.name;
    EXPECT_EQ(t.messages(), c.messages) << c.name;
    for (int i = 0; i < t.messages().size(); ++i)  // the positions a double click selects
      EXPECT_TRUE(t.messages()[i].startsWith(
          QStringLiteral("[%1, %2] ").arg(t.messageCols().value(i)).arg(t.messageRows().value(i))));
  }
  EXPECT_FALSE(TGSATbl::mayConvert(TGSATbl::OpenRight));
  EXPECT_TRUE(TGSATbl::mayConvert(TGSATbl::EventNameFound));
}

TEST(GsaCheck, ALetterOfTwoCharactersNeverMatches) {
  GsaDocument doc = document(picture({"3", "11", "1:sa", "11", "4"}));
  doc.eventLetter = QStringLiteral("sa");
  TGSATbl t;
  EXPECT_EQ(t.Check(doc), TGSATbl::Passed);
}

TEST(GsaConvert, HandTracedFlowcharts) {
  const struct {
    const char* name;
    GsaDocument doc;
    QList<TableRow> rows;
  } cases[] = {
      {"start, operator, end", document(picture({"3:y0", "11", "1:y1", "11", "4:yk"})),
       rows({{"s0", "y0", "1", "s1"}, {"s1", "y1", "1", "sk"}})},
      {"condition: 1 to the left, 0 to the right, no transition down",
       document(picture({".    3     .", ".    11    .", ".    1:y1  .", ".    11    .", "12:1 2:x1  13:0",
                         "11   255:нет_перехода 11", "1:y2 .     11", "14   10    16", ".    .     4"})),
       rows({{"s0", "y0", "1", "s1"},
             {"s1", "y1", "x1", "s2"},
             {"", "", "X1", "sk"},
             {"s2", "y2", "1", "sk"}})},
      {"nested condition on the 1 exit",
       document(picture({"3      .     .", "11     .     .", "2:x1   10:0  13", "11:1   .     11",
                         "2:x2   10:0  16", "11:1   .     11", "4      10    15"})),
       rows({{"s0", "y0", "x1&x2", "sk"}, {"", "", "x1&X2", "sk"}, {"", "", "X1", "sk"}})},
      {"splitter with three legs, disjunctive connector",
       document(picture({".    3    .", ".    11   .", ".    5    .", "12   18   13", "11   11   11",
                         "1:y1 1:y2 1:y3", "14   19   15", ".    6:D  .", ".    11   .", ".    4    ."})),
       rows({{"s0", "y0", "1", "s1"},
             {"", "", "1", "s2"},
             {"", "", "1", "s3"},
             {"s1", "y1", "1", "sk"},
             {"s2", "y2", "1", "sk"},
             {"s3", "y3", "1", "sk"}})},
      {"conjunctive connector without MOVE: like a disjunctive one",
       document(picture({".    3    .", ".    11   .", ".    5    .", "12   18   13", "1:y1 .    1:y2",
                         "14   19   15", ".    6:C  .", ".    11   .", "255:нет_перехода 2:x1 13:0",
                         ".    11:1 11", ".    11   1:y3", ".    4    15"})),
       rows({{"s0", "y0", "1", "s1"},
             {"", "", "1", "s2"},
             {"s1", "y1", "x1", "sk"},
             {"", "", "X1", "s3"},
             {"s2", "y2", "x1", "sk"},
             {"", "", "X1", "s3"},
             {"s3", "y3", "1", "sk"}})},
      {"MOVE: the inverted condition under a conjunctive connector becomes the event, "
       "duplicates merged",
       document(picture({".    3    .", ".    11   .", ".    5    .", "12   18   13", "1:y1 .    1:y2",
                         "14   19   15", ".    6:C  .", ".    11   .", "255:нет_перехода 2:x1 13:0",
                         ".    11:1 11", ".    11   1:y3", ".    4    15"}),
                false, true),
       rows({{"s0", "y0", "1", "s1"},
             {"", "", "1", "s2"},
             {"s1", "y1", "x1", "sk"},
             {"X1", "", "1", "s3"},
             {"s2", "y2", "x1", "sk"},
             {"s3", "y3", "1", "sk"}})},
      {"MOVE, user naming: a condition above a conjunctive connector joins the state, sorted",
       document(picture({"3    .    .", "11   .    .", "1:t(y1) . .", "11   .    .", "2:s5 10:0 13",
                         "11:1 .    11", "19   .    11", "6:C  .    11", "11   .    11", "4    10   15"}),
                true, true),
       rows({{"s0", "y0", "1", "t"}, {"s5&t", "y1", "1", "sk"}, {"S5&t", "y1", "1", "sk"}})},
      {"MOVE: a two-literal condition under a conjunctive connector splits into two events",
       document(picture({"3    .    .", "11   .    .", "1:y1 .    .", "11   .    .", "2:x1 10:0 13",
                         "11:1 .    11", "19   .    11", "6:C  .    11", "11   .    11", "2:x2 10:0 16",
                         "11:1 .    11", "4    10   15"}),
                false, true),
       rows({{"s0", "y0", "1", "s1"},
             {"s1", "y1", "x1&x2", "sk"},
             {"x1", "", "1", "sk"},
             {"X2", "", "1", "sk"},
             {"", "", "X1", "sk"}})},
      {"a path crossing itself at a crossing",
       document(picture({".  3  .", ".  11 .", "12 21 13", "11 11 11", "14 15 4"})),
       rows({{"s0", "y0", "1", "sk"}})},
      {"two exits sharing a merge",
       document(picture(
           {".    3    .", ".    11   .", "12:1 2:x1 13:0", "14   20:нет_перехода 15", ".    4    ."})),
       rows({{"s0", "y0", "x1", "sk"}, {"", "", "X1", "sk"}})},
  };
  for (const auto& c : cases) {
    TGSATbl t;
    ASSERT_EQ(t.Check(c.doc), TGSATbl::Passed) << c.name << "\n" << t.messages().join('\n').toStdString();
    const TableData table = t.MakeTable(c.doc);
    EXPECT_EQ(table.rows, c.rows) << c.name;
    expectCompiles(table);
  }
}

TEST(GsaConvert, AWalkRoundALoopOfLinksEnds) {
  // The start's link runs into a ring of links that holds no vertex.
  const GsaDocument doc = document(picture({".  3  4", ".  11 .", "12 16 .", "14 15 ."}));
  TGSATbl t;
  ASSERT_EQ(t.Check(doc), TGSATbl::Passed);
  EXPECT_EQ(t.MakeTable(doc).rows, rows({{"s0", "y0", "", ""}}));
  // A condition whose 0 exit comes back to its own entry.
  const GsaDocument wait = document(picture({". 3", ". 11", "12 16", "14:0 2:x1", ". 11:1", ". 4"}));
  ASSERT_EQ(t.Check(wait), TGSATbl::Passed) << t.messages().join('\n').toStdString();
  EXPECT_EQ(t.MakeTable(wait).rows, rows({{"s0", "y0", "x1", "sk"}, {"", "", "X1", ""}}));
}

TEST(GsaConvert, ExitsLabelledNoTransitionAreNeverFollowed) {
  const GsaDocument doc =
      document(picture({"3 . .", "11 . .", "2:x1 10:нет_перехода 13", "11:1 . 11", "4 10 15"}));
  TGSATbl t;
  ASSERT_EQ(t.Check(doc), TGSATbl::Passed) << t.messages().join('\n').toStdString();
  EXPECT_EQ(t.MakeTable(doc).rows, rows({{"s0", "y0", "x1", "sk"}, {"", "", "X1", ""}}));
}

TEST(GsaConvert, HostileFlowchartsAreCutShortNotCrashedOrHung) {
  // Conditions stacked thousands deep, each the "1" exit of the one above.
  GsaDocument deep = document(GsaGridList(TGSATbl::kMaxDepth + 10, 1));
  deep.grid.setKind(0, 0, GsaKind::Start);
  for (int r = 1; r < deep.grid.rowCount() - 1; ++r) {
    deep.grid.setKind(0, r, GsaKind::Condition);
    deep.grid.setText(0, r, QStringLiteral("1"));
  }
  deep.grid.setKind(0, deep.grid.rowCount() - 1, GsaKind::End);
  TGSATbl t;
  EXPECT_EQ(t.Check(deep), TGSATbl::Passed);
  t.MakeTable(deep);
  EXPECT_TRUE(t.cutShort());

  // Forty conditions whose two exits meet again below: the paths double at each.
  GsaGridList g(2 + 2 * 40 + 1, 3);
  g.setKind(1, 0, GsaKind::Start);
  g.setKind(1, 1, GsaKind::VertLine);
  for (int k = 0; k < 40; ++k) {
    const int r = 2 + 2 * k;
    g.setCell(0, r, {QStringLiteral("1"), QStringLiteral("12")});
    g.setCell(1, r, {QStringLiteral("x%1").arg(k), QStringLiteral("2")});
    g.setCell(2, r, {QStringLiteral("0"), QStringLiteral("13")});
    g.setKind(0, r + 1, GsaKind::CornerUpRight);
    g.setKind(1, r + 1, GsaKind::MergeBoth);
    g.setKind(2, r + 1, GsaKind::CornerUpLeft);
  }
  g.setKind(1, g.rowCount() - 1, GsaKind::End);
  ASSERT_EQ(t.Check(document(g)), TGSATbl::Passed) << t.messages().join('\n').toStdString();
  const int made = int(t.MakeTable(document(g)).rows.size());
  EXPECT_GE(made, TGSATbl::kMaxTableRows);
  EXPECT_LE(made, TGSATbl::kMaxTableRows + 40) << "only the walks under way finish their row";
  EXPECT_TRUE(t.cutShort());
  // A plain flowchart is whole.
  t.MakeTable(document(picture({"3", "11", "4"})));
  EXPECT_FALSE(t.cutShort());
}
