#include "velmora/documents/doccreate.h"
#include "platform/dialogs.h"

// The flowchart editor is not built yet.
TDocChild* createGsaWindow(const QString&) {
  dlg::message(nullptr, QStringLiteral("Редактор ГСА пока не доступен"), QStringLiteral("Сообщение"));
  return nullptr;
}
