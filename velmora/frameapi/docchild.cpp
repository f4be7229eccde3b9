#include "velmora/frameapi/docchild.h"

#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/frame.h"

namespace velmora {

std::uint8_t ChildKind = ckNone;

void TDocChild::activated() {
  ChildKind = static_cast<std::uint8_t>(kind());
  if (frame_) frame_->updateActions();
}

const FrameHandler* TDocChild::handlerOf(FrameCmd cmd) const {
  if (!handlersDeclared_) {
    handlersDeclared_ = true;
    handlers_ = const_cast<TDocChild*>(this)->frameHandlers();
  }
  for (const FrameHandler& h : handlers_)
    if (h.cmd == cmd) return &h;
  return nullptr;
}

bool TDocChild::handles(FrameCmd cmd) const { return handlerOf(cmd) != nullptr; }

bool TDocChild::switchesItself(FrameCmd cmd) const {
  const FrameHandler* h = handlerOf(cmd);
  return h && h->switchesItself;
}

bool TDocChild::frameCommand(FrameCmd cmd, QObject* sender) {
  const FrameHandler* h = handlerOf(cmd);
  if (!h) return false;
  h->run(sender);
  return true;
}

}  // namespace velmora
