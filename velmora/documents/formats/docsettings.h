#pragma once
// The settings of one РВАС/СКУ document, copied by value into the checker and converters.
#include <QChar>
#include <QString>

namespace velmora {

struct DocSettings {
  unsigned char kind = 1;            // 0 РВАС, 1 СКУ, 2 flowchart (its record for the options dialog)
  QChar InAbstr = QLatin1Char('z');  // abstract input signal
  QChar InDigit = QLatin1Char('x');  // binary input signal
  QChar OutSgn = QLatin1Char('y');   // output signal
  QChar InSob = QLatin1Char('s');    // source event
  QChar OutSob = QLatin1Char('s');   // target event
  QString RvasS0 = QStringLiteral("s0");  // initial event of РВАС
  int fontSize = 8;                       // message list font size
};

}  // namespace velmora
