#include "tiravo/translate/skutable.h"

#include "tiravo/translate/names.h"

namespace tiravo {

using namespace names;

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
      if (isEvent(f)) term.sources << f;
      else if (abstract && term.condition.isEmpty() && f.size() && (f.at(0) == QLatin1Char('z') || f.at(0) == QLatin1Char('e')))
        term.condition = f;
      else if (!abstract && f.size() && f.at(0) != QLatin1Char('z')) binary << f;
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

bool SkuToTable::checkSection(const QStringList& text, bool svf, SkuStageFault* fault) {
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
    *fault = {-1, {}, svf ? QStringLiteral("Отсутствует текст СВФ") : QStringLiteral("Отсутствует текст СКУ")};
    return false;
  }
  return true;
}

bool SkuToTable::runSku(const QStringList& text, SkuStageFault* fault) {
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
SkuFault SkuToTable::svfEvents(const QString& line) {
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

bool SkuToTable::runSvf(const QStringList& text, SkuStageFault* fault) {
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

}  // namespace tiravo
