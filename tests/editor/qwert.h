#pragma once
// Letters q, w, e, r, t and the initial event "a0": settings no default could be mistaken for.
#include "velmora/documents/formats/docsettings.h"

using namespace velmora;

namespace edtest {

inline DocSettings qwert() {
  DocSettings s;
  s.kind = 1;
  s.InAbstr = QLatin1Char('q');
  s.InDigit = QLatin1Char('w');
  s.OutSgn = QLatin1Char('e');
  s.InSob = QLatin1Char('r');
  s.OutSob = QLatin1Char('t');
  s.RvasS0 = QStringLiteral("a0");
  return s;
}

}  // namespace edtest
