#include "graphics/shapes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "allocation_counter.h"
#include "recording_canvas.h"

namespace orvela {
namespace {

using test::TCallKind;
using test::TRecordingCanvas;

TEST(ArrowTest, ShaftToTipAndHeadInPenColourThenBrushColourRestored) {
  TRecordingCanvas canvas;
  canvas.Pen().Color = clBlue;
  canvas.Brush() = TBrush{clSilver, TBrushStyle::Clear};
  TArrow arrow;
  arrow.origin = {0, 0};
  arrow.corner = {120, 0};
  arrow.Draw(canvas);

  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 0}, {120, 0}}));
  const auto heads = canvas.CallsOf(TCallKind::Polygon);
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(heads[0].Points, (std::vector<TPoint>{{120, 0}, {90, -10}, {90, 10}}));
  EXPECT_EQ(heads[0].Brush.Color, clBlue);
  EXPECT_EQ(heads[0].Brush.Style, TBrushStyle::Solid);
  EXPECT_EQ(canvas.Brush().Color, clSilver);
  EXPECT_EQ(canvas.Brush().Style, TBrushStyle::Solid);
}

TEST(ArrowTest, HeadOfASlantedArrowRoundsTiesToEven) {
  // d = (10, 6): P1 = (10 − 2.5 + 0.5, 6 − 1.5 − 0.8333), P2 = (10 − 2.5 − 0.5, 6 − 1.5 + 0.8333).
  TRecordingCanvas canvas;
  TArrow arrow;
  arrow.corner = {10, 6};
  arrow.Draw(canvas);
  const auto heads = canvas.CallsOf(TCallKind::Polygon);
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(heads[0].Points, (std::vector<TPoint>{{10, 6}, {8, 4}, {7, 5}}));

  // d = (14, 0): the head's base lies at x = 10.5, which goes to the even 10.
  canvas.Clear();
  arrow.corner = {14, 0};
  arrow.Draw(canvas);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon)[0].Points,
            (std::vector<TPoint>{{14, 0}, {10, -1}, {10, 1}}));
}

TEST(CircularArrowTest, PositiveAndNegativeRadius) {
  TRecordingCanvas canvas;
  TCircularArrow arc;
  arc.corner = {12, 99};  // corner.y is not read
  arc.Draw(canvas);
  auto arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Points, (std::vector<TPoint>{{-12, -12}, {12, 12}, {0, 12}, {12, 0}}));
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon)[0].Points,
            (std::vector<TPoint>{{0, 10}, {3, 12}, {0, 14}}));

  canvas.Clear();
  arc.origin = {100, 50};
  arc.corner = {-12, 0};
  arc.Draw(canvas);
  arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Points, (std::vector<TPoint>{{112, 62}, {88, 38}, {100, 38}, {112, 50}}));
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon)[0].Points,
            (std::vector<TPoint>{{100, 40}, {103, 38}, {100, 36}}));
}

TEST(SplineTest, StraightSplineSamplesTenPointsAndClosesAtCorner) {
  TRecordingCanvas canvas;
  TSplineSegment spline;
  spline.corner = {100, 0};
  spline.Draw(canvas);
  ASSERT_FALSE(canvas.Calls().empty());
  EXPECT_EQ(canvas.Calls()[0].Kind, TCallKind::MoveTo);
  std::vector<TPoint> ends;
  for (const auto& call : canvas.CallsOf(TCallKind::LineTo)) ends.push_back(call.Points[1]);
  std::vector<TPoint> expected;
  for (int x = 0; x <= 90; x += 10) expected.push_back({x, 0});
  expected.push_back({100, 0});
  EXPECT_EQ(ends, expected);

  EXPECT_TRUE(spline.Contains(55, 2));
  EXPECT_TRUE(spline.Contains(55, -2));
  EXPECT_FALSE(spline.Contains(55, 4));
  EXPECT_FALSE(spline.Contains(-2, 0));  // the first piece is empty
  EXPECT_FALSE(spline.Contains(95, 0));  // the closing piece is not in the band
}

