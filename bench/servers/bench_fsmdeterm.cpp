// The determinizer server's subset construction against the tight one over bitsets, on
// the same automata in the same run (abstract inputs, no outputs): the blow-up family
// "(a|b)* a (a|b)^{n-1}" and random nondeterministic automata, the same families as the
// engine's.
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "bench/common/versus.h"
#include "bench/servers/nfamodel.h"
#include "servers/fsmdeterminizer.h"

// The heap held through operator new and the most of it held since the last look: the
// server frees its index of states before it returns, which the heap left in use after a
// run does not show. Qt's containers allocate apart from it; the server keeps its states in
// standard ones.
namespace {
size_t heapNow = 0, heapPeak = 0;
}  // namespace

void* operator new(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  heapNow += malloc_usable_size(p);
  heapPeak = std::max(heapPeak, heapNow);
  return p;
}
void operator delete(void* p) noexcept {
  if (p) heapNow -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

// The most heap `f` held above what there was before it.
template <typename F>
size_t PeakOf(F f) {
  const size_t base = heapNow;
  heapPeak = base;
  f();
  return heapPeak - base;
}

subsets::Figures RunServer(const fsm::Model& m, bool measureMemory) {
  subsets::Figures f;
  const auto run = [&] {
    fsm::DetResult r;
    QString error;
    if (!fsm::Determinizer(m).run(m.start, &r, &error)) return;
    f.states = size_t(r.states.size());
    for (int k = 0; k < r.states.size(); ++k) f.transitions += size_t(r.states.moveCount(k));
  };
  if (measureMemory)
    f.bytes = PeakOf(run);
  else
    run();
  return f;
}

void Compare(benchmark::State& state, const subsets::Nfa& a) {
  const fsm::Model m = subsets::ModelOf(a);
  subsets::Versus(state, a, [&m](bool measureMemory) { return RunServer(m, measureMemory); });
}

SUBSETS_BENCHMARK_FAMILIES(Compare);

}  // namespace

BENCHMARK_MAIN();
