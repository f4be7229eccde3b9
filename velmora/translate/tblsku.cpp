#include "velmora/translate/tblsku.h"

#include <QHash>
#include <QVarLengthArray>

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

// Items joined by '|' as they come, the text grown in place.
struct Joined {
  QString text;
  bool any = false;
  void add(const QString& item) {
    if (any) text += QLatin1Char('|');
    text += item;
    any = true;
  }
};

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
  targets_.clear();
  outputs_.clear();
  hasOutputs_ = false;
  NameTable targetIndex, outputIndex;
  for (const TableRow& r : table_.rows)
    if (!r.sj.isEmpty() && HasContent(r.sj)) ForEachName(r.sj, [&](QStringView n) { targetIndex.add(n); });
  for (const TableRow& r : table_.rows)
    if (!r.y.isEmpty() && HasContent(r.y))
      ForEachName(r.y, [&](QStringView n) {
        hasOutputs_ = true;
        outputIndex.add(n);
      });
  targets_ = targetIndex.names();
  outputs_ = outputIndex.names();

  // Each target collects its terms in row order. The source of a row is the last source
  // cell at or above it; rows above the first source cell have none (for every target
  // alike, not what the previous target's pass left over).
  std::vector<Joined> terms(size_t(targets_.size()));
  QString source;
  for (const TableRow& r : table_.rows) {
    if (!r.si.isEmpty() && HasContent(r.si)) source = NormalizeTerm(r.si, QLatin1Char('*'));
    QVarLengthArray<int, 4> done;  // one term per row even when the cell names the target twice
    QString term;
    ForEachName(r.sj, [&](QStringView n) {
      const int k = targetIndex.find(n);
      if (k < 0 || done.contains(k)) return;
      done.append(k);
      if (term.isNull()) {
        term = source;
        const QString c = NormalizeTerm(r.x, QLatin1Char('*'));
        if (c != QLatin1String("1")) term += QLatin1Char('*') + c;
      }
      terms[size_t(k)].add(term);
    });
  }
  out_->reserve(out_->size() + targets_.size() + outputs_.size() + 2);
  for (int k = 0; k < targets_.size(); ++k)
    out_->append(targets_[k] + QLatin1Char('=') + terms[size_t(k)].text + QLatin1Char(';'));
  targets_.clear();

  if (!hasOutputs_) return;
  out_->append(QStringLiteral("svf:"));
  // Only rows with their own source cell give an output its events, each event once.
  NameTable eventIndex;
  PairSet seen;
  std::vector<Joined> events(size_t(outputs_.size()));
  for (const TableRow& r : table_.rows) {
    if (r.si.isEmpty() || !HasContent(r.si)) continue;
    QVarLengthArray<int, 4> done;
    ForEachName(r.y, [&](QStringView y) {
      const int k = outputIndex.find(y);
      if (k < 0 || done.contains(k)) return;
      done.append(k);
      ForEachName(r.si, [&](QStringView e) {
        const int id = eventIndex.add(e);
        if (seen.insert(uint32_t(k), uint32_t(id))) events[size_t(k)].add(eventIndex.names().at(id));
      });
    });
  }
  for (int k = 0; k < outputs_.size(); ++k)
    out_->append(outputs_[k] + QLatin1Char('=') + events[size_t(k)].text + QLatin1Char(';'));
}
