#include "qtgraphics/qtcanvas.h"

#include <gtest/gtest.h>
#include <vector>

#include <QImage>
#include <QTransform>

#include "graphics/markers.h"
#include "graphics/shapes.h"
#include "qtgraphics/qtimagelist.h"

namespace orvela {
namespace {

constexpr QSize BufferSize(200, 160);

// Model (y up) to pixels (y down) with the model origin at device (dx, dy).
QTransform YUp(double pixelsPerUnit, double dx = 100, double dy = 80) {
  return QTransform(pixelsPerUnit, 0, 0, -pixelsPerUnit, dx, dy);
}

bool IsWhite(QRgb p) { return (p & 0xffffff) == 0xffffff; }

// Non-white pixels of column x.
int DarkInColumn(const QImage& image, int x) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) n += IsWhite(image.pixel(x, y)) ? 0 : 1;
  return n;
}

QRect DarkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!IsWhite(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

void DrawScene(TCanvas& canvas) {
  canvas.Pen().Width = 0;
  canvas.MoveTo({-40, -30});
  canvas.LineTo({40, 30});
  canvas.Pen().Width = 3;
  canvas.Pen().Color = {10, 200, 30};
  canvas.LineTo({40, -30});
  canvas.Brush() = TBrush{{250, 120, 0}, TBrushStyle::Solid};
  canvas.Rectangle({-30, 10}, {-10, 25});
  canvas.Ellipse({0, 0}, {25, 20});
  const std::vector<TPoint> tri{{-20, -20}, {0, -5}, {10, -25}};
  canvas.Polygon(tri);
  canvas.Pen().Style = TPenStyle::Dot;
  canvas.Pen().Width = 0;
  canvas.Arc({-15, -15}, {15, 15}, {0, 15}, {15, 0});
  canvas.Polyline(tri);
}

TEST(QtCanvasTest, NotXorDrawnTwiceRestoresEveryPixel) {
  TQtImageCanvas canvas(BufferSize);
  canvas.SetMapping(YUp(2.0));
  DrawScene(canvas);  // something other than white below
  const QImage before = canvas.Image().copy();

  const TPen xorPen{{60, 90, 200}, 0, TPenStyle::Solid, TPenMode::NotXor};
  canvas.Pen() = xorPen;
  canvas.Begin();
  DrawScene(canvas);
  canvas.Pen().Mode = TPenMode::NotXor;
  TMarker marker;
  marker.ShapeType = oglmDiamond;
  marker.pen.Style = TPenStyle::Solid;
  marker.origin = {20, 20};
  marker.Draw(canvas);
  const QImage once = canvas.Image().copy();
  EXPECT_NE(once, before);

  canvas.Pen() = xorPen;
  DrawScene(canvas);
  canvas.Pen().Mode = TPenMode::NotXor;
  marker.Draw(canvas);
  EXPECT_EQ(canvas.Image(), before);
}

TEST(QtCanvasTest, HairlineStaysOnePixelWhileWidthThreeScales) {
  for (const double ppu : {0.28346, 1.7, 6.8}) {
    TQtImageCanvas canvas(BufferSize);
    canvas.SetMapping(YUp(ppu, 10, 80));
    canvas.Pen().Width = 0;
    canvas.MoveTo({0, 0});
    canvas.LineTo({static_cast<std::int32_t>(150 / ppu), 0});
    EXPECT_EQ(DarkInColumn(canvas.Image(), 60), 1) << ppu;

    TQtImageCanvas thick(BufferSize);
    thick.SetMapping(YUp(ppu, 10, 80));
    thick.Pen().Width = 3;
    thick.MoveTo({0, 0});
    thick.LineTo({static_cast<std::int32_t>(150 / ppu), 0});
    const int expected = std::max(1, static_cast<int>(std::lround(3 * ppu)));
    EXPECT_NEAR(DarkInColumn(thick.Image(), 60), expected, 1) << ppu;
  }
}

// Outlines wider than a pixel are filled as the band around them: repeated vertices change
// nothing, a single point is a pen-sized square, a path that turns back on itself keeps its
// square ends, and a sharp corner reaches no further than the pen's width past its vertex.
TEST(QtCanvasTest, WideOutlineBandHandlesRepeatsPointsAndTurns) {
  const auto draw = [](std::vector<TPoint> points, bool closed) {
    TQtImageCanvas canvas(BufferSize);
    canvas.SetMapping(YUp(2.0));
    canvas.Pen().Width = 4;  // 8 pixels
    canvas.Brush().Style = TBrushStyle::Clear;
    if (closed) {
      canvas.Polygon(points);
    } else {
      canvas.Polyline(points);
    }
    return canvas.Image().copy();
  };
  const QImage square = draw({{-20, -20}, {20, -20}, {20, 20}, {-20, 20}}, true);
  EXPECT_EQ(DarkBounds(square), QRect(56, 36, 88, 88));
  EXPECT_TRUE(IsWhite(square.pixel(100, 80)));  // the inside stays clear
  EXPECT_EQ(
      draw({{-20, -20}, {-20, -20}, {20, -20}, {20, 20}, {20, 20}, {-20, 20}, {-20, -20}}, true),
      square);

  EXPECT_EQ(DarkBounds(draw({{5, 5}}, true)), QRect(106, 66, 8, 8));

  // There and back: one band with both square ends, as a single stroke of it.
  const QImage back = draw({{-20, 0}, {20, 0}, {-20, 0}}, false);
  EXPECT_EQ(back, draw({{-20, 0}, {20, 0}}, false));
  EXPECT_EQ(DarkBounds(back), QRect(56, 76, 88, 8));

  // A narrow wedge: the outer corner is cut off within the pen's width of the vertex.
  const QImage wedge = draw({{-30, 10}, {30, 0}, {-30, -10}}, false);
  EXPECT_LE(DarkBounds(wedge).right(), 100 + 2 * 30 + 8);
  EXPECT_GE(DarkBounds(wedge).right(), 100 + 2 * 30 + 2);
}

// A pen too thin for one pixel at a small scale is drawn as a hairline; after a larger
// scale is set the same pen must widen, also while one painter stays open.
TEST(QtCanvasTest, NewMappingTakesTheNewPenWidth) {
  for (const bool open : {false, true}) {
    TQtImageCanvas canvas(BufferSize);
    if (open) canvas.Begin();
    canvas.Pen().Width = 3;
    canvas.SetMapping(YUp(0.28346, 10, 20));  // 0.85 pixels: a hairline
    canvas.MoveTo({0, 0});
    canvas.LineTo({500, 0});
    canvas.SetMapping(YUp(6.8, 10, 120));  // about 20 pixels
    canvas.MoveTo({0, 0});
    canvas.LineTo({20, 0});
    const QImage image = canvas.Image();
    int upper = 0;
    int lower = 0;
    for (int y = 0; y < image.height(); ++y) {
      if (!IsWhite(image.pixel(60, y))) ++(y < 60 ? upper : lower);
    }
    EXPECT_EQ(upper, 1) << open;
    EXPECT_NEAR(lower, 20, 1) << open;
  }
}

TEST(QtCanvasTest, ArcRunsCounterClockwiseInModelCoordinates) {
  // Radius 12 at 4 px per unit around device (100, 80): from the top through the left
  // side to the right-hand point, leaving out the upper right quarter.
  TQtImageCanvas canvas(BufferSize);
  canvas.SetMapping(YUp(4.0));
  canvas.Pen().Width = 0;
  canvas.Arc({-12, -12}, {12, 12}, {0, 12}, {12, 0});
  const QImage& image = canvas.Image();
  auto darkNear = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (!IsWhite(image.pixel(x + dx, y + dy))) return true;
    return false;
  };
  EXPECT_TRUE(darkNear(100 - 48, 80));        // left
  EXPECT_TRUE(darkNear(100, 80 + 48));        // bottom on screen
  EXPECT_TRUE(darkNear(100 + 34, 80 + 34));   // lower right on screen
  EXPECT_FALSE(darkNear(100 + 34, 80 - 34));  // upper right quarter left out
}

