#include "velmora/translate/tblsku.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/tblcells.h"
#include "platform/errors.h"
#include "velmora/translate/keyedlists.h"
#include "velmora/translate/keytable.h"

namespace velmora {

TTblToSku::TTblToSku(const TableData& table, QStringList* out) : table_(table), out_(out) {}

QString TTblToSku::warningText() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

namespace {

using tblcells::appendTerm;
using tblcells::forEachName;

// Tuning. Each value was set for the table benchmark of bench/translate (a long table, far
// larger than the caches) on the machines the programs are built for:
// - kSlotsAhead: names whose hash table slot is asked for early; a look-up costs less than
//   a row's work, so the slots are asked for twice as far ahead.
// - kBlock: names gathered before they are numbered together: 4096 references of 24 bytes
//   with their rows take about 100 KB and stay in a core's second-level cache meanwhile.
constexpr size_t kSlotsAhead = 16;
constexpr size_t kBlock = 4096;

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
    if (wide_)
      wideStarts_.resize(n * kColumns + 1);
    else
      starts_.resize(n * kColumns + 1);
    content_.resize(n);
    QChar* const base = text_.data();
    QChar* p = base;
    for (size_t i = 0; i < n; ++i) {
      const TableRow& r = rows[qsizetype(i)];
      const QString* cells[kColumns] = {&r.si, &r.y, &r.x, &r.sj};
      uint8_t content = 0;
      for (int c = 0; c < kColumns; ++c) {
        setStart(i * kColumns + size_t(c), p - base);
        const qsizetype size = cells[c]->size();
        std::copy_n(cells[c]->constData(), size, p);
        if (tblcells::hasContent(QStringView(p, size))) content |= uint8_t(1u << c);
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
  qsizetype chars() const { return text_.size(); }
  // The cell holds a character other than ' ' and '0'.
  bool hasContent(int row, Column c) const { return content_[size_t(row)] >> c & 1u; }

 private:
  QString text_;
  void setStart(size_t k, qsizetype at) {
    if (wide_)
      wideStarts_[k] = at;
    else
      starts_[k] = uint32_t(at);
  }
  bool wide_ = false;
  std::vector<uint32_t> starts_;  // cell c of row r: text_[starts_[4r + c], starts_[4r + c + 1])
  std::vector<qsizetype> wideStarts_;
  std::vector<uint8_t> content_;  // per row, a bit per column
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
    for (size_t j = 0; j < names.size(); ++j) {
      if (j + kSlotsAhead < names.size()) prefetch(names[j + kSlotsAhead].hash);
      bool added = false;
      number(j, add(names[j].name, names[j].hash, &added));
    }
  }
};

struct First {
  template <typename P>
  auto operator()(const P& p) const {
    return p.first;
  }
};
struct Second {
  template <typename P>
  auto operator()(const P& p) const {
    return p.second;
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

// Characters (or pairs of names) the text may take; see TTblToSku::kOutputPerChar.
class Budget {
 public:
  explicit Budget(qsizetype tableChars)
      : left_(std::max<qsizetype>(TTblToSku::kMinOutput, tableChars * TTblToSku::kOutputPerChar)) {}
  void charge(qsizetype n) {
    left_ -= n;
    if (left_ < 0) throw VexoError(QStringLiteral("Таблица дает слишком большой текст СКУ"));
  }

 private:
  qsizetype left_;
};

}  // namespace

bool TTblToSku::HasContent(const QString& text) { return tblcells::hasContent(text); }
QStringList TTblToSku::SplitNames(const QString& text) { return tblcells::splitNames(text); }
QString TTblToSku::NormalizeTerm(const QString& text, QChar op) { return tblcells::normalizeTerm(text, op); }

namespace {

// The names of one column (sj or y) of the cells with content, numbered in order of first
// appearance; each row keeps its own, each once (a cell may name the same target twice).
// Cells without content name nothing new, but their names may still be found among the
// others, so they are looked up once all are known.
class ColumnNames {
 public:
  ColumnNames(const Cells& cells, Cells::Column column) : cells_(cells), column_(column) {}
  void collect(int rowCount);
  // The names of a row: those collected, or those of a cell without content that stand
  // among the names found elsewhere.
  void namesOf(int row, std::vector<int>* looked);
  // The row's cell gave names of its own.
  bool listsAny(int row) const { return at_[size_t(row)] != at_[size_t(row) + 1]; }
  const Names& index() const { return index_; }

