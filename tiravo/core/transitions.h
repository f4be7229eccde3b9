#pragma once
// The transitions of one line of a table. Lines of a determinized table mostly hold
// a few transitions of one letter to one state each; those are kept as pairs of
// numbers (8 bytes a transition, the first two inside the list itself) rather than as
// two sets each. The first transition of any other shape turns the whole list into
// plain LTT_Line objects. Reading gives LTT_Line values; Edit changes one in place.
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
  static bool Packable(const LTT_Line& t) { return t.Condition.Size() <= 1 && t.Targets.Size() <= 1; }
  bool Full() const { return room_ == kFull; }
  bool OnHeap() const { return !Full() && room_ > kInline; }
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
  // Packed, more than kInline pairs: a block of room_ - 1 pairs and then the first pair,
  // so that the block is a size the allocator serves without spare room for the common
  // counts.
  struct Heap {
    std::unique_ptr<qint32[]> block;
    qint32 first[2];
  };
  // Which member holds the transitions follows from room_: packed, up to kInline pairs,
  // `pairs`; packed, more (room_ > kInline), `heap`; unpacked (room_ == kFull), `full`,
  // a vector of them all.
  union Store {
    qint32 pairs[2 * kInline];
    Heap heap;
    std::unique_ptr<std::vector<LTT_Line>> full;
    Store() : pairs{} {}
    ~Store() {}  // the list ends the member that holds its transitions
  };
  uint32_t size_ = 0;
  uint32_t room_ = kInline;
  Store s_;
};
