#include "tiravo/translate/names.h"

#include "platform/cp1251.h"

namespace tiravo::names {

bool isUnwritableOutsideAscii(QChar c) {
  const ushort u = c.unicode();
  return u < 0x20 || (u >= 0x7F && u <= 0x9F) || cp1251::encodeChar(c) < 0;
}

QStringList splitTop(const QString& text, QChar sep) {
  QStringList parts;
  forEachTop(text, sep, [&](QStringView piece) { parts << piece.toString(); });
  return parts;
}

QStringList cellNames(const QString& cell) { return cell.split(QLatin1Char('&')); }

}  // namespace tiravo::names
