// The determinizer server's subset construction against the tight one over bitsets, on
// the same automata in the same run (abstract inputs, no outputs): the blow-up family
// "(a|b)* a (a|b)^{n-1}" and random nondeterministic automata, the same families as the
// engine's.
#include "bench/common/heapcount.h"
#include "bench/common/versus.h"
#include "bench/servers/nfamodel.h"
#include "servers/fsmdeterminizer.h"

namespace {

subsets::Figures RunServer(const fsm::Model& m, bool measureMemory) {
  subsets::Figures f;
  const auto run = [&] {
    fsm::DetResult r;
    QString error;
    if (!fsm::Determinizer(m).run(m.start, &r, &error)) return;
    f.states = size_t(r.states.size());
    for (int k = 0; k < r.states.size(); ++k) f.transitions += size_t(r.states.moveCount(k));
  };
  if (measureMemory)
    f.bytes = heapcount::PeakOf(run);
  else
    run();
  return f;
}

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const fsm::Model m = subsets::ModelOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunServer(m, measureMemory); });
}

SUBSETS_BENCHMARK_FAMILIES(Compare);

}  // namespace

BENCHMARK_MAIN();
