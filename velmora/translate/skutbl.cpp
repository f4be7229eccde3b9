#include "velmora/translate/skutbl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/nesting.h"
#include "platform/errors.h"
#include "velmora/translate/keyedlists.h"
#include "velmora/translate/keytable.h"
#include "velmora/translate/nametable.h"
#include "velmora/translate/textscan.h"
#include "platform/quote.h"

namespace velmora {

using textscan::lowerAscii;

namespace {

// The names of a text, numbered in order of first appearance and looked up from a view of
// the text; each name's QString is made only when a cell needs it.
class Names : public NameKeys {
 public:
  int add(QStringView name, uint64_t h) {
    bool added = false;
    const int k = NameKeys::add(name, h, &added);
    if (added) texts_.emplace_back();
    return k;
  }
  const QString& text(int k) {
    QString& t = texts_[size_t(k)];
    if (t.isNull()) t = name(k).toString();
    return t;
  }

 private:
  std::vector<QString> texts_;
};

// Multiplies out the brackets of one term, the rightmost group first: the factors around
// the group (before it, then after it) are followed by each of the group's alternatives.
// Each plain product is handed to out as the numbers of its names (ids, by factor), in
// order. The stack of products to do lies end to end in one array.
class Expander {
 public:
  template <typename Out>
  void run(const textscan::ParsedSum& rhs, const std::vector<int32_t>& ids, textscan::Range term, Out out) {
    names_.clear();
    for (uint32_t k = 0; k < term.count && names_.size() == k; ++k)
      if (rhs.factor(term.first + k).isName()) names_.push_back(uint32_t(ids[term.first + k]));
    if (names_.size() == term.count) {  // most terms have no group
      out(names_);
      return;
    }
    stack_.clear();
    ranges_.clear();
    for (uint32_t k = 0; k < term.count; ++k) stack_.push_back(term.first + k);
    ranges_.push_back(0);
    while (!ranges_.empty()) {
      const size_t from = ranges_.back();
      ranges_.pop_back();
      current_.assign(stack_.begin() + ptrdiff_t(from), stack_.end());
      stack_.resize(from);
      int g = -1;
      for (int k = int(current_.size()) - 1; k >= 0; --k)
        if (!rhs.factor(current_[size_t(k)]).isName()) {
          g = k;
          break;
        }
      if (g < 0) {
        names_.clear();
        for (uint32_t f : current_) names_.push_back(uint32_t(ids[f]));
        out(names_);
        continue;
      }
      const textscan::Range group = rhs.factor(current_[size_t(g)]).alts;
      current_.erase(current_.begin() + g);
      for (uint32_t a = group.count; a-- > 0;) {
        const textscan::Range alt = rhs.product(group.first + a);
        ranges_.push_back(stack_.size());
        stack_.insert(stack_.end(), current_.begin(), current_.end());
        for (uint32_t k = 0; k < alt.count; ++k) stack_.push_back(alt.first + k);
      }
    }
  }

 private:
  std::vector<uint32_t> stack_, current_, names_;
  std::vector<size_t> ranges_;
};

// Rows of several lists in one array, each list kept in the order of its appends.
class RowLists {
 public:
  void ensure(size_t lists) {
    if (ends_.size() < lists) ends_.resize(lists, Ends{-1, -1});
  }
  bool isEmpty(size_t list) const { return ends_[list].head < 0; }
  int last(size_t list) const { return ends_[list].tail < 0 ? -1 : items_[size_t(ends_[list].tail)].row; }
  void append(size_t list, int row) {
    const int k = int(items_.size());
    items_.push_back(Item{row, -1});
    Ends& e = ends_[list];
    if (e.tail < 0)
      e.head = k;
    else
      items_[size_t(e.tail)].next = k;
    e.tail = k;
  }
  template <typename F>
  void forEach(size_t list, F f) const {
    for (int k = ends_[list].head; k >= 0; k = items_[size_t(k)].next) f(items_[size_t(k)].row);
  }

