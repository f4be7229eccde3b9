// The step history: append, change, insert, delete, reset, and what a failed step leaves.
#include <gtest/gtest.h>

#include <memory>

#include "oatestutil.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

namespace {

std::unique_ptr<TModelStep> makeModel(const Description& d, RegisterGrid* grid = nullptr) {
  return std::make_unique<TModelStep>(grid, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
}

QStringList rows(const TModelStep& m) {
  QStringList out;
  for (int i = 0; i < m.RowCount(); ++i)
    out << m.History().Input(i) + " | " + m.History().Values(i) + " | " + m.History().Answer(i);
  return out;
}

// The history a model gets from a reset and appended steps alone.
QStringList appended(const Description& d, const QStringList& inputs) {
  auto m = makeModel(d);
  m->Reset("", "");
  for (const QString& in : inputs) m->ApplySignals(in, 'a');
  return rows(*m);
}

}  // namespace

TEST(TModelStepTest, WorkedExample) {
  Description d = example();
  FakeGrid grid({"A", "B", "C", "DI1"});
  auto m = makeModel(d, &grid);
  EXPECT_EQ(m->RowCount(), 1);
  EXPECT_EQ(m->History().Input(0), "first");
  EXPECT_EQ(m->History().Answer(0), "first");

  EXPECT_EQ(m->Reset("", ""), "X1&X2&X3");
  EXPECT_EQ(m->History().Values(0), "0&0&0&0&");
  EXPECT_EQ(m->GetStepSignals(0), "X1&X2&X3");

  EXPECT_EQ(m->ApplySignals("y1", 'a'), "x1&x2&X3");
  EXPECT_EQ(m->History().Values(1), "200&0&1&0&");
  EXPECT_EQ(m->Position(), 0) << "the former last row is loaded after an append";
  EXPECT_EQ(m->ApplySignals("y2", 'a'), "x1&X2&x3");
  EXPECT_EQ(m->History().Values(2), "201&201&14&201&");
  EXPECT_EQ(m->ApplySignals("y3", 'a'), "x1&x2&X3");
  EXPECT_EQ(m->History().Values(3), "216&228&5&201&");

  EXPECT_EQ(m->ApplySignals("y9", 'a'), "сигнал неопределен");
  EXPECT_EQ(m->History().Values(4), "216&228&5&201&");
  EXPECT_EQ(m->History().Input(4), "y9");
  EXPECT_EQ(m->RowCount(), 5);
  EXPECT_EQ(m->LastInput(), "y9");

  m->Radix = 2;
  m->GoToStep(2);
  EXPECT_EQ(grid.values, QStringList({"Значение", "201", "201", "14", "201"}));
  EXPECT_EQ(m->Position(), 2);
  m->Radix = 0;
  m->GoToStep(3);
  EXPECT_EQ(grid.values, QStringList({"Значение", "11011000", "11100100", "0101", "11001001"}));
}

TEST(TModelStepTest, EmptyInputStillAddsARow) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("y1", 'a');
  EXPECT_EQ(m->ApplySignals("", 'a'), "сигнал неопределен");
  EXPECT_EQ(m->History().Values(2), m->History().Values(1));
  EXPECT_EQ(m->ApplySignals("y1&", 'a'), "x1&x2&X3");
}

TEST(TModelStepTest, ChangeRecomputesLaterRows) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  for (QString in : {"y1", "y2", "y3"}) m->ApplySignals(in, 'a');
  m->GoToStep(2);
  const QString answer = m->ApplySignals("y3", 'c');
  EXPECT_EQ(rows(*m), appended(d, {"y1", "y3", "y3"}));
  EXPECT_EQ(answer, m->GetStepSignals(2));
  EXPECT_EQ(m->History().Input(3), "y3") << "a later row keeps its input";
  EXPECT_EQ(m->Position(), 1) << "the row before the changed one is loaded";
  EXPECT_EQ(m->RowCount(), 4);
}

TEST(TModelStepTest, InsertPutsTheStepAtPosition) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  for (QString in : {"y1", "y2", "y3"}) m->ApplySignals(in, 'a');
  m->GoToStep(2);
  m->ApplySignals("y1", 'i');
  EXPECT_EQ(rows(*m), appended(d, {"y1", "y1", "y2", "y3"}));
  EXPECT_EQ(m->RowCount(), 5);
  EXPECT_EQ(m->Position(), 1);
  // Inserting at the row after the last one appends.
  m->GoToStep(5);
  m->ApplySignals("y2", 'i');
  EXPECT_EQ(rows(*m), appended(d, {"y1", "y1", "y2", "y3", "y2"}));
}

