#pragma once
// СКУ text -> rows of a transition table.
#include <QStringList>

#include "velmora/documents/formats/docsettings.h"
#include "velmora/documents/formats/tabledata.h"

class TSkuTbl {
 public:
  // out receives the rows (and the signal coding); it is filled from empty.
  TSkuTbl(const QStringList& sku, TableData* out, DocSettings s);
  void Convert();
};
