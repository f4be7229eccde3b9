#pragma once
// Runs an engine and the plain subset construction on the same automaton in one
// benchmark and reports time and memory as ratios (the best repetition of each).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>

#include "bench/common/subsets.h"
#include "platform/heap.h"

namespace subsets {

inline size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

struct Figures {
  size_t states = 0, transitions = 0, bytes = 0;
};

inline Figures RunReference(const Nfa& a, bool measureMemory) {
  const size_t base = measureMemory ? HeapInUse() : 0;
  const Dfa d = Determinize(a);
  Figures f;
  f.bytes = measureMemory ? HeapInUse() - base : 0;
  f.states = d.States();
  f.transitions = d.Transitions();
  return f;
}

// `engine(measureMemory)` determinizes the automaton its caller prepared and returns
// what it found; with measureMemory, the most heap it held above what it began with.
// Both sides run many times in one process, as in the programs, which keep freed memory
// for the next run; set for both alike.
inline void KeepHeap() {
  static const bool once = (heap::keepFreed(), true);
  (void)once;
}

template <typename Engine>
void Versus(benchmark::State& state, const Nfa& a, Engine engine) {
  KeepHeap();
  const Figures mine = engine(true);
  const Figures reference = RunReference(a, true);
  if (mine.states != reference.states || mine.transitions != reference.transitions) {
    state.SkipWithError("the engine and the reference disagree");
    return;
  }
  using Clock = std::chrono::steady_clock;
  double best = 1e300, bestReference = 1e300;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(engine(false));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(RunReference(a, false));
    const auto t2 = Clock::now();
    const double e = std::chrono::duration<double>(t1 - t0).count();
    best = std::min(best, e);
    bestReference = std::min(bestReference, std::chrono::duration<double>(t2 - t1).count());
    state.SetIterationTime(e);
  }
  state.counters["states"] = double(mine.states);
  state.counters["transitions"] = double(mine.transitions);
  state.counters["ref_ms"] = bestReference * 1e3;
  state.counters["time_ratio"] = best / bestReference;
  state.counters["B/state"] = double(mine.bytes) / double(mine.states);
  state.counters["ref_B/state"] = double(reference.bytes) / double(reference.states);
  state.counters["mem_ratio"] = double(mine.bytes) / double(std::max<size_t>(reference.bytes, 1));
}

// The families both determinizer benchmarks measure. Blow-up: n = 12, 14, 16, 18. Random:
// N states, K letters, density in tenths of a transition per state and letter; for each N
// and K the lowest density of 1.5, 2, 2.5 and 3 whose result stays under 250,000 states
// (200 states over 8 letters exceed it even at 3).
inline void BlowUpFamilies(benchmark::internal::Benchmark* b) { b->DenseRange(12, 18, 2); }
inline void RandomFamilies(benchmark::internal::Benchmark* b) {
  const int64_t families[][3] = {{30, 2, 15},  {30, 4, 15},  {30, 8, 20},  {50, 2, 15},
                                 {50, 4, 20},  {50, 8, 25},  {100, 2, 15}, {100, 4, 25},
                                 {100, 8, 30}, {200, 2, 20}, {200, 4, 25}, {200, 4, 30}};
  for (const auto& f : families) b->Args({f[0], f[1], f[2]});
}
// The automaton of a random family's run, seeded by its arguments.
inline Nfa RandomFamily(const benchmark::State& state) {
  const int n = int(state.range(0)), k = int(state.range(1));
  return Random(n, k, double(state.range(2)) / 10.0, unsigned(n * 1000 + k * 10 + int(state.range(2))));
}

}  // namespace subsets

// Registers BM_BlowUp and BM_Random over the families above, each automaton measured by
// compare(state, automaton).
#define SUBSETS_BENCHMARK_FAMILIES(compare)                                                              \
  void BM_BlowUp(benchmark::State& state) { compare(state, subsets::BlowUp(int(state.range(0)))); }    \
  BENCHMARK(BM_BlowUp)->Apply(subsets::BlowUpFamilies)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3); \
  void BM_Random(benchmark::State& state) { compare(state, subsets::RandomFamily(state)); }            \
  BENCHMARK(BM_Random)->Apply(subsets::RandomFamilies)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)
