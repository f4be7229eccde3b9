#include "tiravo/core/transitions.h"

#include <algorithm>
#include <new>

// The head of a pool's block, its pairs after it. While the pool fills the block, `refs`
// holds kOpen less the lists given parts: no list can take it to 0 before the pool is done.
// Blocks are aligned to their size, so a list finds its block from the address of its pairs.
struct TransitionPoolBlock {
  static constexpr uint64_t kOpen = uint64_t(1) << 62;
  static constexpr size_t kBytes = 16384;
  std::atomic<uint64_t> refs{kOpen};

  static TransitionPoolBlock* Of(const qint32* pairs) {
    return reinterpret_cast<TransitionPoolBlock*>(reinterpret_cast<uintptr_t>(pairs) &
                                                  ~uintptr_t(kBytes - 1));
  }

  static void Drop(TransitionPoolBlock* block, uint64_t n) noexcept {
    if (block->refs.fetch_sub(n, std::memory_order_acq_rel) != n) return;
    block->~TransitionPoolBlock();
    ::operator delete(block, std::align_val_t(kBytes));
  }
};

TransitionList::TransitionList(const TransitionList& other) { *this = other; }

TransitionList& TransitionList::operator=(const TransitionList& other) {
  if (this == &other) return *this;
  if (other.Full()) {
    // Copied first: a failed copy leaves this list as it was.
    auto full = std::make_unique<std::vector<LTT_Line>>(*other.s_.full);
    Release();
    new (&s_.full) std::unique_ptr<std::vector<LTT_Line>>(std::move(full));
    room_ = kFull;
    return *this;
  }
  Release();
  Grow(other.size_);
  for (size_t i = 0; i < other.size_; ++i) std::copy_n(other.Pair(i), 2, Pair(i));
  size_ = other.size_;
  return *this;
}

TransitionList& TransitionList::operator=(TransitionList&& other) noexcept {
  if (this == &other) return *this;
  Release();
  TakeFrom(&other);
  return *this;
}

void TransitionList::TakeFrom(TransitionList* other) noexcept {
  if (other->Full())
    new (&s_.full) std::unique_ptr<std::vector<LTT_Line>>(std::move(other->s_.full));
  else if (other->OnHeap())
    new (&s_.heap) Heap(std::move(other->s_.heap));
  else if (other->Pooled())
    s_.part = other->s_.part;
  else
    std::copy_n(other->s_.pairs, 2 * kInline, s_.pairs);
  size_ = other->size_;
  room_ = other->room_;
  if (other->Pooled()) other->room_ = kInline;  // the part is this list's now
  other->Release();
}

void TransitionList::Release() noexcept {
  if (Full())
    s_.full.~unique_ptr();
  else if (OnHeap())
    s_.heap.~Heap();
  else if (Pooled())
    TransitionPoolBlock::Drop(TransitionPoolBlock::Of(s_.part.rest), 1);
  std::fill_n(s_.pairs, 2 * kInline, 0);
  size_ = 0;
  room_ = kInline;
}

void TransitionList::clear() { Release(); }

const qint32* TransitionList::Pair(size_t i) const {
  if (Pooled()) return i == 0 ? s_.part.first : s_.part.rest + 2 * (i - 1);
  if (!OnHeap()) return s_.pairs + 2 * i;
  return i == 0 ? s_.heap.first : s_.heap.block.get() + 2 * (i - 1);
}

LTT_Line TransitionList::operator[](size_t i) const {
  if (Full()) return (*s_.full)[i];
  LTT_Line t;
  const qint32* p = Pair(i);
  if (p[0] != 0) t.Condition.AddLiteral(p[0]);
  if (p[1] != 0) t.Targets.Add(p[1]);
  return t;
}

