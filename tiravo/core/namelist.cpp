#include "tiravo/core/namelist.h"

NameList::NameList(int count, Maker maker) : maker_(std::move(maker)), count_(count) {}

NameList& NameList::operator=(const QStringList& names) {
  names_ = names;
  maker_ = nullptr;
  count_ = 0;
  made_.clear();
  madeCount_ = 0;
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
    ++madeCount_;
  }
  return names_.at(i);
}

const QStringList& NameList::All() const {
  if (maker_ && madeCount_ < count_)
    for (int i = 0; i < count_; ++i) at(i);
  return names_;
}

QStringList& NameList::Edit() {
  if (maker_) {
    All();
    maker_ = nullptr;
    count_ = 0;
    std::vector<bool>().swap(made_);
    madeCount_ = 0;
  }
  return names_;
}

NameList& NameList::operator<<(const QString& name) {
  Edit() << name;
  return *this;
}
