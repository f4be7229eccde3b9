#include "velmora/app/mainform.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/txtform.h"

TDocChild* createTextWindow(const QString& path) {
  auto* w = new TTxtForm();
  if (!path.isEmpty() && !w->LoadFromFile(path)) {  // the reason has been shown
    delete w;
    return nullptr;
  }
  if (MainForm) {
    MainForm->addChild(w);
    MainForm->lastTxtForm = w;
  }
  return w;
}
