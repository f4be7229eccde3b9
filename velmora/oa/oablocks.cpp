#include "velmora/oa/oablocks.h"

namespace velmora {

namespace oa {

QString blockName(const QString& line) { return line.section(QLatin1Char('['), 0, 0); }

bool isHeading(const QString& name) {
  static const QStringList headings = {QStringLiteral("mux"), QStringLiteral("mux:"),
                                       QStringLiteral("register"), QStringLiteral("reg"),
                                       QStringLiteral("reg:")};
  return headings.contains(name);
}

}  // namespace oa

}  // namespace velmora
