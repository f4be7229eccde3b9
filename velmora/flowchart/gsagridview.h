#pragma once
// The flowchart editor's grid control: every cell owner-drawn from the document, the tool
// preview over one cell, and the mouse reported as cells.
#include <QTableView>
#include <functional>

#include "velmora/flowchart/paint/gsapaint.h"

namespace velmora {

class GsaGridList;
class GsaGridModel;

class GsaGridView : public QTableView {
  Q_OBJECT
 public:
  // `grid` is borrowed and read at every paint; call gridChanged() when its size changes.
  GsaGridView(const GsaGridList* grid, QWidget* parent = nullptr);

  void gridChanged();          // rows or columns changed: the control follows the grid
  void setCellFont(int size);  // the font of the texts and the cell size that goes with it
  int cellFontSize() const { return fontSize_; }
  QRect cellRect(int col, int row) const;  // in viewport coordinates
  void selectCell(int col, int row);
  int currentCol() const;
  int currentRow() const;

  // The preview of `tool` over (col, row); hidePreview() takes it away. Both repaint.
  void showPreview(int col, int row, GsaTool tool);
  void hidePreview();
  bool previewShown() const { return preview_; }
  int repaints = 0;  // how often the grid was repainted to draw or erase a preview

  // Mouse reports, in cells (each at least 0).
  std::function<void(Qt::MouseButton, int col, int row)> mouseDown;
  std::function<void(int col, int row)> mouseMove;
  std::function<void()> mouseLeft;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int colAt(int x) const;
  int rowAt(int y) const;
  GsaGridModel* model_;
  int fontSize_ = 6;
  bool preview_ = false;
  int previewCol_ = 0, previewRow_ = 0;
  GsaTool previewTool_ = GsaTool::Start;
};

}  // namespace velmora
