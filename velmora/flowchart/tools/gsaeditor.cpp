#include "velmora/flowchart/tools/gsaeditor.h"

namespace velmora {

namespace gsa {

GsaTool nextTool(GsaTool tool) {
  const int count = static_cast<int>(GsaTool::Delete) + 1;
  return static_cast<GsaTool>((static_cast<int>(tool) + 1) % count);
}

int linkKind(GsaTool tool) {
  switch (tool) {
    case GsaTool::HorLine: return GsaKind::HorLine;
    case GsaTool::VertLine: return GsaKind::VertLine;
    case GsaTool::Corner1: return GsaKind::CornerRightDown;
    case GsaTool::Corner2: return GsaKind::CornerLeftDown;
    case GsaTool::Corner3: return GsaKind::CornerUpRight;
    case GsaTool::Corner4: return GsaKind::CornerUpLeft;
    case GsaTool::MergeLeft: return GsaKind::MergeLeft;
    case GsaTool::MergeRight: return GsaKind::MergeRight;
    case GsaTool::MergeBoth: return GsaKind::MergeBoth;
    case GsaTool::Crossing: return GsaKind::Crossing;
    default: return -1;
  }
}

void Editor::saveUndo() { undo_ = doc.grid; }

bool Editor::undo() {
  if (!undo_) return false;
  doc.grid = *undo_;
  undo_.reset();
  modified = true;
  return true;
}

bool Editor::addRow() {
  if (doc.grid.rowCount() >= GsaGridList::kMaxRows) return false;
  saveUndo();
  doc.grid.addRow();
  modified = true;
  return true;
}

void Editor::clear() {
  saveUndo();
  doc.grid.clear();
  modified = true;
}

void Editor::apply(GsaTool tool, int col, int row, BlockAsker& asker) {
  modified = true;
  saveUndo();
  GsaGridList& g = doc.grid;
  switch (tool) {
    case GsaTool::Delete: erase(col, row); break;
    case GsaTool::Operator: placeOperator(col, row, asker); break;
    case GsaTool::Condition: placeCondition(col, row, asker); break;
    case GsaTool::Start:
      g.setKind(col, row, GsaKind::Start);
      g.setText(col, row, doc.y0);
      break;
    case GsaTool::End:
      g.setKind(col, row, GsaKind::End);
      g.setText(col, row, doc.yk);
      break;
    case GsaTool::Splitter: placeSplitter(col, row); break;
    case GsaTool::Connector: placeConnector(col, row, asker); break;
    default: g.setKind(col, row, linkKind(tool)); break;  // a link keeps the cell's text
  }
}

void Editor::erase(int col, int row) {
  GsaGridList& g = doc.grid;
  if (g.hasKind(col, row, GsaKind::Condition)) {
    // The exits go with the condition; an exit without a transition never had a link.
    const int exits[3][2] = {{col - 1, row}, {col + 1, row}, {col, row + 1}};
    for (const auto& e : exits)
      if (g.text(e[0], e[1]) != GsaLabel::none()) g.setKind(e[0], e[1], GsaKind::Empty);
    for (const auto& e : exits) g.setText(e[0], e[1], QString());
  } else if (g.hasKind(col, row, GsaKind::Splitter) || g.hasKind(col, row, GsaKind::ConnectorInputs)) {
    g.setKind(col, row + 1, GsaKind::Empty);
  } else if (g.hasKind(col, row, GsaKind::SplitterLegs) || g.hasKind(col, row, GsaKind::Connector)) {
    g.setKind(col, row - 1, GsaKind::Empty);
  }
  g.setText(col, row, QString());
  g.setKind(col, row, GsaKind::Empty);
}

void Editor::placeOperator(int col, int row, BlockAsker& asker) {
  GsaGridList& g = doc.grid;
  QString text;
  if (g.hasKind(col, row, GsaKind::Operator)) text = g.text(col, row);
  if (!asker.askOperator(doc.userNaming, &text)) return;
  g.setText(col, row, text);
  g.setKind(col, row, GsaKind::Operator);
}

void Editor::placeCondition(int col, int row, BlockAsker& asker) {
  GsaGridList& g = doc.grid;
  ConditionBlock b;
  if (g.hasKind(col, row, GsaKind::Condition) && !g.text(col, row).isEmpty()) {
    b.text = g.text(col, row);
    // Only the two labels of a transition are shown again; anything else leaves the choice open.
    const auto label = [&g](int c, int r) {
      const QString t = g.text(c, r);
      return t == GsaLabel::zero() || t == GsaLabel::one() ? t : QString();
    };
    b.left = label(col - 1, row);
    b.right = label(col + 1, row);
    b.down = label(col, row + 1);
  }
  if (!asker.askCondition(&b)) return;
  g.setText(col, row, b.text);
  g.setText(col - 1, row, b.left);
  g.setText(col + 1, row, b.right);
  // The lower exit needs a row below it, and its link one more.
  if (row >= g.rowCount() - 2) g.addRow();
  g.setText(col, row + 1, b.down);
  if (b.left != GsaLabel::none()) g.setKind(col - 1, row, GsaKind::HorLine);
  if (b.right != GsaLabel::none()) g.setKind(col + 1, row, GsaKind::HorLine);
  if (b.down != GsaLabel::none()) g.setKind(col, row + 1, GsaKind::VertLine);
  g.setKind(col, row, GsaKind::Condition);
}

void Editor::placeSplitter(int col, int row) {
  GsaGridList& g = doc.grid;
  if (row == g.rowCount() - 1) g.addRow();
  g.setKind(col, row, GsaKind::Splitter);
  g.setKind(col, row + 1, GsaKind::SplitterLegs);
}

void Editor::placeConnector(int col, int row, BlockAsker& asker) {
  QString type = QStringLiteral("D");
  if (!asker.askConnector(&type)) return;
  GsaGridList& g = doc.grid;
  if (row == g.rowCount() - 1) g.addRow();
  g.setKind(col, row, GsaKind::ConnectorInputs);
  g.setKind(col, row + 1, GsaKind::Connector);
  g.setText(col, row + 1, type);
}

bool PointerTrack::moved(int col, int row, bool active, bool tracking) {
  bool repaint = false;
  if (active && tracking) {
    repaint = col != col_ || row != row_ || force_;
    force_ = false;
    drawn_ = true;
  }
  col_ = col;
  row_ = row;
  return repaint;
}

bool PointerTrack::left() {
  const bool was = drawn_;
  drawn_ = false;
  return was;
}

}  // namespace gsa

}  // namespace velmora
