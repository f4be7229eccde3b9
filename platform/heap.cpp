#include "platform/heap.h"

#include <malloc.h>

namespace heap {

void keepFreed() {
  // Above 32 MB blocks still come from the system directly, so one huge document does not
  // stay in the heap after it is closed.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace heap
