#include <cmath>
#include <gtest/gtest.h>

#include "graphics/forcedraw.h"
#include "graphics/imagelist.h"
#include "model/teeth.h"
#include "recording_canvas.h"
#include "scenes.h"

namespace orvela {
namespace {

using test::TCallKind;
using test::TRecordedCall;
using test::TRecordingCanvas;

double LengthOf(const TRecordedCall& line) {
  const TPoint a = line.Points[0];
  const TPoint b = line.Points[1];
  return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

// Blue width-2 lines: the supporting-cervix line and force arrow shafts.
std::vector<TRecordedCall> BlueLines(const TRecordingCanvas& canvas) {
  std::vector<TRecordedCall> result;
  for (const TRecordedCall& c : canvas.CallsOf(TCallKind::LineTo))
    if (c.Pen.Color == clBlue && c.Pen.Width == 2) result.push_back(c);
  return result;
}

class ToothDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    canine.AddBracket(0, 45);
    canvas.Pen().Width = 7;
  }

  TForceDrawing drawing;
  TTooth33 canine;
  TRecordingCanvas canvas;
};

TEST_F(ToothDrawing, CrownRootCentreCervixAndBracket) {
  drawing.Places = TForceDrawPlaces{false, false, false};
  canine.Draw(canvas, drawing);
  const auto polygons = canvas.CallsOf(TCallKind::Polygon);
  ASSERT_EQ(polygons.size(), 3u);  // crown, root, bracket
  EXPECT_EQ(polygons[0].Points.size(), 15u);
  EXPECT_EQ(polygons[0].Brush.Color, (TColor{255, 255, 232}));
  EXPECT_EQ(polygons[0].Pen.Color, (TColor{128, 128, 128}));
  EXPECT_EQ(polygons[0].Pen.Width, 1);
  EXPECT_EQ(polygons[1].Points.size(), 18u);
  EXPECT_EQ(polygons[1].Brush.Color, (TColor{255, 255, 128}));
  EXPECT_EQ(polygons[2].Brush.Color, clSilver);
  EXPECT_EQ(polygons[2].Pen.Width, 0);
  EXPECT_EQ(polygons[2].Pen.Color, clBlack);
  EXPECT_EQ(polygons[2].Points[0], (TPoint{190, 920}));

  const auto ellipses = canvas.CallsOf(TCallKind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].Points, (std::vector<TPoint>{{200, 781}, {210, 791}}));
  EXPECT_EQ(ellipses[0].Brush.Color, (TColor{255, 255, 128}));

  // No force arrows with every place off: only the cervix line is blue.
  EXPECT_TRUE(canvas.CallsOf(TCallKind::Arc).empty());
  const auto blue = BlueLines(canvas);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].Points, (std::vector<TPoint>{{175, 850}, {235, 850}}));
  EXPECT_EQ(canvas.Pen().Width, 7);

  canine.SetAnkylosed(true);
  canvas.Clear();
  canine.Draw(canvas, drawing);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon)[1].Brush.Color, (TColor{255, 128, 128}));
  EXPECT_EQ(canvas.CallsOf(TCallKind::Ellipse)[0].Brush.Color, (TColor{255, 128, 128}));
  canine.SetAnkylosed(false);
  canvas.Clear();
  canine.Draw(canvas, drawing);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon)[1].Brush.Color, (TColor{255, 255, 128}));
}

TEST_F(ToothDrawing, CervixLineFollowsSupportAndKeepsItsLength) {
  drawing.Places = TForceDrawPlaces{false, false, false};
  canine.SetCervix({0, 80});
  canine.Draw(canvas, drawing);
  auto blue = BlueLines(canvas);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].Points[0].y, 770);
  EXPECT_DOUBLE_EQ(LengthOf(blue[0]), canine.cervixDiameter);

  canine.Rotate(canine.cRes(), 0.4);
  canvas.Clear();
  canine.Draw(canvas, drawing);
  blue = BlueLines(canvas);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_NEAR(LengthOf(blue[0]), canine.cervixDiameter, 1.5);
}

