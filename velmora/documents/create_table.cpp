#include "velmora/app/mainform.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/tableform.h"

TDocChild* createTableWindow(const QString& path) {
  auto* form = new TVexoTableForm();
  // A refused file leaves no window behind; the reader has already said why.
  if (!path.isEmpty() && !form->Open(path)) {
    delete form;
    return nullptr;
  }
  if (MainForm) {
    MainForm->addChild(form);
    MainForm->lastTableForm = form;
  }
  return form;
}
