// On small random nondeterministic tables the determinized automaton accepts
// the same input sequences as the original: every sequence leads both to the
// same event set (a state of the result stands for one) with the same outputs.
#include <gtest/gtest.h>

#include <QSet>
#include <random>

#include "bench/tiravo/nfatable.h"
#include "tests/determfamilies.h"
#include "tests/plainsubsets.h"
#include "tablehelp.h"
#include "tiravo/sim/determ.h"

using determ::Options;
using DRun = determ::Run;
using tablehelp::Row;

namespace {

QString RandomNames(std::mt19937& rng, const char* letter, int count, bool allowEmpty) {
  QStringList names;
  for (int i = 1; i <= count; ++i)
    if (rng() % 2) names << QString("%1%2").arg(letter).arg(i);
  if (names.isEmpty() && !allowEmpty)
    names << QString("%1%2").arg(letter).arg(1 + int(rng() % unsigned(count)));
  return names.join('&');
}

FTT RandomTable(std::mt19937& rng, unsigned char mode) {
  FTT m;
  m.Mode = mode;
  const int events = 2 + int(rng() % 3);
  const int inputs = 1 + int(rng() % 3);
  const int rows = 2 + int(rng() % 7);
  // s1 first so that it is event 1.
  for (int r = 0; r < rows; ++r) {
    const QString si = r == 0 ? QString("s1") : QString("s%1").arg(1 + int(rng() % unsigned(events)));
    const QString y = RandomNames(rng, "y", 3, true);
    QString xij;
    const unsigned kind = rng() % 6;
    if (kind == 0) {
      xij = "0";
    } else if (kind == 1) {
      xij = "1";
    } else if (mode == FTT::Abstract) {
      xij = QString("z%1").arg(1 + int(rng() % unsigned(inputs)));
    } else {
      QStringList literals;
      for (int i = 1; i <= inputs; ++i) {
        const unsigned r3 = rng() % 3;
        if (r3 == 1) literals << QString("x%1").arg(i);
        if (r3 == 2) literals << QString("X%1").arg(i);
      }
      xij = literals.isEmpty() ? QString("1") : literals.join('&');
    }
    const QString sj = xij == "0" ? QString() : RandomNames(rng, "s", events, false);
    Row(m, si, y, xij, sj);
  }
  return m;
}

// Every input the automaton can be given in one step.
std::vector<SSignalSet> Inputs(const FTT& m) {
  std::vector<SSignalSet> inputs;
  const int n = int(m.XNames.size());
  if (m.Mode == FTT::Abstract) {
    for (int i = 1; i <= std::max(n, 1); ++i) inputs.push_back(SSignalSet{i});
    return inputs;
  }
  for (int bits = 0; bits < (1 << n); ++bits) {
    SSignalSet x;
    for (int i = 1; i <= n; ++i) x.AddLiteral(bits & (1 << (i - 1)) ? i : -i);
    inputs.push_back(x);
  }
  return inputs;
}

// Walks every input sequence of up to `depth` steps through both automata. The result's
// names are read as the walk meets its states: made then, they equal those the run lists.
void Compare(const FTT& source, const FTT& result, const QStringList& stateSets, const QStringList& names,
             const USignalSet& events, int state, int depth, const std::vector<SSignalSet>& inputs,
             const std::string& where) {
  ASSERT_EQ(stateSets.at(state - 1), events.ToText(source.SNames)) << where;
  ASSERT_EQ(result.SNames.at(state - 1), names.at(state - 1)) << where;
  ASSERT_EQ(result.Outputs(USignalSet{state}).ToText(result.YNames),
            source.Outputs(events).ToText(source.YNames))
      << where;
  if (depth == 0) return;
  for (size_t k = 0; k < inputs.size(); ++k) {
    USignalSet next, outputs, dnext, doutputs;
    source.Step(events, inputs[k], next, outputs);
    result.Step(USignalSet{state}, inputs[k], dnext, doutputs);
    const std::string here = where + " " + inputs[k].ToText(source.XNames).toStdString();
    if (next.IsEmpty()) {
      EXPECT_TRUE(dnext.IsEmpty()) << here;
      continue;
    }
    ASSERT_EQ(dnext.Size(), 1u) << here;  // deterministic: one state at a time
    EXPECT_EQ(doutputs.ToText(result.YNames), outputs.ToText(source.YNames)) << here;
    Compare(source, result, stateSets, names, next, dnext.At(0), depth - 1, inputs, here);
  }
}

void CheckMode(unsigned char mode, unsigned seed) {
  std::mt19937 rng(seed);
  int compared = 0;
  for (int round = 0; round < 250; ++round) {
    const FTT m = RandomTable(rng, mode);
    Options o;
    o.initial = USignalSet{1};
    o.eventNames = m.SNames.All();
    o.complete = false;
    o.rename = round % 4 == 0;
    DRun run(m, o);
    ASSERT_EQ(run.RunAll(), DRun::Done) << round << " " << run.Message().toStdString();
    const QStringList sets = run.OldNames(), names = run.NewNames();
    const auto r = run.TakeResult();
    ASSERT_TRUE(r);
    ASSERT_EQ(r->Lines.size(), size_t(sets.size()));
    // Every state is a distinct event set.
    EXPECT_EQ(QStringList(sets).size(), int(QSet<QString>(sets.begin(), sets.end()).size()));
    if (mode == FTT::Binary) {
      for (const FTT_Line& line : r->Lines) {
        std::vector<SSignalSet> conditions;
        for (const LTT_Line& t : line.Transitions) conditions.push_back(t.Condition);
        EXPECT_FALSE(AnyCompatiblePair(conditions)) << round;
      }
    }
    Compare(m, *r, sets, names, USignalSet{1}, 1, 4, Inputs(m), "round " + std::to_string(round));
    EXPECT_EQ(r->SNames, names) << round;
    ++compared;
  }
  EXPECT_EQ(compared, 250);
}

}  // namespace

