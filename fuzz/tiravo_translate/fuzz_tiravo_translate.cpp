// The first byte picks the reading: even, the text is a РВАС expression; odd, a СКУ text.
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "tiravo/core/ftt.h"
#include "tiravo/core/tblcompile.h"
#include "tiravo/translate/rvascheck.h"
#include "tiravo/translate/rvasconvert.h"
#include "tiravo/translate/skutable.h"
#include "tiravo/translate/tablesku.h"

using namespace tiravo;

namespace {

[[noreturn]] void fail(const char* what, const QStringList& in, const QStringList& out, const QString& why) {
  fprintf(stderr, "%s\n", what);
  for (const QString& l : in) fprintf(stderr, "IN   %s\n", qPrintable(l));
  for (const QString& l : out) fprintf(stderr, "OUT  %s\n", qPrintable(l));
  fprintf(stderr, "WHY  %s\n", qPrintable(why));
  abort();
}

// Runs both stages; the table when the text passes.
bool skuToTable(const QStringList& text, TableData* table, SkuStageFault* fault) {
  const SkuSections s = findSkuSections(text);
  if (!s.hasSku()) return false;
  SkuToTable conv(s);
  if (!conv.runSku(text, fault)) return false;
  if (s.hasSvf() && !conv.runSvf(text, fault)) return false;
  *table = conv.table();
  return true;
}

class Refuse : public CompileCallbacks {
 public:
  QString why;
  bool cellError(const CellError& e, TableData&) override {
    why = QStringLiteral("row %1 column %2: %3").arg(e.row).arg(e.column).arg(e.message);
    return false;
  }
};

QStringList cells(const TableData& t) {
  QStringList out{t.signalCoding};
  for (const TableRow& r : t.rows) out << r.si + " | " + r.y + " | " + r.x + " | " + r.sj;
  return out;
}

// Every transition: source set, condition, target.
QStringList transitions(const TableData& t) {
  QStringList out;
  QString source;
  for (const TableRow& r : t.rows) {
    if (!r.si.isEmpty()) source = r.si;
    if (r.x == QLatin1String("0")) continue;
    QStringList s = source.split('&');
    s.sort();
    out << s.join('&') + QChar(1) + r.x + QChar(1) + r.sj;
  }
  out.removeDuplicates();
  out.sort();
  return out;
}

void compiles(const QStringList& sku, const TableData& table) {
  TableData t = table;
  Refuse refuse;
  const std::unique_ptr<FTT> model =
      CompileTable(t, table.signalCoding == QLatin1String("Abstract") ? 1 : 0, &refuse);
  if (!model) fail("a checked СКУ text gives a table the compiler refuses", sku, cells(table), refuse.why);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 65536) return 0;
  const bool rvas = (data[0] & 1) == 0;
  const QStringList text = textfile::splitLines(
      cp1251::decode(QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1))));
  SkuStageFault fault;
  TableData table;
  if (rvas) {
    const RvasCompact c(text);
    const RvasFault f = checkRvas(c.text);
    int start = 0, end = 0;
    c.select(f.pos, f.length, &start, &end);
    const int memo = int(text.join('\n').size());
    if (start < 0 || end < start || end > memo)
      fail("selection outside the memo", text, {}, rvasMessage(f.code));
    if (f.code) return 0;
    const QStringList sku = RvasConverter().convert(c.text);
    if (!skuToTable(sku, &table, &fault))
      fail("a checked РВАС text gives a faulty СКУ text", text, sku,
           QStringLiteral("line %1: %2").arg(fault.line).arg(fault.message));
    compiles(sku, table);
    return 0;
  }
  if (!skuToTable(text, &table, &fault)) {
    if (fault.line >= 0 &&
        (fault.fault.start < 0 || fault.fault.start + fault.fault.length > text.at(fault.line).size()))
      fail("selection outside the line", text, {}, fault.message);
    return 0;
  }
  compiles(text, table);
  // Written back, the table reads again into the same transitions. The first name after '='
  // may hold a letter after a digit ("s0a", "x1s0"), which after a '*' or '|' the check
  // refuses: such a table need not come back.
  for (const TableRow& r : table.rows)
    for (const QString* cell : {&r.si, &r.x})
      for (int i = 1; i < cell->size(); ++i)
        if (cell->at(i - 1).isDigit() && !cell->at(i).isDigit() && cell->at(i) != QLatin1Char('&')) return 0;
  QStringList back;
  tableToSku(table, &back);
  TableData again;
  if (!skuToTable(back, &again, &fault))
    fail("the table of a checked text converts back into a faulty text", text, back, fault.message);
  if (transitions(table) != transitions(again)) fail("transitions lost", text, back, {});
  return 0;
}
