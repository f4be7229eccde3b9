#pragma once
// Our table compiler ("FSM.Compiler"): takes a transition table row by row (si, y, xij, sj)
// and builds the automaton, listing every fault of the table with its row, column and
// position.
//
// Cells: names joined by "&", blanks around them allowed; a name whose first letter is
// upper case stands for the inverted signal (allowed in si and in binary conditions);
// xij "1" is unconditional; xij "0" (with sj "0" or empty) is a row that only carries
// outputs; an empty si continues the source of the row above; several targets in sj are
// active together. A row whose four cells are blank is skipped.
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "servers/fsmmodel.h"

namespace fsm {

class Compiler {
 public:
  // Returns 0 when the combination is valid, -1 otherwise (Make then reports it).
  int setType(int states, int outputs, int inputs, int triggers);
  void addSource(const QString& si, const QString& y, const QString& xij, const QString& sj);
  // Compiles the rows added so far; returns the number of errors (0 = compiled).
  int make();
  QString status() const { return status_; }
  // 0 written; 1 nothing compiled; 2 the file could not be written.
  int save(const QString& path);
  // Reads a compiled file in place of a compilation: 0 loaded, -1 refused.
  int load(const QString& path);

  bool compiled() const { return compiled_; }
  const Model& model() const { return model_; }
  int rowCount() const { return int(rows_.size()); }

  // Where a fault is, named as the table window shows it: the grid numbers only the rows
  // that start a source (si), so a row is named by that number and its source, and a
  // continuation row by how far below it lies. A row above the first numbered one has no
  // number and is named by its place in the table.
  struct RowName {
    int number = 0;        // the number in the row header; 0 = none yet
    QString source;        // the si the row belongs to
    int continuation = 0;  // 1 for the first row under the numbered one, ...
    int line = 0;          // the row's place in the table, 1-based
  };
  // "Строка 2 (s1), столбец 3 (xij), позиция 4: текст" (position 1-based).
  static QString messageAt(const RowName& row, int column, int pos, const QString& text);

 private:
  Type type_;
  bool typeValid_ = true;
  QVector<std::array<QString, 4>> rows_;
  Model model_;
  bool compiled_ = false;
  QString status_;
};

}  // namespace fsm