TEST(DeterminizationProperty, BinaryTablesKeepTheirBehaviour) { CheckMode(FTT::Binary, 4242); }

TEST(DeterminizationProperty, AbstractTablesKeepTheirBehaviour) { CheckMode(FTT::Abstract, 777); }

TEST(DeterminizationProperty, CompleteBinaryResultsCoverEveryInput) {
  std::mt19937 rng(99);
  int complete = 0;
  for (int round = 0; round < 300; ++round) {
    const FTT m = RandomTable(rng, FTT::Binary);
    Options o;
    o.initial = USignalSet{1};
    o.eventNames = m.SNames.All();
    DRun run(m, o);
    const DRun::Status status = run.RunAll();
    ASSERT_TRUE(status == DRun::Done || status == DRun::NoTarget) << round;
    if (status != DRun::Done) {
      EXPECT_FALSE(run.ErrorEvent().isEmpty());
      continue;
    }
    ++complete;
    const auto r = run.TakeResult();
    const auto inputs = Inputs(m);
    for (size_t k = 0; k < r->Lines.size(); ++k) {
      if (r->Lines[k].Transitions.empty()) continue;
      for (const SSignalSet& x : inputs) {
        USignalSet next, outputs;
        r->Step(USignalSet{int(k) + 1}, x, next, outputs);
        EXPECT_EQ(next.Size(), 1u) << round;
      }
    }
  }
  EXPECT_GT(complete, 0);
}

// The engine finds exactly the event sets the plain subset construction of the tests
// finds, with as many transitions.
TEST(DeterminizationProperty, SameSetsAsThePlainSubsetConstruction) {
  std::mt19937 rng(2024);
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    const int states = 1 + int(rng() % 70), letters = 1 + int(rng() % 4);
    const double density = 0.3 + double(rng() % 25) / 10.0;
    const subsets::Nfa a = subsets::Random(states, letters, density, rng());
    const subsets::Dfa d = plainsubsets::Determinize(a, 20000);
    if (d.States() == 0) continue;  // too large for a test
    const FTT m = subsets::TableOf(a);
    Options o;
    o.initial = USignalSet{1};
    o.eventNames = m.SNames.All();
    o.complete = false;
    DRun run(m, o);
    ASSERT_EQ(run.RunAll(), DRun::Done) << round;
    const QStringList found = run.OldNames();
    QSet<QString> expected;
    for (size_t k = 0; k < d.States(); ++k) {
      QStringList names;
      for (int s = 0; s < states; ++s)
        if ((d.sets[k * size_t(d.words) + size_t(s) / 64] >> (s % 64)) & 1u) names << m.SNames.at(s);
      expected.insert(names.join('&'));
    }
    EXPECT_EQ(QSet<QString>(found.begin(), found.end()), expected) << round;
    EXPECT_EQ(size_t(found.size()), d.States()) << round;
    size_t transitions = 0;
    const auto result = run.TakeResult();
    for (const FTT_Line& line : result->Lines) transitions += line.Transitions.size();
    EXPECT_EQ(transitions, d.Transitions()) << round;
    ++compared;
  }
  EXPECT_GT(compared, 250);
}

