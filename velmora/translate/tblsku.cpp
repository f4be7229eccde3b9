#include "velmora/translate/tblsku.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "velmora/translate/nametable.h"

TTblToSku::TTblToSku(const TableData& table, QStringList* out) : table_(table), out_(out) {}

QString TTblToSku::warningText() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

bool TTblToSku::HasContent(const QString& text) {
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('0')) return true;
  return false;
}

namespace {

// Calls f for each name of a cell, as SplitNames lists them, without copying any.
template <typename F>
void ForEachName(const QString& text, F f) {
  const QChar* p = text.constData();
  const qsizetype n = text.size();
  qsizetype start = 0;
  bool endedWithSeparator = false;
  for (qsizetype i = 0; i < n; ++i) {
    if (p[i] != QLatin1Char('|') && p[i] != QLatin1Char('&')) {
      endedWithSeparator = false;
      continue;
    }
    f(QStringView(p + start, i - start));
    endedWithSeparator = true;
    // The character after a separator always belongs to the next name.
    if (i + 1 < n) {
      start = i + 1;
      ++i;
      endedWithSeparator = false;
    }
  }
  if (!endedWithSeparator) f(QStringView(p + start, n - start));
}

// Appends `text` without blanks, '&' and '*' turned into '*' (NormalizeTerm in place).
void appendTerm(QString* out, const QString& text) {
  for (QChar c : text) {
    if (c == QLatin1Char(' ')) continue;
    out->append(c == QLatin1Char('&') ? QLatin1Char('*') : c);
  }
}

// The cells of a table lie apart in memory: those of a row some rows ahead are asked for
// early, so that reading them overlaps the work on the rows before.
constexpr int kAhead = 8;
inline void prefetch(const QString& a, const QString& b) {
  __builtin_prefetch(a.constData());
  __builtin_prefetch(b.constData());
}

// Items listed per key, each list in the order the pairs came: the pairs are sorted by
// key with one counting pass, so that no list is a block of its own.
template <typename Item>
struct Lists {
  std::vector<int> start;  // the list of key k is items[start[k] .. start[k+1])
  std::vector<Item> items;
  Lists(int keys, const std::vector<std::pair<int, Item>>& pairs) : start(size_t(keys) + 1, 0), items(pairs.size()) {
    for (const auto& p : pairs) ++start[size_t(p.first) + 1];
    for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    std::vector<int> next(start.begin(), start.end() - 1);
    for (const auto& p : pairs) items[size_t(next[size_t(p.first)]++)] = p.second;
  }
};

// "name=a|b|c;" made at its size: `part(i)` gives the text of item i of the list.
template <typename Item, typename Part>
QString equation(QStringView name, const Item* first, const Item* last, Part part) {
  qsizetype n = name.size() + 2 + (last > first ? (last - first) - 1 : 0);
  for (const Item* i = first; i != last; ++i) n += part(*i).size();
  QString line(n, Qt::Uninitialized);
  QChar* p = line.data();
  auto put = [&p](QStringView v) {
    std::copy(v.begin(), v.end(), p);
    p += v.size();
  };
  put(name);
  *p++ = QLatin1Char('=');
  for (const Item* i = first; i != last; ++i) {
    if (i != first) *p++ = QLatin1Char('|');
    put(part(*i));
  }
  *p = QLatin1Char(';');
  return line;
}

}  // namespace

QStringList TTblToSku::SplitNames(const QString& text) {
  QStringList names;
  ForEachName(text, [&names](QStringView name) { names << name.toString(); });
  return names;
}

QString TTblToSku::NormalizeTerm(const QString& text, QChar op) {
  QString s;
  s.reserve(text.size());
  for (QChar c : text) {
    if (c == QLatin1Char(' ')) continue;
    s += (c == QLatin1Char('&') || c == QLatin1Char('*')) ? op : c;
  }
  return s;
}

