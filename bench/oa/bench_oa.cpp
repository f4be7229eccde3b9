// Steps of a 16-element operational automaton: the bare engine step, a million appended history
// steps, and the replay that a change near the start of a long history costs.
#include <benchmark/benchmark.h>

#include "tests/oa/oatestutil.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

namespace {

// Twelve registers and four buses of 16 bits; four output signals using every kind of
// microoperation, six input signals using every kind of condition.
Description sixteen() {
  Description d;
  d.blocks << "reg:";
  for (int i = 0; i < 12; ++i) d.blocks << QString("R%1[16]").arg(i);
  d.blocks << "mux:";
  for (int i = 0; i < 4; ++i) d.blocks << QString("DI%1[16]").arg(i);
  d.ySignals = {"y1", "y2", "y3", "y4"};
  d.yItems = {
      {"R0:=R0+1", "R1:=R0+R2", "R2:=R1^R3", "DI0:=R4+R5", "R6:=DI0"},
      {"R3:=sl(R3,1)", "R4:=rc(R4,3)", "R5[3/0]:=1010", "R7:=!R7"},
      {"R8:=R8-R9-1", "R9:=R10&R11", "R10:=R10|R0", "DI1:=R8+1", "R11:=DI1"},
      {"R1[0]:=R0[0]", "DI2:=R2[7/4]", "DI3:=DI2+R3", "R3:=DI3"},
  };
  d.xSignals = {"x1", "x2", "x3", "x4", "x5", "x6"};
  d.xValues = {"R0[0]", "R1[3]&R2[4]", "R5[1]|R6[2]", "DI0[15]", "R8[0]&R9[1]&R10[2]", "R11[7]"};
  return d;
}

const QString kInputs[] = {"y1", "y2&y3", "y4", "y1,y4"};

void BM_EngineStep(benchmark::State& state) {
  const Description d = sixteen();
  TModelOA m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  int k = 0;
  for (auto _ : state) {
    m.SignalKnown = false;
    m.ApplyInput(kInputs[k++ & 3]);
    m.CommitAll();
    m.EvaluateConditions();
    benchmark::DoNotOptimize(m.Answer());
  }
  state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineStep)->Iterations(1000000)->Unit(benchmark::kMillisecond);

void BM_HistoryAppend(benchmark::State& state) {
  const Description d = sixteen();
  TModelStep m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.Reset("", "");
  int k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(m.ApplySignals(kInputs[k++ & 3], 'a'));
  state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["rows"] = m.RowCount();
}
BENCHMARK(BM_HistoryAppend)->Iterations(1000000)->Unit(benchmark::kMillisecond);

// Changing step 1 of a history of n rows computes the n - 2 rows after it again.
void BM_ChangeFirstStep(benchmark::State& state) {
  const Description d = sixteen();
  TModelStep m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  m.Reset("", "");
  const int n = int(state.range(0));
  for (int i = 1; i < n; ++i) m.ApplySignals(kInputs[i & 3], 'a');
  int k = 0;
  for (auto _ : state) {
    m.GoToStep(1);
    benchmark::DoNotOptimize(m.ApplySignals(kInputs[k++ & 3], 'c'));
  }
  state.counters["rows/s"] =
      benchmark::Counter(double(state.iterations()) * (n - 1), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ChangeFirstStep)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
