#pragma once
// The successors of event sets in a table whose every key is one event: each event's line
// is turned once into one row per group key (a letter, a condition, the unconditional
// moves), so a set's groups are the rows of its events or-ed together, with no key to
// match and no move to dispatch. The loops are written out for rows of 1, 2 and 4 words.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "automata/bitsets.h"
#include "platform/bits.h"

namespace automata {

class SuccessorRows {
 public:
  // Group keys a set can have, so that those present fit in one mask.
  static constexpr int kMaxSlots = 32;
  // Words of rows at most: beyond, matching the keys costs less than the rows.
  static constexpr size_t kMaxWords = size_t(1) << 20;

  // Whether rows for `events` events (1-based) of `words` words under `groupKeys` keys fit.
  static bool Fits(int events, size_t words, int groupKeys) {
    return groupKeys > 0 && groupKeys <= kMaxSlots && size_t(events) * size_t(groupKeys) * words <= kMaxWords;
  }

  SuccessorRows(int events, size_t words, int groupKeys)
      : words_(words),
        groupKeys_(size_t(groupKeys)),
        lineOf_(size_t(events) + 1, -1),
        mask_(size_t(events) + 1, 0),
        rows_((size_t(events) + 1) * size_t(groupKeys) * words, 0),
        orderStart_(size_t(events) + 2, 0),
        acc_(size_t(groupKeys) * words, 0),
        gather_(LoopFor(words, size_t(groupKeys) * words)) {}

