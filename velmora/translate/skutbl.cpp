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

// A right side parsed into alternatives of products of factors, flat: a product is a run
// of factors, a group a run of products. The arrays are kept from one equation to the
// next, so that reading one allocates nothing once they have grown.
//
// Reading rules: empty factors are dropped; a name right after a group, or a group right
// after a name, is a further factor; a closing bracket without its opening one is ignored
// (the name goes on past it) and groups left open are closed at the end.
class RightSide {
 public:
  static constexpr int32_t kGroup = -1;
  struct Factor {
    int32_t name;  // the name's number, or kGroup
    uint32_t first, count;  // a group's alternatives in products()
  };
  struct Product {
    uint32_t first, count;  // its factors in factors()
  };

  // Reads text. Returns false when brackets nest deeper than maxDepth (the result is then
  // incomplete). The names are then numbered by numberNames().
  bool parse(QStringView text, int maxDepth);

  // The names read, in reading order.
  size_t nameCount() const { return names_.size(); }
  QStringView name(size_t j) const {
    const Name& n = names_[j];
    return (n.stripped ? QStringView(stripped_) : text_).mid(n.from, n.length);
  }
  // Gives each name's factor the number number(j) of name j, in reading order.
  template <typename Number>
  void numberNames(Number number) {
    ids_.resize(names_.size());
    for (size_t j = 0; j < names_.size(); ++j) ids_[j] = int32_t(number(j));
    for (Factor& f : factors_)
      if (f.name != kGroup) f.name = ids_[size_t(f.name)];
  }

  const std::vector<Factor>& factors() const { return factors_; }
  const std::vector<Product>& products() const { return products_; }
  // The alternatives of the whole right side.
  Product top() const { return top_; }

 private:
  struct Frame {
    ushort open;
    size_t products, factors;  // where its alternatives and its current product start
  };
  void endProduct() {
    const size_t from = frames_.back().factors;
    const Product p{uint32_t(factors_.size()), uint32_t(factorStack_.size() - from)};
    factors_.insert(factors_.end(), factorStack_.begin() + ptrdiff_t(from), factorStack_.end());
    factorStack_.resize(from);
    productStack_.push_back(p);
  }
  Product endSum() {
    const size_t from = frames_.back().products;
    const Product alts{uint32_t(products_.size()), uint32_t(productStack_.size() - from)};
    products_.insert(products_.end(), productStack_.begin() + ptrdiff_t(from), productStack_.end());
    productStack_.resize(from);
    return alts;
  }

  std::vector<Factor> factors_, factorStack_;
  std::vector<Product> products_, productStack_;
  std::vector<Frame> frames_;
  struct Name {
    qsizetype from, length;
    bool stripped;  // it lies in stripped_, not in the text
  };
  std::vector<qsizetype> strays_;
  std::vector<Name> names_;
  std::vector<int32_t> ids_;
  QStringView text_;
  QString stripped_;  // names that held stray brackets, without them
  Product top_{0, 0};
};

bool RightSide::parse(QStringView text, int maxDepth) {
  text_ = text;
  names_.clear();
  stripped_.resize(0);
  factors_.clear();
  products_.clear();
  factorStack_.clear();
  productStack_.clear();
  frames_.clear();
  frames_.push_back(Frame{0, 0, 0});
  // The name being read is text[nameStart, i) without the stray brackets inside it.
  qsizetype nameStart = 0, i = 0;
  strays_.clear();
  bool ok = true;
  const auto endName = [&] {
    if (i > nameStart) {
      Name name{nameStart, i - nameStart, false};
      if (!strays_.empty()) {
        name = Name{stripped_.size(), 0, true};
        qsizetype from = nameStart;
        for (qsizetype s : strays_) {
          stripped_.append(text.mid(from, s - from));
          from = s + 1;
        }
        stripped_.append(text.mid(from, i - from));
        name.length = stripped_.size() - name.from;
      }
      if (name.length > 0) {
        factorStack_.push_back(Factor{int32_t(names_.size()), 0, 0});
        names_.push_back(name);
      }
    }
    strays_.clear();
    nameStart = std::max(nameStart, i + 1);
  };
  const auto closeFrame = [&] {
    endName();
    endProduct();
    const Product alts = endSum();
    frames_.pop_back();
    factorStack_.push_back(Factor{kGroup, alts.first, alts.count});
  };
  const QChar* p = text.data();
  const qsizetype n = text.size();
  for (; i < n; ++i) {
    const ushort u = p[i].unicode();
    switch (u) {
      case '*':
        endName();
        break;
      case '|':
        endName();
        endProduct();
        break;
      case '(':
      case '{':
        endName();
        if (int(frames_.size()) > maxDepth) ok = false;  // the text is not read further
        else frames_.push_back(Frame{u, productStack_.size(), factorStack_.size()});
        break;
      case ')':
      case '}':
        if (frames_.size() > 1 && frames_.back().open == (u == ')' ? '(' : '{')) closeFrame();
        else strays_.push_back(i);
        break;
      default:
        break;
    }
    if (!ok) break;
  }
  while (frames_.size() > 1) closeFrame();
  endName();
  endProduct();
  top_ = endSum();
  return ok;
}

