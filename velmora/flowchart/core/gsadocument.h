#pragma once
// One flowchart as its file stores it: the grid, the naming, tracking and event-moving
// flags, and the six names of the header.
#include <QString>

#include "velmora/flowchart/core/gsagrid.h"

namespace velmora {

struct GsaDocument {
  GsaGridList grid;
  bool userNaming = false;            // "USER": operator vertices carry the state name, s0(y1)
  bool trackFigures = true;           // "TRACK": preview the tool's figure under the pointer
  bool moveEvents = false;            // "MOVE": move events in the conversion
  QString y0 = QStringLiteral("y0");  // output signal of the start vertex
  QString yk = QStringLiteral("yk");  // output signal of the end vertex
  QString s0 = QStringLiteral("s0");  // state name of the start vertex
  QString sk = QStringLiteral("sk");  // state name of the end vertex
  QString eventLetter = QStringLiteral("s");
  QString outputLetter = QStringLiteral("y");

  bool operator==(const GsaDocument& o) const {
    return grid == o.grid && userNaming == o.userNaming && trackFigures == o.trackFigures &&
           moveEvents == o.moveEvents && y0 == o.y0 && yk == o.yk && s0 == o.s0 && sk == o.sk &&
           eventLetter == o.eventLetter && outputLetter == o.outputLetter;
  }
  bool operator!=(const GsaDocument& o) const { return !(*this == o); }
};

}  // namespace velmora
