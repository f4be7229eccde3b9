// Reads any bytes as a .gsa file; an accepted file is written, read again and compared. The
// file's own reader (a block at a time) must find what the list of its lines holds.
#include <QBuffer>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/linereader.h"
#include "platform/textfile.h"
#include "velmora/flowchart/core/gsafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
  if (size > 0) {
    // The same lines from a reader with tiny blocks, every one of them read up to the end.
    QBuffer tiny;
    tiny.setData(bytes);
    tiny.open(QIODevice::ReadOnly);
    textfile::LineReader reader(&tiny, 1 + data[0] % 7);
    QByteArrayView line;
    qsizetype k = 0;
    for (; reader.next(&line); ++k)
      if (k >= lines.size() || cp1251::decode(line.toByteArray()) != lines[k]) abort();
    if (k != lines.size() || reader.position() != bytes.size()) abort();
  }
  GsaDocument doc;
  const GsaDocument untouched = doc;
  QString error;
  const bool accepted = GsaFile::parse(lines, &doc, &error);
  QBuffer file;
  file.setData(bytes);
  file.open(QIODevice::ReadOnly);
  GsaDocument fromFile;
  QString fileError;
  if (GsaFile::parse(&file, &fromFile, &fileError) != accepted || fileError != error) abort();
  if (!accepted) {
    if (error.isEmpty() || doc != untouched) abort();
    return 0;
  }
  if (fromFile != doc) abort();
  const QStringList written = GsaFile::toLines(doc);
  // What was read has cp1251 codes, so the writer's lines encode.
  if (!cp1251::canEncode(written.join(QString()))) abort();
  GsaDocument again;
  if (!GsaFile::parse(written, &again, &error)) abort();
  if (again != doc) abort();
  if (GsaFile::toLines(again) != written) abort();
  return 0;
}
