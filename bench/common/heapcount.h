#pragma once
// The most heap a piece of code holds, counted at every allocation of the whole program:
// standard containers, Qt's and the C library's alike, so a peak that lasts one call (the
// result built while the run's own arrays are still alive) is seen too. The program that
// includes this header has the C library's allocation functions replaced by counting
// ones that hand the work on to it: include it in one source file of a benchmark only.
#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace heapcount {

// While counting: the bytes taken since it began (less those given back) and their most.
// One thread measures at a time.
inline bool counting = false;
inline int64_t now = 0, peak = 0;

inline void* Taken(void* p) {
  if (p && counting) {
    now += int64_t(malloc_usable_size(p));
    peak = std::max(peak, now);
  }
  return p;
}
inline void Given(void* p) {
  if (p && counting) now -= int64_t(malloc_usable_size(p));
}

// The most heap `f` held above what there was before it.
template <typename F>
size_t PeakOf(F f) {
  now = peak = 0;
  counting = true;
  f();
  counting = false;
  return size_t(peak);
}

}  // namespace heapcount

extern "C" {
void* malloc(size_t n) noexcept { return heapcount::Taken(__libc_malloc(n)); }
void* calloc(size_t n, size_t size) noexcept { return heapcount::Taken(__libc_calloc(n, size)); }
void* realloc(void* p, size_t n) noexcept {
  heapcount::Given(p);
  void* q = __libc_realloc(p, n);
  if (!q && n) {
    heapcount::Taken(p);  // a failed realloc keeps the old block
    return nullptr;
  }
  return heapcount::Taken(q);
}
void* memalign(size_t alignment, size_t n) noexcept {
  return heapcount::Taken(__libc_memalign(alignment, n));
}
void* aligned_alloc(size_t alignment, size_t n) noexcept { return memalign(alignment, n); }
int posix_memalign(void** out, size_t alignment, size_t n) noexcept {
  void* p = memalign(alignment, n);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
void free(void* p) noexcept {
  heapcount::Given(p);
  __libc_free(p);
}
}
