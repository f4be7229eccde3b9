// Tiravo's translators on long texts, each against cutting the same text, as the bytes of its
// file, into names and signs (the least any translator must do; it allocates nothing, so the
// heap a step leaves behind does not slow it). Per iteration the step and the reference are
// timed in turns; "x_read" is the median of the step's time over the reference's, "MB/s" the
// step's throughput and "read_MB/s" the reference's. "growth" is the step's median time at 8
// times the input over its median at the input; linear work gives about 8. The label tells
// whether the case meets its target: a check within 10 times the reference, a conversion
// within 40, growth at most 10. Sizes are bytes of the text as a 1251 file (lines ended by CR
// LF; a table as its cells, each with one separator).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/plainread.h"
#include "platform/cp1251.h"
#include "tiravo/translate/rvascheck.h"
#include "tiravo/translate/rvasconvert.h"
#include "tiravo/translate/skutable.h"
#include "tiravo/translate/tablesku.h"

using namespace tiravo;

namespace {

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

// A СКУ text of about `bytes`: events each reached from two others under binary conditions,
// then an output function for each tenth event.
QStringList skuText(int64_t bytes) {
  const int events = int(bytes / 34) + 1;
  QStringList t{QStringLiteral("sku:")};
  for (int k = 1; k <= events; ++k)
    t << QStringLiteral("s%1 = s%2*x%3*X%4 | s%5*x%6")
             .arg(k)
             .arg(k - 1)
             .arg(k % 7 + 1)
             .arg(k % 5 + 8)
             .arg((k * 7) % events)
             .arg(k % 3 + 1);
  t << QStringLiteral("svf:");
  for (int k = 1; k <= events; k += 10)
    t << QStringLiteral("y%1=s%2|s%3").arg(k % 50).arg(k).arg(k * 3 % events);
  return t;
}

// A РВАС expression of about `bytes`, one alternative a line: steps, a loop and a bracket group.
QStringList rvasText(int64_t bytes) {
  const int alternatives = int(bytes / 36) + 1;
  QStringList t{QStringLiteral("sw(y1) =")};
  for (int k = 0; k < alternatives; ++k)
    t << QStringLiteral("s0*x%1*{x2|X3*x4}*(x5|X6)*x%2%3")
             .arg(k % 9 + 1)
             .arg(k % 4 + 7)
             .arg(k + 1 < alternatives ? " |" : "");
  return t;
}

QByteArray fileOf(const QStringList& lines) {
  QByteArray bytes;
  if (!cp1251::encode(lines.join(QStringLiteral("\r\n")), &bytes)) abort();
  return bytes;
}

// The processor time of this thread: on a shared machine the wall clock also counts the time
// the thread waited for a core, which falls on the two sides unevenly.
double seconds(const std::function<void()>& f) {
  const auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  };
  const double start = now();
  f();
  return now() - start;
}

bool checkSku(const QStringList& text) {
  const SkuSections s = findSkuSections(text);
  SkuLineCheck sku(false), svf(true);
  bool ok = true;
  for (int i = s.skuStart; i < s.skuEnd; ++i) ok &= sku.check(text.at(i)).code == 0;
  for (int i = s.svfStart; i < s.svfEnd; ++i) ok &= svf.check(text.at(i)).code == 0;
  return ok;
}

TableData toTable(const QStringList& text) {
  SkuToTable conv(findSkuSections(text));
  SkuStageFault fault;
  if (!conv.runSku(text, &fault) || !conv.runSvf(text, &fault)) abort();
  return conv.table();
}

// Each generated text checks clean: the benchmarks time the work on good input.
void mustPass(const QStringList& text, bool rvas) {
  if (rvas ? checkRvas(RvasCompact(text).text).code != 0 : !checkSku(text)) abort();
}

// A step prepared on its input: the work to time and the bytes of its input.
struct Work {
  std::function<void()> run;
  int64_t bytes;
  QByteArray file;  // the same input as a file, for the reference
};
using Prepare = std::function<Work(int64_t size)>;
constexpr double kCheck = 10, kConversion = 40;

Work onText(const QStringList& text, std::function<void(const QStringList&)> f) {
  return {[text, f] { f(text); }, Bytes(text), fileOf(text)};
}

