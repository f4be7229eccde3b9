// Reads any bytes as a .gsa file; an accepted file is written, read again and compared.
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "velmora/flowchart/core/gsafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  const QStringList lines =
      textfile::splitLines(cp1251::decode(QByteArray(reinterpret_cast<const char*>(data), int(size))));
  GsaDocument doc;
  const GsaDocument untouched = doc;
  QString error;
  if (!GsaFile::parse(lines, &doc, &error)) {
    if (error.isEmpty() || doc != untouched) abort();
    return 0;
  }
  const QStringList written = GsaFile::toLines(doc);
  // What was read has cp1251 codes, so the writer's lines encode.
  if (!cp1251::canEncode(written.join(QString()))) abort();
  GsaDocument again;
  if (!GsaFile::parse(written, &again, &error)) abort();
  if (again != doc) abort();
  if (GsaFile::toLines(again) != written) abort();
  return 0;
}
