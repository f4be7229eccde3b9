#pragma once
// A benchmark automaton as a Tiravo table with abstract inputs: event k+1 is state k,
// input a+1 is letter a, no outputs.
#include "bench/common/subsets.h"
#include "tiravo/core/ftt.h"

namespace subsets {

inline FTT TableOf(const Nfa& a) {
  FTT m;
  m.Mode = FTT::Abstract;
  for (int k = 1; k <= a.letters; ++k) m.XNames << QStringLiteral("x%1").arg(k);
  for (int k = 1; k <= a.states; ++k) m.SNames << QStringLiteral("s%1").arg(k);
  for (int s = 0; s < a.states; ++s) {
    FTT_Line line;
    line.Key = SSignalSet{s + 1};
    for (int l = 0; l < a.letters; ++l) {
      if (a.Next(s, l).empty()) continue;
      LTT_Line t;
      t.Condition = SSignalSet{l + 1};
      for (int target : a.Next(s, l)) t.Targets.Add(target + 1);
      line.Transitions.push_back(std::move(t));
    }
    m.Lines.push_back(std::move(line));
  }
  return m;
}

}  // namespace subsets
