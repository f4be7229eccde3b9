// The servers' table compiler on one row whose condition joins 1,000 to 100,000 names, every
// other inverted. The reference reads the cell once, folds its case and splits it at "&"; the
// "x reference" counter is the compile's time over it and should stay flat as the cell grows.
#include <benchmark/benchmark.h>

#include <chrono>

#include "servers/fsmcompiler.h"

namespace {

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Compile(const QString& cell) {
  fsm::Compiler c;
  c.setType(0, 0, 1, 0);
  c.addSource(QStringLiteral("s0"), QStringLiteral("y1"), cell, QStringLiteral("s1"));
  return c.make();
}

void CompileWideCell(benchmark::State& state) {
  QStringList names;
  for (int k = 0; k < int(state.range(0)); ++k)
    names << (k % 2 ? QStringLiteral("X%1") : QStringLiteral("x%1")).arg(k);
  const QString cell = names.join(QLatin1Char('&'));
  for (auto _ : state)
    if (Compile(cell) != 0) state.SkipWithError("the table did not compile");
  const double reference =
      Seconds([&] { benchmark::DoNotOptimize(cell.toCaseFolded().split(QLatin1Char('&')).size()); });
  state.counters["x reference"] = Seconds([&] { Compile(cell); }) / reference;
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(CompileWideCell)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
