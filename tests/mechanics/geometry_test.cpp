#include "mechanics/geometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace orvela {
namespace {

const TPointDouble Zero{0, 0};

TEST(LineAngle, AxisDirectionsAreExactConstants) {
  EXPECT_EQ(LineAngle(Zero, Zero), 0.0);
  EXPECT_EQ(LineAngle({3, 4}, {3, 4}), 0.0);
  EXPECT_EQ(LineAngle(Zero, {5, 0}), 0.0);
  EXPECT_EQ(LineAngle(Zero, {-5, 0}), Pi);
  EXPECT_EQ(LineAngle(Zero, {0, 5}), HalfPi);
  EXPECT_EQ(LineAngle(Zero, {0, -5}), 4.71238898038469);
  EXPECT_EQ(LineAngle({2, -7}, {2, -9}), ThreeHalfPi);
}

TEST(LineAngle, QuadrantsCoverZeroToTwoPi) {
  EXPECT_DOUBLE_EQ(LineAngle(Zero, {1, 1}), Pi / 4);
  EXPECT_DOUBLE_EQ(LineAngle(Zero, {-1, 1}), 3 * Pi / 4);
  EXPECT_DOUBLE_EQ(LineAngle(Zero, {-1, -1}), 5 * Pi / 4);
  EXPECT_DOUBLE_EQ(LineAngle(Zero, {1, -1}), 7 * Pi / 4);
  EXPECT_DOUBLE_EQ(LineAngle({10, 10}, {10 + std::sqrt(3.0), 11}), Pi / 6);
  for (double a = 0.05; a < TwoPi; a += 0.1) {
    const double r = LineAngle(Zero, {std::cos(a), std::sin(a)});
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, TwoPi);
    EXPECT_NEAR(r, a, 1e-12);
  }
}

TEST(AngleDifference, SignedShortestTurn) {
  EXPECT_NEAR(AngleDifference(0.1, TwoPi - 0.1), 0.2, 1e-15);
  EXPECT_NEAR(AngleDifference(TwoPi - 0.1, 0.1), -0.2, 1e-15);
  EXPECT_EQ(AngleDifference(Pi, 0.0), Pi);
  EXPECT_EQ(AngleDifference(0.0, Pi), Pi);  // half a turn is +π from either side
  EXPECT_EQ(AngleDifference(1.0, 1.0), 0.0);
}

TEST(AngleBetweenLines, AgainstReferenceLines) {
  const TPointDouble xAxis{100, 0};
  const TPointDouble yAxis{0, 100};
  EXPECT_EQ(AngleBetweenLines(Zero, {-1, 0}, Zero, xAxis), Pi);
  EXPECT_EQ(AngleBetweenLines(Zero, {0, -1}, Zero, xAxis), ThreeHalfPi - TwoPi);
  EXPECT_DOUBLE_EQ(AngleBetweenLines(Zero, {1, -1}, Zero, xAxis), -Pi / 4);
  // Measured from +y, counterclockwise positive.
  EXPECT_EQ(AngleBetweenLines(Zero, {0, 3}, Zero, yAxis), 0.0);
  EXPECT_EQ(AngleBetweenLines(Zero, {-3, 0}, Zero, yAxis), HalfPi);
  EXPECT_EQ(AngleBetweenLines(Zero, {3, 0}, Zero, yAxis), -HalfPi);
}

TEST(NormalizeAngle, AtMostOneTurn) {
  EXPECT_EQ(NormalizeAngle(-Pi), Pi);
  EXPECT_EQ(NormalizeAngle(Pi), Pi);
  EXPECT_EQ(NormalizeAngle(0.5), 0.5);
  EXPECT_DOUBLE_EQ(NormalizeAngle(3.5 * Pi), 1.5 * Pi);
  EXPECT_DOUBLE_EQ(NormalizeAngle(-1.5 * Pi), 0.5 * Pi);
}

