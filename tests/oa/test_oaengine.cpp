// Microoperations, conditions and the register grid.
#include <gtest/gtest.h>

#include <climits>

#include "oatestutil.h"
#include "velmora/oa/oaerrors.h"

using namespace velmora;

namespace {

// A model of registers R1[4], R2[8], R3[8], R4[32] and the bus D[8], with one output signal
// "y" whose microoperations the test sets, and one input signal per condition.
struct Rig {
  Description d;
  FakeGrid grid;
  std::unique_ptr<TModelOA> model;

  explicit Rig(const QStringList& ops = {}, const QStringList& conditions = {}) {
    d.blocks = {"reg:", "R1[4]", "R2[8]", "R3[8]", "R4[32]", "mux:", "D[8]"};
    d.ySignals = {"y"};
    d.yItems = {ops};
    for (int i = 0; i < conditions.size(); ++i) d.xSignals << QString("x%1").arg(i + 1);
    d.xValues = conditions;
    grid = FakeGrid({"R1", "R2", "D"});
    model = std::make_unique<TModelOA>(&grid, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  }
  void set(const QString& name, qint32 v) {
    TRegister& r = model->Element(model->FindRegister(name));
    r.SetValue(v);
    r.Commit();
  }
  qint32 val(const QString& name) const { return model->Element(model->FindRegister(name)).current(); }
  qint32 pending(const QString& name) const { return model->Element(model->FindRegister(name)).pending(); }
  // One step as the history runs it.
  void step(const QString& input = "y") {
    model->SignalKnown = false;
    model->ApplyInput(input);
    model->CommitAll();
  }
  QString op(const QString& text) {
    d.yItems[0] = {text};
    step();
    return QString();
  }
};

}  // namespace

TEST(TModelOATest, ConstructionShowsValuesInBinary) {
  Rig r;
  EXPECT_EQ(r.model->Radix, 0);
  EXPECT_EQ(r.grid.values, QStringList({"Значение", "0000", "00000000", "00000000"}));
  EXPECT_FALSE(r.model->SignalKnown);
}

TEST(TModelOATest, PlainAssignments) {
  Rig r;
  r.op("R1:=5");
  EXPECT_EQ(r.val("R1"), 5);
  r.op("R1:=20");
  EXPECT_EQ(r.val("R1"), 4);
  r.op("D:=300");
  EXPECT_EQ(r.val("D"), 44);
}

TEST(TModelOATest, AssignmentReadsValuesFromBeforeTheStep) {
  Rig r({"R1:=5", "R2:=R1", "R3:=R2"});
  r.set("R2", 9);
  r.step();
  EXPECT_EQ(r.val("R1"), 5);
  EXPECT_EQ(r.val("R2"), 0);
  EXPECT_EQ(r.val("R3"), 9);
}

TEST(TModelOATest, CutToWidth) {
  Description d;
  d.blocks = {"reg:", "R1[2]", "R2[4]"};
  d.ySignals = {"y"};
  d.yItems = {{"R1:=5", "R2:=!R2"}};
  TModelOA m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.Element(1).SetValue(5);
  m.Element(1).Commit();
  m.ApplyInput("y");
  m.CommitAll();
  EXPECT_EQ(m.Element(0).current(), 1);
  EXPECT_EQ(m.Element(1).current(), 10);
}

TEST(TModelOATest, Arithmetic) {
  Rig r;
  r.set("R2", 20);
  r.set("R3", 7);
  auto run = [&](const QString& text) {
    r.d.yItems[0] = {text};
    r.step();
    return r.val("R4");
  };
  EXPECT_EQ(run("R4:=R2+R3+1"), 28);
  EXPECT_EQ(run("R4:=R2+R3+7"), 28) << "the second sign counts as 1";
  EXPECT_EQ(run("R4:=R2-R3-1"), 12);
  EXPECT_EQ(run("R4:=R2-R3"), 13);
  EXPECT_EQ(run("R4:=R3-R2"), -13);
  EXPECT_EQ(run("R4:=R2&R3"), 20 & 7);
  EXPECT_EQ(run("R4:=R2|R3"), 20 | 7);
  EXPECT_EQ(run("R4:=R2^R3"), 20 ^ 7);
  EXPECT_EQ(run("R4:=R2%R3"), 20 ^ 7);
  EXPECT_EQ(run("R4:=R2+1"), 21);
  EXPECT_EQ(run("R4:=R2-1"), 19);
  EXPECT_EQ(run("R4:=R2+5"), 25) << "a literal operand gives its value";
  EXPECT_EQ(run("R4:=100-R2"), 80);
  EXPECT_EQ(run("R4:=R2[2]+R3[0]"), 2);
  EXPECT_EQ(run("R4:=!R2"), ~20);
  EXPECT_EQ(run("R4:=!5"), ~5);
  EXPECT_EQ(run("R4:=R2[4/2]"), 5) << "a slice stands for the number its bits give";
  EXPECT_EQ(run("R4:=!R2[4/2]"), ~5);
  EXPECT_EQ(run("R4:=R2[4/2]+1"), 6);
  EXPECT_EQ(run("R4:=!R2[2]"), 0);
  EXPECT_EQ(run("R4:=!R2[1]"), 1);
  EXPECT_EQ(run("R4:=0"), 0);
  r.set("R4", 2147483647);
  EXPECT_EQ(run("R4:=R4+1"), INT_MIN) << "32-bit arithmetic wraps";
}

TEST(TModelOATest, IncrementKeepsOtherValues) {
  Rig r({"R2:=R2+1", "R3:=R3-1"});
  r.set("R2", 255);
  r.step();
  EXPECT_EQ(r.val("R2"), 0);
  EXPECT_EQ(r.val("R3"), 255);
}

TEST(TModelOATest, ShiftCalls) {
  Rig r;
  r.set("R2", 6);
  auto run = [&](const QString& text) {
    r.d.yItems[0] = {text};
    r.step();
    return r.val("R3");
  };
  EXPECT_EQ(run("R3:=sl(R2,1)"), 12);
  EXPECT_EQ(run("R3:=SL(R2,1)"), 12);
  EXPECT_EQ(run("R3:=ls(R2,2)"), 24) << "the designer's spelling works too";
  EXPECT_EQ(run("R3:=sr(R2,1)"), 3);
  EXPECT_EQ(run("R3:=RS(R2,1)"), 3);
  EXPECT_EQ(run("R3:=XY(R2,1)"), 0);
  EXPECT_EQ(run("R3:=lc(R2,7)"), 3);
  EXPECT_EQ(run("R3:=rc(R2,1)"), 3);
  EXPECT_EQ(run("R3:=ar(R2,1)"), 3);
  EXPECT_EQ(run("R3:=al(R2,1)"), 12);
  EXPECT_EQ(run("R3:=sl(R2,7)"), 0) << "768 cut to 8 bits";
  EXPECT_EQ(run("R3:=sl(R2, 2)"), 24);
}

TEST(TModelOATest, BitAssignments) {
  Rig r;
  r.set("R2", 0xF0);
  auto run = [&](const QString& text) {
    r.d.yItems[0] = {text};
    r.step();
    return r.val("R2");
  };
  EXPECT_EQ(run("R2[0]:=1"), 0xF1) << "one bit set, the others kept";
  EXPECT_EQ(run("R2[7]:=0"), 0x71);
  EXPECT_EQ(run("R2[3/0]:=0001"), 0x78) << "the first character goes to the lowest bit";
  EXPECT_EQ(run("R2[7/4]:=1000"), 0x18);
  EXPECT_EQ(run("R2[0]:=R1[0]"), 0x18);
  r.set("R1", 1);
  EXPECT_EQ(run("R2[1]:=R1[0]"), 0x1A);
  EXPECT_EQ(run("R2[1]:=!R1[0]"), 0x18);
  r.set("R1", 0b0011);
  EXPECT_EQ(run("R2[3/0]:=R1[3/0]"), 0x1C) << "a slice is read as its bits, most significant first";
  EXPECT_EQ(run("R2[3/0]:=!R1[3/0]"), 0x13);
  EXPECT_THROW(run("R2[3/2]:=R1"), EOaRangeError) << "R1 reads as \"3\": too short for two bits";
  EXPECT_EQ(run("R2[7/4] :=0101"), 0xA3) << "a blank after the bracket is not read";
  EXPECT_EQ(run("R2[7\\4]:=0000"), 0x03) << "the backslash form selects a range too";
}

TEST(TModelOATest, TwoBitWritesInOneStep) {
  // On a register each write starts from the current bits, so the later one wins; on a bus
  // the writes accumulate.
  Rig r({"R2[0]:=1", "R2[1]:=1", "D[0]:=1", "D[1]:=1"});
  r.step();
  EXPECT_EQ(r.val("R2"), 2);
  EXPECT_EQ(r.val("D"), 3);
}

TEST(TModelOATest, BusIsReadWithinTheStep) {
  Rig r({"D:=R2+R3", "R4:=D", "R1:=D"});
  r.set("R2", 200);
  r.set("R3", 100);
  r.step();
  EXPECT_EQ(r.val("R4"), 300) << "a bus written earlier in the step is read uncut";
  EXPECT_EQ(r.val("D"), 44);
  EXPECT_EQ(r.val("R1"), 12);
}

TEST(TModelOATest, InputNamesAndSignalKnown) {
  Description d;
  d.blocks = {"reg:", "A[8]"};
  d.ySignals = {"y1", "y2", ",y2", "y4"};
  d.yItems = {{"A:=A+1"}, {"A:=sl(A,1)"}, {"A:=100"}, {}};
  TModelOA m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.ApplyInput("y9");
  EXPECT_FALSE(m.SignalKnown);
  m.ApplyInput("y1,y2");
  EXPECT_TRUE(m.SignalKnown);
  m.CommitAll();
  EXPECT_EQ(m.Element(0).current(), 0) << "both read the old value; the later write wins";
  m.ApplyInput("y1");
  m.CommitAll();
  m.ApplyInput("y1,y2");
  m.CommitAll();
  EXPECT_EQ(m.Element(0).current(), 2);
  m.ApplyInput("y1,,y2");
  m.CommitAll();
  EXPECT_EQ(m.Element(0).current(), 100) << "y1, then the name \",y2\"";
  m.SignalKnown = false;
  m.ApplyInput("y4");
  EXPECT_TRUE(m.SignalKnown) << "a signal without microoperations is still known";
  m.SignalKnown = false;
  m.ApplyInput("y1&");
  EXPECT_TRUE(m.SignalKnown);
}

TEST(TModelOATest, SignalsWithoutItemsAreHarmless) {
  Description d;
  d.blocks = {"reg:", "A[8]"};
  d.ySignals = {"y1", "y2"};
  d.yItems = {{"A:=1"}};  // fewer items than signals
  TModelOA m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.ApplyInput("y2");
  EXPECT_TRUE(m.SignalKnown);
  m.ExecuteMicrooperation("");
  m.ExecuteMicrooperation("   ");
}

TEST(TModelOATest, Conditions) {
  Rig r({}, {"R2[0]&R2[1]", "R2[0]|R2[1]", "R2[2]", "", "R2[0]&", "R2[0]|"});
  auto answer = [&](qint32 v) {
    r.set("R2", v);
    r.model->EvaluateConditions();
    return r.model->Answer();
  };
  EXPECT_EQ(answer(0), "X1&X2&X3&X4&X5&X6");
  EXPECT_EQ(answer(1), "x1&X2&X3&X4&x5&X6") << "\"&\" holds when either bit is 1";
  EXPECT_EQ(answer(2), "x1&X2&X3&X4&X5&X6");
  EXPECT_EQ(answer(3), "x1&x2&X3&X4&x5&X6") << "\"|\" only when both are; an empty term fails";
  EXPECT_EQ(answer(4), "X1&X2&x3&X4&X5&X6");
}

TEST(TModelOATest, ConditionCaseFollowsLetters) {
  Description d;
  d.blocks = {"reg:", "A[2]"};
  d.xSignals = {"Вход", "x2", "X3"};
  d.xValues = {"A[0]", "A[1]"};  // the third signal has no condition
  TModelOA m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.Element(0).SetValue(1);
  m.Element(0).Commit();
  m.EvaluateConditions();
  EXPECT_EQ(m.Answer(), "вход&X2&X3");
}

TEST(TModelOATest, ShowRegistersInEveryRadix) {
  Rig r;
  r.grid.names << "R2"
               << "nobody";
  r.grid.values << ""
                << "";
  r.set("R1", 10);
  r.set("R2", 200);
  r.set("D", 255);
  r.model->ShowRegisters();
  EXPECT_EQ(r.grid.values, QStringList({"Значение", "1010", "11001000", "11111111", "11001000", ""}));
  r.model->Radix = 1;
  r.model->ShowRegisters();
  EXPECT_EQ(r.grid.values, QStringList({"Значение", "A", "C8", "FF", "C8", ""}));
  r.model->Radix = 2;
  r.model->ShowRegisters();
  EXPECT_EQ(r.grid.values, QStringList({"Значение", "10", "200", "255", "200", ""}));
  r.model->Radix = 3;
  r.model->ShowRegisters();
  EXPECT_EQ(r.grid.values, QStringList({"Значение", "Ошибка", "Ошибка", "Ошибка", "Ошибка", "Ошибка"}));
}

// Each watched row is read and written once per showing, however many elements there are; of
// namesakes the last declared shows, and a name finds the first.
TEST(TModelOATest, ShowRegistersVisitsEachRowOnce) {
  struct Counting : FakeGrid {
    using FakeGrid::FakeGrid;
    mutable int reads = 0;
    int writes = 0;
    QString nameAt(int row) const override { return ++reads, FakeGrid::nameAt(row); }
    void setValueAt(int row, const QString& text) override { ++writes, FakeGrid::setValueAt(row, text); }
  };
  Description d;
  d.blocks = {"reg:", "A[4]", "B[8]", "A[8]"};
  for (int i = 0; i < 5000; ++i) d.blocks << QString("R%1[2]").arg(i);
  Counting grid({"A", "B", "R4999", "nobody"});
  TModelOA m(&grid, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  EXPECT_EQ(m.FindRegister("A"), 0);
  m.Element(0).SetValue(3);
  m.Element(2).SetValue(200);
  m.CommitAll();
  grid.reads = grid.writes = 0;
  m.Radix = 2;
  m.ShowRegisters();
  EXPECT_EQ(grid.values, QStringList({"Значение", "200", "0", "0", ""}));
  EXPECT_EQ(grid.reads, 4);
  EXPECT_EQ(grid.writes, 3);
}

// A name that no element has is an error with the name in its message, never a guess.
TEST(TModelOATest, UnknownNamesAreErrors) {
  Rig r;
  auto message = [&](const QString& text) -> QString {
    try {
      r.model->ExecuteMicrooperation(text);
    } catch (const EOaNameError& e) {
      return e.message();
    }
    return "no error";
  };
  EXPECT_EQ(message("R2:=Q+1"), "Микрооперация \"R2:=Q+1\": неописанный регистр \"Q\"");
  EXPECT_TRUE(message("Q:=1").contains("\"Q\""));
  EXPECT_TRUE(message("R2:=R3+Q").contains("\"Q\""));
  EXPECT_TRUE(message("R2:=Q[1]").contains("\"Q\""));
  EXPECT_TRUE(message("R2:=sl(Q,1)").contains("\"Q\""));
  EXPECT_TRUE(message("R2:=XY(Q,1)").contains("\"Q\""));
  EXPECT_TRUE(message("R2:=r2").contains("\"r2\"")) << "names are case-sensitive";
  EXPECT_TRUE(message("R2 :=1").contains("\"R2 \""));
  EXPECT_EQ(r.pending("R2"), 0);
}

TEST(TModelOATest, RangeAndConversionErrors) {
  Rig r;
  EXPECT_THROW(r.model->ExecuteMicrooperation("R2:=R1[4]"), EOaRangeError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R2:=R1[5/0]"), EOaRangeError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R1[4]:=1"), EOaRangeError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R1[3/0]:=01"), EOaRangeError);
  EXPECT_NO_THROW(r.model->ExecuteMicrooperation("R1[0]:=R2")) << "R2 reads as \"0\"";
  r.set("R2", 5);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R1[0]:=R2"), EOaConvertError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R2:=99999999999"), EOaConvertError);
  EXPECT_NO_THROW(r.model->ExecuteMicrooperation("R4[31/0]:=10000000000000000000000000000001"));
  EXPECT_THROW(r.model->ExecuteMicrooperation("R2:=R3*2"), EOaNameError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("LS(R2,1)"), EOaSyntaxError);
  EXPECT_THROW(r.model->ExecuteMicrooperation("R2:="), EOaSyntaxError);
}

