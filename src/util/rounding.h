#pragma once
// Integer conversions with the program's fixed semantics: round half to even (or
// truncate) to a signed 32-bit integer, and -2^31 for NaN or anything outside int32.
// Rounding relies on the default round-to-nearest mode, which the program never changes.

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {

inline constexpr int32_t kIntegerIndefinite = INT32_MIN;

// The explicit range checks keep the result defined when the compiler folds constants.
inline int32_t RoundHalfEven(double x) {
  if (!(x >= -2147483648.5 && x < 2147483647.5)) return kIntegerIndefinite;
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(x));
#else
  return static_cast<int32_t>(std::nearbyint(x));
#endif
}

inline int32_t Trunc(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0)) return kIntegerIndefinite;
  return static_cast<int32_t>(x);
}

// Stores an intermediate as float32, making each rounding point visible in the code.
inline float F32(double x) { return static_cast<float>(x); }

}  // namespace orvane
