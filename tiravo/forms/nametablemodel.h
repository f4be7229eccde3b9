#pragma once
// The determinizer's table of state names as a model: a header row, then number, new
// name and old name of each state of the last good result. A result may hold hundreds
// of thousands of states, so a row's texts are made only when the view asks for them.
#include <QAbstractTableModel>

namespace determ {
class Determinizer;
}

namespace tiravo {

class NameTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Reads `engine`, which must outlive the model.
  NameTableModel(const determ::Determinizer& engine, QObject* parent);

  // Shows the engine's result as it is now; until then the rows stay as they were.
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const determ::Determinizer& engine_;
  int states_ = 0;
};

}  // namespace tiravo
