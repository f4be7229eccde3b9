#include <gtest/gtest.h>

#include "tablehelp.h"
#include "tiravo/core/ftt.h"

using tablehelp::Items;
using tablehelp::Row;

TEST(FTT, NewModel) {
  FTT m;
  EXPECT_TRUE(m.XNames.isEmpty());
  EXPECT_TRUE(m.YNames.isEmpty());
  EXPECT_TRUE(m.SNames.isEmpty());
  EXPECT_TRUE(m.Lines.empty());
  EXPECT_EQ(m.Mode, FTT::Binary);
}

TEST(FTT, RowsOfOneKeyAndConditionUniteTheirTargets) {
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s1", "y2", "x1", "s3");
  ASSERT_EQ(m.Lines.size(), 1u);
  const FTT_Line& line = m.Lines[0];
  EXPECT_EQ(line.Key.ToText(m.SNames), "s1");
  EXPECT_EQ(line.Outputs.ToText(m.YNames), "y1");  // the first row's outputs stay
  ASSERT_EQ(line.Transitions.size(), 1u);
  EXPECT_EQ(line.Transitions[0].Condition.ToText(m.XNames), "x1");
  EXPECT_EQ(line.Transitions[0].Targets.ToText(m.SNames), "s2&s3");
  // y2 was still entered as a name.
  EXPECT_EQ(m.YNames, (QStringList{"y1", "y2"}));
}

TEST(FTT, RowWithoutTransition) {
  FTT m;
  Row(m, "s1", "y1", "0", "");
  ASSERT_EQ(m.Lines.size(), 1u);
  EXPECT_TRUE(m.Lines[0].Transitions.empty());
  EXPECT_EQ(m.Lines[0].Outputs.ToText(m.YNames), "y1");
  // A known key: nothing changes, not even the outputs.
  Row(m, "s1", "y2", "x1", "s2");
  Row(m, "s1", "y3", "0", "");
  ASSERT_EQ(m.Lines.size(), 1u);
  EXPECT_EQ(m.Lines[0].Transitions.size(), 1u);
  EXPECT_EQ(m.Lines[0].Outputs.ToText(m.YNames), "y1");
}

TEST(FTT, UnconditionalRowHasTheEmptyCondition) {
  FTT m;
  Row(m, "s1", "", "1", "s2");
  ASSERT_EQ(m.Lines[0].Transitions.size(), 1u);
  EXPECT_TRUE(m.Lines[0].Transitions[0].Condition.IsEmpty());
  EXPECT_TRUE(m.XNames.isEmpty());
}

TEST(FTT, DistinctConditionsAreSeparateTransitionsInOrder) {
  FTT m;
  Row(m, "s1", "y1", "x1&X2", "s2");
  Row(m, "s1", "y1", "x2", "s3");
  Row(m, "s1", "y1", "X2&x1", "s4");  // the same condition as the first
  ASSERT_EQ(m.Lines[0].Transitions.size(), 2u);
  EXPECT_EQ(m.Lines[0].Transitions[0].Condition.ToText(m.XNames), "x1&X2");
  EXPECT_EQ(m.Lines[0].Transitions[0].Targets.ToText(m.SNames), "s2&s4");
  EXPECT_EQ(m.Lines[0].Transitions[1].Condition.ToText(m.XNames), "x2");
}

TEST(FTT, NamesInOrderOfFirstMeeting) {
  FTT m;
  // si, y, sj, xij for a row with a transition; si, y without.
  Row(m, "s5", "y2", "x3", "s4");
  Row(m, "s4", "y1", "0", "");
  Row(m, "s4&s6", "y1&y2", "x1&x3", "s5");
  EXPECT_EQ(m.SNames, (QStringList{"s5", "s4", "s6"}));
  EXPECT_EQ(m.YNames, (QStringList{"y2", "y1"}));
  EXPECT_EQ(m.XNames, (QStringList{"x3", "x1"}));
  EXPECT_EQ(m.Lines[2].Key.ToText(m.SNames), "s4&s6");  // stored by number: s4 is 2, s6 is 3
}

