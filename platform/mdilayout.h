#pragma once
// Where the document windows of both frames go in the MDI area. A new window cascades from the
// one placed before it and starts again at the top left when it would reach past the area; one
// larger than the area is shrunk to fit, or put at the top left when it cannot shrink. Tiling
// fills the area as it is and never asks the frame to grow.
#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

class QMdiArea;
class QMdiSubWindow;

namespace docwin {

// The frame of a new window of `size` (at least `minimum`) in `area`; `last` is the frame of the
// window placed before it, `step` the cascade's offset.
QRect placeNew(const QRect& area, QSize size, QSize minimum, const std::optional<QRect>& last, int step);
// `count` tiles covering `area`: rows of equal columns, the last row sharing its width among
// what is left.
QList<QRect> tiles(const QRect& area, int count);
// A window's frame in `tile`: the tile's size within [minimum, maximum] (a window that cannot
// shrink keeps its size), moved back inside `area` when it reaches past it.
QRect fitTile(const QRect& tile, const QRect& area, QSize minimum, QSize maximum);

// The same on a frame's MDI area: place a sub-window just added and shown; tile the windows that
// are neither hidden nor minimised (maximised ones are restored first).
void placeInArea(QMdiArea* area, QMdiSubWindow* sub);
void tileArea(QMdiArea* area);

}  // namespace docwin