TEST(TModelOATest, ErrorsNameTheSignal) {
  Rig r({"R2:=1", "R3:=Q"});
  try {
    r.model->ApplyInput("y");
    FAIL();
  } catch (const EOaNameError& e) {
    EXPECT_EQ(e.message(), "Сигнал y. Микрооперация \"R3:=Q\": неописанный регистр \"Q\"");
  }
}

TEST(TModelOATest, FaultyConditionsAreErrors) {
  // Every term is checked, also those after one that decides the result.
  Rig r({}, {"R2[0]&Q[1]"});
  r.set("R2", 1);
  try {
    r.model->EvaluateConditions();
    FAIL();
  } catch (const EOaNameError& e) {
    EXPECT_TRUE(e.message().startsWith("Входной сигнал x1")) << e.message().toStdString();
  }
  EXPECT_EQ(r.model->Answer(), "") << "the answer is left as it was";
  Rig wide({}, {"R1[4]"});
  EXPECT_THROW(wide.model->EvaluateConditions(), EOaRangeError);
  Rig mixed({}, {"R1[0]&R1[1]|R1[2]"});
  EXPECT_THROW(mixed.model->EvaluateConditions(), EOaSyntaxError);
  Rig bare({}, {"R1"});
  EXPECT_THROW(bare.model->EvaluateConditions(), EOaSyntaxError);
}