TEST(QtCanvasTest, DottedGapsLeaveWhatLiesBelowWhenTransparent) {
  TQtImageCanvas canvas(BufferSize);
  canvas.SetMapping(YUp(1.0));
  canvas.Brush() = TBrush{clRed, TBrushStyle::Solid};
  canvas.Pen().Style = TPenStyle::Clear;
  canvas.Rectangle({-50, -20}, {50, 20});
  canvas.Pen() = TPen{clBlack, 0, TPenStyle::Dot, TPenMode::Copy};
  canvas.SetTransparentBackground(true);
  canvas.MoveTo({-40, 0});
  canvas.LineTo({40, 0});
  int black = 0, red = 0;
  for (int x = 70; x < 130; ++x) {
    const QRgb p = canvas.Image().pixel(x, 80);
    black += (p & 0xffffff) == 0 ? 1 : 0;
    red += (p & 0xffffff) == 0xff0000 ? 1 : 0;
  }
  EXPECT_GT(black, 10);
  EXPECT_GT(red, 10);
  EXPECT_EQ(black + red, 60);
}

TEST(QtCanvasTest, DeviceToLogicalInvertsTheMapping) {
  TQtImageCanvas canvas(BufferSize);
  canvas.SetMapping(YUp(2.0, 20, 140));
  EXPECT_EQ(canvas.DeviceToLogical({20, 140}), (TPoint{0, 0}));
  EXPECT_EQ(canvas.DeviceToLogical({40, 100}), (TPoint{10, 20}));
  EXPECT_EQ(canvas.DeviceToLogical({25, 140}), (TPoint{2, 0}));  // 2.5 to the even 2
  EXPECT_EQ(canvas.DeviceToLogical({27, 140}), (TPoint{4, 0}));  // 3.5 to the even 4
  canvas.SetMapping(QTransform(0, 0, 0, 0, 0, 0));
  EXPECT_EQ(canvas.DeviceToLogical({5, 5}), (TPoint{0, 0}));
}