TEST(SplineTest, CurvedSplineMeetsEndTangentsAndIsHitAlongItsSamples) {
  TSplineSegment spline;
  spline.origin = {0, 0};
  spline.corner = {200, 0};
  spline.angleOrigin = HalfPi / 2;   // leaves at 45° upward
  spline.angleCorner = -HalfPi / 2;  // arrives heading down
  EXPECT_DOUBLE_EQ(spline.PointAt(0).x, 0.0);
  EXPECT_NEAR(spline.PointAt(200).x, 200.0, 1e-9);
  EXPECT_NEAR(spline.PointAt(200).y, 0.0, 1e-9);
  // Symmetric arch: the middle lies sin(45°)·L/4 above the chord.
  EXPECT_NEAR(spline.PointAt(100).x, 100.0, 1e-9);
  EXPECT_NEAR(spline.PointAt(100).y, 50.0 * std::sqrt(0.5), 1e-9);
  // Tangent at O by a small difference.
  const TPointDouble p = spline.PointAt(1e-4);
  EXPECT_NEAR(p.y / p.x, 1.0, 1e-3);

  TRecordingCanvas canvas;
  spline.Draw(canvas);
  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_GE(lines.size(), 11u);
  ASSERT_LE(lines.size(), 12u);
  // The middle of every sampled chord is on the band (the bends leave small gaps outside);
  // the closing chord from the last sample at 180 to C is not.
  for (int i = 1; i <= 9; ++i) {
    const TPointDouble a = spline.PointAt(20.0 * (i - 1)), b = spline.PointAt(20.0 * i);
    const auto x = static_cast<std::int32_t>(std::nearbyint((a.x + b.x) / 2));
    const auto y = static_cast<std::int32_t>(std::nearbyint((a.y + b.y) / 2));
    EXPECT_TRUE(spline.Contains(x, y)) << x << "," << y;
  }
  EXPECT_TRUE(spline.Contains(100, 35));
  EXPECT_FALSE(spline.Contains(100, 30));
  EXPECT_FALSE(spline.Contains(100, 0));
  EXPECT_FALSE(spline.Contains(192, 6));  // closing chord
}

TEST(SplineTest, CoincidentPointsDrawAndContainNothing) {
  TRecordingCanvas canvas;
  TSplineSegment spline;
  spline.origin = spline.corner = {7, 7};
  spline.Draw(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_FALSE(spline.Contains(7, 7));
}

TEST(SplineTest, ContainsAllocatesNothing) {
  TSplineSegment spline;
  spline.corner = {300, 120};
  spline.angleOrigin = 0.3;
  spline.angleCorner = -0.4;
  bool hit = false;
  test::AllocationCounter counter;
  for (int x = 0; x < 300; x += 7) hit = spline.Contains(x, 40) || hit;
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_TRUE(hit);
}

TEST(ShapeTest, SignedSizesAndRectangleUsesItsOwnPen) {
  TRectangle rect;
  rect.origin = {10, 20};
  rect.corner = {4, 5};
  EXPECT_DOUBLE_EQ(rect.Width(), -6.0);
  EXPECT_DOUBLE_EQ(rect.Height(), -15.0);
  rect.pen = TPen{clRed, 0, TPenStyle::Dot, TPenMode::NotXor};
  rect.brush = TBrush{clBlue, TBrushStyle::Clear};

  TRecordingCanvas canvas;
  rect.Draw(canvas);
  const auto rects = canvas.CallsOf(TCallKind::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Pen, rect.pen);
  EXPECT_EQ(rects[0].Brush, rect.brush);
  EXPECT_EQ(canvas.Pen(), rect.pen);  // the surface keeps them

  TShape base;
  EXPECT_EQ(base.pen, (TPen{clBlack, 1, TPenStyle::Solid, TPenMode::Copy}));
  EXPECT_EQ(base.brush, (TBrush{clWhite, TBrushStyle::Solid}));
  canvas.Clear();
  base.Draw(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
}

}  // namespace
}  // namespace orvela
