// Any bytes as a table file: refused with a message, or read; what is read is written and
// read back to the same table, whole, and the table streamed into a file is the same bytes.
#include "roundtrip.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

#include "common/tblfile.h"

namespace {

// A file of this process, in memory where the system has such a place (a save syncs its file).
const QString& scratchFile() {
  static const QString path =
      (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
      QStringLiteral("/fuzz_tblfile.%1.tbl").arg(qint64(getpid()));
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TableData table;
  QString error;
  int ignored = -1;
  if (!TblFile::parse(linesOf(data, size), &table, &error, &ignored)) {
    if (error.isEmpty()) abort();
    return 0;
  }
  if (ignored < 0 || ignored > 3 || (ignored > 0) == TblFile::ignoredLinesMessage(ignored).isEmpty()) abort();
  TableData back;
  int ignoredBack = -1;
  if (!TblFile::parse(rewritten(TblFile::toLines(table)), &back, &error, &ignoredBack)) abort();
  if (ignoredBack != 0 || back.signalCoding != table.signalCoding || back.rows != table.rows) abort();
  bool ok = false;
  const QByteArray joined = textfile::joinCrLf(TblFile::toLines(table), &ok, &error);
  if (!ok || !TblFile::write(scratchFile(), table, &error)) abort();
  QFile f(scratchFile());
  if (!f.open(QIODevice::ReadOnly) || f.readAll() != joined) abort();
  return 0;
}