TEST(QtCanvasTest, FillWhiteAndCopyRectWorkInLogicalUnits) {
  TQtImageCanvas source(BufferSize), target(BufferSize);
  for (TQtImageCanvas* c : {&source, &target}) c->SetMapping(YUp(2.0));
  source.Brush() = TBrush{clBlue, TBrushStyle::Solid};
  source.Rectangle({-50, -40}, {50, 40});
  target.Brush() = TBrush{clRed, TBrushStyle::Solid};
  target.Rectangle({-50, -40}, {50, 40});
  target.FillRectWhite({-10, -10, 10, 10});
  EXPECT_TRUE(IsWhite(target.Image().pixel(100, 80)));
  EXPECT_EQ(target.Image().pixel(100, 110) & 0xffffff, 0xff0000u);

  target.CopyRect({-30, -5, 30, 5}, source);
  EXPECT_EQ(target.Image().pixel(100, 80) & 0xffffff, 0x0000ffu);
  EXPECT_EQ(target.Image().pixel(150, 85) & 0xffffff, 0x0000ffu);
  EXPECT_EQ(target.Image().pixel(100, 100) & 0xffffff, 0xff0000u);  // outside the block
}

TEST(QtCanvasTest, ProgramPicturesAreCompiledIn) {
  const auto markers = MakeMarkerImages();
  const auto wires = MakeWireMarkerImages();
  ASSERT_EQ(markers->Count(), 2);
  ASSERT_EQ(wires->Count(), 4);
  EXPECT_EQ(markers->Width(), 44);
  EXPECT_EQ(wires->Height(), 22);
  for (int i = 0; i < wires->Count(); ++i) {
    const QImage& p = wires->Image(i);
    EXPECT_EQ(qAlpha(p.pixel(0, 0)), 0) << i;  // transparent corner
    const QRgb body = i < 3 ? p.pixel(11, 4) : p.pixel(11, 11);
    EXPECT_EQ(qAlpha(body), 255) << i;
    EXPECT_GT(qGreen(body), 2 * qRed(body)) << i;
  }
  // The slots open to the left, the right and the bottom.
  EXPECT_EQ(qAlpha(wires->Image(0).pixel(1, 11)), 0);
  EXPECT_EQ(qAlpha(wires->Image(0).pixel(18, 11)), 255);
  EXPECT_EQ(qAlpha(wires->Image(1).pixel(20, 11)), 0);
  EXPECT_EQ(qAlpha(wires->Image(2).pixel(11, 20)), 0);
  EXPECT_EQ(qAlpha(wires->Image(2).pixel(11, 3)), 255);

  const TProgramImageLists lists;
  const TMarkerStyle style = lists.Style();
  EXPECT_EQ(style.Markers, &lists.Markers());
  EXPECT_EQ(style.WireMarkers, &lists.WireMarkers());
}

