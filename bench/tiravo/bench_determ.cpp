// Determinization by the engine against a plain subset construction over bitsets, on the
// same automata in the same run: the blow-up family "(a|b)* a (a|b)^{n-1}" and random
// nondeterministic automata. Reports the time ratio (engine / reference, the best of the
// repetitions of each) and the memory each holds per result state.
#include <algorithm>

#include "bench/common/versus.h"
#include "bench/tiravo/nfatable.h"
#include "tiravo/sim/determ.h"

namespace {

using subsets::Figures;
using subsets::HeapInUse;

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

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const FTT m = subsets::TableOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunEngine(m, measureMemory); });
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
