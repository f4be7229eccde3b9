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
  NameTable() : slots_(16, 0) {}

  const QStringList& names() const { return names_; }
  int size() const { return int(names_.size()); }

  // The number of `name`, or -1.
  int find(QStringView name) const { return lookup(name, hashOf(name)); }

  // The number of `name`, which is added when new.
  int add(QStringView name) {
    const uint32_t h = hashOf(name);
    const int found = lookup(name, h);
    if (found >= 0) return found;
    const int k = size();
    names_.append(name.toString());
    if (2 * (size_t(k) + 1) > slots_.size()) {
      // Half full at most: a name that is not there is soon told so.
      std::vector<uint64_t> old(slots_.size() * 2, 0);
      old.swap(slots_);
      for (uint64_t slot : old)
        if (slot) place(slot);
    }
    place((uint64_t(h) << 32) | uint64_t(k + 1));
    return k;
  }

 private:
  static uint32_t hashOf(QStringView name) { return uint32_t(qHash(name)); }
  static size_t spread(uint32_t h) { return size_t(h) * 0x9E3779B1u; }

  // A slot holds the name's hash above its number plus 1; 0 is free.
  int lookup(QStringView name, uint32_t h) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = (spread(h) >> 7) & mask; slots_[i]; i = (i + 1) & mask) {
      if (uint32_t(slots_[i] >> 32) != h) continue;
      const int k = int(uint32_t(slots_[i])) - 1;
      if (names_.at(k) == name) return k;
    }
    return -1;
  }
  void place(uint64_t slot) {
    const size_t mask = slots_.size() - 1;
    size_t i = (spread(uint32_t(slot >> 32)) >> 7) & mask;
    while (slots_[i]) i = (i + 1) & mask;
    slots_[i] = slot;
  }

  QStringList names_;
  std::vector<uint64_t> slots_;
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

// Names numbered in order of first appearance, for names that stand in texts which outlive
// the table: it keeps views of them, so adding a name copies nothing.
class NameViewTable {
 public:
  NameViewTable() : slots_(16, 0) {}

  int size() const { return int(names_.size()); }
  QStringView name(int k) const { return names_[size_t(k)]; }

  // The number of `name`, or -1.
  int find(QStringView name) const { return lookup(name, uint32_t(qHash(name))).number; }

  // The number of `name`, which is added when new.
  int add(QStringView name) {
    const uint32_t h = uint32_t(qHash(name));
    const Probe p = lookup(name, h);
    if (p.number >= 0) return p.number;
    const int k = size();
    names_.push_back(name);
    const uint64_t slot = (uint64_t(h) << 32) | uint64_t(k + 1);
    if (2 * names_.size() <= slots_.size()) {
      slots_[p.free] = slot;
      return k;
    }
    std::vector<uint64_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    for (uint64_t s : old)
      if (s) slots_[lookup(QStringView(), uint32_t(s >> 32), false).free] = s;
    slots_[lookup(QStringView(), h, false).free] = slot;
    return k;
  }

 private:
  struct Probe {
    int number;   // the name's number, or -1
    size_t free;  // else the free slot where it belongs
  };
  // A slot holds the name's hash above its number plus 1; 0 is free.
  Probe lookup(QStringView name, uint32_t h, bool compare = true) const {
    const size_t mask = slots_.size() - 1;
    size_t i = (size_t(h) * 0x9E3779B1u >> 7) & mask;
    for (; slots_[i]; i = (i + 1) & mask) {
      if (!compare || uint32_t(slots_[i] >> 32) != h) continue;
      const int k = int(uint32_t(slots_[i])) - 1;
      if (same(names_[size_t(k)], name)) return {k, 0};
    }
    return {-1, i};
  }
  // Names are short: compared here rather than through a call. Cells copied from one
  // another share their text, which then need not be read.
  static bool same(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    if (a.data() == b.data()) return true;
    for (qsizetype i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

  std::vector<QStringView> names_;
  std::vector<uint64_t> slots_;
};
