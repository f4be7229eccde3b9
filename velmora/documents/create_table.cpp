#include "velmora/documents/doccreate.h"
#include "platform/dialogs.h"

// Placeholder until the table window is built.
TDocChild* createTableWindow(const QString&) {
  dlg::message(nullptr, QStringLiteral("Окно таблицы переходов пока не доступно"), QStringLiteral("Сообщение"));
  return nullptr;
}
