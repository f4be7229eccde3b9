#pragma once
// The states of a determinization as the rows of a table view: name, event set, outputs
// and transitions. A result may hold hundreds of thousands of states, so a cell's text is
// made only when the view asks for it.
#include <QAbstractTableModel>
#include <QStringList>

#include "servers/fsmdeterminizer.h"

namespace servers {

class DetResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows `result` of `model` with states named `prefix` + number. The result must outlive
  // the next call; the automaton is kept, so a window may load another one meanwhile.
  void show(const fsm::Model& model, const fsm::DetResult* result, const QString& prefix);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  QString cell(int state, int column) const;

  fsm::Model model_;
  const fsm::DetResult* result_ = nullptr;
  QString prefix_;
  QStringList conditions_, outputs_;  // the texts of the result's distinct conditions and output sets
};

}  // namespace servers
