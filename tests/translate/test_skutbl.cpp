// СКУ -> table: grouping by source set, conditions, targets, outputs and the decided faults.
#include <gtest/gtest.h>

#include "helpers.h"
#include "platform/errors.h"

using namespace tt;

namespace {
QList<TableRow> rows(std::initializer_list<TableRow> r) { return QList<TableRow>(r); }
}  // namespace

TEST(SkuTbl, WorkedExample) {
  const TableData t = skuToTable(L({"sku:", "s1=s0*x1|s2*X2;", "s2=s1*x3;", "svf:", "y1=s1;"}));
  EXPECT_EQ(t.signalCoding, "Binary");
  EXPECT_EQ(t.rows, rows({R("s0", "", "x1", "s1"), R("s2", "", "X2", "s1"), R("s1", "y1", "x3", "s2")}));
}

TEST(SkuTbl, ConditionsAndGroups) {
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0;", "svf:"})).rows, rows({R("s0", "", "1", "s1")}));
  // One group per source set; only its first row names the source.
  EXPECT_EQ(skuToTable(L({"sku:", "s2=s0*x1;", "s3=s0*x2;", "svf:"})).rows,
            rows({R("s0", "", "x1", "s2"), R("", "", "x2", "s3")}));
  EXPECT_EQ(
      skuToTable(L({"sku:", "s2=s0*x1|s1*x3;", "s3=s1*x4|s0*x2;", "svf:"})).rows,
      rows({R("s0", "", "x1", "s2"), R("", "", "x2", "s3"), R("s1", "", "x3", "s2"), R("", "", "x4", "s3")}));
  // Several conditions are joined by '&', as written.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1*X2*x3;", "svf:"})).rows, rows({R("s0", "", "x1&X2&x3", "s1")}));
  // Several targets and several sources; a later term with the same set joins the group.
  EXPECT_EQ(skuToTable(L({"sku:", "s1*s2=s0*x1;", "s3=s0*s1*x1;", "s4=s1*s0*x2;", "svf:"})).rows,
            rows({R("s0", "", "x1", "s1&s2"), R("s0&s1", "", "x1", "s3"), R("", "", "x2", "s4")}));
}

TEST(SkuTbl, AbstractSignals) {
  TableData t = skuToTable(L({"sku:", "s1=s0*z1|s0*z2;", "svf:"}));
  EXPECT_EQ(t.signalCoding, "Abstract");
  EXPECT_EQ(t.rows, rows({R("s0", "", "z1", "s1"), R("", "", "z2", "s1")}));
  // In an abstract text binary factors are not written.
  t = skuToTable(L({"sku:", "s2=s0*z2;", "s1=s0*x1*z1;", "svf:"}));
  EXPECT_EQ(t.signalCoding, "Abstract");
  EXPECT_EQ(t.rows, rows({R("s0", "", "z2", "s2"), R("", "", "z1", "s1")}));
  // The kind is read from the factors, whatever blanks and comments stand around them.
  t = skuToTable(L({"sku:", "/* s=x1 */ s1 = s0 * z1;", "svf:"}));
  EXPECT_EQ(t.signalCoding, "Abstract");
  EXPECT_EQ(t.rows, rows({R("s0", "", "z1", "s1")}));
  t = skuToTable(L({"sku:", "/* s=z1 */ s1=s0*x1;", "svf:"}));
  EXPECT_EQ(t.signalCoding, "Binary");
  // A text with no signal at all is binary.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0;", "svf:"})).signalCoding, "Binary");
}

TEST(SkuTbl, ConditionsComeOnlyFromFactors) {
  // "sx1" is an event whose name holds an 'x', not a condition.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=sx1*x2;", "svf:"})).rows, rows({R("sx1", "", "x2", "s1")}));
  EXPECT_EQ(skuToTable(L({"sku:", "s1=sz1*z2;", "svf:"})).rows, rows({R("sz1", "", "z2", "s1")}));
}

TEST(SkuTbl, Outputs) {
  // An event without a row gets an output-only row.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1;", "svf:", "y1=s5;"})).rows,
            rows({R("s0", "", "x1", "s1"), R("s5", "y1", "0", "0")}));
  // Several outputs on one row; a repeated function does not repeat the output.
  EXPECT_EQ(skuToTable(L({"sku:", "s2=s1*x1;", "svf:", "y1=s1;", "y2=s1;", "y1=s1;"})).rows,
            rows({R("s1", "y1&y2", "x1", "s2")}));
  // Every row whose source set holds the event gets the output; continuation rows do not.
  EXPECT_EQ(skuToTable(L({"sku:", "s2=s0*x1|s0*s1*x2;", "s3=s0*x3;", "svf:", "y1=s0;"})).rows,
            rows({R("s0", "y1", "x1", "s2"), R("", "", "x3", "s3"), R("s0&s1", "y1", "x2", "s2")}));
  // An output-only row is found again by later functions.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1;", "svf:", "y1=s5|s0;", "y2=s5;"})).rows,
            rows({R("s0", "y1", "x1", "s1"), R("s5", "y1&y2", "0", "0")}));
  // Without "svf:" there are no outputs and no extra rows.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1;"})).rows, rows({R("s0", "", "x1", "s1")}));
}

