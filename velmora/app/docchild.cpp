#include "velmora/app/docchild.h"

#include "velmora/app/childkind.h"
#include "velmora/app/frame.h"

std::uint8_t ChildKind = ckNone;

void TDocChild::activated() {
  ChildKind = static_cast<std::uint8_t>(kind());
  if (frame_) frame_->updateActions();
}
