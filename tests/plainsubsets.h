#pragma once
// The subset construction the tests compare the determinizers against, written plainly:
// sets of states as sorted vectors found through a std::map. It shares no table with the
// engines (nor with the benchmarks' tight reference), so a fault of theirs cannot hide in it.
#include <map>
#include <vector>

#include "bench/common/subsets.h"

namespace plainsubsets {

// The same result as subsets::Determinize: the states in breadth-first order, letters in
// order, as bitsets of subsets::Dfa; empty once more than `limit` states are found.
inline subsets::Dfa Determinize(const subsets::Nfa& m, size_t limit) {
  std::map<std::vector<int>, int> number;
  std::vector<std::vector<int>> sets{{0}};
  number[sets[0]] = 0;
  subsets::Dfa d;
  for (size_t k = 0; k < sets.size(); ++k) {
    if (sets.size() > limit) return subsets::Dfa();
    for (int a = 0; a < m.letters; ++a) {
      std::vector<bool> in(size_t(m.states), false);
      for (int s : sets[k])
        for (int t : m.Next(s, a)) in[size_t(t)] = true;
      std::vector<int> next;
      for (int t = 0; t < m.states; ++t)
        if (in[size_t(t)]) next.push_back(t);
      if (next.empty()) {
        d.next.push_back(-1);
        continue;
      }
      const auto found = number.emplace(next, int(sets.size()));
      if (found.second) sets.push_back(next);
      d.next.push_back(found.first->second);
    }
  }
  d.words = (m.states + 63) / 64;
  d.sets.assign(sets.size() * size_t(d.words), 0);
  for (size_t k = 0; k < sets.size(); ++k)
    for (int s : sets[k]) d.sets[k * size_t(d.words) + size_t(s) / 64] |= uint64_t(1) << (s % 64);
  return d;
}

}  // namespace plainsubsets
