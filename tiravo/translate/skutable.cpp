#include "tiravo/translate/skutable.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "tiravo/translate/names.h"

namespace tiravo {

using namespace names;

namespace {

bool hasBlank(QStringView s) {
  for (QChar c : s)
    if (isBlank(c)) return true;
  return false;
}

// The text without blanks: the text itself when it has none.
QString withoutBlanks(const QString& s) {
  if (!hasBlank(s)) return s;
  QString t(s.size(), Qt::Uninitialized);
  QChar* out = t.data();
  for (QChar c : s)
    if (!isBlank(c)) *out++ = c;
  t.truncate(out - t.constData());
  return t;
}

bool hasText(const QString& line) {
  for (QChar c : line)
    if (!isBlank(c)) return true;
  return false;
}

// Calls f with each piece of text between the `sep`; the views point into text.
template <typename F>
void forEachPiece(QStringView text, QChar sep, F f) {
  qsizetype from = 0;
  for (qsizetype i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == sep) {
      f(text.mid(from, i - from));
      from = i + 1;
    }
}

}  // namespace

// The equations of the СКУ section as views into their lines without blanks: a term's source
// events are a range of sources_, its condition the text of its x cell.
struct SkuToTable::Parsed {
  struct Term {
    int from, to;  // in sources
    QString condition;
  };
  struct Equation {
    QString target;
    int from, to;  // in terms
  };
  // The lines without blanks, one after another: reserved for the whole section, so that the
  // views into it stay valid.
  QString text;
  std::vector<QStringView> sources;
  std::vector<Term> terms;
  std::vector<Equation> equations;
  // Conditions repeat from term to term: equal ones share one text (keys view the values).
  QHash<NameKey, QString> conditions;
  QString scratch;

  void reserve(const QStringList& lines, int from, int to) {
    qsizetype n = 0;
    for (int i = from; i < to; ++i) n += lines.value(i).size();
    text.reserve(n);
  }

  QString condition(QStringView c) {
    const auto it = conditions.constFind({c});
    if (it != conditions.constEnd()) return it.value();
    const QString own(c.data(), c.size());
    conditions.insert({own}, own);
    return own;
  }

