#include "servers/fsmdeterminizer.h"

#include <QHash>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <type_traits>

#include "automata/bitsets.h"
#include "automata/keymatch.h"
#include "automata/successorrows.h"

namespace fsm {

namespace {

void addBits(uint64_t* row, const Set& s) {
  for (int e : s)
    if (e > 0) automata::SetBit(row, e);
}

Set setOfRow(const uint64_t* row, size_t words) {
  Set out(automata::CountEvents(row, words));
  int* p = out.data();
  automata::ForEachEvent(row, words, [&p](int e) { *p++ = e; });
  return out;
}

// The model made ready for many event sets: keys, targets and outputs as bitset rows, lines
// listed by the first event their key asks for, conditions numbered once. `expand` gives the
// successor groups of one event set without a block per set or per group.
class Expander {
 public:
  Expander(const Model& m, size_t words);

  // The groups of `from`, which must not lie in `groups`' storage; false with *error past
  // the limit of groups.
  bool expand(const uint64_t* from, QString* error);
  int groupCount() const { return dense_ ? denseCount_ : int(groupConditions_.size()); }
  int condition(int g) const { return dense_ ? denseConditions_[g] : groupConditions_[size_t(g)]; }
  const uint64_t* targets(int g) const {
    return dense_ ? rows_->Row(denseSlots_[g]) : &groupRows_[size_t(g) * words_];
  }
  // The outputs of the last `from` (outputWords() words), or null when no line has any.
  const uint64_t* outputs() const { return anyOutputs_ ? outputRow_.data() : nullptr; }
  size_t outputWords() const { return outputWords_; }
  const QVector<Set>& conditions() const { return conditions_; }
  QVector<Set> takeConditions() { return std::move(conditions_); }

  // Abstract inputs, every key one event and no outputs: the rows expand() takes the
  // groups from, or null. A set's groups are then the rows of the slots in their order, the
  // unconditional slot's left out, unless that slot has targets (then expand() joins them).
  automata::SuccessorRows* denseRows() { return anyOutputs_ ? nullptr : rows_.get(); }
  int unconditionalSlot() const { return unconditionalSlot_; }
  // The condition of the letter of slot `slot`, numbered when first met.
  int letterCondition(int slot) {
    int32_t& c = letterCondition_[size_t(slot) + 1];
    if (c < 0) c = conditionIndex(Set{slot + 1});
    return c;
  }

 private:
  struct Move {
    int32_t condition;  // -1: unconditional
    int32_t letter;     // abstract inputs: the letter of the condition
  };

  int conditionIndex(const Set& c);
  uint64_t* newGroup(int condition);
  // Abstract inputs, every key one event: the rows of the events, letter k in slot k - 1
  // and the unconditional moves in the slot after the letters.
  void buildRows(int events, int letters);
  void denseGroups(const uint64_t* from);
  void letterGroup(int letter);
  bool split(const uint64_t* from, QString* error);
  bool splitAt(const Set& assign, const std::vector<int>& pending, const std::vector<uint64_t>& fired);

  const Model& m_;
  const size_t words_;
  automata::KeyMatcher keys_;
  std::vector<int32_t> lineFirst_;  // the moves of line j: [lineFirst_[j], lineFirst_[j + 1])
  std::vector<Move> moves_;
  std::vector<uint64_t> moveTargets_;
  bool anyOutputs_ = false;
  size_t outputWords_ = 1;
  std::vector<uint64_t> lineOutputs_, outputRow_;
  QVector<Set> conditions_;
  QHash<Set, int> conditionIndex_;
  std::vector<int32_t> letterCondition_;  // abstract inputs: the index of {letter}, -1 before its first use
  std::unique_ptr<automata::SuccessorRows> rows_;
  int unconditionalSlot_ = -1;
  // The groups' targets are the rows' own: group g's in slot denseSlots_[g], under
  // condition denseConditions_[g].
  bool dense_ = false;
  int denseCount_ = 0;
  int8_t denseSlots_[automata::SuccessorRows::kMaxSlots];
  int32_t denseConditions_[automata::SuccessorRows::kMaxSlots];

