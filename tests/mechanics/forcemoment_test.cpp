#include "mechanics/forcemoment.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

void ExpectSystem(const TForceMoment& fm, TPointDouble origin, double x, double y, double m) {
  EXPECT_DOUBLE_EQ(fm.origin.x, origin.x);
  EXPECT_DOUBLE_EQ(fm.origin.y, origin.y);
  EXPECT_DOUBLE_EQ(fm.x, x);
  EXPECT_DOUBLE_EQ(fm.y, y);
  EXPECT_DOUBLE_EQ(fm.m, m);
}

TEST(ForceMoment, MomentAtPointIsClockwisePositive) {
  EXPECT_EQ(TForceMoment({1, 0}, 0, 1, 0).MomentAtPoint({0, 0}), -1.0);
  EXPECT_EQ(TForceMoment({0, 1}, 1, 0, 0).MomentAtPoint({0, 0}), 1.0);
  EXPECT_EQ(TForceMoment({3, 4}, 2, 5, 7).MomentAtPoint({3, 4}), 7.0);
}

TEST(ForceMoment, ReorientKeepsTheEffect) {
  TForceMoment own({2, 3}, 4, -1, 6);
  own.Reorient({2, 3});
  ExpectSystem(own, {2, 3}, 4, -1, 6);

  TForceMoment couple({2, 3}, 0, 0, 6);
  couple.Reorient({-50, 80});
  ExpectSystem(couple, {-50, 80}, 0, 0, 6);

  const TForceMoment before({2, 3}, 4, -1, 6);
  TForceMoment moved = before;
  moved.Reorient({10, -7});
  EXPECT_EQ(moved.x, 4.0);
  EXPECT_EQ(moved.y, -1.0);
  for (const TPointDouble p : {TPointDouble{0, 0}, TPointDouble{-3, 9}, TPointDouble{100, 1}}) {
    EXPECT_NEAR(moved.MomentAtPoint(p), before.MomentAtPoint(p), 1e-12);
  }
}

TEST(ForceMoment, Magnitude) {
  EXPECT_EQ(TForceMoment({9, 9}, 3, -4, 100).Magnitude(), 5.0);
  EXPECT_EQ(TForceMoment().Magnitude(), 0.0);
}

TEST(ForceMoment, AddPlacesTheOrigin) {
  // Parallel forces along y: the origin is the force-weighted mean of the x coordinates.
  TForceMoment sum({0, 0}, 0, 1, 0);
  sum.Add(TForceMoment({2, 0}, 0, 1, 0));
  ExpectSystem(sum, {1, 0}, 0, 2, 0);

  // A pure couple sits at the midpoint.
  TForceMoment empty;
  empty.Add(TForceMoment({10, 20}, 0, 0, 0));
  ExpectSystem(empty, {5, 10}, 0, 0, 0);

  TForceMoment alongX({0, 2}, 1, 0, 0);
  alongX.Add(TForceMoment({0, 4}, 3, 0, 0));
  ExpectSystem(alongX, {0, 3.5}, 4, 0, 0);

  // Two opposite forces make a clockwise couple at their midpoint.
  TForceMoment pair({0, 0}, 0, 1, 0);
  pair.Add(TForceMoment({2, 0}, 0, -1, 0));
  ExpectSystem(pair, {1, 0}, 0, 0, 2);
}

TEST(ForceMoment, AddIntoEmptyKeepsTheAddedSystemExactly) {
  // (o·f)/f differs from o for many doubles; the sum must not drift.
  const TForceMoment systems[] = {
      {{0.1, 0.7}, 3, 0.3, 11.1},
      {{123.456, -98.7654}, -0.07, 7.77, -3},
      {{517.3, 402.9}, 0, -12.9, 5},
      {{88.8, 19.3}, 6.1, 0, 0.5},
  };
  for (const TForceMoment& s : systems) {
    TForceMoment sum;
    sum.Add(s);
    EXPECT_EQ(sum.origin, s.origin);
    EXPECT_EQ(sum.x, s.x);
    EXPECT_EQ(sum.y, s.y);
    EXPECT_EQ(sum.m, s.m);
  }
}

TEST(ForceMoment, AddIsEquivalentToBothSystems) {
  const TForceMoment first({12, -3}, 2.5, -1.25, 40);
  const TForceMoment cases[] = {
      {{-7, 30}, 1.5, 4, -12},  // general position
      {{3, 3}, -2.5, 6, 0},     // resultant along y only
      {{3, 3}, 1, 1.25, 9},     // resultant along x only
      {{-4, 8}, -2.5, 1.25, 1}  // pure couple
  };
  for (const TForceMoment& second : cases) {
    TForceMoment sum = first;
    sum.Add(second);
    EXPECT_DOUBLE_EQ(sum.x, first.x + second.x);
    EXPECT_DOUBLE_EQ(sum.y, first.y + second.y);
    for (const TPointDouble p : {TPointDouble{0, 0}, TPointDouble{-20, 5}, TPointDouble{60, 70}}) {
      EXPECT_NEAR(sum.MomentAtPoint(p), first.MomentAtPoint(p) + second.MomentAtPoint(p), 1e-9);
    }
  }
}

}  // namespace
}  // namespace orvela