TEST(TModelStepTest, DeleteRecomputesFromTheRowBefore) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  for (QString in : {"y1", "y2", "y3"}) m->ApplySignals(in, 'a');
  m->GoToStep(2);
  m->ApplySignals("", 'd');
  EXPECT_EQ(rows(*m), appended(d, {"y1", "y3"}));
  EXPECT_EQ(m->RowCount(), 3);
  EXPECT_EQ(m->Position(), 1);
  m->GoToStep(2);
  m->ApplySignals("", 'd');
  EXPECT_EQ(rows(*m), appended(d, {"y1"}));
}

TEST(TModelStepTest, TheInitialRowCannotBeTouched) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("y1", 'a');
  m->GoToStep(0);
  const QStringList before = rows(*m);
  for (char mode : {'c', 'i', 'd'}) {
    EXPECT_THROW(m->ApplySignals("y2", mode), EOaRangeError) << mode;
    EXPECT_EQ(rows(*m), before);
    EXPECT_EQ(m->Position(), 0);
  }
  m->GoToStep(2);  // no such row: nothing to change or delete
  EXPECT_THROW(m->ApplySignals("y2", 'c'), EOaRangeError);
  EXPECT_THROW(m->ApplySignals("", 'd'), EOaRangeError);
  EXPECT_THROW(m->ApplySignals("y2", 'x'), EOaSyntaxError);
  EXPECT_EQ(rows(*m), before);
}

TEST(TModelStepTest, FailedStepChangesNothing) {
  Description d = example();
  d.ySignals << "bad";
  d.yItems << QStringList{"A:=7", "B:=Q"};
  FakeGrid grid({"A"});
  auto m = makeModel(d, &grid);
  m->Reset("", "");
  m->ApplySignals("y1", 'a');
  m->ApplySignals("y2", 'a');
  m->GoToStep(1);
  const QStringList before = rows(*m);
  const QString answer = m->Answer();
  for (char mode : {'a', 'c', 'i'}) {
    try {
      m->ApplySignals("y1,bad", mode);
      FAIL() << mode;
    } catch (const EOaNameError& e) {
      EXPECT_EQ(e.message(), "Сигнал bad. Микрооперация \"B:=Q\": неописанный регистр \"Q\"");
    }
    EXPECT_EQ(rows(*m), before) << mode;
    EXPECT_EQ(m->Position(), 1);
    EXPECT_EQ(m->LastInput(), "y2");
    EXPECT_EQ(m->Answer(), answer);
    EXPECT_EQ(m->Element(0).current(), 200) << "the elements keep the row shown";
    EXPECT_EQ(m->Element(0).pending(), 200);
  }
}

// A later row that fails when recomputed leaves the whole history as it was.
TEST(TModelStepTest, FailedReplayChangesNothing) {
  Description d;
  d.blocks = {"reg:", "A[8]", "B[8]"};
  d.ySignals = {"set", "copy", "none"};
  d.yItems = {{"A:=7"}, {"B[0]:=A"}, {}};  // the copy works only while A reads as 0 or 1
  d.xSignals = {"x"};
  d.xValues = {"B[0]"};
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("none", 'a');
  m->ApplySignals("copy", 'a');
  const QStringList before = rows(*m);

  m->GoToStep(1);
  try {
    m->ApplySignals("set", 'c');
    FAIL();
  } catch (const EOaConvertError& e) {
    EXPECT_TRUE(e.message().startsWith("Шаг 2: Сигнал copy.")) << e.message().toStdString();
  }
  EXPECT_EQ(rows(*m), before);
  EXPECT_EQ(m->Position(), 1);

  EXPECT_THROW(m->ApplySignals("set", 'i'), EOaConvertError);
  EXPECT_EQ(rows(*m), before);
  m->ApplySignals("", 'd');  // row 2 is then computed from row 0, where A is still 0
  EXPECT_EQ(rows(*m), appended(d, {"copy"}));
}

TEST(TModelStepTest, FailedResetChangesNothing) {
  Description d;
  d.blocks = {"reg:", "B[8]", "mux:", "DA[8]"};
  d.ySignals = {"copy"};
  d.yItems = {{"B[0]:=DA"}};
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("copy", 'a');
  const QStringList before = rows(*m);
  EXPECT_THROW(m->Reset("DA", "7"), EOaConvertError);
  EXPECT_EQ(rows(*m), before);
  EXPECT_THROW(m->Reset("Q", "7"), EOaNameError);
  EXPECT_THROW(m->Reset("DA", "x"), EOaConvertError);
  EXPECT_EQ(rows(*m), before);
  EXPECT_EQ(m->Reset("DA", "1"), "");
  EXPECT_EQ(m->History().Values(1), "1&1&");
}

