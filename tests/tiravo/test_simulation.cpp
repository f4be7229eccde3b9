#include <gtest/gtest.h>

#include "tablehelp.h"
#include "tiravo/sim/autosimulation.h"
#include "tiravo/sim/stephistory.h"

using tablehelp::Row;
using tiravo::AutoSimulation;
using tiravo::StepHistory;

namespace {

std::unique_ptr<FTT> Worked() {
  auto m = std::make_unique<FTT>();
  tablehelp::WorkedTable(*m);
  return m;
}

std::unique_ptr<FTT> Letters() {
  auto m = std::make_unique<FTT>();
  tablehelp::LettersTable(*m);
  return m;
}

}  // namespace

TEST(AutoSimulation, ReportListsEveryStepAndEndsWithoutALineBreak) {
  AutoSimulation sim(Worked());
  EXPECT_TRUE(sim.ReportText().endsWith(QStringLiteral("\\plain\\lang1049\\f5\\fs16\\cf0 \r\n\\par }")));
  sim.SetInitial(USignalSet{1});
  sim.Append(SSignalSet{1, -2});
  sim.Append(SSignalSet{-1, -2});
  const QString report = sim.ReportText();
  EXPECT_TRUE(report.startsWith(
      QStringLiteral("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}")));
  EXPECT_TRUE(report.contains(QStringLiteral("Исходное состояние: \\plain\\f2\\fs16\\cf0 s1\\plain")));
  EXPECT_TRUE(
      report.endsWith(QStringLiteral("\\par Шаг 1:\\tab x1&X2\\tab s2&s3\\tab y2&y3\r\n"
                                     "\\par Шаг 2:\\tab X1&X2\\tab s1\\tab y1\r\n\\par }")));
}

TEST(AutoSimulation, StepIntoNothingReadsUndefinedUnlessTheDeadEndSignalLeadsOn) {
  AutoSimulation sim(Letters());
  sim.SetInitial(USignalSet{1});
  sim.Append(SSignalSet{1});
  sim.Append(SSignalSet{2});
  EXPECT_TRUE(sim.States[2].IsEmpty());
  EXPECT_TRUE(sim.ReportText().endsWith(
      QStringLiteral("\\par Шаг 2:\\tab z2\\tab Не определено\\tab Не определено\r\n\\par }")));
  sim.DeadEndSignal = SSignalSet{1};
  sim.DeadEndOn = true;
  sim.Simulate(0, false);
  EXPECT_EQ(sim.States[2], USignalSet{1});
  sim.DeadEndOn = false;
  sim.Simulate(0, false);
  EXPECT_TRUE(sim.States[2].IsEmpty());
}

TEST(AutoSimulation, EarlyStopLeavesLaterStepsWhenARecomputedSetIsUnchanged) {
  AutoSimulation sim(Worked());
  sim.SetInitial(USignalSet{1});
  for (int i = 0; i < 3; ++i) sim.Append(SSignalSet{-1, -2});  // s1 stays s1
  sim.States[3] = USignalSet{3};                               // a stale set beyond the first unchanged one
  EXPECT_EQ(sim.Simulate(0, true), 0);
  EXPECT_EQ(sim.States[3], USignalSet{3});
  EXPECT_EQ(sim.Simulate(0, false), 3);
  EXPECT_EQ(sim.States[3], USignalSet{1});
}

TEST(AutoSimulation, DeletingAStepKeepsTheSetsBeforeIt) {
  AutoSimulation sim(Worked());
  sim.SetInitial(USignalSet{1});
  sim.Append(SSignalSet{1, -2});  // s2&s3
  sim.Append(SSignalSet{-1, 2});  // s1&s3
  sim.Append(SSignalSet{-1, -2});
  sim.Delete(2);
  ASSERT_EQ(sim.StepCount, 2);
  EXPECT_EQ(sim.States[1], (USignalSet{2, 3}));
  EXPECT_EQ(sim.InputText(2), QStringLiteral("X1&X2"));
  EXPECT_EQ(sim.States[2], USignalSet{1});
  sim.Delete(1);
  EXPECT_EQ(sim.States[0], USignalSet{1});
  EXPECT_EQ(sim.States[1], USignalSet{1});
}

