#pragma once
#include <cstddef>

// How the programs keep freed memory. The C library hands the top of the heap back to the
// system as soon as a large block is freed, and serves every block over 128 KB straight
// from the system; a conversion or a determinization run again on a large document then
// pays for every one of its pages anew. Both programs keep up to 256 MB of freed memory
// for the next run instead (a conversion of 100,000 lines frees about 65 MB at once).
namespace heap {
// Call once, at start-up, before anything large is allocated.
void keepFreed();

// While one lives, blocks of a megabyte and more come straight from the system again. A text
// document's buffer grows by appends as a large text is loaded into it a part at a time; from
// the heap every growth is a copy whose old block stays resident (kept as above), from the
// system it is a remapping. The parts, smaller, still reuse the heap.
class SystemBlocks {
 public:
  SystemBlocks();
  ~SystemBlocks();
  SystemBlocks(const SystemBlocks&) = delete;
  SystemBlocks& operator=(const SystemBlocks&) = delete;
};

// A buffer straight from the system, given back when destroyed, whatever the heap holds free: a
// large temporary freed a part at a time (a file read in parts) leaves nothing resident.
class Pages {
 public:
  explicit Pages(size_t size);
  ~Pages();
  Pages(Pages&& other) noexcept;
  Pages& operator=(Pages&& other) noexcept;
  Pages(const Pages&) = delete;
  Pages& operator=(const Pages&) = delete;
  // Null when the system has no memory to give.
  char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
};
}  // namespace heap
