#include <gtest/gtest.h>

#include <random>

#include "tablehelp.h"
#include "tiravo/core/ftt.h"
#include "tiravo/core/ftttree.h"

using tablehelp::Row;

namespace {

// "condition->targets[outputs]" per group.
QStringList Groups(const FTT& m, const std::vector<XSY>& groups) {
  QStringList out;
  for (const XSY& g : groups)
    out << g.x.ToText(m.XNames) + "->" + g.s.ToText(m.SNames) + "[" + g.y.ToText(m.YNames) + "]";
  return out;
}

}  // namespace

TEST(Successors, TwoConditionsGiveFourDisjointGroups) {
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s1", "y1", "x2", "s3");
  Row(m, "s2", "y2", "0", "");
  Row(m, "s3", "y3", "0", "");
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1})),
            (QStringList{"X1&X2->[]", "X1&x2->s3[y3]", "x1&X2->s2[y2]", "x1&x2->s2&s3[y2&y3]"}));
}

TEST(Successors, InsertionOrderDoesNotMatter) {
  // x2 first: the x1 node goes above it and the x2 subtree is copied under both branches.
  FTT m;
  m.XNames = QStringList{"x1", "x2"};
  m.SNames = QStringList{"s1", "s2", "s3"};
  FTT_Line line;
  line.Key = SSignalSet{1};
  line.Transitions.push_back(LTT_Line{SSignalSet{2}, USignalSet{3}});
  line.Transitions.push_back(LTT_Line{SSignalSet{1}, USignalSet{2}});
  m.Lines.push_back(line);
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1})),
            (QStringList{"X1&X2->[]", "X1&x2->s3[]", "x1&X2->s2[]", "x1&x2->s2&s3[]"}));
}

TEST(Successors, UnconditionalTargetsReachEveryGroup) {
  FTT m;
  Row(m, "s1", "", "x1", "s2");
  Row(m, "s1", "", "1", "s3");
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1})), (QStringList{"X1->s3[]", "x1->s2&s3[]"}));

  FTT only;
  Row(only, "s1", "y1", "1", "s1&s2");
  EXPECT_EQ(Groups(only, only.Successors(USignalSet{1})), (QStringList{"1->s1&s2[y1]"}));
}

TEST(Successors, NoTransitionsGiveNothingInBothModes) {
  for (unsigned char mode : {FTT::Binary, FTT::Abstract}) {
    FTT m;
    m.Mode = mode;
    Row(m, "s1", "y1", "0", "");
    Row(m, "s2", "y1", "x1", "s1");
    EXPECT_TRUE(m.Successors(USignalSet{1}).empty());
    EXPECT_TRUE(m.Successors(USignalSet{3}).empty());
    EXPECT_TRUE(m.Successors(USignalSet()).empty());
  }
}

TEST(Successors, LeafWithoutTargetsStillYieldsAGroup) {
  FTT m;
  Row(m, "s1", "", "x1&x2", "s2");
  const auto groups = m.Successors(USignalSet{1});
  EXPECT_EQ(Groups(m, groups), (QStringList{"X1->[]", "x1&X2->[]", "x1&x2->s2[]"}));
}

TEST(Successors, DeeperConditionsSplitTheInputSpace) {
  FTT m;
  Row(m, "s1", "", "x3", "s2");
  Row(m, "s1", "", "x1&X3", "s3");
  Row(m, "s1", "", "X2", "s4");
  // Signals in order x3, x1, x2 -> numbers 1, 2, 3 (x3 is signal 1).
  EXPECT_EQ(m.XNames, (QStringList{"x3", "x1", "x2"}));
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1})),
            (QStringList{"X3&X1&X2->s4[]", "X3&X1&x2->[]", "X3&x1&X2->s3&s4[]", "X3&x1&x2->s3[]",
                         "x3&X2->s2&s4[]", "x3&x2->s2[]"}));
}

