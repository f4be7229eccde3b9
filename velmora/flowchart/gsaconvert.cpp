#include "velmora/flowchart/gsaconvert.h"

#include "platform/dialogs.h"
#include "velmora/frameapi/frame.h"
#include "velmora/documents/tableform.h"
#include "velmora/flowchart/core/gsatbl.h"

namespace velmora {

TVexoTableForm* openGsaTable(const TableData& table, TFrame* frame) {
  auto* form = new TVexoTableForm();
  if (frame) frame->addChild(form);
  form->setTableData(table);
  form->GridSelectCell(1, 1);
  return form;
}

GsaConversion convertGsa(const GsaDocument& doc, TFrame* frame) {
  GsaConversion out;
  TGSATbl tbl;
  out.verdict = tbl.Check(doc);
  out.messages = tbl.messages();
  out.cols = tbl.messageCols();
  out.rows = tbl.messageRows();
  if (!TGSATbl::mayConvert(out.verdict)) return out;
  const TableData table = tbl.MakeTable(doc);
  out.table = openGsaTable(table, frame);
  out.cutShort = tbl.cutShort();
  if (out.cutShort)
    dlg::message(out.table,
                 QStringLiteral("Граф-схема слишком запутана: таблица переходов построена не полностью."),
                 QStringLiteral("Предупреждение"));
  return out;
}

}  // namespace velmora
