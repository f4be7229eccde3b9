// The server's determinizer finds exactly the event sets the plain subset construction of
// the tests finds, with the same transitions between them.
#include <gtest/gtest.h>

#include <map>

#include "bench/servers/nfamodel.h"
#include "servers/fsmdeterminizer.h"
#include "tests/determfamilies.h"
#include "tests/plainsubsets.h"

namespace {

std::vector<uint64_t> RowOf(const fsm::Set& events, int words) {
  std::vector<uint64_t> row(size_t(words), 0);
  for (int e : events) row[size_t(e - 1) / 64] |= uint64_t(1) << ((e - 1) % 64);
  return row;
}

struct Case {
  int states, letters;
  double density;
  unsigned seed;  // 0: the blow-up automaton of `states` - 1
};

TEST(DeterminizerReference, SameSetsAndTransitionsAsThePlainConstruction) {
  // From one state to a few hundred, over one to four words of events.
  const Case cases[] = {
      {1, 1, 1.0, 1},  {5, 2, 1.5, 2},  {12, 3, 0.5, 3},  {20, 2, 2.0, 4}, {30, 4, 1.0, 5},   {40, 1, 2.5, 6},
      {64, 2, 1.0, 7}, {65, 3, 1.0, 8}, {130, 3, 0.7, 9}, {9, 8, 2.0, 10}, {200, 2, 1.0, 13}, {9, 2, 0, 0},
  };
  for (const Case& c : cases) {
    const subsets::Nfa a =
        c.seed ? subsets::Random(c.states, c.letters, c.density, c.seed) : subsets::BlowUp(c.states - 1);
    const subsets::Dfa d = plainsubsets::Determinize(a, 20000);
    ASSERT_GT(d.States(), 0u) << c.seed;
    std::map<std::vector<uint64_t>, int> reference;
    for (size_t k = 0; k < d.States(); ++k)
      reference[std::vector<uint64_t>(d.sets.begin() + std::ptrdiff_t(k * size_t(d.words)),
                                      d.sets.begin() + std::ptrdiff_t((k + 1) * size_t(d.words)))] = int(k);

    const fsm::Model m = subsets::ModelOf(a);
    fsm::DetResult r;
    QString error;
    ASSERT_TRUE(fsm::Determinizer(m).run(m.start, &r, &error)) << error.toStdString();
    ASSERT_EQ(size_t(r.states.size()), d.States()) << c.seed;
    size_t transitions = 0;
    for (int k = 0; k < r.states.size(); ++k) {
      const auto mine = reference.find(RowOf(r.states.events(k), d.words));
      ASSERT_NE(mine, reference.end()) << c.seed << " state " << k;
      for (const fsm::DetTransition& t : r.states[k].transitions) {
        ASSERT_EQ(t.condition.size(), 1);
        const int expected = d.next[size_t(mine->second) * size_t(c.letters) + size_t(t.condition[0] - 1)];
        EXPECT_EQ(reference.at(RowOf(r.states.events(t.target), d.words)), expected)
            << c.seed << " state " << k;
      }
      transitions += size_t(r.states.moveCount(k));
    }
    EXPECT_EQ(transitions, d.Transitions()) << c.seed;
  }
}

}  // namespace

TEST(DeterminizerReference, TheLargestBlowUpFitsTheLimitOfStates) {
  QString error;
  fsm::DetResult r;
  const fsm::Model fits = subsets::ModelOf(subsets::BlowUp(18));
  ASSERT_TRUE(fsm::Determinizer(fits).run(fits.start, &r, &error));
  EXPECT_EQ(r.states.size(), fsm::Determinizer::kMaxStates);
  const fsm::Model beyond = subsets::ModelOf(subsets::BlowUp(19));
  EXPECT_FALSE(fsm::Determinizer(beyond).run(beyond.start, &r, &error));
  EXPECT_EQ(error, QStringLiteral("Число состояний превысило 262144"));
  EXPECT_EQ(r.states.size(), fsm::Determinizer::kMaxStates);  // a failed run keeps the result
}

namespace {

// A generated table as the server's model; with `general`, one more line whose key of two
// events no run reaches, which sends the run down the path that matches keys.
fsm::Model ServerModel(const determfamilies::Table& t, bool general) {
  fsm::Model m;
  m.type = fsm::Type{0, 0, 0, 0};
  for (int a = 1; a <= t.letters; ++a) m.inputs << QStringLiteral("z%1").arg(a);
  for (int y = 1; y <= t.outputs; ++y) m.outputs << QStringLiteral("y%1").arg(y);
  const int events = t.events + (general ? 2 : 0);
  for (int e = 1; e <= events; ++e) m.events << QStringLiteral("s%1").arg(e);
  m.start = fsm::Set{1};
  for (const determfamilies::Line& l : t.lines) {
    fsm::Line line;
    line.key = fsm::Set{l.event};
    for (int y : l.outputs) line.outputs << y;
    for (const determfamilies::Move& mv : l.moves) {
      fsm::Transition tr;
      for (int a : mv.condition) tr.condition << a;
      for (int e : mv.targets) tr.targets << e;
      line.transitions << tr;
    }
    m.lines << line;
  }
  if (general) m.lines << fsm::Line{fsm::Set{t.events + 1, t.events + 2}, {}, {}};
  return m;
}

// Everything a run gives: its end, notes, the table it makes and the numbering behind it.
std::string RunText(const fsm::Model& m) {
  const fsm::Determinizer d(m);
  fsm::DetResult r;
  QString error;
  QStringList out;
  out << (d.run(m.start, &r, &error) ? QStringLiteral("done") : QStringLiteral("failed")) << error << r.notes;
  out << d.tableLines(r, QStringLiteral("q"));
  for (int k = 0; k < r.states.size(); ++k) out << m.eventsText(r.states.events(k));
  for (const fsm::Set& c : r.states.conditions()) out << m.conditionText(c);
  return out.join('\n').toStdString();
}

}  // namespace

// Tables whose every key is one event are determinized from rows per event; the same
// tables with one key of two events go through the matching of keys. Both give the same.
TEST(DeterminizerReference, RowsOfEventsGiveWhatMatchingKeysGives) {
  for (const determfamilies::Family& f : determfamilies::Families())
    for (unsigned seed = 1; seed <= 3; ++seed) {
      const determfamilies::Table t = determfamilies::Generate(f, seed * 7919u + unsigned(f.events));
      EXPECT_EQ(RunText(ServerModel(t, false)), RunText(ServerModel(t, true)))
          << f.events << " events, " << f.letters << " letters, seed " << seed;
    }
}
