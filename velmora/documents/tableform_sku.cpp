#include "platform/dialogs.h"
#include "velmora/documents/tableform.h"

// "Перевод в &СКУ": the table as СКУ text in a new СКУ editor.
void TVexoTableForm::SkuClick() {
  dlg::message(this, QStringLiteral("Перевод таблицы в СКУ пока не доступен"), QStringLiteral("Сообщение"));
}
