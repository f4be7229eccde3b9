#pragma once
// Character classes of Tiravo's texts: the signal letters are fixed ('z' abstract, 'x' binary
// and 'X' its inversion, 'e' a further signal); every other name is an event.
#include <QString>
#include <QStringList>

namespace tiravo::names {

inline bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
inline bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
// A letter that starts a positive name in a table cell: Latin a-z or a lower-case Cyrillic letter.
inline bool isLowerLetter(QChar c) {
  const ushort u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 0x0430 && u <= 0x044F) || u == 0x0451;
}
inline bool isSignalLetter(QChar c) {
  switch (c.unicode()) {
    case 'X': case 'e': case 'x': case 'z': return true;
    default: return false;
  }
}
// A factor that names an event (not a signal).
inline bool isEvent(const QString& factor) {
  return !factor.isEmpty() && !isSignalLetter(factor.at(0)) && factor.at(0) != QLatin1Char('Z');
}
// Characters a text may not hold at all: control characters and those without a 1251 code.
bool isUnwritable(QChar c);

// Splits at `sep` outside round brackets and braces.
QStringList splitTop(const QString& text, QChar sep);

// The names of a cell joined by '&' (the table's convention for several names).
QStringList cellNames(const QString& cell);

}  // namespace tiravo::names
