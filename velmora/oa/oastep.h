#pragma once
// The operational-automaton model with its history of steps: row 0 is the initial state, row k
// the state after step k. A step can be appended, changed, inserted or deleted; the rows after a
// change in the middle are computed again from their inputs.
#include <QString>
#include <QStringList>

#include "velmora/oa/oaengine.h"

// The history: per row the step's input, the values of every element ("5&0&12&") and the
// x answer.
class TOperSave {
 public:
  int count() const { return inputs_.size(); }
  void Add(const QString& input, const QString& values, const QString& answer);
  // A new row at i: the inputs from row i on move one row down; the values and answers of the
  // later rows stay where they are until the replay rewrites them.
  void InsertAt(int i, const QString& input, const QString& values, const QString& answer);
  void SetAt(int i, const QString& input, const QString& answer, const QString& values);
  // The same, keeping the row's input.
  void SetAt(int i, const QString& answer, const QString& values);
  void DeleteAt(int i);
  // Readers; EOaRangeError for a row that does not exist.
  QString Input(int i) const;
  QString Values(int i) const;
  QString Answer(int i) const;

 private:
  void check(int i) const;
  QStringList inputs_;
  QStringList values_;
  QStringList answers_;
};

class TModelStep : public TModelOA {
 public:
  static QString firstRow() { return QStringLiteral("first"); }

  // Row 0 of the history: ("first", "0&" per element, "first").
  TModelStep(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
             const QStringList& xSignals, const QList<QStringList>& yItems,
             const QStringList& ySignals);

  int Position() const { return position_; }
  int RowCount() const { return history_.count(); }
  const QString& LastInput() const { return lastInput_; }
  const TOperSave& History() const { return history_; }

  // One step, the answer text. mode 'a' appends after the last row; 'c' changes, 'i' inserts
  // and 'd' deletes the row at Position (loaded by GoToStep). The initial row cannot be
  // changed, inserted before or deleted. After any error the model and its history are as
  // they were.
  QString ApplySignals(const QString& text, char mode);
  // Position := i; the values of row i, when it exists, become the elements' values.
  void LoadStep(int i);
  void GoToStep(int i);
  // The answer of row i.
  QString GetStepSignals(int i) const;
  // Sets the initial value of one element (name and value both given) or all initial values to
  // zero, and computes the history again; the answer of row 0.
  QString Reset(const QString& name, const QString& value);

 private:
  QString valuesText() const;
  void loadRow(const TOperSave& history, int i);
  void evaluateStep(const QString& input);
  void replayAfter(TOperSave& history, int k);

  int position_ = 0;
  TOperSave history_;
  QString lastInput_;
  std::vector<qint32> saved_;  // element values before the step under way
};
