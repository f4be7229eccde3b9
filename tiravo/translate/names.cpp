#include "tiravo/translate/names.h"

#include "platform/cp1251.h"

namespace tiravo::names {

bool isUnwritableOutsideAscii(QChar c) {
  const ushort u = c.unicode();
  return u < 0x20 || (u >= 0x7F && u <= 0x9F) || cp1251::encodeChar(c) < 0;
}

QStringList splitTop(const QString& text, QChar sep) {
  QStringList parts;
  parts.reserve(4);
  int depth = 0, from = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('(') || c == QLatin1Char('{'))
      ++depth;
    else if (c == QLatin1Char(')') || c == QLatin1Char('}'))
      --depth;
    else if (c == sep && depth == 0) {
      parts << text.mid(from, i - from);
      from = i + 1;
    }
  }
  parts << text.mid(from);
  return parts;
}

QStringList cellNames(const QString& cell) { return cell.split(QLatin1Char('&')); }

}  // namespace tiravo::names
