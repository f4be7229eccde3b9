#include "servers/detresultmodel.h"

namespace servers {

void DetResultModel::show(const fsm::Model& model, const fsm::DetResult* result, const QString& prefix) {
  beginResetModel();
  model_ = model;
  result_ = result;
  prefix_ = prefix;
  conditions_.clear();
  outputs_.clear();
  if (result_) {
    // Conditions and output sets repeat from state to state: each text is made once.
    for (const fsm::Set& c : result_->states.conditions()) conditions_ << model_.conditionText(c);
    for (const fsm::Set& o : result_->states.outputSets()) outputs_ << model_.outputsText(o);
  }
  endResetModel();
}

int DetResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !result_ ? 0 : result_->states.size();
}

int DetResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant DetResultModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return QVariant();
  return cell(index.row(), index.column());
}

QVariant DetResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const captions[] = {"Состояние", "События", "Выходы", "Переходы"};
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 4)
    return QAbstractTableModel::headerData(section, orientation, role);
  return QString::fromUtf8(captions[section]);
}

QString DetResultModel::cell(int k, int column) const {
  const fsm::DetStates& states = result_->states;
  switch (column) {
    case 0: return prefix_ + QString::number(k);
    case 1: return model_.eventsText(states.events(k));
    case 2: return outputs_[states.outputsIndex(k)];
    default: {
      QStringList moves;
      for (int i = 0; i < states.moveCount(k); ++i) {
        const fsm::DetStates::Move t = states.move(k, i);
        moves << conditions_[t.condition] + QStringLiteral(" -> ") + prefix_ + QString::number(t.target);
      }
      return moves.join(QStringLiteral("; "));
    }
  }
}

}  // namespace servers
