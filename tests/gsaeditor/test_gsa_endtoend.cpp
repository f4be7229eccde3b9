// A user draws a small flowchart with the mouse, converts it into a table and compiles the
// table with our compiler server, all through the windows.
#include "tests/gsaeditor/gsahelpers.h"

#include <QListWidget>

using namespace gsatest;

namespace {

const QString kNone = QStringLiteral("нет перехода");

class GsaEndToEnd : public GsaFrame {};

QStringList rowsOf(const TableData& t) {
  QStringList out;
  for (const TableRow& r : t.rows) out << r.si + "|" + r.y + "|" + r.x + "|" + r.sj;
  return out;
}

}  // namespace

// start
//   |
//   y1
//   |
//   x1 --0--┐
//   |1      y2
//   ├-------┘
//   end
TEST_F(GsaEndToEnd, DrawConvertAndCompile) {
  TGSAForm* w = newGsa();
  place(w, GsaTool::Start, {{2, 0}});
  place(w, GsaTool::VertLine, {{2, 1}, {2, 3}, {4, 5}});
  tool(GsaTool::Operator);
  answerOperator(QStringLiteral("y1"));
  click(w, 2, 2);
  tool(GsaTool::Condition);
  answerCondition(QStringLiteral("x1"), kNone, QStringLiteral("0"), QStringLiteral("1"));
  click(w, 2, 4);
  place(w, GsaTool::Corner2, {{4, 4}});
  tool(GsaTool::Operator);
  answerOperator(QStringLiteral("y2"));
  click(w, 4, 6);
  place(w, GsaTool::Corner4, {{4, 7}});
  place(w, GsaTool::HorLine, {{3, 7}});
  place(w, GsaTool::VertLine, {{2, 5}, {2, 6}});
  place(w, GsaTool::MergeRight, {{2, 7}});
  place(w, GsaTool::End, {{2, 8}});
  // A slip, taken back at once.
  place(w, GsaTool::Crossing, {{9, 9}});
  w->UndoItemClick();

  frame->ui().ToTblAction->trigger();
  EXPECT_EQ(w->MessageList->count(), 0);
  ASSERT_NE(frame->lastTableForm, nullptr);
  TVexoTableForm* table = frame->lastTableForm;
  EXPECT_EQ(table->windowTitle(), QStringLiteral("Untitled - таблица"));
  EXPECT_EQ(rowsOf(table->tableData()), (QStringList{"s0|y0|1|s1", "s1|y1|x1|sk", "||X1|s2", "s2|y2|1|sk"}));

  dlg::Script s;
  ASSERT_TRUE(table->Compile(false)) << table->messagesText().toStdString();
  EXPECT_TRUE(table->messagesText().startsWith(QStringLiteral("Компиляция завершена без ошибок.")));
  EXPECT_TRUE(s.shown.isEmpty());
}
