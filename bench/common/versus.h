#pragma once
// Runs an engine and the plain subset construction on the same automaton in one
// benchmark and reports time and memory as ratios (the best repetition of each).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>

#include "bench/common/subsets.h"

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
template <typename Engine>
void Versus(benchmark::State& state, const Nfa& a, Engine engine) {
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

}  // namespace subsets