TEST(RotatePoint, CounterclockwiseInPlace) {
  TPointDouble p{10, 0};
  RotatePoint(p, Zero, HalfPi);
  EXPECT_NEAR(p.x, 0.0, 1e-14);
  EXPECT_NEAR(p.y, 10.0, 1e-14);
  TPointDouble q{3, 2};
  RotatePoint(q, {2, 2}, Pi);
  EXPECT_NEAR(q.x, 1.0, 1e-14);
  EXPECT_NEAR(q.y, 2.0, 1e-14);
  TPointDouble c{5, 5};
  RotatePoint(c, c, 1.234);
  EXPECT_EQ(c, (TPointDouble{5, 5}));
}

TEST(RoundPoint, TiesToEvenAndFailures) {
  EXPECT_EQ(RoundPoint({2.5, -2.5}), (TPoint{2, -2}));
  EXPECT_EQ(RoundPoint({3.5, -3.5}), (TPoint{4, -4}));
  EXPECT_EQ(RoundPoint({0.49999999999999994, 1.5000001}), (TPoint{0, 2}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(RoundPoint({nan, 7}), (TPoint{0, 0}));
  EXPECT_EQ(RoundPoint({7, inf}), (TPoint{0, 0}));
  EXPECT_EQ(RoundPoint({7, 1e19}), (TPoint{0, 0}));
  // Within 64 bits but beyond 32: held at the limit, not wrapped round onto the drawing.
  EXPECT_EQ(RoundPoint({4294967396.0, -3e9}), (TPoint{INT32_MAX, INT32_MIN}));
  EXPECT_EQ(RoundPoint({-9223372036854775808.0, 7}), (TPoint{INT32_MIN, 7}));

  std::int64_t r = 0;
  EXPECT_FALSE(TryRoundToInt64(9223372036854775808.0, r));
  EXPECT_TRUE(TryRoundToInt64(-0.5, r));
  EXPECT_EQ(r, 0);
}

// The Try forms say false and leave the result alone where RoundPoint gives (0, 0) and the
// saturating forms clamp.
TEST(RoundPoint, TryFormsReportWhatDoesNotFit) {
  TPoint p{9, 9};
  EXPECT_FALSE(TryRoundPoint({std::numeric_limits<double>::quiet_NaN(), 1}, p));
  EXPECT_EQ(p, (TPoint{9, 9}));
  EXPECT_TRUE(TryRoundPoint({2.5, 5e9}, p));
  EXPECT_EQ(p, (TPoint{2, INT32_MAX}));

  std::int32_t k = 7;
  EXPECT_TRUE(TryRoundToInt32(-2147483647.4, k));
  EXPECT_EQ(k, -INT32_MAX);
  // The lowest value has no negation, so it does not count as fitting.
  EXPECT_FALSE(TryRoundToInt32(-2147483648.0, k));
  EXPECT_FALSE(TryRoundToInt32(2147483648.0, k));
  EXPECT_EQ(k, -INT32_MAX);

  TPoint q{1, 1};
  EXPECT_TRUE(TryOffsetPoint({INT32_MAX - 5, INT32_MIN + 5}, 5, -5, q));
  EXPECT_EQ(q, (TPoint{INT32_MAX, INT32_MIN}));
  EXPECT_FALSE(TryOffsetPoint({INT32_MAX, 0}, 1, 0, q));
  EXPECT_FALSE(TryOffsetPoint({0, INT32_MIN}, 0, -1, q));
  EXPECT_EQ(q, (TPoint{INT32_MAX, INT32_MIN}));
}

TEST(PointHelpers, DistanceAndDifference) {
  EXPECT_EQ(PointDistance({1, 1}, {4, 5}), 5.0);
  EXPECT_EQ(PointDiff({1, 1}, {4, 5}), (TPointDouble{-3, -4}));
  EXPECT_EQ(MakePointDouble(1.5, -2), (TPointDouble{1.5, -2}));
}

}  // namespace
}  // namespace orvela