namespace {

// A generated table as Tiravo's model; with `general`, one more line whose key of two
// events no run reaches, which sends the run down the path that matches keys.
FTT TiravoTable(const determfamilies::Table& t, bool general) {
  FTT m;
  m.Mode = FTT::Abstract;
  for (int a = 1; a <= t.letters; ++a) m.XNames << QString("z%1").arg(a);
  for (int y = 1; y <= t.outputs; ++y) m.YNames << QString("y%1").arg(y);
  const int events = t.events + (general ? 2 : 0);
  for (int e = 1; e <= events; ++e) m.SNames << QString("s%1").arg(e);
  for (const determfamilies::Line& l : t.lines) {
    FTT_Line line;
    line.Key = SSignalSet{l.event};
    for (int y : l.outputs) line.Outputs.Add(y);
    for (const determfamilies::Move& mv : l.moves) {
      LTT_Line tr;
      for (int a : mv.condition) tr.Condition.AddLiteral(a);
      for (int e : mv.targets) tr.Targets.Add(e);
      line.Transitions.push_back(tr);
    }
    m.Lines.push_back(std::move(line));
  }
  if (general) {
    FTT_Line never;
    never.Key = SSignalSet{t.events + 1, t.events + 2};
    m.Lines.push_back(std::move(never));
  }
  return m;
}

// Everything a run shows: how it ended, its messages and the result, line by line.
std::string RunText(const FTT& m, bool complete, determ::Trigger trigger) {
  Options o;
  o.initial = USignalSet{1};
  o.eventNames = m.SNames.All();
  o.complete = complete;
  o.trigger = trigger;
  o.rename = trigger == determ::Trigger::T;  // the empty set may come up
  DRun run(m, o);
  QStringList out;
  // A bound keeps a family that blows up short; both paths stop at the same state.
  int rounds = 0;
  out << QString::number(int(run.RunAll([&](const DRun&) { return ++rounds <= 5000; }))) << run.Message()
      << run.ErrorEvent() << run.ErrorCondition() << run.LastStatusText();
  if (const auto r = run.TakeResult()) {
    out << run.OldNames();
    for (const FTT_Line& line : r->Lines) {
      QStringList conditions, targets;
      r->ListLine(int(&line - r->Lines.data()), conditions, targets);
      out << line.Key.ToText(r->SNames) + " [" + line.Outputs.ToText(r->YNames) + "] " +
                 conditions.join(',') + " > " + targets.join(',');
    }
  }
  return out.join('\n').toStdString();
}

}  // namespace

// Tables whose every key is one event are determinized from rows per event; the same
// tables with one key of two events go through the matching of keys. Both give the same.
TEST(DeterminizationProperty, RowsOfEventsGiveWhatMatchingKeysGives) {
  int cases = 0;
  for (const determfamilies::Family& f : determfamilies::Families())
    for (unsigned seed = 1; seed <= 3; ++seed) {
      const determfamilies::Table t = determfamilies::Generate(f, seed * 7919u + unsigned(f.events));
      const FTT rows = TiravoTable(t, false), keys = TiravoTable(t, true);
      for (const bool complete : {false, true})
        for (const determ::Trigger trigger : {determ::Trigger::D, determ::Trigger::T}) {
          EXPECT_EQ(RunText(rows, complete, trigger), RunText(keys, complete, trigger))
              << f.events << " events, " << f.letters << " letters, seed " << seed;
          ++cases;
        }
    }
  EXPECT_EQ(cases, int(determfamilies::Families().size()) * 12);
}
