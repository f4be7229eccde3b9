#pragma once
// Runs a case and its plain reference alternately in one process and reports both as ratios:
// the best time of the case over the best time of the reference, and the case's peak resident
// memory above what the process held before it, over the size of the file it reads.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace docbench {

// "VmHWM" or "VmRSS" of this process in bytes.
inline double statusBytes(const char* field) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble() * 1024;
  return 0;
}

// The peak resident memory starts again from the present.
inline void resetPeak() {
  malloc_trim(0);
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

// The plain references: the file's bytes read whole, and the same bytes written atomically.
inline void plainRead(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  benchmark::DoNotOptimize(f.readAll().size());
}
inline void plainWrite(const QString& path, const QByteArray& bytes) {
  QSaveFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  f.commit();
}

inline double fileSize(const QString& path) { return double(QFile(path).size()); }

// `work` and `reference` run once per iteration each, the order alternating; `work` returns
// after it is done (the caller's window painted). `size` is the file's size for the memory
// figure (0: none).
inline void Versus(benchmark::State& state, const std::function<void()>& work,
                   const std::function<void()>& reference, double size) {
  using Clock = std::chrono::steady_clock;
  double best = 1e300, bestReference = 1e300, peak = 0;
  int k = 0;
  for (auto _ : state) {
    for (int side = 0; side < 2; ++side) {
      const bool mine = (side == 0) == (k % 2 == 0);
      if (mine && size > 0) resetPeak();
      const double base = statusBytes("VmRSS:");
      const auto t0 = Clock::now();
      (mine ? work : reference)();
      const double t = std::chrono::duration<double>(Clock::now() - t0).count();
      if (mine) {
        best = std::min(best, t);
        if (size > 0) peak = std::max(peak, statusBytes("VmHWM:") - base);
        state.SetIterationTime(t);
      } else {
        bestReference = std::min(bestReference, t);
      }
    }
    ++k;
  }
  state.counters["ms"] = best * 1e3;
  state.counters["ref_ms"] = bestReference * 1e3;
  state.counters["time_ratio"] = best / bestReference;
  if (size > 0) {
    state.counters["MB"] = size / 1e6;
    state.counters["mem_ratio"] = peak / size;
  }
}

}  // namespace docbench
