#pragma once
// Generated abstract tables for comparing a determinizer's paths: every key one event, in
// the shapes its rows must keep apart (unconditional moves, lines out of the order of
// their events, outputs, conditions of two letters, moves that lead nowhere).
#include <algorithm>
#include <random>
#include <vector>

namespace determfamilies {

struct Move {
  std::vector<int> condition;  // letters, 1-based; empty: unconditional
  std::vector<int> targets;    // events, 1-based, ascending
};
struct Line {
  int event = 1;  // the key
  std::vector<int> outputs;
  std::vector<Move> moves;
};
struct Table {
  int events = 0, letters = 0, outputs = 0;
  std::vector<Line> lines;
};

struct Family {
  int events, letters;
  double density;     // targets per event and letter
  int unconditional;  // percent of lines with an unconditional move
  bool shuffled;      // lines out of the order of their events
  int outputs;        // output signals, spread over the lines
  int pairs;          // percent of moves under a condition of two letters
  int empty;          // percent of moves without targets
};

inline Table Generate(const Family& f, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> percent(0, 99);
  Table t;
  t.events = f.events;
  t.letters = f.letters;
  t.outputs = f.outputs;
  const auto targets = [&](double density) {
    std::vector<int> out;
    for (int e = 1; e <= f.events; ++e)
      if (percent(rng) < int(100 * density / f.events)) out.push_back(e);
    if (out.empty() && percent(rng) >= f.empty) out.push_back(1 + int(rng() % unsigned(f.events)));
    return out;
  };
  for (int e = 1; e <= f.events; ++e) {
    Line line;
    line.event = e;
    for (int y = 1; y <= f.outputs; ++y)
      if (percent(rng) < 30) line.outputs.push_back(y);
    for (int a = 1; a <= f.letters; ++a) {
      if (percent(rng) < 20) continue;  // a letter the line does not name
      Move m;
      m.condition = {a};
      if (a < f.letters && percent(rng) < f.pairs) m.condition.push_back(a + 1);
      m.targets = targets(f.density);
      line.moves.push_back(m);
    }
    if (percent(rng) < f.unconditional) line.moves.push_back(Move{{}, targets(1.0)});
    std::shuffle(line.moves.begin(), line.moves.end(), rng);
    t.lines.push_back(line);
  }
  if (f.shuffled) std::shuffle(t.lines.begin() + 1, t.lines.end(), rng);
  return t;
}

// The families the tests run: one to four words of events, one to eight letters, each
// shape alone and mixed.
inline std::vector<Family> Families() {
  return {
      {5, 2, 1.5, 0, false, 0, 0, 0},   {20, 3, 1.2, 0, false, 0, 0, 0},   {40, 8, 1.1, 0, false, 0, 0, 0},
      {70, 2, 1.2, 0, false, 0, 0, 0},  {130, 4, 1.05, 0, false, 0, 0, 0}, {200, 2, 1.1, 0, false, 0, 0, 0},
      {12, 3, 1.5, 30, false, 0, 0, 0}, {15, 4, 1.5, 0, true, 0, 0, 0},    {15, 3, 1.5, 0, false, 3, 0, 0},
      {15, 4, 1.5, 0, false, 0, 30, 0}, {15, 3, 1.5, 0, false, 0, 0, 20},  {20, 4, 1.3, 20, true, 2, 20, 10},
      {90, 3, 1.1, 10, true, 2, 10, 5},
  };
}

}  // namespace determfamilies
