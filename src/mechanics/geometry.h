#pragma once

#include <cmath>
#include <cstdint>

namespace orvela {

// A model position or vector in model units (0.1 mm); x to the right, y upward.
struct TPointDouble {
  double x = 0.0;
  double y = 0.0;

  friend bool operator==(const TPointDouble&, const TPointDouble&) = default;
};

// An integer point: everything drawn or hit-tested is rounded to one.
struct TPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

inline constexpr double Pi = 3.141592653589793;
inline constexpr double TwoPi = 2.0 * Pi;
inline constexpr double HalfPi = Pi / 2.0;
// 3π/2 as a literal constant: callers compare vertical directions for exact equality.
inline constexpr double ThreeHalfPi = 4.71238898038469;

// The small helpers are inline: they run inside every force computation.
inline TPointDouble MakePointDouble(double x, double y) { return TPointDouble{x, y}; }

inline double PointDistance(TPointDouble a, TPointDouble b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

inline TPointDouble PointDiff(TPointDouble a, TPointDouble b) {
  return TPointDouble{a.x - b.x, a.y - b.y};
}

// Direction of the line p1→p2 in [0, 2π), counterclockwise from +x. Horizontal and
// vertical lines give the exact constants 0, π/2, π, 3π/2.
double LineAngle(TPointDouble p1, TPointDouble p2);

// Signed rotation carrying direction b onto direction a, in (−π, π].
inline double AngleDifference(double a, double b) {
  double c = a >= b ? a - b : a + TwoPi - b;
  if (c > Pi) c -= TwoPi;
  return c;
}

// Angle of line p1→p2 relative to line p3→p4, in (−π, π].
double AngleBetweenLines(TPointDouble p1, TPointDouble p2, TPointDouble p3, TPointDouble p4);

// Adds or removes at most one turn; −π becomes +π.
inline double NormalizeAngle(double x) {
  if (x <= -Pi) return x + TwoPi;
  if (x > Pi) return x - TwoPi;
  return x;
}

// Turns p in place about c by theta (counterclockwise positive).
void RotatePoint(TPointDouble& p, TPointDouble c, double theta);
// The same turn given by cos θ and sin θ, for turning many points by one angle.
inline void RotatePoint(TPointDouble& p, TPointDouble c, double cosTheta, double sinTheta) {
  const double dx = p.x - c.x;
  const double dy = p.y - c.y;
  p.x = c.x + dx * cosTheta - dy * sinTheta;
  p.y = c.y + dx * sinTheta + dy * cosTheta;
}

// Nearest integer point, ties to even; (0, 0) when a coordinate is not a number or beyond
// the 64-bit range. A coordinate outside the 32-bit range is held at its limit.
TPoint RoundPoint(TPointDouble p);
// RoundPoint that says false, leaving result alone, instead of giving (0, 0).
bool TryRoundPoint(TPointDouble p, TPoint& result);

// v saturated to the 32-bit range.
std::int32_t SaturateToInt32(std::int64_t v);
// Nearest integer, ties to even, saturated to the 32-bit range; 0 when v is not finite.
// For figures that must stay drawable near the edge of the range.
std::int32_t RoundToInt32(double v);
// p moved by (dx, dy), each coordinate saturated.
TPoint OffsetPoint(TPoint p, std::int64_t dx, std::int64_t dy);

// Nearest integer, ties to even; false when x is not a number or outside the 64-bit range.
bool TryRoundToInt64(double x, std::int64_t& result);
// Nearest integer, ties to even; false when v has none in the 32-bit range. The lowest value
// is left out so that the result can always be negated.
bool TryRoundToInt32(double v, std::int32_t& result);
// p moved by (dx, dy); false, leaving result alone, when a coordinate leaves the 32-bit range.
bool TryOffsetPoint(TPoint p, std::int32_t dx, std::int32_t dy, TPoint& result);

}  // namespace orvela
