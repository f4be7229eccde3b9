#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>
#include <vector>

#include "tiravo/core/signalset.h"

namespace {

std::vector<int> Elements(const SignalSet& s) { return std::vector<int>(s.begin(), s.end()); }

QByteArray Bytes(std::initializer_list<qint32> words) {
  QByteArray b;
  for (qint32 w : words)
    for (int i = 0; i < 4; ++i) b.append(char((quint32(w) >> (8 * i)) & 0xFF));
  return b;
}

bool ReadFrom(const QByteArray& bytes, SignalSet& s) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QDataStream in(&buffer);
  return s.Read(in);
}

const QStringList kX{"x1", "x2", "x3"};

}  // namespace

TEST(SignalSet, KeepsMagnitudeOrderWithoutDuplicates) {
  SignalSet s;
  s.Insert(3);
  s.Insert(-5);
  s.Insert(1);
  EXPECT_EQ(Elements(s), (std::vector<int>{1, 3, -5}));
  s.Insert(3);
  EXPECT_EQ(s.Size(), 3u);
  s.Insert(0);  // never stored
  EXPECT_EQ(s.Size(), 3u);
  s.Remove(3);
  s.Remove(4);  // absent: nothing
  EXPECT_EQ(Elements(s), (std::vector<int>{1, -5}));
  s.Remove(1);
  s.Remove(-5);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.Size(), 0u);
  EXPECT_EQ(s.begin(), nullptr);
}

TEST(SignalSet, AtAndFind) {
  SignalSet empty;
  EXPECT_EQ(empty.At(0), 0);
  unsigned pos = 99;
  EXPECT_FALSE(empty.Find(4, &pos));
  EXPECT_EQ(pos, 0u);

  SignalSet s{2, -4, 6, 8};
  EXPECT_EQ(s.At(1), -4);
  EXPECT_EQ(s.At(4), 0);
  EXPECT_TRUE(s.Find(-4, &pos));
  EXPECT_EQ(pos, 1u);
  EXPECT_TRUE(s.Find(8, &pos));
  EXPECT_EQ(pos, 3u);
  // Misses give the insertion place, in front of, between and behind.
  EXPECT_FALSE(s.Find(1, &pos));
  EXPECT_EQ(pos, 0u);
  EXPECT_FALSE(s.Find(-5, &pos));
  EXPECT_EQ(pos, 2u);
  EXPECT_FALSE(s.Find(9, &pos));
  EXPECT_EQ(pos, 4u);
  // The same magnitude with the other sign is not there.
  EXPECT_FALSE(s.Contains(4));
  EXPECT_FALSE(s.Contains(-2));
  EXPECT_TRUE(s.Contains(6));
}

TEST(SignalSet, FindsEveryElementOfLargerSets) {
  SignalSet s;
  for (int v = 1; v <= 40; ++v) s.Insert(v % 3 == 0 ? -v : v);
  ASSERT_EQ(s.Size(), 40u);
  for (int v = 1; v <= 40; ++v) {
    const int stored = v % 3 == 0 ? -v : v;
    unsigned pos = 0;
    EXPECT_TRUE(s.Find(stored, &pos)) << v;
    EXPECT_EQ(pos, unsigned(v - 1));
    EXPECT_FALSE(s.Contains(-stored)) << v;
  }
}

TEST(SignalSet, CopiesAreDeepAndAssigningEmptyEmpties) {
  SignalSet a{1, 2};
  SignalSet b(a);
  b.Insert(3);
  EXPECT_EQ(a.Size(), 2u);
  EXPECT_NE(a.begin(), b.begin());
  SignalSet c;
  c = b;
  EXPECT_EQ(c, b);
  c = SignalSet();
  EXPECT_TRUE(c.IsEmpty());
  c = c;  // self-assignment keeps the contents
  a = a;
  EXPECT_EQ(a.Size(), 2u);
  SignalSet moved(std::move(b));
  EXPECT_EQ(Elements(moved), (std::vector<int>{1, 2, 3}));
}

