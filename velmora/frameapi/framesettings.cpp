#include "velmora/frameapi/framesettings.h"

#include <QStringList>

#include "velmora/frameapi/optionsstring.h"

namespace velmora {

namespace framesettings {

const char* const RegistryKey = "SOFTWARE\\Ostrel\\Vexo\\2.0";

StateValues parseState(const QString& state) {
  StateValues s;
  if (state == QLatin1String("max")) {
    s.maximized = true;
    return s;
  }
  QStringList parts = state.split(QLatin1Char('&'), Qt::KeepEmptyParts);
  parts.removeLast();  // only values closed by '&' count
  for (int k = 0; k < 4 && k < parts.size(); ++k) {
    bool ok = false;
    const int v = parts[k].toInt(&ok);
    if (ok) s.values[k] = v;
  }
  return s;
}

QString buildState(bool maximized, int height, int width, int left, int top) {
  if (maximized) return QStringLiteral("max");
  QString s;
  for (int v : {height, width, left, top}) s += QString::number(v) + QLatin1Char('&');
  return s;
}

PanelValues parsePanels(const QString& panels) {
  PanelValues p;
  if (panels.size() <= 7) return p;
  p.hasFlags = true;
  p.autoShow = panels[0] != QLatin1Char('0');
  for (int j = 0; j < BarCount; ++j) p.visible[j] = panels[j + 1] != QLatin1Char('0');
  if (panels.size() <= 9) return p;
  const QStringList parts = panels.mid(9).split(QLatin1Char(','), Qt::KeepEmptyParts);
  for (int k = 0; k < PositionCount && k < parts.size(); ++k) {
    const QString& t = parts[k];
    if (t.isEmpty() || !optstr::IsNumber(t)) continue;
    bool ok = false;
    const int v = t.toInt(&ok);
    if (ok) p.positions[k] = v;
  }
  return p;
}

QString buildPanels(bool autoShow, const std::array<bool, BarCount>& visible,
                    const std::array<int, PositionCount>& positions) {
  QString s = autoShow ? QStringLiteral("1") : QStringLiteral("0");
  for (bool v : visible) s += v ? QLatin1Char('1') : QLatin1Char('0');
  for (int v : positions) s += QLatin1Char(',') + QString::number(v);
  return s;
}

QString helpFileFor(const QString& rootDir) {
  if (rootDir.isEmpty()) return QString();
  QString f = rootDir;
  if (!f.endsWith(QLatin1Char('/')) && !f.endsWith(QLatin1Char('\\'))) f += QLatin1Char('/');
  return f + QStringLiteral("Vexo.hlp");
}

}  // namespace framesettings

}  // namespace velmora