TEST(TModelStepTest, ResetSetsOneInitialValue) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  for (QString in : {"y1", "y2", "y3"}) m->ApplySignals(in, 'a');
  EXPECT_EQ(m->Reset("DI1", "300"), "X1&X2&X3");
  EXPECT_EQ(m->History().Values(0), "0&0&0&44&");
  EXPECT_EQ(m->History().Input(0), "first");
  EXPECT_EQ(m->GetStepSignals(0), "X1&X2&X3");
  EXPECT_EQ(m->History().Values(1), "200&0&1&44&") << "later rows are computed again";
  EXPECT_EQ(m->History().Values(2), "201&201&14&201&");
  EXPECT_EQ(m->RowCount(), 4);

  // Setting a register's initial value changes the answers of the later rows as well.
  m->Reset("A", "128");
  EXPECT_EQ(m->History().Values(0), "128&0&0&44&");
  EXPECT_EQ(m->GetStepSignals(0), "x1&X2&X3");
  m->Reset("", "");
  EXPECT_EQ(rows(*m), appended(d, {"y1", "y2", "y3"}));
}

// The bus dialog resets one bus after the other while later rows exist; each reset keeps the
// initial values set before, whatever row the elements were left on.
TEST(TModelStepTest, SuccessiveResetsKeepEachOther) {
  Description d = example();
  d.blocks << "DI2[8]";
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("y1", 'a');
  m->ApplySignals("y2", 'a');
  m->GoToStep(2);
  m->Reset("DI1", "5");
  m->Reset("DI2", "6");
  EXPECT_EQ(m->History().Values(0), "0&0&0&5&6&");
  EXPECT_EQ(m->History().Values(1), "200&0&1&5&6&");
}

TEST(TModelStepTest, NewModelOfTwoElements) {
  Description d;
  d.blocks = {"reg:", "A[4]", "B[4]"};
  d.xSignals = {"x1"};
  d.xValues = {"A[0]"};
  auto m = makeModel(d);
  EXPECT_EQ(rows(*m), QStringList({"first | 0&0& | first"}));
  EXPECT_EQ(m->Reset("", ""), "X1");
  EXPECT_EQ(rows(*m), QStringList({"first | 0&0& | X1"}));
  EXPECT_EQ(m->RowCount(), 1);
  EXPECT_EQ(m->Position(), 0);
  EXPECT_THROW(m->GetStepSignals(1), EOaRangeError);
}

TEST(TModelStepTest, LoadStepOutsideTheHistory) {
  Description d = example();
  auto m = makeModel(d);
  m->Reset("", "");
  m->ApplySignals("y1", 'a');
  m->GoToStep(1);
  m->LoadStep(7);
  EXPECT_EQ(m->Position(), 7);
  EXPECT_EQ(m->Element(0).current(), 200) << "nothing is loaded for a row that does not exist";
  m->LoadStep(-1);
  EXPECT_EQ(m->Element(0).current(), 200);
}

TEST(TOperSaveTest, RowOperations) {
  using V = std::vector<qint32>;
  TOperSave h(1);
  h.Add("first", V{0}, "first");
  h.Add("a", V{1}, "A");
  h.Add("b", V{2}, "B");
  h.InsertAt(1, "n", V{9}, "N");
  ASSERT_EQ(h.count(), 4);
  EXPECT_EQ(h.Input(1), "n");
  EXPECT_EQ(h.Input(2), "a");
  EXPECT_EQ(h.Input(3), "b");
  EXPECT_EQ(h.Values(1), "9&");
  EXPECT_EQ(h.Values(2), "2&") << "only the inputs move; the replay rewrites the rest";
  EXPECT_EQ(h.Values(3), "0&");
  h.SetAt(2, "ans", V{5});
  EXPECT_EQ(h.Input(2), "a");
  EXPECT_EQ(h.Answer(2), "ans");
  h.SetAt(2, "0", "ans2", V{6});
  EXPECT_EQ(h.Input(2), "0") << "an input named 0 is an input like any other";
  h.DeleteAt(0);
  EXPECT_EQ(h.count(), 3);
  EXPECT_EQ(h.Input(0), "n");
  EXPECT_THROW(h.Input(3), EOaRangeError);
  EXPECT_THROW(h.DeleteAt(-1), EOaRangeError);
  EXPECT_THROW(h.InsertAt(5, "", V{0}, ""), EOaRangeError);
  EXPECT_THROW(h.SetAt(3, "", V{0}), EOaRangeError);
}
