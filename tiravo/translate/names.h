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
    case 'X':
    case 'e':
    case 'x':
    case 'z': return true;
    default: return false;
  }
}
// A factor that names an event (not a signal).
inline bool isEvent(QStringView factor) {
  return !factor.isEmpty() && !isSignalLetter(factor.at(0)) && factor.at(0) != QLatin1Char('Z');
}
// A set of ASCII characters, made from a literal at compile time where the call is inlined.
struct AsciiSet {
  quint64 low = 0, high = 0;
  constexpr AsciiSet(const char* chars) {  // NOLINT: made from literals on purpose
    for (; *chars; ++chars) {
      const unsigned c = static_cast<unsigned char>(*chars);
      if (c < 64)
        low |= quint64(1) << c;
      else if (c < 128)
        high |= quint64(1) << (c - 64);
    }
  }
  constexpr bool has(QChar c) const {
    const ushort u = c.unicode();
    return u < 64 ? (low >> u & 1) != 0 : u < 128 && (high >> (u - 64) & 1) != 0;
  }
};
// The character is one of the set (never the null character).
inline bool in(QChar c, const AsciiSet& set) { return c.unicode() != 0 && set.has(c); }
// A set written in place, made once at compile time: in(c, TIRAVO_SET("*|")).
#define TIRAVO_SET(chars)                                \
  ([]() -> const ::tiravo::names::AsciiSet& {            \
    static constexpr ::tiravo::names::AsciiSet s(chars); \
    return s;                                            \
  }())

// A name as a hash key without a copy: a view of text that outlives the table it is in.
// Qt's own string hash is keyed against flooding and costs several times more than this one;
// the names of a document are not chosen against the program.
struct NameKey {
  QStringView text;
  bool operator==(const NameKey& o) const { return text == o.text; }
};
inline size_t qHash(const NameKey& k, size_t seed = 0) {
  quint64 h = 0xcbf29ce484222325ull ^ seed;
  for (QChar c : k.text) h = (h ^ c.unicode()) * 0x100000001b3ull;
  return size_t(h ^ (h >> 29));
}

// Characters a text may not hold at all: control characters and those without a 1251 code.
bool isUnwritableOutsideAscii(QChar c);
inline bool isUnwritable(QChar c) {
  const ushort u = c.unicode();
  return (u >= 0x20 && u < 0x7F) ? false : isUnwritableOutsideAscii(c);
}

// Calls f with each piece of text between the `sep` outside round brackets and braces; the
// views point into text.
template <typename F>
void forEachTop(QStringView text, QChar sep, F f) {
  int depth = 0;
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('(') || c == QLatin1Char('{'))
      ++depth;
    else if (c == QLatin1Char(')') || c == QLatin1Char('}'))
      --depth;
    else if (c == sep && depth == 0) {
      f(text.mid(from, i - from));
      from = i + 1;
    }
  }
  f(text.mid(from));
}

// Splits at `sep` outside round brackets and braces.
QStringList splitTop(const QString& text, QChar sep);

// The names of a cell joined by '&' (the table's convention for several names).
QStringList cellNames(const QString& cell);

}  // namespace tiravo::names
