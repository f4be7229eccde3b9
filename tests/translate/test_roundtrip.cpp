// Whole conversions: РВАС -> СКУ -> check -> table -> file, and table -> СКУ -> table for
// many random tables.
#include <gtest/gtest.h>

#include <QMap>
#include <QSet>

#include <algorithm>
#include <random>

#include "helpers.h"
#include "common/tblfile.h"

using namespace tt;

TEST(Pipeline, RvasToTable) {
  const QStringList rvas = L({"sa(y1)=s0*x1;", "sb(y2,y1)=s0*X1*x2*x3;"});
  const Checked rc = checkRvas(rvas);
  ASSERT_FALSE(rc.failed) << rc.messages;
  const QStringList sku = rvasToSku(rvas);
  EXPECT_EQ(sku,
            L({"sku:", "sa=s0*x1;", "s1=s2*x2;", "s2=s0*X1;", "sb=s1*x3;", "svf:", "y1=sa|sb;", "y2=sb;"}));
  const Checked sc = checkSku(sku);
  EXPECT_FALSE(sc.failed);
  EXPECT_TRUE(sc.messages.isEmpty()) << sc.messages;
  const TableData t = skuToTable(sku);
  EXPECT_EQ(t.rows,
            (QList<TableRow>{R("s0", "", "x1", "sa"), R("", "", "X1", "s2"), R("s2", "", "x2", "s1"),
                             R("s1", "", "x3", "sb"), R("sa", "y1", "0", "0"), R("sb", "y1&y2", "0", "0")}));
  EXPECT_EQ(TblFile::toLines(t).size(), 25);
}

TEST(Pipeline, IterationExample) {
  EXPECT_EQ(rvasToSku(L({"sw=s0*{x1}*x2;"})), L({"sku:", "s1=s0|s1*x1;", "sw=s1*x2;", "svf:"}));
}

