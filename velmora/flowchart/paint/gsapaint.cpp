#include "velmora/flowchart/paint/gsapaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace velmora {

namespace {

// The measures of one cell; R and B lie on the first pixel past it.
struct Box {
  int L, T, R, B, w, h, cx, cy;
  explicit Box(const QRect& r)
      : L(r.left()),
        T(r.top()),
        R(r.left() + r.width()),
        B(r.top() + r.height()),
        w(r.width()),
        h(r.height()),
        cx(L + r.width() / 2),
        cy(T + r.height() / 2) {}
};

void polyline(QPainter& p, std::initializer_list<QPoint> points) {
  p.drawPolyline(QPolygon(QList<QPoint>(points)));
}

// The text with its top left corner at (x, y), as a canvas writes it.
void textAt(QPainter& p, int x, int y, const QString& text) {
  if (!text.isEmpty()) p.drawText(x, y + p.fontMetrics().ascent(), text);
}

// What a cell `width` pixels wide can show of a text: no glyph is narrower than a pixel, so a
// text centred in the cell shows no more than its middle `width` characters each way, one
// written from the left no more than its first ones, one ending at the right its last ones. A
// cell of megabytes then costs no more to measure and paint than a short one.
int fits(int width) { return qMax(width, 256); }
QString middleOf(const QString& t, int width) {
  const int n = fits(width);
  return t.size() <= 2 * n ? t : t.mid(t.size() / 2 - n, 2 * n);
}

void clippedText(QPainter& p, const QRect& cell, int x, int y, const QString& text) {
  p.save();
  p.setClipRect(cell, Qt::IntersectClip);
  textAt(p, x, y, text);
  p.restore();
}

int textWidth(QPainter& p, const QString& t) { return p.fontMetrics().horizontalAdvance(t); }
int textHeight(QPainter& p) { return p.fontMetrics().height(); }

void roundedBox(QPainter& p, const Box& b) {
  p.drawRoundedRect(QRect(b.L, b.T, b.w - 1, b.h - 1), 15, 15, Qt::AbsoluteSize);
}

void centredCaption(QPainter& p, const Box& b, const QString& caption) {
  textAt(p, b.cx - textWidth(p, caption) / 2 - 1, b.cy - textHeight(p) / 2, caption);
}

void rhombus(QPainter& p, const Box& b) {
  polyline(p, {{b.L, b.cy}, {b.cx, b.T}, {b.R, b.cy}, {b.cx, b.B}, {b.L, b.cy}});
}

// The line figures that drawing and preview share: kinds 10 to 15 and 21.
bool linkFigure(QPainter& p, const Box& b, int kind) {
  switch (kind) {
    case GsaKind::HorLine: p.drawLine(b.L, b.cy, b.R, b.cy); return true;
    case GsaKind::VertLine: p.drawLine(b.cx, b.T, b.cx, b.B); return true;
    case GsaKind::CornerRightDown: polyline(p, {{b.R, b.cy}, {b.cx, b.cy}, {b.cx, b.B}}); return true;
    case GsaKind::CornerLeftDown: polyline(p, {{b.L, b.cy}, {b.cx, b.cy}, {b.cx, b.B}}); return true;
    case GsaKind::CornerUpRight: polyline(p, {{b.cx, b.T}, {b.cx, b.cy}, {b.R, b.cy}}); return true;
    case GsaKind::CornerUpLeft: polyline(p, {{b.cx, b.T}, {b.cx, b.cy}, {b.L, b.cy}}); return true;
    case GsaKind::Crossing:
      p.drawLine(b.L, b.cy, b.cx - 5, b.cy);
      p.drawLine(b.cx + 5, b.cy, b.R, b.cy);
      p.drawLine(b.cx, b.T, b.cx, b.B);
      return true;
    default: return false;
  }
}

void connectorInputs(QPainter& p, const Box& b) {
  polyline(p, {{b.L, b.cy}, {b.L + b.w / 4, b.cy}, {b.L + b.w / 4, b.B}});
  p.drawLine(b.cx, b.T, b.cx, b.B);
  polyline(p, {{b.R, b.cy}, {b.R - b.w / 4, b.cy}, {b.R - b.w / 4, b.B}});
}

void conditionCell(QPainter& p, const QRect& cell, const Box& b, const GsaGridList& grid, int col, int row) {
  const QString t = middleOf(grid.text(col, row), b.w);
  clippedText(p, cell, b.cx - textWidth(p, t) / 2 - 1, b.cy - textHeight(p) / 2, t);
  const QString none = GsaLabel::none();
  const QString left = grid.text(col - 1, row).left(fits(b.w));
  const QString right = grid.text(col + 1, row).right(fits(b.w));
  const QString down = grid.text(col, row + 1).left(fits(b.w));
  if (left != none) textAt(p, b.L + 2, b.T + 2, left);
  if (right != none) textAt(p, b.R - textWidth(p, right) - 2, b.T + 2, right);
  if (down != none) textAt(p, b.R - b.w / 6, b.B - textHeight(p), down);
  rhombus(p, b);
}

}  // namespace

