#pragma once
// "Синтаксическая ошибка": the compiler's view of a faulty cell. It shows the row's four
// cells; what the user types is written back into the grid row at once.
#include <QDialog>

#include "platform/longlines.h"

class QLabel;
class TableGrid;

namespace tiravo {

class TErrorView : public QDialog {
  Q_OBJECT
 public:
  explicit TErrorView(QWidget* parent = nullptr);

  // What the compiler hands over before it shows the view: the grid (borrowed), the faulty
  // row and column (1 si .. 4 sj), the message and the characters to select in the cell.
  void setError(TableGrid* grid, int row, int column, const QString& message, int selStart, int selLength);
  void setMessage(const QString& text);
  QString message() const;
  QString lineText() const;

  longlines::LineEdit* edit(int column) const { return edits_[column - 1]; }
  QLabel* header(int column) const { return headers_[column - 1]; }
  // The header of the faulty column is drawn raised.
  bool headerRaised(int column) const;

  void FormActivate();
  void edit_siChange();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QLabel* error_ = nullptr;
  QLabel* line_ = nullptr;
  QLabel* headers_[4] = {};
  longlines::LineEdit* edits_[4] = {};
  bool editing = false;
  int errorColumn = 1;
  int errorRow = 1;
  int selStart = 0, selLength = 0;
  TableGrid* grid = nullptr;
};

}  // namespace tiravo