 private:
  struct Item {
    int row, next;
  };
  struct Ends {
    int head, tail;
  };
  std::vector<Ends> ends_;
  std::vector<Item> items_;
};

// `cell` lists `name` among its names joined by '&'.
bool hasName(QStringView cell, QStringView name) {
  qsizetype from = 0;
  while (from <= cell.size()) {
    qsizetype to = cell.indexOf(QLatin1Char('&'), from);
    if (to < 0) to = cell.size();
    if (cell.mid(from, to - from) == name) return true;
    from = to + 1;
  }
  return false;
}

}  // namespace

TSkuTbl::TSkuTbl(const QStringList& sku, TableData* out, DocSettings s)
    : text_(sku), out_(out), settings_(s) {}

const QStringList& TSkuTbl::statements() const {
  if (!listed_) {
    statements_.clear();
    statements_.reserve(qsizetype(ends_.size()));
    for (int k = 0; k < int(ends_.size()); ++k) statements_.append(statement(k).toString());
    listed_ = true;
  }
  return statements_;
}

// The stages of the conversion, each with one job; the later ones read what the earlier
// ones found.
class SkuTblStages {
 public:
  SkuTblStages(const TSkuTbl& c, TableData* out) : c_(c), settings_(c.settings_), out_(out) {}

  bool firstSignalIsAbstract() const;
  void readEquations(bool abstract);
  void writeRows(bool abstract);
  void readOutputs();
  void writeOutputs();

 private:
  // The slots of the names of the statement this many ahead are asked for before its
  // turn: in a long text most look-ups would otherwise wait for memory one after another.
  // Two statements lie about one memory wait ahead; much further the slots could leave
  // the cache again before they are read.
  static constexpr int kAhead = 2;
  // The longest output cell read through to see whether it holds an output already: up to
  // two cache lines of text, about ten outputs. A longer one keeps its outputs as pairs
  // (row, output), so that many outputs on one row do not cost the square of their number.
  static constexpr qsizetype kShortCell = 64;

  enum Kind : uint8_t { kEvent, kAbstract, kBinary };
  struct Term {
    uint32_t group, target, condition;
  };
  struct Put {
    uint32_t row, output;
  };

  int addName(QStringView name, uint64_t hash);
  void prefetchNames(int k, int to);
  void readTerm(const std::vector<uint32_t>& term, bool abstract, uint32_t target, qsizetype* total,
                QStringView st);
  uint32_t conditionOf(bool abstract, int abstractName);
  int groupOf();

  const TSkuTbl& c_;
  const DocSettings& settings_;
  TableData* out_;

  // Every name of the text is numbered once, events and signals alike.
  Names names_;
  std::vector<uint8_t> kinds_;

  // The conditions, each text made once: "1", then each product of binary signals or
  // each abstract signal as it first appears.
  std::vector<QString> conditions_{QStringLiteral("1")};
  KeyTable<uint32_t> conditionOfBinary_;
  std::vector<int> conditionOfAbstract_;  // by name; 0 while not yet seen

  // Transitions are grouped by source-event set in the order the sets first appear; a
  // set is known by how many names it was written with and which events they are. A
  // group's first term gives its sources as written.
  std::vector<Term> terms_;
  KeyTable<uint32_t> groupOfSet_;        // sets of several events (or none)
  std::vector<int> groupOfKey_;          // by key of groupOfSet_
  std::vector<int> groupOfEvent_;        // the group of a set of one event, by event; -1 none yet
  std::vector<uint32_t> groupSources_;   // the sources of every group, end to end
  std::vector<uint32_t> groupFirst_{0};  // group k's sources: [groupFirst_[k], groupFirst_[k + 1])
  // The targets as written, end to end: each row gets a copy of its own, made as the rows
  // are written, so that whoever reads the rows in order reads their cells in order too.
  QString targetText_;
  std::vector<qsizetype> targetEnds_;
  // Scratch of one term.
  std::vector<uint32_t> sources_, binary_, key_;

