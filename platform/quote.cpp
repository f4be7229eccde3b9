#include "platform/quote.h"

namespace quote {

QString excerpt(QStringView text, int limit) {
  qsizetype n = qMin<qsizetype>(text.size(), qMax(1, limit));
  // A pair of surrogates is one character: it stays whole or goes whole.
  if (n < text.size() && n > 0 && text[n - 1].isHighSurrogate()) --n;
  QString out;
  out.reserve(n + 1);
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x20)
      out += QChar(char16_t(0x2400 + c));
    else if (c == 0x7F)
      out += QChar(char16_t(0x2421));
    else if (c >= 0x80 && c < 0xA0)
      out += QChar(char16_t(0xFFFD));
    else
      out += QChar(c);
  }
  if (n < text.size()) out += QChar(char16_t(0x2026));
  return out;
}

QString quoted(QStringView text, int limit) {
  return QLatin1Char('"') + excerpt(text, limit) + QLatin1Char('"');
}

}  // namespace quote