  // Per event set.
  const std::vector<int32_t>* lines_ = nullptr;  // the lines the set matches
  std::vector<uint64_t> unconditional_;
  std::vector<int32_t> groupConditions_;
  std::vector<uint64_t> groupRows_;  // grows to the most groups a set has had, never shrinks
  std::vector<int32_t> groupOfLetter_, groupLetters_;
  std::vector<int32_t> pendingConditions_;  // binary inputs: indices into moves_
};

Expander::Expander(const Model& m, size_t words) : m_(m), words_(words), unconditional_(words) {
  const int lines = int(m.lines.size());
  int topOutput = 0, topLetter = int(m.inputs.size());
  lineFirst_.reserve(size_t(lines) + 1);
  lineFirst_.push_back(0);
  for (int j = 0; j < lines; ++j) {
    const Line& line = m.lines[j];
    keys_.AddLine(line.key.begin(), line.key.end());
    if (!line.outputs.isEmpty()) topOutput = std::max(topOutput, line.outputs.last());
    for (const Transition& t : line.transitions) {
      Move mv{-1, 0};
      if (!t.condition.isEmpty()) {
        mv.condition = conditionIndex(t.condition);
        mv.letter = std::abs(t.condition.first());
        topLetter = std::max(topLetter, mv.letter);
      }
      moves_.push_back(mv);
      moveTargets_.resize(moveTargets_.size() + words, 0);
      addBits(&moveTargets_[moveTargets_.size() - words], t.targets);
    }
    lineFirst_.push_back(int32_t(moves_.size()));
  }
  keys_.Index();
  if (topOutput > 0) {
    anyOutputs_ = true;
    outputWords_ = size_t(topOutput) / 64 + 1;
    lineOutputs_.assign(size_t(lines) * outputWords_, 0);
    for (int j = 0; j < lines; ++j) addBits(&lineOutputs_[size_t(j) * outputWords_], m.lines[j].outputs);
    outputRow_.assign(outputWords_, 0);
  }
  // Letters are looked up by number up to the last input, whether a condition names it or not.
  const size_t letterSlots = size_t(std::max<int>(topLetter, int(m.inputs.size()))) + 1;
  letterCondition_.assign(letterSlots, -1);
  groupOfLetter_.assign(letterSlots, -1);
  if (m.abstractInputs()) buildRows(int(words * 64), topLetter);
}

void Expander::buildRows(int events, int letters) {
  for (const Line& line : m_.lines)
    if (line.key.size() != 1 || line.key.first() < 0) return;
  const bool anyUnconditional =
      std::any_of(moves_.begin(), moves_.end(), [](const Move& mv) { return mv.condition < 0; });
  const int keys = letters + (anyUnconditional ? 1 : 0);
  if (!automata::SuccessorRows::Fits(events, words_, keys)) return;
  auto rows = std::make_unique<automata::SuccessorRows>(events, words_, keys);
  for (int j = 0; j < int(m_.lines.size()); ++j) {
    const int e = m_.lines[j].key.first();
    if (!rows->SetLine(e, j)) return;
    for (int32_t k = lineFirst_[size_t(j)]; k < lineFirst_[size_t(j) + 1]; ++k) {
      const Move mv = moves_[size_t(k)];
      rows->AddMove(e, mv.condition < 0 ? letters : mv.letter - 1, &moveTargets_[size_t(k) * words_]);
    }
  }
  rows->Finish();
  rows_ = std::move(rows);
  unconditionalSlot_ = anyUnconditional ? letters : -1;
}

int Expander::conditionIndex(const Set& c) {
  const auto it = conditionIndex_.constFind(c);
  if (it != conditionIndex_.constEnd()) return it.value();
  conditions_.append(c);
  conditionIndex_.insert(c, int(conditions_.size()) - 1);
  return int(conditions_.size()) - 1;
}

// The group of `letter`, with no targets yet.
void Expander::letterGroup(int letter) {
  int32_t& c = letterCondition_[size_t(letter)];
  if (c < 0) c = conditionIndex(Set{letter});
  groupOfLetter_[size_t(letter)] = int32_t(groupConditions_.size());
  groupLetters_.push_back(letter);
  newGroup(c);
}

// A group with no targets yet.
uint64_t* Expander::newGroup(int condition) {
  groupConditions_.push_back(condition);
  const size_t end = groupConditions_.size() * words_;
  if (groupRows_.size() < end) groupRows_.resize(std::max(end, 2 * groupRows_.size()));
  uint64_t* row = &groupRows_[end - words_];
  std::fill(row, row + words_, 0);
  return row;
}

bool Expander::expand(const uint64_t* from, QString* error) {
  groupConditions_.clear();
  dense_ = false;
  if (rows_) {
    denseGroups(from);
    return true;
  }
  // The lines `from` satisfies, in the order of the table.
  lines_ = &keys_.Match(from, words_);

  if (anyOutputs_) {
    std::fill(outputRow_.begin(), outputRow_.end(), 0);
    for (int32_t j : *lines_)
      automata::OrInto(outputRow_.data(), &lineOutputs_[size_t(j) * outputWords_], outputWords_);
  }

  // One pass: the unconditional targets apart and, with abstract inputs, one group per
  // letter in the order the letters first appear.
  std::fill(unconditional_.begin(), unconditional_.end(), 0);
  const bool abstract = m_.abstractInputs();
  bool anyConditional = false;
  for (int32_t j : *lines_)
    for (int32_t k = lineFirst_[size_t(j)]; k < lineFirst_[size_t(j) + 1]; ++k) {
      const Move mv = moves_[size_t(k)];
      const uint64_t* targets = &moveTargets_[size_t(k) * words_];
      if (mv.condition < 0) {
        automata::OrInto(unconditional_.data(), targets, words_);
        continue;
      }
      anyConditional = true;
      if (!abstract) continue;
      if (groupOfLetter_[size_t(mv.letter)] < 0) letterGroup(mv.letter);
      automata::OrInto(&groupRows_[size_t(groupOfLetter_[size_t(mv.letter)]) * words_], targets, words_);
    }
  const bool anyUnconditional = !automata::IsZero(unconditional_.data(), words_);
  if (!anyConditional) {
    if (anyUnconditional)
      std::copy(unconditional_.begin(), unconditional_.end(), newGroup(conditionIndex(Set())));
    return true;
  }
  if (!abstract) return split(from, error);
  // An unconditional transition joins every letter.
  if (anyUnconditional) {
    for (int k = 1; k <= m_.inputs.size(); ++k)
      if (groupOfLetter_[size_t(k)] < 0) letterGroup(k);
    for (int g = 0; g < groupCount(); ++g)
      automata::OrInto(&groupRows_[size_t(g) * words_], unconditional_.data(), words_);
  }
  for (int32_t letter : groupLetters_) groupOfLetter_[size_t(letter)] = -1;
  groupLetters_.clear();
  return true;
}

bool Expander::split(const uint64_t* from, QString* error) {
  pendingConditions_.clear();
  for (int32_t j : *lines_)
    for (int32_t k = lineFirst_[size_t(j)]; k < lineFirst_[size_t(j) + 1]; ++k)
      if (moves_[size_t(k)].condition >= 0) pendingConditions_.push_back(k);
  const std::vector<int> all(pendingConditions_.begin(), pendingConditions_.end());
  if (splitAt(Set(), all, unconditional_)) return true;
  if (error)
    *error = QStringLiteral("Из множества событий %1 получается более %2 групп переходов")
                 .arg(m_.eventsText(setOfRow(from, words_)))
                 .arg(Determinizer::kMaxGroups);
  groupConditions_.clear();
  return false;
}

// What expand() makes of the matched lines, from the rows of the events.
void Expander::denseGroups(const uint64_t* from) {
  automata::SuccessorRows& rows = *rows_;
  rows.Gather(from);
  if (anyOutputs_) {
    std::fill(outputRow_.begin(), outputRow_.end(), 0);
    rows.ForEachLine(from, [&](int j) {
      automata::OrInto(outputRow_.data(), &lineOutputs_[size_t(j) * outputWords_], outputWords_);
    });
  }
  const bool anyUnconditional = unconditionalSlot_ >= 0 && (rows.Present() >> unconditionalSlot_) & 1u;
  const uint64_t* unconditional = anyUnconditional ? rows.Row(unconditionalSlot_) : nullptr;
  const bool joined = unconditional && !automata::IsZero(unconditional, words_);
  // Without unconditional targets the groups are the rows themselves.
  dense_ = !joined;
  denseCount_ = 0;
  bool anyConditional = false;
  const int8_t* order = rows.Order();
  for (int k = 0; k < rows.OrderSize(); ++k) {
    const int slot = order[k];
    if (slot == unconditionalSlot_) continue;
    anyConditional = true;
    const int c = letterCondition(slot);
    if (dense_) {
      denseConditions_[denseCount_] = c;
      denseSlots_[denseCount_++] = int8_t(slot);
    } else {
      std::copy_n(rows.Row(slot), words_, newGroup(c));
    }
  }
  if (!joined) return;
  if (!anyConditional) {
    std::copy_n(unconditional, words_, newGroup(conditionIndex(Set())));
    return;
  }
  // An unconditional transition joins every letter.
  std::fill(groupOfLetter_.begin(), groupOfLetter_.end(), 0);
  for (int k = 0; k < rows.OrderSize(); ++k)
    if (rows.Order()[k] != unconditionalSlot_) groupOfLetter_[size_t(rows.Order()[k]) + 1] = 1;
  for (int k = 1; k <= m_.inputs.size(); ++k)
    if (!groupOfLetter_[size_t(k)]) {
      int32_t& c = letterCondition_[size_t(k)];
      if (c < 0) c = conditionIndex(Set{k});
      newGroup(c);
    }
  std::fill(groupOfLetter_.begin(), groupOfLetter_.end(), -1);
  for (int g = 0; g < groupCount(); ++g)
    automata::OrInto(&groupRows_[size_t(g) * words_], unconditional, words_);
}

// Shannon expansion over the signals that the pending conditions test.
bool Expander::splitAt(const Set& assign, const std::vector<int>& pending,
                       const std::vector<uint64_t>& firedBefore) {
  std::vector<uint64_t> fired = firedBefore;
  std::vector<int> open;
  for (int k : pending) {
    const Set& c = conditions_[moves_[size_t(k)].condition];
    bool conflict = false, decided = true;
    for (int l : c) {
      if (containsLiteral(assign, -l))
        conflict = true;
      else if (!containsLiteral(assign, l))
        decided = false;
    }
    if (conflict) continue;
    if (decided)
      automata::OrInto(fired.data(), &moveTargets_[size_t(k) * words_], words_);
    else
      open.push_back(k);
  }
  if (open.empty()) {
    if (groupCount() >= Determinizer::kMaxGroups) return false;
    std::copy(fired.begin(), fired.end(), newGroup(conditionIndex(assign)));
    return true;
  }
  int v = 0;
  for (int k : open)
    for (int l : conditions_[moves_[size_t(k)].condition])
      if (!containsLiteral(assign, l) && (v == 0 || std::abs(l) < v)) v = std::abs(l);
  Set zero = assign, one = assign;
  addLiteral(zero, -v);
  addLiteral(one, v);
  return splitAt(zero, open, fired) && splitAt(one, open, fired);
}

// Groups a state may have to be looked up a round ahead, and the states a table must have
// for it: below, the table is in the processor's nearest caches.
constexpr int kAheadGroups = automata::SuccessorRows::kMaxSlots;
constexpr size_t kAheadFrom = size_t(1) << 13;

// The successor groups of one state, copied out of the expander, rows of up to 4 words.
struct Ahead {
  size_t state = SIZE_MAX;  // whose groups these are
  int n = 0;
  int32_t condition[kAheadGroups];
  uint64_t hash[kAheadGroups];
  uint64_t rows[kAheadGroups * 4];
  bool anyOutputs = false;
  std::vector<uint64_t> outputs;
};

}  // namespace

DetState DetStates::operator[](int k) const {
  DetState s;
  s.events = events(k);
  s.outputs = outputSets_[outputsIndex(k)];
  s.transitions.reserve(moveCount(k));
  for (int i = 0; i < moveCount(k); ++i) {
    const Move m = move(k, i);
    s.transitions.append({conditions_[m.condition], m.target});
  }
  return s;
}

void DetStates::addWideMove(int32_t condition, int32_t target) {
  if (wide_.empty()) {
    wide_.reserve(moves_.size() + 1);
    for (uint32_t m : moves_) wide_.push_back(Unpack(m));
    std::vector<uint32_t>().swap(moves_);
  }
  wide_.push_back({condition, target});
}

Set DetStates::events(int k) const { return setOfRow(&rows_[size_t(k) * words_], words_); }

size_t Determinizer::rowWords(const Set& start) const {
  // Room for every event the model names or any line or the start set uses.
  int top = int(m_.events.size());
  if (!start.isEmpty()) top = std::max(top, start.last());
  for (const Line& line : m_.lines) {
    if (!line.key.isEmpty()) top = std::max(top, std::abs(line.key.last()));
    for (const Transition& t : line.transitions)
      if (!t.targets.isEmpty()) top = std::max(top, t.targets.last());
  }
  return size_t(top) / 64 + 1;
}

bool Determinizer::successors(const Set& from, QVector<Successor>* out, QString* error) const {
  const size_t words = rowWords(from);
  std::vector<uint64_t> row(words, 0);
  addBits(row.data(), from);
  Expander expander(m_, words);
  out->clear();
  if (!expander.expand(row.data(), error)) return false;
  for (int g = 0; g < expander.groupCount(); ++g)
    out->append({expander.conditions()[expander.condition(g)], setOfRow(expander.targets(g), words)});
  return true;
}

bool Determinizer::run(const Set& start, DetResult* out, QString* error) const {
  if (start.isEmpty()) {
    if (error) *error = QStringLiteral("Начальное множество событий пусто");
    return false;
  }
  static_assert(kMaxStates - 1 <= int(DetStates::kTargetMask), "a packed move holds every target");
  const size_t words = rowWords(start);
  Expander expander(m_, words);
  automata::SetTable table(words);
  std::vector<uint64_t> first(words, 0);
  addBits(first.data(), start);
  table.Add(first.data());
  // Output sets are few: each is kept once, the empty one first.
  automata::SetTable outputSets(expander.outputWords());
  outputSets.Add(std::vector<uint64_t>(expander.outputWords(), 0).data());

  DetResult r;
  DetStates& st = r.states;
  st.words_ = words;
  int notes = 0;
  bool added = false;
  // Rows of W words (0: of any width): the rows a state's groups are built in are hashed,
  // looked up and added where they are.
  const auto explore = [&](auto width) {
    constexpr int W = decltype(width)::value;
    uint64_t from[W ? W : 1];
    std::vector<uint64_t> wide(W ? 0 : words);
    uint64_t* const set = W ? from : wide.data();
    uint64_t hashes[kAheadGroups];
    std::vector<uint64_t> moreHashes;
    size_t states = st.first_.size();  // of first_, the rest room to grow into
    Ahead ahead[2];                    // the current state's groups and the next one's
    int current = 0;
    // Copies the groups of state s out of the expander, their slots asked for: false when
    // they do not fit or the expander fails (the state's own round then tells why).
    automata::SuccessorRows* const dense = expander.denseRows();
    const int unconditional = expander.unconditionalSlot();
    // Gathers the rows of `set`: true when they are its groups as they stand, those of the
    // slots of Order() but the unconditional one, which has no targets to join them.
    const auto gatherDense = [&] {
      dense->Gather(set);
      const int u = unconditional;
      return u < 0 || !((dense->Present() >> u) & 1u) || automata::IsZero(dense->Row(u), words);
    };
    const auto prepare = [&](size_t s, Ahead& a) {
      std::copy_n(table.Row(s), W, set);
      if (dense && gatherDense()) {
        int n = 0;
        for (int k = 0; k < dense->OrderSize(); ++k) {
          const int slot = dense->Order()[k];
          if (slot == unconditional) continue;
          uint64_t* row = &a.rows[size_t(n) * W];
          std::copy_n(dense->Row(slot), W, row);
          a.condition[n] = expander.letterCondition(slot);
          a.hash[n] = automata::SetTable::HashOf<W>(row);
          table.Prefetch(a.hash[n]);
          ++n;
        }
        a.n = n;
        a.anyOutputs = false;
        a.state = s;
        return true;
      }
      if (!expander.expand(set, nullptr) || expander.groupCount() > kAheadGroups) return false;
      a.n = expander.groupCount();
      for (int g = 0; g < a.n; ++g) {
        std::copy_n(expander.targets(g), W, &a.rows[size_t(g) * W]);
        a.condition[g] = expander.condition(g);
        a.hash[g] = automata::SetTable::HashOf<W>(expander.targets(g));
        table.Prefetch(a.hash[g]);
      }
      const uint64_t* outputs = expander.outputs();
      a.anyOutputs = outputs != nullptr;
      if (outputs) a.outputs.assign(outputs, outputs + expander.outputWords());
      a.state = s;
      return true;
    };
    // The move of state i under condition c to the set `next` of hash h: false with *error
    // past the limits.
    const auto take = [&](size_t i, int c, const uint64_t* next, uint64_t h) {
      if (automata::IsZero(next, words)) {
        if (notes++ < kMaxNotes)
          r.notes << QStringLiteral("Из %1 по входу %2 переходов нет")
                         .arg(m_.eventsText(setOfRow(table.Row(i), words)),
                              m_.conditionText(expander.conditions()[c]));
        return true;
      }
      int target;
      if constexpr (W > 0)
        target = table.FindOrAddOf<W>(next, h);
      else
        target = table.FindOrAdd(next, h, &added);
      // A state found is below the limit: the run stops at the first one added past it.
      if (target >= kMaxStates) {
        if (error) *error = QStringLiteral("Число состояний превысило %1").arg(kMaxStates);
        return false;
      }
      if (st.moveTotal() >= size_t(kMaxTransitions)) {
        if (error) *error = QStringLiteral("Число переходов превысило %1").arg(kMaxTransitions);
        return false;
      }
      st.addMove(c, target);
      return true;
    };
    // Written in place: a call to push_back costs as much as the rest of a small round.
    const auto endState = [&] {
      if (states == st.first_.size()) st.first_.resize(2 * states);
      st.first_[states++] = int32_t(st.moveTotal());
    };
    for (size_t i = 0; i < table.Size(); ++i) {
      // Past the processor's nearest caches the slots are asked for a round ahead.
      const Ahead* ready = nullptr;
      if (W > 0 && table.Size() >= kAheadFrom) {
        Ahead& now = ahead[current];
        if (now.state == i || prepare(i, now)) {
          ready = &now;
          if (i + 1 < table.Size()) prepare(i + 1, ahead[current ^ 1]);
          current ^= 1;
        }
      }
      if (!ready) std::copy_n(table.Row(i), W ? size_t(W) : words, set);  // the table grows below
      if (!ready && dense) {
        // The groups are the gathered rows, looked up where they lie, unless unconditional
        // targets join them.
        if (gatherDense()) {
          const int8_t* order = dense->Order();
          for (int k = 0; k < dense->OrderSize(); ++k) {
            const int slot = order[k];
            if (slot == unconditional) continue;
            const uint64_t* next = dense->Row(slot);
            const uint64_t h = W ? automata::SetTable::HashOf<W>(next) : table.HashOf(next);
            if (!take(i, expander.letterCondition(slot), next, h)) return false;
          }
          endState();
          continue;
        }
      }
      if (!ready && !expander.expand(set, error)) return false;
      const uint64_t* outputs =
          ready ? (ready->anyOutputs ? ready->outputs.data() : nullptr) : expander.outputs();
      if (outputs) {
        const int k = outputSets.FindOrAdd(outputs, &added);
        if (k != 0 && st.outputs_.empty()) st.outputs_.assign(i, 0);
        if (!st.outputs_.empty() || k != 0) st.outputs_.push_back(k);
      }
      const int groups = ready ? ready->n : expander.groupCount();
      const auto targets = [&](int g) { return ready ? &ready->rows[size_t(g) * W] : expander.targets(g); };
      const auto condition = [&](int g) { return ready ? ready->condition[g] : expander.condition(g); };
      // The slots of the successors are asked for first, so the looks wait for memory together.
      const uint64_t* h = hashes;
      if (ready) {
        h = ready->hash;
      } else {
        uint64_t* into = hashes;
        if (size_t(groups) > std::size(hashes)) {
          moreHashes.resize(size_t(groups));
          into = moreHashes.data();
        }
        for (int g = 0; g < groups; ++g) {
          into[g] = W ? automata::SetTable::HashOf<W>(targets(g)) : table.HashOf(targets(g));
          table.Prefetch(into[g]);
        }
        h = into;
      }
      for (int g = 0; g < groups; ++g)
        if (!take(i, condition(g), targets(g), h[g])) return false;
      endState();
    }
    st.first_.resize(states);
    return true;
  };
  bool done;
  switch (words) {
    case 1: done = explore(std::integral_constant<int, 1>()); break;
    case 2: done = explore(std::integral_constant<int, 2>()); break;
    case 4: done = explore(std::integral_constant<int, 4>()); break;
    default: done = explore(std::integral_constant<int, 0>());
  }
  if (!done) return false;
  if (notes > kMaxNotes) r.notes << QStringLiteral("... и ещё %1").arg(notes - kMaxNotes);
  st.rows_ = table.TakeRows();
  st.conditions_ = expander.takeConditions();
  for (size_t k = 1; k < outputSets.Size(); ++k)
    st.outputSets_.append(setOfRow(outputSets.Row(k), outputSets.Words()));
  *out = std::move(r);
  return true;
}

bool Determinizer::parseStart(const QString& text, Set* start, QString* error) const {
  Set s;
  if (!m_.parseEvents(text, &s, error)) return false;
  if (s.isEmpty()) {
    *error = QStringLiteral("не задано ни одного события");
    return false;
  }
  *start = s;
  return true;
}

bool Determinizer::validPrefix(const QString& prefix) { return isPlainName(prefix + QLatin1Char('0')); }

QStringList Determinizer::tableLines(const DetResult& result, const QString& prefix) const {
  const DetStates& states = result.states;
  // Conditions and output sets repeat from state to state: each text is made once.
  QStringList conditions, outputs;
  for (const Set& c : states.conditions()) conditions << m_.conditionText(c);
  for (const Set& o : states.outputSets()) outputs << m_.outputsText(o);
  QStringList lines;
  lines << (m_.abstractInputs() ? QStringLiteral("Abstract") : QStringLiteral("Binary"));
  auto name = [&prefix](int k) { return prefix + QString::number(k); };
  for (int k = 0; k < states.size(); ++k) {
    const QString& outs = outputs[states.outputsIndex(k)];
    if (states.moveCount(k) == 0) {
      lines << name(k) << outs << QStringLiteral("0") << QStringLiteral("0");
      continue;
    }
    for (int i = 0; i < states.moveCount(k); ++i) {
      const DetStates::Move t = states.move(k, i);
      const bool head = i == 0;
      lines << (head ? name(k) : QString()) << (head ? outs : QString()) << conditions[t.condition]
            << name(t.target);
    }
  }
  return lines;
}

}  // namespace fsm
