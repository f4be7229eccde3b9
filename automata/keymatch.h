#pragma once
// The lines of a table whose keys an event set satisfies. A key is a conjunction of
// literals: +e asks for event e, -e for its absence. The lines are indexed once by the
// first event their key asks for, so a set looks only at the lines it can match.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "automata/bitsets.h"

namespace automata {

class KeyMatcher {
 public:
  KeyMatcher() { keyStart_.push_back(0); }

  // Adds the next line (numbered from 0) with its key's literals [first, last).
  template <typename It>
  void AddLine(It first, It last) {
    int32_t firstEvent = 0;
    for (; first != last; ++first) {
      const int32_t l = int32_t(*first);
      lits_.push_back(l);
      if (l > 0 && firstEvent == 0) firstEvent = l;
    }
    keyStart_.push_back(uint32_t(lits_.size()));
    firstEvent_.push_back(firstEvent);
  }

  // After the last line. A counting sort by the first event keeps the lines' order within
  // each event.
  void Index() {
    const int32_t top = firstEvent_.empty() ? 0 : *std::max_element(firstEvent_.begin(), firstEvent_.end());
    eventStart_.assign(size_t(top) + 2, 0);
    for (int32_t e : firstEvent_)
      if (e > 0) ++eventStart_[size_t(e) + 1];
    for (size_t e = 1; e < eventStart_.size(); ++e) eventStart_[e] += eventStart_[e - 1];
    byEvent_.resize(eventStart_.back());
    std::vector<uint32_t> fill(eventStart_.begin(), eventStart_.end() - 1);
    anyKey_.clear();
    for (size_t j = 0; j < firstEvent_.size(); ++j) {
      const int32_t e = firstEvent_[j];
      if (e == 0) {
        anyKey_.push_back(int32_t(j));
        continue;
      }
      const bool alone = keyStart_[j + 1] - keyStart_[j] == 1;
      byEvent_[fill[size_t(e)]++] = alone ? ~int32_t(j) : int32_t(j);
    }
    std::vector<int32_t>().swap(firstEvent_);
  }

  // Line j's key holds in `set`, whose words reach every event the key names.
  bool Holds(int j, const uint64_t* set) const {
    for (uint32_t k = keyStart_[size_t(j)]; k < keyStart_[size_t(j) + 1]; ++k) {
      const int32_t l = lits_[k];
      if (l > 0 ? !TestBit(set, l) : TestBit(set, -l)) return false;
    }
    return true;
  }

  // The lines whose keys `set` (of `words` words) satisfies, in the order of the table.
  const std::vector<int32_t>& Match(const uint64_t* set, size_t words) {
    matched_.clear();
    bool ordered = true;  // as in most tables, where line j asks for event j + 1
    const size_t indexed = eventStart_.empty() ? 0 : eventStart_.size() - 1;
    ForEachEvent(set, words, [&](int e) {
      if (size_t(e) >= indexed) return;  // no key starts with it
      for (uint32_t k = eventStart_[size_t(e)]; k < eventStart_[size_t(e) + 1]; ++k) {
        int32_t j = byEvent_[k];
        if (j < 0)
          j = ~j;  // the key asks for this event alone
        else if (!Holds(j, set))
          continue;
        if (!matched_.empty() && matched_.back() > j) ordered = false;
        matched_.push_back(j);
      }
    });
    for (int32_t j : anyKey_)
      if (Holds(j, set)) {
        if (!matched_.empty() && matched_.back() > j) ordered = false;
        matched_.push_back(j);
      }
    if (!ordered) std::sort(matched_.begin(), matched_.end());
    return matched_;
  }

 private:
  std::vector<int32_t> lits_;  // line j's literals: lits_[keyStart_[j] .. keyStart_[j + 1])
  std::vector<uint32_t> keyStart_;
  std::vector<int32_t> firstEvent_;  // until Index(): the first event of each line's key, or 0
  // Lines by the first event their key asks for: byEvent_[eventStart_[e] .. eventStart_[e + 1]);
  // ~j for a line j whose key is that event alone.
  std::vector<uint32_t> eventStart_;
  std::vector<int32_t> byEvent_;
  std::vector<int32_t> anyKey_;  // lines whose key asks for no event: tried for every set
  std::vector<int32_t> matched_;
};

}  // namespace automata
