#pragma once
// Event sets of a subset construction as bitsets (event e is bit e-1 of a row of
// `words` 64-bit words), kept side by side in one array and found again through the
// open-addressing index: no block per set and no copy of a set to look it up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "automata/openindex.h"
#include "platform/bits.h"

namespace automata {

inline bool TestBit(const uint64_t* row, int e) { return (row[size_t(e - 1) / 64] >> ((e - 1) % 64)) & 1u; }
inline void SetBit(uint64_t* row, int e) { row[size_t(e - 1) / 64] |= uint64_t(1) << ((e - 1) % 64); }
inline bool IsZero(const uint64_t* row, size_t words) {
  if (words == 1) return *row == 0;  // the common width, without a loop
  return std::all_of(row, row + words, [](uint64_t w) { return w == 0; });
}
inline void OrInto(uint64_t* into, const uint64_t* row, size_t words) {
  for (size_t k = 0; k < words; ++k) into[k] |= row[k];
}

// Calls f(e) for each event of the row, in ascending order.
template <typename F>
void ForEachEvent(const uint64_t* row, size_t words, F f) {
  for (size_t w = 0; w < words; ++w)
    for (uint64_t bits = row[w]; bits; bits &= bits - 1)
      f(int(w * 64) + bitops::CountTrailingZeros(bits) + 1);
}

inline int CountEvents(const uint64_t* row, size_t words) {
  int n = 0;
  for (size_t w = 0; w < words; ++w) n += bitops::PopCount(row[w]);
  return n;
}

// The sets found so far, numbered from 0 in the order they were added.
class SetTable {
 public:
  // Half full at most: short probes for the sets that are new.
  explicit SetTable(size_t words) : words_(std::max<size_t>(words, 1)), index_(2) {}

  size_t Words() const { return words_; }
  size_t Size() const { return count_; }
  const uint64_t* Row(size_t k) const { return &rows_[k * words_]; }

  // The number of `row`, or -1 when it is not there yet.
  int Find(const uint64_t* row) const { return Look(row, HashOf(row)).number; }

  uint64_t HashOf(const uint64_t* row) const { return HashRow(row, words_); }
  // The same for rows of W words (W known to the caller).
  template <int W>
  static uint64_t HashOf(const uint64_t* row) {
    return HashRow(row, size_t(W));
  }
  // Asks for the slot of a row about to be looked up: several look-ups then wait for
  // memory at once.
  void Prefetch(uint64_t h) const { index_.Prefetch(h); }

  // Adds `row`, which must not be there yet, and returns its number.
  int Add(const uint64_t* row) {
    bool added = false;
    return FindOrAdd(row, &added);
  }

  // The number of `row`, added when it is not there yet (*added tells which); one look
  // for both. `row` must not be one of the table's own rows.
  int FindOrAdd(const uint64_t* row, bool* added) { return FindOrAdd(row, HashOf(row), added); }
  // The same with the row's HashOf.
  int FindOrAdd(const uint64_t* row, uint64_t h, bool* added) {
    const auto probe = Look(row, h);
    *added = probe.number < 0;
    if (!*added) return probe.number;
    return AddAt(probe, h, row);
  }

  // The same for rows of W words (W known to the caller), in place: the look of a
  // subset construction's every move, a new row added where it was found missing.
  template <int W>
  int FindOrAddOf(const uint64_t* row, uint64_t h) {
    const uint64_t* rows = rows_.data();
    const auto probe = index_.Find(h, [&](int k, const NoPayload&) {
      const uint64_t* other = rows + size_t(k) * W;
      for (int i = 0; i < W; ++i)
        if (row[i] != other[i]) return false;
      return true;
    });
    return probe.number >= 0 ? probe.number : AddOf<W>(probe, h, row);
  }

  // Keeps the sets, forgets how to find them.
  void ReleaseIndex() { index_.Clear(); }

  // Hands the sets over, row after row, and leaves the table empty.
  std::vector<uint64_t> TakeRows() {
    index_.Clear();
    std::vector<uint64_t> rows;
    rows.swap(rows_);
    count_ = 0;
    return rows;
  }

 private:
  // Adds `row` of W words (0: of the table's width) in the free slot of a look that
  // missed it.
  template <int W>
  int AddOf(const OpenIndex<>::Probe& free, uint64_t h, const uint64_t* row) {
    const size_t w = W ? size_t(W) : words_;
    const size_t k = count_;
    index_.Insert(free, h, k);  // first: a table that is full adds nothing
    ++count_;
    if (w == 1)
      rows_.push_back(*row);
    else
      rows_.insert(rows_.end(), row, row + w);
    return int(k);
  }
  [[gnu::noinline]] int AddAt(const OpenIndex<>::Probe& free, uint64_t h, const uint64_t* row) {
    return AddOf<0>(free, h, row);
  }

  OpenIndex<>::Probe Look(const uint64_t* row, uint64_t h) const {
    const uint64_t* rows = rows_.data();
    if (words_ == 1) return index_.Find(h, [&](int k, const NoPayload&) { return rows[k] == *row; });
    return index_.Find(h, [&](int k, const NoPayload&) {
      // A loop: rows are a few words, too short for a call to memcmp to pay.
      const uint64_t* other = rows + size_t(k) * words_;
      for (size_t i = 0; i < words_; ++i)
        if (row[i] != other[i]) return false;
      return true;
    });
  }

  size_t words_;
  std::vector<uint64_t> rows_;
  size_t count_ = 0;  // rows_.size() / words_, without the division
  OpenIndex<> index_;
};

}  // namespace automata
