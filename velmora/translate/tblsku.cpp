#include "velmora/translate/tblsku.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "velmora/translate/keyedlists.h"
#include "velmora/translate/keytable.h"

TTblToSku::TTblToSku(const TableData& table, QStringList* out) : table_(table), out_(out) {}

QString TTblToSku::warningText() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

namespace {

// Calls f for each name of a cell, as SplitNames lists them, without copying any.
template <typename F>
void ForEachName(QStringView text, F f) {
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
void appendTerm(QString* out, QStringView text) {
  const qsizetype at = out->size();
  out->resize(at + text.size());
  QChar* const begin = out->data();
  QChar* p = begin + at;
  for (QChar c : text) {
    if (c == QLatin1Char(' ')) continue;
    *p++ = c == QLatin1Char('&') ? QLatin1Char('*') : c;
  }
  out->truncate(p - begin);
}

// Data some items ahead is asked for early, so that reading it overlaps the work on the
// items before.
constexpr size_t kAhead = 8;

bool hasContent(QStringView text) {
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('0')) return true;
  return false;
}

// The cells of a table, copied row by row into one text. The cells of a table lie apart in
// memory (cells with the same name share one text made wherever the name was first seen):
// they are read once, in one pass, and all later passes read the copy straight through.
class Cells {
 public:
  enum Column { kSi, kY, kX, kSj, kColumns };
  explicit Cells(const QList<TableRow>& rows) {
    const size_t n = size_t(rows.size());
    qsizetype chars = 0;
    for (const TableRow& r : rows) chars += r.si.size() + r.y.size() + r.x.size() + r.sj.size();
    text_.resize(chars);
    // Offsets of 32 bits keep the cells' places half as large; a table of more characters
    // than that gets offsets of 64.
    wide_ = chars > qsizetype(UINT32_MAX);
    if (wide_) wideStarts_.resize(n * kColumns + 1);
    else starts_.resize(n * kColumns + 1);
    content_.resize(n);
    QChar* const base = text_.data();
    QChar* p = base;
    for (size_t i = 0; i < n; ++i) {
      if (i + kAhead < n) {
        const TableRow& a = rows[qsizetype(i + kAhead)];
        __builtin_prefetch(a.si.constData());
        __builtin_prefetch(a.y.constData());
        __builtin_prefetch(a.x.constData());
        __builtin_prefetch(a.sj.constData());
      }
      const TableRow& r = rows[qsizetype(i)];
      const QString* cells[kColumns] = {&r.si, &r.y, &r.x, &r.sj};
      uint8_t content = 0;
      for (int c = 0; c < kColumns; ++c) {
        setStart(i * kColumns + size_t(c), p - base);
        const qsizetype size = cells[c]->size();
        std::copy_n(cells[c]->constData(), size, p);
        if (::hasContent(QStringView(p, size))) content |= uint8_t(1u << c);
        p += size;
      }
      content_[i] = content;
    }
    setStart(n * kColumns, p - base);
  }
  QStringView cell(int row, Column c) const {
    const size_t k = size_t(row) * kColumns + size_t(c);
    if (wide_) return QStringView(text_).mid(wideStarts_[k], wideStarts_[k + 1] - wideStarts_[k]);
    return QStringView(text_.constData() + starts_[k], qsizetype(starts_[k + 1] - starts_[k]));
  }
  // The cell holds a character other than ' ' and '0'.
  bool hasContent(int row, Column c) const { return content_[size_t(row)] >> c & 1u; }

 private:
  QString text_;
  void setStart(size_t k, qsizetype at) {
    if (wide_) wideStarts_[k] = at;
    else starts_[k] = uint32_t(at);
  }
  bool wide_ = false;
  std::vector<uint32_t> starts_;  // cell c of row r: text_[starts_[4r + c], starts_[4r + c + 1])
  std::vector<qsizetype> wideStarts_;
  std::vector<uint8_t> content_;   // per row, a bit per column
};

// Names numbered in order of first appearance, each kept once in a compact table.
class Names : public NameKeys {
 public:
  struct Ref {
    QStringView name;
    uint64_t hash;
  };
  static Ref ref(QStringView name) { return Ref{name, hash(name)}; }

