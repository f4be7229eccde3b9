#include "tiravo/core/namelist.h"

NameList::NameList(int count, Maker maker) : maker_(std::move(maker)), count_(count) {}

NameList& NameList::operator=(const QStringList& names) {
  names_ = names;
  Forget();
  return *this;
}

const QString& NameList::at(int i) const {
  if (!maker_) return names_.at(i);
  if (made_.empty()) {
    names_.resize(count_);
    made_.assign(size_t(count_), false);
  }
  if (!made_[size_t(i)]) {
    names_[i] = maker_(i);
    made_[size_t(i)] = true;
    if (++madeCount_ == count_) Forget();  // all made: what the maker holds is not needed
  }
  return names_.at(i);
}

const QStringList& NameList::All() const {
  for (int i = 0; maker_ && i < count_; ++i) at(i);
  return names_;
}

QStringList& NameList::Edit() {
  All();
  return names_;
}

void NameList::Forget() const {
  maker_ = nullptr;
  count_ = 0;
  std::vector<bool>().swap(made_);
  madeCount_ = 0;
}

NameList& NameList::operator<<(const QString& name) {
  Edit() << name;
  return *this;
}
