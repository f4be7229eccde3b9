// The linear translators give what the earlier ones gave, on many small random texts.
#include <gtest/gtest.h>

#include <random>

#include "oldtranslate.h"
#include "tiravo/translate/rvascheck.h"
#include "tiravo/translate/rvasconvert.h"
#include "tiravo/translate/skutable.h"
#include "tiravo/translate/tablesku.h"

using namespace tiravo;

namespace {

class Random {
 public:
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }
  template <typename T>
  T pick(std::initializer_list<T> items) {
    return items.begin()[below(int(items.size()))];
  }

 private:
  std::mt19937 gen_{20261209};
};

// A product after s0 or inside a group: signals of one kind, events, groups up to a depth.
QString product(Random& r, bool abstract, int depth) {
  QString p;
  const int n = 1 + r.below(4);
  for (int i = 0; i < n; ++i) {
    if (i) p += '*';
    const int kind = r.below(depth > 0 ? 6 : 4);
    if (kind == 0)
      p += QStringLiteral("s%1").arg(1 + r.below(3));
    else if (kind < 4)
      p += abstract ? QStringLiteral("z%1").arg(1 + r.below(3)) : r.pick({"x1", "X1", "x2", "X3"});
    else {
      QString g;
      for (int a = 0, k = 1 + r.below(3); a < k; ++a) g += (a ? "|" : "") + product(r, abstract, depth - 1);
      p += kind == 4 ? '{' + g + '}' : '(' + g + ')';
    }
  }
  return p;
}

QString rvasText(Random& r) {
  const bool abstract = r.below(3) == 0;
  QString t = r.pick({"sw", "s1", "aZ", "s2"});
  if (r.below(3) == 0) t += r.pick({"(y1)", "(y1,y2)"});
  t += '=';
  for (int a = 0, k = 1 + r.below(3); a < k; ++a) t += (a ? "|s0*" : "s0*") + product(r, abstract, 2);
  return t;
}

QStringList skuText(Random& r) {
  const bool abstract = r.below(3) == 0;
  QStringList t{"sku:"};
  for (int e = 0, n = 1 + r.below(5); e < n; ++e) {
    QString line = r.pick({"s1", "s2", "s3", "s1*s2"}) + QStringLiteral(" =");
    for (int a = 0, k = 1 + r.below(3); a < k; ++a) {
      line += a ? " | " : " ";
      line += r.pick({"s0", "s1", "s2", "s0*s1", "s2*s0"});
      if (r.below(4))
        line += abstract ? QStringLiteral("*z%1").arg(r.below(3)) : r.pick({"*x1", "*X1*x2", "*x3"});
    }
    t << line;
  }
  if (r.below(4)) {
    t << "svf:";
    for (int o = 0, n = r.below(4); o < n; ++o)
      t << QStringLiteral("y%1 = %2").arg(r.below(3)).arg(r.pick({"s1", "s0|s2", "s3", "s1*s2"}));
  }
  return t;
}

TableData randomTable(Random& r) {
  TableData t;
  for (int i = 0, n = 1 + r.below(6); i < n; ++i)
    t.rows << TableRow{
        r.pick({"", "", "s0", "s1", "s0&s2", " 0"}), r.pick({"", "", "y1", "y2&y1", "y1|y3", "y1&"}),
        r.pick({"1", "x1", "x1 & X2", "0", " 0 "}), r.pick({"s1", "s2", "s1&s2", "s2&s1", "s1 ", "0", ""})};
  return t;
}

template <typename Conv>
QStringList runSku(const QStringList& text, QStringList* rows) {
  Conv c(findSkuSections(text));
  SkuStageFault fault;
  QStringList steps;
  bool ok = c.runSku(text, &fault);
  steps << QStringLiteral("sku %1 %2 %3").arg(ok).arg(fault.line).arg(fault.message);
  if (ok && findSkuSections(text).hasSvf()) {
    ok = c.runSvf(text, &fault);
    steps << QStringLiteral("svf %1 %2 %3").arg(ok).arg(fault.line).arg(fault.message);
  }
  for (const TableRow& row : c.table().rows) *rows << row.si + '|' + row.y + '|' + row.x + '|' + row.sj;
  *rows << c.table().signalCoding;
  return steps;
}

}  // namespace

TEST(TiravoTranslateProperty, SameResultsAsBefore) {
  Random r;
  int converted = 0;
  for (int i = 0; i < 3000; ++i) {
    const QString rvas = rvasText(r);
    if (checkRvas(rvas).code == 0) {
      ++converted;
      ASSERT_EQ(RvasConverter().convert(rvas), OldRvasConverter().convert(rvas)) << rvas.toStdString();
    }
    const QStringList sku = skuText(r);
    QStringList rowsNew, rowsOld;
    ASSERT_EQ(runSku<SkuToTable>(sku, &rowsNew), runSku<OldSkuToTable>(sku, &rowsOld))
        << sku.join('/').toStdString();
    ASSERT_EQ(rowsNew, rowsOld) << sku.join('/').toStdString();
    const TableData table = randomTable(r);
    QStringList a, b;
    ASSERT_EQ(tableToSku(table, &a), oldTableToSku(table, &b));
    ASSERT_EQ(a, b);
  }
  EXPECT_GT(converted, 1000);  // most random texts pass the check
}