void TTblToSku::Convert() {
  out_->append(QStringLiteral("sku:"));
  hasOutputs_ = false;
  const QList<TableRow>& rows = table_.rows;

  // The names of the cells with content, numbered in order of first appearance; each row
  // keeps its own, each once (a cell may name the same target twice). Cells without
  // content name no new target or output, but their names may still be found among the
  // others, so they are looked up once all are known.
  NameViewTable targetIndex, outputIndex;
  std::vector<int> rowTargets, rowOutputs;  // per row: offsets into the id lists
  std::vector<int> targetIds, outputIds;
  std::vector<int> targetSeen, outputSeen;  // last row + 1 that listed the name
  auto collect = [](NameViewTable& index, std::vector<int>& seen, std::vector<int>& ids, int row, QStringView n) {
    const int k = index.add(n);
    if (size_t(k) == seen.size()) seen.push_back(0);
    if (seen[size_t(k)] == row + 1) return;
    seen[size_t(k)] = row + 1;
    ids.push_back(k);
  };
  rowTargets.reserve(size_t(rows.size()) + 1);
  rowOutputs.reserve(size_t(rows.size()) + 1);
  for (int i = 0; i < int(rows.size()); ++i) {
    const TableRow& r = rows[i];
    if (i + kAhead < rows.size()) prefetch(rows[i + kAhead].sj, rows[i + kAhead].y);
    rowTargets.push_back(int(targetIds.size()));
    rowOutputs.push_back(int(outputIds.size()));
    if (HasContent(r.sj)) ForEachName(r.sj, [&](QStringView n) { collect(targetIndex, targetSeen, targetIds, i, n); });
    if (HasContent(r.y)) ForEachName(r.y, [&](QStringView n) { collect(outputIndex, outputSeen, outputIds, i, n); });
  }
  rowTargets.push_back(int(targetIds.size()));
  rowOutputs.push_back(int(outputIds.size()));
  hasOutputs_ = outputIndex.size() > 0;

  // The names of a row: those collected above, or those of a cell without content that
  // stand among the names found elsewhere.
  std::vector<int> looked;
  auto namesOf = [&looked](const QString& cell, const NameViewTable& index, std::vector<int>& seen,
                           const std::vector<int>& ids, const std::vector<int>& at, int row) {
    looked.clear();
    if (at[size_t(row)] != at[size_t(row) + 1] || HasContent(cell)) {
      looked.assign(ids.begin() + at[size_t(row)], ids.begin() + at[size_t(row) + 1]);
      return;
    }
    ForEachName(cell, [&](QStringView n) {
      const int k = index.find(n);
      if (k < 0 || seen[size_t(k)] == -(row + 1)) return;
      seen[size_t(k)] = -(row + 1);
      looked.push_back(k);
    });
  };

  // Each target collects its terms in row order. The source of a row is the last source
  // cell at or above it; rows above the first source cell have none (for every target
  // alike, not what the previous target's pass left over). A row's term is made once
  // into one text and only its place is kept.
  using Term = std::pair<qsizetype, qsizetype>;  // start and length in termText
  QString termText;
  std::vector<std::pair<int, Term>> targetTerms;
  QString source;
  for (int i = 0; i < int(rows.size()); ++i) {
    const TableRow& r = rows[i];
    if (i + kAhead < rows.size()) prefetch(rows[i + kAhead].si, rows[i + kAhead].x);
    if (HasContent(r.si)) {
      source.truncate(0);
      appendTerm(&source, r.si);
    }
    namesOf(r.sj, targetIndex, targetSeen, targetIds, rowTargets, i);
    if (looked.empty()) continue;
    const qsizetype start = termText.size();
    termText += source;
    const qsizetype mark = termText.size();
    termText += QLatin1Char('*');
    appendTerm(&termText, r.x);
    if (termText.size() == mark + 2 && termText.at(mark + 1) == QLatin1Char('1')) termText.truncate(mark);
    const Term term(start, termText.size() - start);
    for (int k : looked) targetTerms.emplace_back(k, term);
  }
  const Lists<Term> terms(targetIndex.size(), targetTerms);
  out_->reserve(out_->size() + targetIndex.size() + outputIndex.size() + 2);
  const Term* const items = terms.items.data();
  for (int k = 0; k < targetIndex.size(); ++k) {
    // A target's terms lie apart in the text: those of a target some ahead are asked for early.
    if (k + kAhead < targetIndex.size()) {
      const size_t a = size_t(k + kAhead);
      __builtin_prefetch(targetIndex.name(int(a)).data());
      for (int i = terms.start[a]; i < terms.start[a + 1]; ++i)
        __builtin_prefetch(termText.constData() + items[i].first);
    }
    out_->append(equation(targetIndex.name(k), items + terms.start[size_t(k)], items + terms.start[size_t(k) + 1],
                          [&](const Term& t) { return QStringView(termText).mid(t.first, t.second); }));
  }
  if (!hasOutputs_) return;

  // Only rows with their own source cell give an output its events, each event once.
  out_->append(QStringLiteral("svf:"));
  NameViewTable eventIndex;
  std::vector<int> events;
  std::vector<std::pair<int, int>> outputEvents;  // output, event
  for (int i = 0; i < int(rows.size()); ++i) {
    const TableRow& r = rows[i];
    if (i + kAhead < rows.size()) prefetch(rows[i + kAhead].si, rows[i + kAhead].y);
    if (!HasContent(r.si)) continue;
    namesOf(r.y, outputIndex, outputSeen, outputIds, rowOutputs, i);
    if (looked.empty()) continue;
    events.clear();
    ForEachName(r.si, [&](QStringView e) { events.push_back(eventIndex.add(e)); });
    for (int k : looked)
      for (int e : events) outputEvents.emplace_back(k, e);
  }
  const Lists<int> lists(outputIndex.size(), outputEvents);
  std::vector<int> listed(size_t(eventIndex.size()), 0);  // output + 1 that listed the event
  std::vector<int> once;
  for (int k = 0; k < outputIndex.size(); ++k) {
    if (k + kAhead < outputIndex.size()) {
      const size_t a = size_t(k + kAhead);
      for (int i = lists.start[a]; i < lists.start[a + 1]; ++i)
        __builtin_prefetch(eventIndex.name(lists.items[size_t(i)]).data());
    }
    once.clear();
    for (int i = lists.start[size_t(k)]; i < lists.start[size_t(k) + 1]; ++i) {
      const int e = lists.items[size_t(i)];
      if (listed[size_t(e)] == k + 1) continue;
      listed[size_t(e)] = k + 1;
      once.push_back(e);
    }
    out_->append(equation(outputIndex.name(k), once.data(), once.data() + once.size(),
                          [&](int e) { return eventIndex.name(e); }));
  }
}
