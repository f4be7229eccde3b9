// Every table that the converters make from a text that passed the checker compiles, under
// every coding that fits the text, and the compiled automaton does what the text says.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QSet>
#include <random>

#include "servers/fsmcompiler.h"
#include "servers/fsmsimulator.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

using namespace velmora;

using namespace fsm;

// Texts in failure messages.
std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
std::ostream& operator<<(std::ostream& os, const QStringList& l) {
  return os << '[' << l.join(QStringLiteral(" / ")).toStdString() << ']';
}

namespace {

QStringList L(std::initializer_list<const char*> lines) {
  QStringList out;
  for (const char* l : lines) out << QString::fromUtf8(l);
  return out;
}

QString show(const TableData& t) {
  QStringList rows;
  for (const TableRow& r : t.rows) rows << r.si + " | " + r.y + " | " + r.x + " | " + r.sj;
  return rows.join(QLatin1Char('\n'));
}

bool checkFails(const QStringList& text, bool rvas, QStringList* messages) {
  DocSettings s;
  s.kind = rvas ? 0 : 1;
  TTesting t(text, messages, s);
  return rvas ? t.Check() : t.CheckSku();
}

TableData skuToTable(const QStringList& sku) {
  TableData t;
  TSkuTbl c(sku, &t, DocSettings());
  c.Convert();
  return t;
}

QStringList rvasToSku(const QStringList& rvas) {
  QStringList out;
  DocSettings s;
  s.kind = 0;
  TRvasSku c(rvas, &out, s);
  c.Convert();
  return out;
}

// The codings a table may be compiled with: binary inputs always; abstract inputs only for
// a text written with abstract signals.
QVector<Type> typesFor(bool abstractText) {
  QVector<Type> types{{1, 2, 1, 2}, {1, 0, 1, 5}, {0, 2, 1, 0}, {0, 0, 1, 0}};
  if (abstractText) types << Type{1, 2, 0, 3} << Type{0, 0, 0, 0};
  return types;
}

// Compiles under one coding; a failure names the table and the messages.
Model compileTable(const TableData& t, const Type& type) {
  Compiler c;
  c.setType(type.states, type.outputs, type.inputs, type.triggers);
  for (const TableRow& r : t.rows) c.addSource(r.si, r.y, r.x, r.sj);
  EXPECT_EQ(c.make(), 0) << type.describe().toStdString() << "\n"
                         << show(t).toStdString() << "\n"
                         << c.status().toStdString();
  return c.model();
}

void compilesEveryWay(const TableData& t) {
  for (const Type& type : typesFor(t.signalCoding == QLatin1String("Abstract"))) compileTable(t, type);
}

}  // namespace

TEST(ConvertedTables, SkuExamples) {
  const QList<QStringList> texts = {
      L({"sku:", "s1=s0*x1|s2*X2;", "s2=s1*x3;", "svf:", "y1=s1;"}),
      L({"sku:", "s1=s0;", "s0=s1;", "svf:"}),
      L({"sku:", "s2=s0*x1;", "s3=s0*x2;", "s0=s2|s3;", "svf:", "y1=s5;", "y1=s2;", "y2=s2;", "y1=s2;"}),
      L({"sku:", "s1*s2=s0*x1;", "s3=s0*s1*x1;", "s0=s1*s0*x2|s3|s2;", "svf:", "y1=s0|s3;"}),
      L({"sku:", "s1=s0*z1|s0*z2;", "s0=s1*z3|s1;", "svf:", "y1=s0;", "y2=s0;"}),
      L({"sku:", "s1=s0*(x1|X2)*x3;", "s0=s1*(x1|x2|x3);", "svf:", "y1=s1;"}),
      L({"sku:", "s1=s0*(x1|x2)|s2*x3;", "s2=s1;", "s0=s1;", "svf:", "y1=s0;"}),
      // Names the checker lets through: repeats, punctuation, Cyrillic letters.
      L({"sku:", "s1*s1=s0*s0*x1*x1;", "s0=s1*X2*X2;", "svf:", "y1=s0|s0;"}),
      L({"sku:", "s1.2=s0*x1.1|s0*X1,2;", "s0=s1.2*x\\3;", "svf:", "y1=s0;", "y.2=s1.2;"}),
      L({"sku:", "sвых=s0*xвход;", "s0=sвых;", "svf:", "yсигнал=sвых;"}),
  };
  for (const QStringList& sku : texts) {
    QStringList messages;
    ASSERT_FALSE(checkFails(sku, false, &messages)) << sku << messages;
    compilesEveryWay(skuToTable(sku));
  }
}

