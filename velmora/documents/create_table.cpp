#include "velmora/frameapi/frame.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/tableform.h"

namespace velmora {

TDocChild* createTableWindow(TFrame* frame, const QString& path) {
  auto* form = new TVexoTableForm();
  // A refused file leaves no window behind; the reader has already said why.
  if (!path.isEmpty() && !form->Open(path)) {
    delete form;
    return nullptr;
  }
  if (frame) frame->addChild(form);
  return form;
}

}  // namespace velmora