TEST(QtCanvasTest, ImageMarkerIsDrawnAtNaturalSizeCentredOnItsPoint) {
  TQtImageList pictures(44, 44);
  QImage solid(44, 44, QImage::Format_ARGB32);
  solid.fill(QColor(0, 0, 200));
  ASSERT_TRUE(pictures.Add(solid));
  ASSERT_FALSE(pictures.Add(QImage(22, 22, QImage::Format_ARGB32)));  // wrong size

  for (const double ppu : {0.28346, 1.7, 6.8}) {
    TQtImageCanvas canvas(BufferSize);
    canvas.SetMapping(YUp(ppu, 100, 80));
    TMarker marker;
    marker.ShapeType = oglmImage;
    marker.ImageList = &pictures;
    marker.origin = canvas.DeviceToLogical({100, 80});
    canvas.Pen().Width = 5;
    marker.Draw(canvas);
    EXPECT_EQ(canvas.Pen().Width, 5);
    const QRect bounds = DarkBounds(canvas.Image());
    EXPECT_EQ(bounds.size(), QSize(44, 44)) << ppu;
    const QPointF point = canvas.Mapping().map(QPointF(marker.origin.x, marker.origin.y));
    EXPECT_NEAR(bounds.left() + 22, point.x(), 1.0) << ppu;
    EXPECT_NEAR(bounds.top() + 22, point.y(), 1.0) << ppu;
  }

  // An index without a picture draws nothing.
  TQtImageCanvas canvas(BufferSize);
  canvas.SetMapping(YUp(1.0));
  canvas.DrawImage({-22, -22, 22, 22}, pictures, 1);
  EXPECT_TRUE(DarkBounds(canvas.Image()).isEmpty());
}

TEST(QtCanvasTest, SvgPictureRecordsTheDrawingAndEndsOnFinish) {
  TQtSvgCanvas svg(QSize(400, 400), 96);
  svg.SetMapping(YUp(2.0, 200, 200));
  TArrow arrow;
  arrow.corner = {50, 20};
  arrow.Draw(svg);
  svg.Pen().Mode = TPenMode::NotXor;  // no raster operations in a vector picture
  svg.Ellipse({-10, -10}, {10, 10});
  const QByteArray document = svg.Finish();
  EXPECT_TRUE(document.contains("<svg"));
  EXPECT_TRUE(document.contains("</svg>"));
  EXPECT_TRUE(document.contains("polygon") || document.contains("path"));
  svg.Rectangle({0, 0}, {5, 5});
  EXPECT_EQ(svg.Finish(), document);
}

}  // namespace
}  // namespace orvela