TEST(AutoSimulation, DeletingAnAddedLetterRenumbersTheInputsAboveIt) {
  AutoSimulation sim(Letters());
  EXPECT_EQ(sim.AddLetter(QStringLiteral("z3")), QString());
  EXPECT_EQ(sim.AddLetter(QStringLiteral("z4")), QString());
  EXPECT_EQ(sim.AddLetter(QStringLiteral("Z4")), QStringLiteral("Имя уже присутствует в алфавите"));
  sim.SetInitial(USignalSet{1});
  sim.Append(SSignalSet{4});
  sim.Append(SSignalSet{1});
  EXPECT_FALSE(sim.CanDelete(1));
  EXPECT_FALSE(sim.DeleteLetter(3));  // z4 is in use
  ASSERT_TRUE(sim.DeleteLetter(2));
  EXPECT_EQ(sim.Alphabet(), (QStringList{"z1", "z2", "z4"}));
  EXPECT_EQ(sim.InputText(1), QStringLiteral("z4"));
  EXPECT_EQ(sim.InputText(2), QStringLiteral("z1"));
  sim.RestoreEtalon();
  EXPECT_EQ(sim.Alphabet(), (QStringList{"z1", "z2"}));
}

TEST(AutoSimulation, AppliedFileReplacesSequenceAndAlphabetButKeepsTheInitialSet) {
  AutoSimulation sim(Letters());
  sim.SetInitial(USignalSet{1});
  tiravo::SgnFile file;
  file.Abstract = true;
  file.Etalon = sim.EtalonAlphabet;
  file.Current = {"z1", "z2", "z3"};
  file.Inputs = {SSignalSet{2}, SSignalSet{1}};
  sim.Apply(file);
  EXPECT_EQ(sim.Alphabet(), file.Current);
  EXPECT_EQ(sim.StepCount, 2);
  EXPECT_EQ(sim.States[0], USignalSet{1});
  EXPECT_EQ(sim.States[2], USignalSet{2});
  EXPECT_EQ(sim.ToFile().Inputs, file.Inputs);
}

TEST(StepHistory, WalksTheWorkedTableAndBack) {
  StepHistory h(Worked());
  EXPECT_EQ(h.EventsDisplay(), QStringLiteral("начальное событие не задано"));
  h.SetInitial(USignalSet{1}, QStringLiteral("s1"));
  EXPECT_EQ(h.Lines(), QStringList{QStringLiteral("Начальное событие:s1")});
  EXPECT_EQ(h.GroupItems(), (QStringList{"X1 s1", "x1 s2&s3"}));
  EXPECT_FALSE(h.CanStep());
  ASSERT_TRUE(h.ChooseGroup(1));
  ASSERT_TRUE(h.CanStep());
  ASSERT_TRUE(h.Step());
  EXPECT_EQ(h.Lines().last(), QStringLiteral("шаг 1: из s1 при x1 в s2&s3"));
  EXPECT_EQ(h.StepLabel(), QStringLiteral("(Шаг 2)"));
  EXPECT_EQ(h.GroupItems(), (QStringList{"X2 s1", "x2 s1&s3"}));
  EXPECT_EQ(h.InputDisplay(), QStringLiteral("Входной сигнал не задан"));
  EXPECT_EQ(h.InputPreset(), (SSignalSet{1}));  // the step before's input
  ASSERT_TRUE(h.Back());
  EXPECT_EQ(h.StepLabel(), QStringLiteral("(Шаг 1)"));
  EXPECT_EQ(h.Lines().size(), 1);
}

TEST(StepHistory, ReplayAfterSteppingBackKeepsTheRecordedInputsAndSteps) {
  StepHistory h(Worked());
  h.SetInitial(USignalSet{1}, QStringLiteral("s1"));
  for (const SSignalSet& x : {SSignalSet{1, -2}, SSignalSet{-1, 2}, SSignalSet{-1, -2}}) {
    h.SetInput(x, x.ToText(h.Model().XNames));
    ASSERT_TRUE(h.Step());
  }
  h.Back();
  h.Back();
  ASSERT_TRUE(h.CanStep());
  h.Step();
  EXPECT_EQ(h.Lines().size(), 3);  // the initial line and two steps
  EXPECT_EQ(h.CurrentRecord().inputText, QStringLiteral("X1&X2"));
  EXPECT_EQ(h.Records().size(), 4u);
  EXPECT_TRUE(h.CanStep());
}

TEST(StepHistory, EmptyNextSetAndUnfinishedGroupsAreShownAsSuch) {
  auto m = std::make_unique<FTT>();
  Row(*m, "s1", "y1", "x1", "s2");
  StepHistory h(std::move(m));
  h.SetInitial(USignalSet{1}, QStringLiteral("s1"));
  EXPECT_EQ(h.GroupItems(), (QStringList{"X1 незаконченный переход", "x1 s2"}));
  h.ChooseGroup(0);
  h.Step();
  EXPECT_EQ(h.EventsDisplay(), QStringLiteral("?Событие?-пустое событие, переходы неопределены"));
  EXPECT_FALSE(h.CanStep());
}
