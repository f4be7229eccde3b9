#pragma once
// A benchmark automaton as our servers' compiled automaton with abstract inputs: event k+1
// is state k, input a+1 is letter a, no outputs.
#include "bench/common/subsets.h"
#include "servers/fsmmodel.h"

namespace subsets {

inline fsm::Model ModelOf(const Nfa& a) {
  fsm::Model m;
  m.type = fsm::Type{0, 0, 0, 0};
  for (int k = 1; k <= a.letters; ++k) m.inputs << QStringLiteral("x%1").arg(k);
  for (int k = 1; k <= a.states; ++k) m.events << QStringLiteral("s%1").arg(k);
  m.start = fsm::Set{1};
  for (int s = 0; s < a.states; ++s) {
    fsm::Line line;
    line.key = fsm::Set{s + 1};
    for (int l = 0; l < a.letters; ++l) {
      if (a.Next(s, l).empty()) continue;
      fsm::Transition t;
      t.condition = fsm::Set{l + 1};
      for (int target : a.Next(s, l)) t.targets << target + 1;
      line.transitions << t;
    }
    m.lines << line;
  }
  return m;
}

}  // namespace subsets
