// Any bytes as a table: the first byte picks the type, the rest are cells, four lines to a
// row. The compiler lists faults or builds an automaton that survives its file.
#include <cstddef>
#include <cstdint>

#include "fuzzcommon.h"
#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "servers/fsmcompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t t = data[0];
  const QStringList cells = textfile::splitLines(
      cp1251::decode(QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1))));
  fsm::Compiler c;
  c.setType(t & 1, (t & 2) ? 2 : 0, (t >> 2) & 1, 2 + ((t >> 3) & 3));
  for (int i = 0; i + 3 < cells.size(); i += 4)
    c.addSource(cells[i], cells[i + 1], cells[i + 2], cells[i + 3]);
  const int errors = c.make();
  if (errors < 0) abort();
  if (errors == 0) {
    if (!c.compiled()) abort();
    exercise(c.model());
  } else if (c.compiled() || c.status().isEmpty()) {
    abort();
  }
  return 0;
}
