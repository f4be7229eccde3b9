#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

TTesting::TTesting(const QStringList&, QStringList* m, DocSettings) { if (m) m->clear(); }
bool TTesting::Check() { return false; }
bool TTesting::CheckSku() { return false; }
int TTesting::errorCount() const { return 0; }
TRvasSku::TRvasSku(const QStringList&, QStringList*, DocSettings) {}
void TRvasSku::Convert() {}
TSkuTbl::TSkuTbl(const QStringList&, TableData*, DocSettings) {}
void TSkuTbl::Convert() {}
TTblToSku::TTblToSku(const TableData&, QStringList*) {}
void TTblToSku::Convert() {}
bool TTblToSku::hasOutputs() const { return false; }
QString TTblToSku::warningText() { return QString(); }
