#include "graphics/markers.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#include "recording_canvas.h"

namespace orvela {
namespace {

using test::TCallKind;
using test::TRecordingCanvas;

// Device pixels per model unit of the view at 25 % and 600 % (zoom / 250 × 0.28346 px per
// logical unit).
constexpr double PixelsAt25 = 1.0 * 0.28346;
constexpr double PixelsAt600 = 24.0 * 0.28346;

TMarker MarkerAt(TOGLMarkerType kind, TPoint at) {
  TMarker m;
  m.ShapeType = kind;
  m.origin = at;
  m.pen.Style = TPenStyle::Solid;
  return m;
}

TEST(MarkerTest, DefaultsAndOwnerIsNotFreed) {
  struct TOwner : TMarkerOwner {
    explicit TOwner(bool& gone) : Gone(gone) {}
    ~TOwner() override { Gone = true; }
    bool& Gone;
  };
  bool gone = false;
  TOwner owner(gone);
  {
    TMarkerExtended m;
    EXPECT_EQ(m.ShapeType, oglmCross);
    EXPECT_EQ(m.pen.Mode, TPenMode::NotXor);
    EXPECT_EQ(m.pen.Style, TPenStyle::Clear);
    EXPECT_EQ(m.brush, (TBrush{clBlack, TBrushStyle::Solid}));
    EXPECT_EQ(m.size, DefaultMarkerSize);
    EXPECT_EQ(m.imageIdx, 0);
    EXPECT_EQ(m.ImageList, nullptr);
    EXPECT_EQ(m.Cursor, 0);
    EXPECT_TRUE(m.Hint.empty() && m.Action == THandleAction::None);
    m.Owner = &owner;
  }
  EXPECT_FALSE(gone);
}

struct TFigureCase {
  TOGLMarkerType Kind;
  TCallKind Call;
  std::vector<TPoint> Points;
};

TEST(MarkerTest, EveryKindDrawsItsFigureAroundOrigin) {
  // size 5 at one pixel per unit: p = q = 5, e = round(4.35) = 4, f = round(2.5) = 2.
  const TPoint o{100, 200};
  const std::vector<TFigureCase> cases{
      {oglmSquare, TCallKind::Rectangle, {{95, 195}, {105, 205}}},
      {oglmCircle, TCallKind::Ellipse, {{95, 195}, {105, 205}}},
      {oglmDiamond, TCallKind::Polygon, {{100, 195}, {105, 200}, {100, 205}, {95, 200}}},
      {oglmTriangle, TCallKind::Polygon, {{100, 195}, {104, 202}, {96, 202}}},
      {oglmInvTriangle, TCallKind::Polygon, {{100, 205}, {104, 198}, {96, 198}}},
      {oglmDot, TCallKind::Ellipse, {{98, 198}, {102, 202}}},
  };
  for (const TFigureCase& c : cases) {
    TRecordingCanvas canvas;
    TMarker m = MarkerAt(c.Kind, o);
    m.size = 5;
    m.Draw(canvas);
    ASSERT_EQ(canvas.Calls().size(), 1u) << int(c.Kind);
    EXPECT_EQ(canvas.Calls()[0].Kind, c.Call) << int(c.Kind);
    EXPECT_EQ(canvas.Calls()[0].Points, c.Points) << int(c.Kind);
  }

  TRecordingCanvas canvas;
  TMarker cross = MarkerAt(oglmCross, o);
  cross.size = 5;
  cross.Draw(canvas);
  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{100, 195}, {100, 205}}));
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{95, 200}, {105, 200}}));
}

TEST(MarkerTest, DrawUsesMarkerPenWithWidthOneAndRestoresTheSurface) {
  TRecordingCanvas canvas;
  const TPen pen{clSilver, 3, TPenStyle::Dot, TPenMode::Copy};
  const TBrush brush{clRed, TBrushStyle::Clear};
  canvas.Pen() = pen;
  canvas.Brush() = brush;
  TMarker m = MarkerAt(oglmSquare, {0, 0});
  m.pen.Color = clBlue;
  m.brush.Color = clWhite;
  m.brush.Style = TBrushStyle::Clear;  // drawn solid all the same
  m.Draw(canvas);
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].Pen, (TPen{clBlue, 1, TPenStyle::Solid, TPenMode::NotXor}));
  EXPECT_EQ(canvas.Calls()[0].Brush, (TBrush{clWhite, TBrushStyle::Solid}));
  EXPECT_EQ(canvas.Pen(), pen);
  EXPECT_EQ(canvas.Brush(), brush);
}