TEST_F(ToothDrawing, ForcesAtEachPlace) {
  // No wires, drawing at attachments: one zero system per attachment at the model origin.
  drawing.Places = TForceDrawPlaces{false, true, false};
  canine.DrawForces(canvas, drawing);
  const auto arcs = canvas.CallsOf(TCallKind::Arc);
  ASSERT_EQ(arcs.size(), 3u);
  for (const TRecordedCall& arc : arcs) EXPECT_EQ(arc.Points[0], (TPoint{0, 0}));
  EXPECT_EQ(canvas.CallsOf(TCallKind::MoveTo).size(), 3u);

  // With a wire: the sum at cRes, and at the bracket centre.
  TTooth34 premolar;
  premolar.AddBracket(0, 40);
  premolar.Translate({115, 30});
  TWireStraight wire;
  wire.SetAttachment(wire.Attachments[0], canine.Brackets()[0]->Attachments[0].get());
  wire.SetAttachment(wire.Attachments[1], premolar.Brackets()[0]->Attachments[1].get());
  ASSERT_GT(wire.Force(), 50.0);

  drawing.Places = TForceDrawPlaces{true, false, false};
  canvas.Clear();
  canine.DrawForces(canvas, drawing);
  ASSERT_EQ(canvas.CallsOf(TCallKind::Arc).size(), 1u);
  EXPECT_EQ(canvas.CallsOf(TCallKind::MoveTo)[0].Points[0], RoundPoint(canine.cRes()));
  const TForceMoment total = canine.TotalForce();
  const TPoint tip = canvas.CallsOf(TCallKind::LineTo)[0].Points[1];
  EXPECT_EQ(tip.x, 205 + std::nearbyint(total.x / drawing.Scale));
  EXPECT_EQ(tip.y, 786 + std::nearbyint(total.y / drawing.Scale));

  drawing.Places = TForceDrawPlaces{false, false, true};
  canvas.Clear();
  canine.DrawForces(canvas, drawing);
  ASSERT_EQ(canvas.CallsOf(TCallKind::MoveTo).size(), 1u);
  EXPECT_EQ(canvas.CallsOf(TCallKind::MoveTo)[0].Points[0], (TPoint{205, 915}));

  drawing.Places = TForceDrawPlaces{true, true, true};
  canvas.Clear();
  canine.Draw(canvas, drawing);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Arc).size(), 5u);
}

TEST_F(ToothDrawing, ReferenceOutline) {
  canine.DrawOriginalOutline(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
  canine.SetOriginalOutline();
  canine.Translate({50, 0});
  canvas.Pen().Style = TPenStyle::Solid;
  canvas.Pen().Mode = TPenMode::NotXor;
  canvas.Pen().Color = TColor{9, 9, 9};
  canine.DrawOriginalOutline(canvas);
  const auto lines = canvas.CallsOf(TCallKind::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].Points.size(), 33u);
  EXPECT_EQ(lines[0].Points[0], (TPoint{200, 850}));  // where it was stored
  EXPECT_EQ(lines[0].Pen.Style, TPenStyle::Dot);
  EXPECT_EQ(lines[0].Pen.Width, 0);
  EXPECT_EQ(lines[0].Pen.Mode, TPenMode::Copy);
  EXPECT_EQ(lines[0].Pen.Color, (TColor{9, 9, 9}));
  EXPECT_EQ(canvas.Pen().Style, TPenStyle::Solid);
  EXPECT_EQ(canvas.Pen().Mode, TPenMode::NotXor);
  EXPECT_EQ(canvas.Pen().Width, 7);
}

TEST_F(ToothDrawing, Handles) {
  const TBlankImageList images(44, 44, 2);
  const TMarkerList markers = canine.Markers(TMarkerStyle{&images, nullptr});
  ASSERT_EQ(markers.size(), 3u);
  const struct {
    TPoint At;
    const char* Hint;
    std::int16_t Cursor;
    THandleAction Action;
    std::int32_t Image;
  } expected[] = {{{205, 960}, "Cusp Tip.", 2, THandleAction::Rotate, 1},
                  {{205, 690}, "Apex.", 2, THandleAction::Rotate, 1},
                  {{205, 786}, "Center of Resistance.", -22, THandleAction::Translate, 0}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(markers[i]->origin, expected[i].At);
    EXPECT_EQ(markers[i]->Hint, expected[i].Hint);
    EXPECT_EQ(markers[i]->Cursor, expected[i].Cursor);
    EXPECT_EQ(markers[i]->Action, expected[i].Action);
    EXPECT_EQ(markers[i]->imageIdx, expected[i].Image);
    EXPECT_EQ(markers[i]->ShapeType, oglmImage);
    EXPECT_EQ(markers[i]->ImageList, &images);
    EXPECT_EQ(markers[i]->Owner, &canine);
  }

  canine.Responce[2] = TPoint{55, 82};
  const TMarkerList points = canine.ResponceMarkers();
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[2]->origin, (TPoint{55, 82}));
  EXPECT_EQ(points[4]->origin, (TPoint{90, 70}));
  EXPECT_EQ(points[0]->size, 2);
  EXPECT_EQ(points[0]->Cursor, -22);
  EXPECT_EQ(points[0]->ShapeType, oglmCross);
  EXPECT_EQ(points[0]->Owner, nullptr);
  EXPECT_EQ(points[0]->Action, THandleAction::None);
  EXPECT_TRUE(points[2]->ContainsInUnits(57, 80));
  EXPECT_FALSE(points[2]->ContainsInUnits(58, 82));
}