TEST(SkuTbl, StatementWithoutSemicolonAtSectionEndIsKept) {
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1;", "s2=s1*x2", "svf:", "y1=s2"})).rows,
            rows({R("s0", "", "x1", "s1"), R("s1", "", "x2", "s2"), R("s2", "y1", "0", "0")}));
  // The sections may come in either order; lines before the first header are ignored.
  EXPECT_EQ(skuToTable(L({"s9=s8*x9;", "svf:", "y1=s0;", "sku:", "s1=s0*x1;"})).rows,
            rows({R("s0", "y1", "x1", "s1")}));
}

TEST(SkuTbl, BracketsAreMultipliedOutWithinTheirTerm) {
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*(x1|x2);", "svf:"})).rows,
            rows({R("s0", "", "x1", "s1"), R("", "", "x2", "s1")}));
  // The factors around the group come before the group's alternative.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*(x1|x2)*x3;", "svf:"})).rows,
            rows({R("s0", "", "x3&x1", "s1"), R("", "", "x3&x2", "s1")}));
  // Another term of the equation is not repeated.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s2*x4|s0*(x1|x2);", "svf:"})).rows,
            rows({R("s2", "", "x4", "s1"), R("s0", "", "x1", "s1"), R("", "", "x2", "s1")}));
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*(x1|x2)|s2*x3;", "svf:"})).rows,
            rows({R("s0", "", "x1", "s1"), R("", "", "x2", "s1"), R("s2", "", "x3", "s1")}));
  // Nested groups, from the outside in; several groups in one term.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*(x1|(x2|x3)*x4);", "svf:"})).rows,
            rows({R("s0", "", "x1", "s1"), R("", "", "x4&x2", "s1"), R("", "", "x4&x3", "s1")}));
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*(x1|X1)*(x2|X2);", "svf:"})).rows,
            rows({R("s0", "", "x2&x1", "s1"), R("", "", "x2&X1", "s1"), R("", "", "X2&x1", "s1"),
                  R("", "", "X2&X1", "s1")}));
  // Sources inside a group.
  EXPECT_EQ(skuToTable(L({"sku:", "s1=(s0|s2)*x1;", "svf:"})).rows,
            rows({R("s0", "", "x1", "s1"), R("s2", "", "x1", "s1")}));
}

TEST(SkuTbl, ConfiguredLetters) {
  const DocSettings s = otherLetters();
  const TableData t = skuToTable(L({"sku:", "q1=p0*b1*B2|p2;", "svf:", "o1=p0;"}), s);
  EXPECT_EQ(t.signalCoding, "Binary");
  EXPECT_EQ(t.rows, rows({R("p0", "o1", "b1&B2", "q1"), R("p2", "", "1", "q1")}));
}

TEST(SkuTbl, StatementsAreReadWithoutBlanksAndComments) {
  QStringList sku = L({"sku:", "s1 = s0 * x1 ; // s2=s0;", "/* s3=s0;", "*/ s4=s0*x2;", "s5=s1// x", "*x3;",
                       "svf:", "y1 = s1 | s4 ;"});
  TableData t;
  TSkuTbl c(sku, &t, DocSettings());
  c.Convert();
  EXPECT_EQ(c.statements(), L({"s1=s0*x1", "s4=s0*x2", "s5=s1*x3", "y1=s1|s4"}));
}

TEST(SkuTbl, BadTextsDoNotCrash) {
  for (const char* t : {"", "=", "s1=", "s1=*", "s1=(", "s1=)", "s1=((x1)", "s1=|", "=x1", "s1=x1", "s1=()",
                        "s1=s0*()*x1", "(=)", "s1=a=b", "}{)(", "s1=s0(x1)x2"}) {
    TableData table;
    TSkuTbl c(L({"sku:", t, "svf:", t}), &table, DocSettings());
    EXPECT_NO_THROW(c.Convert()) << t;
  }
}

TEST(SkuTbl, HugeExpansionIsRefused) {
  // A full truth table of twelve signals is still converted.
  QString full = QStringLiteral("s1=s0");
  for (int i = 0; i < 12; ++i) full += QStringLiteral("*(x%1|X%1)").arg(i);
  TableData ok;
  TSkuTbl(QStringList{"sku:", full + ";"}, &ok, DocSettings()).Convert();
  EXPECT_EQ(ok.rows.size(), 4096);

  QString e = QStringLiteral("s1=s0");
  for (int i = 0; i < 30; ++i) e += QStringLiteral("*(x%1|X%1)").arg(i);
  TableData t;
  TSkuTbl c(QStringList{"sku:", e + ";"}, &t, DocSettings());
  EXPECT_THROW(c.Convert(), VexoError);
  QString deep = QStringLiteral("s1=s0*") + QString(5000, QLatin1Char('(')) + "x1";
  TSkuTbl c2(QStringList{"sku:", deep}, &t, DocSettings());
  EXPECT_THROW(c2.Convert(), VexoError);
}

TEST(SkuTbl, BracketsInOutputFunctionsOnlyGroup) {
  EXPECT_EQ(skuToTable(L({"sku:", "s1=s0*x1;", "s2=s1*x2;", "svf:", "y1=s0|(s1|s5);"})).rows,
            rows({R("s0", "y1", "x1", "s1"), R("s1", "y1", "x2", "s2"), R("s5", "y1", "0", "0")}));
}
