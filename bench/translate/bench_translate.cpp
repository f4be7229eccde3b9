// Cost of reading, checking and converting long texts: it should grow linearly with the
// text. Throughput is given in bytes of the input as a 1251 file (lines ended by CR LF;
// a table as its cells, each with one separator).
//
// Machines are shared and noisy, so every step is timed against the limit measured in the
// same run: reading the same file (decoding its bytes and cutting them into lines) and
// tokenising it (cutting the lines into statements, or into a table's cells). Each step
// reports "x_read", its median time over that of the read, and at 8 times the smallest input
// "growth", its time there over its time at the smallest input (8 for a linear step).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/heap.h"
#include "platform/textfile.h"

#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"
#include "velmora/translate/textscan.h"

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

// The limit of a text step: decoding the file, cutting it into lines and the lines into
// statements.
void ReadText(const QByteArray& bytes) {
  const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
  QString statements;
  std::vector<qsizetype> ends;
  textscan::StatementReader reader(&statements, &ends);
  for (const QString& l : lines) reader.readLine(l);
  reader.flush();
  benchmark::DoNotOptimize(ends.size());
}

// The limit of a table step: decoding the table file and cutting it into cells.
void ReadTable(const QByteArray& bytes) {
  TableData table;
  QString error;
  TblFile::parse(textfile::splitLines(cp1251::decode(bytes)), &table, &error);
  benchmark::DoNotOptimize(table.rows.size());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// Times `step` and the read of its file in turns (each first every other time), and
// reports both figures described at the top. `name` keys the growth figure.
template <typename Read, typename Step>
void Measure(benchmark::State& state, const char* name, const QByteArray& file, Read read, Step step) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> times, reads;
  bool stepFirst = true;
  for (auto _ : state) {
    double t = 0, r = 0;
    for (int side = 0; side < 2; ++side) {
      const bool stepNow = (side == 0) == stepFirst;
      const auto t0 = Clock::now();
      if (stepNow)
        step();
      else
        read(file);
      (stepNow ? t : r) = std::chrono::duration<double>(Clock::now() - t0).count();
    }
    stepFirst = !stepFirst;
    times.push_back(t);
    reads.push_back(r);
    state.SetIterationTime(t);
  }
  const double median = Median(times);
  state.counters["x_read"] = median / Median(reads);
  // The sizes run from the smallest up within one run, so the smaller one is known here.
  static std::map<std::string, std::map<int64_t, double>> seen;
  std::map<int64_t, double>& mine = seen[name];
  const int64_t n = state.range(0);
  mine[n] = median;
  if (n % 8 == 0 && mine.count(n / 8)) state.counters["growth"] = median / mine[n / 8];
  state.SetBytesProcessed(state.iterations() * file.size());
  state.SetComplexityN(n);
}

// Decoding a 1251 file's bytes and splitting them into lines, as every document is read.
void BM_ReadText(benchmark::State& state) {
  const QByteArray file = FileOf(skuText(int(state.range(0))));
  Measure(state, "ReadText", file, ReadText, [&] {
    const QStringList lines = textfile::splitLines(cp1251::decode(file));
    benchmark::DoNotOptimize(lines.size());
  });
}

// The generated texts are correct: a step that found a fault would measure something else.
void BM_CheckSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(state, "CheckSku", FileOf(text), ReadText, [&] {
    if (TTesting(text, nullptr, DocSettings()).CheckSku()) state.SkipWithError("the text has faults");
  });
}

void BM_CheckRvas(benchmark::State& state) {
  const QStringList text = rvasText(int(state.range(0)));
  Measure(state, "CheckRvas", FileOf(text), ReadText, [&] {
    if (TTesting(text, nullptr, DocSettings()).Check()) state.SkipWithError("the text has faults");
  });
}

void BM_SkuToTable(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(state, "SkuToTable", FileOf(text), ReadText, [&] {
    TableData table;
    TSkuTbl(text, &table, DocSettings()).Convert();
    benchmark::DoNotOptimize(table.rows.size());
  });
}

void BM_CheckAndConvertSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  Measure(state, "CheckAndConvertSku", FileOf(text), ReadText, [&] {
    if (TTesting(text, nullptr, DocSettings()).CheckSku()) state.SkipWithError("the text has faults");
    TableData table;
    TSkuTbl(text, &table, DocSettings()).Convert();
    benchmark::DoNotOptimize(table.rows.size());
  });
}

void BM_TableToSku(benchmark::State& state) {
  TableData table;
  TSkuTbl(skuText(int(state.range(0))), &table, DocSettings()).Convert();
  Measure(state, "TableToSku", FileOf(TblFile::toLines(table)), ReadTable, [&] {
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
  Measure(state, "RvasToSku", FileOf(text), ReadText, [&] {
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

// The programs keep freed memory for the next conversion; so does the benchmark.
int main(int argc, char** argv) {
  heap::keepFreed();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
