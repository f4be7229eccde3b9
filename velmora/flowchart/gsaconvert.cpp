#include "velmora/flowchart/gsaconvert.h"

#include "velmora/app/mainform.h"
#include "velmora/documents/tableform.h"
#include "velmora/flowchart/core/gsatbl.h"

TVexoTableForm* openGsaTable(const TableData& table) {
  auto* form = new TVexoTableForm();
  if (MainForm) {
    MainForm->addChild(form);
    MainForm->lastTableForm = form;
  }
  form->setTableData(table);
  form->GridSelectCell(1, 1);
  return form;
}

GsaConversion convertGsa(const GsaDocument& doc) {
  GsaConversion out;
  TGSATbl tbl;
  out.verdict = tbl.Check(doc);
  out.messages = tbl.messages();
  out.cols = tbl.messageCols();
  out.rows = tbl.messageRows();
  if (TGSATbl::mayConvert(out.verdict)) out.table = openGsaTable(tbl.MakeTable(doc));
  return out;
}
