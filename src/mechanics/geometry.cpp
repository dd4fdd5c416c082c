#include "mechanics/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvela {

std::int32_t SaturateToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t RoundToInt32(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::nearbyint(v);
  if (r <= std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  if (r >= std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(r);
}

TPoint OffsetPoint(TPoint p, std::int64_t dx, std::int64_t dy) {
  return TPoint{SaturateToInt32(p.x + dx), SaturateToInt32(p.y + dy)};
}

double LineAngle(TPointDouble p1, TPointDouble p2) {
  if (p1.y == p2.y) return p2.x >= p1.x ? 0.0 : Pi;
  if (p1.x == p2.x) return p2.y > p1.y ? HalfPi : ThreeHalfPi;
  double t = std::atan((p2.y - p1.y) / (p2.x - p1.x));
  if (t < 0) t += Pi;
  if (p2.y < p1.y) t += Pi;
  return t;
}

double AngleBetweenLines(TPointDouble p1, TPointDouble p2, TPointDouble p3, TPointDouble p4) {
  return AngleDifference(LineAngle(p1, p2), LineAngle(p3, p4));
}

void RotatePoint(TPointDouble& p, TPointDouble c, double theta) {
  RotatePoint(p, c, std::cos(theta), std::sin(theta));
}

bool TryRoundToInt64(double x, std::int64_t& result) {
  // nearbyint honours the default rounding mode: to nearest, ties to even.
  const double r = std::nearbyint(x);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return false;
  result = static_cast<std::int64_t>(r);
  return true;
}

bool TryRoundToInt32(double v, std::int32_t& result) {
  std::int64_t wide = 0;
  if (!TryRoundToInt64(v, wide)) return false;
  if (wide < -std::numeric_limits<std::int32_t>::max() ||
      wide > std::numeric_limits<std::int32_t>::max())
    return false;
  result = static_cast<std::int32_t>(wide);
  return true;
}

bool TryRoundPoint(TPointDouble p, TPoint& result) {
  std::int64_t x = 0;
  std::int64_t y = 0;
  if (!TryRoundToInt64(p.x, x) || !TryRoundToInt64(p.y, y)) return false;
  // Beyond the 32-bit range the coordinate is held at the limit: keeping only the low bits
  // would bring a far-away point back onto the drawing at an arbitrary place.
  result = TPoint{SaturateToInt32(x), SaturateToInt32(y)};
  return true;
}

TPoint RoundPoint(TPointDouble p) {
  TPoint result;
  return TryRoundPoint(p, result) ? result : TPoint{};
}

bool TryOffsetPoint(TPoint p, std::int32_t dx, std::int32_t dy, TPoint& result) {
  const std::int64_t x = static_cast<std::int64_t>(p.x) + dx;
  const std::int64_t y = static_cast<std::int64_t>(p.y) + dy;
  if (x != SaturateToInt32(x) || y != SaturateToInt32(y)) return false;
  result = TPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
  return true;
}

}  // namespace orvela