TEST(Successors, AbstractGroupsByCondition) {
  FTT m;
  m.Mode = FTT::Abstract;
  Row(m, "s1", "", "z1", "s1");
  Row(m, "s1", "", "z1", "s2");
  Row(m, "s1", "", "1", "s3");
  m.XNames = QStringList{"z1", "z2"};
  Row(m, "s3", "y3", "0", "");
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1})), (QStringList{"z1->s1&s2&s3[y3]", "z2->s3[y3]"}));
}

TEST(Successors, AbstractWithoutUnconditionalOrOnlyUnconditional) {
  FTT m;
  m.Mode = FTT::Abstract;
  Row(m, "s1", "", "z2", "s2");
  Row(m, "s2", "", "z1", "s1");
  Row(m, "s2", "", "z2", "s2");
  EXPECT_EQ(Groups(m, m.Successors(USignalSet{1, 2})), (QStringList{"z2->s2[]", "z1->s1[]"}));

  FTT u;
  u.Mode = FTT::Abstract;
  Row(u, "s1", "", "1", "s2");
  EXPECT_EQ(Groups(u, u.Successors(USignalSet{1})), (QStringList{"1->s2[]"}));
}

TEST(Successors, TreeRootAndParentLinks) {
  FTT m;
  m.XNames = QStringList{"x1", "x2"};
  m.SNames = QStringList{"s1"};
  FTT_Line line;
  line.Key = SSignalSet{1};
  line.Transitions.push_back(LTT_Line{SSignalSet{2}, USignalSet{1}});
  line.Transitions.push_back(LTT_Line{SSignalSet{1}, USignalSet{1}});
  m.Lines.push_back(line);
  Tree tree(m, USignalSet{1});
  ASSERT_NE(tree.Root(), nullptr);
  EXPECT_EQ(tree.Root()->v, 1);
  for (int k = 0; k < 2; ++k) {
    const auto* child = tree.Root()->links[k].child.get();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->v, 2);
    EXPECT_EQ(child->parent, &tree.Root()->links[k]);
  }
}

// On random tables the groups of a Binary model are pairwise disjoint, cover
// every input assignment, and each leads to exactly the targets of the
// transitions that assignment fires.
TEST(Successors, RandomBinaryTablesAgreeWithBruteForce) {
  std::mt19937 rng(20240607);
  for (int round = 0; round < 400; ++round) {
    const int inputs = 1 + int(rng() % 4);
    const int events = 1 + int(rng() % 4);
    FTT m;
    for (int i = 1; i <= inputs; ++i) m.XNames << QString("x%1").arg(i);
    for (int e = 1; e <= events; ++e) m.SNames << QString("s%1").arg(e);
    const int transitions = int(rng() % 6);
    FTT_Line line;
    line.Key = SSignalSet{1};
    for (int t = 0; t < transitions; ++t) {
      LTT_Line tr;
      for (int i = 1; i <= inputs; ++i) {
        const unsigned r = rng() % 3;
        if (r == 1) tr.Condition.AddLiteral(i);
        if (r == 2) tr.Condition.AddLiteral(-i);
      }
      tr.Targets.Add(1 + int(rng() % unsigned(events)));
      line.Transitions.push_back(tr);
    }
    m.Lines.push_back(line);
    const std::vector<XSY> groups = m.Successors(USignalSet{1});
    if (transitions == 0) {
      EXPECT_TRUE(groups.empty());
      continue;
    }
    std::vector<SSignalSet> conditions;
    for (const XSY& g : groups) conditions.push_back(g.x);
    EXPECT_FALSE(AnyCompatiblePair(conditions)) << round;
    for (int bits = 0; bits < (1 << inputs); ++bits) {
      USignalSet active;
      for (int i = 1; i <= inputs; ++i)
        if (bits & (1 << (i - 1))) active.Add(i);
      USignalSet expected;
      for (const LTT_Line& tr : line.Transitions)
        if (active.Satisfies(tr.Condition)) expected.Union(tr.Targets);
      int matching = 0;
      for (const XSY& g : groups) {
        if (!active.Satisfies(g.x)) continue;
        ++matching;
        EXPECT_EQ(g.s, expected) << round << " " << bits;
      }
      EXPECT_EQ(matching, 1) << round << " " << bits;
    }
  }
}