QSize gsaCellSize(int fontSize) { return QSize(10 * fontSize, 6 * fontSize); }

void paintGsaCell(QPainter& p, const QRect& rect, const GsaGridList& grid, int col, int row) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setBackgroundMode(Qt::TransparentMode);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::white);
  p.fillRect(rect, Qt::white);
  // Figures end on the first pixel past the cell (the grid line), never further.
  p.setClipRect(rect.adjusted(0, 0, 1, 1), Qt::IntersectClip);
  const Box b(rect);
  const QString t = middleOf(grid.text(col, row), b.w);
  const int kind = grid.kindCode(col, row);
  switch (kind) {
    case GsaKind::Operator:
      clippedText(p, rect, b.cx - textWidth(p, t) / 2 - 1, b.cy - textHeight(p) / 2, t);
      p.setBrush(Qt::NoBrush);
      p.drawRect(b.L, b.T, b.w - 1, b.h - 1);
      break;
    case GsaKind::Condition: conditionCell(p, rect, b, grid, col, row); break;
    case GsaKind::Start:
    case GsaKind::End:
      roundedBox(p, b);
      centredCaption(p, b, kind == GsaKind::Start ? QStringLiteral("Начало") : QStringLiteral("Конец"));
      break;
    case GsaKind::Splitter: polyline(p, {{b.cx, b.T}, {b.R, b.B}, {b.L, b.B}, {b.cx, b.T}}); break;
    case GsaKind::SplitterLegs:
      polyline(p, {{b.L + b.w / 4, b.T}, {b.L + b.w / 4, b.cy}, {b.L, b.cy}});
      p.drawLine(b.cx, b.T, b.cx, b.B);
      polyline(p, {{b.R - b.w / 4, b.T}, {b.R - b.w / 4, b.cy}, {b.R, b.cy}});
      break;
    case GsaKind::ConnectorInputs: connectorInputs(p, b); break;
    case GsaKind::Connector:
      clippedText(p, rect, b.cx - textWidth(p, t) / 2 - 1, b.cy - textHeight(p), t);
      polyline(p, {{b.L, b.T}, {b.R, b.T}, {b.cx, b.B}, {b.L, b.T}});
      break;
    case GsaKind::MergeLeft:
      p.drawLine(b.cx, b.T, b.cx, b.B);
      p.drawLine(b.L, b.cy, b.cx, b.cy);
      polyline(p, {{b.cx - 8, b.cy - 4}, {b.cx, b.cy}, {b.cx - 8, b.cy + 4}});
      break;
    case GsaKind::MergeRight:
      p.drawLine(b.cx, b.T, b.cx, b.B);
      p.drawLine(b.R, b.cy, b.cx, b.cy);
      polyline(p, {{b.cx + 8, b.cy - 4}, {b.cx, b.cy}, {b.cx + 8, b.cy + 4}});
      break;
    case GsaKind::MergeBoth:
      p.drawLine(b.cx, b.cy, b.cx, b.B);
      p.drawLine(b.L, b.cy, b.R, b.cy);
      polyline(p, {{b.cx - 10, b.cy - 4}, {b.cx - 2, b.cy}, {b.cx - 10, b.cy + 4}});
      polyline(p, {{b.cx + 10, b.cy - 4}, {b.cx + 2, b.cy}, {b.cx + 10, b.cy + 4}});
      break;
    case GsaKind::Empty: break;
    default:
      if (linkFigure(p, b, kind)) break;
      // An unknown kind (or one that is no number) is shown, never reported: a message on
      // every repaint would bury the user.
      p.setPen(QPen(QColor(255, 0, 0), 0));
      p.setBrush(QColor(255, 255, 0));
      p.drawRect(b.L, b.T, b.w - 1, b.h - 1);
      break;
  }
  p.restore();
}

