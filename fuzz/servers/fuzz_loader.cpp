// Any bytes as a compiled-automaton file: refused with a message, or read and then
// written back unchanged.
#include <cstddef>
#include <cstdint>

#include "fuzzcommon.h"
#include "platform/cp1251.h"
#include "platform/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = cp1251::decode(QByteArray(reinterpret_cast<const char*>(data), int(size)));
  fsm::Model m;
  QString error;
  if (fsm::FsmFile::parse(textfile::splitLines(text), &m, &error)) {
    exercise(m);
  } else if (error.isEmpty()) {
    abort();  // a refusal always says why
  }
  return 0;
}
