#include "velmora/documents/doccreate.h"
#include "platform/dialogs.h"

// Placeholder until the РВАС/СКУ editor is built.
TDocChild* createEditWindow(int, const QString&) {
  dlg::message(nullptr, QStringLiteral("Редактор РВАС/СКУ пока не доступен"), QStringLiteral("Сообщение"));
  return nullptr;
}
