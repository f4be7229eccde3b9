#include "tiravo/forms/childform.h"

#include "tiravo/forms/frame.h"

namespace tiravo {

TFrame* frameOf(const QWidget* window) {
  for (const QWidget* w = window; w; w = w->parentWidget()) {
    if (auto* child = qobject_cast<const TChildForm*>(w)) return child->frame();
    // A dialog made by the frame has the frame itself among its parents.
    if (auto* frame = dynamic_cast<const TFrame*>(w)) return const_cast<TFrame*>(frame);
  }
  return nullptr;
}

std::function<void()> frameCommand(QWidget* window, int cmd) {
  return [window, cmd] {
    if (TFrame* f = frameOf(window)) f->fileCommand(static_cast<TFrame::FileCmd>(cmd));
  };
}

}  // namespace tiravo