  // Numbers the names in order, calling number(j, k) for names[j] of number k. The slot
  // of a name some ahead is asked for early: look-ups in a long table then wait for memory
  // several at once rather than one after another.
  template <typename F>
  void addAll(const std::vector<Ref>& names, F number) {
    constexpr size_t kSlotsAhead = 16;
    for (size_t j = 0; j < names.size(); ++j) {
      if (j + kSlotsAhead < names.size()) prefetch(names[j + kSlotsAhead].hash);
      bool added = false;
      number(j, add(names[j].name, names[j].hash, &added));
    }
  }
};

struct First {
  template <typename P>
  auto operator()(const P& p) const { return p.first; }
};
struct Second {
  template <typename P>
  auto operator()(const P& p) const { return p.second; }
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

bool TTblToSku::HasContent(const QString& text) { return hasContent(text); }

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
  const Cells cells(table_.rows);
  const int rowCount = int(table_.rows.size());

  // The names of the cells with content, numbered in order of first appearance; each row
  // keeps its own, each once (a cell may name the same target twice). Cells without
  // content name no new target or output, but their names may still be found among the
  // others, so they are looked up once all are known.
  Names targetIndex, outputIndex;
  std::vector<int> rowTargets, rowOutputs;  // per row: offsets into the id lists
  std::vector<int> targetIds, outputIds;
  std::vector<int> targetSeen, outputSeen;  // last row + 1 that listed the name
  std::vector<Names::Ref> refs;
  std::vector<int> refRows;
  // The names are gathered and numbered a block at a time, so that the block stays in
  // the cache while its names are looked up.
  constexpr size_t kBlock = 4096;
  const auto collect = [&](Cells::Column column, Names& index, std::vector<int>& seen, std::vector<int>& ids,
                           std::vector<int>& at) {
    at.reserve(size_t(rowCount) + 1);
    const auto flush = [&] {
      index.addAll(refs, [&](size_t j, int k) {
        const int row = refRows[j];
        while (int(at.size()) <= row) at.push_back(int(ids.size()));
        if (size_t(k) == seen.size()) seen.push_back(0);
        if (seen[size_t(k)] == row + 1) return;
        seen[size_t(k)] = row + 1;
        ids.push_back(k);
      });
      refs.clear();
      refRows.clear();
    };
    for (int i = 0; i < rowCount; ++i) {
      if (!cells.hasContent(i, column)) continue;
      ForEachName(cells.cell(i, column), [&](QStringView n) {
        refs.push_back(Names::ref(n));
        refRows.push_back(i);
      });
      if (refs.size() >= kBlock) flush();
    }
    flush();
    while (int(at.size()) <= rowCount) at.push_back(int(ids.size()));
  };
  collect(Cells::kSj, targetIndex, targetSeen, targetIds, rowTargets);
  collect(Cells::kY, outputIndex, outputSeen, outputIds, rowOutputs);
  hasOutputs_ = outputIndex.size() > 0;

