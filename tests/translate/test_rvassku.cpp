// РВАС -> СКУ: steps, fresh events, iterations, bracket groups and output lists.
#include <gtest/gtest.h>

#include "helpers.h"
#include "platform/errors.h"

using namespace tt;

TEST(RvasSku, OutputListBecomesSvf) {
  EXPECT_EQ(rvasToSku(L({"s1(y1)=s0*x1;"})), L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  EXPECT_EQ(rvasToSku(L({"s2(y1,y2)=s0*x1*x2;", "s3(y1)=s0*z1;"})),
            L({"sku:", "s1=s0*x1;", "s2=s1*x2;", "s3=s0*z1;", "svf:", "y1=s2|s3;", "y2=s2;"}));
  // Without any output list "svf:" is the last line.
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1;"})), L({"sku:", "sw=s0*x1;", "svf:"}));
  // Outputs are listed in order of first declaration; repeats are kept.
  EXPECT_EQ(rvasToSku(L({"sa(y2)=s0*x1;", "sb(y1,y2,y2)=s0*x2;"})),
            L({"sku:", "sa=s0*x1;", "sb=s0*x2;", "svf:", "y2=sa|sb|sb;", "y1=sb;"}));
}

TEST(RvasSku, LongProductsAreCutIntoSteps) {
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1*x2*x3;"})), L({"sku:", "s1=s2*x2;", "s2=s0*x1;", "sw=s1*x3;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1|s0*x2*x3;"})), L({"sku:", "s1=s0*x2;", "sw=s0*x1|s1*x3;", "svf:"}));
  // The counter runs through the whole text.
  EXPECT_EQ(rvasToSku(L({"sa=s0*x1*x2;", "sb=s0*x3*x4;"})),
            L({"sku:", "s1=s0*x1;", "sa=s1*x2;", "s2=s0*x3;", "sb=s2*x4;", "svf:"}));
}

TEST(RvasSku, FreshEventsSkipNamesOfTheText) {
  EXPECT_EQ(rvasToSku(L({"s1=s0*x1*x2;"})), L({"sku:", "s2=s0*x1;", "s1=s2*x2;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"s2(y1)=s0*x1*x2*x3;", "s1=s3*x1;", "s4=s0*x4;"})),
            L({"sku:", "s5=s6*x2;", "s6=s0*x1;", "s2=s5*x3;", "s1=s3*x1;", "s4=s0*x4;", "svf:", "y1=s2;"}));
}

TEST(RvasSku, Iteration) {
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1}*x2;"})), L({"sku:", "s1=s0|s1*x1;", "sw=s1*x2;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1};"})), L({"sku:", "sw=s0|sw*x1;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1|x2};"})), L({"sku:", "sw=s0|sw*x1|sw*x2;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1*{x2};"})), L({"sku:", "sw=s0*x1|sw*x2;", "svf:"}));
  // A product inside the braces is cut like any other.
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1*x2};"})), L({"sku:", "s1=sw*x1;", "sw=s0|s1*x2;", "svf:"}));
  // The target is one state: a loop that ends its alternative returns to it, also a loop
  // nested in another, two loops in a row and a loop beside other alternatives.
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1*{x2}};"})), L({"sku:", "sw=s0|sw*x1|sw*x2;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1}*{x2};"})), L({"sku:", "sw=s0|sw*x1|sw*x2;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1*{x2}|s0*x3;"})), L({"sku:", "sw=s0*x1|sw*x2|s0*x3;", "svf:"}));
  // A loop followed by a step gets a fresh event of its own.
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1}*x2*x3;"})),
            L({"sku:", "s1=s2*x2;", "s2=s0|s2*x1;", "sw=s1*x3;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*x1*{x2}*x3;"})), L({"sku:", "s1=s0*x1|s1*x2;", "sw=s1*x3;", "svf:"}));
}

TEST(RvasSku, BracketGroups) {
  EXPECT_EQ(rvasToSku(L({"sw=s0*(x1|x2);"})), L({"sku:", "sw=s0*x1|s0*x2;", "svf:"}));
  // A group followed by more factors is cut first, so the order of the steps is kept.
  EXPECT_EQ(rvasToSku(L({"sw=s0*(x1|x2)*x3;"})), L({"sku:", "s1=s0*x1|s0*x2;", "sw=s1*x3;", "svf:"}));
  EXPECT_EQ(rvasToSku(L({"sw=s0*(x1|x2*x3);"})), L({"sku:", "s1=s0*x2;", "sw=s0*x1|s1*x3;", "svf:"}));
  // A group with '|' inside an iteration: the target is put before the whole group.
  EXPECT_EQ(rvasToSku(L({"sw=s0*{(x1|x2)*x3};"})), L({"sku:", "s1=sw*x1|sw*x2;", "sw=s0|s1*x3;", "svf:"}));
  // A top-level alternative after a group is left alone.
  EXPECT_EQ(rvasToSku(L({"sw=s0*(x1|x2)|s0*x3;"})), L({"sku:", "sw=s0*x1|s0*x2|s0*x3;", "svf:"}));
}