TEST(SignalSet, EqualityAndStoredByteOrder) {
  EXPECT_EQ(SignalSet(), SignalSet());
  EXPECT_NE(SignalSet{1}, SignalSet());
  EXPECT_EQ((SignalSet{1, -2}), (SignalSet{-2, 1}));
  EXPECT_NE((SignalSet{1, 2}), (SignalSet{1, -2}));

  EXPECT_TRUE(SignalSet() < SignalSet{1});
  EXPECT_FALSE(SignalSet() < SignalSet());
  EXPECT_FALSE(SignalSet{1} < SignalSet());
  // Bytes, low byte first: 256 is 00 01 00 00 and so below 1 (01 00 00 00).
  EXPECT_TRUE(SignalSet{256} < SignalSet{1});
  EXPECT_FALSE(SignalSet{1} < SignalSet{256});
  // -1 is FF FF FF FF, above every small positive number.
  EXPECT_TRUE(SignalSet{1} < SignalSet{-1});
  // Equal prefix: the shorter one is smaller.
  EXPECT_TRUE((SignalSet{1} < SignalSet{1, 2}));
  EXPECT_TRUE((SignalSet{1, 2} > SignalSet{1}));
  EXPECT_TRUE((SignalSet{1, 2} >= SignalSet{1, 2}));
  EXPECT_TRUE((SignalSet{1, 2} <= SignalSet{1, 2}));
  EXPECT_FALSE((SignalSet{1, 3} <= SignalSet{1, 2}));
}

TEST(SignalSet, HashFollowsEquality) {
  EXPECT_EQ((SignalSet{1, 5}).Hash(), (SignalSet{5, 1}).Hash());
  EXPECT_NE((SignalSet{1, 5}).Hash(), (SignalSet{1, 6}).Hash());
}

TEST(SignalSetBinary, WritesLittleEndianCountThenElements) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setByteOrder(QDataStream::BigEndian);  // the form does not follow the stream's setting
    EXPECT_TRUE(SignalSet().Write(out));
    EXPECT_TRUE((SignalSet{1, 3, -5}).Write(out));
  }
  EXPECT_EQ(bytes, Bytes({0, 3, 1, 3, -5}));

  SignalSet a{7}, b;
  EXPECT_TRUE(ReadFrom(Bytes({0}), a));
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_TRUE(ReadFrom(Bytes({3, 1, 3, -5}), b));
  EXPECT_EQ(Elements(b), (std::vector<int>{1, 3, -5}));
}

TEST(SignalSetBinary, FailedReadKeepsTheOldContents) {
  SignalSet s{2, 4};
  EXPECT_FALSE(ReadFrom(QByteArray(), s));
  EXPECT_FALSE(ReadFrom(Bytes({3}), s));              // ends after the count
  EXPECT_FALSE(ReadFrom(Bytes({3, 1, 2}), s));        // one element short
  EXPECT_FALSE(ReadFrom(Bytes({-1, 1}), s));          // a negative count
  EXPECT_FALSE(ReadFrom(Bytes({0x7fffffff, 1}), s));  // a huge count, short stream
  // A block that is not a set would break every search.
  EXPECT_FALSE(ReadFrom(Bytes({2, 3, 1}), s));
  EXPECT_FALSE(ReadFrom(Bytes({2, 1, 1}), s));
  EXPECT_FALSE(ReadFrom(Bytes({2, 1, -1}), s));
  EXPECT_FALSE(ReadFrom(Bytes({1, 0}), s));
  EXPECT_FALSE(ReadFrom(Bytes({1, qint32(0x80000000u)}), s));
  EXPECT_EQ(Elements(s), (std::vector<int>{2, 4}));
}

TEST(SignalSetBinary, WriteReportsAFailedStream) {
  QByteArray bytes;
  QBuffer buffer(&bytes);  // not open: every write fails
  QDataStream out(&buffer);
  EXPECT_FALSE((SignalSet{1}).Write(out));
}

TEST(SSignalSet, AddLiteralRefusesZeroAndContradiction) {
  SSignalSet c;
  EXPECT_TRUE(c.AddLiteral(2));
  EXPECT_FALSE(c.AddLiteral(-2));
  EXPECT_FALSE(c.AddLiteral(0));
  EXPECT_TRUE(c.AddLiteral(2));  // already there: still true
  EXPECT_EQ(Elements(c), (std::vector<int>{2}));
  // A list is taken literal by literal, so it cannot hold x2 beside X2.
  EXPECT_EQ(Elements(SSignalSet{2, -2, 0, -3}), (std::vector<int>{2, -3}));
  EXPECT_FALSE((SSignalSet{-1, 1}).Contains(1));
}