TEST(ConvertedTables, RvasExamples) {
  const QList<QStringList> texts = {
      L({"sa(y1)=s0*x1;", "sb(y2,y1)=s0*X1*x2*x3;"}),
      L({"sw=s0*{x1}*x2;"}),
      L({"sa(y1)=s0*x1*{x2|x3*x4}*x5;", "sb(y2)=s0*(x1|X2*x3)*x4|s0*{x6};", "sc(y1,y3)=s0*x1*x2*x3*x4*x5;"}),
      L({"sa(y2)=s0*x1;", "sb(y1,y2,y2)=s0*x2;"}),
      L({"sw(y1)=s0*{z1}*z2;"}),
  };
  for (const QStringList& rvas : texts) {
    QStringList messages;
    ASSERT_FALSE(checkFails(rvas, true, &messages)) << rvas << messages;
    const QStringList sku = rvasToSku(rvas);
    ASSERT_FALSE(checkFails(sku, false, &messages)) << sku << messages;
    compilesEveryWay(skuToTable(sku));
  }
}

TEST(ConvertedTables, TableToSkuAndBack) {
  TableData t;
  t.rows = {{"s0", "y1&y2", "x1&X2", "s1&s2"},
            {"", "", "X1", "s0"},
            {"s1&s2", "y3", "1", "s0"},
            {"s3", "y1", "0", "0"}};
  QStringList sku;
  TTblToSku(t, &sku).Convert();
  QStringList messages;
  ASSERT_FALSE(checkFails(sku, false, &messages)) << sku << messages;
  compilesEveryWay(skuToTable(sku));
}

namespace {

// A random СКУ text that keeps within the checker's rules: binary or abstract signals,
// never both; at most one abstract signal per term; no signal both direct and inverted in
// one term (that term could never fire, and the compiler says so).
struct RandomSku {
  struct Term {
    QStringList sources, literals;
  };
  struct Equation {
    QStringList targets;
    QVector<Term> terms;
  };
  QVector<Equation> equations;
  QVector<QPair<QString, QStringList>> outputs;  // y and its events
  bool abstract = false;

  QStringList text() const {
    QStringList out{QStringLiteral("sku:")};
    for (const Equation& e : equations) {
      QStringList terms;
      for (const Term& t : e.terms) terms << (t.sources + t.literals).join(QLatin1Char('*'));
      out << e.targets.join(QLatin1Char('*')) + QLatin1Char('=') + terms.join(QLatin1Char('|')) +
                 QLatin1Char(';');
    }
    out << QStringLiteral("svf:");
    for (const auto& o : outputs)
      out << o.first + QLatin1Char('=') + o.second.join(QLatin1Char('|')) + QLatin1Char(';');
    return out;
  }
};

RandomSku randomSku(std::mt19937& rng) {
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  auto event = [&] { return QStringLiteral("s%1").arg(pick(6)); };
  RandomSku r;
  r.abstract = pick(4) == 0;
  const int equations = 1 + pick(5);
  for (int e = 0; e < equations; ++e) {
    RandomSku::Equation eq;
    eq.targets << event();
    if (pick(4) == 0) eq.targets << event();  // may repeat: "s1*s1"
    const int terms = 1 + pick(3);
    for (int k = 0; k < terms; ++k) {
      RandomSku::Term t;
      t.sources << event();
      if (pick(4) == 0) t.sources << event();
      if (r.abstract) {
        if (pick(3)) t.literals << QStringLiteral("z%1").arg(1 + pick(4));
      } else {
        QSet<int> used;
        const int n = pick(4);
        for (int i = 0; i < n; ++i) {
          const int x = 1 + pick(5);
          const bool inverted = pick(2);
          if (used.contains(x)) continue;
          used.insert(x);
          const QString name = QStringLiteral("%1%2").arg(inverted ? "X" : "x").arg(x);
          t.literals << name;
          if (pick(6) == 0) t.literals << name;  // "x1*x1"
        }
      }
      eq.terms << t;
    }
    r.equations << eq;
  }
  const int outputs = pick(4);
  for (int y = 1; y <= outputs; ++y) {
    QStringList events;
    const int n = 1 + pick(3);
    for (int i = 0; i < n; ++i) events << event();
    r.outputs << qMakePair(QStringLiteral("y%1").arg(y), events);
  }
  return r;
}

QString joined(QStringList names) {
  names.removeDuplicates();
  return names.join(QLatin1Char('&'));
}

}  // namespace

