#include "platform/heap.h"

#if defined(__GLIBC__) || defined(__linux__)
#include <malloc.h>
#endif

namespace heap {

namespace {
#ifdef M_MMAP_THRESHOLD
constexpr int kDefaultThreshold = 128 << 10;  // the C library's own
int threshold = kDefaultThreshold;            // the one in force outside SystemBlocks
int systemBlocks = 0;                         // SystemBlocks alive
#endif
}  // namespace

void keepFreed() {
#ifdef M_MMAP_THRESHOLD
  // Above 32 MB blocks still come from the system directly, so one huge document does not
  // stay in the heap after it is closed.
  threshold = 32 << 20;
  mallopt(M_MMAP_THRESHOLD, threshold);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  // Other C libraries have no such setting: their own way with freed memory stands.
}

SystemBlocks::SystemBlocks() {
#ifdef M_MMAP_THRESHOLD
  if (systemBlocks++ == 0) mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
#endif
}

SystemBlocks::~SystemBlocks() {
#ifdef M_MMAP_THRESHOLD
  if (--systemBlocks == 0) mallopt(M_MMAP_THRESHOLD, threshold);
#endif
}

}  // namespace heap
