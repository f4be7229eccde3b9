#include "tiravo/core/transitions.h"

#include <algorithm>
#include <cstring>

TransitionList::TransitionList(const TransitionList& other) { *this = other; }

TransitionList::TransitionList(TransitionList&& other) noexcept {
  size_ = other.size_;
  room_ = other.room_;
  std::memcpy(inline_, other.inline_, sizeof inline_);
  other.size_ = 0;
  other.room_ = kInline;
}

TransitionList& TransitionList::operator=(const TransitionList& other) {
  if (this == &other) return *this;
  Release();
  if (other.Full()) {
    full_ = new std::vector<LTT_Line>(*other.full_);
    room_ = kFull;
    return *this;
  }
  if (other.size_ > kInline) Grow(other.size_);
  std::copy(other.Pairs(), other.Pairs() + 2 * other.size_, Pairs());
  size_ = other.size_;
  return *this;
}

TransitionList& TransitionList::operator=(TransitionList&& other) noexcept {
  if (this == &other) return *this;
  Release();
  size_ = other.size_;
  room_ = other.room_;
  std::memcpy(inline_, other.inline_, sizeof inline_);
  other.size_ = 0;
  other.room_ = kInline;
  return *this;
}

TransitionList::~TransitionList() { Release(); }

void TransitionList::Release() {
  if (Full())
    delete full_;
  else if (room_ > kInline)
    delete[] heap_;
  size_ = 0;
  room_ = kInline;
}

void TransitionList::clear() { Release(); }

LTT_Line TransitionList::operator[](size_t i) const {
  if (Full()) return (*full_)[i];
  LTT_Line t;
  const qint32* p = Pairs() + 2 * i;
  if (p[0] != 0) t.Condition.AddLiteral(p[0]);
  if (p[1] != 0) t.Targets.Add(p[1]);
  return t;
}

void TransitionList::Grow(size_t n) {
  // Only a packed list grows here.
  if (n <= room_) return;
  qint32* fresh = new qint32[2 * n];
  std::copy(Pairs(), Pairs() + 2 * size_, fresh);
  if (room_ > kInline) delete[] heap_;
  heap_ = fresh;
  room_ = uint32_t(n);
}

void TransitionList::reserve(size_t n) {
  if (Full())
    full_->reserve(n);
  else
    Grow(n);
}

void TransitionList::Add(int literal, int target) {
  if (Full()) {
    LTT_Line t;
    if (literal != 0) t.Condition.AddLiteral(literal);
    if (target > 0) t.Targets.Add(target);
    full_->push_back(std::move(t));
    return;
  }
  if (size_ == room_) Grow(std::max<size_t>(2 * size_t(room_), 4));
  qint32* p = Pairs() + 2 * size_;
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
  full_->push_back(std::move(t));
}

void TransitionList::Unpack() {
  if (Full()) return;
  auto* full = new std::vector<LTT_Line>();
  full->reserve(size_ + 1);
  for (size_t i = 0; i < size_; ++i) full->push_back((*this)[i]);
  Release();
  full_ = full;
  room_ = kFull;
}

LTT_Line& TransitionList::Edit(size_t i) {
  Unpack();
  return (*full_)[i];
}

const void* TransitionList::Storage() const {
  if (Full()) return full_->data();
  return Pairs();
}
