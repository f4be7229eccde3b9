#pragma once
// Nondeterministic automata over abstract letters for measuring determinizers, and the
// plain subset construction over bitsets the engines are measured against. Header only:
// the benchmarks and the tests that compare an engine with it include it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "automata/bitsets.h"

namespace subsets {

// States 0..states-1, letters 0..letters-1; next[s * letters + a] lists the targets of s
// under a in ascending order. The start set is {0}.
struct Nfa {
  int states = 0;
  int letters = 0;
  std::vector<std::vector<int>> next;
  const std::vector<int>& Next(int s, int a) const { return next[size_t(s) * size_t(letters) + size_t(a)]; }
};

// "(a|b)* a (a|b)^{n-1}": 2^n deterministic states.
inline Nfa BlowUp(int n) {
  Nfa m;
  m.states = n + 1;
  m.letters = 2;
  m.next.resize(size_t(m.states) * 2);
  m.next[0] = {0, 1};  // a
  m.next[1] = {0};     // b
  for (int s = 1; s < n; ++s) m.next[size_t(s) * 2] = m.next[size_t(s) * 2 + 1] = {s + 1};
  return m;
}

// Each state and letter gets `density` targets on average (the whole part always, one
// more with the probability of the fraction), drawn without repetition.
inline Nfa Random(int states, int letters, double density, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> coin(0.0, 1.0);
  Nfa m;
  m.states = states;
  m.letters = letters;
  m.next.resize(size_t(states) * size_t(letters));
  const int whole = int(density);
  for (auto& targets : m.next) {
    const int count = whole + (coin(rng) < density - whole ? 1 : 0);
    std::vector<bool> taken(size_t(states), false);
    for (int k = 0; k < count && k < states; ++k) {
      int t = int(rng() % unsigned(states));
      while (taken[size_t(t)]) t = (t + 1) % states;
      taken[size_t(t)] = true;
    }
    for (int t = 0; t < states; ++t)
      if (taken[size_t(t)]) targets.push_back(t);
  }
  return m;
}

// The deterministic automaton: state k stands for the bitset sets[k*words ..], found
// breadth first, letters in order; next[k*letters + a] is its successor or -1.
struct Dfa {
  int words = 0;
  std::vector<uint64_t> sets;
  std::vector<int32_t> next;
  size_t States() const { return words ? sets.size() / size_t(words) : 0; }
  size_t Transitions() const {
    size_t n = 0;
    for (int32_t t : next) n += t >= 0;
    return n;
  }
};

// Stops with an empty result once more than `limit` states are found.
inline Dfa Determinize(const Nfa& m, size_t limit = SIZE_MAX) {
  Dfa d;
  const int w = (m.states + 63) / 64;
  d.words = w;
  const size_t width = size_t(w);
  // The successor bitset of each state and letter.
  std::vector<uint64_t> step(size_t(m.states) * size_t(m.letters) * width, 0);
  for (int s = 0; s < m.states; ++s)
    for (int a = 0; a < m.letters; ++a)
      for (int t : m.Next(s, a))
        step[(size_t(s) * size_t(m.letters) + size_t(a)) * width + size_t(t) / 64] |= uint64_t(1) << (t % 64);

  automata::SetTable table(width);
  std::vector<uint64_t> from(width), to(width);
  from[0] = 1;  // {0}
  table.Add(from.data());
  for (size_t k = 0; k < table.Size(); ++k) {
    if (table.Size() > limit) return Dfa();
    std::copy(table.Row(k), table.Row(k) + width, from.begin());  // the table grows below
    for (int a = 0; a < m.letters; ++a) {
      std::fill(to.begin(), to.end(), 0);
      bool any = false;
      for (size_t i = 0; i < width; ++i) {
        for (uint64_t bits = from[i]; bits; bits &= bits - 1) {
          const size_t s = i * 64 + size_t(automata::CountTrailingZeros(bits));
          const uint64_t* row = &step[(s * size_t(m.letters) + size_t(a)) * width];
          for (size_t j = 0; j < width; ++j) to[j] |= row[j];
        }
      }
      for (size_t j = 0; j < width; ++j) any |= to[j] != 0;
      bool added = false;
      d.next.push_back(any ? table.FindOrAdd(to.data(), &added) : -1);
    }
  }
  d.sets = table.TakeRows();
  return d;
}

}  // namespace subsets
