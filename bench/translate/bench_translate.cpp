// Cost of reading, checking and converting long texts: it should grow linearly with the
// text. Throughput is given in bytes of the input as a 1251 file (lines ended by CR LF;
// a table as its cells, each with one separator).
//
// Machines are shared and noisy, so every step is timed in turns with a plain reference in
// the same run, on the same input as the step is given: cutting its lines (or a table's cells,
// or a file's decoded bytes) into names and signs, with no allocation per line. Each step
// reports "x_read", the median over the iterations of its time over the reference's, and at
// 8 times the smallest input "growth", its median time there over its median at the smallest
// input (8 for a linear step). The label tells whether the case meets its target: a read or a
// check within 10 times the reference, a conversion within 40, growth at most 10.
#include <benchmark/benchmark.h>

#include <time.h>

#include <map>
#include <string>
#include <vector>

#include "bench/common/plainread.h"
#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/textfile.h"

#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

using namespace velmora;

namespace {

// A СКУ text of about n lines: n/2 events, each reached from two others under binary
// conditions, a comment now and then, and the output functions.
QStringList skuText(int n) {
  QStringList t;
  t << QStringLiteral("sku:");
  const int events = n / 2;
  for (int k = 1; k <= events; ++k) {
    t << QStringLiteral("s%1=s%2*x%3*X%4|s%5*(x%6|x%7); // step %1")
             .arg(k)
             .arg(k - 1)
             .arg(k % 7)
             .arg(k % 5)
             .arg((k * 7) % events)
             .arg(k % 3)
             .arg(k % 11);
  }
  t << QStringLiteral("svf:");
  for (int k = 1; (int)t.size() < n; ++k)
    t << QStringLiteral("y%1=s%2|s%3;").arg(k).arg(k).arg(k * 3 % events);
  return t;
}

// A РВАС text of n lines that checks clean: binary conditions only, iterations and
// alternatives in brackets, and every statement starting from s0.
QStringList rvasText(int n) {
  QStringList t;
  for (int k = 0; k < n; ++k)
    t << QStringLiteral("sa%1(y%2)=s0*x1*{x2|X3*x4}*(x5|x6)*x7|s0*x%3;").arg(k).arg(k % 9).arg(k % 13 + 8);
  return t;
}

QByteArray FileOf(const QStringList& lines) {
  QByteArray bytes;
  cp1251::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), &bytes);
  return bytes;
}

constexpr double kCheck = 10, kConversion = 40;

// The processor time of this thread: on a shared machine the wall clock also counts the time
// the thread waited for a core, which falls on the runs unevenly.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Times `step` and `reference` in turns (each first every other time), and reports the
// figures described at the top. `name` keys the growth figure.
template <typename Reference, typename Step>
void Measure(benchmark::State& state, const char* name, int64_t bytes, double target, Reference reference,
             Step step) {
  std::vector<double> times, ratios;
  bool stepFirst = true;
  for (auto _ : state) {
    double t = 0, r = 0;
    for (int side = 0; side < 2; ++side) {
      const bool stepNow = (side == 0) == stepFirst;
      const double t0 = ThreadSeconds();
      if (stepNow)
        step();
      else
        benchmark::DoNotOptimize(reference());
      (stepNow ? t : r) = ThreadSeconds() - t0;
    }
    stepFirst = !stepFirst;
    times.push_back(t);
    ratios.push_back(t / r);
    state.SetIterationTime(t);
  }
  const double median = plainread::Median(times);
  // The sizes run from the smallest up within one run, so the smaller one is known here.
  static std::map<std::string, std::map<int64_t, double>> seen;
  std::map<int64_t, double>& mine = seen[name];
  const int64_t n = state.range(0);
  mine[n] = median;
  double growth = 0;
  if (n % 8 == 0 && mine.count(n / 8)) state.counters["growth"] = growth = median / mine[n / 8];
  plainread::Verdict(state, plainread::Median(ratios), target, growth);
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetComplexityN(n);
}

