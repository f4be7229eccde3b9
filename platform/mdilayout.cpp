#include "platform/mdilayout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace docwin {
namespace {

// Moves `r` back inside `area` along one axis; it starts at the area's edge when it cannot fit.
int inside(int at, int length, int areaAt, int areaLength) {
  return std::max(areaAt, std::min(at, areaAt + areaLength - length));
}

// The bounds of a sub-window's frame: its own and those of the window it holds, with the frame
// around it (a window of fixed size keeps its sub-window at that size).
QSize frameExtra(const QMdiSubWindow* sub) {
  return sub->widget() ? sub->size() - sub->widget()->size() : QSize();
}

QSize leastSize(const QMdiSubWindow* sub) {
  QSize least = sub->minimumSize().expandedTo(sub->minimumSizeHint());
  if (const QWidget* w = sub->widget()) least = least.expandedTo(w->minimumSize() + frameExtra(sub));
  return least;
}

QSize mostSize(const QMdiSubWindow* sub) {
  QSize most = sub->maximumSize();
  if (const QWidget* w = sub->widget()) {
    const QSize extra = frameExtra(sub);
    if (w->maximumWidth() < QWIDGETSIZE_MAX)
      most.setWidth(std::min(most.width(), w->maximumWidth() + extra.width()));
    if (w->maximumHeight() < QWIDGETSIZE_MAX)
      most.setHeight(std::min(most.height(), w->maximumHeight() + extra.height()));
  }
  return most;
}

bool arranged(const QMdiSubWindow* sub) { return !sub->isHidden() && !sub->isMinimized(); }

}  // namespace

QRect placeNew(const QRect& area, QSize size, QSize minimum, const std::optional<QRect>& last, int step) {
  const QSize s = size.boundedTo(area.size()).expandedTo(minimum);
  if (last) {
    const QRect next(last->topLeft() + QPoint(step, step), s);
    if (area.contains(next)) return next;
  }
  return QRect(area.topLeft(), s);
}

QList<QRect> tiles(const QRect& area, int count) {
  QList<QRect> out;
  if (count <= 0) return out;
  const int columns = int(std::ceil(std::sqrt(double(count))));
  const int rows = (count + columns - 1) / columns;
  for (int row = 0; row < rows; ++row) {
    const int inRow = row == rows - 1 ? count - columns * (rows - 1) : columns;
    const int top = area.top() + row * area.height() / rows;
    const int bottom = area.top() + (row + 1) * area.height() / rows;
    for (int c = 0; c < inRow; ++c) {
      const int left = area.left() + c * area.width() / inRow;
      const int right = area.left() + (c + 1) * area.width() / inRow;
      out << QRect(left, top, right - left, bottom - top);
    }
  }
  return out;
}

QRect fitTile(const QRect& tile, const QRect& area, QSize minimum, QSize maximum) {
  const QSize s = tile.size().expandedTo(minimum).boundedTo(maximum);
  return QRect(QPoint(inside(tile.left(), s.width(), area.left(), area.width()),
                      inside(tile.top(), s.height(), area.top(), area.height())),
               s);
}

void placeInArea(QMdiArea* area, QMdiSubWindow* sub) {
  if (sub->isMaximized() || sub->isMinimized()) return;
  std::optional<QRect> last;
  for (QMdiSubWindow* s : area->subWindowList(QMdiArea::CreationOrder))
    if (s != sub && arranged(s) && !s->isMaximized()) last = s->geometry();
  const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
  sub->setGeometry(placeNew(area->viewport()->rect(), sub->size(), leastSize(sub), last, step));
}

void tileArea(QMdiArea* area) {
  QList<QMdiSubWindow*> subs;
  for (QMdiSubWindow* s : area->subWindowList(QMdiArea::CreationOrder))
    if (arranged(s)) subs << s;
  for (QMdiSubWindow* s : subs)
    if (s->isMaximized()) s->showNormal();
  const QRect room = area->viewport()->rect();
  const QList<QRect> cells = tiles(room, int(subs.size()));
  for (int i = 0; i < subs.size(); ++i)
    subs[i]->setGeometry(fitTile(cells[i], room, leastSize(subs[i]), mostSize(subs[i])));
}

}  // namespace docwin
