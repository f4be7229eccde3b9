#pragma once
// The automatic simulator's table as an item model over the simulation itself:
// a cell's text is made when a view asks for it, so memory stays that of the
// sequence, and a command tells the views only about the rows (or columns) it
// touched, so an appended step costs the same however long the sequence is.
//
// Vertical layout: row 0 the heads, row k step k (number, input, event set,
// outputs); with no steps one blank row. Horizontal layout: column 0 the
// heads, column c step c (its input and the set before it), the last column
// the set reached; rows 3.. one event name each, as many as the largest set.
// A "line" is a row (vertical) or a column (horizontal): step k is line k.
#include <QAbstractTableModel>
#include <vector>

#include "tiravo/sim/autosimulation.h"

namespace tiravo {

class AutoSimGrid : public QAbstractTableModel {
 public:
  explicit AutoSimGrid(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Not owned; null shows the empty table.
  void SetSimulation(AutoSimulation* sim);
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  // Every cell anew, after changes made to the simulation directly.
  void Reset();

  // The simulation's commands (steps 1-based), each followed by the views.
  void SetInitial(const USignalSet& s0, bool stopWhenSame);
  void Append(const SSignalSet& input);
  void Insert(int k, const SSignalSet& input);
  void Edit(int k, const SSignalSet& input, bool stopWhenSame);
  void Delete(int k);
  void RemoveLast();
  void Resimulate(int j, bool stopWhenSame);

  // A head cell: row 0 or column 0, not selectable.
  static bool IsHead(const QModelIndex& index) { return index.row() == 0 || index.column() == 0; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  int Lines() const;  // rows (vertical) or columns (horizontal)
  int StateLine(int i) const { return horizontal_ ? i + 1 : i; }
  QString Text(int row, int col) const;
  QString VerticalText(int row, int col) const;
  QString HorizontalText(int row, int col) const;

  // Structure changes: a new step k (before the simulation grows) and the step
  // k that goes (before it shrinks). Each returns whether a line was announced.
  bool BeginStepInserted(int k);
  bool BeginStepRemoved(int k);
  void EndStructure(bool began, bool inserted);

  // The sets from index `from` to `to` were written: their sizes are counted
  // again, the horizontal rows follow the largest, and the lines are repainted.
  void StatesWritten(int from, int to);
  void Count(quint32 size, int delta);
  void FitRows();
  void LinesChanged(int first, int last);
  int Steps() const { return sim_ ? sim_->StepCount : 0; }

  AutoSimulation* sim_ = nullptr;
  bool horizontal_ = false;
  int steps_ = 0;               // the step count the views were told of
  int hRows_ = 4;               // the horizontal rows the views were told of
  std::vector<quint32> sizes_;  // the size of each set in States
  std::vector<int> bySize_{1};  // how many sets have each size
  quint32 largest_ = 0;
};

}  // namespace tiravo
