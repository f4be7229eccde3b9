#pragma once
// The flowchart → table command as the editor calls it: check, then (when the verdict lets
// it) convert into a new table window owned by the frame.
#include <QList>
#include <QString>
#include <QStringList>

#include "common/tabledata.h"
#include "velmora/flowchart/core/gsadocument.h"

namespace velmora {

class TFrame;
class TVexoTableForm;

struct GsaConversion {
  int verdict = 0;                  // TGSATbl::Check's verdict
  QStringList messages;             // "[col, row] text", for the editor's message pane
  QList<int> cols, rows;            // the position of each message
  TVexoTableForm* table = nullptr;  // the new window; nullptr when the check refused
  bool cutShort = false;            // the flowchart was too entangled to walk whole (the user was told)
};

// A new table window owned by the frame, recorded as its last table window, filled with the
// table and numbered (as a click on column 1, row 1).
TVexoTableForm* openGsaTable(const TableData& table, TFrame* frame = nullptr);

// Checks the flowchart and, for verdict 0, 9 or 10, converts it into openGsaTable's window.
// A table left incomplete (see TGSATbl::cutShort) is opened with a warning.
GsaConversion convertGsa(const GsaDocument& doc, TFrame* frame = nullptr);

}  // namespace velmora
