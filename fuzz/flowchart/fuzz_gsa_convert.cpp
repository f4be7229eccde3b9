// The check and the conversion on any flowchart a .gsa file can hold: they must end without
// a crash, every message must name a cell of the grid, and every row a table row.
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "velmora/flowchart/core/gsafile.h"
#include "velmora/flowchart/core/gsatbl.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const QStringList lines =
      textfile::splitLines(cp1251::decode(QByteArray(reinterpret_cast<const char*>(data), int(size))));
  GsaDocument doc;
  if (!GsaFile::parse(lines, &doc, nullptr)) return 0;
  if (doc.grid.rowCount() > 40 || doc.grid.colCount() > 40) return 0;
  TGSATbl t;
  t.Check(doc);
  for (int i = 0; i < t.messages().size(); ++i)
    if (!doc.grid.contains(t.messageCols()[i], t.messageRows()[i])) abort();
  const TableData table = t.MakeTable(doc);
  if (!t.cutShort() && table.rows.size() > TGSATbl::kMaxTableRows) abort();
  return 0;
}
