// The simulator engine and the determinizer.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QTemporaryDir>

#include "servers/fsmcompiler.h"
#include "servers/fsmdeterminizer.h"
#include "servers/fsmformat.h"
#include "servers/fsmsimulator.h"

using namespace fsm;

namespace {

Model build(std::initializer_list<std::array<const char*, 4>> rows, Type type = Type()) {
  Compiler c;
  c.setType(type.states, type.outputs, type.inputs, type.triggers);
  for (const auto& r : rows)
    c.addSource(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]), QString::fromUtf8(r[2]),
                QString::fromUtf8(r[3]));
  EXPECT_EQ(c.make(), 0) << c.status().toStdString();
  return c.model();
}

// The rows of the worked example: a fork into two parallel events and back.
Model forkJoin() {
  return build(
      {{"s0", "y1", "x1", "s1"}, {"", "", "x2", "s2"}, {"s1", "y2", "1", "s0"}, {"s2", "y3", "1", "s0"}});
}

}  // namespace

TEST(Simulator, ForkAndJoin) {
  Simulator sim;
  sim.setModel(forkJoin());
  EXPECT_EQ(sim.setState("s0"), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s0"));
  EXPECT_EQ(sim.out(), QStringLiteral("y1"));
  EXPECT_EQ(sim.doStep("x1&x2"), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s1&s2"));
  EXPECT_EQ(sim.out(), QStringLiteral("y2&y3"));
  EXPECT_EQ(sim.doStep(""), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s0"));
  EXPECT_EQ(sim.doStep("X1&X2"), 2);
  EXPECT_EQ(sim.state(), QStringLiteral("s0"));  // unchanged
  EXPECT_TRUE(sim.status().contains(QStringLiteral("Нет перехода")));
  EXPECT_EQ(sim.doStep("x1&X2"), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s1"));
}

TEST(Simulator, StatusCodes) {
  Simulator sim;
  EXPECT_EQ(sim.setState("s0"), -1);
  EXPECT_EQ(sim.doStep("x1"), -1);
  sim.setModel(build({{"s0", "y1", "x1", "s1"}, {"s1", "y2", "0", "0"}}));
  EXPECT_EQ(sim.doStep("x1"), -1);  // no state yet
  EXPECT_EQ(sim.status(), QStringLiteral("Состояние не задано"));
  EXPECT_EQ(sim.setState("s9"), -1);
  EXPECT_EQ(sim.status(), QStringLiteral("Состояние 's9': событие 's9' автомату не известно"));
  EXPECT_EQ(sim.setState("S0"), -1);
  EXPECT_EQ(sim.status(), QStringLiteral("Состояние 'S0': событие 's0' не может быть инверсным"));
  EXPECT_EQ(sim.setState("s0 s1"), -1);
  EXPECT_EQ(sim.status(), QStringLiteral("Состояние 's0 s1': позиция 4: пропущен разделитель '&'"));
  EXPECT_EQ(sim.setState(""), 1);
  EXPECT_EQ(sim.state(), QString());
  EXPECT_EQ(sim.doStep("x1"), 1);
  EXPECT_EQ(sim.setState(" s1 "), 0);
  EXPECT_EQ(sim.out(), QStringLiteral("y2"));
  EXPECT_EQ(sim.doStep("x1"), 1);  // s1 has no transitions
  EXPECT_TRUE(sim.status().contains(QStringLiteral("Нет событий")));
  EXPECT_EQ(sim.setState("s0"), 0);
  EXPECT_EQ(sim.doStep("x1&X1"), -1);
  EXPECT_EQ(sim.state(), QStringLiteral("s0"));
  // A signal the automaton does not know is skipped with a note.
  EXPECT_EQ(sim.doStep("x1&q7"), 0);
  EXPECT_TRUE(sim.status().contains(QStringLiteral("'q7'")));
  EXPECT_EQ(sim.state(), QStringLiteral("s1"));
}

// The joint model's operational automaton answers "сигнал неопределен" when it knew no output of
// the step (a state without outputs): only an unconditional transition can be taken then.
TEST(Simulator, AnInputOfWhichNothingIsKnownTakesOnlyUnconditionalTransitions) {
  const QString unknown = QStringLiteral("сигнал неопределен");
  struct Case {
    Model model;
    int code;
    QString state;  // after the step
    QString text;   // a part of the status text
  };
  const Case cases[] = {
      {build({{"s0", "", "1", "s1"}, {"s1", "y1", "x1", "s0"}}), 0, "s1", "безусловный переход из s0 в s1"},
      {build({{"s0", "y1", "x1", "s1"}, {"", "", "1", "s2"}, {"s1", "", "0", "0"}, {"s2", "", "0", "0"}}), 0,
       "s2", "безусловный переход из s0 в s2"},
      {build({{"s0", "", "x1", "s1"}, {"", "", "X1", "s0"}, {"s1", "y1", "0", "0"}}), 2, "s0",
       "безусловного перехода нет"},
      {build({{"s0", "", "0", "0"}, {"s1", "y1", "1", "s0"}}), 2, "s0", "Нет перехода из состояния s0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    Simulator sim;
    sim.setModel(c.model);
    ASSERT_EQ(sim.setState("s0"), 0);
    EXPECT_EQ(sim.doStep(unknown), c.code);
    EXPECT_EQ(sim.state(), c.state);
    EXPECT_TRUE(sim.status().contains(c.text)) << sim.status().toStdString();
  }
}

// The operational automaton compares output names exactly: they come back as the table wrote
// them, through the file too, while the automaton itself matches them in any case.
TEST(Simulator, OutputsKeepTheTablesSpelling) {
  const Model m = build({{"s0", "yAb&y2", "x1", "s1"}, {"s1", "yab&y2Z", "1", "s0"}});
  ASSERT_EQ(m.outputs, (QStringList{"yAb", "y2", "y2Z"}));
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(FsmFile::write(dir.filePath("c.fsm"), m, &error));
  Simulator sim;
  ASSERT_EQ(sim.load(dir.filePath("c.fsm")), 0);
  EXPECT_EQ(sim.setState("s0"), 0);
  EXPECT_EQ(sim.out(), QStringLiteral("yAb&y2"));
  EXPECT_EQ(sim.doStep("x1"), 0);
  EXPECT_EQ(sim.out(), QStringLiteral("yAb&y2Z"));
}

TEST(Simulator, KeysWithSeveralAndInvertedEvents) {
  Simulator sim;
  sim.setModel(build({{"s1&s2", "y1", "1", "s3"},
                      {"s1&S2", "y2", "1", "s4"},
                      {"s3", "", "1", "s1&s2"},
                      {"s4", "", "0", "0"}}));
  EXPECT_EQ(sim.setState("s1&s2"), 0);
  EXPECT_EQ(sim.out(), QStringLiteral("y1"));
  EXPECT_EQ(sim.doStep(""), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s3"));
  EXPECT_EQ(sim.setState("s1"), 0);
  EXPECT_EQ(sim.out(), QStringLiteral("y2"));
  EXPECT_EQ(sim.doStep(""), 0);
  EXPECT_EQ(sim.state(), QStringLiteral("s4"));
}

TEST(Simulator, LoadsTheCompiledFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.fsm");
  QString error;
  ASSERT_TRUE(FsmFile::write(path, forkJoin(), &error));
  Simulator sim;
  EXPECT_EQ(sim.load(path), 0);
  EXPECT_EQ(sim.setState("s0"), 0);
  EXPECT_EQ(sim.load(dir.filePath("missing.fsm")), -1);
  EXPECT_FALSE(sim.loaded());
  EXPECT_EQ(sim.setState("s0"), -1);
  EXPECT_TRUE(sim.status().contains(QStringLiteral("Автомат не загружен")));
}

TEST(SimSession, StepBackAndReset) {
  SimSession s;
  s.setModel(forkJoin());
  EXPECT_EQ(s.step("x1"), -1);  // nothing started yet
  EXPECT_EQ(s.startText(), QStringLiteral("s0"));
  EXPECT_EQ(s.reset("s0"), 0);
  ASSERT_EQ(s.history().size(), 1);
  EXPECT_EQ(s.step("x1&x2"), 0);
  EXPECT_EQ(s.step("X1"), 0);
  ASSERT_EQ(s.history().size(), 3);
  EXPECT_EQ(s.history()[1].state, QStringLiteral("s1&s2"));
  EXPECT_EQ(s.history()[1].outputs, QStringLiteral("y2&y3"));
  EXPECT_EQ(s.history()[2].step, 2);
  EXPECT_EQ(s.step("X1&X2"), 2);  // refused steps are not history
  EXPECT_EQ(s.history().size(), 3);
  EXPECT_TRUE(s.back());
  EXPECT_TRUE(s.back());
  EXPECT_FALSE(s.back());
  EXPECT_EQ(s.simulator().state(), QStringLiteral("s0"));
  EXPECT_EQ(s.reset("nonsense"), -1);  // a faulty start keeps the run as it was
  EXPECT_EQ(s.history().size(), 1);
}

TEST(Determinizer, ForkJoinBecomesTwoStatesPerSet) {
  const Model m = forkJoin();
  Determinizer det(m);
  QVector<Successor> groups;
  QString error;
  ASSERT_TRUE(det.successors(Set{1}, &groups, &error));
  ASSERT_EQ(groups.size(), 4);  // X1&X2, X1&x2, x1&X2, x1&x2
  EXPECT_EQ(m.conditionText(groups[0].condition), QStringLiteral("X1&X2"));
  EXPECT_TRUE(groups[0].targets.isEmpty());
  EXPECT_EQ(m.conditionText(groups[1].condition), QStringLiteral("X1&x2"));
  EXPECT_EQ(groups[1].targets, (Set{3}));
  EXPECT_EQ(groups[3].targets, (Set{2, 3}));

  DetResult r;
  ASSERT_TRUE(det.run(Set{1}, &r, &error));
  ASSERT_EQ(r.states.size(), 4);  // {s0}, {s2}, {s1}, {s1,s2}
  EXPECT_EQ(r.states[1].events, (Set{3}));
  EXPECT_EQ(r.states[3].events, (Set{2, 3}));
  EXPECT_EQ(r.states[3].outputs, (Set{2, 3}));
  EXPECT_EQ(r.notes.size(), 1);  // X1&X2 leads nowhere
  const QStringList lines = det.tableLines(r, "a");
  const QStringList expected = {"Binary", "a0", "y1",    "X1&x2", "a1",    "",   "",  "x1&X2", "a2",
                                "",       "",   "x1&x2", "a3",    "a1",    "y3", "1", "a0",    "a2",
                                "y2",     "1",  "a0",    "a3",    "y2&y3", "1",  "a0"};
  EXPECT_EQ(lines, expected);
  // The table it writes compiles again into a deterministic automaton.
  Compiler c;
  for (int i = 1; i + 3 < lines.size(); i += 4)
    c.addSource(lines[i], lines[i + 1], lines[i + 2], lines[i + 3]);
  EXPECT_EQ(c.make(), 0) << c.status().toStdString();
}

TEST(Determinizer, UnconditionalTargetsJoinEveryGroup) {
  const Model m =
      build({{"s0", "", "x1", "s1"}, {"", "", "1", "s2"}, {"s1", "", "0", "0"}, {"s2", "", "0", "0"}});
  Determinizer det(m);
  QVector<Successor> groups;
  QString error;
  ASSERT_TRUE(det.successors(Set{1}, &groups, &error));
  ASSERT_EQ(groups.size(), 2);
  EXPECT_EQ(groups[0].targets, (Set{3}));
  EXPECT_EQ(groups[1].targets, (Set{2, 3}));
  DetResult r;
  ASSERT_TRUE(det.run(Set{1}, &r, &error));
  EXPECT_EQ(r.states.size(), 3);
  EXPECT_TRUE(r.states[1].transitions.isEmpty());
  EXPECT_EQ(det.tableLines(r, "q").mid(9, 4), (QStringList{"q1", "", "0", "0"}));
}

TEST(Determinizer, AbstractInputsGroupByLetter) {
  const Model m =
      build({{"s0", "", "z1", "s1"}, {"", "", "z1", "s2"}, {"", "", "1", "s3"}, {"s9", "", "z2", "s0"}},
            Type{0, 2, 0, 0});
  Determinizer det(m);
  QVector<Successor> groups;
  QString error;
  ASSERT_TRUE(det.successors(Set{1}, &groups, &error));
  ASSERT_EQ(groups.size(), 2);
  EXPECT_EQ(groups[0].condition, (Set{1}));
  EXPECT_EQ(groups[0].targets, (Set{2, 3, 4}));
  EXPECT_EQ(groups[1].condition, (Set{2}));
  EXPECT_EQ(groups[1].targets, (Set{4}));
  DetResult r;
  ASSERT_TRUE(det.run(Set{1}, &r, &error));
  EXPECT_EQ(det.tableLines(r, "a").first(), QStringLiteral("Abstract"));
}

TEST(Determinizer, MovesUnderConditionsPastTheCompactRangeKeepTheirConditions) {
  // One state with a move under each of 20,000 letters: the first 16,384 conditions fit a
  // packed move, the rest do not.
  Model m;
  m.type = Type{0, 0, 0, 0};
  m.events << "s1"
           << "s2";
  m.start = Set{1};
  Line line;
  line.key = Set{1};
  for (int l = 1; l <= 20000; ++l) {
    m.inputs << QStringLiteral("z%1").arg(l);
    Transition t;
    t.condition = Set{l};
    t.targets << 2;
    line.transitions << t;
  }
  m.lines << line;
  DetResult r;
  QString error;
  ASSERT_TRUE(Determinizer(m).run(m.start, &r, &error)) << error.toStdString();
  ASSERT_EQ(r.states.size(), 2);
  ASSERT_EQ(r.states.moveCount(0), 20000);
  for (int i : {0, 16383, 16384, 19999}) {
    const DetStates::Move mv = r.states.move(0, i);
    EXPECT_EQ(r.states.conditions()[mv.condition], (Set{i + 1})) << i;
    EXPECT_EQ(mv.target, 1) << i;
  }
}

TEST(Determinizer, StartSetAndLimits) {
  const Model m = forkJoin();
  Determinizer det(m);
  Set s;
  QString error;
  EXPECT_TRUE(det.parseStart("s1 & s2", &s, &error));
  EXPECT_EQ(s, (Set{2, 3}));
  EXPECT_FALSE(det.parseStart("", &s, &error));
  EXPECT_EQ(error, QStringLiteral("не задано ни одного события"));
  EXPECT_FALSE(det.parseStart("s7", &s, &error));
  EXPECT_EQ(error, QStringLiteral("событие 's7' автомату не известно"));
  EXPECT_FALSE(det.parseStart("S1", &s, &error));
  EXPECT_FALSE(det.parseStart("s1&&s2", &s, &error));
  EXPECT_EQ(error, QStringLiteral("позиция 4: перед '&' пропущено имя"));
  EXPECT_EQ(s, (Set{2, 3}));  // a refused text leaves the set alone
  DetResult r;
  EXPECT_FALSE(det.run(Set(), &r, &error));
  EXPECT_TRUE(Determinizer::validPrefix("a"));
  EXPECT_TRUE(Determinizer::validPrefix(QStringLiteral("сост")));
  EXPECT_FALSE(Determinizer::validPrefix("A"));
  EXPECT_FALSE(Determinizer::validPrefix("1"));
  EXPECT_FALSE(Determinizer::validPrefix(""));

  // Twenty independent conditions from one state would make a million groups.
  Compiler c;
  for (int i = 1; i <= 20; ++i)
    c.addSource(i == 1 ? "s0" : "", "", QStringLiteral("x%1").arg(i), QStringLiteral("s%1").arg(i));
  ASSERT_EQ(c.make(), 0);
  const Model wide = c.model();
  Determinizer w(wide);
  EXPECT_FALSE(w.run(Set{1}, &r, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("групп")));
}
