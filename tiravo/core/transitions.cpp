#include "tiravo/core/transitions.h"

#include <algorithm>

TransitionList::TransitionList(const TransitionList& other) { *this = other; }

TransitionList& TransitionList::operator=(const TransitionList& other) {
  if (this == &other) return *this;
  Release();
  if (other.Full()) {
    SetPointer(new std::vector<LTT_Line>(*other.Pointer<std::vector<LTT_Line>>()));
    room_ = kFull;
    return *this;
  }
  Grow(other.size_);
  for (size_t i = 0; i < other.size_; ++i) std::copy_n(other.Pair(i), 2, Pair(i));
  size_ = other.size_;
  return *this;
}

TransitionList& TransitionList::operator=(TransitionList&& other) noexcept {
  if (this == &other) return *this;
  Release();
  size_ = other.size_;
  room_ = other.room_;
  std::memcpy(w_, other.w_, sizeof w_);
  other.size_ = 0;
  other.room_ = kInline;
  return *this;
}

void TransitionList::Release() {
  if (Full())
    delete Pointer<std::vector<LTT_Line>>();
  else if (OnHeap())
    delete[] Pointer<qint32>();
  size_ = 0;
  room_ = kInline;
}

void TransitionList::clear() { Release(); }

const qint32* TransitionList::Pair(size_t i) const {
  if (!OnHeap()) return w_ + 2 * i;
  return i == 0 ? w_ + 2 : Pointer<qint32>() + 2 * (i - 1);
}

LTT_Line TransitionList::operator[](size_t i) const {
  if (Full()) return (*Pointer<std::vector<LTT_Line>>())[i];
  LTT_Line t;
  const qint32* p = Pair(i);
  if (p[0] != 0) t.Condition.AddLiteral(p[0]);
  if (p[1] != 0) t.Targets.Add(p[1]);
  return t;
}

void TransitionList::Grow(size_t n) {
  // Only a packed list grows here.
  if (n <= room_) return;
  qint32* block = new qint32[2 * (n - 1)];
  qint32 first[2] = {0, 0};
  if (size_ > 0) std::copy_n(Pair(0), 2, first);
  for (size_t i = 1; i < size_; ++i) std::copy_n(Pair(i), 2, block + 2 * (i - 1));
  if (OnHeap()) delete[] Pointer<qint32>();
  SetPointer(block);
  w_[2] = first[0];
  w_[3] = first[1];
  room_ = uint32_t(n);
}

void TransitionList::reserve(size_t n) {
  if (Full())
    Pointer<std::vector<LTT_Line>>()->reserve(n);
  else
    Grow(n);
}

void TransitionList::Add(int literal, int target) {
  if (Full()) {
    LTT_Line t;
    if (literal != 0) t.Condition.AddLiteral(literal);
    if (target > 0) t.Targets.Add(target);
    Pointer<std::vector<LTT_Line>>()->push_back(std::move(t));
    return;
  }
  if (size_ == room_) Grow(std::max<size_t>(2 * size_t(room_), 4));
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
  Pointer<std::vector<LTT_Line>>()->push_back(std::move(t));
}

void TransitionList::Unpack() {
  if (Full()) return;
  auto* full = new std::vector<LTT_Line>();
  full->reserve(size_ + 1);
  for (size_t i = 0; i < size_; ++i) full->push_back((*this)[i]);
  Release();
  SetPointer(full);
  room_ = kFull;
}

LTT_Line& TransitionList::Edit(size_t i) {
  Unpack();
  return (*Pointer<std::vector<LTT_Line>>())[i];
}

const void* TransitionList::Storage() const {
  if (Full()) return Pointer<std::vector<LTT_Line>>()->data();
  return OnHeap() ? static_cast<const void*>(Pointer<qint32>()) : static_cast<const void*>(w_);
}
