#pragma once
// Drawing of flowchart cells and of the tool preview over a QPainter (no widgets).
//
// A cell rectangle gives L = left, T = top, R = L + width, B = T + height (R and B lie on the
// first pixel past the cell), cx = L + width/2, cy = T + height/2. Texts are measured with
// the painter's font.
#include <QRect>
#include <QSize>

#include "velmora/flowchart/core/gsagrid.h"

class QPainter;

namespace velmora {

// The tools of the frame's flowchart tool bar, in tool-bar order (the index of the frame's
// action in its list of flowchart actions).
enum class GsaTool {
  Start,
  End,
  Operator,
  Condition,
  Splitter,
  Connector,
  HorLine,
  VertLine,
  Corner1,  // right–down
  Corner2,  // left–down
  Corner3,  // up–right
  Corner4,  // up–left
  MergeLeft,
  MergeRight,
  MergeBoth,
  Crossing,
  Delete
};

// The cell size at a font size: 10 × size wide, 6 × size high (60 × 36 at size 6).
QSize gsaCellSize(int fontSize);

// Paints the cell (col, row) of the grid into rect: white background, then the figure of its
// kind; a kind that is not a known code (or not a number) gives a yellow box with a red
// border. A condition's exit labels come from its neighbours' texts.
void paintGsaCell(QPainter& painter, const QRect& rect, const GsaGridList& grid, int col, int row);

// The silver not-xor outline of the tool over the cell rect (the splitter and the connector
// reach into the cell below). The painter's pen, brush and composition mode are restored.
void paintGsaPreview(QPainter& painter, const QRect& rect, GsaTool tool);

}  // namespace velmora
