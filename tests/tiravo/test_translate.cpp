// Tiravo's checkers and converters without windows.
#include <gtest/gtest.h>

#include "common/nesting.h"
#include "tiravo/translate/rvascheck.h"
#include "tiravo/translate/rvasconvert.h"
#include "tiravo/translate/skutable.h"
#include "tiravo/translate/tablesku.h"

using namespace tiravo;

namespace {

QStringList rvasToSku(const QStringList& memo) {
  const RvasCompact c(memo);
  EXPECT_EQ(checkRvas(c.text).code, 0) << c.text.toStdString();
  return RvasConverter().convert(c.text);
}

int rvasCode(const QString& text) { return checkRvas(RvasCompact({text}).text).code; }

struct SkuRun {
  bool ok = false;
  SkuStageFault fault;
  TableData table;
};

SkuRun skuToTable(const QStringList& text) {
  SkuRun r;
  SkuToTable conv(findSkuSections(text));
  r.ok = conv.runSku(text, &r.fault);
  if (r.ok && findSkuSections(text).hasSvf()) r.ok = conv.runSvf(text, &r.fault);
  r.table = conv.table();
  return r;
}

QList<TableRow> rows(std::initializer_list<TableRow> list) { return QList<TableRow>(list); }

}  // namespace

TEST(TiravoRvas, ConvertsTheWorkedExamples) {
  const struct {
    QStringList memo, sku;
  } cases[] = {
      {{"sw=s0*x1"}, {"sku:", "sw=s0*x1"}},
      {{"sw(y1)=s0*x1*x2"}, {"sku:", "s1=s0*x1", "sw=s1*x2", "svf:", "y1=sw"}},
      {{"sw = s0*x1 |", "s0*x2*x3"}, {"sku:", "s1=s0*x2", "sw=s0*x1|s1*x3"}},
      {{"sw=s0*{x1}*x2"}, {"sku:", "s1=s0|s1*x1", "sw=s1*x2"}},
      {{"sw=s0*(x1|x2)*x3"}, {"sku:", "s1=s0*x1|s0*x2", "sw=s1*x3"}},
      {{"sw=s0*x1*x2*x3"}, {"sku:", "s1=s2*x2", "s2=s0*x1", "sw=s1*x3"}},
      {{"sw=s0*{x1|x2}"}, {"sku:", "sw=s0|sw*x1|sw*x2"}},
      {{"sw=s0*(x1|x2)"}, {"sku:", "sw=s0*x1|s0*x2"}},
      // An output list with several names gives one output function per name.
      {{"sw(y1,y2)=s0*z1"}, {"sku:", "sw=s0*z1", "svf:", "y1=sw", "y2=sw"}},
      // Fresh events never take a name of the text.
      {{"s1=s0*x1*x2"}, {"sku:", "s2=s0*x1", "s1=s2*x2"}},
      // Two loops in a row stay apart.
      {{"sw=s0*{x1}*{x2}"}, {"sku:", "s1=s0|s1*x1", "sw=s1|sw*x2"}},
      // A bracket group after a longer product repeats one event, not the whole product.
      {{"sw=s0*x1*(x2|x3)"}, {"sku:", "s1=s0*x1", "sw=s1*x2|s1*x3"}},
      // A loop in one of several alternatives runs through an event of its own.
      {{"sw=s0*x1|s0*{x2}"}, {"sku:", "s1=s0|s1*x2", "sw=s0*x1|s0|s1*x2"}},
      // A bracket group inside a loop is multiplied out after the loop's event.
      {{"sw=s0*{x1|(x2|x3)}"}, {"sku:", "sw=s0|sw*x1|sw*x2|sw*x3"}},
      // A target with a 'Z' never stands on a right side, where the letter reads as a signal.
      {{"aZ=s0*{x1}"}, {"sku:", "s1=s0|s1*x1", "aZ=s0|s1*x1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(rvasToSku(c.memo), c.sku) << c.memo.join('/').toStdString();
}

TEST(TiravoRvas, FirstErrorCodes) {
  const struct {
    const char* text;
    int code;
  } cases[] = {
      {"sw=s0*x1*", 13},
      {"sw=", 7},
      {"sw=s0**x1", 9},
      {"sw=s0*(x1", 16},
      {"sw=x1*s0", 2},
      {"sw=s0*{s0}", 8},
      {"s=w=s0", 1},
      {"=s0", 6},
      {"sw", 5},
      {"", 5},
      {"sw=s0*x1}", 3},
      {"sw=s0*{x1", 4},
      {"sw=s0*1x", 10},
      {"sw=s0*x1a", 11},
      {"sw=s0*(x1)x2", 11},
      {"sw=s0*a;", 12},
      {"sw=s0*x1;", 11},
      {"sw=s0*(*x1)", 14},
      {"sw=s0*x1)", 15},
      {"sw=s0*(x1|s0)", 17},
      {"sw=s0*a/b", 12},
      // The ordinary targets and output lists are read.
      {"s1=s0*x1", 0},
      {"sw(y1,y2)=s0*x1", 0},
      {"sw = s0\t*x1", 0},
      // What the СКУ check or the table would refuse is refused here already.
      {"sw=s0*(x1|)", 13},
      {"sw=s0*()", 10},
      {"sw=s0*a(x1)", 11},
      {"sw=s0*a,b", 12},
      {"sw=s0*({a)}", 15},
      {"sw=s0*Z1", 18},
      {"sw=s0*aZ", 18},
      {"sw=s0*x1*z1", 19},
      {"sw=s0*z1*x1", 19},
      {"sw=s0*S1", 20},
      {"sw=s0*x1*Sa", 20},
      {"Sw=s0", 20},
      {"sw=s0*ax1", 11},
      {"x1=s0", 6},
      {"s*w=s0", 6},
      {"sw()=s0", 10},
      {"s(y1=a)", 16},
      {"sw(Y1)=s0", 20},
      {"sw=s0*(x1|*x2)", 9},
      {"sw=s0*a.b", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(rvasCode(QString::fromUtf8(c.text)), c.code) << c.text;
}

TEST(TiravoRvas, TooDeepNestingIsRefusedAndTheLimitConverts) {
  const auto nested = [](int depth, char open, char close) {
    return QStringLiteral("sw=s0*") + QString(depth, QLatin1Char(open)) + "x1" +
           QString(depth, QLatin1Char(close));
  };
  const struct {
    QString text;
    int code;
  } cases[] = {
      {nested(12000, '{', '}'), 21},
      {QStringLiteral("sw=s0*") + QString(20000, QLatin1Char('(')), 21},
      {nested(vexo::kMaxNesting + 1, '(', ')'), 21},
      {nested(vexo::kMaxNesting, '(', ')'), 0},
      {nested(vexo::kMaxNesting, '{', '}'), 0},
  };
  for (const auto& c : cases) {
    const RvasFault f = checkRvas(c.text);
    EXPECT_EQ(f.code, c.code) << c.text.size();
    if (f.code) continue;
    const QStringList sku = RvasConverter().convert(c.text);
    EXPECT_TRUE(skuToTable(sku).ok) << c.text.size();
  }
}

TEST(TiravoRvas, SelectionMapsBackToTheMemo) {
  // 's0' after '*': code 8 at the two characters, on the second line behind blanks and a tab.
  const RvasCompact c({"sw = s0*x1|", "  s0 *\t s0"});
  const RvasFault f = checkRvas(c.text);
  ASSERT_EQ(f.code, 8);
  int start = 0, end = 0;
  c.select(f.pos, f.length, &start, &end);
  EXPECT_EQ(QString("sw = s0*x1|\n  s0 *\t s0").mid(start, end - start), "s0");
  EXPECT_EQ(start, 20);
  // A place after the last character lies behind it.
  const RvasCompact d({"sw =  "});
  c.select(0, 0, &start, &end);
  d.select(checkRvas(d.text).pos, 0, &start, &end);
  EXPECT_EQ(start, 4);
}

TEST(TiravoSku, ConvertsIntoRows) {
  const struct {
    QStringList text;
    QList<TableRow> rows;
    QString coding;
  } cases[] = {
      {{"sku:", "s1 = s0*x1 | s2*X2", "s2 = s1*x3", "svf:", "y1 = s1"},
       rows({{"s0", "", "x1", "s1"}, {"s2", "", "X2", "s1"}, {"s1", "y1", "x3", "s2"}}),
       "Binary"},
      {{"sku:", "s1=s0*z1|s0*z2"}, rows({{"s0", "", "z1", "s1"}, {"", "", "z2", "s1"}}), "Abstract"},
      // An event that is only a target gets a row for its output.
      {{"sku:", "s3=s0*x1", "svf:", "y1=s3"},
       rows({{"s0", "", "x1", "s3"}, {"s3", "y1", "0", "0"}}),
       "Binary"},
      // Several targets, several sources, no condition; blank lines are skipped.
      {{"sku:", "s1*s2=s0*s1", "", "svf:", "y1=s1|s2", "y2=s1", "y1=s1"},
       rows({{"s0&s1", "y1&y2", "1", "s1&s2"}, {"s2", "y1", "0", "0"}}),
       "Binary"},
      // A row left for a next group does not stay at the end.
      {{"sku:", "s1=s0*x1|s2*x2", "s2=s0*x3"},
       rows({{"s0", "", "x1", "s1"}, {"", "", "x3", "s2"}, {"s2", "", "x2", "s1"}}),
       "Binary"},
  };
  for (const auto& c : cases) {
    const SkuRun r = skuToTable(c.text);
    EXPECT_TRUE(r.ok) << c.text.join('/').toStdString() << " " << r.fault.message.toStdString();
    EXPECT_EQ(r.table.rows, c.rows) << c.text.join('/').toStdString();
    EXPECT_EQ(r.table.signalCoding, c.coding);
  }
}

TEST(TiravoSku, FirstErrorOfALine) {
  const struct {
    const char* line;
    int code, start, length;
  } cases[] = {
      {"s1=s0*Z1", 1, 6, 1},
      {"s1=s0*x1*z1", 2, 9, 1},
      {"s1=s0*z1*x1", 1, 9, 1},
      {"s1=s0*z1*z2", 3, 9, 2},
      {"s1=x1", 4, 3, 2},
      {"s1=s0* x1", 5, 7, 0},
      {"s1=s0x1", 5, 5, 0},
      {"=s0", 6, 0, 0},
      {"1s=s0", 7, 0, 1},
      {"s1=s0*2", 7, 6, 1},
      {"s1=s0*(x1)", 8, 6, 1},
      {"s1=s0**x1", 9, 6, 1},
      {"s1=", 10, 3, 0},
      {"s1=s0=x1", 11, 5, 1},
      {"s1=s0*", 12, 5, 1},
      {"s1 s0", 13, 0, 0},
      {"s1=s0*x1a", 5, 8, 0},
      {"s1=s0*x1|s2a", 5, 11, 0},
      {"s1=s0 *x1", 0, 0, 0},
      {"s1 = s0*x1 | s2*X2", 0, 0, 0},
      {"s1=s0a*x1", 0, 0, 0},
      // What the table compiler would refuse.
      {"s1=s0*x1*x1", 14, 9, 2},
      {"s1=s0*x1*X1", 14, 9, 2},
      {"s1=S0*x1", 15, 3, 1},
      {"s1|s2=s0", 6, 2, 1},
      {"s1=s0*a,b", 8, 7, 1},
      {"s1*=s0", 12, 2, 1},
      {"s1=*s0", 9, 3, 1},
      {"s1=e1", 4, 3, 2},
      {"s1*s1=s0", 14, 3, 2},
      {"s1=s0\x01", 8, 5, 1},
  };
  for (const auto& c : cases) {
    SkuLineCheck check(false);
    const SkuFault f = check.check(QString::fromUtf8(c.line));
    EXPECT_EQ(f.code, c.code) << c.line;
    if (c.code) {
      EXPECT_EQ(std::make_pair(f.start, f.length), std::make_pair(c.start, c.length)) << c.line;
    }
  }
  // In the output functions.
  SkuLineCheck svf(true);
  EXPECT_EQ(svf.check("y1=s1*s2").code, 8);
  EXPECT_EQ(skuMessage(8, true), "Данный символ нельзя использовать в СВФ");
  EXPECT_EQ(svf.check("Y1=s1").code, 15);
}

TEST(TiravoSku, StagesStopAtTheFaultyLine) {
  // The signal kind holds for the section: a later 'z' after an 'x' is refused.
  SkuRun r = skuToTable({"sku:", "s1=s0*x1", "", "s2=s1*z1", "svf:", "y1=s1"});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.fault.line, 3);
  EXPECT_EQ(r.fault.message, "Двоичные сигналы обозначаютя символом x (возможно с отрицанием)");
  r = skuToTable({"sku:", "s1=s0*x1", "svf:", "y1=s9"});
  EXPECT_EQ(r.fault.line, 3);
  EXPECT_EQ(r.fault.message, "Событие отсутствует");
  // The new-document template: nothing to convert, and no division by an empty section.
  r = skuToTable({"sku:", "", "svf:"});
  EXPECT_EQ(r.fault.line, -1);
  EXPECT_EQ(r.fault.message, "Отсутствует текст СКУ");
  r = skuToTable({"sku:", "s1=s0", "svf:"});
  EXPECT_EQ(r.fault.message, "Отсутствует текст СВФ");
  // A corrected line is judged afresh: the flags of the failed run do not remain.
  QStringList text{"sku:", "s1=s0*x1*z1"};
  SkuToTable conv(findSkuSections(text));
  SkuStageFault f;
  EXPECT_FALSE(conv.runSku(text, &f));
  text[1] = "s1=s0*z1";
  EXPECT_TRUE(conv.runSku(text, &f));
  EXPECT_EQ(conv.table().signalCoding, "Abstract");
}

TEST(TiravoSku, Sections) {
  const SkuSections s = findSkuSections({"x", " SKU : ", "a", "svf:", "b", "sku:", "svf:"});
  EXPECT_EQ(s.skuStart, 2);
  EXPECT_EQ(s.skuEnd, 3);
  EXPECT_EQ(s.svfStart, 4);
  EXPECT_EQ(s.svfEnd, 7);
  EXPECT_FALSE(findSkuSections({"sku:", " svf:"}).hasSvf());
}

TEST(TiravoTableSku, WritesEquationsAndOutputs) {
  const struct {
    QList<TableRow> rows;
    QStringList sku;
    bool outputs;
  } cases[] = {
      {rows({{"s0", "y1", "x1", "s1"}, {"", "", "X1", "s0"}, {"s1", "y2&y1", "1", "s0"}}),
       {"sku:", "s1=s0*x1", "s0=s0*X1|s1", "svf:", "y1=s0|s1", "y2=s1"},
       true},
      {rows({{"s0", "", "x1", "s1&s2"}, {"s0", "", "x2", "s2&s1"}, {"s0", "", "x3", "s1"}}),
       {"sku:", "s1*s2=s0*x1", "s2*s1=s0*x2", "s1=s0*x3"},
       false},
      // A condition "0" is no transition; an output on a row that continues a source is not
      // set at that source, but still gets its line.
      {rows({{"s0", "", "x1 & X2", "s1 "}, {"", "y3", " 0 ", "s5"}, {"s5", "", "0", "0"}}),
       {"sku:", "s1=s0*x1*X2", "svf:", "y3="},
       true},
      {rows({{"s0", "y1", "x1", "s1"}, {"", "y3", "X1", "s0"}}),
       {"sku:", "s1=s0*x1", "s0=s0*X1", "svf:", "y1=s0", "y3="},
       true},
      // Rows above the first source cell take the last source cell for every target but the first.
      {rows({{"", "", "x1", "s1"}, {"", "", "x2", "s2"}, {"s3", "", "x3", "s1"}}),
       {"sku:", "s1=*x1|s3*x3", "s2=s3*x2"},
       false},
  };
  for (const auto& c : cases) {
    QStringList out;
    EXPECT_EQ(tableToSku(TableData{"Binary", c.rows}, &out), c.outputs);
    EXPECT_EQ(out, c.sku);
  }
  EXPECT_EQ(splitNames("a||b"), QStringList({"a", "|b"}));
}

TEST(TiravoTableSku, TableToSkuAndBackGivesTheSameRows) {
  const TableData t{"Binary",
                    rows({{"s0", "y1", "x1", "s1"}, {"", "", "X1", "s0"}, {"s1", "y1&y2", "1", "s0"}})};
  QStringList sku;
  tableToSku(t, &sku);
  const SkuRun r = skuToTable(sku);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.table.rows, t.rows);
}
