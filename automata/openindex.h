#pragma once
// The one open-addressing index of the tables of numbered keys (sets of a subset
// construction, names, runs of numbers). The keys lie where their owner keeps them; a slot
// holds the high half of the key's hash and the key's number, so growing reads no key and
// a probe reads a key only when the hashes agree. The top bits of that half place the slot. A payload of plain fields can ride in the
// slot, for keys that should be compared without a look elsewhere.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "platform/bits.h"

namespace automata {

// The last step of splitmix64: spreads every bit of z over the whole word.
inline uint64_t Mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// One multiply a word: rows of a subset construction are looked up several times each,
// and their bits are spread enough. The high half is what the index uses.
inline uint64_t HashRow(const uint64_t* row, size_t words) {
  uint64_t x = row[0];
  for (size_t i = 1; i < words; ++i) x = ((x ^ (x >> 32)) * 0xD6E8FEB86659FD93ULL) ^ row[i];
  return (x ^ (x >> 32)) * 0x9E3779B97F4A7C15ULL;
}

// A hash of a run of bytes, read eight at a time.
inline uint64_t HashBytes(const void* data, size_t bytes) {
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

struct NoPayload {};

template <typename Payload = NoPayload>
class OpenIndex {
 public:
  // Numbers run from 0 to kMaxNumber: every user hands them out as int.
  static constexpr size_t kMaxNumber = size_t(std::numeric_limits<int32_t>::max()) - 1;

  struct Probe {
    int number;   // the key's number, or -1
    size_t slot;  // its slot, or else the free one where it belongs
  };

  // Full to at most loadQuarters/4 (1 to 3): fewer probes for keys that are often missing
  // (half full), less room for keys that are mostly found (three quarters).
  explicit OpenIndex(int loadQuarters = 2) : slots_(16), load_(size_t(loadQuarters)) {}

  size_t Count() const { return count_; }

  // The number of the key with hash h that same(number, payload) accepts.
  template <typename Same>
  Probe Find(uint64_t h, Same same) const {
    const uint32_t tag = Tag(h);
    const size_t mask = slots_.size() - 1;
    size_t i = Place(tag);
    for (; slots_[i].id; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.tag == tag && same(int(s.id - 1), static_cast<const Payload&>(s))) return {int(s.id - 1), i};
    }
    return {-1, i};
  }

  // Enters `number` with hash h in the free slot a Find of h has just given (nothing
  // entered in between). Throws std::length_error past kMaxNumber.
  void Insert(const Probe& free, uint64_t h, size_t number, const Payload& payload = Payload()) {
    if (number > kMaxNumber) throw std::length_error("too many keys for one table");
    Slot& s = slots_[free.slot];
    static_cast<Payload&>(s) = payload;
    s.tag = Tag(h);
    s.id = uint32_t(number + 1);
    if (4 * ++count_ > load_ * slots_.size()) Grow();
  }

  // Asks for the slot of a key about to be looked up, so that several look-ups wait for
  // memory at once rather than one after another.
  void Prefetch(uint64_t h) const { bitops::PrefetchRead(&slots_[Place(Tag(h))]); }

  // Forgets every key and gives the memory back.
  void Clear() {
    std::vector<Slot>(16).swap(slots_);
    shift_ = 28;
    count_ = 0;
  }

 private:
  // The key's number plus 1 (0: a free slot) and the high half of its hash, which also
  // places the slot.
  struct Slot : Payload {
    uint32_t tag = 0, id = 0;
  };
  static uint32_t Tag(uint64_t h) { return uint32_t(h >> 32); }
  size_t Place(uint32_t tag) const { return size_t(uint64_t(tag) >> shift_); }

  [[gnu::noinline]] void Grow() {
    // The slot is placed by 32 bits of the hash: more slots would gain nothing.
    if (slots_.size() > (size_t(1) << 31)) throw std::length_error("too many keys for one table");
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    --shift_;
    const size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (!s.id) continue;
      size_t i = Place(s.tag);
      while (slots_[i].id) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  int shift_ = 28;  // 32 less the bits of a slot's place
  size_t load_;
  size_t count_ = 0;
};

}  // namespace automata
