#pragma once
// The operational-automaton model with its history of steps: row 0 is the initial state, row k
// the state after step k. A step can be appended, changed, inserted or deleted; the rows after a
// change in the middle are computed again from their inputs.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "velmora/oa/oaengine.h"
#include "velmora/oa/textpool.h"

namespace velmora {

// The history: per row the step's input, the values of every element ("5&0&12&") and the
// x answer. Inputs and answers are kept as numbers of pooled texts and the values as numbers,
// so a history of millions of steps stays small.
class TOperSave {
 public:
  // width: the number of elements whose values a row holds.
  explicit TOperSave(int width = 0) : width_(width) {}
  int count() const { return int(inputs_.size()); }
  int width() const { return width_; }
  void Add(const QString& input, const std::vector<qint32>& values, const QString& answer);
  // A new row at i: the inputs from row i on move one row down; the values and answers of the
  // later rows stay where they are until the replay rewrites them.
  void InsertAt(int i, const QString& input, const std::vector<qint32>& values, const QString& answer);
  void SetAt(int i, const QString& input, const QString& answer, const std::vector<qint32>& values);
  // The same, keeping the row's input.
  void SetAt(int i, const QString& answer, const std::vector<qint32>& values);
  void DeleteAt(int i);
  void reserve(int rows);
  // Readers; EOaRangeError for a row that does not exist.
  const QString& Input(int i) const;
  QString Values(int i) const;  // as text, "5&0&12&"
  const qint32* ValuesAt(int i) const;
  const QString& Answer(int i) const;

 private:
  void check(int i) const;
  int width_;
  TextPool pool_;
  std::vector<quint32> inputs_;
  std::vector<quint32> answers_;
  std::vector<qint32> values_;  // width_ per row
};

class TModelStep : public TModelOA {
 public:
  static QString firstRow() { return QStringLiteral("first"); }

  // Row 0 of the history: ("first", "0&" per element, "first").
  TModelStep(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
             const QStringList& xSignals, const QList<QStringList>& yItems, const QStringList& ySignals);

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
  // Replaces every step after the initial state by one step per input, in order; the row
  // shown afterwards is the last. `prepare` sees the new history before it is taken, so that a
  // caller can make ready what must change with it. All or nothing: after any error (a step
  // that fails, prepare failing, memory running out) the model and its history are as they were.
  void ReplaceSteps(const QStringList& inputs, const std::function<void(const TOperSave&)>& prepare = {});
  // Sets the initial value of one element (name and value both given) or all initial values to
  // zero, and computes the history again; the answer of row 0.
  QString Reset(const QString& name, const QString& value);

 private:
  // What a failed step, reset or load puts back (the element values go to saved_).
  struct State {
    QString answer;
    QString input;
    bool known;
    int position;
  };
  State saveState();
  void restoreState(const State& state);
  void currentValues(std::vector<qint32>* out) const;
  void loadRow(const TOperSave& history, int i);
  void evaluateStep(const QString& input);
  void replayAfter(TOperSave& history, int k);

  int position_ = 0;
  TOperSave history_;
  QString lastInput_;
  std::vector<qint32> saved_;  // element values before the step under way
  std::vector<qint32> row_;    // the values of the step under way
};

}  // namespace velmora
