#pragma once
// The kind of the MDI child activated last; frame commands are routed by it.
#include <cstdint>

namespace velmora {

enum ChildKindValue : std::uint8_t {
  ckNone = 0,
  ckText = 1,       // TTxtForm
  ckEdit = 2,       // TEditForm (РВАС/СКУ)
  ckGsa = 3,        // TGSAForm
  ckTable = 4,      // TVexoTableForm
  ckOaModel = 6,    // TOAModelForm
  ckOaDesign = 7,   // TOAForm
  ckJointModel = 9  // TOACAModelForm
};

extern std::uint8_t ChildKind;

}  // namespace velmora
