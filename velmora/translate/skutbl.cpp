#include "velmora/translate/skutbl.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <unordered_map>

#include "platform/errors.h"
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
  std::vector<textscan::Product> work;  // a stack; the last item is the next term in order
  work.push_back(term);
  while (!work.empty()) {
    textscan::Product p = std::move(work.back());
    work.pop_back();
    int g = -1;
    for (int k = int(p.size()) - 1; k >= 0; --k)
      if (!p[size_t(k)].isName()) {
        g = k;
        break;
      }
    if (g < 0) {
      Names names;
      for (const textscan::Factor& f : p) names << f.name;
      *total += names.size();
      out->append(names);
      if (*total > TSkuTbl::kMaxNames)
        throw VexoError(QStringLiteral("Уравнение %1 после раскрытия скобок дает слишком много "
                                       "дизъюнктивных членов")
                            .arg(eq));
      continue;
    }
    textscan::Product rest;
    for (int k = 0; k < int(p.size()); ++k)
      if (k != g) rest.push_back(p[size_t(k)]);
    const textscan::Sum& alts = p[size_t(g)].alts;
    for (auto it = alts.rbegin(); it != alts.rend(); ++it) {
      textscan::Product q = rest;
      q.insert(q.end(), it->begin(), it->end());
      work.push_back(std::move(q));
    }
  }
}

// The key under which two source sets are the same: as many names, each found in the other.
QString setKey(const Names& names) {
  Names distinct = names;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  return QString::number(names.size()) + QChar(1) + distinct.join(QChar(1));
}

// Hash tables of many string keys are node-based: the spans of a QHash regrow their
// blocks one by one and leave the heap full of freed blocks of every size.
struct StringHash {
  size_t operator()(const QString& s) const { return qHash(s); }
};

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

  // Rows, grouped by source-event set in the order the sets first appear.
  struct Row {
    QString target, condition;
  };
  struct Group {
    Names sources;
    QList<Row> rows;
  };
  QList<Group> groups;
  std::unordered_map<QString, int, StringHash> groupOf;
  qsizetype termCount = 0;
  for (const Equation& e : equations) termCount += e.terms.size();
  groups.reserve(termCount);
  groupOf.reserve(termCount);
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
      const QString key = setKey(sources);
      const auto found = groupOf.emplace(key, int(groups.size()));
      const int g = found.first->second;
      if (found.second) groups.append(Group{sources, {}});
      groups[g].rows.append(Row{e.target, condition});
    }
  }

  out_->rows.clear();
  out_->rows.reserve(termCount + (statements_.size() - skuCount_));
  out_->signalCoding = abstract_ ? QStringLiteral("Abstract") : QStringLiteral("Binary");
  std::unordered_map<QString, QList<int>, StringHash> rowsOfEvent;  // rows whose si holds the event
  rowsOfEvent.reserve(groups.size() + (statements_.size() - skuCount_));
  for (const Group& g : groups) {
    bool first = true;
    for (const Row& r : g.rows) {
      TableRow row;
      if (first) {
        row.si = g.sources.join(QLatin1Char('&'));
        QSet<QString> seen;
        for (const QString& n : g.sources)
          if (!seen.contains(n)) {
            seen.insert(n);
            rowsOfEvent[n].append(int(out_->rows.size()));
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
    const QStringList events = rhs.split(QLatin1Char('|'));
    for (const QString& e : events) {
      if (e.isEmpty()) continue;
      auto it = rowsOfEvent.find(e);
      if (it == rowsOfEvent.end()) {
        TableRow row;
        row.si = e;
        row.y = y;
        row.x = QStringLiteral("0");
        row.sj = QStringLiteral("0");
        out_->rows.append(row);
        rowsOfEvent[e].append(int(out_->rows.size()) - 1);
        continue;
      }
      for (int r : it->second) {
        QString& cell = out_->rows[r].y;
        if (hasNonBlank(cell)) {
          if (!cell.split(QLatin1Char('&')).contains(y)) cell += QLatin1Char('&') + y;
        } else {
          cell = y;
        }
      }
    }
  }
}