TEST(SSignalSet, Text) {
  EXPECT_EQ(SSignalSet().ToText(kX), "1");
  EXPECT_EQ((SSignalSet{1, -2}).ToText(kX), "x1&X2");
  const QStringList cyr{QString::fromUtf8("а1"), QString::fromUtf8("ёж")};
  EXPECT_EQ((SSignalSet{-1, -2}).ToText(cyr), QString::fromUtf8("А1&ЁЖ"));
  // A number the list does not name reads as the model's error text.
  EXPECT_EQ((SSignalSet{4}).ToText(kX), QString::fromLatin1(kBadSignalName));
  EXPECT_EQ(USignalSet().ToText(kX), "");
  EXPECT_EQ((USignalSet{1, 3}).ToText(kX), "x1&x3");
}

TEST(SSignalSet, CoversImpliesCompatible) {
  const SSignalSet cond{1, -2};
  EXPECT_TRUE(cond.Covers(SSignalSet()));  // an empty input lets every condition pass
  EXPECT_TRUE(SSignalSet().Covers(SSignalSet{1, 2}));
  EXPECT_TRUE(cond.Covers(SSignalSet{1, -2, 3}));
  EXPECT_FALSE(cond.Covers(SSignalSet{1, 2}));
  EXPECT_FALSE(cond.Covers(SSignalSet{1}));

  EXPECT_TRUE((SSignalSet{1, -2, 3}).Implies(cond));
  EXPECT_FALSE((SSignalSet{1}).Implies(cond));
  EXPECT_TRUE(cond.Implies(SSignalSet()));

  EXPECT_TRUE(cond.Compatible(SSignalSet{1, 3}));
  EXPECT_FALSE(cond.Compatible(SSignalSet{2}));
  EXPECT_TRUE(SSignalSet().Compatible(cond));
}

TEST(SSignalSet, GlueLiteral) {
  // a&b with a&B: b.
  EXPECT_EQ((SSignalSet{1, 2}).GlueLiteral(SSignalSet{1, -2}), 2);
  EXPECT_EQ((SSignalSet{1, -2}).GlueLiteral(SSignalSet{1, 2}), -2);
  // Two opposite literals, or one missing: nothing.
  EXPECT_EQ((SSignalSet{1, 2}).GlueLiteral(SSignalSet{-1, -2}), 0);
  EXPECT_EQ((SSignalSet{1, 2}).GlueLiteral(SSignalSet{-2}), 0);
  EXPECT_EQ((SSignalSet{1, 2}).GlueLiteral(SSignalSet{1, 2}), 0);
  // Only this conjunction's literals are looked at.
  EXPECT_EQ((SSignalSet{1, 2}).GlueLiteral(SSignalSet{1, -2, 3}), 2);
}

TEST(USignalSet, AddDelSatisfies) {
  USignalSet s;
  s.Add(3).Add(1).Add(-2).Add(0);  // only positive signals are taken
  EXPECT_EQ(Elements(s), (std::vector<int>{1, 3}));
  EXPECT_EQ(Elements(USignalSet{3, -1, 0, 1}), (std::vector<int>{1, 3}));
  s.Del(3).Del(7);
  EXPECT_EQ(Elements(s), (std::vector<int>{1}));

  EXPECT_TRUE(s.Satisfies(SSignalSet()));
  EXPECT_TRUE(s.Satisfies(SSignalSet{-3}));
  EXPECT_TRUE(s.Satisfies(SSignalSet{1, -3}));
  EXPECT_FALSE(s.Satisfies(SSignalSet{-1}));
  EXPECT_FALSE(s.Satisfies(SSignalSet{1, 2}));
}

TEST(USignalSet, SetAlgebra) {
  const USignalSet a{1, 2, 5}, b{2, 3, 5, 9};
  EXPECT_EQ(USignalSet::IntersectionOf(a, b), (USignalSet{2, 5}));
  EXPECT_EQ(USignalSet::UnionOf(a, b), (USignalSet{1, 2, 3, 5, 9}));
  EXPECT_EQ(USignalSet::DifferenceOf(a, b), (USignalSet{1}));
  EXPECT_EQ(USignalSet::SymmetricDifferenceOf(a, b), (USignalSet{1, 3, 9}));
  EXPECT_TRUE(USignalSet::IntersectionOf(a, USignalSet{4}).IsEmpty());
  EXPECT_TRUE(USignalSet::DifferenceOf(a, a).IsEmpty());
  EXPECT_TRUE(USignalSet::SymmetricDifferenceOf(a, a).IsEmpty());
  EXPECT_EQ(USignalSet::UnionOf(USignalSet(), b), b);

  USignalSet c = a;
  c.Union(b).Subtract(USignalSet{2}).Intersect(USignalSet{1, 2, 3, 4});
  EXPECT_EQ(c, (USignalSet{1, 3}));
  c.SymmetricDifference(USignalSet{3, 4});
  EXPECT_EQ(c, (USignalSet{1, 4}));
  c.Subtract(c);
  EXPECT_TRUE(c.IsEmpty());
}

