#pragma once
// What the flowchart editor's commands do to its document, without any window: a click with
// each tool, deletion with the partner cells and the exit labels, the one-level undo, adding a
// row and clearing; and when a pointer move must redraw the tool preview.
//
// Cells are addressed (col, row) as in GsaGridList. Every write goes through the grid's
// range-checked accessors, so a neighbour or partner outside the grid is never written.
#include <optional>

#include "velmora/flowchart/tools/blockask.h"
#include "velmora/flowchart/core/gsadocument.h"
#include "velmora/flowchart/paint/gsapaint.h"

namespace velmora {

namespace gsa {

// The tool a right click chooses after `tool`: tool-bar order, the delete tool wraps around.
GsaTool nextTool(GsaTool tool);
// The kind a link tool places (horizontal line to crossing); -1 for the other tools.
int linkKind(GsaTool tool);

class Editor {
 public:
  GsaDocument doc;
  bool modified = false;

  // A left click with `tool` on the cell. The undo copy is taken and the flowchart counts as
  // modified before anything else, also when a dialog is then cancelled.
  void apply(GsaTool tool, int col, int row, BlockAsker& asker);

  // One level: true when the grid went back to the copy (the copy is then used up).
  bool undo();
  bool undoAvailable() const { return undo_.has_value(); }
  // Appends an empty row (undoable); false at the largest grid.
  bool addRow();
  // Every cell empty, the counts kept (undoable).
  void clear();

 private:
  void saveUndo();
  void erase(int col, int row);
  void placeOperator(int col, int row, BlockAsker& asker);
  void placeCondition(int col, int row, BlockAsker& asker);
  void placeConnector(int col, int row, BlockAsker& asker);
  void placeSplitter(int col, int row);
  std::optional<GsaGridList> undo_;
};

// The pointer over the grid: which cell it was in, and whether the tool preview must be
// redrawn there.
class PointerTrack {
 public:
  // The pointer is over (col, row). True when the grid must be repainted and the preview drawn
  // there: the window is active, tracking is on, and the cell changed or a redraw was forced.
  bool moved(int col, int row, bool active, bool tracking);
  // The pointer left the grid: true when a preview is on the grid and must be erased.
  bool left();
  void forceRedraw() { force_ = true; }
  bool previewDrawn() const { return drawn_; }
  int lastCol() const { return col_; }
  int lastRow() const { return row_; }

 private:
  int col_ = 0, row_ = 0;
  bool force_ = false, drawn_ = false;
};

}  // namespace gsa

}  // namespace velmora
