// "Перевод в &СКУ" of the table window: the table as СКУ text.
#include "platform/dialogs.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/tableform.h"
#include "tiravo/translate/tablesku.h"

namespace tiravo {

void runTableToSku(TVexoTableForm& table, QStringList& lines) {
  if (!tableToSku(table.tableData(), &lines))
    dlg::message(&table, tableSkuWarning(), QStringLiteral("Предупреждение"), dlg::Ok, dlg::Warning);
}

}  // namespace tiravo
