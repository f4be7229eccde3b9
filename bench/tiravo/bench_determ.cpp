// Determinization by the engine against a plain subset construction over bitsets, on the
// same automata in the same run: the blow-up family "(a|b)* a (a|b)^{n-1}" and random
// nondeterministic automata. Reports the time ratio (engine / reference, the median of the
// repetitions of each) and the memory each holds per result state.
#include "bench/common/heapcount.h"
#include "bench/common/versus.h"
#include "bench/tiravo/nfatable.h"
#include "tiravo/sim/determ.h"

namespace {

subsets::Figures RunEngine(const FTT& m, bool measureMemory) {
  determ::Options o;
  o.initial = USignalSet{1};
  o.eventNames = m.SNames.All();
  subsets::Figures f;
  const auto determinize = [&] {
    determ::Run run(m, o);
    if (run.RunAll(nullptr) != determ::Run::Done) return;
    const auto result = run.TakeResult();
    f.states = result->Lines.size();
    for (const FTT_Line& line : result->Lines) f.transitions += line.Transitions.size();
  };
  if (measureMemory)
    f.bytes = heapcount::PeakOf(determinize);
  else
    determinize();
  return f;
}

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const FTT m = subsets::TableOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunEngine(m, measureMemory); });
}

SUBSETS_BENCHMARK_FAMILIES(Compare);

}  // namespace

BENCHMARK_MAIN();
