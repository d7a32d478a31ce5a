#include "compiler/fast_exp.h"

#include <cmath>
#include <cstdint>

#include "util/rounding.h"

namespace orvane {
namespace {

// Extended precision for the intermediates, doubles where a value is stored: this is
// the evaluation that the reference values come from (x87 long double on x86-64).
using Ext = long double;

constexpr Ext kLog10E = 0.434294481903251L;
constexpr Ext kK1 = 5.211533782839021L;   // 12 / ln 10
constexpr Ext kK2 = 1.886116970116139L;   // 10 / (ln 10)^2
constexpr Ext kK3 = 9.430584850580696L;   // 50 / (ln 10)^2
constexpr Ext kK4 = 10.423067565678043L;  // 24 / ln 10

constexpr double kTenthSteps[10] = {
    1.0,
    1.258925411794167,
    1.584893192461113,
    1.995262314968879,
    2.51188643150958,
    3.162277660168379,
    3.981071705534972,
    5.011872336272723,
    6.309573444801932,
    7.943282347242815,
};

Ext IntegerPowerOfTen(int32_t b) {
  // Square-and-multiply on the magnitude, inverted for negative powers.
  Ext result = 1.0L;
  Ext base = 10.0L;
  uint32_t e = b < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(b)) : static_cast<uint32_t>(b);
  while (e != 0) {
    if (e & 1u) result *= base;
    base *= base;
    e >>= 1;
  }
  return b < 0 ? 1.0L / result : result;
}

}  // namespace

double FastExp(double x) {
  const double a = static_cast<double>(std::fabs(static_cast<Ext>(x) * kLog10E));
  if (!(a < 2147483647.0)) {
    // Beyond the 32-bit power of ten (|x| above about 4.9e9) or NaN: the limits.
    if (std::isnan(a)) return a;
    return x >= 0.0 ? HUGE_VAL : 0.0;
  }
  const int32_t b = Trunc(a);
  const int32_t c = static_cast<int32_t>(static_cast<Ext>(a - static_cast<Ext>(b)) * 10.0L);
  const double d = static_cast<double>(static_cast<Ext>(a) - (static_cast<Ext>(b) + static_cast<Ext>(c) / 10.0L));
  const Ext e = (c >= 0 && c <= 9) ? static_cast<Ext>(kTenthSteps[c]) : 0.0L;
  const Ext p = IntegerPowerOfTen(b);
  // d = 0 makes K2 / d infinite and the bracket K4 / K1 - 1; exceptions stay masked.
  const Ext s1 = kK1 - d;
  const Ext s2 = d + kK2 / d;
  const Ext s3 = s1 - kK3 / s2;
  const double r = static_cast<double>(p * e * (kK4 / s3 - 1.0L));
  if (x >= 0.0) return r;
  return static_cast<double>(1.0L / static_cast<Ext>(r));
}

}  // namespace orvane
