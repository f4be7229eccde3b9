#include "tiravo/translate/skutable.h"

#include <QHash>
#include <QSet>

#include <deque>
#include <utility>
#include <vector>

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

// The key of a set of source events: the names sorted, joined by a character no name holds.
// A single name is its own key.
QString setKey(const QStringList& names) {
  if (names.size() == 1) return names.first();
  QStringList sorted = names;
  sorted.sort();
  return sorted.join(QChar(1));
}

}  // namespace

// Where each name of the si and sj cells stands, so that an event of an output function is
// found without reading every row.
void SkuToTable::indexCells() {
  sourceRows_.clear();
  targetNames_.clear();
  for (int i = 0; i < table_.rows.size(); ++i) indexRow(i);
}

// Calls f for each name of a cell (split at '&'); the views point into the cell's text.
template <typename F>
void forEachCellName(const QString& cell, F f) {
  qsizetype from = 0;
  for (qsizetype i = 0; i <= cell.size(); ++i)
    if (i == cell.size() || cell.at(i) == QLatin1Char('&')) {
      f(QStringView(cell).mid(from, i - from));
      from = i + 1;
    }
}

void SkuToTable::indexRow(int row) {
  // The views stay valid: the si and sj cells are not changed once made.
  const TableRow& r = table_.rows.at(row);
  if (!r.si.isEmpty())
    forEachCellName(r.si, [&](QStringView n) {
      QVector<int>& list = sourceRows_[{n}];
      if (list.isEmpty() || list.last() != row) list << row;
    });
  if (!r.sj.isEmpty()) forEachCellName(r.sj, [&](QStringView n) { targetNames_.insert({n}); });
}

bool SkuToTable::checkSection(const QStringList& text, bool svf, SkuStageFault* fault) {
  const int from = svf ? s_.svfStart : s_.skuStart, to = svf ? s_.svfEnd : s_.skuEnd;
  const int count = to - from, base = svf ? 700 : 0, span = svf ? 300 : 200;
  SkuLineCheck& check = svf ? svf_ : sku_;
  check.reset();
  if (svf) indexCells();
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
  QHash<NameKey, int> groupOf;
  std::deque<QString> keys;  // the texts the keys of groupOf view
  struct Transition {
    int group, equation;
    const Term* term;
  };
  std::vector<Transition> transitions;
  std::vector<int> groupSizes;
  for (int e = 0; e < eqs.size(); ++e) {
    for (const Term& term : eqs.at(e).terms) {
      QString key = setKey(term.sources);
      const auto it = groupOf.constFind({key});
      int g = it == groupOf.constEnd() ? -1 : it.value();
      if (g < 0) {
        g = int(groupSizes.size());
        keys.push_back(std::move(key));
        groupOf.insert({keys.back()}, g);
        groupSizes.push_back(0);
      }
      ++groupSizes[size_t(g)];
      transitions.push_back({g, e, &term});
    }
    progress(200 + 500 * (e + 1) / eqs.size());
  }
  // Each group's rows in one block, the blocks in order of the groups (a counting sort).
  std::vector<int> first(groupSizes.size() + 1, 0);
  for (size_t g = 0; g < groupSizes.size(); ++g) first[g + 1] = first[g] + groupSizes[g];
  std::vector<int> next(first.begin(), first.end() - 1);
  QList<TableRow>& rows = table_.rows;
  rows.resize(qsizetype(transitions.size()));
  for (const Transition& t : transitions) {
    const int at = next[size_t(t.group)]++;
    TableRow& r = rows[at];
    if (at == first[size_t(t.group)]) r.si = t.term->sources.join(QLatin1Char('&'));
    r.sj = eqs.at(t.equation).target;
    r.x = t.term->condition;
  }
  if (rows.isEmpty()) rows << TableRow();
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
    const bool source = sourceRows_.contains({e}), target = targetNames_.contains({e});
    if (!source && target) {
      table_.rows << TableRow{e, QString(), QStringLiteral("0"), QStringLiteral("0")};
      indexRow(int(table_.rows.size()) - 1);
    }
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
  // The compiler compares names without letter case: an output is written into a y cell once.
  QSet<std::pair<int, QString>> present;
  for (int i = 0; i < table_.rows.size(); ++i)
    if (hasText(table_.rows.at(i).y))
      for (const QString& n : cellNames(table_.rows.at(i).y)) present.insert({i, n.toLower()});
  for (int i = s_.svfStart; i < s_.svfEnd; ++i) {
    const QString t = withoutBlanks(text.value(i));
    if (t.isEmpty()) continue;
    const int eq = int(t.indexOf(QLatin1Char('=')));
    const QString y = t.left(eq), key = y.toLower();
    for (const QString& e : t.mid(eq + 1).split(QLatin1Char('|')))
      for (int row : sourceRows_.value({e})) {
        TableRow& r = table_.rows[row];
        const bool had = hasText(r.y);
        if (had && present.contains({row, key})) continue;
        present.insert({row, key});
        r.y = had ? r.y + QLatin1Char('&') + y : y;
      }
  }
  progress(1000);
  return true;
}

}  // namespace tiravo
