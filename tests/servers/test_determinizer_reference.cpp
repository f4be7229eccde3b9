// The server's determinizer finds exactly the event sets the plain subset construction of
// the tests finds, with the same transitions between them.
#include <gtest/gtest.h>

#include <map>

#include "bench/servers/nfamodel.h"
#include "servers/fsmdeterminizer.h"
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