// The reference on one file: repeated over at least about 2 MB, so that a small file is not
// timed at the resolution of the clock.
double referenceSeconds(const QByteArray& file) {
  const int repeat = int(std::max<qsizetype>(1, 2000000 / std::max<qsizetype>(1, file.size())));
  return seconds([&] {
           for (int i = 0; i < repeat; ++i) benchmark::DoNotOptimize(plainread::FileTokens(file));
         }) /
         repeat;
}

void run(benchmark::State& state, const Prepare& prepare, double target) {
  const Work small = prepare(state.range(0)), large = prepare(state.range(0) * 8);
  // Once each before timing: the first run also takes its memory from the system, which the
  // programs keep for the next run.
  small.run();
  large.run();
  std::vector<double> ratios, works, refs, bigs;
  int64_t runs = 0;
  for (auto _ : state) {
    // In turns, so that a busy moment of the machine falls on both sides alike.
    const double ref = referenceSeconds(small.file), work = seconds(small.run);
    ratios.push_back(work / ref);
    works.push_back(work);
    refs.push_back(ref);
    if (runs++ % 4 == 0) bigs.push_back(seconds(large.run));
  }
  const double growth = plainread::Median(bigs) / plainread::Median(works);
  plainread::Verdict(state, plainread::Median(ratios), target, growth);
  state.counters["growth"] = growth;
  state.counters["MB"] = double(small.bytes) / 1e6;
  state.counters["MB/s"] = double(small.bytes) / 1e6 / plainread::Median(works);
  state.counters["read_MB/s"] = double(small.file.size()) / 1e6 / plainread::Median(refs);
}

void BM_ReadAndTokenise(benchmark::State& state) {
  const QByteArray file = fileOf(skuText(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(plainread::FileTokens(file));
  state.SetBytesProcessed(state.iterations() * file.size());
}

QStringList checkedRvas(int64_t n) {
  const QStringList t = rvasText(n);
  mustPass(t, true);
  return t;
}

QStringList checkedSku(int64_t n) {
  const QStringList t = skuText(n);
  mustPass(t, false);
  return t;
}

void BM_CheckRvas(benchmark::State& state) {
  run(
      state,
      [](int64_t n) {
        return onText(checkedRvas(n),
                      [](const QStringList& t) { benchmark::DoNotOptimize(checkRvas(RvasCompact(t).text)); });
      },
      kCheck);
}

void BM_RvasToSku(benchmark::State& state) {
  run(
      state,
      [](int64_t n) {
        return onText(checkedRvas(n), [](const QStringList& t) {
          benchmark::DoNotOptimize(RvasConverter().convert(RvasCompact(t).text).size());
        });
      },
      kConversion);
}

void BM_CheckSku(benchmark::State& state) {
  run(
      state,
      [](int64_t n) {
        return onText(checkedSku(n), [](const QStringList& t) { benchmark::DoNotOptimize(checkSku(t)); });
      },
      kCheck);
}

void BM_SkuToTable(benchmark::State& state) {
  run(
      state,
      [](int64_t n) {
        return onText(checkedSku(n),
                      [](const QStringList& t) { benchmark::DoNotOptimize(toTable(t).rows.size()); });
      },
      kConversion);
}

void BM_TableToSku(benchmark::State& state) {
  // The reference reads the СКУ text the table gives.
  run(
      state,
      [](int64_t n) {
        const auto table = std::make_shared<TableData>(toTable(checkedSku(n)));
        QStringList sku;
        tableToSku(*table, &sku);
        return Work{[table] {
                      QStringList out;
                      benchmark::DoNotOptimize(tableToSku(*table, &out));
                    },
                    Bytes(*table), fileOf(sku)};
      },
      kConversion);
}

}  // namespace

#define SIZES Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(8)
BENCHMARK(BM_ReadAndTokenise)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRvas)->SIZES;
BENCHMARK(BM_RvasToSku)->SIZES;
BENCHMARK(BM_CheckSku)->SIZES;
BENCHMARK(BM_SkuToTable)->SIZES;
BENCHMARK(BM_TableToSku)->SIZES;
int main(int argc, char** argv) { return plainread::RunKeepingFreed(argc, argv); }
