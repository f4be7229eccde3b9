#include "platform/heap.h"

#if defined(__GLIBC__) || defined(__linux__)
#include <malloc.h>
#endif

namespace heap {

void keepFreed() {
#ifdef M_MMAP_THRESHOLD
  // Above 32 MB blocks still come from the system directly, so one huge document does not
  // stay in the heap after it is closed.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  // Other C libraries have no such setting: their own way with freed memory stands.
}

}  // namespace heap
