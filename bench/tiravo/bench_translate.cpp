// Tiravo's translators on long texts, each against reading and tokenising the same text in
// the same run (the least any translator must do): the ratio "x_read" is the step's time over
// the reference's. "growth" is the time at 8 times the input over the time at the input;
// linear work gives about 8. Sizes are bytes of the text as a 1251 file (lines ended by CR LF;
// a table as its cells, each with one separator).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/cp1251.h"
#include "platform/textfile.h"
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

// The reference: the file decoded, split into lines and every line cut into names and signs.
int64_t readAndTokenise(const QByteArray& file) {
  const QStringList lines = textfile::splitLines(cp1251::decode(file));
  int64_t tokens = 0;
  for (const QString& l : lines) {
    bool inName = false;
    for (QChar c : l) {
      const bool name = c.isLetterOrNumber();
      if (name && !inName)
        ++tokens;
      else if (!name && c != QLatin1Char(' '))
        ++tokens;
      inName = name;
    }
  }
  return tokens;
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

Work onText(const QStringList& text, std::function<void(const QStringList&)> f) {
  return {[text, f] { f(text); }, Bytes(text), fileOf(text)};
}

void run(benchmark::State& state, const Prepare& prepare) {
  const Work small = prepare(state.range(0)), large = prepare(state.range(0) * 8);
  double ref = 0, work = 0, big = 0;
  int64_t runs = 0, bigRuns = 0;
  for (auto _ : state) {
    // Alternating, so that a busy moment of the machine falls on both sides alike.
    ref += seconds([&] { benchmark::DoNotOptimize(readAndTokenise(small.file)); });
    work += seconds(small.run);
    if (runs++ % 4 == 0) {
      big += seconds(large.run);
      ++bigRuns;
    }
  }
  state.counters["x_read"] = work / ref;
  state.counters["growth"] = (big / double(bigRuns)) / (work / double(runs));
  state.counters["MB"] = double(small.bytes) / 1e6;
  state.counters["MB/s"] = double(runs) * double(small.bytes) / 1e6 / work;
}

void BM_ReadAndTokenise(benchmark::State& state) {
  const QByteArray file = fileOf(skuText(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(readAndTokenise(file));
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
  run(state, [](int64_t n) {
    return onText(checkedRvas(n),
                  [](const QStringList& t) { benchmark::DoNotOptimize(checkRvas(RvasCompact(t).text)); });
  });
}

void BM_RvasToSku(benchmark::State& state) {
  run(state, [](int64_t n) {
    return onText(checkedRvas(n), [](const QStringList& t) {
      benchmark::DoNotOptimize(RvasConverter().convert(RvasCompact(t).text).size());
    });
  });
}

void BM_CheckSku(benchmark::State& state) {
  run(state, [](int64_t n) {
    return onText(checkedSku(n), [](const QStringList& t) { benchmark::DoNotOptimize(checkSku(t)); });
  });
}

void BM_SkuToTable(benchmark::State& state) {
  run(state, [](int64_t n) {
    return onText(checkedSku(n),
                  [](const QStringList& t) { benchmark::DoNotOptimize(toTable(t).rows.size()); });
  });
}

void BM_TableToSku(benchmark::State& state) {
  // The reference reads the СКУ text the table gives.
  run(state, [](int64_t n) {
    const auto table = std::make_shared<TableData>(toTable(checkedSku(n)));
    QStringList sku;
    tableToSku(*table, &sku);
    return Work{[table] {
                  QStringList out;
                  benchmark::DoNotOptimize(tableToSku(*table, &out));
                },
                Bytes(*table), fileOf(sku)};
  });
}

}  // namespace

#define SIZES Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(8)
BENCHMARK(BM_ReadAndTokenise)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRvas)->SIZES;
BENCHMARK(BM_RvasToSku)->SIZES;
BENCHMARK(BM_CheckSku)->SIZES;
BENCHMARK(BM_SkuToTable)->SIZES;
BENCHMARK(BM_TableToSku)->SIZES;
BENCHMARK_MAIN();
