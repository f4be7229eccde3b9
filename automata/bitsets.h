#pragma once
// Event sets of a subset construction as bitsets (event e is bit e-1 of a row of
// `words` 64-bit words), kept side by side in one array and found again through an
// open-addressing table: no block per set and no copy of a set to look it up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace automata {

inline bool TestBit(const uint64_t* row, int e) { return (row[size_t(e - 1) / 64] >> ((e - 1) % 64)) & 1u; }
inline void SetBit(uint64_t* row, int e) { row[size_t(e - 1) / 64] |= uint64_t(1) << ((e - 1) % 64); }
inline bool IsZero(const uint64_t* row, size_t words) {
  return std::all_of(row, row + words, [](uint64_t w) { return w == 0; });
}
inline void OrInto(uint64_t* into, const uint64_t* row, size_t words) {
  for (size_t k = 0; k < words; ++k) into[k] |= row[k];
}

// Calls f(e) for each event of the row, in ascending order.
template <typename F>
void ForEachEvent(const uint64_t* row, size_t words, F f) {
  for (size_t w = 0; w < words; ++w)
    for (uint64_t bits = row[w]; bits; bits &= bits - 1) f(int(w * 64) + __builtin_ctzll(bits) + 1);
}

inline int CountEvents(const uint64_t* row, size_t words) {
  int n = 0;
  for (size_t w = 0; w < words; ++w) n += __builtin_popcountll(row[w]);
  return n;
}

// The sets found so far, numbered from 0 in the order they were added.
class SetTable {
 public:
  explicit SetTable(size_t words) : words_(std::max<size_t>(words, 1)), slots_(64, -1) {}

  size_t Words() const { return words_; }
  size_t Size() const { return rows_.size() / words_; }
  const uint64_t* Row(size_t k) const { return &rows_[k * words_]; }

  // The number of `row`, or -1 when it is not there yet.
  int Find(const uint64_t* row) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = Hash(row) & mask; slots_[i] >= 0; i = (i + 1) & mask)
      if (Same(row, Row(size_t(slots_[i])))) return slots_[i];
    return -1;
  }

  // Adds `row`, which must not be there yet, and returns its number.
  int Add(const uint64_t* row) {
    const int k = int(Size());
    rows_.insert(rows_.end(), row, row + words_);
    if (4 * (size_t(k) + 1) > 3 * slots_.size()) {
      // Three quarters full: twice the room, every set placed again.
      std::vector<int32_t> bigger(slots_.size() * 2, -1);
      slots_.swap(bigger);
      for (int s = 0; s < k; ++s) Place(s);
    }
    Place(k);
    return k;
  }

  // The number of `row`, added when it is not there yet (*added tells which); one look
  // for both. `row` must not be one of the table's own rows.
  int FindOrAdd(const uint64_t* row, bool* added) {
    const size_t mask = slots_.size() - 1;
    size_t i = Hash(row) & mask;
    for (; slots_[i] >= 0; i = (i + 1) & mask)
      if (Same(row, Row(size_t(slots_[i])))) {
        *added = false;
        return slots_[i];
      }
    *added = true;
    const int k = int(Size());
    if (4 * (size_t(k) + 1) > 3 * slots_.size()) return Add(row);  // grows: every set placed again
    rows_.insert(rows_.end(), row, row + words_);
    slots_[i] = k;
    return k;
  }

  // Keeps the sets, forgets how to find them.
  void ReleaseIndex() { std::vector<int32_t>().swap(slots_); }

  // Hands the sets over, row after row, and leaves the table empty.
  std::vector<uint64_t> TakeRows() {
    std::vector<int32_t>(64, -1).swap(slots_);
    std::vector<uint64_t> rows;
    rows.swap(rows_);
    return rows;
  }

 private:
  bool Same(const uint64_t* a, const uint64_t* b) const {
    // A loop: rows are a few words, too short for a call to memcmp to pay.
    for (size_t i = 0; i < words_; ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  uint64_t Hash(const uint64_t* row) const {
    uint64_t h = 0x9E3779B97F4A7C15ULL;
    for (size_t i = 0; i < words_; ++i) {
      uint64_t z = h ^ row[i];
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      h = z ^ (z >> 31);
    }
    return h;
  }
  void Place(int k) {
    const size_t mask = slots_.size() - 1;
    size_t i = Hash(Row(size_t(k))) & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = k;
  }

  size_t words_;
  std::vector<uint64_t> rows_;
  std::vector<int32_t> slots_;
};

}  // namespace automata
