#pragma once
// Turns fuzz bytes into settings and the lines of a text.
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "velmora/documents/formats/docsettings.h"

using namespace velmora;

namespace fuzzinput {

// The first byte may pick other letters, so the comparison with configured letters is
// exercised too; most inputs keep the default ones.
inline DocSettings settings(const uint8_t*& data, size_t& size) {
  DocSettings s;
  if (size > 0 && data[0] == 0xFF && size > 6) {
    s.InAbstr = QLatin1Char(char(data[1]));
    s.InDigit = QLatin1Char(char(data[2]));
    s.OutSgn = QLatin1Char(char(data[3]));
    s.InSob = QLatin1Char(char(data[4]));
    s.OutSob = QLatin1Char(char(data[5]));
    s.RvasS0 = QString(s.InSob) + QLatin1Char('0');
    data += 6;
    size -= 6;
  }
  return s;
}

inline QStringList lines(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  return textfile::splitLines(cp1251::decode(bytes));
}

}  // namespace fuzzinput
