#include <QPlainTextEdit>

#include "velmora/frameapi/frame.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"

namespace velmora {

TDocChild* createEditWindow(TFrame* frame, int kind, const QString& path) {
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
    if (frame) frame->setStatusText(0, QString());
  }
  if (frame) frame->addChild(w);
  return w;
}

}  // namespace velmora
