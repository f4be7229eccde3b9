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

// A state of the result written out as sets: made on request, for showing one state.
struct DetState {
  Set events;  // the event set this state stands for
  Set outputs;
  QVector<DetTransition> transitions;
};

// The states of a determinization, kept flat: the event sets as bitset rows side by side,
// the transitions of all states in one array, and every distinct condition and output set
// once. A result may hold hundreds of thousands of states, so no state has a block of its
// own and no text is made before it is shown.
class DetStates {
 public:
  struct Move {
    int32_t condition;  // index into conditions()
    int32_t target;
  };

  int size() const { return int(first_.size()) - 1; }
  bool isEmpty() const { return size() == 0; }
  DetState operator[](int k) const;

  Set events(int k) const;
  // Index into outputSets() of the outputs of state k.
  int outputsIndex(int k) const { return outputs_.empty() ? 0 : outputs_[size_t(k)]; }
  int moveCount(int k) const { return first_[size_t(k) + 1] - first_[size_t(k)]; }
  // Move i of state k, 0 <= i < moveCount(k).
  Move move(int k, int i) const {
    const size_t at = size_t(first_[size_t(k)]) + size_t(i);
    return wide_.empty() ? Unpack(moves_[at]) : wide_[at];
  }
  const QVector<Set>& conditions() const { return conditions_; }
  const QVector<Set>& outputSets() const { return outputSets_; }

 private:
  friend class Determinizer;
  // A move in four bytes: its target below the limit of states, its condition above.
  static constexpr int kTargetBits = 18;
  static constexpr uint32_t kTargetMask = (uint32_t(1) << kTargetBits) - 1;
  static constexpr uint32_t kPackedConditions = uint32_t(1) << (32 - kTargetBits);
  static Move Unpack(uint32_t m) { return {int32_t(m >> kTargetBits), int32_t(m & kTargetMask)}; }

  size_t moveTotal() const { return wide_.empty() ? moves_.size() : wide_.size(); }
  void addMove(int32_t condition, int32_t target) {
    if (wide_.empty() && uint32_t(condition) < kPackedConditions)
      moves_.push_back(uint32_t(condition) << kTargetBits | uint32_t(target));
    else
      addWideMove(condition, target);
  }
  // Past the conditions a packed move can name, every move is kept whole.
  void addWideMove(int32_t condition, int32_t target);

  size_t words_ = 1;
  std::vector<uint64_t> rows_;     // state k: words_ words from k * words_
  std::vector<int32_t> first_{0};  // the moves of state k: [first_[k], first_[k + 1])
  std::vector<uint32_t> moves_;    // packed, while wide_ is empty
  std::vector<Move> wide_;
  std::vector<int32_t> outputs_;  // empty while every state has outputSets_[0]
  QVector<Set> conditions_;
  QVector<Set> outputSets_{Set()};
};

struct DetResult {
  DetStates states;
  QStringList notes;  // input combinations that lead nowhere
};

class Determinizer {
 public:
  // Limits that keep a run on a faulty or huge table finite.
  static constexpr int kMaxStates = 1 << 18;
  static constexpr int kMaxGroups = 4096;
  static constexpr int kMaxNotes = 100;
  // As many as the former 4096 states of 4096 groups each could make.
  static constexpr int kMaxTransitions = 1 << 24;

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
  // Words in a row that holds any event of the model or of `start`.
  size_t rowWords(const Set& start) const;

  const Model& m_;
};

}  // namespace fsm

// Made of implicitly shared containers: moved by copying their bytes as lists grow.
Q_DECLARE_TYPEINFO(fsm::DetTransition, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(fsm::DetState, Q_RELOCATABLE_TYPE);
