// The translators as they were before they were made linear, kept only to compare the
// present ones with on small texts (quadratic, and recursive over a chain of groups). Two
// deliberate changes since are carried here too: a row that continues a source gives its
// outputs no events, and a target with a 'Z' loops through a fresh event.
#include "oldtranslate.h"

#include <QRegularExpression>

#include "tiravo/translate/names.h"
#include "tiravo/translate/tablesku.h"

namespace tiravo {

using names::splitTop;
using namespace names;

namespace {

// A condition "0" is no transition: its row has no target.
bool noTransition(const TableRow& r) { return r.x.trimmed() == QLatin1String("0"); }

}  // namespace

bool oldTableToSku(const TableData& table, QStringList* lines) {
  *lines << QStringLiteral("sku:");
  QStringList targets;
  for (const TableRow& r : table.rows)
    if (!noTransition(r) && hasContent(r.sj) && !targets.contains(r.sj)) targets << r.sj;

  QString source;  // carried from row to row and from one target to the next
  for (const QString& t : targets) {
    QString line = normalizeTerm(t, QLatin1Char('*')) + QLatin1Char('=');
    bool first = true;
    for (const TableRow& r : table.rows) {
      if (hasContent(r.si)) source = r.si;
      if (r.sj != t || noTransition(r)) continue;
      if (!first) line += QLatin1Char('|');
      first = false;
      line += normalizeTerm(source, QLatin1Char('*'));
      const QString c = normalizeTerm(r.x, QLatin1Char('*'));
      if (c != QLatin1String("1")) line += QLatin1Char('*') + c;
    }
    *lines << line;
  }

  QStringList outputs;
  for (const TableRow& r : table.rows)
    if (hasContent(r.y))
      for (const QString& y : splitNames(r.y))
        if (!outputs.contains(y)) outputs << y;
  if (outputs.isEmpty()) return false;

  *lines << QStringLiteral("svf:");
  for (const QString& y : outputs) {
    QStringList sources;
    QString current;
    for (const TableRow& r : table.rows) {
      // Only a row with its own source cell gives its outputs events.
      if (!hasContent(r.si)) continue;
      current = r.si;
      if (!hasContent(r.y) || !containsName(splitNames(r.y), y)) continue;
      for (const QString& s : splitNames(current))
        if (!sources.contains(s)) sources << s;
    }
    *lines << y + QLatin1Char('=') + sources.join(QLatin1Char('|'));
  }
  return true;
}

namespace {

QString withoutBlanks(QString s) {
  s.remove(QLatin1Char(' '));
  s.remove(QLatin1Char('\t'));
  return s;
}

bool hasText(const QString& line) {
  for (QChar c : line)
    if (!isBlank(c)) return true;
  return false;
}

struct Term {
  QStringList sources;
  QString condition;
};

struct Equation {
  QString target;
  QList<Term> terms;
};

Equation parse(const QString& line, bool abstract) {
  const QString t = withoutBlanks(line);
  const int eq = int(t.indexOf(QLatin1Char('=')));
  Equation e;
  e.target = t.left(eq).replace(QLatin1Char('*'), QLatin1Char('&'));
  for (const QString& termText : t.mid(eq + 1).split(QLatin1Char('|'))) {
    Term term;
    QStringList binary;
    for (const QString& f : termText.split(QLatin1Char('*'))) {
      if (isEvent(f))
        term.sources << f;
      else if (abstract && term.condition.isEmpty() && f.size() &&
               (f.at(0) == QLatin1Char('z') || f.at(0) == QLatin1Char('e')))
        term.condition = f;
      else if (!abstract && f.size() && f.at(0) != QLatin1Char('z'))
        binary << f;
    }
    if (!abstract) term.condition = binary.join(QLatin1Char('&'));
    if (term.condition.isEmpty()) term.condition = QStringLiteral("1");
    e.terms << term;
  }
  return e;
}

bool sameSet(const QStringList& a, const QStringList& b) {
  if (a.size() != b.size()) return false;
  for (const QString& n : a)
    if (!b.contains(n)) return false;
  for (const QString& n : b)
    if (!a.contains(n)) return false;
  return true;
}

bool holds(const QString& cell, const QString& name) { return cellNames(cell).contains(name); }

}  // namespace

bool OldSkuToTable::checkSection(const QStringList& text, bool svf, SkuStageFault* fault) {
  const int from = svf ? s_.svfStart : s_.skuStart, to = svf ? s_.svfEnd : s_.skuEnd;
  const int count = to - from, base = svf ? 700 : 0, span = svf ? 300 : 200;
  SkuLineCheck& check = svf ? svf_ : sku_;
  check.reset();
  bool any = false;
  for (int i = from; i < to; ++i) {
    const QString line = text.value(i);
    if (onLine) onLine(i - from + 1, line);
    progress(base + span * (i - from + 1) / count);
    if (!hasText(line)) continue;
    any = true;
    SkuFault f = check.check(line);
    if (!f.code && svf) f = svfEvents(line);
    if (f.code) {
      *fault = {i, f, skuMessage(f.code, svf)};
      return false;
    }
  }
  if (!any) {
    *fault = {
        -1, {}, svf ? QStringLiteral("Отсутствует текст СВФ") : QStringLiteral("Отсутствует текст СКУ")};
    return false;
  }
  return true;
}

bool OldSkuToTable::runSku(const QStringList& text, SkuStageFault* fault) {
  table_ = TableData();
  progress(0);
  if (!checkSection(text, false, fault)) return false;
  const bool abstract = sku_.abstractUsed();
  table_.signalCoding = abstract ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  QList<Equation> eqs;
  for (int i = s_.skuStart; i < s_.skuEnd; ++i)
    if (hasText(text.value(i))) eqs << parse(text.value(i), abstract);

  // Rows are grouped by source-event set in the order the sets first appear; within a group
  // the transitions follow the equations and their terms; only a group's first row has si.
  QList<TableRow>& rows = table_.rows;
  rows << TableRow();
  for (int e = 0; e < eqs.size(); ++e) {
    for (const Term& term : eqs.at(e).terms) {
      bool known = false;
      for (const TableRow& r : rows)
        if (hasText(r.si) && sameSet(cellNames(r.si), term.sources)) known = true;
      if (known) continue;
      if (!rows.last().x.isEmpty()) rows << TableRow();
      rows.last().si = term.sources.join(QLatin1Char('&'));
      for (const Equation& other : eqs)
        for (const Term& t : other.terms) {
          if (!rows.last().x.isEmpty()) rows << TableRow();
          if (!sameSet(t.sources, term.sources)) continue;
          rows.last().sj = other.target;
          rows.last().x = t.condition;
        }
    }
    progress(200 + 500 * (e + 1) / eqs.size());
  }
  // The row left for a next group stays empty at the end.
  while (rows.size() > 1 && rows.last().isEmpty()) rows.removeLast();
  if (!s_.hasSvf()) progress(1000);
  return true;
}

// Every event of an output function must be a source or a target of the table; an event that
// is only a target gets a row of its own to carry the output.
SkuFault OldSkuToTable::svfEvents(const QString& line) {
  const int eq = int(line.indexOf(QLatin1Char('=')));
  int from = eq + 1;
  for (int i = from; i <= line.size(); ++i) {
    if (i < line.size() && line.at(i) != QLatin1Char('|')) continue;
    const QString e = withoutBlanks(line.mid(from, i - from));
    bool source = false, target = false;
    for (const TableRow& r : table_.rows) {
      if (holds(r.si, e)) source = true;
      if (holds(r.sj, e)) target = true;
    }
    if (!source && target) table_.rows << TableRow{e, QString(), QStringLiteral("0"), QStringLiteral("0")};
    if (!source && !target) {
      int s = from, end = i;
      while (s < end && isBlank(line.at(s))) ++s;
      while (end > s && isBlank(line.at(end - 1))) --end;
      return {4, s, end - s};
    }
    from = i + 1;
  }
  return {};
}

bool OldSkuToTable::runSvf(const QStringList& text, SkuStageFault* fault) {
  progress(700);
  if (!checkSection(text, true, fault)) return false;
  for (int i = s_.svfStart; i < s_.svfEnd; ++i) {
    const QString t = withoutBlanks(text.value(i));
    if (t.isEmpty()) continue;
    const int eq = int(t.indexOf(QLatin1Char('=')));
    const QString y = t.left(eq);
    for (const QString& e : t.mid(eq + 1).split(QLatin1Char('|')))
      for (TableRow& r : table_.rows) {
        if (!holds(r.si, e)) continue;
        // The compiler compares names without letter case.
        bool present = false;
        for (const QString& n : cellNames(r.y))
          if (n.toLower() == y.toLower()) present = true;
        if (hasText(r.y) && present) continue;
        r.y = hasText(r.y) ? r.y + QLatin1Char('&') + y : y;
      }
  }
  progress(1000);
  return true;
}

QStringList OldRvasConverter::convert(const QString& t) {
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

QString OldRvasConverter::fresh() {
  QString name;
  do name = QStringLiteral("s%1").arg(++counter_);
  while (used_.contains(name));
  return name;
}

// The alternatives of rhs, appended to *eq; with eq null they make the equation of target,
// written out after the fresh equations they needed.
void OldRvasConverter::dis(const QString& target, const QString& rhs, QString* eq, bool alone) {
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
void OldRvasConverter::line(const QString& target, const QString& alt, QString* eq, bool alone) {
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
      if (into)
        *into += f.join(QLatin1Char('*'));
      else
        out_ << cur + QLatin1Char('=') + f.join(QLatin1Char('*'));
      return;
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
}

// factors = A*{B} or A*(G). An iteration makes cur reachable from A and again from itself
// under every alternative of B; a bracket group repeats A before each of its alternatives.
void OldRvasConverter::group(const QString& cur, QStringList factors, QString* eq, bool alone) {
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
      if (eq)
        *eq += terms;
      else
        out_ << cur + QLatin1Char('=') + terms;
      return;
    }
  } else {
    for (const QString& g : splitTop(inner, QLatin1Char('|'))) alts << a + QLatin1Char('*') + g;
  }
  dis(cur, alts.join(QLatin1Char('|')), eq, false);
}

}  // namespace tiravo
