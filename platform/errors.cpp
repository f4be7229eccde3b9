#include "platform/errors.h"

// The destructors are defined here, once, so each exception type has one type_info in the
// platform library: an error thrown in the servers plugin is caught by its type in the host.
VexoError::~VexoError() = default;
EConvertError::~EConvertError() = default;
