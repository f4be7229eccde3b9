#pragma once
// Short keys (runs of numbers or of characters) numbered in order of first appearance, for
// converters that look up many names or sets in long texts.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include <QStringView>

#include "automata/openindex.h"

namespace velmora {

// Keys (runs of T), each kept once and numbered in order of first appearance. The keys lie
// end to end in one array, and a slot of the index tells where its key lies: a look-up
// reads the slot and the key, nothing else.
template <typename T>
class KeyTable {
 public:
  int size() const { return int(starts_.size()); }
  const T* key(int k) const { return pool_.data() + starts_[size_t(k)]; }
  size_t length(int k) const {
    return (size_t(k) + 1 < starts_.size() ? starts_[size_t(k) + 1] : pool_.size()) - starts_[size_t(k)];
  }

  static uint64_t hash(const T* key, size_t n) { return automata::HashBytes(key, n * sizeof(T)); }
  // Asks for the slot of a key about to be looked up, so that several look-ups wait for
  // memory at once rather than one after another.
  void prefetch(uint64_t h) const { index_.Prefetch(h); }

  // The number of key[0..n), or -1.
  int find(const T* key, size_t n, uint64_t h) const { return look(key, n, h).number; }

  // The number of key[0..n), which is added when new; `added` tells which.
  int add(const T* key, size_t n, bool* added) { return add(key, n, hash(key, n), added); }
  int add(const T* key, size_t n, uint64_t h, bool* added) {
    const auto probe = look(key, n, h);
    *added = probe.number < 0;
    if (!*added) return probe.number;
    // The slot keeps where the key lies in 32 bits.
    if (pool_.size() + n > std::numeric_limits<uint32_t>::max())
      throw std::length_error("too many keys for one table");
    const int k = size();
    index_.Insert(probe, h, size_t(k), Extent{uint32_t(pool_.size()), uint32_t(n)});
    starts_.push_back(uint32_t(pool_.size()));
    pool_.insert(pool_.end(), key, key + n);
    return k;
  }

 private:
  struct Extent {
    uint32_t start = 0, length = 0;
  };
  typename automata::OpenIndex<Extent>::Probe look(const T* key, size_t n, uint64_t h) const {
    return index_.Find(h, [&](int, const Extent& e) {
      if (e.length != n) return false;
      // Keys are short: a loop beats a call to memcmp.
      const T* stored = pool_.data() + e.start;
      for (size_t j = 0; j < n; ++j)
        if (stored[j] != key[j]) return false;
      return true;
    });
  }

  // Half full at most: a look-up seldom probes more than one slot.
  automata::OpenIndex<Extent> index_{2};
  std::vector<uint32_t> starts_;
  std::vector<T> pool_;
};

// Names numbered in order of first appearance, looked up from views of a text.
class NameKeys {
 public:
  static uint64_t hash(QStringView name) {
    return KeyTable<char16_t>::hash(name.utf16(), size_t(name.size()));
  }
  int size() const { return keys_.size(); }
  QStringView name(int k) const { return QStringView(keys_.key(k), qsizetype(keys_.length(k))); }
  void prefetch(uint64_t h) const { keys_.prefetch(h); }
  int find(QStringView name) const { return keys_.find(name.utf16(), size_t(name.size()), hash(name)); }
  int add(QStringView name, uint64_t h, bool* added) {
    return keys_.add(name.utf16(), size_t(name.size()), h, added);
  }

 private:
  KeyTable<char16_t> keys_;
};

}  // namespace velmora
