#include "velmora/translate/skutbl.h"

#include <QHash>

#include <algorithm>
#include <unordered_map>

#include "platform/errors.h"
#include "velmora/translate/nametable.h"
#include "velmora/translate/textscan.h"

using textscan::lowerAscii;

namespace {

// One term after its brackets were multiplied out: a plain product of names.
using Names = QStringList;

// Multiplies out the brackets of one term, the rightmost group first: the factors
// around the group (before it, then after it) are followed by each of the group's
// alternatives. Other terms of the equation are not touched.
void expandTerm(const textscan::Product& term, QList<Names>* out, qsizetype* total,
                const QString& eq) {
  // Products are lists of the factors of the parsed term: taking a group apart copies
  // no group.
  using Factors = std::vector<const textscan::Factor*>;
  std::vector<Factors> work(1);  // a stack; the last item is the next term in order
  for (const textscan::Factor& f : term) work.back().push_back(&f);
  while (!work.empty()) {
    const Factors p = std::move(work.back());
    work.pop_back();
    int g = -1;
    for (int k = int(p.size()) - 1; k >= 0; --k)
      if (!p[size_t(k)]->isName()) {
        g = k;
        break;
      }
    if (g < 0) {
      Names names;
      names.reserve(qsizetype(p.size()));
      for (const textscan::Factor* f : p) names << f->name;
      *total += names.size();
      out->append(std::move(names));
      if (*total > TSkuTbl::kMaxNames)
        throw VexoError(QStringLiteral("Уравнение %1 после раскрытия скобок дает слишком много "
                                       "дизъюнктивных членов")
                            .arg(eq));
      continue;
    }
    Factors rest;
    rest.reserve(p.size());
    for (int k = 0; k < int(p.size()); ++k)
      if (k != g) rest.push_back(p[size_t(k)]);
    const textscan::Sum& alts = p[size_t(g)]->alts;
    for (auto it = alts.rbegin(); it != alts.rend(); ++it) {
      Factors q = rest;
      for (const textscan::Factor& f : *it) q.push_back(&f);
      work.push_back(std::move(q));
    }
  }
}

struct IdsHash {
  size_t operator()(const std::vector<uint32_t>& ids) const {
    size_t h = 0x9E3779B97F4A7C15ULL;
    for (uint32_t v : ids) h = (h ^ v) * 0xBF58476D1CE4E5B9ULL;
    return h ^ (h >> 31);
  }
};

// `cell` lists `name` among its names joined by '&'.
bool hasName(const QString& cell, const QString& name) {
  for (QStringView part : QStringView(cell).split(QLatin1Char('&')))
    if (part == name) return true;
  return false;
}

bool hasNonBlank(const QString& s) {
  for (QChar c : s)
    if (c != QLatin1Char(' ')) return true;
  return false;
}

}  // namespace

TSkuTbl::TSkuTbl(const QStringList& sku, TableData* out, DocSettings s)
    : text_(sku), out_(out), settings_(s) {}