void paintGsaPreview(QPainter& p, const QRect& rect, GsaTool tool) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const Box b(rect);
  // Frames are drawn with a brush, which the pen's mixing mode does not touch.
  if (tool == GsaTool::Operator || tool == GsaTool::Delete) {
    const QColor colour = tool == GsaTool::Operator ? QColor(192, 192, 192) : QColor(255, 0, 0);
    p.setPen(QPen(colour, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(b.L, b.T, b.w - 1, b.h - 1);
    p.restore();
    return;
  }
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  p.setPen(QPen(QColor(192, 192, 192), 0));
  p.setBrush(Qt::white);
  switch (tool) {
    case GsaTool::Start:
    case GsaTool::End: roundedBox(p, b); break;
    case GsaTool::Condition: rhombus(p, b); break;
    case GsaTool::Splitter:
      polyline(p, {{b.cx, b.T}, {b.R, b.B - 1}, {b.L, b.B - 1}, {b.cx, b.T}});
      polyline(p, {{b.L + b.w / 4, b.B}, {b.L + b.w / 4, b.B + b.h / 2}, {b.L, b.B + b.h / 2}});
      p.drawLine(b.cx, b.B, b.cx, b.B + b.h);
      polyline(p, {{b.R - b.w / 4, b.B}, {b.R - b.w / 4, b.B + b.h / 2}, {b.R, b.B + b.h / 2}});
      break;
    case GsaTool::Connector:
      connectorInputs(p, b);
      polyline(p, {{b.L, b.B - 1}, {b.R, b.B - 1}, {b.cx, b.B + b.h}, {b.L, b.B}});
      break;
    case GsaTool::HorLine: linkFigure(p, b, GsaKind::HorLine); break;
    case GsaTool::VertLine: linkFigure(p, b, GsaKind::VertLine); break;
    case GsaTool::Corner1: linkFigure(p, b, GsaKind::CornerRightDown); break;
    case GsaTool::Corner2: linkFigure(p, b, GsaKind::CornerLeftDown); break;
    case GsaTool::Corner3: linkFigure(p, b, GsaKind::CornerUpRight); break;
    case GsaTool::Corner4: linkFigure(p, b, GsaKind::CornerUpLeft); break;
    case GsaTool::MergeLeft:
    case GsaTool::MergeRight:
      p.drawLine(b.cx, b.T, b.cx, b.B);
      p.drawLine(tool == GsaTool::MergeLeft ? b.L : b.R, b.cy, b.cx, b.cy);
      break;
    case GsaTool::MergeBoth:
      p.drawLine(b.cx, b.cy, b.cx, b.B);
      p.drawLine(b.L, b.cy, b.R, b.cy);
      break;
    case GsaTool::Crossing: linkFigure(p, b, GsaKind::Crossing); break;
    default: break;
  }
  p.restore();
}

}  // namespace velmora
