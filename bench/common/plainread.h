#pragma once
// The plain reference of the text benchmarks: cutting a text into names and signs, the least
// any check or conversion must do with it. It allocates nothing, so it costs the same whatever
// the step timed beside it left on the heap. Also the median and the verdict line the
// benchmarks print per case.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/tabledata.h"
#include "platform/cp1251.h"
#include "platform/heap.h"

namespace plainread {

// A run of letters and digits is one token; every other character but a blank is one.
// `inName` carries the state over the pieces of one text.
template <typename IsName, typename Chars>
int64_t Count(const Chars& chars, IsName isName, bool* inName) {
  int64_t tokens = 0;
  for (auto c : chars) {
    const bool name = isName(c);
    tokens += (name && !*inName) || (!name && c != ' ');
    *inName = name;
  }
  return tokens;
}

inline int64_t Tokens(QStringView text) {
  bool inName = false;
  return Count(
      text, [](QChar c) { return c.isLetterOrNumber(); }, &inName);
}

// A 1251 file read: its bytes decoded into one text (one allocation, none per line) and the
// text cut into tokens.
inline int64_t FileTokens(const QByteArray& file) { return Tokens(cp1251::decode(file)); }

// The lines a step is given, each ended as in a file.
inline int64_t LineTokens(const QStringList& lines) {
  int64_t tokens = 0;
  for (const QString& l : lines) tokens += Tokens(l) + 1;
  return tokens;
}

// The cells of a table, each ended by a separator.
inline int64_t TableTokens(const TableData& table) {
  int64_t tokens = 0;
  for (const TableRow& r : table.rows) tokens += Tokens(r.si) + Tokens(r.y) + Tokens(r.x) + Tokens(r.sj) + 4;
  return tokens;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t h = v.size() / 2;
  return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// "x_read" with the target and, when missed, by how much: the goal and the distance in one line.
inline void Verdict(benchmark::State& state, double ratio, double target, double growth = 0,
                    double growthTarget = 10) {
  state.counters["x_read"] = ratio;
  state.counters["target"] = target;
  std::string label = ratio <= target ? "meets x_read<=" : "MISSES x_read<=";
  label += std::to_string(int(target));
  if (growth > 0) {
    label += growth <= growthTarget ? ", meets growth<=" : ", MISSES growth<=";
    label += std::to_string(int(growthTarget));
  }
  state.SetLabel(label);
}

// The main of a text benchmark: the programs keep freed memory for the next conversion, and
// so does the benchmark.
inline int RunKeepingFreed(int argc, char** argv) {
  heap::keepFreed();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace plainread
