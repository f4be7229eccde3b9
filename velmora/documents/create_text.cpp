#include "velmora/frameapi/frame.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/txtform.h"

namespace velmora {

TDocChild* createTextWindow(TFrame* frame, const QString& path) {
  auto* w = new TTxtForm();
  if (!path.isEmpty() && !w->LoadFromFile(path)) {  // the reason has been shown
    delete w;
    return nullptr;
  }
  if (frame) frame->addChild(w);
  return w;
}

}  // namespace velmora
