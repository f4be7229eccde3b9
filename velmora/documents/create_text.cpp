#include "velmora/documents/doccreate.h"
#include "platform/dialogs.h"

// Placeholder until the text window is built.
TDocChild* createTextWindow(const QString&) {
  dlg::message(nullptr, QStringLiteral("Текстовый редактор пока не доступен"), QStringLiteral("Сообщение"));
  return nullptr;
}
