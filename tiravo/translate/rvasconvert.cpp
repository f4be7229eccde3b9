#include "tiravo/translate/rvasconvert.h"

#include <deque>

#include "tiravo/translate/names.h"

namespace tiravo {

using names::splitTop;

QStringList RvasConverter::convert(const QString& t) {
  out_.clear();
  counter_ = 0;
  // Fresh events are named s1, s2, ...: the numbers the text takes already are kept aside
  // (names compare without letter case).
  used_.clear();
  for (int i = 0; i < t.size();) {
    int j = i;
    while (j < t.size() && !names::in(t.at(j), TIRAVO_SET("=*|(){},"))) ++j;
    if (j - i >= 2 && j - i <= 10 && (t.at(i) == QLatin1Char('s') || t.at(i) == QLatin1Char('S')) &&
        t.at(i + 1) != QLatin1Char('0')) {
      bool digits = true;
      qint64 number = 0;
      for (int k = i + 1; k < j && digits; ++k) {
        digits = names::isDigit(t.at(k));
        number = number * 10 + (t.at(k).unicode() - '0');
      }
      if (digits) used_.insert(number);
    }
    i = j + 1;
  }

  const int eq = t.indexOf(QLatin1Char('='));
  const QString left = t.left(eq);
  const int open = left.indexOf(QLatin1Char('('));
  const QString target = open < 0 ? left : left.left(open);
  branches_ = int(splitTop(t.mid(eq + 1), QLatin1Char('|')).size());
  out_ << QStringLiteral("sku:");
  dis(target, t.mid(eq + 1), nullptr);
  if (open >= 0) {
    out_ << QStringLiteral("svf:");
    // One line per output: the table cell of an output holds one name.
    const QStringList outputs = left.mid(open + 1).chopped(1).split(QLatin1Char(','));
    for (const QString& y : outputs) out_ << y + QLatin1Char('=') + target;
  }
  return out_;
}

QString RvasConverter::fresh() {
  do ++counter_;
  while (used_.contains(counter_));
  return QLatin1Char('s') + QString::number(counter_);
}

// The alternatives of rhs, appended to *eq; with eq null they make the equation of target,
// written out after the fresh equations they needed.
void RvasConverter::dis(const QString& target, const QString& rhs, QString* eq, bool alone) {
  alternatives(target, splitTop(rhs, QLatin1Char('|')), eq, alone);
}

void RvasConverter::alternatives(const QString& target, const QStringList& alts, QString* eq, bool alone) {
  QString own = target + QLatin1Char('=');
  QString* e = eq ? eq : &own;
  for (int i = 0; i < alts.size(); ++i) {
    if (i > 0) *e += QLatin1Char('|');
    line(target, splitTop(alts.at(i), QLatin1Char('*')), e, alone && alts.size() == 1);
  }
  if (!eq) out_ << own;
}

namespace {

bool endsInGroup(const QString& factor) {
  return factor.endsWith(QLatin1Char('}')) || factor.endsWith(QLatin1Char(')'));
}

}  // namespace

// One alternative: from its last factor down, each factor beyond the first two is split off
// as a step through a fresh event; a trailing group is handed on as a whole.
//
// A*{B} or A*(G) whose prefix A is itself a loop, or is repeated by a bracket group, makes
// A one fresh event first (two loops in a row stay apart, and multiplying out stays linear).
// A's equation is the same work again on A's factors, so a chain of groups ({x1}*{x2}*...) is
// walked down in a loop and its levels are finished on the way back up, in the order a
// recursion would finish them: the depth of the stack does not grow with the chain.
void RvasConverter::line(QString cur, QStringList f, QString* into, bool alone) {
  struct Pending {  // a group whose prefix becomes the event `step`
    QString cur, last;
    QString* into;
    bool alone;
    QString step, own;  // own: the equation of step being written
  };
  std::deque<Pending> chain;
  while (true) {
    const int k = int(f.size());
    if (k >= 2 && endsInGroup(f.last())) {
      const bool groupAlone = alone || !into;
      QString last = f.takeLast();
      if (f.size() > 1 && (!last.endsWith(QLatin1Char('}')) || f.last().endsWith(QLatin1Char('}')))) {
        const QString step = fresh();
        chain.push_back({cur, std::move(last), into, groupAlone, step, step + QLatin1Char('=')});
        cur = step;
        into = &chain.back().own;
        alone = true;
        continue;
      }
      group(cur, f, last, into, groupAlone);
      break;
    }
    if (k <= 2) {
      // The same event twice is one condition: "sw*sw" is sw.
      if (k == 2 && f.at(0).compare(f.at(1), Qt::CaseInsensitive) == 0) f.removeLast();
      if (into)
        *into += f.join(QLatin1Char('*'));
      else
        out_ << cur + QLatin1Char('=') + f.join(QLatin1Char('*'));
      break;
    }
    const QString step = fresh();
    const QString term = step + QLatin1Char('*') + f.takeLast();
    if (into)
      *into += term;
    else
      out_ << cur + QLatin1Char('=') + term;
    cur = step;
    into = nullptr;
  }
  while (!chain.empty()) {
    Pending p = std::move(chain.back());
    chain.pop_back();
    out_ << p.own;
    group(p.cur, QStringList{p.step}, p.last, p.into, p.alone);
  }
}

// A*{B} or A*(G), with A given as its factors. An iteration makes cur reachable from A and
// again from itself under every alternative of B; a bracket group repeats A before each of
// its alternatives.
void RvasConverter::group(const QString& cur, const QStringList& factors, const QString& last, QString* eq,
                          bool alone) {
  const QString inner = last.mid(1, last.size() - 2);
  const QString a = factors.join(QLatin1Char('*'));
  QStringList alts;
  if (last.endsWith(QLatin1Char('}'))) {
    // A loop in one of several alternatives runs through an event of its own, so that the
    // other alternatives do not gain it; the event and cur get the same terms. So does a
    // target with a 'Z' in its name: on a right side the letter would read as a signal.
    const bool selfLoop = (alone || !eq) && !cur.contains(QLatin1Char('Z'));
    const QString loop = selfLoop ? cur : fresh();
    alts << a;
    for (const QString& b : splitTop(inner, QLatin1Char('|'))) alts << loop + QLatin1Char('*') + b;
    if (loop != cur) {
      QString terms;
      alternatives(loop, alts, &terms, false);
      out_ << loop + QLatin1Char('=') + terms;
      if (eq)
        *eq += terms;
      else
        out_ << cur + QLatin1Char('=') + terms;
      return;
    }
  } else {
    for (const QString& g : splitTop(inner, QLatin1Char('|'))) alts << a + QLatin1Char('*') + g;
  }
  alternatives(cur, alts, eq, false);
}

}  // namespace tiravo
