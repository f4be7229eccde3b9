#include "tiravo/translate/rvasconvert.h"

#include <QRegularExpression>

#include "tiravo/translate/names.h"

namespace tiravo {

using names::splitTop;

QStringList RvasConverter::convert(const QString& t) {
  out_.clear();
  counter_ = 0;
  static const QRegularExpression separators(QStringLiteral("[=*|(){},]"));
  const QStringList all = t.split(separators, Qt::SkipEmptyParts);
  used_.clear();
  for (const QString& n : all) used_.insert(n.toLower());

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
  QString name;
  do name = QStringLiteral("s%1").arg(++counter_);
  while (used_.contains(name));
  return name;
}

// The alternatives of rhs, appended to *eq; with eq null they make the equation of target,
// written out after the fresh equations they needed.
void RvasConverter::dis(const QString& target, const QString& rhs, QString* eq, bool alone) {
  QString own = target + QLatin1Char('=');
  QString* e = eq ? eq : &own;
  const QStringList alts = splitTop(rhs, QLatin1Char('|'));
  for (int i = 0; i < alts.size(); ++i) {
    if (i > 0) *e += QLatin1Char('|');
    line(target, alts.at(i), e, alone && alts.size() == 1);
  }
  if (!eq) out_ << own;
}

// One alternative: from its last factor down, each factor beyond the first two is split off
// as a step through a fresh event; a trailing group is handed on as a whole.
void RvasConverter::line(const QString& target, const QString& alt, QString* eq, bool alone) {
  QStringList f = splitTop(alt, QLatin1Char('*'));
  QString cur = target;  // the event whose definition the remaining factors give
  QString* into = eq;    // null once cur is a fresh event: its equation is written out
  while (true) {
    const int k = int(f.size());
    if (k >= 2 && (f.last().endsWith(QLatin1Char('}')) || f.last().endsWith(QLatin1Char(')')))) {
      group(cur, f, into, alone || !into);
      return;
    }
    if (k <= 2) {
      // The same event twice is one condition: "sw*sw" is sw.
      if (k == 2 && f.at(0).toLower() == f.at(1).toLower()) f.removeLast();
      if (into) *into += f.join(QLatin1Char('*'));
      else out_ << cur + QLatin1Char('=') + f.join(QLatin1Char('*'));
      return;
    }
    const QString step = fresh();
    const QString term = step + QLatin1Char('*') + f.takeLast();
    if (into) *into += term;
    else out_ << cur + QLatin1Char('=') + term;
    cur = step;
    into = nullptr;
  }
}

// factors = A*{B} or A*(G). An iteration makes cur reachable from A and again from itself
// under every alternative of B; a bracket group repeats A before each of its alternatives.
void RvasConverter::group(const QString& cur, QStringList factors, QString* eq, bool alone) {
  const QString last = factors.takeLast();
  const QString inner = last.mid(1, last.size() - 2);
  const bool iteration = last.endsWith(QLatin1Char('}'));
  // A prefix that is itself a loop, or that a bracket group would repeat, becomes one event
  // first, so that two loops in a row stay apart and multiplying out stays linear.
  if (factors.size() > 1 && (!iteration || factors.last().endsWith(QLatin1Char('}')))) {
    const QString step = fresh();
    dis(step, factors.join(QLatin1Char('*')), nullptr);
    factors = QStringList{step};
  }
  const QString a = factors.join(QLatin1Char('*'));
  QStringList alts;
  if (iteration) {
    // A loop in one of several alternatives runs through an event of its own, so that the
    // other alternatives do not gain it; the event and cur get the same terms. So does a
    // target with a 'Z' in its name: on a right side the letter would read as a signal.
    const bool selfLoop = (alone || !eq) && !cur.contains(QLatin1Char('Z'));
    const QString loop = selfLoop ? cur : fresh();
    alts << a;
    for (const QString& b : splitTop(inner, QLatin1Char('|'))) alts << loop + QLatin1Char('*') + b;
    if (loop != cur) {
      QString terms;
      dis(loop, alts.join(QLatin1Char('|')), &terms, false);
      out_ << loop + QLatin1Char('=') + terms;
      if (eq) *eq += terms;
      else out_ << cur + QLatin1Char('=') + terms;
      return;
    }
  } else {
    for (const QString& g : splitTop(inner, QLatin1Char('|'))) alts << a + QLatin1Char('*') + g;
  }
  dis(cur, alts.join(QLatin1Char('|')), eq, false);
}

}  // namespace tiravo