void TSkuTbl::Convert() {
  const textscan::Sections sec = textscan::findSections(text_);
  statements_.clear();
  // Lists and tables are made at their size at once: growing many of them step by step
  // leaves the heap full of freed blocks of every size, and allocation slows down.
  statements_.reserve(text_.size());
  textscan::StatementReader reader(&statements_);
  if (sec.skuFound)
    for (int i = sec.skuStart; i < sec.skuEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();
  skuCount_ = int(statements_.size());
  if (sec.svfFound)
    for (int i = sec.svfStart; i < sec.svfEnd; ++i) reader.readLine(text_.at(i));
  reader.flush();

  // Equations: target and the terms of the right side, brackets multiplied out.
  struct Equation {
    QString target;
    QList<Names> terms;
  };
  QList<Equation> equations;
  equations.reserve(skuCount_);
  abstract_ = false;
  bool kindDecided = false;
  for (int k = 0; k < skuCount_; ++k) {
    const QString& st = statements_.at(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    Equation e;
    e.target = st.left(eq);
    e.target.replace(QLatin1Char('*'), QLatin1Char('&'));
    textscan::Sum sum;
    if (!textscan::parseSum(st.mid(eq + 1), &sum))
      throw VexoError(QStringLiteral("Слишком глубокая вложенность скобок в уравнении %1").arg(st));
    // The first signal of the text, in reading order, decides its kind.
    if (!kindDecided) {
      const QString rhs = st.mid(eq + 1);
      bool nameStart = true;
      for (QChar c : rhs) {
        if (textscan::isStructural(c)) {
          nameStart = true;
          continue;
        }
        if (nameStart) {
          const QChar lc = lowerAscii(c);
          if (lc == settings_.InAbstr || lc == settings_.InDigit) {
            abstract_ = lc == settings_.InAbstr;
            kindDecided = true;
            break;
          }
        }
        nameStart = false;
      }
    }
    qsizetype total = 0;
    for (const textscan::Product& term : sum) expandTerm(term, &e.terms, &total, st);
    equations.append(std::move(e));
  }

  // Rows, grouped by source-event set in the order the sets first appear. Events are
  // numbered once; a set is known by how many names it was written with and which
  // events they are.
  struct Row {
    QString target, condition;
  };
  struct Group {
    Names sources;
    std::vector<Row> rows;
  };
  std::vector<Group> groups;
  NameTable events;
  std::unordered_map<std::vector<uint32_t>, int, IdsHash> groupOf;
  qsizetype termCount = 0;
  for (const Equation& e : equations) termCount += e.terms.size();
  groups.reserve(size_t(termCount));
  groupOf.reserve(size_t(termCount));
  std::vector<uint32_t> key;
  for (const Equation& e : equations) {
    for (const Names& term : e.terms) {
      Names sources;
      QStringList conditions;
      QString abstractCondition;
      for (const QString& name : term) {
        const QChar lc = lowerAscii(name.at(0));
        if (lc == settings_.InAbstr) {
          if (abstractCondition.isEmpty()) abstractCondition = name;
        } else if (lc == settings_.InDigit) {
          conditions << name;
        } else {
          sources << name;
        }
      }
      QString condition = abstract_ ? abstractCondition : conditions.join(QLatin1Char('&'));
      if (condition.isEmpty()) condition = QStringLiteral("1");
      key.assign(1, uint32_t(sources.size()));
      for (const QString& n : sources) key.push_back(uint32_t(events.add(n)));
      std::sort(key.begin() + 1, key.end());
      key.erase(std::unique(key.begin() + 1, key.end()), key.end());
      const auto found = groupOf.emplace(key, int(groups.size()));
      const int g = found.first->second;
      if (found.second) groups.push_back(Group{sources, {}});
      groups[size_t(g)].rows.push_back(Row{e.target, condition});
    }
  }

  out_->rows.clear();
  out_->rows.reserve(termCount + (statements_.size() - skuCount_));
  out_->signalCoding = abstract_ ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  std::vector<QList<int>> rowsOfEvent(size_t(events.size()));  // rows whose si holds the event
  for (const Group& g : groups) {
    bool first = true;
    for (const Row& r : g.rows) {
      TableRow row;
      if (first) {
        row.si = g.sources.join(QLatin1Char('&'));
        const int at = int(out_->rows.size());
        for (const QString& n : g.sources) {
          QList<int>& rows = rowsOfEvent[size_t(events.find(n))];
          if (rows.isEmpty() || rows.last() != at) rows.append(at);
        }
      }
      row.x = r.condition;
      row.sj = r.target;
      out_->rows.append(std::move(row));
      first = false;
    }
  }

  // Outputs: each output signal goes on the rows of the events it names.
  for (int k = skuCount_; k < statements_.size(); ++k) {
    const QString& st = statements_.at(k);
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    int end = eq;
    const int paren = int(st.indexOf(QLatin1Char('(')));
    if (paren >= 0 && paren < end) end = paren;
    const QString y = st.left(end);
    // Brackets only group the alternatives here; they are not part of an event's name.
    QString rhs = st.mid(eq + 1);
    rhs.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    const QStringList names = rhs.split(QLatin1Char('|'));
    for (const QString& e : names) {
      if (e.isEmpty()) continue;
      const int id = events.add(e);
      if (size_t(id) >= rowsOfEvent.size()) rowsOfEvent.resize(size_t(id) + 1);
      if (rowsOfEvent[size_t(id)].isEmpty()) {
        TableRow row;
        row.si = e;
        row.y = y;
        row.x = QStringLiteral("0");
        row.sj = QStringLiteral("0");
        out_->rows.append(row);
        rowsOfEvent[size_t(id)].append(int(out_->rows.size()) - 1);
        continue;
      }
      for (int r : rowsOfEvent[size_t(id)]) {
        QString& cell = out_->rows[r].y;
        if (hasNonBlank(cell)) {
          if (!hasName(cell, y)) cell += QLatin1Char('&') + y;
        } else {
          cell = y;
        }
      }
    }
  }
}