TEST(TModelOATest, ChangedLinesAreReadAfresh) {
  Rig r({"R2:=1"});
  r.step();
  EXPECT_EQ(r.val("R2"), 1);
  r.d.yItems[0][0] = "R2:=2";  // the designer edits the borrowed list in place
  r.step();
  EXPECT_EQ(r.val("R2"), 2);
  r.d.xSignals = {"x1"};
  r.d.xValues = {"R2[1]"};
  r.model->EvaluateConditions();
  EXPECT_EQ(r.model->Answer(), "x1");
  r.d.xSignals[0] = "x7";
  r.model->EvaluateConditions();
  EXPECT_EQ(r.model->Answer(), "x7");
  r.d.ySignals[0] = "w";  // an input once run is matched against the new names
  r.step("y");
  EXPECT_FALSE(r.model->SignalKnown);
  r.step("w");
  EXPECT_TRUE(r.model->SignalKnown);
}

// Any text at all, as a microoperation, a condition or an input, either works or raises one of
// the engine's errors; values never leave their widths.
TEST(TModelOATest, ArbitraryTextsGiveEngineErrorsOnly) {
  const QString alphabet = "R1234D0[]/\\:=!+-^&|%(),slrcaSLXY *#@;\t";
  quint32 seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  auto randomText = [&](int maxLen) {
    QString s;
    const int n = int(next() % quint32(maxLen + 1));
    for (int i = 0; i < n; ++i) s += alphabet[int(next() % quint32(alphabet.size()))];
    return s;
  };
  const QStringList seeds = {"R1:=R2+R3+1",  "R2[3/0]:=0101", "R3:=sl(R2,3)", "D:=!R2[7/4]",
                             "R1[2]:=R2[1]", "R4:=R3-1",      "R2[0]&R3[1]",  "D[7]|R1[0]"};
  Rig r({"R2:=R2+7"}, {"R2[0]"});
  int errors = 0, done = 0;
  for (int round = 0; round < 20000; ++round) {
    QString text;
    if (round % 2) {
      text = seeds[int(next() % quint32(seeds.size()))];
      const int cut = int(next() % quint32(text.size() + 1));
      text = text.left(cut) + randomText(3) + text.mid(cut + int(next() % 3));
    } else {
      text = randomText(14);
    }
    try {
      switch (round % 3) {
        case 0: r.model->ExecuteMicrooperation(text); break;
        case 1:
          r.d.xValues[0] = text;
          r.model->EvaluateConditions();
          break;
        default:
          r.d.ySignals = {text.left(3)};
          r.model->ApplyInput(text);
          break;
      }
      r.model->CommitAll();
      ++done;
    } catch (const EOaError& e) {
      EXPECT_FALSE(e.message().isEmpty());
      ++errors;
    }
    for (int i = 0; i < r.model->Count(); ++i) {
      const TRegister& e = r.model->Element(i);
      if (e.width() < 32) {
        ASSERT_EQ(e.pending(), TRegister::cut(e.pending(), e.width())) << text.toStdString();
      }
    }
  }
  EXPECT_GT(errors, 1000);
  EXPECT_GT(done, 1000);
}