TEST(MarkerTest, NoneDrawsNothingButHitTestsWithItsSizeBox) {
  TRecordingCanvas canvas;
  TMarker m = MarkerAt(oglmNone, {50, 50});
  m.size = 5;
  m.Draw(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_TRUE(m.Contains(55, 45, canvas));
  EXPECT_FALSE(m.Contains(56, 50, canvas));
  EXPECT_FALSE(m.Contains(50, 44, canvas));
}

TEST(MarkerTest, CrossKeepsItsPixelWidthAtEveryZoom) {
  for (const double ppu : {PixelsAt25, 1.0, PixelsAt600}) {
    TRecordingCanvas canvas(ppu, {300, 300});
    TMarker m = MarkerAt(oglmCross, {300, 300});
    m.size = 5;
    m.Draw(canvas);
    const auto lines = canvas.CallsOf(TCallKind::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    const double halfWidthPx = (lines[1].Points[1].x - lines[1].Points[0].x) * ppu / 2.0;
    // Model points are integers: the half width can miss 5 px by half a model unit.
    EXPECT_NEAR(halfWidthPx, 5.0, std::max(1.0, ppu / 2.0)) << ppu;
    EXPECT_GE(lines[1].Points[1].x - lines[1].Points[0].x, 2);  // never collapses to a point
  }
}

TEST(MarkerTest, PictureHandleIsDrawnAtItsPixelSizeAndHitWithinHalfOfIt) {
  const TBlankImageList pictures(44, 44, 2);
  for (const double ppu : {PixelsAt25, 1.0, PixelsAt600}) {
    const TPoint at{400, 600};
    TRecordingCanvas canvas(ppu, at);  // the handle sits at device pixel (0, 0)
    TMarker m = MarkerAt(oglmImage, at);
    m.ImageList = &pictures;
    m.imageIdx = 1;
    m.Draw(canvas);
    const auto images = canvas.CallsOf(TCallKind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].Images, &pictures);
    EXPECT_EQ(images[0].ImageIndex, 1);
    const std::int32_t p = static_cast<std::int32_t>(std::nearbyint(44 / ppu));
    EXPECT_EQ(images[0].Points, (std::vector<TPoint>{{at.x - p / 2, at.y - p / 2},
                                                     {at.x - p / 2 + p, at.y - p / 2 + p}}));

    for (int d = -21; d <= 21; ++d) {
      const TPoint h = canvas.DeviceToLogical({d, 0});
      const TPoint v = canvas.DeviceToLogical({0, d});
      EXPECT_TRUE(m.Contains(h.x, h.y, canvas)) << ppu << " " << d;
      EXPECT_TRUE(m.Contains(v.x, v.y, canvas)) << ppu << " " << d;
    }
    for (const int d : {-30, -24, 24, 30}) {
      const TPoint h = canvas.DeviceToLogical({d, 0});
      const TPoint v = canvas.DeviceToLogical({0, d});
      EXPECT_FALSE(m.Contains(h.x, h.y, canvas)) << ppu << " " << d;
      EXPECT_FALSE(m.Contains(v.x, v.y, canvas)) << ppu << " " << d;
    }
  }
}

TEST(MarkerTest, PictureHandleWithoutPicturesIsInert) {
  TRecordingCanvas canvas;
  canvas.Pen().Width = 7;
  TMarker m = MarkerAt(oglmImage, {0, 0});
  m.Draw(canvas);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_EQ(canvas.Pen().Width, 7);
  EXPECT_FALSE(m.Contains(0, 0, canvas));
}

TEST(MarkerTest, ContainsInUnitsUsesSizeInCallerUnits) {
  TMarker m;
  m.origin = {10, -10};
  m.size = 4;
  EXPECT_TRUE(m.ContainsInUnits(14, -6));
  EXPECT_TRUE(m.ContainsInUnits(6, -14));
  EXPECT_FALSE(m.ContainsInUnits(15, -10));
  EXPECT_FALSE(m.ContainsInUnits(10, -15));
  m.origin = {std::numeric_limits<std::int32_t>::max(), 0};
  EXPECT_FALSE(m.ContainsInUnits(std::numeric_limits<std::int32_t>::min(), 0));  // no overflow
}

}  // namespace
}  // namespace orvela
