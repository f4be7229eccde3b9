// Determinization by the engine against a plain subset construction over bitsets, on the
// same automata in the same run: the blow-up family "(a|b)* a (a|b)^{n-1}" and random
// nondeterministic automata. Reports the time ratio (engine / reference, the best of the
// repetitions of each) and the memory each holds per result state.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>

#include "bench/common/subsets.h"
#include "bench/tiravo/nfatable.h"
#include "tiravo/sim/determ.h"

namespace {

using Clock = std::chrono::steady_clock;

size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

struct Figures {
  size_t states = 0, transitions = 0, bytes = 0;
};

Figures RunEngine(const FTT& m, bool measureMemory) {
  determ::Options o;
  o.initial = USignalSet{1};
  o.eventNames = m.SNames;
  const size_t base = measureMemory ? HeapInUse() : 0;
  size_t peak = base;
  Figures f;
  {
    determ::Run run(m, o);
    int rounds = 0;
    const auto status = run.RunAll([&](const determ::Run&) {
      if (measureMemory && (++rounds & 255) == 0) peak = std::max(peak, HeapInUse());
      return true;
    });
    if (status != determ::Run::Done) return f;
    if (measureMemory) peak = std::max(peak, HeapInUse());
    const auto result = run.TakeResult();
    f.states = result->Lines.size();
    for (const FTT_Line& line : result->Lines) f.transitions += line.Transitions.size();
  }
  f.bytes = peak - base;
  return f;
}

Figures RunReference(const subsets::Nfa& a, bool measureMemory) {
  const size_t base = measureMemory ? HeapInUse() : 0;
  const subsets::Dfa d = subsets::Determinize(a);
  Figures f;
  f.bytes = measureMemory ? HeapInUse() - base : 0;
  f.states = d.States();
  f.transitions = d.Transitions();
  return f;
}

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const FTT m = subsets::TableOf(a);
  const Figures engine = RunEngine(m, true);
  const Figures reference = RunReference(a, true);
  if (engine.states != reference.states || engine.transitions != reference.transitions) {
    state.SkipWithError("the engine and the reference disagree");
    return;
  }
  double bestEngine = 1e300, bestReference = 1e300;
  for (auto _ : state) {
    auto t0 = Clock::now();
    benchmark::DoNotOptimize(RunEngine(m, false));
    auto t1 = Clock::now();
    benchmark::DoNotOptimize(RunReference(a, false));
    auto t2 = Clock::now();
    const double e = std::chrono::duration<double>(t1 - t0).count();
    const double r = std::chrono::duration<double>(t2 - t1).count();
    bestEngine = std::min(bestEngine, e);
    bestReference = std::min(bestReference, r);
    state.SetIterationTime(e);
  }
  state.counters["states"] = double(engine.states);
  state.counters["transitions"] = double(engine.transitions);
  state.counters["ref_ms"] = bestReference * 1e3;
  state.counters["time_ratio"] = bestEngine / bestReference;
  state.counters["B/state"] = double(engine.bytes) / double(engine.states);
  state.counters["ref_B/state"] = double(reference.bytes) / double(reference.states);
  state.counters["mem_ratio"] = double(engine.bytes) / double(std::max<size_t>(reference.bytes, 1));
}

void BM_BlowUp(benchmark::State& state) { Compare(state, subsets::BlowUp(int(state.range(0)))); }
BENCHMARK(BM_BlowUp)->DenseRange(12, 18, 2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// N states, K letters, density in tenths of a transition per state and letter: for each
// N and K the lowest density of 1.5, 2, 2.5 and 3 whose result stays under 250,000 states
// (200 states over 8 letters exceed it even at 3).
void BM_Random(benchmark::State& state) {
  const int n = int(state.range(0)), k = int(state.range(1));
  const double density = double(state.range(2)) / 10.0;
  Compare(state, subsets::Random(n, k, density, unsigned(n * 1000 + k * 10 + int(state.range(2)))));
}
BENCHMARK(BM_Random)
    ->Args({30, 2, 15})
    ->Args({30, 4, 15})
    ->Args({30, 8, 20})
    ->Args({50, 2, 15})
    ->Args({50, 4, 20})
    ->Args({50, 8, 25})
    ->Args({100, 2, 15})
    ->Args({100, 4, 25})
    ->Args({100, 8, 30})
    ->Args({200, 2, 20})
    ->Args({200, 4, 25})
    ->Args({200, 4, 30})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
