#include "tiravo/forms/nametablemodel.h"

#include "tiravo/sim/determ.h"

namespace tiravo {

NameTableModel::NameTableModel(const determ::Determinizer& engine, QObject* parent)
    : QAbstractTableModel(parent), engine_(engine) {}

void NameTableModel::Refresh() {
  beginResetModel();
  states_ = engine_.StateCount();
  endResetModel();
}

int NameTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : states_ + 1; }

int NameTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant NameTableModel::data(const QModelIndex& index, int role) const {
  if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid()) return QVariant();
  const int row = index.row(), column = index.column();
  if (row == 0) {
    static const char* const heads[] = {"Номер", "Новое имя", "Старое имя"};
    return QString::fromUtf8(heads[column]);
  }
  // The engine may already hold a new result the view has not been told of.
  if (row > states_ || row > engine_.StateCount()) return QVariant();
  const determ::NameRow r = engine_.NameAt(row - 1);
  switch (column) {
    case 0: return QString::number(r.number);
    case 1: return r.newName;
    default: return r.oldName;
  }
}

Qt::ItemFlags NameTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace tiravo
