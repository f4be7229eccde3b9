#include "velmora/flowchart/gsagridview.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "velmora/flowchart/core/gsagrid.h"

namespace velmora {

// Only the shape of the grid; the cells are painted from the document itself.
class GsaGridModel : public QAbstractTableModel {
 public:
  GsaGridModel(const GsaGridList* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : grid_->rowCount();
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : grid_->colCount();
  }
  QVariant data(const QModelIndex&, int) const override { return {}; }
  Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled | Qt::ItemIsSelectable; }
  void reset() {
    beginResetModel();
    endResetModel();
  }
  const GsaGridList* grid_;
};

namespace {

class CellPainter : public QStyledItemDelegate {
 public:
  CellPainter(const GsaGridList* grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    p->save();
    p->setFont(option.font);
    paintGsaCell(*p, option.rect, *grid_, index.column(), index.row());
    if (option.state & QStyle::State_HasFocus) {
      // The selected cell, where a double click on a message leads.
      p->setPen(QPen(Qt::gray, 1, Qt::DotLine));
      p->setBrush(Qt::NoBrush);
      p->drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    p->restore();
  }

 private:
  const GsaGridList* grid_;
};

}  // namespace

GsaGridView::GsaGridView(const GsaGridList* grid, QWidget* parent)
    : QTableView(parent), model_(new GsaGridModel(grid, this)) {
  setObjectName(QStringLiteral("GSAGrid"));
  setModel(model_);
  setItemDelegate(new CellPainter(grid, this));
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMouseTracking(true);
  setCellFont(6);
}

void GsaGridView::gridChanged() {
  const int col = currentCol(), row = currentRow();
  model_->reset();
  selectCell(std::min(col, model_->columnCount() - 1), std::min(row, model_->rowCount() - 1));
  viewport()->update();
}

void GsaGridView::setCellFont(int size) {
  fontSize_ = size;
  QFont f = font();
  f.setPointSize(size);
  setFont(f);
  // A section holds its cell and the grid line after it: the cell itself, what the painter
  // gets, keeps the full size.
  const QSize cell = gsaCellSize(size);
  const int line = showGrid() ? 1 : 0;
  horizontalHeader()->setDefaultSectionSize(cell.width() + line);
  verticalHeader()->setDefaultSectionSize(cell.height() + line);
  viewport()->update();
}

QRect GsaGridView::cellRect(int col, int row) const { return visualRect(model_->index(row, col)); }

void GsaGridView::selectCell(int col, int row) {
  const QModelIndex i = model_->index(std::max(row, 0), std::max(col, 0));
  if (!i.isValid()) return;
  setCurrentIndex(i);
  scrollTo(i);
}

int GsaGridView::currentCol() const { return std::max(currentIndex().column(), 0); }
int GsaGridView::currentRow() const { return std::max(currentIndex().row(), 0); }

int GsaGridView::colAt(int x) const { return std::max(columnAt(x), 0); }
int GsaGridView::rowAt(int y) const { return std::max(QTableView::rowAt(y), 0); }

void GsaGridView::showPreview(int col, int row, GsaTool tool) {
  preview_ = true;
  previewCol_ = col;
  previewRow_ = row;
  previewTool_ = tool;
  ++repaints;
  viewport()->update();
}

void GsaGridView::hidePreview() {
  preview_ = false;
  ++repaints;
  viewport()->update();
}

void GsaGridView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!preview_) return;
  QPainter p(viewport());
  paintGsaPreview(p, cellRect(previewCol_, previewRow_), previewTool_);
}

void GsaGridView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  // The click selects its cell first; the tool then works on the selected cell. The focus
  // comes last: a click into a window that was not the active one only activates it.
  // A left click beside the last column or below the last row hits no cell: it places nothing
  // (the cell the pointer position would clamp to lies elsewhere).
  const bool onCell = indexAt(at).isValid();
  if (event->button() == Qt::LeftButton && !onCell) {
    setFocus();
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) selectCell(colAt(at.x()), rowAt(at.y()));
  if (mouseDown) mouseDown(event->button(), colAt(at.x()), rowAt(at.y()));
  setFocus();
  event->accept();
}

// A quick second click is a click of its own (two right clicks step two tools on).
void GsaGridView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void GsaGridView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (mouseMove) mouseMove(colAt(at.x()), rowAt(at.y()));
  event->accept();
}

void GsaGridView::leaveEvent(QEvent* event) {
  QTableView::leaveEvent(event);
  if (mouseLeft) mouseLeft();
}

}  // namespace velmora
