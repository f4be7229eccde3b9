// Any .rvs, .sku or .lsa file opened in Tiravo's editor and saved at once: the text comes
// back with every character, and the save never refuses a character the file held.
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/plaintext.h"
#include "platform/textfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The editor's lines: one per paragraph, none for an empty text.
QStringList Lines(const QTextDocument& doc) { return doc.isEmpty() ? QStringList() : plaintext::lines(doc); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QStringList read = textfile::splitLines(cp1251::decode(bytes));  // as the editor reads a file
  QTextDocument doc;
  doc.setPlainText(read.join(QLatin1Char('\n')));
  const QStringList lines = Lines(doc);
  Check(lines.join(QLatin1Char('\n')) == read.join(QLatin1Char('\n')));
  bool ok = false;
  QString error;
  const QByteArray saved = textfile::joinCrLf(lines, &ok, &error);
  Check(ok && error.isEmpty());
  Check(textfile::splitLines(cp1251::decode(saved)) == lines);
  return 0;
}
