#pragma once
// Runs an engine and the tight subset construction on the same automaton in one
// benchmark and reports time and memory as ratios (the median of the runs of each), and
// whether the engine stays within the targets: 1.5 times the time, twice the memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/common/subsets.h"
#include "platform/heap.h"

namespace subsets {

struct Figures {
  size_t states = 0, transitions = 0, bytes = 0;
};

// The most memory the construction held, counted from the capacities of its arrays.
inline Figures RunReference(const Nfa& a) {
  const Dfa d = Determinize(a);
  Figures f;
  f.bytes = d.peakBytes;
  f.states = d.States();
  f.transitions = d.Transitions();
  return f;
}

// `engine(measureMemory)` determinizes the automaton its caller prepared and returns
// what it found; with measureMemory, the most heap it held above what it began with,
// its result included.
// Both sides run many times in one process, as in the programs, which keep freed memory
// for the next run; set for both alike.
inline void KeepHeap() {
  static const bool once = (heap::keepFreed(), true);
  (void)once;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// Runs of each side per automaton: enough for a median that one slow run does not move.
constexpr int kRuns = 5;
constexpr double kTimeTarget = 1.5, kMemoryTarget = 2.0;

template <typename Engine>
void Versus(benchmark::State& state, const Nfa& a, Engine engine) {
  KeepHeap();
  const Figures mine = engine(true);
  const Figures reference = RunReference(a);
  if (mine.states != reference.states || mine.transitions != reference.transitions) {
    state.SkipWithError("the engine and the reference disagree");
    return;
  }
  using Clock = std::chrono::steady_clock;
  // The sides take turns at running first, so neither always finds the caches and the heap
  // as the other left them; the median of the runs stands for each side.
  std::vector<double> times, referenceTimes;
  bool engineFirst = true;
  for (auto _ : state) {
    double e = 0, r = 0;
    for (int side = 0; side < 2; ++side) {
      const bool engineNow = (side == 0) == engineFirst;
      const auto t0 = Clock::now();
      if (engineNow)
        benchmark::DoNotOptimize(engine(false));
      else
        benchmark::DoNotOptimize(RunReference(a));
      const double t = std::chrono::duration<double>(Clock::now() - t0).count();
      (engineNow ? e : r) = t;
    }
    engineFirst = !engineFirst;
    times.push_back(e);
    referenceTimes.push_back(r);
    state.SetIterationTime(e);
  }
  const double median = Median(times), medianReference = Median(referenceTimes);
  state.counters["states"] = double(mine.states);
  state.counters["transitions"] = double(mine.transitions);
  state.counters["ref_ms"] = medianReference * 1e3;
  state.counters["time_ratio"] = median / medianReference;
  state.counters["B/state"] = double(mine.bytes) / double(mine.states);
  state.counters["ref_B/state"] = double(reference.bytes) / double(reference.states);
  const double timeRatio = median / medianReference;
  const double memoryRatio = double(mine.bytes) / double(std::max<size_t>(reference.bytes, 1));
  state.counters["mem_ratio"] = memoryRatio;
  const bool meets = timeRatio <= kTimeTarget && memoryRatio <= kMemoryTarget;
  char label[96];
  std::snprintf(label, sizeof label, "%s: time %.2fx (target %.1fx), memory %.2fx (target %.1fx)",
                meets ? "meets" : "MISSES", timeRatio, kTimeTarget, memoryRatio, kMemoryTarget);
  state.SetLabel(label);
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
#define SUBSETS_BENCHMARK_FAMILIES(compare)                                                         \
  void BM_BlowUp(benchmark::State& state) { compare(state, subsets::BlowUp(int(state.range(0)))); } \
  BENCHMARK(BM_BlowUp)                                                                              \
      ->Apply(subsets::BlowUpFamilies)                                                              \
      ->UseManualTime()                                                                             \
      ->Unit(benchmark::kMillisecond)                                                               \
      ->Iterations(subsets::kRuns);                                                                 \
  void BM_Random(benchmark::State& state) { compare(state, subsets::RandomFamily(state)); }         \
  BENCHMARK(BM_Random)                                                                              \
      ->Apply(subsets::RandomFamilies)                                                              \
      ->UseManualTime()                                                                             \
      ->Unit(benchmark::kMillisecond)                                                               \
      ->Iterations(subsets::kRuns)
