#include "common/gui/tablegridmodel.h"

#include "common/tblfile.h"

namespace {
const QString kEmpty;
}

TableGridModel::TableGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int TableGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }
int TableGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
  return text(index.row(), index.column());
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return title(section);
  const int n = number(section);
  return n > 0 ? QString::number(n) : QString();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

const QString& TableGridModel::text(int row, int col) const {
  if (row < 0 || row >= rows_.size() || col < 0 || col > 3) return kEmpty;
  return rows_[row].cells[size_t(col)];
}

void TableGridModel::setText(int row, int col, const QString& text) {
  if (row < 0 || row >= rows_.size() || col < 0 || col > 3) return;
  QString& c = rows_[row].cells[size_t(col)];
  if (c == text) return;
  filledCells_ += (text.isEmpty() ? 0 : 1) - (c.isEmpty() ? 0 : 1);
  c = text;
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i);
}

void TableGridModel::setTitle(int col, const QString& text) {
  if (col < 0 || col > 3) return;
  titles_[size_t(col)] = text;
  emit headerDataChanged(Qt::Horizontal, col, col);
}

void TableGridModel::setNumber(int row, int number) {
  if (row < 0 || row >= rows_.size() || rows_[row].number == number) return;
  rows_[row].number = number;
  emit headerDataChanged(Qt::Vertical, row, row);
}

void TableGridModel::renumber() {
  int n = 1, first = -1, last = -1;
  for (int r = 0; r < rows_.size(); ++r) {
    const int want = rows_[r].cells[0].isEmpty() ? 0 : n++;
    if (rows_[r].number == want) continue;
    rows_[r].number = want;
    if (first < 0) first = r;
    last = r;
  }
  if (first >= 0) emit headerDataChanged(Qt::Vertical, first, last);
}

void TableGridModel::count(const Row& r, int sign) {
  for (const QString& c : r.cells)
    if (!c.isEmpty()) filledCells_ += sign;
}

void TableGridModel::resizeRows(int count) {
  count = qMax(count, 0);
  const int n = int(rows_.size());
  if (count > n) {
    beginInsertRows(QModelIndex(), n, count - 1);
    rows_.resize(count);
    endInsertRows();
  } else if (count < n) {
    beginRemoveRows(QModelIndex(), count, n - 1);
    for (int r = count; r < n; ++r) this->count(rows_[r], -1);
    rows_.resize(count);
    endRemoveRows();
  }
}

void TableGridModel::insertEmptyRow(int at) {
  at = qBound(0, at, int(rows_.size()));
  beginInsertRows(QModelIndex(), at, at);
  rows_.insert(at, Row());
  endInsertRows();
}

void TableGridModel::removeRowAt(int at) {
  if (at < 0 || at >= rows_.size()) return;
  beginRemoveRows(QModelIndex(), at, at);
  count(rows_[at], -1);
  rows_.removeAt(at);
  endRemoveRows();
}

void TableGridModel::clearTexts() {
  beginResetModel();
  for (Row& r : rows_) r = Row();
  filledCells_ = 0;
  endResetModel();
}

void TableGridModel::assign(const QVector<TableRow>& rows) {
  beginResetModel();
  rows_.clear();
  rows_.resize(qMax(1, int(rows.size())));
  filledCells_ = 0;
  for (int r = 0; r < rows.size(); ++r) {
    Row& d = rows_[r];
    d.cells = {TblFile::cellText(rows[r].si), TblFile::cellText(rows[r].y), TblFile::cellText(rows[r].x),
               TblFile::cellText(rows[r].sj)};
    count(d, 1);
  }
  endResetModel();
}
