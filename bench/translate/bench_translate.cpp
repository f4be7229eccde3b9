// Cost of reading, checking and converting long texts: it should grow linearly with the
// text. Throughput is given in bytes of the input as a 1251 file (lines ended by CR LF;
// a table as its cells, each with one separator).
#include <benchmark/benchmark.h>

#include "platform/cp1251.h"
#include "platform/heap.h"
#include "platform/textfile.h"

#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

namespace {

// A СКУ text of about n lines: n/2 events, each reached from two others under binary
// conditions, a comment now and then, and the output functions.
QStringList skuText(int n) {
  QStringList t;
  t << QStringLiteral("sku:");
  const int events = n / 2;
  for (int k = 1; k <= events; ++k) {
    t << QStringLiteral("s%1=s%2*x%3*X%4|s%5*(x%6|x%7); // step %1")
             .arg(k).arg(k - 1).arg(k % 7).arg(k % 5).arg((k * 7) % events).arg(k % 3).arg(k % 11);
  }
  t << QStringLiteral("svf:");
  for (int k = 1; (int)t.size() < n; ++k) t << QStringLiteral("y%1=s%2|s%3;").arg(k).arg(k).arg(k * 3 % events);
  return t;
}

QStringList rvasText(int n) {
  QStringList t;
  for (int k = 0; k < n; ++k)
    t << QStringLiteral("sa%1(y%2)=s0*x1*{x2|X3*x4}*(x5|x6)*x7|s0*z%3;").arg(k).arg(k % 9).arg(k);
  return t;
}

int64_t Bytes(const QStringList& lines) {
  int64_t n = 0;
  for (const QString& l : lines) n += l.size() + 2;
  return n;
}

int64_t Bytes(const TableData& table) {
  int64_t n = 0;
  for (const TableRow& r : table.rows) n += r.si.size() + r.y.size() + r.x.size() + r.sj.size() + 4;
  return n;
}

// Decoding a 1251 file's bytes and splitting them into lines, as every document is read.
void BM_ReadText(benchmark::State& state) {
  QByteArray bytes;
  if (!cp1251::encode(skuText(int(state.range(0))).join(QStringLiteral("\r\n")), &bytes)) {
    state.SkipWithError("not encodable");
    return;
  }
  for (auto _ : state) {
    const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
    benchmark::DoNotOptimize(lines.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
  state.SetComplexityN(state.range(0));
}

void BM_CheckSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  for (auto _ : state) {
    QStringList messages;
    TTesting t(text, &messages, DocSettings());
    benchmark::DoNotOptimize(t.CheckSku());
  }
  state.SetBytesProcessed(state.iterations() * Bytes(text));
  state.SetComplexityN(state.range(0));
}

void BM_SkuToTable(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  for (auto _ : state) {
    TableData table;
    TSkuTbl(text, &table, DocSettings()).Convert();
    benchmark::DoNotOptimize(table.rows.size());
  }
  state.SetBytesProcessed(state.iterations() * Bytes(text));
  state.SetComplexityN(state.range(0));
}

void BM_CheckAndConvertSku(benchmark::State& state) {
  const QStringList text = skuText(int(state.range(0)));
  for (auto _ : state) {
    QStringList messages;
    TTesting t(text, &messages, DocSettings());
    if (!t.CheckSku()) {
      TableData table;
      TSkuTbl(text, &table, DocSettings()).Convert();
      benchmark::DoNotOptimize(table.rows.size());
    }
  }
  state.SetBytesProcessed(state.iterations() * Bytes(text));
  state.SetComplexityN(state.range(0));
}

void BM_TableToSku(benchmark::State& state) {
  TableData table;
  TSkuTbl(skuText(int(state.range(0))), &table, DocSettings()).Convert();
  for (auto _ : state) {
    QStringList sku;
    TTblToSku(table, &sku).Convert();
    benchmark::DoNotOptimize(sku.size());
  }
  state.SetBytesProcessed(state.iterations() * Bytes(table));
  state.SetComplexityN(state.range(0));
}

void BM_RvasToSku(benchmark::State& state) {
  const QStringList text = rvasText(int(state.range(0)));
  for (auto _ : state) {
    QStringList sku;
    TRvasSku(text, &sku, DocSettings()).Convert();
    benchmark::DoNotOptimize(sku.size());
  }
  state.SetBytesProcessed(state.iterations() * Bytes(text));
  state.SetComplexityN(state.range(0));
}

}  // namespace

#define LINES Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
BENCHMARK(BM_ReadText)->LINES;
BENCHMARK(BM_CheckSku)->LINES;
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
