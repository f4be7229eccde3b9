#include "velmora/frameapi/docchild.h"

#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/frame.h"

std::uint8_t ChildKind = ckNone;

void TDocChild::activated() {
  ChildKind = static_cast<std::uint8_t>(kind());
  if (frame_) frame_->updateActions();
}
