#pragma once
// Bit counts and a read prefetch through the compiler's built-ins where it has them, and
// plain code where it does not (C++17 has no <bit>).
#include <cstdint>

namespace bitops {

// The number of trailing zero bits of w, which must not be 0.
inline int CountTrailingZeros(uint64_t w) {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_ctzll(w);
#else
  int n = 0;
  for (; !(w & 1u); w >>= 1) ++n;
  return n;
#endif
}

inline int PopCount(uint64_t w) {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_popcountll(w);
#else
  int n = 0;
  for (; w; w &= w - 1) ++n;
  return n;
#endif
}

// A hint only: asks for the line holding p to be read into the cache.
inline void PrefetchRead(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

}  // namespace bitops
