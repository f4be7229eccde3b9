// Determinization on two families of tables whose results grow exponentially:
// the cost should follow the size of the result.
#include <benchmark/benchmark.h>

#include "tiravo/sim/determ.h"

namespace {

QStringList One(const QString& name, bool positive = true) {
  return {name + (positive ? QStringLiteral("=1") : QStringLiteral("=0"))};
}

// s1 keeps itself and on x1 also starts s2; s2 .. s(n-1) pass the mark on
// unconditionally; sn ends. Every subset of {s2..sn} beside s1 is reachable:
// 2^(n-1) states, two transitions each.
FTT Chain(int n) {
  FTT m;
  const auto s = [](int k) { return QStringLiteral("s%1").arg(k); };
  const auto y = [](int k) { return QStringLiteral("y%1").arg(k); };
  m.AddLine(One(s(1)), One(y(1)), One("x1"), One(s(1)));
  m.AddLine(One(s(1)), One(y(1)), One("x1"), One(s(2)));
  m.AddLine(One(s(1)), One(y(1)), One("x1", false), One(s(1)));
  for (int k = 2; k < n; ++k) m.AddLine(One(s(k)), One(y(k)), {"1"}, One(s(k + 1)));
  m.AddLine(One(s(n)), One(y(n)), {"0"}, {});
  return m;
}

// s1 keeps itself and on each of x1..xk starts one more event: 2^k states,
// each with 2^k transitions over all k inputs.
FTT Wide(int k) {
  FTT m;
  m.AddLine(One("s1"), One("y1"), {"1"}, One("s1"));
  for (int i = 1; i <= k; ++i)
    m.AddLine(One("s1"), One("y1"), One(QStringLiteral("x%1").arg(i)), One(QStringLiteral("s%1").arg(i + 1)));
  for (int i = 1; i <= k; ++i)
    m.AddLine(One(QStringLiteral("s%1").arg(i + 1)), One(QStringLiteral("y%1").arg(i + 1)), {"0"}, {});
  return m;
}

void Determinize(benchmark::State& state, const FTT& m) {
  determ::Options o;
  o.initial = USignalSet{1};
  o.eventNames = m.SNames;
  size_t states = 0, transitions = 0;
  for (auto _ : state) {
    determ::Run run(m, o);
    if (run.RunAll() != determ::Run::Done) {
      state.SkipWithError("determinization did not finish");
      return;
    }
    const auto result = run.TakeResult();
    states = result->Lines.size();
    transitions = 0;
    for (const FTT_Line& line : result->Lines) transitions += line.Transitions.size();
    benchmark::DoNotOptimize(result.get());
  }
  state.counters["states"] = double(states);
  state.counters["transitions"] = double(transitions);
  state.counters["states/s"] = benchmark::Counter(double(states), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["transitions/s"] =
      benchmark::Counter(double(transitions), benchmark::Counter::kIsIterationInvariantRate);
  state.SetComplexityN(int64_t(transitions));
}

void BM_Chain(benchmark::State& state) {
  const FTT m = Chain(int(state.range(0)));
  Determinize(state, m);
}
BENCHMARK(BM_Chain)->DenseRange(4, 16, 2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_Wide(benchmark::State& state) {
  const FTT m = Wide(int(state.range(0)));
  Determinize(state, m);
}
BENCHMARK(BM_Wide)->DenseRange(2, 10, 2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
