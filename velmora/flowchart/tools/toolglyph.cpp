#include "velmora/flowchart/tools/toolglyph.h"

#include <QFont>
#include <QPainter>
#include <array>

#include "common/icons/glyphs.h"
#include "velmora/flowchart/tools/gsaeditor.h"

namespace velmora {

namespace gsa {

namespace {

// The grid's font size when a flowchart window opens.
constexpr int kFontSize = 6;

// Answers every question of a placement at once: an empty operator, a condition without
// transitions, a disjunctive connector.
class QuietAsker : public BlockAsker {
 public:
  bool askOperator(bool, QString*) override { return true; }
  bool askCondition(ConditionBlock* b) override {
    b->left = b->right = b->down = GsaLabel::none();
    return true;
  }
  bool askConnector(QString*) override { return true; }
};

// What the tool's image shows: the placed cells, and for the start and end vertices, which
// differ only by a caption too small to read on a bar, the line that leaves the start below it
// or enters the end from above, as they stand in every flowchart.
GsaGridList shownCells(GsaTool tool) {
  const GsaGridList placed = placedCells(tool);
  if (tool != GsaTool::Start && tool != GsaTool::End) return placed;
  GsaGridList out(2, 1);
  const int vertex = tool == GsaTool::Start ? 0 : 1;
  out.setKind(0, vertex, placed.cell(0, 0).kind);
  out.setText(0, vertex, placed.text(0, 0));
  out.setKind(0, 1 - vertex, GsaKind::VertLine);
  return out;
}

}  // namespace

GsaGridList placedCells(GsaTool tool) {
  if (tool == GsaTool::Delete) return GsaGridList(0, 1);
  Editor editor;
  editor.doc.grid = GsaGridList(3, 3);
  QuietAsker asker;
  editor.apply(tool, 1, 0, asker);
  const GsaGridList& g = editor.doc.grid;
  int rows = 0;
  while (rows < g.rowCount() && !g.hasKind(1, rows, GsaKind::Empty)) ++rows;
  GsaGridList out(rows, 1);
  for (int r = 0; r < rows; ++r) {
    out.setKind(0, r, g.cell(1, r).kind);
    out.setText(0, r, g.text(1, r));
  }
  return out;
}

void paintToolGlyph(QPainter& p, const QRectF& square, GsaTool tool) {
  const GsaGridList cells = shownCells(tool);
  const int rows = std::max(1, cells.rowCount());
  const QSize cell = gsaCellSize(kFontSize);
  const double k = std::min(square.width() / cell.width(), square.height() / (cell.height() * rows));
  p.save();
  p.translate(square.center());
  p.scale(k, k);
  p.translate(-cell.width() / 2.0, -cell.height() * rows / 2.0);
  QFont f = p.font();
  f.setPointSize(kFontSize);
  p.setFont(f);
  if (tool == GsaTool::Delete) {
    const GsaGridList empty(1, 1);
    paintGsaCell(p, QRect(QPoint(0, 0), cell), empty, 0, 0);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(204, 0, 0), std::max(2.0, 2.0 / k), Qt::SolidLine, Qt::RoundCap));
    const double m = cell.height() * 0.25;
    const QPointF c(cell.width() / 2.0, cell.height() / 2.0);
    p.drawLine(c + QPointF(-m, -m), c + QPointF(m, m));
    p.drawLine(c + QPointF(m, -m), c + QPointF(-m, m));
  } else {
    for (int r = 0; r < cells.rowCount(); ++r)
      paintGsaCell(p, QRect(QPoint(0, r * cell.height()), cell), cells, 0, r);
  }
  p.restore();
}

QIcon toolIcon(GsaTool tool) {
  static std::array<QIcon, size_t(GsaTool::Delete) + 1> made;
  QIcon& icon = made[size_t(tool)];
  if (icon.isNull())
    icon = glyphs::painted([tool](QPainter& p, const QRectF& r) { paintToolGlyph(p, r, tool); });
  return icon;
}

}  // namespace gsa

}  // namespace velmora
