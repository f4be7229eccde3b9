// The determinizer server's subset construction against the plain one over bitsets, on
// the same automata in the same run (abstract inputs, no outputs): the blow-up family
// "(a|b)* a (a|b)^{n-1}" and random nondeterministic automata, the same families as the
// engine's.
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "bench/common/versus.h"
#include "bench/servers/nfamodel.h"
#include "servers/fsmdeterminizer.h"

// The heap held through operator new and the most of it held since the last look: the
// server frees its index of states before it returns, which the heap left in use after a
// run does not show. Qt's containers allocate apart from it; the server keeps its states in
// standard ones.
namespace {
size_t heapNow = 0, heapPeak = 0;
}  // namespace

void* operator new(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  heapNow += malloc_usable_size(p);
  heapPeak = std::max(heapPeak, heapNow);
  return p;
}
void operator delete(void* p) noexcept {
  if (p) heapNow -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

// The most heap `f` held above what there was before it.
template <typename F>
size_t PeakOf(F f) {
  const size_t base = heapNow;
  heapPeak = base;
  f();
  return heapPeak - base;
}

subsets::Figures RunServer(const fsm::Model& m, bool measureMemory) {
  const size_t base = measureMemory ? subsets::HeapInUse() : 0;
  subsets::Figures f;
  fsm::DetResult r;
  QString error;
  if (!fsm::Determinizer(m).run(m.start, &r, &error)) return f;
  f.bytes = measureMemory ? subsets::HeapInUse() - base : 0;
  f.states = size_t(r.states.size());
  for (int k = 0; k < r.states.size(); ++k) f.transitions += size_t(r.states.moveCount(k));
  return f;
}

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const fsm::Model m = subsets::ModelOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunServer(m, measureMemory); });
  if (state.error_occurred()) return;
  const double mine = double(PeakOf([&m] { RunServer(m, false); }));
  const double reference = double(PeakOf([&a] { subsets::Determinize(a); }));
  const double states = state.counters["states"];
  state.counters["peak_B/state"] = mine / states;
  state.counters["peak_ratio"] = mine / std::max(reference, 1.0);
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
