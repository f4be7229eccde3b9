// Table -> СКУ: terms, targets, output functions and the cell helpers.
#include <gtest/gtest.h>

#include "helpers.h"
#include "platform/errors.h"

using namespace tt;

namespace {
TableData table(std::initializer_list<TableRow> r) {
  TableData t;
  t.rows = QList<TableRow>(r);
  return t;
}
}  // namespace

TEST(TblSku, WorkedExample) {
  bool outputs = false;
  const QStringList sku = tableToSku(
      table({R("s0", "y1", "x1", "s1"), R("", "", "X1", "s0"), R("s1", "y2&y1", "1", "s0")}), &outputs);
  EXPECT_TRUE(outputs);
  EXPECT_EQ(sku, L({"sku:", "s1=s0*x1;", "s0=s0*X1|s1;", "svf:", "y1=s0|s1;", "y2=s1;"}));
}

TEST(TblSku, Conditions) {
  EXPECT_EQ(tableToSku(table({R("s0", "", "1", "s1")})), L({"sku:", "s1=s0;"}));
  EXPECT_EQ(tableToSku(table({R("s0", "", "x1 & x2", "s1")})), L({"sku:", "s1=s0*x1*x2;"}));
  EXPECT_EQ(tableToSku(table({R("s0", "", "", "s1")})), L({"sku:", "s1=s0*;"}));
  EXPECT_EQ(tableToSku(table({R("s0 & s2", "", "x1", "s1")})), L({"sku:", "s1=s0*s2*x1;"}));
}

TEST(TblSku, Targets) {
  // "0" or blanks and zeros are no target; several targets in one cell.
  EXPECT_EQ(tableToSku(table({R("s0", "", "0", "0"), R("s1", "", "x1", " 0 "), R("s2", "", "x2", "s3&s4")})),
            L({"sku:", "s3=s2*x2;", "s4=s2*x2;"}));
  // Targets in order of first appearance.
  EXPECT_EQ(tableToSku(table({R("s0", "", "x1", "s2"), R("", "", "x2", "s1"), R("s1", "", "x3", "s2")})),
            L({"sku:", "s2=s0*x1|s1*x3;", "s1=s0*x2;"}));
}

TEST(TblSku, SourceIsTheSameForEveryTarget) {
  // Rows above the first source cell have no source, for the second target as for the first.
  EXPECT_EQ(tableToSku(table({R("", "", "x1", "s1&s2"), R("s5", "", "x2", "s1")})),
            L({"sku:", "s1=*x1|s5*x2;", "s2=*x1;"}));
}

TEST(TblSku, OutputFunctions) {
  bool outputs = true;
  EXPECT_EQ(tableToSku(table({R("s0", "", "x1", "s1")}), &outputs), L({"sku:", "s1=s0*x1;"}));
  EXPECT_FALSE(outputs);
  EXPECT_EQ(TTblToSku::warningText(),
            QString::fromUtf8("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!"));
  // A source cell of two names gives both names to the function.
  EXPECT_EQ(tableToSku(table({R("s1&s2", "y1", "x1", "s3")})),
            L({"sku:", "s3=s1*s2*x1;", "svf:", "y1=s1|s2;"}));
  // An output written only on a continuation row gets an empty function.
  EXPECT_EQ(tableToSku(table({R("s0", "y1", "x1", "s1"), R("", "y3", "x2", "s2")})),
            L({"sku:", "s1=s0*x1;", "s2=s0*x2;", "svf:", "y1=s0;", "y3=;"}));
  // Output-only rows keep their output.
  EXPECT_EQ(tableToSku(table({R("s0", "", "x1", "s1"), R("s1", "y1", "0", "0")})),
            L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
}

TEST(TblSku, CellHelpers) {
  EXPECT_EQ(TTblToSku::SplitNames("a|b&c"), L({"a", "b", "c"}));
  EXPECT_EQ(TTblToSku::SplitNames("a||b"), L({"a", "|b"}));
  EXPECT_EQ(TTblToSku::SplitNames(""), QStringList{""});
  EXPECT_EQ(TTblToSku::SplitNames("a&"), QStringList{"a"});
  EXPECT_EQ(TTblToSku::SplitNames("&a"), L({"", "a"}));
  EXPECT_TRUE(TTblToSku::HasContent("s1"));
  EXPECT_FALSE(TTblToSku::HasContent(" 0 00"));
  EXPECT_FALSE(TTblToSku::HasContent(""));
  EXPECT_EQ(TTblToSku::NormalizeTerm(" a & b*c ", '*'), "a*b*c");
}

TEST(TblSku, TextOfTheSquareOfTheTableIsRefused) {
  const auto names = [](const char* prefix, int n, const char* op) {
    QStringList l;
    for (int i = 0; i < n; ++i) l << QString::fromLatin1(prefix) + QString::number(i);
    return l.join(QLatin1String(op));
  };
  struct Case {
    const char* what;
    TableRow row;
    int rows;
    bool refused;
  };
  const Case cases[] = {
      {"each of many targets repeats a long condition",
       {"s0", "", names("x", 4000, "&"), names("s", 600, "&")},
       1,
       true},
      {"each of many outputs gets every event of a long source",
       {names("s", 3000, "&"), names("y", 3000, "&"), "1", "s1"},
       1,
       true},
      {"three targets and outputs a row, as nondeterministic tables have",
       R("s0&s1", "y1&y2&y3", "x1&X2", "s1&s2&s3"), 30000, false},
  };
  for (const Case& c : cases) {
    TableData t;
    for (int i = 0; i < c.rows; ++i) t.rows << c.row;
    QStringList out{"kept"};
    if (c.refused) {
      EXPECT_THROW(TTblToSku(t, &out).Convert(), VexoError) << c.what;
      EXPECT_EQ(out, QStringList{"kept"}) << c.what;
    } else {
      EXPECT_NO_THROW(TTblToSku(t, &out).Convert()) << c.what;
      EXPECT_EQ(out.size(), 1 + 1 + 3 + 1 + 3) << c.what;
    }
  }
}
