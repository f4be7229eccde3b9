// Check and conversion of generated flowcharts of up to 10,000 operator and condition
// vertices. Each figure is also given as a ratio to a plain pass over the same grid (every
// used cell read and copied) timed in the same run: a constant ratio means linear growth.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "velmora/flowchart/core/gsafile.h"
#include "velmora/flowchart/core/gsatbl.h"

using namespace velmora;

namespace {

constexpr int kUnits = 250;  // condition/operator pairs per column band

// Bands of three columns: the chain runs down the first (operator, line, condition whose 1
// exit goes on down and whose 0 exit runs down the second column into the next operator),
// then up the third column and over to the next band. One start at the top, one end at the
// bottom of the last band; the flowchart passes the check.
GsaDocument flowchart(int vertices) {
  const int bands = std::max(1, vertices / (2 * kUnits + 1));
  const int rows = 4 * kUnits + 3;
  GsaDocument d;
  d.grid = GsaGridList(rows, 3 * bands);
  GsaGridList& g = d.grid;
  auto put = [&](int col, int row, int kind, const QString& text = QString()) {
    g.setKind(col, row, kind);
    if (!text.isEmpty()) g.setText(col, row, text);
  };
  int y = 0;
  for (int b = 0; b < bands; ++b) {
    const int c = 3 * b;
    if (b == 0)
      put(c, 0, GsaKind::Start, QStringLiteral("y0"));
    else
      put(c, 0, GsaKind::CornerLeftDown);
    for (int k = 0; k < kUnits; ++k) {
      const int r = 1 + 4 * k;
      put(c, r, GsaKind::Operator, QStringLiteral("y%1").arg(++y % 50));
      put(c, r + 1, GsaKind::VertLine);
      put(c, r + 2, GsaKind::Condition, QStringLiteral("x%1").arg(k % 20));
      put(c, r + 3, GsaKind::VertLine, QStringLiteral("1"));
      put(c + 1, r + 2, GsaKind::CornerLeftDown, QStringLiteral("0"));
      put(c + 1, r + 3, GsaKind::VertLine);
      put(c + 1, r + 4, GsaKind::CornerUpLeft);
    }
    const int last = 4 * kUnits + 1;
    put(c, last, GsaKind::Operator, QStringLiteral("y%1").arg(++y % 50));
    if (b == bands - 1) {
      put(c, last + 1, GsaKind::End, QStringLiteral("yk"));
      continue;
    }
    put(c, last + 1, GsaKind::CornerUpRight);
    put(c + 1, last + 1, GsaKind::HorLine);
    put(c + 2, last + 1, GsaKind::CornerUpLeft);
    for (int r = 1; r <= last; ++r) put(c + 2, r, GsaKind::VertLine);
    put(c + 2, 0, GsaKind::CornerRightDown);
  }
  return d;
}

int plainPass(const GsaGridList& g) {
  QStringList copy;
  for (int i : g.usedCells()) copy << g.text(g.colOf(i), g.rowOf(i)) << g.kind(g.colOf(i), g.rowOf(i));
  return int(copy.size());
}

double seconds(const std::function<void()>& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Times `work` per iteration and reports it against the best of five plain passes.
template <typename Work>
void run(benchmark::State& state, const GsaDocument& doc, Work work) {
  double reference = 1e9;
  for (int i = 0; i < 5; ++i)
    reference = std::min(reference, seconds([&] { benchmark::DoNotOptimize(plainPass(doc.grid)); }));
  double total = 0;
  for (auto _ : state) total += seconds([&] { work(); });
  state.counters["vertices"] = double(state.range(0));
  state.counters["x_plain_pass"] = total / double(state.iterations()) / reference;
  state.SetComplexityN(state.range(0));
}

void BM_Check(benchmark::State& state) {
  const GsaDocument doc = flowchart(int(state.range(0)));
  run(state, doc, [&] {
    TGSATbl t;
    if (t.Check(doc) != 0) state.SkipWithError("the generated flowchart does not pass");
  });
}

void BM_MakeTable(benchmark::State& state) {
  const GsaDocument doc = flowchart(int(state.range(0)));
  run(state, doc, [&] {
    TGSATbl t;
    benchmark::DoNotOptimize(t.MakeTable(doc).rows.size());
  });
}

void BM_MakeTableMoving(benchmark::State& state) {
  GsaDocument doc = flowchart(int(state.range(0)));
  doc.moveEvents = true;
  run(state, doc, [&] {
    TGSATbl t;
    benchmark::DoNotOptimize(t.MakeTable(doc).rows.size());
  });
}

void BM_FileRoundTrip(benchmark::State& state) {
  const GsaDocument doc = flowchart(int(state.range(0)));
  run(state, doc, [&] {
    GsaDocument back;
    GsaFile::parse(GsaFile::toLines(doc), &back, nullptr);
    benchmark::DoNotOptimize(back.grid.rowCount());
  });
}

}  // namespace

#define VERTICES Arg(1253)->Arg(10020)->Arg(100200)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
BENCHMARK(BM_Check)->VERTICES;
BENCHMARK(BM_MakeTable)->VERTICES;
BENCHMARK(BM_MakeTableMoving)->VERTICES;
BENCHMARK(BM_FileRoundTrip)->VERTICES;

BENCHMARK_MAIN();
