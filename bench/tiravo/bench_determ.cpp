// Determinization by the engine against a plain subset construction over bitsets, on the
// same automata in the same run: the blow-up family "(a|b)* a (a|b)^{n-1}" and random
// nondeterministic automata. Reports the time ratio (engine / reference, the median of the
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
  o.eventNames = m.SNames.All();
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

SUBSETS_BENCHMARK_FAMILIES(Compare);

}  // namespace

BENCHMARK_MAIN();
