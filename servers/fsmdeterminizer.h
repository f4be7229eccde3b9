#pragma once
// Determinization by subset construction: every event set reachable from a start set
// becomes one state of a deterministic automaton. No widgets.
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <vector>

#include "servers/fsmmodel.h"

namespace fsm {

// One group of successors: under `condition` the automaton goes to `targets`.
struct Successor {
  Set condition;
  Set targets;
};

struct DetTransition {
  Set condition;
  int target = 0;  // index of the new state
};

struct DetState {
  Set events;   // the event set this state stands for
  Set outputs;
  QVector<DetTransition> transitions;
};

struct DetResult {
  QVector<DetState> states;
  QStringList notes;  // input combinations that lead nowhere
};

class Determinizer {
 public:
  // Limits that keep a run on a faulty or huge table finite.
  static constexpr int kMaxStates = 4096;
  static constexpr int kMaxGroups = 4096;
  static constexpr int kMaxNotes = 100;

  explicit Determinizer(const Model& model) : m_(model) {}

  // The successor groups of an event set. Binary inputs: pairwise disjoint conditions over
  // the signals the transitions test, the 0 branch of a signal before its 1 branch.
  // Abstract inputs: one group per input letter. False with *error past the limits.
  bool successors(const Set& from, QVector<Successor>* out, QString* error) const;

  // Runs from `start`; states are numbered in the order they are found (breadth first).
  bool run(const Set& start, DetResult* out, QString* error) const;

  // Reads a start set written as event names joined by "&".
  bool parseStart(const QString& text, Set* start, QString* error) const;

  // The result as the lines of a table file: states named `prefix` + number.
  QStringList tableLines(const DetResult& result, const QString& prefix) const;
  static bool validPrefix(const QString& prefix);

 private:
  // The groups from the lines `lines` (indices into the model's lines) that `from`
  // satisfies: their conditions, and their targets as rows of `words` words.
  bool groups(const Set& from, const QVector<int>& lines, size_t words, QVector<Set>* conditions,
              std::vector<uint64_t>* targets, QString* error) const;
  // Words in a row that holds any event of the model or of `start`.
  size_t rowWords(const Set& start) const;

  const Model& m_;
};

}  // namespace fsm

// Made of implicitly shared containers: moved by copying their bytes as lists grow.
Q_DECLARE_TYPEINFO(fsm::DetTransition, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(fsm::DetState, Q_RELOCATABLE_TYPE);