TEST(NormalForm, GlueTerms) {
  // a&b | a&B is a.
  std::vector<SSignalSet> f{{1, 2}, {1, -2}};
  EXPECT_EQ(GlueTerms(f), 0);
  ASSERT_EQ(f.size(), 1u);
  EXPECT_EQ(f[0], (SSignalSet{1}));

  std::vector<SSignalSet> t{{1}, {-1}};
  EXPECT_EQ(GlueTerms(t), 1);

  // All four terms over a, b glue down to the constant true, in rounds.
  std::vector<SSignalSet> all{{1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
  EXPECT_EQ(GlueTerms(all), 1);

  // Only terms equal but for one opposite literal merge: a&B&c | a&b stays.
  std::vector<SSignalSet> uneven{{1, -2, 3}, {1, 2}};
  EXPECT_EQ(GlueTerms(uneven), 0);
  EXPECT_EQ(uneven, (std::vector<SSignalSet>{{1, -2, 3}, {1, 2}}));
  std::vector<SSignalSet> uneven2{{1, 2}, {1, -2, 3}};
  EXPECT_EQ(GlueTerms(uneven2), 0);
  EXPECT_EQ(uneven2.size(), 2u);

  // Unrelated terms are left alone.
  std::vector<SSignalSet> apart{{1, 2}, {-1, -2}, {3}};
  EXPECT_EQ(GlueTerms(apart), 0);
  EXPECT_EQ(apart.size(), 3u);

  // a&b&c | a&b&C | a&B -> a&b | a&B -> a.
  std::vector<SSignalSet> chain{{1, 2, 3}, {1, 2, -3}, {1, -2}};
  EXPECT_EQ(GlueTerms(chain), 0);
  ASSERT_EQ(chain.size(), 1u);
  EXPECT_EQ(chain[0], (SSignalSet{1}));
}

TEST(NormalForm, GlueTermsKeepsTheFunction) {
  // Random forms over three signals: the glued form is true for exactly the
  // same assignments.
  unsigned seed = 12345;
  auto next = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 300; ++round) {
    std::vector<SSignalSet> f;
    const int terms = 1 + int(next() % 6);
    for (int i = 0; i < terms; ++i) {
      SSignalSet c;
      for (int v = 1; v <= 3; ++v) {
        const unsigned r = next() % 3;
        if (r == 1) c.AddLiteral(v);
        if (r == 2) c.AddLiteral(-v);
      }
      f.push_back(c);
    }
    auto value = [](const std::vector<SSignalSet>& form, const USignalSet& a) {
      for (const SSignalSet& c : form)
        if (a.Satisfies(c)) return true;
      return false;
    };
    std::vector<SSignalSet> g = f;
    const int constant = GlueTerms(g);
    for (int bits = 0; bits < 8; ++bits) {
      USignalSet a;
      for (int v = 1; v <= 3; ++v)
        if (bits & (1 << (v - 1))) a.Add(v);
      if (constant == 1)
        EXPECT_TRUE(value(f, a)) << round;
      else
        EXPECT_EQ(value(f, a), value(g, a)) << round;
    }
  }
}

TEST(NormalForm, AnyCompatiblePair) {
  EXPECT_FALSE(AnyCompatiblePair({}));
  EXPECT_FALSE(AnyCompatiblePair({SSignalSet{1}}));
  EXPECT_FALSE(AnyCompatiblePair({SSignalSet{1}, SSignalSet{-1}}));
  EXPECT_TRUE(AnyCompatiblePair({SSignalSet{1}, SSignalSet{-1}, SSignalSet{2}}));
  EXPECT_FALSE(AnyCompatiblePair({SSignalSet{1, 2}, SSignalSet{1, -2}, SSignalSet{-1}}));
}
