#include "tiravo/translate/tablesku.h"

namespace tiravo {

bool hasContent(const QString& text) {
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('0')) return true;
  return false;
}

QStringList splitNames(const QString& text) {
  QStringList names;
  QString cur;
  bool take = false;  // the character after a separator joins the next name untested
  for (QChar c : text) {
    if (!take && (c == QLatin1Char('|') || c == QLatin1Char('&'))) {
      names << cur;
      cur.clear();
      take = true;
      continue;
    }
    cur += c;
    take = false;
  }
  if (!take) names << cur;
  return names;
}

QString normalizeTerm(const QString& text, QChar op) {
  QString out;
  for (QChar c : text) {
    if (c == QLatin1Char(' ')) continue;
    out += (c == QLatin1Char('&') || c == QLatin1Char('*')) ? op : c;
  }
  return out;
}

bool containsName(const QStringList& list, const QString& name) { return list.contains(name); }

QString tableSkuWarning() {
  return QStringLiteral("В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");
}

namespace {

// A condition "0" is no transition: its row has no target.
bool noTransition(const TableRow& r) { return r.x.trimmed() == QLatin1String("0"); }

}  // namespace

bool tableToSku(const TableData& table, QStringList* lines) {
  *lines << QStringLiteral("sku:");
  QStringList targets;
  for (const TableRow& r : table.rows)
    if (!noTransition(r) && hasContent(r.sj) && !targets.contains(r.sj)) targets << r.sj;

  QString source;  // carried from row to row and from one target to the next
  for (const QString& t : targets) {
    QString line = normalizeTerm(t, QLatin1Char('*')) + QLatin1Char('=');
    bool first = true;
    for (const TableRow& r : table.rows) {
      if (hasContent(r.si)) source = r.si;
      if (r.sj != t || noTransition(r)) continue;
      if (!first) line += QLatin1Char('|');
      first = false;
      line += normalizeTerm(source, QLatin1Char('*'));
      const QString c = normalizeTerm(r.x, QLatin1Char('*'));
      if (c != QLatin1String("1")) line += QLatin1Char('*') + c;
    }
    *lines << line;
  }

  QStringList outputs;
  for (const TableRow& r : table.rows)
    if (hasContent(r.y))
      for (const QString& y : splitNames(r.y))
        if (!outputs.contains(y)) outputs << y;
  if (outputs.isEmpty()) return false;

  *lines << QStringLiteral("svf:");
  for (const QString& y : outputs) {
    QStringList sources;
    QString current;
    for (const TableRow& r : table.rows) {
      // A row that continues a source gives its outputs to that source.
      if (hasContent(r.si)) current = r.si;
      if (!hasContent(r.y) || !containsName(splitNames(r.y), y)) continue;
      for (const QString& s : splitNames(current))
        if (!sources.contains(s)) sources << s;
    }
    *lines << y + QLatin1Char('=') + sources.join(QLatin1Char('|'));
  }
  return true;
}

}  // namespace tiravo