  RowLists rowsOfEvent_;  // rows whose si holds the event, by name
  // The outputs: which output each row gets, in reading order, and the output functions.
  std::vector<Put> puts_;
  std::vector<QString> ys_;
};

int SkuTblStages::addName(QStringView name, uint64_t hash) {
  const int id = names_.add(name, hash);
  if (size_t(id) == kinds_.size()) {
    const QChar lc = lowerAscii(name.at(0));
    kinds_.push_back(lc == settings_.InAbstr ? kAbstract : lc == settings_.InDigit ? kBinary : kEvent);
  }
  return id;
}

void SkuTblStages::prefetchNames(int k, int to) {
  if (k >= to) return;
  const QStringView st = c_.statement(k);
  const QChar* p = st.data();
  qsizetype from = st.indexOf(QLatin1Char('=')) + 1;
  if (from <= 0) return;
  for (qsizetype i = from; i <= st.size(); ++i) {
    if (i < st.size() && !textscan::isStructural(p[i])) continue;
    if (i > from) names_.prefetch(Names::hash(st.mid(from, i - from)));
    from = i + 1;
  }
}

// The first signal of the text, in reading order, decides its kind; the conditions of
// every row depend on it.
bool SkuTblStages::firstSignalIsAbstract() const {
  for (int k = 0; k < c_.skuCount_; ++k) {
    const QStringView st = c_.statement(k);
    const qsizetype eq = st.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    bool nameStart = true;
    for (QChar c : st.mid(eq + 1)) {
      if (textscan::isStructural(c)) {
        nameStart = true;
        continue;
      }
      if (nameStart) {
        const QChar lc = lowerAscii(c);
        if (lc == settings_.InAbstr || lc == settings_.InDigit) return lc == settings_.InAbstr;
      }
      nameStart = false;
    }
  }
  return false;
}

// Every equation, its brackets multiplied out, becomes terms: a group of sources, a target
// and a condition each.
void SkuTblStages::readEquations(bool abstract) {
  terms_.reserve(size_t(c_.skuCount_) * 2);
  targetText_.reserve(c_.read_.size());
  targetEnds_.reserve(size_t(c_.skuCount_));
  textscan::ParsedSum rhs;
  Expander expander;
  std::vector<uint64_t> hashes;
  std::vector<int32_t> ids;  // the number of each name factor's name
  for (int k = 0; k < c_.skuCount_; ++k) {
    prefetchNames(k + kAhead, c_.skuCount_);
    const QStringView st = c_.statement(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    if (!rhs.parse(st.mid(eq + 1), vexo::kMaxNesting))
      throw VexoError(
          QStringLiteral("Слишком глубокая вложенность скобок в уравнении %1").arg(quote::excerpt(st)));
    const uint32_t factorCount = rhs.factorCount();
    hashes.resize(factorCount);
    for (uint32_t j = 0; j < factorCount; ++j) {
      if (!rhs.factor(j).isName()) continue;
      hashes[j] = Names::hash(rhs.factor(j).name);
      names_.prefetch(hashes[j]);
    }
    ids.assign(factorCount, -1);
    for (uint32_t j = 0; j < factorCount; ++j)
      if (rhs.factor(j).isName()) ids[j] = addName(rhs.factor(j).name, hashes[j]);
    const uint32_t target = uint32_t(targetEnds_.size());
    for (QChar c : st.left(eq)) targetText_.append(c == QLatin1Char('*') ? QLatin1Char('&') : c);
    targetEnds_.push_back(targetText_.size());
    qsizetype total = 0;  // names in all terms of the equation, multiplied out
    const textscan::Range top = rhs.top();
    for (uint32_t t = 0; t < top.count; ++t)
      expander.run(rhs, ids, rhs.product(top.first + t),
                   [&](const std::vector<uint32_t>& term) { readTerm(term, abstract, target, &total, st); });
  }
}

void SkuTblStages::readTerm(const std::vector<uint32_t>& term, bool abstract, uint32_t target,
                            qsizetype* total, QStringView st) {
  *total += qsizetype(term.size());
  if (*total > TSkuTbl::kMaxNames)
    throw VexoError(QStringLiteral("Уравнение %1 после раскрытия скобок дает слишком много "
                                   "дизъюнктивных членов")
                        .arg(quote::excerpt(st)));
  sources_.clear();
  binary_.clear();
  int abstractName = -1;
  for (uint32_t id : term) {
    switch (kinds_[id]) {
      case kAbstract:
        if (abstractName < 0) abstractName = int(id);
        break;
      case kBinary: binary_.push_back(id); break;
      default: sources_.push_back(id);
    }
  }
  const uint32_t condition = conditionOf(abstract, abstractName);
  terms_.push_back(Term{uint32_t(groupOf()), target, condition});
}

// The condition of the term just read: its first abstract signal, or the product of its
// binary signals; 0 ("1") when it has none.
uint32_t SkuTblStages::conditionOf(bool abstract, int abstractName) {
  if (abstract) {
    if (abstractName < 0) return 0;
    if (conditionOfAbstract_.size() <= size_t(abstractName))
      conditionOfAbstract_.resize(size_t(names_.size()), 0);
    int& c = conditionOfAbstract_[size_t(abstractName)];
    if (!c) {
      c = int(conditions_.size());
      conditions_.push_back(names_.text(abstractName));
    }
    return uint32_t(c);
  }
  if (binary_.empty()) return 0;
  bool added = false;
  const int c = conditionOfBinary_.add(binary_.data(), binary_.size(), &added);
  if (added) {
    QString text = names_.text(int(binary_[0]));
    for (size_t j = 1; j < binary_.size(); ++j) {
      text += QLatin1Char('&');
      text += names_.text(int(binary_[j]));
    }
    conditions_.push_back(std::move(text));
  }
  return uint32_t(c + 1);
}

// The group of the sources of the term just read, made when new.
int SkuTblStages::groupOf() {
  // Most sets are one event: those are found by the event's number alone.
  const int newGroup = int(groupFirst_.size()) - 1;
  bool added = false;
  int g;
  if (sources_.size() == 1) {
    if (groupOfEvent_.size() <= sources_[0]) groupOfEvent_.resize(size_t(names_.size()), -1);
    int& known = groupOfEvent_[sources_[0]];
    added = known < 0;
    if (added) known = newGroup;
    g = known;
  } else {
    key_.assign(1, uint32_t(sources_.size()));
    key_.insert(key_.end(), sources_.begin(), sources_.end());
    std::sort(key_.begin() + 1, key_.end());
    key_.erase(std::unique(key_.begin() + 1, key_.end()), key_.end());
    const int k = groupOfSet_.add(key_.data(), key_.size(), &added);
    if (added) groupOfKey_.push_back(newGroup);
    g = groupOfKey_[size_t(k)];
  }
  if (added) {
    groupSources_.insert(groupSources_.end(), sources_.begin(), sources_.end());
    groupFirst_.push_back(uint32_t(groupSources_.size()));
  }
  return g;
}

// The terms in group order, each group's terms in reading order: the rows are then
// written from one array read straight through.
void SkuTblStages::writeRows(bool abstract) {
  const size_t groupCount = groupFirst_.size() - 1;
  KeyedLists<Term> byGroup(
      groupCount, terms_, [](const Term& t) { return t.group; }, [](const Term& t) { return t; });
  std::vector<Term>().swap(terms_);
  const std::vector<uint32_t>& start = byGroup.start;

  out_->rows.clear();
  out_->rows.reserve(qsizetype(byGroup.items.size()) + (int(c_.ends_.size()) - c_.skuCount_));
  out_->signalCoding = abstract ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  rowsOfEvent_.ensure(size_t(names_.size()));
  for (size_t g = 0; g < groupCount; ++g) {
    const uint32_t* src = groupSources_.data() + groupFirst_[g];
    const size_t srcCount = groupFirst_[g + 1] - groupFirst_[g];
    const int at = int(out_->rows.size());
    for (size_t j = 0; j < srcCount; ++j)
      if (rowsOfEvent_.last(src[j]) != at) rowsOfEvent_.append(src[j], at);
    for (uint32_t k = start[g]; k < start[g + 1]; ++k) {
      const Term& t = byGroup.items[k];
      QString si;
      if (k == start[g] && srcCount > 0) {
        si = names_.text(int(src[0]));
        for (size_t j = 1; j < srcCount; ++j) {
          si += QLatin1Char('&');
          si += names_.text(int(src[j]));
        }
      }
      // Made in place: the shared texts are only referenced once more.
      const qsizetype from = t.target ? targetEnds_[t.target - 1] : 0;
      out_->rows.emplaceBack(TableRow{std::move(si), QString(), conditions_[t.condition],
                                      QString(targetText_.constData() + from, targetEnds_[t.target] - from)});
    }
  }

  // What only the rows needed is given back now, so that the outputs reuse its memory.
  std::vector<Term>().swap(byGroup.items);
  std::vector<uint32_t>().swap(byGroup.start);
  std::vector<uint32_t>().swap(groupSources_);
  std::vector<uint32_t>().swap(groupFirst_);
  std::vector<int>().swap(groupOfEvent_);
  std::vector<qsizetype>().swap(targetEnds_);
  QString().swap(targetText_);
}

// Which outputs each row gets, in reading order; an event without a row gets an
// output-only row at once.
void SkuTblStages::readOutputs() {
  QString stripped;
  const QString zero = QStringLiteral("0");
  const int statementCount = int(c_.ends_.size());
  for (int k = c_.skuCount_; k < statementCount; ++k) {
    prefetchNames(k + kAhead, statementCount);
    const QStringView st = c_.statement(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    int end = eq;
    const int paren = int(st.indexOf(QLatin1Char('(')));
    if (paren >= 0 && paren < end) end = paren;
    const uint32_t output = uint32_t(ys_.size());
    ys_.push_back(st.left(end).toString());
    // Brackets only group the alternatives here; they are not part of an event's name.
    const QStringView rhs = st.mid(eq + 1);
    qsizetype from = 0;
    while (from <= rhs.size()) {
      qsizetype to = rhs.indexOf(QLatin1Char('|'), from);
      if (to < 0) to = rhs.size();
      QStringView e = rhs.mid(from, to - from);
      from = to + 1;
      if (e.contains(QLatin1Char('(')) || e.contains(QLatin1Char(')'))) {
        stripped.clear();
        for (QChar c : e)
          if (c != QLatin1Char('(') && c != QLatin1Char(')')) stripped += c;
        e = stripped;
      }
      if (e.isEmpty()) continue;
      const int id = addName(e, Names::hash(e));
      rowsOfEvent_.ensure(size_t(id) + 1);
      if (rowsOfEvent_.isEmpty(size_t(id))) {
        const int r = int(out_->rows.size());
        out_->rows.emplaceBack(TableRow{names_.text(id), QString(), zero, zero});
        rowsOfEvent_.append(size_t(id), r);
      }
      rowsOfEvent_.forEach(size_t(id), [&](int r) { puts_.push_back(Put{uint32_t(r), output}); });
    }
  }
}

// The output cells, row by row, each made at once. An output goes on a row once. A short
// cell is read to see whether it holds the output already; a long one keeps the names it
// holds as pairs (row, name) instead. A y holding '&' is never one of a cell's names, so
// it is always added.
void SkuTblStages::writeOutputs() {
  if (puts_.empty()) return;
  const size_t rowCount = size_t(out_->rows.size());
  const KeyedLists<uint32_t> byRow(
      rowCount, puts_, [](const Put& p) { return p.row; }, [](const Put& p) { return p.output; });
  std::vector<Put>().swap(puts_);
  const std::vector<uint32_t>& firstPut = byRow.start;

  NameTable outputs;
  PairSet onRow;
  std::vector<int> outputId(ys_.size(), -1);  // a y's number in `outputs`, once needed
  QString cell;
  for (size_t r = 0; r < rowCount; ++r) {
    if (firstPut[r] == firstPut[r + 1]) continue;
    cell.resize(0);
    int only = -1;  // the cell is this y's text and nothing else
    bool paired = false;
    const auto pairAll = [&](QStringView text) {
      qsizetype from = 0;
      while (from <= text.size()) {
        qsizetype to = text.indexOf(QLatin1Char('&'), from);
        if (to < 0) to = text.size();
        onRow.insert(uint32_t(r), uint32_t(outputs.add(text.mid(from, to - from))));
        from = to + 1;
      }
      paired = true;
    };
    for (uint32_t k = firstPut[r]; k < firstPut[r + 1]; ++k) {
      const uint32_t output = byRow.items[k];
      const QString& y = ys_[output];
      if (cell.isEmpty()) {
        cell.append(y);
        only = int(output);
        if (cell.size() > kShortCell) pairAll(cell);
        continue;
      }
      const bool single = !y.contains(QLatin1Char('&'));
      if (paired) {
        if (single) {
          int& id = outputId[output];
          if (id < 0) id = outputs.add(y);
          if (!onRow.insert(uint32_t(r), uint32_t(id))) continue;
        }
      } else if (single && hasName(cell, y)) {
        continue;
      }
      cell.append(QLatin1Char('&'));
      cell.append(y);
      only = -1;
      if (paired) {
        if (!single) pairAll(y);
      } else if (cell.size() > kShortCell) {
        pairAll(cell);
      }
    }
    if (only >= 0)
      out_->rows[qsizetype(r)].y = ys_[size_t(only)];
    else if (!cell.isEmpty())
      out_->rows[qsizetype(r)].y = QString(cell.constData(), cell.size());
  }
}

// The statements of both sections, without blanks and comments, end to end.
void TSkuTbl::readStatements() {
  const textscan::Sections sec = textscan::findSections(text_);
  read_.clear();
  ends_.clear();
  statements_.clear();
  listed_ = false;
  ends_.reserve(size_t(text_.size()));
  qsizetype chars = 0;
  for (const QString& line : text_) chars += line.size();
  read_.reserve(chars);
  textscan::StatementReader reader(&read_, &ends_);
  if (sec.skuFound)
    for (int i = sec.skuStart; i < sec.skuEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();
  skuCount_ = int(ends_.size());
  if (sec.svfFound)
    for (int i = sec.svfStart; i < sec.svfEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();
}

void TSkuTbl::Convert() {
  readStatements();
  SkuTblStages stages(*this, out_);
  abstract_ = stages.firstSignalIsAbstract();
  stages.readEquations(abstract_);
  stages.writeRows(abstract_);
  stages.readOutputs();
  stages.writeOutputs();
}

}  // namespace velmora
