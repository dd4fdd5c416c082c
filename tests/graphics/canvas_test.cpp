#include "graphics/canvas.h"

#include <gtest/gtest.h>
#include <vector>

namespace orvela {
namespace {

TEST(PolygonContainsPointTest, EvenOddAndWindingDifferInsideOverlaps) {
  // A five-pointed star drawn in one stroke: its centre is wound twice.
  const std::vector<TPoint> star{{0, 100}, {59, -81}, {-95, 31}, {95, 31}, {-59, -81}};
  EXPECT_FALSE(PolygonContainsPoint(star, {0, 0}, TFillRule::EvenOdd));
  EXPECT_TRUE(PolygonContainsPoint(star, {0, 0}, TFillRule::Winding));
  // A tip is inside under both rules, a point beyond the star under neither.
  for (const TFillRule rule : {TFillRule::EvenOdd, TFillRule::Winding}) {
    EXPECT_TRUE(PolygonContainsPoint(star, {0, 80}, rule));
    EXPECT_FALSE(PolygonContainsPoint(star, {0, 120}, rule));
    EXPECT_FALSE(PolygonContainsPoint(star, {60, 60}, rule));
  }
}

TEST(PolygonContainsPointTest, OrientationAndDegenerateInput) {
  std::vector<TPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PolygonContainsPoint(square, {5, 5}, TFillRule::Winding));
  std::vector<TPoint> reversed(square.rbegin(), square.rend());
  EXPECT_TRUE(PolygonContainsPoint(reversed, {5, 5}, TFillRule::Winding));
  EXPECT_FALSE(PolygonContainsPoint(reversed, {15, 5}, TFillRule::Winding));
  // A vertex level with the point must not count twice.
  const std::vector<TPoint> diamond{{0, -10}, {10, 0}, {0, 10}, {-10, 0}};
  EXPECT_TRUE(PolygonContainsPoint(diamond, {0, 0}, TFillRule::EvenOdd));
  EXPECT_FALSE(PolygonContainsPoint(diamond, {-20, 0}, TFillRule::EvenOdd));
  const std::vector<TPoint> line{{0, 0}, {10, 10}};
  EXPECT_FALSE(PolygonContainsPoint(line, {5, 5}, TFillRule::Winding));
  // Coordinates near the 32-bit limits do not overflow.
  const std::vector<TPoint> huge{
      {-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
  EXPECT_TRUE(PolygonContainsPoint(huge, {0, 0}, TFillRule::Winding));
}

}  // namespace
}  // namespace orvela
