#include <QPlainTextEdit>

#include "velmora/app/mainform.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"

TDocChild* createEditWindow(int kind, const QString& path) {
  auto* w = new TEditForm();
  w->setKind(kind);
  if (!path.isEmpty()) {
    if (!w->LoadFromFile(path)) {  // the reason has been shown
      delete w;
      return nullptr;
    }
  } else if (kind == 1) {
    // A new СКУ text starts with its two section headings.
    w->setLines({QStringLiteral("sku:"), QString(), QStringLiteral("svf:")});
    w->Editor->document()->setModified(false);
    if (MainForm) MainForm->setStatusText(0, QString());
  }
  if (MainForm) {
    MainForm->addChild(w);
    MainForm->lastEditForm = w;
  }
  return w;
}
