#pragma once
// Names numbered in order of first appearance and found again by open addressing: the
// names stay in one list, the table holds only their numbers, and a name is looked up
// from a view of the text it stands in, without a copy.
#include <QHashFunctions>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

class NameTable {
 public:
  NameTable() : slots_(16, -1) {}

  const QStringList& names() const { return names_; }
  int size() const { return int(names_.size()); }

  // The number of `name`, or -1.
  int find(QStringView name) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = qHash(name) & mask; slots_[i] >= 0; i = (i + 1) & mask)
      if (names_.at(slots_[i]) == name) return slots_[i];
    return -1;
  }

  // The number of `name`, which is added when new.
  int add(QStringView name) {
    const int found = find(name);
    if (found >= 0) return found;
    const int k = size();
    names_.append(name.toString());
    if (4 * (size_t(k) + 1) > 3 * slots_.size()) {
      slots_.assign(slots_.size() * 2, -1);
      for (int s = 0; s < k; ++s) place(s);
    }
    place(k);
    return k;
  }

 private:
  void place(int k) {
    const size_t mask = slots_.size() - 1;
    size_t i = qHash(QStringView(names_.at(k))) & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = k;
  }

  QStringList names_;
  std::vector<int32_t> slots_;
};

// Pairs of small numbers, each kept once (open addressing over 64-bit keys).
class PairSet {
 public:
  PairSet() : slots_(16, kEmpty) {}
  // False when the pair was there already.
  bool insert(uint32_t a, uint32_t b) {
    const uint64_t key = (uint64_t(a) << 32) | b;
    size_t mask = slots_.size() - 1;
    size_t i = spread(key) & mask;
    for (; slots_[i] != kEmpty; i = (i + 1) & mask)
      if (slots_[i] == key) return false;
    slots_[i] = key;
    if (4 * ++count_ > 3 * slots_.size()) {
      std::vector<uint64_t> old(slots_.size() * 2, kEmpty);
      old.swap(slots_);
      mask = slots_.size() - 1;
      for (uint64_t k : old) {
        if (k == kEmpty) continue;
        size_t j = spread(k) & mask;
        while (slots_[j] != kEmpty) j = (j + 1) & mask;
        slots_[j] = k;
      }
    }
    return true;
  }

 private:
  static constexpr uint64_t kEmpty = ~uint64_t(0);
  static size_t spread(uint64_t k) {
    k = (k ^ (k >> 30)) * 0xBF58476D1CE4E5B9ULL;
    k = (k ^ (k >> 27)) * 0x94D049BB133111EBULL;
    return size_t(k ^ (k >> 31));
  }
  std::vector<uint64_t> slots_;
  size_t count_ = 0;
};