// Multiplies out the brackets of one term, the rightmost group first: the factors around
// the group (before it, then after it) are followed by each of the group's alternatives.
// Each plain product is handed to out as the numbers of its names, in order. The stack
// of products to do lies end to end in one array.
class Expander {
 public:
  template <typename Out>
  void run(const RightSide& rhs, RightSide::Product term, Out out) {
    const auto& factors = rhs.factors();
    const auto& products = rhs.products();
    names_.clear();
    for (uint32_t k = 0; k < term.count && names_.size() == k; ++k)
      if (factors[term.first + k].name != RightSide::kGroup)
        names_.push_back(uint32_t(factors[term.first + k].name));
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
        if (factors[current_[size_t(k)]].name == RightSide::kGroup) {
          g = k;
          break;
        }
      if (g < 0) {
        names_.clear();
        for (uint32_t f : current_) names_.push_back(uint32_t(factors[f].name));
        out(names_);
        continue;
      }
      const RightSide::Factor group = factors[current_[size_t(g)]];
      current_.erase(current_.begin() + g);
      for (uint32_t a = group.count; a-- > 0;) {
        const RightSide::Product alt = products[group.first + a];
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
    if (e.tail < 0) e.head = k;
    else items_[size_t(e.tail)].next = k;
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

void TSkuTbl::Convert() {
  const textscan::Sections sec = textscan::findSections(text_);
  read_.clear();
  ends_.clear();
  statements_.clear();
  listed_ = false;
  ends_.reserve(size_t(text_.size()));
  {
    qsizetype chars = 0;
    for (const QString& line : text_) chars += line.size();
    read_.reserve(chars);
  }
  textscan::StatementReader reader(&read_, &ends_);
  if (sec.skuFound)
    for (int i = sec.skuStart; i < sec.skuEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();
  skuCount_ = int(ends_.size());
  if (sec.svfFound)
    for (int i = sec.svfStart; i < sec.svfEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();
  const int statementCount = int(ends_.size());

  // The first signal of the text, in reading order, decides its kind; the conditions of
  // every row depend on it.
  abstract_ = false;
  for (int k = 0; k < skuCount_; ++k) {
    const QStringView st = statement(k);
    const qsizetype eq = st.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    bool nameStart = true, decided = false;
    for (QChar c : st.mid(eq + 1)) {
      if (textscan::isStructural(c)) {
        nameStart = true;
        continue;
      }
      if (nameStart) {
        const QChar lc = lowerAscii(c);
        if (lc == settings_.InAbstr || lc == settings_.InDigit) {
          abstract_ = lc == settings_.InAbstr;
          decided = true;
          break;
        }
      }
      nameStart = false;
    }
    if (decided) break;
  }

  // Every name of the text is numbered once, events and signals alike.
  enum Kind : uint8_t { kEvent, kAbstract, kBinary };
  Names names;
  std::vector<uint8_t> kinds;
  const auto addName = [&](QStringView name, uint64_t hash) {
    const int id = names.add(name, hash);
    if (size_t(id) == kinds.size()) {
      const QChar lc = lowerAscii(name.at(0));
      kinds.push_back(lc == settings_.InAbstr ? kAbstract : lc == settings_.InDigit ? kBinary : kEvent);
    }
    return id;
  };

  // The conditions, each text made once: "1", then each product of binary signals or
  // each abstract signal as it first appears.
  std::vector<QString> conditions{QStringLiteral("1")};
  KeyTable<uint32_t> conditionOf;
  std::vector<int> conditionOfAbstract;  // by name; 0 while not yet seen

  // Transitions are grouped by source-event set in the order the sets first appear; a
  // set is known by how many names it was written with and which events they are. A
  // group's first term gives its sources as written.
  struct Term {
    uint32_t group, target, condition;
  };
  std::vector<Term> terms;
  terms.reserve(size_t(skuCount_) * 2);
  KeyTable<uint32_t> groupOf;   // sets of several events (or none)
  std::vector<int> groupOfKey;  // by key of groupOf
  std::vector<int> groupOfEvent;  // the group of a set of one event, by event; -1 none yet
  std::vector<uint32_t> groupSources;   // the sources of every group, end to end
  std::vector<uint32_t> groupFirst{0};  // group k's sources: [groupFirst[k], groupFirst[k + 1])
  // The targets as written, end to end: each row gets a copy of its own, made as the rows
  // are written, so that whoever reads the rows in order reads their cells in order too.
  QString targetText;
  std::vector<qsizetype> targetEnds;
  targetText.reserve(read_.size());
  targetEnds.reserve(size_t(skuCount_));

  RightSide rhs;
  Expander expander;
  std::vector<uint32_t> sources, binary, key;
  std::vector<uint64_t> hashes;
  // The slots of the names of a statement read a little later are asked for in advance:
  // in a long text most look-ups would otherwise wait for memory one by one.
  const int kAhead = 2;
  const auto prefetchNames = [&](int k, int to) {
    if (k >= to) return;
    const QStringView st = statement(k);
    const QChar* p = st.data();
    qsizetype from = st.indexOf(QLatin1Char('=')) + 1;
    if (from <= 0) return;
    for (qsizetype i = from; i <= st.size(); ++i) {
      if (i < st.size() && !textscan::isStructural(p[i])) continue;
      if (i > from) names.prefetch(Names::hash(st.mid(from, i - from)));
      from = i + 1;
    }
  };
  for (int k = 0; k < skuCount_; ++k) {
    prefetchNames(k + kAhead, skuCount_);
    const QStringView st = statement(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    if (!rhs.parse(st.mid(eq + 1), vexo::kMaxNesting))
      throw VexoError(QStringLiteral("Слишком глубокая вложенность скобок в уравнении %1").arg(st));
    hashes.resize(rhs.nameCount());
    for (size_t j = 0; j < hashes.size(); ++j) {
      hashes[j] = Names::hash(rhs.name(j));
      names.prefetch(hashes[j]);
    }
    rhs.numberNames([&](size_t j) { return addName(rhs.name(j), hashes[j]); });
    const uint32_t target = uint32_t(targetEnds.size());
    for (QChar c : st.left(eq)) targetText.append(c == QLatin1Char('*') ? QLatin1Char('&') : c);
    targetEnds.push_back(targetText.size());
    qsizetype total = 0;  // names in all terms of the equation, multiplied out
    const RightSide::Product top = rhs.top();
    for (uint32_t t = 0; t < top.count; ++t) {
      expander.run(rhs, rhs.products()[top.first + t], [&](const std::vector<uint32_t>& term) {
        total += qsizetype(term.size());
        if (total > kMaxNames)
          throw VexoError(QStringLiteral("Уравнение %1 после раскрытия скобок дает слишком много "
                                         "дизъюнктивных членов")
                              .arg(st));
        sources.clear();
        binary.clear();
        int abstractName = -1;
        for (uint32_t id : term) {
          switch (kinds[id]) {
            case kAbstract:
              if (abstractName < 0) abstractName = int(id);
              break;
            case kBinary:
              binary.push_back(id);
              break;
            default:
              sources.push_back(id);
          }
        }
        uint32_t condition = 0;
        if (abstract_) {
          if (abstractName >= 0) {
            if (conditionOfAbstract.size() <= size_t(abstractName))
              conditionOfAbstract.resize(size_t(names.size()), 0);
            int& c = conditionOfAbstract[size_t(abstractName)];
            if (!c) {
              c = int(conditions.size());
              conditions.push_back(names.text(abstractName));
            }
            condition = uint32_t(c);
          }
        } else if (!binary.empty()) {
          bool added = false;
          const int c = conditionOf.add(binary.data(), binary.size(), &added);
          if (added) {
            QString text = names.text(int(binary[0]));
            for (size_t j = 1; j < binary.size(); ++j) {
              text += QLatin1Char('&');
              text += names.text(int(binary[j]));
            }
            conditions.push_back(std::move(text));
          }
          condition = uint32_t(c + 1);
        }
        // Most sets are one event: those are found by the event's number alone.
        const int newGroup = int(groupFirst.size()) - 1;
        bool added = false;
        int g;
        if (sources.size() == 1) {
          if (groupOfEvent.size() <= sources[0]) groupOfEvent.resize(size_t(names.size()), -1);
          int& known = groupOfEvent[sources[0]];
          added = known < 0;
          if (added) known = newGroup;
          g = known;
        } else {
          key.assign(1, uint32_t(sources.size()));
          key.insert(key.end(), sources.begin(), sources.end());
          std::sort(key.begin() + 1, key.end());
          key.erase(std::unique(key.begin() + 1, key.end()), key.end());
          const int k = groupOf.add(key.data(), key.size(), &added);
          if (added) groupOfKey.push_back(newGroup);
          g = groupOfKey[size_t(k)];
        }
        if (added) {
          groupSources.insert(groupSources.end(), sources.begin(), sources.end());
          groupFirst.push_back(uint32_t(groupSources.size()));
        }
        terms.push_back(Term{uint32_t(g), target, condition});
      });
    }
  }

  // The terms in group order, each group's terms in reading order: the rows are then
  // written from one array read straight through.
  const size_t groupCount = groupFirst.size() - 1;
  KeyedLists<Term> byGroup(groupCount, terms, [](const Term& t) { return t.group; }, [](const Term& t) { return t; });
  std::vector<Term>().swap(terms);
  const std::vector<uint32_t>& start = byGroup.start;

  out_->rows.clear();
  out_->rows.reserve(qsizetype(byGroup.items.size()) + (statementCount - skuCount_));
  out_->signalCoding = abstract_ ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  RowLists rowsOfEvent;  // rows whose si holds the event, by name
  rowsOfEvent.ensure(size_t(names.size()));
  for (size_t g = 0; g < groupCount; ++g) {
    const uint32_t* src = groupSources.data() + groupFirst[g];
    const size_t srcCount = groupFirst[g + 1] - groupFirst[g];
    const int at = int(out_->rows.size());
    for (size_t j = 0; j < srcCount; ++j)
      if (rowsOfEvent.last(src[j]) != at) rowsOfEvent.append(src[j], at);
    for (uint32_t k = start[g]; k < start[g + 1]; ++k) {
      const Term& t = byGroup.items[k];
      QString si;
      if (k == start[g] && srcCount > 0) {
        si = names.text(int(src[0]));
        for (size_t j = 1; j < srcCount; ++j) {
          si += QLatin1Char('&');
          si += names.text(int(src[j]));
        }
      }
      // Made in place: the shared texts are only referenced once more.
      const qsizetype from = t.target ? targetEnds[t.target - 1] : 0;
      out_->rows.emplaceBack(TableRow{std::move(si), QString(), conditions[t.condition],
                                      QString(targetText.constData() + from, targetEnds[t.target] - from)});
    }
  }

  // What only the rows needed is given back now, so that the outputs reuse its memory.
  std::vector<Term>().swap(byGroup.items);
  std::vector<uint32_t>().swap(byGroup.start);
  std::vector<uint32_t>().swap(groupSources);
  std::vector<uint32_t>().swap(groupFirst);
  std::vector<int>().swap(groupOfEvent);
  std::vector<qsizetype>().swap(targetEnds);
  QString().swap(targetText);

  // Outputs, in two steps: first which outputs each row gets, in reading order (an event
  // without a row gets an output-only row at once); then the cells, row by row, each made
  // at once.
  struct Put {
    uint32_t row, output;
  };
  std::vector<Put> puts;
  std::vector<QString> ys;  // by output function
  QString stripped;
  const QString zero = QStringLiteral("0");
  for (int k = skuCount_; k < statementCount; ++k) {
    prefetchNames(k + kAhead, statementCount);
    const QStringView st = statement(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    int end = eq;
    const int paren = int(st.indexOf(QLatin1Char('(')));
    if (paren >= 0 && paren < end) end = paren;
    const uint32_t output = uint32_t(ys.size());
    ys.push_back(st.left(end).toString());
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
      rowsOfEvent.ensure(size_t(id) + 1);
      if (rowsOfEvent.isEmpty(size_t(id))) {
        const int r = int(out_->rows.size());
        out_->rows.emplaceBack(TableRow{names.text(id), QString(), zero, zero});
        rowsOfEvent.append(size_t(id), r);
      }
      rowsOfEvent.forEach(size_t(id), [&](int r) { puts.push_back(Put{uint32_t(r), output}); });
    }
  }
  if (puts.empty()) return;

  // The outputs of each row in reading order.
  const size_t rowCount = size_t(out_->rows.size());
  const KeyedLists<uint32_t> byRow(rowCount, puts, [](const Put& p) { return p.row; }, [](const Put& p) { return p.output; });
  std::vector<Put>().swap(puts);
  const std::vector<uint32_t>& firstPut = byRow.start;

  // An output goes on a row once. A short cell is read to see whether it holds the output
  // already; once a cell grows long, the names it holds are kept as pairs (row, name)
  // instead, so that many outputs on one row do not make the cost grow with the square of
  // their number. A y holding '&' is never one of a cell's names, so it is always added.
  const qsizetype kShortCell = 64;
  NameTable outputs;
  PairSet onRow;
  std::vector<int> outputId(ys.size(), -1);  // a y's number in `outputs`, once needed
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
      const QString& y = ys[output];
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
    if (only >= 0) out_->rows[qsizetype(r)].y = ys[size_t(only)];
    else if (!cell.isEmpty()) out_->rows[qsizetype(r)].y = QString(cell.constData(), cell.size());
  }
}
