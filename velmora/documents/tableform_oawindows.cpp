#include "platform/dialogs.h"
#include "velmora/documents/tableform.h"

// The windows that work on the operational-automaton description: the designer and the
// ОА model window. Each table has at most one of each.

void TVexoTableForm::OAClick() {
  if (oaEditOpen) return;
  dlg::message(this, QStringLiteral("Редактор операционного автомата пока не доступен"), QStringLiteral("Сообщение"),
               dlg::Ok, dlg::Information);
}

void TVexoTableForm::OAModelClick() {
  if (!oa.oaPresent || oaModelOpen) return;
  dlg::message(this, QStringLiteral("Моделирование операционного автомата пока не доступно"),
               QStringLiteral("Сообщение"), dlg::Ok, dlg::Information);
}
