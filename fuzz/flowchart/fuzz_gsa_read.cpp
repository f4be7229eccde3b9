// Reads any bytes as a .gsa file; an accepted file is written, read again and compared. The
// file itself, read a block of lines at a time, must read as the list of its lines does.
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "velmora/flowchart/core/gsafile.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
  GsaDocument doc;
  const GsaDocument untouched = doc;
  QString error;
  const bool accepted = GsaFile::parse(lines, &doc, &error);

  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("in.gsa"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) abort();
  file.close();
  GsaDocument fromFile;
  QString fileError;
  if (GsaFile::read(path, &fromFile, &fileError) != accepted) abort();
  // A file of one line break is no line to the file reader and one empty line to the list: only
  // the line its message names differs.
  if (fileError != error && lines != QStringList{QString()}) abort();

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
