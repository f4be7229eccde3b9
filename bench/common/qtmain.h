#pragma once
// The main of a benchmark that opens windows: an application on the offscreen platform, then
// the benchmarks.
#include <benchmark/benchmark.h>

#include <QApplication>

inline int runWindowBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
