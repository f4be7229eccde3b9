// The checker on any text: it must end, and every message must name a place in the text.
#include <cstdlib>

#include "fuzzinput.h"
#include "velmora/translate/testing.h"

using namespace velmora;

namespace {

void checkMessages(const QStringList& text, const QStringList& messages) {
  for (const QString& m : messages) {
    const QStringList parts = m.split(QLatin1Char('-'));
    if (parts.size() < 4) abort();
    bool ok1, ok2, ok3;
    const int line = parts[0].toInt(&ok1), pos = parts[1].toInt(&ok2), len = parts[2].toInt(&ok3);
    if (!ok1 || !ok2 || !ok3) abort();
    const int lines = int(text.size());
    if (line < 1 || line > (lines > 0 ? lines : 1)) abort();
    const int lineLength = lines > 0 ? int(text[line - 1].size()) : 0;
    if (pos < 0 || pos > lineLength || len < -1 || pos + len > lineLength + 1) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const DocSettings s = fuzzinput::settings(data, size);
  const QStringList text = fuzzinput::lines(data, size);
  QStringList messages;
  {
    TTesting t(text, &messages, s);
    const bool failed = t.Check();
    if (failed != (t.errorCount() > 0) || messages.size() != t.errorCount() + t.warningCount()) abort();
    checkMessages(text, messages);
  }
  {
    TTesting t(text, &messages, s);
    const bool failed = t.CheckSku();
    if (failed != (t.errorCount() > 0) || messages.size() != t.errorCount() + t.warningCount()) abort();
    checkMessages(text, messages);
  }
  return 0;
}