  // Line `line` (lines given in the table's order) has the key {event}. False when the
  // event has a line already: the rows cannot stand for two lines.
  bool SetLine(int event, int line) {
    if (lineOf_[size_t(event)] >= 0) return false;
    lineOf_[size_t(event)] = line;
    monotone_ = monotone_ && event > lastEvent_;
    lastEvent_ = event;
    return true;
  }
  // The next move of `event`'s line: under group key `slot` to `targets`.
  void AddMove(int event, int slot, const uint64_t* targets) {
    const uint32_t bit = uint32_t(1) << slot;
    if (!(mask_[size_t(event)] & bit)) {
      mask_[size_t(event)] |= bit;
      pending_.push_back({event, slot});
    }
    OrInto(Rows(event) + size_t(slot) * words_, targets, words_);
  }
  // After the last move: the keys of each line in the order they first appear.
  void Finish() {
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Pending& a, const Pending& b) { return a.event < b.event; });
    for (const Pending& p : pending_) ++orderStart_[size_t(p.event) + 1];
    for (size_t e = 1; e < orderStart_.size(); ++e) orderStart_[e] += orderStart_[e - 1];
    order_.reserve(pending_.size());
    for (const Pending& p : pending_) order_.push_back(int8_t(p.slot));
    std::vector<Pending>().swap(pending_);
  }

  // The groups of `set`: afterwards Row(slot) is the union of the targets under `slot`,
  // Present() the keys some matched line names and Order() those keys in the order the
  // lines of the table first name them. The loop is chosen once, for the width of the
  // rows and the length of an event's run of them.
  void Gather(const uint64_t* set) { (this->*gather_)(set); }
  const uint64_t* Row(int slot) const { return &acc_[size_t(slot) * words_]; }
  uint32_t Present() const { return present_; }
  // Order()[0 .. OrderSize()).
  const int8_t* Order() const { return order_at_; }
  int OrderSize() const { return count_; }

  // Calls f(line) for each line `set` matches, in no particular order.
  template <typename F>
  void ForEachLine(const uint64_t* set, F f) const {
    ForEachEvent(set, words_, [&](int e) {
      if (lineOf_[size_t(e)] >= 0) f(lineOf_[size_t(e)]);
    });
  }

 private:
  struct Pending {
    int event, slot;
  };

  static size_t Entries(int events, size_t words) { return std::max(size_t(events), words * 64) + 1; }

  using GatherLoop = void (SuccessorRows::*)(const uint64_t*);
  template <int W>
  static GatherLoop LoopOf(size_t run) {
    switch (run) {
      case 1: return &SuccessorRows::GatherWith<W, 1>;
      case 2: return &SuccessorRows::GatherWith<W, 2>;
      case 4: return &SuccessorRows::GatherWith<W, 4>;
      case 8: return &SuccessorRows::GatherWith<W, 8>;
      case 16: return &SuccessorRows::GatherWith<W, 16>;
      case 32: return &SuccessorRows::GatherWith<W, 32>;
      default: return &SuccessorRows::GatherWith<W, 0>;
    }
  }
  static GatherLoop LoopFor(size_t words, size_t run) {
    switch (words) {
      case 1: return LoopOf<1>(run);
      case 2: return LoopOf<2>(run);
      case 4: return LoopOf<4>(run);
      default: return &SuccessorRows::GatherWith<0, 0>;
    }
  }

  // Gather() for rows of W words (0: of any width) and runs of N words an event (0: of
  // any length).
  template <int W, int N>
  void GatherWith(const uint64_t* set) {
    GatherRows<N>(set, W ? size_t(W) : words_);
    count_ = 0;
    if (present_ == 0) return;
    if (monotone_) {
      // Events in ascending order are lines in the table's order. Often the first line
      // names every key present: its order is the order, read where it is kept.
      size_t i = 0;
      while (!set[i]) ++i;  // a set with keys present has an event
      const size_t e = i * 64 + size_t(bitops::CountTrailingZeros(set[i])) + 1;
      if (mask_[e] == present_) {
        order_at_ = &order_[orderStart_[e]];
        count_ = int(orderStart_[e + 1] - orderStart_[e]);
        return;
      }
    }
    Arrange(set);
  }

  uint64_t* Rows(int event) { return &rows_[size_t(event) * groupKeys_ * words_]; }

  // N words of rows an event (0: groupKeys_ * w) over sets of w words. Every event a set
  // can hold has its entry.
  template <int N>
  void GatherRows(const uint64_t* set, size_t w) {
    const size_t n = N ? size_t(N) : groupKeys_ * w;
    // A run of known length is gathered in a local array, which the reads of the rows
    // cannot alias, so it stays in registers.
    uint64_t local[N ? N : 1] = {};
    uint64_t* acc = N ? local : acc_.data();
    if (!N) std::fill(acc, acc + n, 0);
    uint32_t present = 0;
    const uint32_t* mask = mask_.data();
    const uint64_t* rows = rows_.data();
    for (size_t i = 0; i < w; ++i)
      for (uint64_t bits = set[i]; bits; bits &= bits - 1) {
        const size_t e = i * 64 + size_t(bitops::CountTrailingZeros(bits)) + 1;
        const uint32_t m = mask[e];
        // The rows of an event without a line are 0: or-ing them costs less than a
        // branch, except in rows of any length.
        if (!N && !m) continue;
        present |= m;
        const uint64_t* row = rows + e * n;
        for (size_t k = 0; k < n; ++k) acc[k] |= row[k];
      }
    if (N) std::copy_n(local, n, acc_.data());
    present_ = present;
  }

  // The present keys in the order of the lines, each line's in its own order, when the
  // first line does not name them all.
  [[gnu::noinline]] void Arrange(const uint64_t* set) {
    order_at_ = ordered_;
    uint32_t seen = 0;
    const auto take = [&](size_t e) {
      for (uint32_t k = orderStart_[e]; k < orderStart_[e + 1]; ++k) {
        const uint32_t bit = uint32_t(1) << order_[k];
        if (seen & bit) continue;
        seen |= bit;
        ordered_[count_++] = order_[k];
      }
      return seen == present_;
    };
    if (monotone_) {
      for (size_t i = 0; i < words_; ++i)
        for (uint64_t bits = set[i]; bits; bits &= bits - 1)
          if (take(i * 64 + size_t(bitops::CountTrailingZeros(bits)) + 1)) return;
      return;
    }
    lines_.clear();
    ForEachEvent(set, words_, [&](int e) {
      if (mask_[size_t(e)]) lines_.push_back({lineOf_[size_t(e)], e});
    });
    std::sort(lines_.begin(), lines_.end(),
              [](const Pending& a, const Pending& b) { return a.event < b.event; });
    for (const Pending& l : lines_)
      if (take(size_t(l.slot))) return;
  }

  const size_t words_;
  const size_t groupKeys_;
  std::vector<int32_t> lineOf_;  // by event: its line, or -1
  std::vector<uint32_t> mask_;   // by event: the keys its line names
  std::vector<uint64_t> rows_;   // by event: groupKeys_ rows of words_ words
  std::vector<uint32_t> orderStart_;
  std::vector<int8_t> order_;  // event e's keys in order: order_[orderStart_[e] .. orderStart_[e + 1])
  std::vector<Pending> pending_;
  bool monotone_ = true;  // lines in the order of their events
  int lastEvent_ = 0;     // of the line given last

  // Per set.
  std::vector<uint64_t> acc_;
  const GatherLoop gather_;
  uint32_t present_ = 0;
  int8_t ordered_[kMaxSlots];
  const int8_t* order_at_ = ordered_;  // ordered_ or the first line's own order in order_
  int count_ = 0;
  std::vector<Pending> lines_;  // {line, event}
};

}  // namespace automata