// Decoding a 1251 file's bytes and splitting them into lines, as every document is read.
void BM_ReadText(benchmark::State& state) {
  const QByteArray file = FileOf(skuText(int(state.range(0))));
  Measure(
      state, "ReadText", file.size(), kCheck, [&] { return plainread::FileTokens(file); },
      [&] {
        const QStringList lines = textfile::splitLines(cp1251::decode(file));
        benchmark::DoNotOptimize(lines.size());
      });
}

// The generated texts are correct: a step that found a fault would measure something else.
void BM_CheckSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(
      state, "CheckSku", FileOf(text).size(), kCheck, [&] { return plainread::LineTokens(text); },
      [&] {
        if (TTesting(text, nullptr, DocSettings()).CheckSku()) state.SkipWithError("the text has faults");
      });
}

void BM_CheckRvas(benchmark::State& state) {
  const QStringList text = rvasText(int(state.range(0)));
  Measure(
      state, "CheckRvas", FileOf(text).size(), kCheck, [&] { return plainread::LineTokens(text); },
      [&] {
        if (TTesting(text, nullptr, DocSettings()).Check()) state.SkipWithError("the text has faults");
      });
}

void BM_SkuToTable(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(
      state, "SkuToTable", FileOf(text).size(), kConversion, [&] { return plainread::LineTokens(text); },
      [&] {
        TableData table;
        TSkuTbl(text, &table, DocSettings()).Convert();
        benchmark::DoNotOptimize(table.rows.size());
      });
}

void BM_CheckAndConvertSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(
      state, "CheckAndConvertSku", FileOf(text).size(), kConversion,
      [&] { return plainread::LineTokens(text); },
      [&] {
        if (TTesting(text, nullptr, DocSettings()).CheckSku()) state.SkipWithError("the text has faults");
        TableData table;
        TSkuTbl(text, &table, DocSettings()).Convert();
        benchmark::DoNotOptimize(table.rows.size());
      });
}

void BM_TableToSku(benchmark::State& state) {
  TableData table;
  TSkuTbl(skuText(int(state.range(0))), &table, DocSettings()).Convert();
  Measure(
      state, "TableToSku", FileOf(TblFile::toLines(table)).size(), kConversion,
      [&] { return plainread::TableTokens(table); },
      [&] {
        QStringList sku;
        TTblToSku(table, &sku).Convert();
        benchmark::DoNotOptimize(sku.size());
      });
}

// The text is checked once before it is timed: the converter assumes a correct text.
void BM_RvasToSku(benchmark::State& state) {
  const QStringList text = rvasText(int(state.range(0)));
  if (TTesting(text, nullptr, DocSettings()).Check()) {
    state.SkipWithError("the text has faults");
    return;
  }
  Measure(
      state, "RvasToSku", FileOf(text).size(), kConversion, [&] { return plainread::LineTokens(text); },
      [&] {
        QStringList sku;
        TRvasSku(text, &sku, DocSettings()).Convert();
        benchmark::DoNotOptimize(sku.size());
      });
}

}  // namespace

// 100,000 lines are 8 times the smallest input.
#define LINES                         \
  Arg(12500)                          \
      ->Arg(25000)                    \
      ->Arg(50000)                    \
      ->Arg(100000)                   \
      ->UseManualTime()               \
      ->Unit(benchmark::kMillisecond) \
      ->Complexity(benchmark::oN)
BENCHMARK(BM_ReadText)->LINES;
BENCHMARK(BM_CheckSku)->LINES;
BENCHMARK(BM_CheckRvas)->LINES;
BENCHMARK(BM_SkuToTable)->LINES;
BENCHMARK(BM_CheckAndConvertSku)->LINES;
BENCHMARK(BM_TableToSku)->LINES;
BENCHMARK(BM_RvasToSku)->LINES;

int main(int argc, char** argv) { return plainread::RunKeepingFreed(argc, argv); }