TEST(FTT, SignalNumberAndGetName) {
  QStringList names;
  EXPECT_EQ(FTT::SignalNumber(names, "x1"), 1);
  EXPECT_EQ(FTT::SignalNumber(names, "x2"), 2);
  EXPECT_EQ(FTT::SignalNumber(names, "X1"), 1);  // case does not tell names apart
  EXPECT_EQ(names, (QStringList{"x1", "x2"}));
  const QString cyr = QString::fromUtf8("ш1");
  EXPECT_EQ(FTT::SignalNumber(names, cyr), 3);
  EXPECT_EQ(FTT::SignalNumber(names, cyr.toUpper()), 3);
  EXPECT_EQ(names.size(), 3);

  EXPECT_EQ(FTT::GetName(names, 2), "x2");
  EXPECT_EQ(FTT::GetName(names, -2), "x2");  // no case change
  EXPECT_EQ(FTT::GetName(names, 0), "Error_in_method_FTT_GET_NAME");
  EXPECT_EQ(FTT::GetName(names, 4), "Error_in_method_FTT_GET_NAME");
}

TEST(FTT, LiteralsOfAndSignalsOf) {
  QStringList names;
  EXPECT_TRUE(FTT::LiteralsOf(names, {"1"}).IsEmpty());
  EXPECT_TRUE(names.isEmpty());
  const SSignalSet c = FTT::LiteralsOf(names, {"x1=1", "x2=0"});
  EXPECT_EQ(c, (SSignalSet{1, -2}));
  // A contradicting literal is dropped; the value is the first item's of the name.
  QStringList n2;
  EXPECT_EQ(FTT::LiteralsOf(n2, {"a=0", "b=1", "A=1"}), (SSignalSet{-1, 2}));
  // Signals ignore the values.
  QStringList n3;
  EXPECT_EQ(FTT::SignalsOf(n3, {"y2=0", "y1=1"}), (USignalSet{1, 2}));
  EXPECT_EQ(n3, (QStringList{"y2", "y1"}));

  FTT m;
  EXPECT_EQ(m.EventsOfNames({"s1", "s1=1"}), (USignalSet{1, 2}));  // whole items
  EXPECT_EQ(m.SNames, (QStringList{"s1", "s1=1"}));
}

TEST(FTT, FindLineSearchesByKey) {
  FTT m;
  Row(m, "s1", "", "x1", "s2");
  Row(m, "s2", "", "x1", "s1");
  EXPECT_EQ(m.FindLine(SSignalSet{2}), 2);
  EXPECT_EQ(m.FindLine(SSignalSet{1}), 1);
  EXPECT_EQ(m.FindLine(SSignalSet{1, 2}), 0);
}

TEST(FTT, ListLinesAndListLine) {
  FTT m;
  Row(m, "s1", "y1&y2", "x1", "s2");
  Row(m, "s1", "y1&y2", "X1", "s1&s2");
  Row(m, "s2", "", "0", "");
  QStringList items{"stale"};
  m.ListLines(items);
  EXPECT_EQ(items, (QStringList{"s1[y1&y2]", "s2"}));

  QStringList conditions{"stale"}, targets{"stale"};
  m.ListLine(0, conditions, targets);
  EXPECT_EQ(conditions, (QStringList{"x1", "X1"}));
  EXPECT_EQ(targets, (QStringList{"s2", "s1&s2"}));
  m.ListLine(1, conditions, targets);
  EXPECT_TRUE(conditions.isEmpty());
  EXPECT_TRUE(targets.isEmpty());
  m.ListLine(7, conditions, targets);  // no such line: both empty
  EXPECT_TRUE(conditions.isEmpty());
}

TEST(FTT, MatchLinesPairsAndOutputs) {
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s2", "y2", "x2", "s1");
  Row(m, "s1", "y1", "x3", "s3");
  Row(m, "S3", "y3", "1", "s1");  // holds while s3 does not
  const USignalSet e{1, 2};
  const auto lines = m.MatchLines(e);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], &m.Lines[0]);
  EXPECT_EQ(lines[2], &m.Lines[2]);
  const auto pairs = m.MatchPairs(e);
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_EQ(pairs[0].Condition.ToText(m.XNames), "x1");
  EXPECT_EQ(pairs[1].Condition.ToText(m.XNames), "x3");
  EXPECT_EQ(pairs[2].Condition.ToText(m.XNames), "x2");
  EXPECT_EQ(pairs[3].Condition.ToText(m.XNames), "1");
  EXPECT_EQ(m.Outputs(e).ToText(m.YNames), "y1&y2&y3");
  EXPECT_EQ(m.Outputs(USignalSet{1, 3}).ToText(m.YNames), "y1");
}

