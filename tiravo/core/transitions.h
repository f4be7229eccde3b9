#pragma once
// The transitions of one line of a table. Lines of a determinized table mostly hold
// a few transitions of one letter to one state each; those are kept as pairs of
// numbers (8 bytes a transition, the first two inside the list itself) rather than as
// two sets each. The first transition of any other shape turns the whole list into
// plain LTT_Line objects. Reading gives LTT_Line values; Edit changes one in place.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "tiravo/core/signalset.h"

// One transition: a condition over the inputs and the events it leads to.
struct LTT_Line {
  SSignalSet Condition;  // empty: the constant true
  USignalSet Targets;
};

struct TransitionPoolBlock;

class TransitionList {
 public:
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = LTT_Line;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = LTT_Line;
    const_iterator(const TransitionList* list, size_t i) : list_(list), i_(i) {}
    LTT_Line operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }
    bool operator!=(const const_iterator& o) const { return i_ != o.i_; }

   private:
    const TransitionList* list_;
    size_t i_;
  };

  TransitionList() = default;
  TransitionList(const TransitionList& other);
  TransitionList(TransitionList&& other) noexcept { TakeFrom(&other); }
  TransitionList& operator=(const TransitionList& other);
  TransitionList& operator=(TransitionList&& other) noexcept;
  ~TransitionList() {
    if (room_ != kInline) Release();  // a short list holds nothing to free
  }

  size_t size() const { return Full() ? s_.full->size() : size_; }
  bool empty() const { return size() == 0; }
  LTT_Line operator[](size_t i) const;
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  void push_back(LTT_Line t);
  // A transition under the one literal `literal` (0: unconditional) to the one event `target`.
  void Add(int literal, int target);
  // Adds n transitions given as pairs {literal or 0, target} (as Add), allocating at most once.
  void AddPairs(const qint32* pairs, size_t n) {
    if (room_ == kInline && size_ + n <= kInline) {  // the common short list, in place
      for (size_t i = 0; i < n; ++i) {
        s_.pairs[2 * (size_ + i)] = pairs[2 * i];
        s_.pairs[2 * (size_ + i) + 1] = pairs[2 * i + 1] > 0 ? pairs[2 * i + 1] : 0;
      }
      size_ += uint32_t(n);
      return;
    }
    AddPairsAnywhere(pairs, n);
  }
  // Room for `n` transitions in all, so that adding them allocates at most once.
  void reserve(size_t n);
  // Transition i, to change in place.
  LTT_Line& Edit(size_t i);
  void clear();
  // Where the transitions are stored: another address means another storage.
  const void* Storage() const;

 private:
  friend class TransitionPool;
  static bool Packable(const LTT_Line& t) { return t.Condition.Size() <= 1 && t.Targets.Size() <= 1; }
  bool Full() const { return room_ == kFull; }
  bool Pooled() const { return room_ == kPooled; }
  bool OnHeap() const { return room_ > kInline && room_ < kPooled; }
  // Pairs the list can hold without another block.
  size_t Room() const { return Pooled() ? size_ : room_; }
  // Packed pair i: {literal or 0, target or 0}.
  const qint32* Pair(size_t i) const;
  qint32* Pair(size_t i) { return const_cast<qint32*>(static_cast<const TransitionList*>(this)->Pair(i)); }
  void Grow(size_t n);
  void AddPairsAnywhere(const qint32* pairs, size_t n);
  void Unpack();
  // Frees what the list holds: empty and packed in place from then on.
  void Release() noexcept;
  // Takes what `other` holds (this list holds nothing) and leaves it empty.
  void TakeFrom(TransitionList* other) noexcept;

  static constexpr uint32_t kInline = 2;
  static constexpr uint32_t kFull = 0xFFFFFFFFu;
  static constexpr uint32_t kPooled = kFull - 1;
  static constexpr uint32_t kMostPacked = kPooled - 1;
  // Packed, more than kInline pairs: a block of room_ - 1 pairs and then the first pair,
  // so that the block is a size the allocator serves without spare room for the common
  // counts.
  struct Heap {
    std::unique_ptr<qint32[]> block;
    qint32 first[2];
  };
  // Packed, in a block of a TransitionPool shared with other lists: the first pair here
  // and the other size_ - 1 in the block, which is found from their address.
  struct Part {
    qint32* rest;
    qint32 first[2];
  };
  // Which member holds the transitions follows from room_: packed, up to kInline pairs,
  // `pairs`; packed, more (kInline < room_ < kPooled), `heap`; packed in a pool's block
  // (room_ == kPooled), `part`; unpacked (room_ == kFull), `full`, a vector of them all.
  union Store {
    qint32 pairs[2 * kInline];
    Heap heap;
    Part part;
    std::unique_ptr<std::vector<LTT_Line>> full;
    Store() : pairs{} {}
    ~Store() {}  // the list ends the member that holds its transitions
  };
  uint32_t size_ = 0;
  uint32_t room_ = kInline;
  Store s_;
};

// Room for the transitions of many lists made at once, such as the lines of a result:
// the lists hold parts of a few large blocks instead of a block each, which costs as much
// as the rest of making a line. A block is freed with the last list or pool holding part
// of it; the lists are otherwise as any other (a copy has a block of its own).
class TransitionPool {
 public:
  TransitionPool() = default;
  TransitionPool(const TransitionPool&) = delete;
  TransitionPool& operator=(const TransitionPool&) = delete;
  ~TransitionPool() { Close(); }

  // Makes the empty list `list` hold the n pairs {literal or 0, target} given (as
  // TransitionList::AddPairs).
  void Fill(TransitionList* list, const qint32* pairs, size_t n) {
    if (n <= TransitionList::kInline || n > kMostPairs) return list->AddPairs(pairs, n);
    FillPart(list, pairs, n);
  }

 private:
  static constexpr size_t kMostPairs = 64;  // longer lists have a block of their own

  void FillPart(TransitionList* list, const qint32* pairs, size_t n);
  // Gives the current block back: freed here when no list holds part of it.
  void Close() noexcept;

  TransitionPoolBlock* block_ = nullptr;
  qint32 *at_ = nullptr, *end_ = nullptr;
  uint64_t parts_ = 0;  // lists given part of block_
};
