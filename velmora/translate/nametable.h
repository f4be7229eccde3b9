#pragma once
// Names numbered in order of first appearance and found again through the open-addressing
// index, looked up from a view of the text they stand in, without a copy.
#include <QHashFunctions>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <type_traits>
#include <vector>

#include "automata/openindex.h"

namespace velmora {

// Names is a QStringList (the table keeps copies of the names) or a std::vector of
// QStringView (for names in texts that outlive the table: adding a name copies nothing).
template <typename Names>
class NameIndex {
 public:
  int size() const { return int(names_.size()); }
  QStringView name(int k) const { return names_[k]; }

  // The number of `name`, or -1.
  int find(QStringView name) const { return look(name, hashOf(name)).number; }

  // The number of `name`, which is added when new.
  int add(QStringView name) {
    const uint64_t h = hashOf(name);
    const auto probe = look(name, h);
    if (probe.number >= 0) return probe.number;
    const int k = size();
    index_.Insert(probe, h, size_t(k));
    if constexpr (std::is_same_v<Names, QStringList>)
      names_.append(name.toString());
    else
      names_.push_back(name);
    return k;
  }

 protected:
  Names names_;

 private:
  static uint64_t hashOf(QStringView name) { return automata::Mix(uint64_t(qHash(name))); }
  automata::OpenIndex<>::Probe look(QStringView name, uint64_t h) const {
    return index_.Find(h, [&](int k, const automata::NoPayload&) { return same(names_[k], name); });
  }
  // Names are short: compared here rather than through a call. Cells copied from one
  // another share their text, which then need not be read.
  static bool same(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    if (a.data() == b.data()) return true;
    for (qsizetype i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

  // Half full at most: a name that is not there is soon told so.
  automata::OpenIndex<> index_{2};
};

class NameTable : public NameIndex<QStringList> {
 public:
  const QStringList& names() const { return names_; }
};

using NameViewTable = NameIndex<std::vector<QStringView>>;

// Pairs of small numbers, each kept once.
class PairSet {
 public:
  // False when the pair was there already.
  bool insert(uint32_t a, uint32_t b) {
    const uint64_t key = (uint64_t(a) << 32) | b;
    const uint64_t h = automata::Mix(key);
    const auto probe = index_.Find(h, [&](int, const Pair& p) { return p.key == key; });
    if (probe.number >= 0) return false;
    index_.Insert(probe, h, index_.Count(), Pair{key});
    return true;
  }

 private:
  struct Pair {
    uint64_t key = 0;
  };
  automata::OpenIndex<Pair> index_{3};
};

}  // namespace velmora