TEST(FTT, Step) {
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s1", "y1", "X1", "s3");
  Row(m, "s2", "y2", "0", "");
  Row(m, "s3", "y3", "0", "");
  Row(m, "S1&S2&S3", "y4", "0", "");
  USignalSet next, outputs;
  m.Step(USignalSet{1}, SSignalSet{1}, next, outputs);
  EXPECT_EQ(next, (USignalSet{2}));
  EXPECT_EQ(outputs.ToText(m.YNames), "y2");  // of the set reached
  m.Step(USignalSet{1}, SSignalSet{-1, 5}, next, outputs);
  EXPECT_EQ(next, (USignalSet{3}));
  // An empty input fires every transition.
  m.Step(USignalSet{1}, SSignalSet(), next, outputs);
  EXPECT_EQ(next, (USignalSet{2, 3}));
  EXPECT_EQ(outputs.ToText(m.YNames), "y2&y3");
  // Nothing matched: empty next set, outputs of the lines the empty set satisfies.
  m.Step(USignalSet{2}, SSignalSet(), next, outputs);
  EXPECT_TRUE(next.IsEmpty());
  EXPECT_EQ(outputs.ToText(m.YNames), "y4");
}

TEST(FTT, AssignIsADeepCopy) {
  FTT m;
  m.Mode = FTT::Abstract;
  Row(m, "s1", "y1", "z1", "s2");
  FTT c;
  c.Assign(nullptr);
  EXPECT_TRUE(c.Lines.empty());
  c.Assign(&m);
  EXPECT_EQ(c.Mode, FTT::Abstract);
  EXPECT_EQ(c.SNames, m.SNames);
  ASSERT_EQ(c.Lines.size(), 1u);
  c.Lines[0].Transitions.Edit(0).Targets.Add(1);
  EXPECT_EQ(m.Lines[0].Transitions[0].Targets, (USignalSet{2}));
  c.Assign(&c);
  EXPECT_EQ(c.Lines.size(), 1u);
}

TEST(FTT, RowsAfterListsWereReplacedFindTheNewNamesAndLines) {
  FTT source;
  Row(source, "s5", "y5", "x5", "s6");
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");  // as many names of each kind as the source has
  m.Assign(&source);
  Row(m, "s5", "y5", "x5", "s7");  // the same key and condition: one transition, two targets
  EXPECT_EQ(m.SNames, (QStringList{"s5", "s6", "s7"}));
  ASSERT_EQ(m.Lines.size(), 1u);
  ASSERT_EQ(m.Lines[0].Transitions.size(), 1u);
  EXPECT_EQ(m.Lines[0].Transitions[0].Targets.ToText(m.SNames), "s6&s7");
  m.XNames = QStringList{"x9"};
  Row(m, "s5", "", "X9", "s5");
  EXPECT_EQ(m.XNames, QStringList{"x9"});
  EXPECT_EQ(m.Lines[0].Transitions.size(), 2u);
}

