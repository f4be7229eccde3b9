#include "velmora/frameapi/frame.h"
#include "velmora/documents/doccreate.h"
#include "velmora/flowchart/gsaform.h"

namespace velmora {

TDocChild* createGsaWindow(TFrame* frame, const QString& path) {
  auto* w = new TGSAForm();
  // A file that does not read leaves no window behind; the reader has said why.
  if (!path.isEmpty() && !w->Open(path)) {
    delete w;
    return nullptr;
  }
  if (frame) frame->addChild(w);
  return w;
}

}  // namespace velmora
