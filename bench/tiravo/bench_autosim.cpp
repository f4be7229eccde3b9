// Appending a step in the automatic simulator's window must cost the same whether the window
// already shows 100 steps or 30,000. One case measures both in the same run: steps appended
// one by one to the shown window (the new step selected and the grid painted after each, as
// the add command leaves it), in both layouts. The reference is the same appends on the bare
// simulation, measured alongside.
// Counters: "steps/s at 100", "steps/s at 30000", "growth" (time per step at 30,000 over
// time per step at 100; 1 is flat) and "x simulation" (window over bare simulation at 30,000).
#include <benchmark/benchmark.h>

#include "bench/common/qtmain.h"

#include <QApplication>
#include <QTableView>
#include <chrono>

#include "tests/tiravo/tablehelp.h"
#include "tiravo/forms/autosim.h"

namespace {

using Clock = std::chrono::steady_clock;

const SSignalSet kInputs[] = {SSignalSet{1, -2}, SSignalSet{-1, -2}, SSignalSet{1, 2}, SSignalSet{-1, 2}};

using tablehelp::Worked;

// Seconds per appended step, over `count` steps after the first `base`.
double WindowSeconds(bool horizontal, int base, int count) {
  tiravo::TAutoSim w;
  w.SetTable(Worked(), QStringLiteral("W.tbl"));
  if (horizontal) w.TableTypeClick();
  w.Grid().SetInitial(USignalSet{1}, false);
  for (int i = 0; i < base; ++i) w.Grid().Append(kInputs[i % 4]);
  w.resize(800, 600);
  w.show();
  QApplication::processEvents();
  QTableView* view = w.sgSim;
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    w.Grid().Append(kInputs[i % 4]);
    const int k = w.Simulation().StepCount;
    if (horizontal) {
      view->setCurrentIndex(w.Grid().index(1, k));
      view->selectColumn(k);
    } else {
      view->setCurrentIndex(w.Grid().index(k, 1));
      view->selectRow(k);
    }
    QApplication::processEvents();
    view->viewport()->repaint();
  }
  return std::chrono::duration<double>(Clock::now() - start).count() / count;
}

double SimulationSeconds(int base, int count) {
  tiravo::AutoSimulation sim(Worked());
  sim.SetInitial(USignalSet{1});
  for (int i = 0; i < base; ++i) sim.Append(kInputs[i % 4]);
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) sim.Append(kInputs[i % 4]);
  return std::chrono::duration<double>(Clock::now() - start).count() / count;
}

void AppendStep(benchmark::State& state) {
  const bool horizontal = state.range(0) != 0;
  constexpr int kSmall = 100, kLarge = 30000, kCount = 300;
  double small = 1e300, large = 1e300, bare = 1e300;
  for (auto _ : state) {
    // The smaller of several runs: the machine is shared.
    small = std::min(small, WindowSeconds(horizontal, kSmall, kCount));
    large = std::min(large, WindowSeconds(horizontal, kLarge, kCount));
    bare = std::min(bare, SimulationSeconds(kLarge, kCount * 10));
  }
  state.counters["steps/s at 100"] = 1 / small;
  state.counters["steps/s at 30000"] = 1 / large;
  state.counters["growth"] = large / small;
  state.counters["x simulation"] = large / bare;
}

}  // namespace

// Three rounds, the best counted; one when CI only checks that the bench still runs.
BENCHMARK(AppendStep)
    ->ArgName("horizontal")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(qEnvironmentVariableIsSet("VEXO_BENCH_SMOKE") ? 1 : 3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