// Transitions of one literal to one event are kept packed, any other shape turns the list
// plain: either way a list gives back what was added, in order, and a copy is its own.
TEST(FTT, TransitionListGivesBackWhatWasAdded) {
  const LTT_Line wide{SSignalSet{1, -2}, USignalSet{2, 4}};
  const struct {
    int count;
    int widePosition;  // -1: none
  } cases[] = {{0, -1}, {1, -1}, {2, -1}, {3, -1}, {9, -1}, {1, 0}, {3, 2}, {5, 1}};
  for (const auto& c : cases) {
    std::vector<LTT_Line> expected;
    TransitionList list;
    if (c.count > 2) list.reserve(3);
    for (int i = 0; i < c.count; ++i) {
      // Also an unconditional one, and an inverted literal.
      const LTT_Line t = i == c.widePosition ? wide
                         : i % 3 == 1        ? LTT_Line{SSignalSet(), USignalSet{10 + i}}
                                             : LTT_Line{SSignalSet{i % 2 ? i : -i - 1}, USignalSet{10 + i}};
      expected.push_back(t);
      list.push_back(t);
    }
    const TransitionList copy = list;
    ASSERT_EQ(list.size(), expected.size()) << c.count;
    // Moving hands the storage over (a block stays where it is) and leaves the source empty;
    // assigning by move first frees what the target held.
    TransitionList source = copy;
    const void* storage = source.Storage();
    TransitionList moved(std::move(source));
    EXPECT_TRUE(source.empty()) << c.count;
    const bool onHeap = c.count > 2 || c.widePosition >= 0;
    if (onHeap) {
      EXPECT_EQ(moved.Storage(), storage) << c.count;
    }
    TransitionList assigned;
    for (int k = 0; k < 5; ++k) assigned.Add(k + 1, k + 2);
    assigned = std::move(moved);
    EXPECT_TRUE(moved.empty()) << c.count;
    if (onHeap) {
      EXPECT_EQ(assigned.Storage(), storage) << c.count;
    }
    size_t i = 0;
    for (const LTT_Line& t : assigned) {
      EXPECT_EQ(t.Condition, expected[i].Condition) << c.count << " " << i;
      EXPECT_EQ(t.Targets, expected[i].Targets) << c.count << " " << i;
      ++i;
    }
    EXPECT_EQ(i, expected.size());
    // A moved-from list takes new transitions.
    source.Add(3, 4);
    EXPECT_EQ(source.size(), 1u);
    if (c.count == 0) continue;
    list.Edit(0).Targets.Add(7);
    EXPECT_TRUE(list[0].Targets.Contains(7));
    EXPECT_FALSE(copy[0].Targets.Contains(7));
    if (c.count > 1) {
      EXPECT_EQ(list[size_t(c.count) - 1].Targets, expected.back().Targets);
    }
  }
}

// Lists filled from a pool share its blocks yet behave as any list: they outlive the pool,
// a copy is its own, a change moves the list out of the block, the others stay as they were.
TEST(FTT, TransitionListsFromAPoolAreTheirOwn) {
  const auto pairsOf = [](int count, int seed) {
    std::vector<qint32> p;
    for (int i = 0; i < count; ++i) p.insert(p.end(), {i % 3 == 1 ? 0 : (i % 2 ? i : -i - 1), seed + i});
    return p;
  };
  enum Change { None, Copy, Move, Edit, Add, Clear };
  const struct {
    int count;
    Change change;
  } cases[] = {{2, None}, {3, None},  {5, Copy},  {5, Move}, {4, Edit},
               {3, Add},  {6, Clear}, {64, None}, {65, Add}};
  for (const auto& c : cases) {
    // Enough lists for several blocks; the pool is gone before they are read.
    std::vector<TransitionList> lists(3000);
    {
      TransitionPool pool;
      for (size_t k = 0; k < lists.size(); ++k)
        pool.Fill(&lists[k], pairsOf(c.count, int(k) * 100).data(), size_t(c.count));
    }
    std::vector<TransitionList> changed;
    for (size_t k = 0; k < lists.size(); k += 7) {
      TransitionList& list = lists[k];
      switch (c.change) {
        case None: break;
        case Copy: changed.push_back(list); break;
        case Move: changed.push_back(std::move(list)); break;
        case Edit: list.Edit(0).Targets.Add(99999); break;
        case Add: list.Add(5, 77777); break;
        case Clear: list.clear(); break;
      }
    }
    for (size_t k = 0; k < lists.size(); ++k) {
      const bool touched = k % 7 == 0;
      const std::vector<qint32> p = pairsOf(c.count, int(k) * 100);
      const TransitionList& list =
          touched && (c.change == Copy || c.change == Move) ? changed[k / 7] : lists[k];
      size_t expected = size_t(c.count);
      if (touched && c.change == Add) ++expected;
      if (touched && c.change == Clear) expected = 0;
      ASSERT_EQ(list.size(), expected) << c.count << " " << k;
      for (size_t i = 0; i < std::min(expected, size_t(c.count)); ++i) {
        const LTT_Line t = list[i];
        EXPECT_EQ(t.Condition, p[2 * i] ? SSignalSet{p[2 * i]} : SSignalSet()) << c.count << " " << k;
        USignalSet targets{p[2 * i + 1]};
        if (touched && c.change == Edit && i == 0) targets.Add(99999);
        EXPECT_EQ(t.Targets, targets) << c.count << " " << k << " " << i;
      }
      if (touched && c.change == Add) {
        EXPECT_EQ(list[expected - 1].Targets, USignalSet{77777});
      }
      if (touched && c.change == Move) {
        EXPECT_TRUE(lists[k].empty());
      }
    }
  }
}
