#pragma once
// Short keys (runs of numbers or of characters) numbered in order of first appearance, for
// converters that look up many names or sets in long texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <vector>

#include <QStringView>

// A hash of a run of bytes, read eight at a time.
inline uint64_t hashBytes(const void* data, size_t bytes) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint64_t h = 0x9E3779B97F4A7C15ULL ^ (bytes * 0xC2B2AE3D27D4EB4FULL);
  for (; bytes >= 8; bytes -= 8, p += 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = (h ^ w) * 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 31;
  }
  if (bytes) {
    uint64_t w = 0;
    std::memcpy(&w, p, bytes);
    h = (h ^ w) * 0xBF58476D1CE4E5B9ULL;
  }
  h ^= h >> 29;
  h *= 0x94D049BB133111EBULL;
  return h ^ (h >> 32);
}

// Keys (runs of T), each kept once and numbered in order of first appearance. The keys lie
// end to end in one array, and a slot of the table tells where its key lies: a look-up
// reads the slot and the key, nothing else.
template <typename T>
class KeyTable {
 public:
  KeyTable() : slots_(16) {}
  int size() const { return int(starts_.size()); }
  const T* key(int k) const { return pool_.data() + starts_[size_t(k)]; }
  size_t length(int k) const {
    return (size_t(k) + 1 < starts_.size() ? starts_[size_t(k) + 1] : pool_.size()) - starts_[size_t(k)];
  }

  static uint64_t hash(const T* key, size_t n) { return hashBytes(key, n * sizeof(T)); }
  // Asks for the slot of a key about to be looked up, so that several look-ups wait for
  // memory at once rather than one after another.
  void prefetch(uint64_t h) const { __builtin_prefetch(&slots_[size_t(h >> 32) & (slots_.size() - 1)]); }

  // The number of key[0..n), or -1.
  int find(const T* key, size_t n, uint64_t h) const {
    const uint32_t tag = uint32_t(h >> 32);
    const size_t mask = slots_.size() - 1;
    for (size_t i = tag & mask; slots_[i].id; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.tag == tag && s.length == n && std::equal(key, key + n, pool_.data() + s.start)) return int(s.id) - 1;
    }
    return -1;
  }

  // The number of key[0..n), which is added when new; `added` tells which.
  int add(const T* key, size_t n, bool* added) { return add(key, n, hash(key, n), added); }
  int add(const T* key, size_t n, uint64_t h, bool* added) {
    const uint32_t tag = uint32_t(h >> 32);
    const size_t mask = slots_.size() - 1;
    size_t i = tag & mask;
    for (; slots_[i].id; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.tag != tag || s.length != n) continue;
      // Keys are short: a loop beats a call to memcmp.
      const T* stored = pool_.data() + s.start;
      size_t j = 0;
      while (j < n && stored[j] == key[j]) ++j;
      if (j == n) {
        *added = false;
        return int(s.id) - 1;
      }
    }
    const int k = size();
    slots_[i] = Slot{tag, uint32_t(k + 1), uint32_t(pool_.size()), uint32_t(n)};
    starts_.push_back(uint32_t(pool_.size()));
    pool_.insert(pool_.end(), key, key + n);
    if (2 * starts_.size() > slots_.size()) grow();
    *added = true;
    return k;
  }

 private:
  struct Slot {
    // tag is the high half of the key's hash, which also places the slot: growing the
    // table reads no key. id is the key's number plus 1; 0 is a free slot.
    uint32_t tag, id;
    uint32_t start, length;  // plain fields: a new table is zeroed in one go
  };
  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (!s.id) continue;
      size_t i = s.tag & mask;
      while (slots_[i].id) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::vector<uint32_t> starts_;
  std::vector<T> pool_;
};

// Names numbered in order of first appearance, looked up from views of a text.
class NameKeys {
 public:
  static uint64_t hash(QStringView name) { return KeyTable<char16_t>::hash(name.utf16(), size_t(name.size())); }
  int size() const { return keys_.size(); }
  QStringView name(int k) const { return QStringView(keys_.key(k), qsizetype(keys_.length(k))); }
  void prefetch(uint64_t h) const { keys_.prefetch(h); }
  int find(QStringView name) const { return keys_.find(name.utf16(), size_t(name.size()), hash(name)); }
  int add(QStringView name, uint64_t h, bool* added) { return keys_.add(name.utf16(), size_t(name.size()), h, added); }

 private:
  KeyTable<char16_t> keys_;
};
