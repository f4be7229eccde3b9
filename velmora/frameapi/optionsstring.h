#pragma once
// The program-wide defaults kept as one '&'-separated string (registry value "Options"):
// splitting it into values and building it back. No widgets here; the options dialog
// moves these values in and out of its controls.
#include <QString>
#include <QStringList>

namespace velmora {

struct OptionValues {
  QString letters =
      QStringLiteral("zxyss");              // abstract input, binary input, output, input event, output event
  QString fontSize = QStringLiteral("10");  // message font size, decimal
  QString rvasS0 = QStringLiteral("s0");    // initial event name of РВАС
  bool autoNum = true;                      // flowchart: automatic naming
  bool trackFig = true;                     // flowchart: tracking figures
  QString begName = QStringLiteral("s0"), begSignal = QStringLiteral("y0");
  QString endName = QStringLiteral("sk"), endSignal = QStringLiteral("yk");
  bool abstractStates = false, abstractInputs = false, abstractOutputs = false;
  int triggerType = 0;  // 0 Q, 1 T, 2 JK, 3 RS
  bool autoReg = true;  // fill the register list automatically

  bool operator==(const OptionValues& o) const;
  bool operator!=(const OptionValues& o) const { return !(*this == o); }
};

namespace optstr {

constexpr int FieldCount = 11;

// "zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1"
QString defaultString();

// True when every character is one of 0..9 (an empty text gives true).
bool IsNumber(const QString& text);

// Always FieldCount fields; empty fields are kept in place and missing ones are empty,
// so no field ever moves; fields past the eleventh are dropped.
QStringList split(const QString& options);

// Values of a stored string. Every field that is empty or malformed takes its default.
OptionValues parse(const QString& options);

// The string that parse() reads back to the same values.
QString build(const OptionValues& v);

}  // namespace optstr

}  // namespace velmora