TEST(RvasSku, OddRightSidesAreReadAsTheyStand) {
  const struct {
    const char* in;
    QStringList out;
  } cases[] = {
      // A closing bracket without its opening one is dropped from the name it stands in.
      {"sw=s0*x1)2;", L({"sku:", "sw=s0*x12;", "svf:"})},
      {"s1=s0*x}1*x2;", L({"sku:", "s2=s0*x1;", "s1=s2*x2;", "svf:"})},
      // A group standing alone in its product is written back as read, empty factors left out.
      {"sw={x1|x2**x3};", L({"sku:", "sw={x1|x2*x3};", "svf:"})},
      {"sw={x1|(x2|)}*x3;", L({"sku:", "s1={x1|(x2|)};", "sw=s1*x3;", "svf:"})},
  };
  for (const auto& c : cases) EXPECT_EQ(rvasToSku(L({c.in})), c.out) << c.in;
}

TEST(RvasSku, TextIsReadWithoutCommentsAndBlanks) {
  EXPECT_EQ(rvasToSku(L({"// heading", "s1 ( y1 ) = s0 * /* step */ x1 ;", "/* s2=s0*x2;", "*/ s3=s0*x3"})),
            L({"sku:", "s1=s0*x1;", "s3=s0*x3;", "svf:", "y1=s1;"}));
  // A last expression without ';' is converted like the others; an expression may span lines.
  EXPECT_EQ(rvasToSku(L({"sw=s0*", "x1*", "x2"})), L({"sku:", "s1=s0*x1;", "sw=s1*x2;", "svf:"}));
}

TEST(RvasSku, ResultPassesTheSkuCheck) {
  const QStringList rvas =
      L({"sa(y1)=s0*x1*{x2|x3*x4}*x5;", "sb(y2)=s0*(x1|X2*x3)*x4|s0*{x6};", "sc(y1,y3)=s0*x1*x2*x3*x4*x5;"});
  ASSERT_FALSE(checkRvas(rvas).failed) << checkRvas(rvas).messages;
  const QStringList sku = rvasToSku(rvas);
  const Checked c = checkSku(sku);
  EXPECT_FALSE(c.failed) << c.messages << sku;
  EXPECT_TRUE(c.messages.isEmpty()) << c.messages;
}

TEST(RvasSku, BadTextsDoNotCrash) {
  for (const char* t : {"",
                        ";",
                        "=",
                        "s1=",
                        "s1=*",
                        "s1=(",
                        "s1=)",
                        "s1={",
                        "s1=}",
                        "s1=((x)",
                        "s1=s0*{}",
                        "s1(=s0",
                        "s1(y1=s0*x1",
                        "s1()=s0",
                        "s1=s0*()*x1",
                        "(=)",
                        "s1=s0|",
                        "s1=|||",
                        "s1=s0**x1",
                        "s1=a=b",
                        "s1=s0*(x1}*x2",
                        "}{)(",
                        "s1=x1(x2)x3{x4}x5"}) {
    QStringList out;
    TRvasSku c(L({t}), &out, DocSettings());
    EXPECT_NO_THROW(c.Convert()) << t;
    EXPECT_GE(out.size(), 2) << t;
  }
}

TEST(RvasSku, HugeExpansionIsRefused) {
  // Each bracket group doubles the alternatives before it.
  QString e = QStringLiteral("sw=s0");
  for (int i = 0; i < 40; ++i) e += QStringLiteral("*(x%1|X%1)").arg(i);
  QStringList out;
  TRvasSku c(QStringList{e + ";"}, &out, DocSettings());
  EXPECT_THROW(c.Convert(), VexoError);
  // Deep nesting is refused, not a stack overflow.
  QString deep =
      QStringLiteral("sw=s0*") + QString(5000, QLatin1Char('(')) + "x1" + QString(5000, QLatin1Char(')'));
  QStringList out2;
  TRvasSku c2(QStringList{deep}, &out2, DocSettings());
  EXPECT_THROW(c2.Convert(), VexoError);
}
