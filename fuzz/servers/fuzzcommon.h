#pragma once
// What both fuzzers check on an automaton they obtained: it is written and read back
// unchanged, and simulating and determinizing it stay within their limits.
#include <cstdlib>

#include "servers/fsmdeterminizer.h"
#include "servers/fsmformat.h"
#include "servers/fsmsimulator.h"

inline void exercise(const fsm::Model& m) {
  fsm::Model back;
  QString error;
  if (!fsm::FsmFile::parse(fsm::FsmFile::toLines(m), &back, &error) || !(back == m)) abort();

  fsm::Simulator sim;
  sim.setModel(m);
  sim.setState(m.eventsText(m.start));
  QStringList inputs{QString(), m.inputs.join(QLatin1Char('&'))};
  for (const QString& x : m.inputs) inputs << x << x.toUpper();
  for (int i = 0; i < inputs.size() && i < 8; ++i) {
    const int status = sim.doStep(inputs[i]);
    if (status < -1 || status > 2) abort();
    sim.state();
    sim.out();
  }
  // Determinization is exponential in the inputs a state tests; keep the runs short.
  if (m.inputs.size() <= 6 && m.events.size() <= 8 && !m.start.isEmpty()) {
    fsm::Determinizer det(m);
    fsm::DetResult r;
    if (det.run(m.start, &r, &error)) {
      const QStringList lines = det.tableLines(r, QStringLiteral("a"));
      if ((lines.size() - 1) % 4 != 0) abort();
    }
  }
}
