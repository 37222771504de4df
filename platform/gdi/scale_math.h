// Logical to device pixel edges at a scale in quarters (see platform/gdi/device_scale.h).
#pragma once

namespace platform::gdi {

inline constexpr int kUnitScale = 4;  // quarters at 1x

inline long long floor_div(long long a, long long b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
// The device edge of logical edge `l` at scale `q` quarters.
inline long long to_device(long long l, int q) {
  return q == kUnitScale ? l : floor_div(l * q + 1, 4);
}
// The logical pixel that device pixel `d` belongs to (inverse of to_device).
inline long long to_logical(long long d, int q) {
  return q == kUnitScale ? d : floor_div(4 * d + 2, q);
}

}  // namespace platform::gdi
