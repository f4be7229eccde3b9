// The determinizer server's subset construction against the plain one over bitsets, on
// the same automata in the same run (abstract inputs, no outputs). The server stops at
// 4096 states, so the automata are smaller than the engine's.
#include <algorithm>

#include "bench/common/versus.h"
#include "servers/fsmdeterminizer.h"

namespace {

fsm::Model ModelOf(const subsets::Nfa& a) {
  fsm::Model m;
  m.type = fsm::Type{0, 0, 0, 0};
  for (int k = 1; k <= a.letters; ++k) m.inputs << QStringLiteral("x%1").arg(k);
  for (int k = 1; k <= a.states; ++k) m.events << QStringLiteral("s%1").arg(k);
  m.start = fsm::Set{1};
  for (int s = 0; s < a.states; ++s) {
    fsm::Line line;
    line.key = fsm::Set{s + 1};
    for (int l = 0; l < a.letters; ++l) {
      if (a.Next(s, l).empty()) continue;
      fsm::Transition t;
      t.condition = fsm::Set{l + 1};
      for (int target : a.Next(s, l)) t.targets << target + 1;
      line.transitions << t;
    }
    m.lines << line;
  }
  return m;
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
  const fsm::Model m = ModelOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunServer(m, measureMemory); });
}

void BM_BlowUp(benchmark::State& state) { Compare(state, subsets::BlowUp(int(state.range(0)))); }
BENCHMARK(BM_BlowUp)->DenseRange(8, 12, 2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// N states, K letters, density in tenths: results of 300 to 4000 states.
void BM_Random(benchmark::State& state) {
  const int n = int(state.range(0)), k = int(state.range(1));
  Compare(state, subsets::Random(n, k, double(state.range(2)) / 10.0, unsigned(n * 1000 + k * 10 + int(state.range(2)))));
}
BENCHMARK(BM_Random)
    ->Args({30, 2, 15})
    ->Args({30, 4, 25})
    ->Args({30, 8, 30})
    ->Args({50, 2, 20})
    ->Args({50, 4, 30})
    ->Args({100, 2, 20})
    ->Args({200, 2, 25})
    ->Args({200, 2, 30})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
