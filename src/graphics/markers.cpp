#include "graphics/markers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace orvela {

namespace {

// Whether |o − a| ≤ limit without overflowing.
bool Within(std::int32_t o, std::int32_t a, std::int64_t limit) {
  return std::llabs(static_cast<std::int64_t>(o) - a) <= limit;
}

// Puts back the six attributes a marker changes.
class TSavedAttributes {
 public:
  explicit TSavedAttributes(TCanvas& canvas)
      : FCanvas(canvas), FPen(canvas.Pen()), FBrush(canvas.Brush()) {}
  TSavedAttributes(const TSavedAttributes&) = delete;
  TSavedAttributes& operator=(const TSavedAttributes&) = delete;
  ~TSavedAttributes() {
    FCanvas.Pen() = FPen;
    FCanvas.Brush() = FBrush;
  }

 private:
  TCanvas& FCanvas;
  TPen FPen;
  TBrush FBrush;
};

}  // namespace

TPoint PixelExtent(const TCanvas& aCanvas, std::int32_t n, std::int32_t m) {
  const TPoint p0 = aCanvas.DeviceToLogical(TPoint{0, 0});
  const TPoint p1 = aCanvas.DeviceToLogical(TPoint{n, m});
  return TPoint{SaturateToInt32(static_cast<std::int64_t>(p1.x) - p0.x),
                SaturateToInt32(static_cast<std::int64_t>(p0.y) - p1.y)};
}

TMarker::TMarker() {
  pen.Mode = TPenMode::NotXor;
  pen.Style = TPenStyle::Clear;
  brush.Color = clBlack;
  brush.Style = TBrushStyle::Solid;
}

void TMarker::Draw(TCanvas& aCanvas) const {
  if (ShapeType == oglmNone) return;
  const TSavedAttributes saved(aCanvas);
  aCanvas.Brush().Color = brush.Color;
  aCanvas.Brush().Style = TBrushStyle::Solid;
  aCanvas.Pen().Mode = pen.Mode;
  aCanvas.Pen().Style = pen.Style;
  aCanvas.Pen().Color = pen.Color;
  aCanvas.Pen().Width = 1;

  TPoint ext;
  if (ShapeType == oglmImage) {
    if (ImageList == nullptr) return;
    ext = PixelExtent(aCanvas, ImageList->Width(), ImageList->Height());
  } else {
    ext = PixelExtent(aCanvas, size, size);
  }
  const std::int64_t p = std::max<std::int32_t>(ext.x, 1);
  const std::int64_t q = std::max<std::int32_t>(ext.y, 1);
  const std::int64_t e = static_cast<std::int64_t>(std::nearbyint(0.87 * static_cast<double>(p)));
  const std::int64_t f = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(q) / 2.0));
  const TPoint o = origin;

  switch (ShapeType) {
    case oglmCross:
      aCanvas.MoveTo(OffsetPoint(o, 0, -q));
      aCanvas.LineTo(OffsetPoint(o, 0, q));
      aCanvas.MoveTo(OffsetPoint(o, -p, 0));
      aCanvas.LineTo(OffsetPoint(o, p, 0));
      break;
    case oglmSquare:
      aCanvas.Rectangle(OffsetPoint(o, -p, -q), OffsetPoint(o, p, q));
      break;
    case oglmCircle:
      aCanvas.Ellipse(OffsetPoint(o, -p, -q), OffsetPoint(o, p, q));
      break;
    case oglmDiamond: {
      const std::array<TPoint, 4> pts{OffsetPoint(o, 0, -q), OffsetPoint(o, p, 0),
                                      OffsetPoint(o, 0, q), OffsetPoint(o, -p, 0)};
      aCanvas.Polygon(pts);
      break;
    }
    case oglmTriangle: {
      const std::array<TPoint, 3> pts{OffsetPoint(o, 0, -q), OffsetPoint(o, e, f),
                                      OffsetPoint(o, -e, f)};
      aCanvas.Polygon(pts);
      break;
    }
    case oglmInvTriangle: {
      const std::array<TPoint, 3> pts{OffsetPoint(o, 0, q), OffsetPoint(o, e, -f),
                                      OffsetPoint(o, -e, -f)};
      aCanvas.Polygon(pts);
      break;
    }
    case oglmDot:
      aCanvas.Ellipse(OffsetPoint(o, -(p / 2), -(q / 2)), OffsetPoint(o, p / 2, q / 2));
      break;
    case oglmImage: {
      const TPoint lo = OffsetPoint(o, -(p / 2), -(q / 2));
      const TPoint hi = OffsetPoint(lo, p, q);
      aCanvas.DrawImage(TRect{lo.x, lo.y, hi.x, hi.y}, *ImageList, imageIdx);
      break;
    }
    case oglmNone:
      break;
  }
}

bool TMarker::Contains(std::int32_t ax, std::int32_t ay, const TCanvas& aCanvas) const {
  std::int64_t a = 0;
  std::int64_t b = 0;
  if (ShapeType == oglmImage) {
    // A handle without pictures has nothing to hit.
    if (ImageList == nullptr) return false;
    const TPoint ext = PixelExtent(aCanvas, ImageList->Width(), ImageList->Height());
    a = ext.x / 2;
    b = ext.y / 2;
  } else {
    const TPoint ext = PixelExtent(aCanvas, size, size);
    a = ext.x;
    b = ext.y;
  }
  return Within(origin.x, ax, a) && Within(origin.y, ay, b);
}

bool TMarker::ContainsInUnits(std::int32_t ax, std::int32_t ay) const {
  return Within(origin.x, ax, size) && Within(origin.y, ay, size);
}

std::unique_ptr<TMarkerExtended> MakeImageMarker(TPointDouble position, const TImageList* images,
                                                 std::int32_t imageIdx, std::string hint,
                                                 std::int16_t cursor, THandleAction action,
                                                 TMarkerOwner* owner) {
  auto marker = std::make_unique<TMarkerExtended>();
  marker->ShapeType = oglmImage;
  marker->ImageList = images;
  marker->imageIdx = imageIdx;
  marker->origin = RoundPoint(position);
  marker->Hint = std::move(hint);
  marker->Cursor = cursor;
  marker->Action = action;
  marker->Owner = owner;
  return marker;
}

}  // namespace orvela
