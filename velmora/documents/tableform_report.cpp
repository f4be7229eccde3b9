#include "platform/dialogs.h"
#include "velmora/documents/tableform.h"

// "От&чет": the table as a formatted report in a new text window.
void TVexoTableForm::mReportClick() {
  dlg::message(this, QStringLiteral("Отчет по таблице переходов пока не доступен"), QStringLiteral("Сообщение"));
}
