// Reads any bytes as a .gsa file; an accepted file is written, read again and compared. The
// file's own reader (a block at a time) must find what the list of its lines holds.
#include <QBuffer>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/linereader.h"
#include "platform/textfile.h"
#include "velmora/flowchart/core/gsafile.h"

namespace {

// The lines as a reader with tiny blocks hands them out.
QStringList blockLines(const QByteArray& bytes, qsizetype block) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  textfile::LineReader reader(&buffer, block);
  QStringList out;
  QByteArrayView line;
  while (reader.next(&line)) out << cp1251::decode(line.toByteArray());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
  if (size > 0 && blockLines(bytes, 1 + data[0] % 7) != lines) abort();
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
