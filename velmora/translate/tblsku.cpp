#include "velmora/translate/tblsku.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

TTblToSku::TTblToSku(const TableData& table, QStringList* out) : table_(table), out_(out) {}

QString TTblToSku::warningText() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

bool TTblToSku::HasContent(const QString& text) {
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('0')) return true;
  return false;
}

QStringList TTblToSku::SplitNames(const QString& text) {
  QStringList names;
  QString current;
  bool endedWithSeparator = false;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('|') || c == QLatin1Char('&')) {
      names << current;
      current.clear();
      endedWithSeparator = true;
      // The character after a separator always belongs to the next name.
      if (i + 1 < text.size()) {
        current += text.at(i + 1);
        ++i;
        endedWithSeparator = false;
      }
    } else {
      current += c;
      endedWithSeparator = false;
    }
  }
  if (!endedWithSeparator) names << current;
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

void TTblToSku::CollectNames() {
  QSet<QString> seenTargets, seenOutputs;
  for (const TableRow& r : table_.rows)
    if (!r.sj.isEmpty() && HasContent(r.sj))
      for (const QString& n : SplitNames(r.sj))
        if (!seenTargets.contains(n)) {
          seenTargets.insert(n);
          targets_ << n;
        }
  for (const TableRow& r : table_.rows)
    if (!r.y.isEmpty() && HasContent(r.y))
      for (const QString& n : SplitNames(r.y)) {
        hasOutputs_ = true;
        if (!seenOutputs.contains(n)) {
          seenOutputs.insert(n);
          outputs_ << n;
        }
      }
}

void TTblToSku::Convert() {
  out_->append(QStringLiteral("sku:"));
  targets_.clear();
  outputs_.clear();
  hasOutputs_ = false;
  CollectNames();

  // Each target collects its terms in row order. The source of a row is the last source
  // cell at or above it; rows above the first source cell have none (for every target
  // alike, not what the previous target's pass left over).
  QHash<QString, int> targetIndex;
  for (int k = 0; k < targets_.size(); ++k) targetIndex.insert(targets_[k], k);
  QList<QStringList> terms(targets_.size());
  QString source;
  for (const TableRow& r : table_.rows) {
    if (!r.si.isEmpty() && HasContent(r.si)) source = NormalizeTerm(r.si, QLatin1Char('*'));
    QVarLengthArray<int, 4> done;  // one term per row even when the cell names the target twice
    QString term;
    for (const QString& n : SplitNames(r.sj)) {
      const int k = targetIndex.value(n, -1);
      if (k < 0 || done.contains(k)) continue;
      done.append(k);
      if (term.isNull()) {
        term = source;
        const QString c = NormalizeTerm(r.x, QLatin1Char('*'));
        if (c != QLatin1String("1")) term += QLatin1Char('*') + c;
      }
      terms[k] << term;
    }
  }
  for (int k = 0; k < targets_.size(); ++k)
    out_->append(targets_[k] + QLatin1Char('=') + terms[k].join(QLatin1Char('|')) +
                 QLatin1Char(';'));
  targets_.clear();

  if (!hasOutputs_) return;
  out_->append(QStringLiteral("svf:"));
  // Only rows with their own source cell give an output its events.
  QHash<QString, int> outputIndex;
  for (int k = 0; k < outputs_.size(); ++k) outputIndex.insert(outputs_[k], k);
  QList<QStringList> events(outputs_.size());
  QList<QSet<QString>> eventSets(outputs_.size());
  for (const TableRow& r : table_.rows) {
    if (r.si.isEmpty() || !HasContent(r.si)) continue;
    QVarLengthArray<int, 4> done;
    for (const QString& y : SplitNames(r.y)) {
      const int k = outputIndex.value(y, -1);
      if (k < 0 || done.contains(k)) continue;
      done.append(k);
      for (const QString& e : SplitNames(r.si))
        if (!eventSets[k].contains(e)) {
          eventSets[k].insert(e);
          events[k] << e;
        }
    }
  }
  for (int k = 0; k < outputs_.size(); ++k)
    out_->append(outputs_[k] + QLatin1Char('=') + events[k].join(QLatin1Char('|')) +
                 QLatin1Char(';'));
}
