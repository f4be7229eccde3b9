// The table compiler on tables of 1,000 to 100,000 rows. Every fourth row starts a new state,
// so the number of states grows with the table; the time per row should stay flat. The
// reference is the least any compiler does: read every cell once, fold its case and split it
// at "&". The "x reference" counter is the compiler's time over the reference's.
#include <benchmark/benchmark.h>

#include <chrono>

#include "tiravo/core/ftt.h"
#include "tiravo/core/tblcompile.h"

namespace {

TableData MakeTable(int rows) {
  TableData t;
  t.rows.reserve(rows);
  for (int r = 0; r < rows; ++r) {
    const int state = r / 4;
    const QString si = r % 4 == 0 ? QStringLiteral("s%1").arg(state) : QString();
    const QString y = QStringLiteral("y%1 & y%2").arg(state % 50).arg(state % 50 + 1);
    const QString x = QStringLiteral("x%1 & X%2").arg(r % 4).arg(4 + r % 7);
    const QString sj = QStringLiteral("s%1").arg((state * 7 + r) % (rows / 4 + 1));
    t.rows.append(TableRow{si, y, x, sj});
  }
  return t;
}

size_t Reference(const TableData& t) {
  size_t parts = 0;
  for (const TableRow& row : t.rows)
    for (const QString* cell : {&row.si, &row.y, &row.x, &row.sj})
      parts += size_t(cell->toLower().split(QLatin1Char('&')).size());
  return parts;
}

double Seconds(const std::function<void()>& f, int times) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < times; ++i) f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / times;
}

// Compiles `table` in every iteration, then sets the "x reference" counter; the lines of the
// model, or 0 when the table did not compile.
size_t Measure(benchmark::State& state, const TableData& table) {
  size_t lines = 0;
  for (auto _ : state) {
    TableData t = table;
    auto model = tiravo::CompileTable(t, 0);
    if (!model) {
      state.SkipWithError("the table did not compile");
      return 0;
    }
    lines = model->Lines.size();
    benchmark::DoNotOptimize(model.get());
  }
  const double reference = Seconds([&] { benchmark::DoNotOptimize(Reference(table)); }, 3);
  const double compile = Seconds(
      [&] {
        TableData t = table;
        benchmark::DoNotOptimize(tiravo::CompileTable(t, 0).get());
      },
      1);
  state.counters["x reference"] = compile / reference;
  return lines;
}

void Compile(benchmark::State& state) {
  const int rows = int(state.range(0));
  state.counters["lines"] = double(Measure(state, MakeTable(rows)));
  state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
  state.SetComplexityN(rows);
}

// One row whose condition joins `names` names, every other inverted: the compile should stay
// linear in the cell, a constant times the reference.
void CompileWideCell(benchmark::State& state) {
  const int names = int(state.range(0));
  QStringList parts;
  for (int k = 0; k < names; ++k) parts << (k % 2 ? QStringLiteral("X%1") : QStringLiteral("x%1")).arg(k);
  TableData table;
  table.rows.append(TableRow{QStringLiteral("s0"), QStringLiteral("y1"), parts.join(QLatin1Char('&')),
                             QStringLiteral("s1")});
  Measure(state, table);
  state.SetComplexityN(names);
}

}  // namespace

BENCHMARK(CompileWideCell)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK(Compile)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