namespace orvela {
namespace {

// The drawn extent of a handle picture centred on the model origin, on a canvas at a device
// pixel ratio, in device pixels.
QRect HandleExtent(double ratio) {
  TQtImageCanvas canvas(BufferSize, ratio);
  canvas.SetMapping(YUp(2.0));
  const auto pictures = MakeMarkerImages(ratio);
  TMarker marker;
  marker.ShapeType = oglmImage;
  marker.ImageList = pictures.get();
  marker.imageIdx = 0;
  marker.origin = {0, 0};
  marker.Draw(canvas);
  return DarkBounds(canvas.Image());
}

// At ratio 2 the buffer has twice the pixels each way: a width-0 line stays one device
// pixel wide, a wide line grows with the ratio, and a 44-pixel handle covers twice as many
// device pixels as at ratio 1, drawn from a picture made at that ratio.
TEST(QtCanvasTest, DrawsSharpAtDevicePixelRatioTwo) {
  TQtImageCanvas canvas(BufferSize, 2.0);
  EXPECT_EQ(canvas.Size(), BufferSize);
  EXPECT_EQ(canvas.Image().size(), BufferSize * 2);
  EXPECT_EQ(canvas.Image().devicePixelRatio(), 2.0);
  canvas.SetMapping(YUp(2.0));
  canvas.Pen().Width = 0;
  canvas.MoveTo({-40, 0});
  canvas.LineTo({40, 0});
  EXPECT_EQ(DarkInColumn(canvas.Image(), 200), 1);
  canvas.Pen().Width = 3;  // 6 logical pixels, 12 device pixels
  canvas.MoveTo({-40, 20});
  canvas.LineTo({40, 20});
  EXPECT_EQ(DarkInColumn(canvas.Image(), 200), 13);

  const auto pictures = MakeMarkerImages(2.0);
  ASSERT_EQ(pictures->Count(), 2);
  EXPECT_EQ(pictures->Width(), 44);
  EXPECT_EQ(pictures->Image(0).size(), QSize(88, 88));
  const QRect one = HandleExtent(1.0);
  const QRect two = HandleExtent(2.0);
  ASSERT_FALSE(one.isEmpty());
  EXPECT_LE(one.width(), 44);
  EXPECT_NEAR(two.width(), 2 * one.width(), 2);
  EXPECT_NEAR(two.height(), 2 * one.height(), 2);
  // Both centred on the same point: device (200, 160) at ratio 2, (100, 80) at ratio 1.
  EXPECT_NEAR(two.center().x(), 2 * one.center().x(), 2);
  EXPECT_NEAR(two.center().y(), 2 * one.center().y(), 2);
}

// The fractional ratio of a 150 % desktop: the buffer covers the size in whole device
// pixels, and a copy between two buffers of the same ratio is exact.
TEST(QtCanvasTest, BufferAtFractionalRatioCopiesPixelForPixel) {
  TQtImageCanvas source(QSize(101, 51), 1.5);
  EXPECT_EQ(source.Image().size(), QSize(152, 77));
  source.SetMapping(YUp(1.0, 50, 25));
  source.Brush() = TBrush{clBlue, TBrushStyle::Solid};
  source.Pen().Width = 1;
  const std::vector<TPoint> tri{{-30, -20}, {0, 20}, {30, -20}};
  source.Polygon(tri);
  TRowPicture picture;
  picture.Take(source);
  // White rows above and below the triangle are kept once.
  EXPECT_LT(picture.DistinctRows(), 77U);
  TQtImageCanvas copy(QSize(101, 51), 1.5);
  copy.Begin();
  copy.FillRectWhite(TRect{-100, -100, 100, 100});
  copy.Pen().Color = clRed;
  copy.MoveTo({-50, 0});
  copy.LineTo({50, 0});
  EXPECT_TRUE(copy.CopyFrom(picture));
  EXPECT_EQ(copy.Image(), source.Image());
  TQtImageCanvas other(QSize(101, 51), 2.0);
  EXPECT_FALSE(other.CopyFrom(picture));
  TQtImageCanvas smaller(QSize(100, 51), 1.5);
  EXPECT_FALSE(smaller.CopyFrom(picture));
}

}  // namespace
}  // namespace orvela
