// Any bytes as a table file: refused with a message, or read; what is read is written and
// read back to the same table, whole.
#include "roundtrip.h"

#include "common/tblfile.h"

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
  return 0;
}