void TransitionList::Grow(size_t n) {
  // Only a packed list grows here.
  if (n <= Room()) return;
  std::unique_ptr<qint32[]> block(new qint32[2 * (n - 1)]);
  qint32 first[2] = {0, 0};
  if (size_ > 0) std::copy_n(Pair(0), 2, first);
  for (size_t i = 1; i < size_; ++i) std::copy_n(Pair(i), 2, block.get() + 2 * (i - 1));
  if (OnHeap()) s_.heap.~Heap();
  if (Pooled()) TransitionPoolBlock::Drop(TransitionPoolBlock::Of(s_.part.rest), 1);
  new (&s_.heap) Heap{std::move(block), {first[0], first[1]}};
  room_ = uint32_t(n);
}

void TransitionList::AddPairsAnywhere(const qint32* pairs, size_t n) {
  if (Full() || size_ + n > kMostPacked) {
    for (size_t i = 0; i < n; ++i) Add(pairs[2 * i], pairs[2 * i + 1]);
    return;
  }
  if (size_ + n > Room()) Grow(size_ + n);
  for (size_t i = 0; i < n; ++i) {
    qint32* p = Pair(size_ + i);
    p[0] = pairs[2 * i];
    p[1] = pairs[2 * i + 1] > 0 ? pairs[2 * i + 1] : 0;
  }
  size_ += uint32_t(n);
}

void TransitionList::reserve(size_t n) {
  if (Full())
    s_.full->reserve(n);
  else
    Grow(n);
}

void TransitionList::Add(int literal, int target) {
  if (Full()) {
    LTT_Line t;
    if (literal != 0) t.Condition.AddLiteral(literal);
    if (target > 0) t.Targets.Add(target);
    s_.full->push_back(std::move(t));
    return;
  }
  if (size_ == Room()) Grow(std::max<size_t>(2 * Room(), 4));
  qint32* p = Pair(size_);
  p[0] = literal;
  p[1] = target > 0 ? target : 0;
  ++size_;
}

void TransitionList::push_back(LTT_Line t) {
  if (!Full() && Packable(t)) {
    Add(t.Condition.At(0), t.Targets.At(0));
    return;
  }
  Unpack();
  s_.full->push_back(std::move(t));
}

void TransitionList::Unpack() {
  if (Full()) return;
  auto full = std::make_unique<std::vector<LTT_Line>>();
  full->reserve(size_ + 1);
  for (size_t i = 0; i < size_; ++i) full->push_back((*this)[i]);
  Release();
  new (&s_.full) std::unique_ptr<std::vector<LTT_Line>>(std::move(full));
  room_ = kFull;
}

LTT_Line& TransitionList::Edit(size_t i) {
  Unpack();
  return (*s_.full)[i];
}

const void* TransitionList::Storage() const {
  if (Full()) return s_.full->data();
  if (Pooled()) return s_.part.rest;
  return OnHeap() ? static_cast<const void*>(s_.heap.block.get()) : static_cast<const void*>(s_.pairs);
}

void TransitionPool::FillPart(TransitionList* list, const qint32* pairs, size_t n) {
  const size_t rest = 2 * (n - 1);
  if (size_t(end_ - at_) < rest) {
    Close();
    constexpr size_t bytes = TransitionPoolBlock::kBytes;
    void* raw = ::operator new(bytes, std::align_val_t(bytes));
    block_ = new (raw) TransitionPoolBlock;
    at_ = reinterpret_cast<qint32*>(block_ + 1);
    end_ = at_ + (bytes - sizeof(TransitionPoolBlock)) / sizeof(qint32);
  }
  const auto target = [pairs](size_t i) { return pairs[2 * i + 1] > 0 ? pairs[2 * i + 1] : 0; };
  for (size_t i = 1; i < n; ++i) {
    at_[2 * (i - 1)] = pairs[2 * i];
    at_[2 * (i - 1) + 1] = target(i);
  }
  list->Release();
  list->s_.part = {at_, {pairs[0], target(0)}};
  list->size_ = uint32_t(n);
  list->room_ = TransitionList::kPooled;
  at_ += rest;
  ++parts_;
}

void TransitionPool::Close() noexcept {
  if (!block_) return;
  TransitionPoolBlock::Drop(block_, TransitionPoolBlock::kOpen - parts_);
  block_ = nullptr;
  at_ = end_ = nullptr;
  parts_ = 0;
}
