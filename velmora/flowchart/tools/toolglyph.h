#pragma once
// The images of the flowchart tools: each placing tool shows the cells one click with it
// places, drawn by the same painter as the grid (the start and end vertices with the line that
// leaves or enters them, so that the two tell apart); the delete tool shows an empty cell
// crossed out.
#include <QIcon>

#include "velmora/flowchart/core/gsagrid.h"
#include "velmora/flowchart/paint/gsapaint.h"

class QPainter;
class QRectF;

namespace velmora {

namespace gsa {

// What one click with a placing tool leaves on an empty grid, as a one-column grid: the
// clicked cell and, for the splitter and the connector, the cell below it; one empty cell for
// the delete tool.
GsaGridList placedCells(GsaTool tool);

// Draws the tool's image into a square (device pixels): the placed cells at the grid's
// starting size, scaled to fit and centred.
void paintToolGlyph(QPainter& painter, const QRectF& square, GsaTool tool);

QIcon toolIcon(GsaTool tool);

}  // namespace gsa

}  // namespace velmora
