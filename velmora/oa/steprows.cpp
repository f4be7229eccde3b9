#include "velmora/oa/steprows.h"

namespace velmora {

StepRows::StepRows(const QString& header0, const QString& header1, QObject* parent)
    : QAbstractTableModel(parent), headers_{header0, header1} {}

int StepRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }
int StepRows::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant StepRows::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return cell(index.column(), index.row());
}

QVariant StepRows::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
    return headers_[section];
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StepRows::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 && index.row() > 0) f |= Qt::ItemIsEditable;
  return f;
}

const QString& StepRows::cell(int col, int row) const {
  static const QString none;
  if (row < 0 || row >= rowCount() || col < 0 || col > 1) return none;
  return pool_.text(rows_[size_t(row)][size_t(col)]);
}

void StepRows::setCell(int col, int row, const QString& text) {
  if (row < 0 || row >= rowCount() || col < 0 || col > 1) return;
  quint32& id = rows_[size_t(row)][size_t(col)];
  const quint32 now = pool_.id(text);
  if (id == now) return;
  id = now;
  emit dataChanged(index(row, col), index(row, col));
}

void StepRows::setRows(int rows) {
  const int n = rowCount();
  if (rows > n) {
    beginInsertRows({}, n, rows - 1);
    rows_.resize(size_t(rows), {0, 0});
    endInsertRows();
  } else if (rows < n) {
    beginRemoveRows({}, rows, n - 1);
    rows_.resize(size_t(rows));
    endRemoveRows();
  }
}

StepRows::Rows StepRows::prepare(int from, int n, const std::function<const QString&(int, int)>& text) {
  from = qBound(0, from, rowCount());
  Rows rows;
  rows.reserve(size_t(from) + size_t(n));
  rows.assign(rows_.begin(), rows_.begin() + from);
  for (int k = 0; k < n; ++k) rows.push_back({pool_.id(text(0, k)), pool_.id(text(1, k))});
  return rows;
}

void StepRows::take(Rows&& rows) {
  beginResetModel();
  rows_.swap(rows);
  endResetModel();
}

}  // namespace velmora