  void parse(const QString& line, bool abstract) {
    // Within the reserved size, so the text does not move.
    const qsizetype start = text.size();
    text.resize(start + line.size());
    QChar* out = text.data() + start;
    for (QChar c : line)
      if (!isBlank(c)) *out++ = c;
    text.truncate(out - text.constData());
    const QStringView t = QStringView(text).mid(start);
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    Equation e{t.left(eq).toString().replace(QLatin1Char('*'), QLatin1Char('&')), int(terms.size()), 0};
    forEachPiece(t.mid(eq + 1), QLatin1Char('|'), [&](QStringView termText) {
      Term term{int(sources.size()), 0, QString()};
      QStringView signal;
      bool binary = false;
      scratch.clear();
      forEachPiece(termText, QLatin1Char('*'), [&](QStringView f) {
        if (isEvent(f)) {
          sources.push_back(f);
        } else if (abstract && signal.isEmpty() && f.size() &&
                   (f.at(0) == QLatin1Char('z') || f.at(0) == QLatin1Char('e'))) {
          signal = f;
        } else if (!abstract && f.size() && f.at(0) != QLatin1Char('z')) {
          if (binary) scratch += QLatin1Char('&');
          scratch += f;
          binary = true;
        }
      });
      if (!abstract) signal = scratch;
      term.condition = signal.isEmpty() ? QStringLiteral("1") : condition(signal);
      term.to = int(sources.size());
      terms.push_back(std::move(term));
    });
    e.to = int(terms.size());
    equations.push_back(std::move(e));
  }
};

// Where each name of the si and sj cells stands, so that an event of an output function is
// found without reading every row.
void SkuToTable::indexCells() {
  sourceRows_.clear();
  rowLinks_.clear();
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
      const auto it = sourceRows_.find({n});
      if (it == sourceRows_.end()) {
        sourceRows_.insert({n}, {int(rowLinks_.size()), int(rowLinks_.size())});
      } else {
        if (rowLinks_[size_t(it->last)].row == row) return;
        rowLinks_[size_t(it->last)].next = int(rowLinks_.size());
        it->last = int(rowLinks_.size());
      }
      rowLinks_.push_back({row, -1});
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
  Parsed p;
  p.reserve(text, s_.skuStart, s_.skuEnd);
  for (int i = s_.skuStart; i < s_.skuEnd; ++i)
    if (hasText(text.value(i))) p.parse(text.value(i), abstract);

  // Rows are grouped by source-event set in the order the sets first appear; within a group
  // the transitions follow the equations and their terms; only a group's first row has si.
  // The key of a set: the names sorted, joined by a character no name holds; a single name is
  // its own key.
  QHash<NameKey, int> groupOf;
  std::deque<QString> keys;  // the texts the keys of several names view
  std::vector<QStringView> sorted;
  QString joined;
  struct Transition {
    int group, equation, term;
  };
  std::vector<Transition> transitions;
  transitions.reserve(p.terms.size());
  std::vector<int> groupSizes;
  const int count = int(p.equations.size());
  for (int e = 0; e < count; ++e) {
    for (int k = p.equations[size_t(e)].from; k < p.equations[size_t(e)].to; ++k) {
      const Parsed::Term& term = p.terms[size_t(k)];
      QStringView key;
      if (term.to - term.from == 1) {
        key = p.sources[size_t(term.from)];
      } else {
        sorted.assign(p.sources.begin() + term.from, p.sources.begin() + term.to);
        std::sort(sorted.begin(), sorted.end(),
                  [](QStringView a, QStringView b) { return a.compare(b) < 0; });
        joined.clear();
        for (size_t i = 0; i < sorted.size(); ++i) {
          if (i) joined += QChar(1);
          joined += sorted[i];
        }
        key = joined;
      }
      const auto it = groupOf.constFind({key});
      int g = it == groupOf.constEnd() ? -1 : it.value();
      if (g < 0) {
        g = int(groupSizes.size());
        if (key.data() == joined.data()) {
          keys.push_back(joined);
          key = keys.back();
        }
        groupOf.insert({key}, g);
        groupSizes.push_back(0);
      }
      ++groupSizes[size_t(g)];
      transitions.push_back({g, e, k});
    }
    progress(200 + 500 * (e + 1) / count);
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
    Parsed::Term& term = p.terms[size_t(t.term)];
    if (at == first[size_t(t.group)]) {
      for (int i = term.from; i < term.to; ++i) {
        if (i > term.from) r.si += QLatin1Char('&');
        r.si += p.sources[size_t(i)];
      }
    }
    r.sj = p.equations[size_t(t.equation)].target;
    r.x = std::move(term.condition);
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
  QString compact;
  for (int i = from; i <= line.size(); ++i) {
    if (i < line.size() && line.at(i) != QLatin1Char('|')) continue;
    QStringView e = QStringView(line).mid(from, i - from);
    if (hasBlank(e)) {
      compact.clear();
      for (QChar c : e)
        if (!isBlank(c)) compact += c;
      e = compact;
    }
    const bool source = sourceRows_.contains({e}), target = targetNames_.contains({e});
    if (!source && target) {
      table_.rows << TableRow{e.toString(), QString(), QStringLiteral("0"), QStringLiteral("0")};
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
  // Outputs are numbered by their lower-case names; a pair is (row, output).
  QHash<QString, int> outputs;
  QSet<quint64> present;
  const auto number = [&](const QString& lower) {
    const auto it = outputs.constFind(lower);
    if (it != outputs.constEnd()) return it.value();
    const int k = int(outputs.size());
    outputs.insert(lower, k);
    return k;
  };
  for (int i = 0; i < table_.rows.size(); ++i)
    if (hasText(table_.rows.at(i).y))
      forEachPiece(table_.rows.at(i).y, QLatin1Char('&'), [&](QStringView n) {
        present.insert(quint64(i) << 32 | quint32(number(n.toString().toLower())));
      });
  for (int i = s_.svfStart; i < s_.svfEnd; ++i) {
    const QString t = withoutBlanks(text.value(i));
    if (t.isEmpty()) continue;
    const int eq = int(t.indexOf(QLatin1Char('=')));
    const QString y = t.left(eq);
    const quint64 key = quint32(number(y.toLower()));
    forEachPiece(QStringView(t).mid(eq + 1), QLatin1Char('|'), [&](QStringView e) {
      const auto it = sourceRows_.constFind({e});
      if (it == sourceRows_.constEnd()) return;
      for (int k = it->first; k >= 0; k = rowLinks_[size_t(k)].next) {
        const int row = rowLinks_[size_t(k)].row;
        TableRow& r = table_.rows[row];
        const bool had = hasText(r.y);
        const quint64 pair = quint64(row) << 32 | key;
        if (had && present.contains(pair)) continue;
        present.insert(pair);
        if (had) {
          r.y += QLatin1Char('&');
          r.y += y;
        } else {
          r.y = y;
        }
      }
    });
  }
  progress(1000);
  return true;
}

}  // namespace tiravo
