#include "platform/heap.h"

#if defined(__GLIBC__) || defined(__linux__)
#include <malloc.h>
#endif
#if defined(__unix__)
#include <sys/mman.h>
#else
#include <cstdlib>
#endif
#include <utility>

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
  if (systemBlocks++ == 0) mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

SystemBlocks::~SystemBlocks() {
#ifdef M_MMAP_THRESHOLD
  if (--systemBlocks == 0) mallopt(M_MMAP_THRESHOLD, threshold);
#endif
}

Pages::Pages(size_t size) : size_(size) {
  if (size == 0) return;
#if defined(__unix__)
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  data_ = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
#else
  data_ = static_cast<char*>(std::malloc(size));
#endif
  if (!data_) size_ = 0;
}

Pages::~Pages() {
  if (!data_) return;
#if defined(__unix__)
  munmap(data_, size_);
#else
  std::free(data_);
#endif
}

Pages::Pages(Pages&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

Pages& Pages::operator=(Pages&& other) noexcept {
  if (this != &other) {
    Pages gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

}  // namespace heap
