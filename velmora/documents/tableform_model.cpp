#include "platform/dialogs.h"
#include "velmora/documents/tableform.h"

// Compilation, simulation and determinization through the outside automation servers.

bool TVexoTableForm::Compile(bool save) {
  Q_UNUSED(save);
  dlg::message(this, QStringLiteral("Компиляция таблицы пока не доступна"), QStringLiteral("Сообщение"));
  return false;
}

void TVexoTableForm::StandartClick() {
  dlg::message(this, QStringLiteral("Моделирование УА пока не доступно"), QStringLiteral("Сообщение"));
}

void TVexoTableForm::N9Click() {
  dlg::message(this, QStringLiteral("Детерминизация пока не доступна"), QStringLiteral("Сообщение"));
}

void TVexoTableForm::AllModelClick() {
  dlg::message(this, QStringLiteral("Моделирование УА+ОА пока не доступно"), QStringLiteral("Сообщение"));
}
