#pragma once
// Our simulator of a compiled automaton ("fsm.Simulator", and the engine behind the
// interactive simulator window). No widgets: the joint model calls it from its worker
// thread.
//
// Status of SetState and DoStep: 0 the step was made; 1 no events (the state is empty or
// has no transitions at all); 2 no transition fires for the input; -1 error (nothing
// loaded, no state, a faulty text). After 1, 2 and -1 the state stays as it was.
//
// Input texts name input signals joined by "&": a name in lower case is 1, a name written
// with an upper-case first letter is 0, and a signal that is not named is 0. Names the
// automaton does not know are skipped with a note in the status. The text "сигнал
// неопределен", which the joint model's operational automaton gives when it knew no output
// of the step (a state without outputs, say), is an input of which nothing is known: the
// step follows the state's unconditional transitions ("1"), and without one it is refused
// with status 2 and a status text that says why.
#include <QString>
#include <QVector>

#include "servers/fsmmodel.h"

namespace fsm {

class Simulator {
 public:
  enum Status { Made = 0, NoEvents = 1, NoTransition = 2, Error = -1 };

  // 0 loaded, -1 not (the status tells why; the previous automaton is dropped).
  int load(const QString& path);
  void setModel(const Model& model);
  bool loaded() const { return loaded_; }
  const Model& model() const { return model_; }

  int setState(const QString& text);
  int doStep(const QString& input);

  QString status() const { return status_; }
  // The active events and the outputs of the current state, joined by "&".
  QString state() const { return hasState_ ? model_.eventsText(state_) : QString(); }
  QString out() const { return hasState_ ? model_.outputsText(model_.outputsOf(state_)) : QString(); }
  const Set& stateSet() const { return state_; }
  bool hasState() const { return hasState_; }

  // The next event set from `from` under `input` (positive input numbers), and whether
  // any transition took part at all. Used by the step and by tests.
  Set next(const Set& from, const Set& input, bool* anyTransition, bool* fired) const;

 private:
  bool parseInput(const QString& text, Set* active, QStringList* notes);
  // The step under an input of which nothing is known.
  int unconditionalStep();

  Model model_;
  bool loaded_ = false;
  bool hasState_ = false;
  Set state_;
  QString status_;
};

// One row of the interactive simulator's history.
struct HistoryRow {
  int step = 0;   // 0 for the initial state
  QString input;  // the input of the step (empty for the initial state)
  int status = 0;
  QString state;    // the state after it
  QString outputs;  // the outputs of that state
};

// The interactive simulation: a simulator plus the history the window shows, with going
// back one step.
class SimSession {
 public:
  int open(const QString& path);  // 0 loaded
  void setModel(const Model& model);
  const Simulator& simulator() const { return sim_; }
  QString startText() const { return sim_.model().eventsText(sim_.model().start); }

  // Starts anew from a state: the history becomes that one row. Returns the status.
  int reset(const QString& stateText);
  // One step; a step that was made appends a row, a refused one leaves the history as it
  // is. Returns the status.
  int step(const QString& input);
  // Undoes the last step made; false when only the initial row is left.
  bool back();
  const QVector<HistoryRow>& history() const { return history_; }
  QString status() const { return sim_.status(); }

 private:
  Simulator sim_;
  QVector<HistoryRow> history_;
};

}  // namespace fsm
