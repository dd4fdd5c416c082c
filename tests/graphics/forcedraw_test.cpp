#include "graphics/forcedraw.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "mechanics/forcemoment.h"
#include "recording_canvas.h"

namespace orvela {
namespace {

using test::TCallKind;
using test::TRecordingCanvas;

class ForceDrawTest : public ::testing::Test {
 protected:
  TForceDrawing drawing;
};

TEST_F(ForceDrawTest, ForceArrowIsScaledBlueAndReversible) {
  drawing.Options.moments = false;
  const TForceMoment fm({100.2, 99.6}, 40.0, 0.0, 0.0);
  TRecordingCanvas canvas;
  DrawForceMoment(canvas, fm, drawing);
  auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{100, 100}, {110, 100}}));
  EXPECT_EQ(lines[0].Pen.Color, clBlue);
  EXPECT_EQ(lines[0].Pen.Width, 2);
  EXPECT_TRUE(canvas.CallsOf(TCallKind::Arc).empty());

  drawing.Options.reversed = true;
  canvas.Clear();
  DrawForceMoment(canvas, fm, drawing);
  lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{100, 100}, {90, 100}}));

  // Zoom Forces In twice: four times longer.
  drawing.Options.reversed = false;
  drawing.Scale = 1.0;
  canvas.Clear();
  DrawForceMoment(canvas, fm, drawing);
  EXPECT_EQ(canvas.CallsOf(TCallKind::LineTo)[0].Points[1], (TPoint{140, 100}));
}

TEST_F(ForceDrawTest, CoupleRadiusRoundsToEvenAndIsRed) {
  drawing.Options.forces = false;
  const TForceMoment fm({0, 0}, 5.0, 5.0, 1000.0);  // 1000 / 4 / 100 = 2.5 → 2
  TRecordingCanvas canvas;
  DrawForceMoment(canvas, fm, drawing);
  EXPECT_TRUE(canvas.CallsOf(TCallKind::LineTo).empty());
  auto arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Points, (std::vector<TPoint>{{-2, -2}, {2, 2}, {0, 2}, {2, 0}}));
  EXPECT_EQ(arcs[0].Pen.Color, clRed);
  EXPECT_EQ(arcs[0].Pen.Width, 2);

  drawing.Options.reversed = true;
  canvas.Clear();
  DrawForceMoment(canvas, fm, drawing);
  arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Points, (std::vector<TPoint>{{2, 2}, {-2, -2}, {0, -2}, {2, 0}}));  // radius −2

  const TForceMoment odd({0, 0}, 0.0, 0.0, 1400.0);  // 3.5 → 4
  drawing.Options.reversed = false;
  canvas.Clear();
  DrawForceMoment(canvas, odd, drawing);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Arc)[0].Points[1], (TPoint{4, 4}));
}

TEST_F(ForceDrawTest, NothingWithBothFlagsOffAndPenAlwaysRestored) {
  const TForceMoment fm({10, 10}, 30.0, -20.0, 5000.0);
  for (int flags = 0; flags < 8; ++flags) {
    drawing.Options = {(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
    TRecordingCanvas canvas;
    canvas.Pen() = TPen{clSilver, 0, TPenStyle::Dot, TPenMode::Copy};
    DrawForceMoment(canvas, fm, drawing);
    EXPECT_EQ(canvas.Pen(), (TPen{clSilver, 0, TPenStyle::Dot, TPenMode::Copy})) << flags;
    EXPECT_EQ(canvas.Calls().empty(), (flags & 3) == 0) << flags;
  }
}

TEST_F(ForceDrawTest, UnroundableValuesFallBackToEmptyFigures) {
  const TForceMoment huge({50, 60}, 1e300, 1.0, std::numeric_limits<double>::quiet_NaN());
  TRecordingCanvas canvas;
  DrawForceMoment(canvas, huge, drawing);
  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{50, 60}, {50, 60}}));
  const auto arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Points[0], (TPoint{50, 60}));
  EXPECT_EQ(arcs[0].Points[1], (TPoint{50, 60}));
}

}  // namespace
}  // namespace orvela
