// The table compiler and the memory figures, chosen by the first byte. Cells come from the
// input split at line breaks and tabs; bytes from 0xC0 up stand for Cyrillic letters, as in
// code page 1251.
#include <cstdint>
#include <cstdlib>

#include "tiravo/core/ftt.h"
#include "tiravo/core/tblcompile.h"
#include "tiravo/forms/meminfo.h"

#include <QRegularExpression>
#include <QSet>

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

QString Text(const uint8_t* data, size_t size) {
  QString s;
  s.reserve(int(size));
  for (size_t i = 0; i < size; ++i)
    s.append(data[i] >= 0xC0 ? QChar(char16_t(0x0410 + (data[i] - 0xC0))) : QChar(char16_t(data[i])));
  return s;
}

void CheckScan(const QString& cell, int mode) {
  QStringList items;
  int first = -1, last = -1;
  const int code = tiravo::ScanCell(cell, items, mode, &first, &last);
  Check(code == 0 || (code >= 2 && code <= 7) || (code >= 9 && code <= 11));
  Check(first >= 0 && first <= last && (last < cell.size() || last == 0));
  if (code != 0) return;
  if (items.size() == 1 && (items[0] == "1" || items[0] == "0")) {
    Check(mode == tiravo::BinaryCondition || mode == tiravo::AbstractCondition);
    return;
  }
  QSet<QString> keys;
  for (const QString& item : items) {
    const int eq = item.lastIndexOf('=');
    Check(eq > 0 && (item.mid(eq) == "=1" || item.mid(eq) == "=0"));
    const QString key = item.left(eq);
    Check(!key.contains(' ') && !key.contains('&') && key == key.toLower() && !keys.contains(key));
    keys.insert(key);
  }
  if (mode == tiravo::AbstractCondition) Check(items.size() <= 1);
}

struct Refuse : tiravo::CompileCallbacks {
  int rows = 0;
  bool cellError(const CellError& e, TableData&) override {
    Check(e.row >= 1 && e.row <= rows && e.column >= 1 && e.column <= 4 && e.selLength >= 1);
    Check(!e.message.isEmpty());
    return false;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] == 0) {
    const tiravo::MemoryStatus s =
        tiravo::parseMeminfo(QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1)));
    // Without a page file the caption names its absence instead of a share.
    Check(tiravo::physCaption(s).endsWith('%') && (s.totalSwap == 0 || tiravo::swapCaption(s).endsWith('%')));
    return 0;
  }
  const QStringList cells = Text(data + 1, size - 1).split(QRegularExpression("[\\n\\t]"));
  for (int mode = 0; mode <= 4; ++mode)
    for (const QString& cell : cells) CheckScan(cell, mode);
  TableData table;
  for (int i = 0; i + 3 < cells.size(); i += 4)
    table.rows.append(TableRow{cells[i], cells[i + 1], cells[i + 2], cells[i + 3]});
  Refuse refuse;
  refuse.rows = int(table.rows.size());
  const int coding = data[0] & 1;
  auto model = tiravo::CompileTable(table, coding, &refuse);
  if (model) {
    Check(!model->Lines.empty());
    Check(model->Mode == (coding ? FTT::Abstract : FTT::Binary));
  }
  return 0;
}
