#include "platform/dialogs.h"
#include "velmora/frameapi/frame.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/translate/tblsku.h"

namespace velmora {

// "Перевод в &СКУ": the table as СКУ text in a new СКУ editor.
void TVexoTableForm::SkuClick() {
  GridSelectCell(1, 1);  // renumbers and drops an empty last row
  if (!frame()) return;
  // Convert first: a refused (oversized) table must not leave an empty СКУ window behind.
  QStringList sku;
  TTblToSku converter(tableData(), &sku);
  converter.Convert();
  auto* editor = qobject_cast<TEditForm*>(frame()->newDocument(TFrame::NewDoc::Sku));
  if (!editor) return;
  editor->setLines(sku);
  if (!converter.hasOutputs())
    dlg::message(this, TTblToSku::warningText(), QStringLiteral("Предупреждение"), dlg::Ok, dlg::Warning);
}

}  // namespace velmora