TEST(SceneDrawing, WholeArchDraws) {
  TSetup setup;
  test::AddLowerArchScene(setup);
  TRecordingCanvas canvas;
  for (const auto& tooth : setup.ToothList()) tooth->DrawOriginalOutline(canvas);
  for (const auto& tooth : setup.ToothList()) tooth->Draw(canvas, TForceDrawing{});
  for (const auto& wire : setup.WireList()) wire->Draw(canvas);
  // Eight teeth of crown, root and bracket, eight force systems, seven curves.
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polygon).size(), 8u * 3 + 8 * 2);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Arc).size(), 8u);
  std::size_t wideLines = 0;
  for (const TRecordedCall& c : canvas.CallsOf(TCallKind::LineTo)) wideLines += c.Pen.Width == 3;
  EXPECT_GE(wideLines, 7u * 11);
}

// What a skipped tooth or wire must honour: every point a drawing touches lies within its
// drawn extent, arrows at every place and reversed ones included; and a skipped tooth
// leaves the pen and brush exactly as drawing it would.
TEST(SceneDrawing, DrawnExtentHoldsTheDrawingAndSkippingKeepsThePen) {
  TForceDrawing drawing;
  TSetup scene;
  test::AddLowerArchScene(scene);
  const auto inside = [](const TExtent& extent, const TRecordingCanvas& canvas) {
    for (const TRecordedCall& c : canvas.Calls()) {
      for (const TPoint& p : c.Points) {
        // Drawn points are rounded to whole units: the margin the setup allows.
        if (!extent.Meets(TRect{p.x, p.y, p.x, p.y}, 1.0)) {
          ADD_FAILURE() << "point (" << p.x << ", " << p.y << ") of call "
                        << static_cast<int>(c.Kind);
          return false;
        }
      }
    }
    return true;
  };
  for (const bool reversed : {false, true}) {
    drawing.Places = TForceDrawPlaces{true, true, true};
    drawing.Options = TForceDrawOptions{true, true, reversed};
    for (const auto& tooth : scene.ToothList()) {
      TRecordingCanvas drawn;
      drawn.Pen() = TPen{{1, 2, 3}, 5, TPenStyle::Dot, TPenMode::NotXor};
      drawn.Brush() = TBrush{{4, 5, 6}, TBrushStyle::Clear};
      TRecordingCanvas skipped;
      skipped.Pen() = drawn.Pen();
      skipped.Brush() = drawn.Brush();
      tooth->Draw(drawn, drawing);
      tooth->LeaveDrawState(skipped);
      EXPECT_EQ(skipped.Pen(), drawn.Pen()) << tooth->Name();
      EXPECT_EQ(skipped.Brush(), drawn.Brush()) << tooth->Name();
      TExtent extent;
      tooth->AddDrawnExtent(extent);
      tooth->AddForcesExtent(extent, drawing);
      EXPECT_TRUE(inside(extent, drawn)) << tooth->Name();
      TExtent bare;
      tooth->AddDrawnExtent(bare);
      EXPECT_FALSE(bare.Empty());
    }
    for (const auto& wire : scene.WireList()) {
      TRecordingCanvas drawn;
      wire->Draw(drawn);
      TExtent extent;
      wire->AddDrawnExtent(extent);
      EXPECT_TRUE(inside(extent, drawn));
    }
  }
}

}  // namespace
}  // namespace orvela