  // The names of a row: those collected above, or those of a cell without content that
  // stand among the names found elsewhere.
  std::vector<int> looked;
  auto namesOf = [&looked, &cells](Cells::Column column, const Names& index, std::vector<int>& seen,
                                   const std::vector<int>& ids, const std::vector<int>& at, int row) {
    looked.clear();
    if (at[size_t(row)] != at[size_t(row) + 1] || cells.hasContent(row, column)) {
      looked.assign(ids.begin() + at[size_t(row)], ids.begin() + at[size_t(row) + 1]);
      return;
    }
    ForEachName(cells.cell(row, column), [&](QStringView n) {
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
  {
    // Reserved at once from the cells' lengths: a long text copied at each growth would
    // be read and written again several times.
    qsizetype chars = 0, sourceChars = 0;
    for (int i = 0; i < rowCount; ++i) {
      if (cells.hasContent(i, Cells::kSi)) sourceChars = cells.cell(i, Cells::kSi).size();
      if (rowTargets[size_t(i)] != rowTargets[size_t(i) + 1] || !cells.hasContent(i, Cells::kSj))
        chars += sourceChars + 1 + cells.cell(i, Cells::kX).size();
    }
    termText.reserve(chars);
  }
  std::vector<std::pair<int, Term>> targetTerms;
  targetTerms.reserve(targetIds.size());
  QString source;
  for (int i = 0; i < rowCount; ++i) {
    if (cells.hasContent(i, Cells::kSi)) {
      source.truncate(0);
      appendTerm(&source, cells.cell(i, Cells::kSi));
    }
    namesOf(Cells::kSj, targetIndex, targetSeen, targetIds, rowTargets, i);
    if (looked.empty()) continue;
    const qsizetype start = termText.size();
    termText += source;
    const qsizetype mark = termText.size();
    termText += QLatin1Char('*');
    appendTerm(&termText, cells.cell(i, Cells::kX));
    if (termText.size() == mark + 2 && termText.at(mark + 1) == QLatin1Char('1')) termText.truncate(mark);
    const Term term(start, termText.size() - start);
    for (int k : looked) targetTerms.emplace_back(k, term);
  }
  const KeyedLists<Term> terms(size_t(targetIndex.size()), targetTerms, First(), Second());
  out_->reserve(out_->size() + targetIndex.size() + outputIndex.size() + 2);
  const Term* const items = terms.items.data();
  for (int k = 0; k < targetIndex.size(); ++k) {
    // A target's terms lie apart in the text: those of a target some ahead are asked for early.
    if (size_t(k) + kAhead < size_t(targetIndex.size())) {
      const size_t a = size_t(k) + kAhead;
      __builtin_prefetch(targetIndex.name(int(a)).data());
      for (uint32_t i = terms.start[a]; i < terms.start[a + 1]; ++i)
        __builtin_prefetch(termText.constData() + items[i].first);
    }
    out_->append(equation(targetIndex.name(k), items + terms.start[size_t(k)], items + terms.start[size_t(k) + 1],
                          [&](const Term& t) { return QStringView(termText).mid(t.first, t.second); }));
  }
  if (!hasOutputs_) return;

  // Only rows with their own source cell give an output its events, each event once.
  out_->append(QStringLiteral("svf:"));
  // First the outputs and source names of each row, then the events are numbered, then
  // each output is given the events of its rows.
  struct Span {
    uint32_t outputs, names;  // where the row's outputs and names end
  };
  std::vector<Span> spans;
  std::vector<int> rowOutputIds, events;
  std::vector<std::pair<int, int>> outputEvents;  // output, event
  Names eventIndex;
  const auto flush = [&] {
    events.resize(refs.size());
    eventIndex.addAll(refs, [&](size_t j, int k) { events[j] = k; });
    uint32_t o = 0, e = 0;
    for (const Span& s : spans) {
      for (; o < s.outputs; ++o)
        for (uint32_t n = e; n < s.names; ++n) outputEvents.emplace_back(rowOutputIds[o], events[n]);
      e = s.names;
    }
    spans.clear();
    rowOutputIds.clear();
    refs.clear();
  };
  refs.clear();
  for (int i = 0; i < rowCount; ++i) {
    if (!cells.hasContent(i, Cells::kSi)) continue;
    namesOf(Cells::kY, outputIndex, outputSeen, outputIds, rowOutputs, i);
    if (looked.empty()) continue;
    rowOutputIds.insert(rowOutputIds.end(), looked.begin(), looked.end());
    ForEachName(cells.cell(i, Cells::kSi), [&](QStringView e) { refs.push_back(Names::ref(e)); });
    spans.push_back(Span{uint32_t(rowOutputIds.size()), uint32_t(refs.size())});
    if (refs.size() >= kBlock || rowOutputIds.size() >= kBlock) flush();
  }
  flush();
  const KeyedLists<int> lists(size_t(outputIndex.size()), outputEvents, First(), Second());
  std::vector<int> listed(size_t(eventIndex.size()), 0);  // output + 1 that listed the event
  std::vector<int> once;
  for (int k = 0; k < outputIndex.size(); ++k) {
    if (size_t(k) + kAhead < size_t(outputIndex.size())) {
      const size_t a = size_t(k) + kAhead;
      for (uint32_t i = lists.start[a]; i < lists.start[a + 1]; ++i)
        __builtin_prefetch(eventIndex.name(lists.items[size_t(i)]).data());
    }
    once.clear();
    for (uint32_t i = lists.start[size_t(k)]; i < lists.start[size_t(k) + 1]; ++i) {
      const int e = lists.items[size_t(i)];
      if (listed[size_t(e)] == k + 1) continue;
      listed[size_t(e)] = k + 1;
      once.push_back(e);
    }
    out_->append(equation(outputIndex.name(k), once.data(), once.data() + once.size(),
                          [&](int e) { return eventIndex.name(e); }));
  }
}
