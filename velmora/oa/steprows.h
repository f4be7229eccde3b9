#pragma once
// The rows of the ОА model window's step grid: per row the step's input and its x answer.
// A loaded input file may hold millions of steps, so a cell is the number of a pooled text
// rather than an item of its own.
#include <QAbstractTableModel>
#include <array>
#include <functional>
#include <vector>

#include "velmora/oa/textpool.h"

namespace velmora {

class StepRows : public QAbstractTableModel {
 public:
  StepRows(const QString& header0, const QString& header1, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Column 0 of every row but the first (the initial state) is typed; answers are not.
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const QString& cell(int col, int row) const;
  void setCell(int col, int row, const QString& text);
  void setRows(int rows);
  // Rows made ready apart and then taken in one go: the rows before `from` and n rows whose
  // cells are text(col, k), k = 0 .. n - 1. Making them changes nothing shown.
  using Rows = std::vector<std::array<quint32, 2>>;
  Rows prepare(int from, int n, const std::function<const QString&(int col, int k)>& text);
  void take(Rows&& rows);

 private:
  QString headers_[2];
  TextPool pool_;
  Rows rows_;
};

}  // namespace velmora
