#include "velmora/frameapi/optionsstring.h"

namespace velmora {

bool OptionValues::operator==(const OptionValues& o) const {
  return letters == o.letters && fontSize == o.fontSize && rvasS0 == o.rvasS0 && autoNum == o.autoNum &&
         trackFig == o.trackFig && begName == o.begName && begSignal == o.begSignal && endName == o.endName &&
         endSignal == o.endSignal && abstractStates == o.abstractStates &&
         abstractInputs == o.abstractInputs && abstractOutputs == o.abstractOutputs &&
         triggerType == o.triggerType && autoReg == o.autoReg;
}

namespace optstr {

QString defaultString() { return QStringLiteral("zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1"); }

bool IsNumber(const QString& text) {
  for (const QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

QStringList split(const QString& options) {
  QStringList fields = options.split(QLatin1Char('&'), Qt::KeepEmptyParts);
  while (fields.size() > FieldCount) fields.removeLast();
  while (fields.size() < FieldCount) fields.append(QString());
  return fields;
}

namespace {
QString orDefault(const QString& field, const QString& def) { return field.isEmpty() ? def : field; }
bool flag(QChar c) { return c != QLatin1Char('0'); }
}  // namespace

OptionValues parse(const QString& options) {
  OptionValues v;  // defaults
  if (options.isEmpty()) return v;
  const QStringList f = split(options);
  if (f[0].size() == 5) v.letters = f[0];
  if (!f[1].isEmpty() && IsNumber(f[1])) v.fontSize = f[1];
  v.rvasS0 = orDefault(f[2], v.rvasS0);
  if (f[3].size() == 2) {
    v.autoNum = flag(f[3][0]);
    v.trackFig = flag(f[3][1]);
  }
  v.begName = orDefault(f[4], v.begName);
  v.begSignal = orDefault(f[5], v.begSignal);
  v.endName = orDefault(f[6], v.endName);
  v.endSignal = orDefault(f[7], v.endSignal);
  if (f[8].size() == 4) {  // the first character is a constant and is not read
    v.abstractStates = flag(f[8][1]);
    v.abstractInputs = flag(f[8][2]);
    v.abstractOutputs = flag(f[8][3]);
  }
  if (!f[9].isEmpty() && f[9].size() <= 2 && IsNumber(f[9])) {
    const int t = f[9].toInt();
    if (t >= 0 && t <= 3) v.triggerType = t;
  }
  v.autoReg = f[10].isEmpty() || flag(f[10][0]);
  return v;
}

QString build(const OptionValues& v) {
  auto b = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
  const QChar amp = QLatin1Char('&');
  return v.letters + amp + v.fontSize + amp + v.rvasS0 + amp + b(v.autoNum) + b(v.trackFig) + amp +
         v.begName + amp + v.begSignal + amp + v.endName + amp + v.endSignal + amp + QStringLiteral("1") +
         b(v.abstractStates) + b(v.abstractInputs) + b(v.abstractOutputs) + amp +
         QString::number(v.triggerType) + amp + b(v.autoReg);
}

}  // namespace optstr

}  // namespace velmora