namespace {

QString sortedNames(const QString& cell) {
  QStringList n = cell.split(QLatin1Char('&'));
  std::sort(n.begin(), n.end());
  return n.join(QLatin1Char('&'));
}

// Every transition of a table: source set, condition, one target.
QStringList transitions(const TableData& t) {
  QStringList out;
  QString source;
  for (const TableRow& r : t.rows) {
    if (TTblToSku::HasContent(r.si)) source = r.si;
    if (!TTblToSku::HasContent(r.sj)) continue;
    QStringList targets = r.sj.split(QLatin1Char('&'));
    targets.removeDuplicates();
    for (const QString& target : targets)
      out << sortedNames(source) + " | " + QString(r.x).remove(QLatin1Char(' ')) + " | " + target;
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The outputs of every event: the outputs of the rows whose own source cell names it.
QMap<QString, QSet<QString>> outputs(const TableData& t) {
  QMap<QString, QSet<QString>> out;
  for (const TableRow& r : t.rows) {
    if (!TTblToSku::HasContent(r.si)) continue;
    for (const QString& e : r.si.split(QLatin1Char('&')))
      for (const QString& y : r.y.split(QLatin1Char('&'), Qt::SkipEmptyParts)) out[e].insert(y);
  }
  return out;
}

// How many names a random table draws from. The large scale outgrows the converters' first
// name tables many times over and writes output cells of over a hundred characters.
struct Scale {
  int events, outputs, inputs, groups, iterations;
};
const Scale kSmall{6, 3, 4, 5, 3000};

TableData randomTable(std::mt19937& rng, bool abstract, bool singleSources, const Scale& size = kSmall) {
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  auto event = [&] { return QStringLiteral("s%1").arg(pick(size.events)); };
  TableData t;
  t.signalCoding = abstract ? "Abstract" : "Binary";
  bool anySignal = false;
  const int groups = 1 + pick(size.groups);
  for (int g = 0; g < groups; ++g) {
    QString si = event();
    if (!singleSources && pick(3) == 0) {
      QString other = event();
      if (other != si) si += "&" + other;
    }
    const int n = 1 + pick(3);
    for (int k = 0; k < n; ++k) {
      TableRow r;
      if (k == 0) {
        r.si = si;
        QStringList ys;
        for (int y = 1; y <= size.outputs; ++y)
          if (pick(3) == 0) ys << QStringLiteral("y%1").arg(y);
        r.y = ys.join('&');
      }
      if (k == 0 && pick(6) == 0) {
        r.x = "0";
        r.sj = "0";
      } else {
        if (pick(4) == 0) {
          r.x = "1";
        } else if (abstract) {
          r.x = QStringLiteral("z%1").arg(1 + pick(size.inputs));
          anySignal = true;
        } else {
          QStringList lits;
          const int m = 1 + pick(3);
          for (int i = 0; i < m; ++i)
            lits << QStringLiteral("%1%2").arg(pick(2) ? "x" : "X").arg(1 + pick(size.inputs));
          r.x = lits.join('&');
          anySignal = true;
        }
        r.sj = event();
        if (pick(5) == 0) {
          QString other = event();
          if (other != r.sj) r.sj += "&" + other;
        }
      }
      t.rows << r;
    }
  }
  if (!anySignal) t.signalCoding = "Binary";
  return t;
}

}  // namespace

TEST(RoundTrip, WorkedExampleComesBack) {
  TableData t;
  t.rows = {R("s0", "y1", "x1", "s1"), R("", "", "X1", "s0"), R("s1", "y2&y1", "1", "s0")};
  const QStringList sku = tableToSku(t);
  ASSERT_FALSE(checkSku(sku).failed) << checkSku(sku).messages;
  TableData back = skuToTable(sku);
  EXPECT_EQ(back.signalCoding, "Binary");
  ASSERT_EQ(back.rows.size(), 3);
  // The same rows; outputs come back in the order of the output functions.
  EXPECT_EQ(back.rows[2].y, "y1&y2");
  for (TableRow& r : back.rows) r.y = sortedNames(r.y);
  for (TableRow& r : t.rows) r.y = sortedNames(r.y);
  EXPECT_EQ(back.rows, t.rows);
}

TEST(RoundTrip, RandomTablesKeepEveryTransition) {
  std::mt19937 rng(20240611);
  for (const Scale& size : {kSmall, Scale{6000, 60, 40, 5000, 4}})
    for (int iteration = 0; iteration < size.iterations; ++iteration) {
      const bool abstract = iteration % 3 == 0;
      const bool single = iteration % 2 == 0;
      const TableData t = randomTable(rng, abstract, single, size);
      const QStringList sku = tableToSku(t);
      const Checked c = checkSku(sku);
      ASSERT_EQ(c.errors, 0) << "iteration " << iteration << c.messages << sku;
      const TableData back = skuToTable(sku);
      ASSERT_EQ(transitions(back), transitions(t)) << "iteration " << iteration << sku;
      ASSERT_EQ(back.signalCoding, t.signalCoding) << "iteration " << iteration << sku;
      const auto before = outputs(t), after = outputs(back);
      for (auto it = before.begin(); it != before.end(); ++it)
        for (const QString& y : it.value())
          ASSERT_TRUE(after.value(it.key()).contains(y)) << "iteration " << iteration << sku;
      if (single) {
        ASSERT_EQ(after, before) << "iteration " << iteration << sku;
      }
      for (const TableRow& r : back.rows) {  // an output goes on a row once
        const QStringList ys = r.y.split(QLatin1Char('&'), Qt::SkipEmptyParts);
        ASSERT_EQ(QSet<QString>(ys.begin(), ys.end()).size(), ys.size()) << r.y.toStdString();
      }
      // Converting the result again gives the same text: the round trip is stable.
      ASSERT_EQ(transitions(skuToTable(tableToSku(back))), transitions(t));
    }
}

TEST(RoundTrip, RandomRvasPassesAndConverts) {
  // Random well-formed РВАС texts: the converted СКУ passes its check.
  std::mt19937 rng(7);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  std::function<QString(int)> factor = [&](int depth) -> QString {
    const int k = depth > 2 ? 0 : pick(5);
    if (k == 3) {
      QStringList alts;
      for (int i = 0, n = 1 + pick(3); i < n; ++i) {
        // An alternative of a bracket group starts with a name: a brace may only follow
        // an operator.
        QStringList f{QStringLiteral("x%1").arg(1 + pick(4))};
        for (int j = 0, m = pick(2); j < m; ++j) f << factor(depth + 1);
        alts << f.join('*');
      }
      return "(" + alts.join('|') + ")";
    }
    if (k == 4) {
      QStringList alts;
      for (int i = 0, n = 1 + pick(2); i < n; ++i) {
        QStringList f{QStringLiteral("x%1").arg(1 + pick(4))};
        if (pick(2)) f << factor(depth + 1);
        alts << f.join('*');
      }
      return "{" + alts.join('|') + "}";
    }
    return QStringLiteral("%1%2").arg(pick(2) ? "x" : "X").arg(1 + pick(4));
  };
  for (int iteration = 0; iteration < 1000; ++iteration) {
    QStringList rvas;
    for (int e = 0, n = 1 + pick(3); e < n; ++e) {
      QStringList alts;
      for (int a = 0, m = 1 + pick(2); a < m; ++a) {
        QString alt = "s0";
        for (int f = 0, k = 1 + pick(4); f < k; ++f) alt += "*" + factor(0);
        alts << alt;
      }
      rvas << QStringLiteral("s%1(y%2)=%3;").arg(QChar('a' + e)).arg(1 + pick(3)).arg(alts.join('|'));
    }
    const Checked rc = checkRvas(rvas);
    ASSERT_FALSE(rc.failed) << rvas << rc.messages;
    const QStringList sku = rvasToSku(rvas);
    const Checked c = checkSku(sku);
    ASSERT_TRUE(c.messages.isEmpty()) << rvas << sku << c.messages;
    EXPECT_NO_THROW(skuToTable(sku));
  }
}

TEST(RoundTrip, RandomSkuTextsKeepEveryTransition) {
  // Random СКУ texts with several targets, bracket groups and output functions: a text that
  // passes its check gives a table whose СКУ text passes too and gives the same transitions.
  std::mt19937 rng(99);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  int checked = 0;
  for (int iteration = 0; iteration < 2000; ++iteration) {
    const bool abstract = iteration % 4 == 0;
    auto signal = [&] {
      return abstract ? QStringLiteral("z%1").arg(1 + pick(4))
                      : QStringLiteral("%1%2").arg(pick(2) ? "x" : "X").arg(1 + pick(4));
    };
    std::function<QString(int)> term = [&](int depth) -> QString {
      QStringList f{QStringLiteral("s%1").arg(pick(5))};
      if (pick(4) == 0) f << QStringLiteral("s%1").arg(pick(5));
      if (depth < 2 && pick(3) == 0) {
        QStringList alts;
        for (int a = 0, n = 2 + pick(2); a < n; ++a) alts << (pick(2) ? signal() : term(depth + 1));
        f << "(" + alts.join('|') + ")";
      }
      if (pick(2)) f << signal();
      return f.join('*');
    };
    QStringList sku{"sku:"};
    for (int e = 0, n = 1 + pick(4); e < n; ++e) {
      QString left = QStringLiteral("s%1").arg(pick(5));
      // Now and then a second target, which may be misnamed like a signal.
      if (pick(5) == 0) left += QStringLiteral("*%1%2").arg(pick(4) ? "s" : "x").arg(pick(5));
      QStringList terms;
      for (int t = 0, m = 1 + pick(3); t < m; ++t) terms << term(0);
      sku << left + "=" + terms.join('|') + ";";
    }
    sku << "svf:";
    for (int y = 1; y <= 2; ++y)
      if (pick(2)) sku << QStringLiteral("y%1=s%2|s%3;").arg(y).arg(pick(5)).arg(pick(5));
    if (checkSku(sku).errors) continue;
    ++checked;
    const TableData table = skuToTable(sku);
    const QStringList back = tableToSku(table);
    const Checked c = checkSku(back);
    ASSERT_EQ(c.errors, 0) << sku << back << c.messages;
    ASSERT_EQ(transitions(skuToTable(back)), transitions(table)) << sku << back;
  }
  EXPECT_GT(checked, 500);
}
