// Any bytes as a table file read straight into the grid's model: refused exactly when the
// table file reader refuses them, else the same rows, coding and ignored lines as it reads.
#include "roundtrip.h"

#include "common/gui/tablegridmodel.h"
#include "common/tblfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  TableData table;
  QString error;
  int ignored = -1;
  const bool readable = TblFile::parse(linesOf(data, size), &table, &error, &ignored);
  TableGridModel model;
  QString coding;
  int ignoredHere = -1;
  if (model.assignFileBytes(bytes, &coding, &ignoredHere) != readable) abort();
  if (!readable) return 0;
  if (coding != table.signalCoding || ignoredHere != ignored) abort();
  if (model.rowCount() != qMax<qsizetype>(1, table.rows.size())) abort();
  for (int r = 0; r < table.rows.size(); ++r) {
    const TableRow& row = table.rows[r];
    if (model.text(r, 0) != row.si || model.text(r, 1) != row.y || model.text(r, 2) != row.x ||
        model.text(r, 3) != row.sj)
      abort();
  }
  return 0;
}