TEST(ConvertedTables, RandomSkuTextsCompileAndKeepTheirMeaning) {
  std::mt19937 rng(20240611);
  int checked = 0;
  for (int round = 0; round < 400; ++round) {
    const RandomSku r = randomSku(rng);
    const QStringList sku = r.text();
    QStringList messages;
    if (checkFails(sku, false, &messages)) continue;
    ++checked;
    const TableData table = skuToTable(sku);
    for (const Type& type : typesFor(r.abstract)) {
      const Model m = compileTable(table, type);
      if (::testing::Test::HasFailure()) return;
      Simulator sim;
      sim.setModel(m);
      // Every term: from its source events, under an input that makes its condition true,
      // the step reaches the equation's targets.
      for (const RandomSku::Equation& eq : r.equations) {
        for (const RandomSku::Term& t : eq.terms) {
          ASSERT_EQ(sim.setState(joined(t.sources)), 0) << sku;
          QStringList input;
          for (const QString& s : t.literals)
            if (s[0].isLower()) input << s;
          ASSERT_EQ(sim.doStep(joined(input)), 0) << sku << sim.status();
          const QStringList now = sim.state().split(QLatin1Char('&'));
          for (const QString& target : eq.targets) EXPECT_TRUE(now.contains(target)) << sku << now;
        }
      }
      // Every output function: a row whose source holds the event carries the output.
      for (const auto& o : r.outputs) {
        for (const TableRow& row : table.rows) {
          const QStringList si = row.si.split(QLatin1Char('&'), Qt::SkipEmptyParts);
          bool holds = false;
          for (const QString& e : o.second) holds = holds || si.contains(e);
          if (!holds) continue;
          ASSERT_EQ(sim.setState(joined(si)), 0);
          EXPECT_TRUE(sim.out().split(QLatin1Char('&')).contains(o.first)) << sku << row.si;
        }
      }
    }
  }
  EXPECT_GT(checked, 300);  // the generator keeps to the checker's rules
}

TEST(ConvertedTables, RandomRvasTextsCompile) {
  std::mt19937 rng(7);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  // A signal appears once per expression, so no product holds both x1 and X1.
  int next = 0;
  auto signal = [&] { return QStringLiteral("%1%2").arg(pick(2) ? "x" : "X").arg(++next); };
  // A bracket or brace group starts with a signal: the checker wants no group right after
  // an opening one.
  std::function<QString(int)> factor = [&](int depth) -> QString {
    const int k = depth > 1 ? 0 : pick(5);
    auto inner = [&] { return pick(2) ? signal() : signal() + QLatin1Char('*') + factor(depth + 1); };
    if (k == 3) return QStringLiteral("(") + inner() + QLatin1Char('|') + inner() + QLatin1Char(')');
    if (k == 4) return QStringLiteral("{") + inner() + QLatin1Char('}');
    return signal();
  };
  int checked = 0;
  for (int round = 0; round < 300; ++round) {
    QStringList rvas;
    const int n = 1 + pick(3);
    for (int e = 0; e < n; ++e) {
      next = 0;
      QString line = QStringLiteral("s%1").arg(QChar(QLatin1Char('a' + e)));
      if (pick(2)) line += pick(2) ? QStringLiteral("(y1)") : QStringLiteral("(y2,y1)");
      QStringList alts;
      for (int a = 0, m = 1 + pick(2); a < m; ++a) {
        QString alt = QStringLiteral("s0");
        for (int f = 0, c = 1 + pick(4); f < c; ++f) alt += QLatin1Char('*') + factor(0);
        alts << alt;
      }
      rvas << line + QLatin1Char('=') + alts.join(QLatin1Char('|')) + QLatin1Char(';');
    }
    QStringList messages;
    if (checkFails(rvas, true, &messages)) continue;
    const QStringList sku = rvasToSku(rvas);
    if (checkFails(sku, false, &messages)) continue;  // the converter's own business
    ++checked;
    const TableData table = skuToTable(sku);
    for (const Type& type : typesFor(false)) {
      compileTable(table, type);
      if (::testing::Test::HasFailure()) {
        ADD_FAILURE() << rvas << "\n" << sku;
        return;
      }
    }
  }
  EXPECT_GT(checked, 200);  // the generator keeps to the checker's rules
}
