#include "graphics/shapes.h"

#include <array>
#include <cmath>
#include <limits>

namespace orvela {

namespace {

// The cubic coefficients of a spline segment; valid only when L > 0.
struct THermite {
  TPointDouble o;
  TPointDouble t0;
  TPointDouble a;
  TPointDouble b;
  double length = 0.0;

  TPointDouble At(double s) const {
    const double s2 = s * s;
    const double s3 = s2 * s;
    return {o.x + t0.x * s + a.x * s2 + b.x * s3, o.y + t0.y * s + a.y * s2 + b.y * s3};
  }
};

THermite MakeHermite(const TSplineSegment& seg) {
  THermite h;
  h.o = {static_cast<double>(seg.origin.x), static_cast<double>(seg.origin.y)};
  const TPointDouble c{static_cast<double>(seg.corner.x), static_cast<double>(seg.corner.y)};
  const double dx = c.x - h.o.x;
  const double dy = c.y - h.o.y;
  h.length = std::hypot(dx, dy);
  h.t0 = {std::cos(seg.angleOrigin), std::sin(seg.angleOrigin)};
  if (h.length == 0.0) return h;
  const TPointDouble t1{std::cos(seg.angleCorner), std::sin(seg.angleCorner)};
  const double l = h.length;
  const double l2 = l * l;
  const double l3 = l2 * l;
  h.a = {3.0 * dx / l2 - (2.0 * h.t0.x + t1.x) / l, 3.0 * dy / l2 - (2.0 * h.t0.y + t1.y) / l};
  h.b = {-2.0 * dx / l3 + (h.t0.x + t1.x) / l2, -2.0 * dy / l3 + (h.t0.y + t1.y) / l2};
  return h;
}

// Remembers the brush colour and fills heads in the pen colour.
class THeadBrush {
 public:
  explicit THeadBrush(TCanvas& canvas) : FCanvas(canvas), FColor(canvas.Brush().Color) {
    canvas.Brush().Color = canvas.Pen().Color;
    canvas.Brush().Style = TBrushStyle::Solid;
  }
  THeadBrush(const THeadBrush&) = delete;
  THeadBrush& operator=(const THeadBrush&) = delete;
  ~THeadBrush() { FCanvas.Brush().Color = FColor; }

 private:
  TCanvas& FCanvas;
  TColor FColor;
};

}  // namespace

void TShape::Draw(TCanvas& /*aCanvas*/) const {}

void TShape::TransferPen(TCanvas& aCanvas) const {
  aCanvas.Pen() = pen;
  aCanvas.Brush() = brush;
}

void TRectangle::Draw(TCanvas& aCanvas) const {
  TransferPen(aCanvas);
  aCanvas.Rectangle(origin, corner);
}

void TArrow::Draw(TCanvas& aCanvas) const {
  const double ox = origin.x, oy = origin.y, cx = corner.x, cy = corner.y;
  const double dx = cx - ox, dy = cy - oy;
  constexpr double k = ArrowHeadDivisor;
  const THeadBrush head(aCanvas);
  aCanvas.MoveTo(origin);
  aCanvas.LineTo(corner);
  const std::array<TPoint, 3> tri{corner,
                                  TPoint{RoundToInt32(cx - dx / k + dy / (3.0 * k)),
                                         RoundToInt32(cy - dy / k - dx / (3.0 * k))},
                                  TPoint{RoundToInt32(cx - dx / k - dy / (3.0 * k)),
                                         RoundToInt32(cy - dy / k + dx / (3.0 * k))}};
  aCanvas.Polygon(tri);
}

void TCircularArrow::Draw(TCanvas& aCanvas) const {
  const std::int64_t r = corner.x;
  const std::int64_t a = RoundToInt32(static_cast<double>(r) / 7.0);
  const std::int64_t b = RoundToInt32(static_cast<double>(r) / 4.0);
  const THeadBrush head(aCanvas);
  const TPoint boxA = OffsetPoint(origin, -r, -r);
  const TPoint boxB = OffsetPoint(origin, r, r);
  const TPoint start = OffsetPoint(origin, 0, r);
  // r ≥ 0: end at the right-hand point, three quarters through the left side. r < 0: the
  // same call gives the lower right quarter from the bottom point.
  const TPoint end = r >= 0 ? OffsetPoint(origin, r, 0) : OffsetPoint(origin, -r, 0);
  aCanvas.Arc(boxA, boxB, start, end);
  const std::int64_t tipDx = r >= 0 ? b : -b;
  const std::array<TPoint, 3> tri{OffsetPoint(origin, 0, r - a), OffsetPoint(origin, tipDx, r),
                                  OffsetPoint(origin, 0, r + a)};
  aCanvas.Polygon(tri);
}

TPointDouble TSplineSegment::PointAt(double s) const {
  const THermite h = MakeHermite(*this);
  if (h.length == 0.0) return h.o;
  return h.At(s);
}

void TSplineSegment::Draw(TCanvas& aCanvas) const {
  const THermite h = MakeHermite(*this);
  if (h.length == 0.0) return;
  const double step = h.length / 10.0;
  aCanvas.MoveTo(origin);
  double s = 0.0;
  do {
    const TPointDouble p = h.At(s);
    aCanvas.LineTo(TPoint{RoundToInt32(p.x), RoundToInt32(p.y)});
    s += step;
  } while (s < h.length);
  aCanvas.LineTo(corner);
}

bool TSplineSegment::Contains(std::int32_t ax, std::int32_t ay) const {
  const THermite h = MakeHermite(*this);
  if (h.length == 0.0) return false;
  const double step = h.length / 10.0;
  const TPoint target{ax, ay};
  TPointDouble prev = h.o;
  double s = 0.0;
  do {
    const TPointDouble cur = h.At(s);
    const double dx = cur.x - prev.x;
    const double dy = cur.y - prev.y;
    double len = std::hypot(dx, dy);
    if (len == 0.0) len = 1.0;
    const double ux = 3.0 * dx / len;
    const double uy = 3.0 * dy / len;
    const std::array<TPoint, 4> band{TPoint{RoundToInt32(prev.x + uy), RoundToInt32(prev.y - ux)},
                                     TPoint{RoundToInt32(prev.x - uy), RoundToInt32(prev.y + ux)},
                                     TPoint{RoundToInt32(cur.x - uy), RoundToInt32(cur.y + ux)},
                                     TPoint{RoundToInt32(cur.x + uy), RoundToInt32(cur.y - ux)}};
    // A piece whose numbers are not finite is a miss; the others still count.
    const bool finite =
        std::isfinite(ux) && std::isfinite(uy) && std::isfinite(cur.x) && std::isfinite(cur.y);
    if (finite && PolygonContainsPoint(band, target, TFillRule::Winding)) return true;
    prev = cur;
    s += step;
  } while (s < h.length);
  return false;
}

}  // namespace orvela
