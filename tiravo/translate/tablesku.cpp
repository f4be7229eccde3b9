#include "tiravo/translate/tablesku.h"

#include <QHash>
#include <QSet>

#include <vector>

#include "common/tblcells.h"
#include "tiravo/translate/names.h"

namespace tiravo {

bool hasContent(const QString& text) { return tblcells::hasContent(text); }
QStringList splitNames(const QString& text) { return tblcells::splitNames(text); }
QString normalizeTerm(const QString& text, QChar op) { return tblcells::normalizeTerm(text, op); }
bool containsName(const QStringList& list, const QString& name) { return list.contains(name); }

QString tableSkuWarning() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

namespace {

// A condition "0" is no transition: its row has no target.
bool noTransition(const TableRow& r) { return r.x.trimmed() == QLatin1String("0"); }

// Numbers texts in order of first appearance; the views point into the table's cells.
class Numbering {
 public:
  // The number of text, a new one when it is new (then *added is set).
  int add(QStringView text, bool* added = nullptr) {
    const auto it = index_.constFind({text});
    if (added) *added = it == index_.constEnd();
    if (it != index_.constEnd()) return it.value();
    const int k = int(texts_.size());
    index_.insert({text}, k);
    texts_.push_back(text);
    return k;
  }
  int size() const { return int(texts_.size()); }
  QStringView text(int k) const { return texts_[size_t(k)]; }

 private:
  QHash<names::NameKey, int> index_;
  std::vector<QStringView> texts_;
};

// The equations of the "sku:" section: one per target, the whole sj text, in order of first
// appearance; a row gives a term to the target its sj text equals.
void writeEquations(const QList<TableRow>& rows, QStringList* lines) {
  Numbering targets;
  std::vector<QString> equations;
  // The source is carried from row to row, and from one target's pass over the rows to the
  // next: rows above the first source cell take, for every target after the first, the last
  // source cell of the table.
  QStringView last;
  for (const TableRow& r : rows)
    if (tblcells::hasContent(r.si)) last = r.si;
  QStringView source;
  for (const TableRow& r : rows) {
    if (tblcells::hasContent(r.si)) source = r.si;
    if (noTransition(r) || !tblcells::hasContent(r.sj)) continue;
    bool added = false;
    const int k = targets.add(r.sj, &added);
    if (added) {
      equations.emplace_back();
      tblcells::appendTerm(&equations.back(), r.sj);
      equations.back() += QLatin1Char('=');
    } else {
      equations[size_t(k)] += QLatin1Char('|');
    }
    QString& line = equations[size_t(k)];
    tblcells::appendTerm(&line, source.isNull() && k > 0 ? last : source);
    const qsizetype mark = line.size();
    line += QLatin1Char('*');
    tblcells::appendTerm(&line, r.x);
    if (line.size() == mark + 2 && line.at(mark + 1) == QLatin1Char('1')) line.truncate(mark);
  }
  for (QString& e : equations) *lines << std::move(e);
}

// The output functions of the "svf:" section: every output name of the y cells, in order of
// first appearance, with the events of the rows that carry it. Only a row with its own source
// cell gives events: a row that continues a source does not set an output at that source.
bool writeOutputs(const QList<TableRow>& rows, QStringList* lines) {
  Numbering outputs, events;
  std::vector<std::vector<int>> sources;  // per output, events in order of first listing
  QSet<quint64> listed;                   // (output, event) pairs already listed
  std::vector<int> rowOutputs, rowEvents;
  for (const TableRow& r : rows) {
    if (!tblcells::hasContent(r.y)) continue;
    rowOutputs.clear();
    tblcells::forEachName(r.y, [&](QStringView y) {
      bool added = false;
      const int k = outputs.add(y, &added);
      if (added) sources.emplace_back();
      rowOutputs.push_back(k);
    });
    if (!tblcells::hasContent(r.si)) continue;
    rowEvents.clear();
    tblcells::forEachName(r.si, [&](QStringView e) { rowEvents.push_back(events.add(e)); });
    for (int k : rowOutputs)
      for (int e : rowEvents)
        if (!listed.contains(quint64(k) << 32 | quint32(e))) {
          listed.insert(quint64(k) << 32 | quint32(e));
          sources[size_t(k)].push_back(e);
        }
  }
  if (outputs.size() == 0) return false;
  *lines << QStringLiteral("svf:");
  for (int k = 0; k < outputs.size(); ++k) {
    QString line = outputs.text(k).toString() + QLatin1Char('=');
    for (size_t i = 0; i < sources[size_t(k)].size(); ++i) {
      if (i > 0) line += QLatin1Char('|');
      line += events.text(sources[size_t(k)][i]);
    }
    *lines << line;
  }
  return true;
}

}  // namespace

bool tableToSku(const TableData& table, QStringList* lines) {
  *lines << QStringLiteral("sku:");
  writeEquations(table.rows, lines);
  return writeOutputs(table.rows, lines);
}

}  // namespace tiravo
