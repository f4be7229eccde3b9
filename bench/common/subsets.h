#pragma once
// Nondeterministic automata over abstract letters for measuring determinizers, and the
// tight subset construction over bitsets the engines are measured against. Header only:
// the benchmarks and the tests that compare an engine with it include it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

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
  size_t peakBytes = 0;  // the most memory the construction held, its result included
  size_t States() const { return words ? sets.size() / size_t(words) : 0; }
  size_t Transitions() const {
    size_t n = 0;
    for (int32_t t : next) n += t >= 0;
    return n;
  }
};

// The tight construction the engines are measured against, on nothing of the project's:
// a row of W words fixed at compile time, one successor row per state and letter, the
// rows of a state's successors gathered in one pass over its states, open addressing
// with the 32-bit hash in the slot at most half full, and flat result arrays.
template <int W>
class Tight {
 public:
  struct Row {
    uint64_t w[W];
  };

  static Dfa Run(const Nfa& m, size_t limit) {
    const size_t letters = size_t(m.letters);
    std::vector<Row> step(size_t(m.states) * letters, Row{});
    for (int s = 0; s < m.states; ++s)
      for (size_t a = 0; a < letters; ++a)
        for (int t : m.Next(s, int(a))) step[size_t(s) * letters + a].w[t / 64] |= uint64_t(1) << (t % 64);

    Tight t;
    Row start{};
    start.w[0] = 1;  // {0}
    t.Number(start);
    std::vector<Row> to(letters);
    size_t peak = 0;
    for (size_t k = 0; k < t.count_; ++k) {
      if (t.count_ > limit) return Dfa();
      const Row from = t.rows_[k];
      std::fill(to.begin(), to.end(), Row{});
      for (int i = 0; i < W; ++i)
        for (uint64_t bits = from.w[i]; bits; bits &= bits - 1) {
          const Row* row = &step[(size_t(i) * 64 + size_t(__builtin_ctzll(bits))) * letters];
          for (size_t a = 0; a < letters; ++a)
            for (int j = 0; j < W; ++j) to[a].w[j] |= row[a].w[j];
        }
      for (size_t a = 0; a < letters; ++a) {
        uint64_t any = 0;
        for (int j = 0; j < W; ++j) any |= to[a].w[j];
        t.next_.push_back(any ? t.Number(to[a]) : -1);
      }
      if ((k & 1023) == 0) peak = std::max(peak, t.Bytes());
    }
    Dfa d;
    d.peakBytes = std::max(peak, t.Bytes()) + step.capacity() * sizeof(Row) + to.capacity() * sizeof(Row);
    d.words = W;
    d.sets.resize(t.count_ * W);
    std::memcpy(d.sets.data(), t.rows_.data(), t.count_ * sizeof(Row));
    d.next.swap(t.next_);
    return d;
  }

 private:
  struct Slot {
    uint32_t hash, id;  // id: the state's number + 1, 0 for a free slot
  };

  static uint32_t Hash(const Row& r) {
    uint64_t x = r.w[0];
    for (int j = 1; j < W; ++j) x = ((x << 29) | (x >> 35)) ^ r.w[j];
    return uint32_t(((x ^ (x >> 32)) * 0x9E3779B97F4A7C15ULL) >> 32);
  }

  size_t Bytes() const {
    return rows_.capacity() * sizeof(Row) + index_.capacity() * sizeof(Slot) +
           next_.capacity() * sizeof(int32_t);
  }

  // The number of `r`, added when it is new. The slot is placed by the top bits of the
  // hash, where the multiply has mixed in every bit of the row.
  int32_t Number(const Row& r) {
    const uint32_t h = Hash(r);
    const size_t mask = index_.size() - 1;
    size_t i = h >> shift_;
    for (;; i = (i + 1) & mask) {
      const Slot s = index_[i];
      if (s.id == 0) break;
      if (s.hash == h && Same(r, rows_[s.id - 1])) return int32_t(s.id - 1);
    }
    const int32_t id = int32_t(count_++);
    index_[i] = {h, uint32_t(id + 1)};
    if (count_ > rows_.size()) rows_.resize(rows_.size() * 2);
    rows_[size_t(id)] = r;
    if (2 * count_ > index_.size()) Grow();
    return id;
  }
  void Grow() {
    std::vector<Slot> grown(index_.size() * 2);
    --shift_;
    const size_t mask = grown.size() - 1;
    for (const Slot& s : index_) {
      if (!s.id) continue;
      size_t j = s.hash >> shift_;
      while (grown[j].id) j = (j + 1) & mask;
      grown[j] = s;
    }
    index_.swap(grown);
  }
  static bool Same(const Row& a, const Row& b) {
    for (int j = 0; j < W; ++j)
      if (a.w[j] != b.w[j]) return false;
    return true;
  }

  std::vector<Slot> index_ = std::vector<Slot>(64);
  int shift_ = 32 - 6;
  std::vector<Row> rows_ = std::vector<Row>(32);  // the first count_ are states
  size_t count_ = 0;
  std::vector<int32_t> next_;
};

// Stops with an empty result once more than `limit` states are found; up to 256 states.
inline Dfa Determinize(const Nfa& m, size_t limit = SIZE_MAX) {
  const int words = (m.states + 63) / 64;
  if (words <= 1) return Tight<1>::Run(m, limit);
  if (words == 2) return Tight<2>::Run(m, limit);
  if (words <= 4) return Tight<4>::Run(m, limit);
  return Dfa();
}

}  // namespace subsets
