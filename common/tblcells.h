#pragma once
// Reading the cells of a transition table as both programs' table to СКУ converters do: a cell
// has content when it holds a character other than ' ' and '0'; several names in a cell are
// joined by '|' or '&'; a term is written without blanks, with '&' and '*' as one operator.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tblcells {

inline bool hasContent(QStringView text) {
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('0')) return true;
  return false;
}

// Calls f for each name of a cell, without copying any. The character after a separator
// always belongs to the next name ("a||b" is "a" and "|b"); a separator at the end closes the
// last name ("a&" is "a" alone).
template <typename F>
void forEachName(QStringView text, F f) {
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
    if (i + 1 < n) {
      start = i + 1;
      ++i;
      endedWithSeparator = false;
    }
  }
  if (!endedWithSeparator) f(QStringView(p + start, n - start));
}

QStringList splitNames(QStringView text);

// Appends text without blanks, '&' and '*' written as op.
void appendTerm(QString* out, QStringView text, QChar op = QLatin1Char('*'));
QString normalizeTerm(QStringView text, QChar op);

}  // namespace tblcells