 private:
  const Cells& cells_;
  Cells::Column column_;
  Names index_;
  std::vector<int> at_;  // per row: offsets into ids_
  std::vector<int> ids_;
  std::vector<int> seen_;  // per name: last row + 1 that listed it (negative: looked up)
};

void ColumnNames::collect(int rowCount) {
  std::vector<Names::Ref> refs;
  std::vector<int> refRows;
  at_.reserve(size_t(rowCount) + 1);
  // The names are gathered and numbered a block at a time, so that the block stays in the
  // cache while its names are looked up.
  const auto flush = [&] {
    index_.addAll(refs, [&](size_t j, int k) {
      const int row = refRows[j];
      while (int(at_.size()) <= row) at_.push_back(int(ids_.size()));
      if (size_t(k) == seen_.size()) seen_.push_back(0);
      if (seen_[size_t(k)] == row + 1) return;
      seen_[size_t(k)] = row + 1;
      ids_.push_back(k);
    });
    refs.clear();
    refRows.clear();
  };
  for (int i = 0; i < rowCount; ++i) {
    if (!cells_.hasContent(i, column_)) continue;
    forEachName(cells_.cell(i, column_), [&](QStringView n) {
      refs.push_back(Names::ref(n));
      refRows.push_back(i);
    });
    if (refs.size() >= kBlock) flush();
  }
  flush();
  while (int(at_.size()) <= rowCount) at_.push_back(int(ids_.size()));
}

void ColumnNames::namesOf(int row, std::vector<int>* looked) {
  looked->clear();
  if (listsAny(row) || cells_.hasContent(row, column_)) {
    looked->assign(ids_.begin() + at_[size_t(row)], ids_.begin() + at_[size_t(row) + 1]);
    return;
  }
  forEachName(cells_.cell(row, column_), [&](QStringView n) {
    const int k = index_.find(n);
    if (k < 0 || seen_[size_t(k)] == -(row + 1)) return;
    seen_[size_t(k)] = -(row + 1);
    looked->push_back(k);
  });
}

// The "sku:" equations. Each target collects its terms in row order. The source of a row is
// the last source cell at or above it; rows above the first source cell have none (for every
// target alike, not what the previous target's pass left over). A row's term is made once
// into one text and only its place is kept.
void writeEquations(const Cells& cells, int rowCount, ColumnNames& targets, Budget& budget,
                    QStringList* out) {
  using Term = std::pair<qsizetype, qsizetype>;  // start and length in termText
  QString termText;
  {
    // Reserved at once from the cells' lengths: a long text copied at each growth would be
    // read and written again several times.
    qsizetype chars = 0, sourceChars = 0;
    for (int i = 0; i < rowCount; ++i) {
      if (cells.hasContent(i, Cells::kSi)) sourceChars = cells.cell(i, Cells::kSi).size();
      if (targets.listsAny(i) || !cells.hasContent(i, Cells::kSj))
        chars += sourceChars + 1 + cells.cell(i, Cells::kX).size();
    }
    termText.reserve(chars);
  }
  std::vector<std::pair<int, Term>> targetTerms;
  std::vector<int> looked;
  QString source;
  for (int i = 0; i < rowCount; ++i) {
    if (cells.hasContent(i, Cells::kSi)) {
      source.truncate(0);
      appendTerm(&source, cells.cell(i, Cells::kSi));
    }
    targets.namesOf(i, &looked);
    if (looked.empty()) continue;
    const qsizetype start = termText.size();
    termText += source;
    const qsizetype mark = termText.size();
    termText += QLatin1Char('*');
    appendTerm(&termText, cells.cell(i, Cells::kX));
    if (termText.size() == mark + 2 && termText.at(mark + 1) == QLatin1Char('1')) termText.truncate(mark);
    const Term term(start, termText.size() - start);
    budget.charge((term.second + 1) * qsizetype(looked.size()));
    for (int k : looked) targetTerms.emplace_back(k, term);
  }
  const Names& index = targets.index();
  for (int k = 0; k < index.size(); ++k) budget.charge(index.name(k).size() + 2);
  const KeyedLists<Term> terms(size_t(index.size()), targetTerms, First(), Second());
  const Term* const items = terms.items.data();
  for (int k = 0; k < index.size(); ++k) {
    out->append(equation(index.name(k), items + terms.start[size_t(k)], items + terms.start[size_t(k) + 1],
                         [&](const Term& t) { return QStringView(termText).mid(t.first, t.second); }));
  }
}

// The "svf:" output functions. Only rows with their own source cell give an output its
// events, each event once. First the outputs and source names of each row, then the events
// are numbered, then each output is given the events of its rows.
void writeOutputs(const Cells& cells, int rowCount, ColumnNames& outputs, Budget& budget, QStringList* out) {
  struct Span {
    uint32_t outputs, names;  // where the row's outputs and names end
  };
  std::vector<Span> spans;
  std::vector<int> rowOutputIds, events, looked;
  std::vector<Names::Ref> refs;
  std::vector<std::pair<int, int>> outputEvents;  // output, event
  Names eventIndex;
  const auto flush = [&] {
    events.resize(refs.size());
    eventIndex.addAll(refs, [&](size_t j, int k) { events[j] = k; });
    uint32_t o = 0, e = 0;
    for (const Span& s : spans) {
      // Every output of a row gets every event of its source: charged before the pairs are made.
      budget.charge(qsizetype(s.outputs - o) * qsizetype(s.names - e));
      for (; o < s.outputs; ++o)
        for (uint32_t n = e; n < s.names; ++n) outputEvents.emplace_back(rowOutputIds[o], events[n]);
      e = s.names;
    }
    spans.clear();
    rowOutputIds.clear();
    refs.clear();
  };
  for (int i = 0; i < rowCount; ++i) {
    if (!cells.hasContent(i, Cells::kSi)) continue;
    outputs.namesOf(i, &looked);
    if (looked.empty()) continue;
    rowOutputIds.insert(rowOutputIds.end(), looked.begin(), looked.end());
    forEachName(cells.cell(i, Cells::kSi), [&](QStringView e) { refs.push_back(Names::ref(e)); });
    spans.push_back(Span{uint32_t(rowOutputIds.size()), uint32_t(refs.size())});
    if (refs.size() >= kBlock || rowOutputIds.size() >= kBlock) flush();
  }
  flush();
  const Names& index = outputs.index();
  const KeyedLists<int> lists(size_t(index.size()), outputEvents, First(), Second());
  std::vector<int> listed(size_t(eventIndex.size()), 0);  // output + 1 that listed the event
  std::vector<int> once;
  for (int k = 0; k < index.size(); ++k) {
    once.clear();
    for (uint32_t i = lists.start[size_t(k)]; i < lists.start[size_t(k) + 1]; ++i) {
      const int e = lists.items[size_t(i)];
      if (listed[size_t(e)] == k + 1) continue;
      listed[size_t(e)] = k + 1;
      once.push_back(e);
    }
    out->append(equation(index.name(k), once.data(), once.data() + once.size(),
                         [&](int e) { return eventIndex.name(e); }));
  }
}

}  // namespace

void TTblToSku::Convert() {
  const Cells cells(table_.rows);
  const int rowCount = int(table_.rows.size());
  ColumnNames targets(cells, Cells::kSj), outputs(cells, Cells::kY);
  targets.collect(rowCount);
  outputs.collect(rowCount);
  hasOutputs_ = outputs.index().size() > 0;
  // Written aside: a refused table leaves the caller's lines as they were.
  QStringList lines;
  lines.reserve(targets.index().size() + outputs.index().size() + 2);
  lines.append(QStringLiteral("sku:"));
  Budget budget(cells.chars());
  writeEquations(cells, rowCount, targets, budget, &lines);
  if (hasOutputs_) {
    lines.append(QStringLiteral("svf:"));
    writeOutputs(cells, rowCount, outputs, budget, &lines);
  }
  if (out_->isEmpty())
    *out_ = std::move(lines);
  else
    out_->append(lines);
}

}  // namespace velmora
