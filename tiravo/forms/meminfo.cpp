#include "tiravo/forms/meminfo.h"

namespace tiravo {
MemoryStatus parseMeminfo(const QByteArray&) { return {}; }
bool readMeminfo(const QString&, MemoryStatus*) { return false; }
QString physCaption(const MemoryStatus&) { return {}; }
QString swapCaption(const MemoryStatus&) { return {}; }
QString totalHint(uint64_t) { return {}; }
}  // namespace tiravo
