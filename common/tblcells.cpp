#include "common/tblcells.h"

namespace tblcells {

QStringList splitNames(QStringView text) {
  QStringList names;
  forEachName(text, [&names](QStringView name) { names << name.toString(); });
  return names;
}

void appendTerm(QString* out, QStringView text, QChar op) {
  const qsizetype at = out->size();
  out->resize(at + text.size());
  QChar* const begin = out->data();
  QChar* p = begin + at;
  for (QChar c : text) {
    if (c == QLatin1Char(' ')) continue;
    *p++ = (c == QLatin1Char('&') || c == QLatin1Char('*')) ? op : c;
  }
  out->truncate(p - begin);
}

QString normalizeTerm(QStringView text, QChar op) {
  QString s;
  appendTerm(&s, text, op);
  return s;
}

}  // namespace tblcells
