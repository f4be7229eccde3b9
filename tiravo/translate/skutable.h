#pragma once
// Tiravo's СКУ to table conversion in its two stages: the СКУ section (checked line by line,
// then turned into rows grouped by source events) and the optional СВФ section (checked, then
// its outputs written into the y cells). A stage stops at the first faulty line.
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <QStringList>

#include <functional>
#include <vector>

#include "common/tabledata.h"
#include "tiravo/translate/names.h"
#include "tiravo/translate/skucheck.h"

namespace tiravo {

struct SkuStageFault {
  int line = -1;  // index into the text; -1: the section has no text
  SkuFault fault;
  QString message;
};

class SkuToTable {
 public:
  explicit SkuToTable(const SkuSections& sections) : s_(sections) {}
  // Shown while a stage runs: the 1-based number and text of the line being checked, and
  // the progress (0 to 1000).
  std::function<void(int, const QString&)> onLine;
  std::function<void(int)> onProgress;

  // Both read the text afresh, so a corrected line is judged again. The СКУ stage starts a new
  // table; the СВФ stage works on the rows of the СКУ stage (its check may add rows).
  bool runSku(const QStringList& text, SkuStageFault* fault);
  bool runSvf(const QStringList& text, SkuStageFault* fault);
  const TableData& table() const { return table_; }

 private:
  struct Parsed;
  bool checkSection(const QStringList& text, bool svf, SkuStageFault* fault);
  SkuFault svfEvents(const QString& line);
  void indexCells();
  void indexRow(int row);
  void progress(int value) {
    if (onProgress) onProgress(value);
  }

  SkuSections s_;
  SkuLineCheck sku_{false}, svf_{true};
  TableData table_;
  // Views into the cells of table_: a name of an si cell with the rows that hold it, and the
  // names of the sj cells.
  // The rows of a name are a list through rowLinks_, in the order of the rows.
  struct RowList {
    int first, last;
  };
  struct RowLink {
    int row, next;
  };
  QHash<names::NameKey, RowList> sourceRows_;
  std::vector<RowLink> rowLinks_;
  QSet<names::NameKey> targetNames_;
};

}  // namespace tiravo
