#pragma once

#include <cstdint>

#include "graphics/canvas.h"

namespace orvela {

// Divisor of the arrow head: the head is 1/K of the arrow long and 1/(1.5·K) wide.
inline constexpr int ArrowHeadDivisor = 4;

// A small figure defined by two integer points in model units (0.1 mm, y up). The shape
// carries its own pen and brush; only TRectangle draws with them (TransferPen), the others
// draw with whatever pen the surface holds.
class TShape {
 public:
  TPoint origin;
  TPoint corner;
  // Black, width 1, solid, copy mode.
  TPen pen;
  // White, solid.
  TBrush brush;

  TShape() = default;
  TShape(const TShape&) = default;
  TShape& operator=(const TShape&) = default;
  virtual ~TShape() = default;

  // The base shape draws nothing.
  virtual void Draw(TCanvas& aCanvas) const;

  // Copies the pen's colour, mode, style and width and the brush's colour and style onto
  // the surface.
  void TransferPen(TCanvas& aCanvas) const;

  // Signed: negative when corner lies left of (below) origin.
  double Width() const { return static_cast<double>(corner.x) - origin.x; }
  double Height() const { return static_cast<double>(corner.y) - origin.y; }
};

// The rectangle between origin and corner, with the shape's own pen and brush; the surface
// keeps them afterwards.
class TRectangle : public TShape {
 public:
  void Draw(TCanvas& aCanvas) const override;
};

// A straight arrow from origin to corner with the surface's pen. With d = corner − origin
// the filled head is the tip and corner − d/K ± (dy, −dx)/(3K), so its half-angle at the tip
// is atan(1/3). The head is filled in the pen colour; the brush colour is restored, the
// brush style stays solid.
class TArrow : public TShape {
 public:
  void Draw(TCanvas& aCanvas) const override;
};

// A circular arrow around origin with signed radius r = corner.x (corner.y is not read).
// r ≥ 0: three quarters of the circle from the top point to the right-hand point through
// the left side, head at the top pointing to +x: it turns clockwise. r < 0: the lower right
// quarter, head at the bottom pointing to +x: it turns counter-clockwise. Head half-height
// round(r/7), head length round(r/4), ties to even.
class TCircularArrow : public TShape {
 public:
  void Draw(TCanvas& aCanvas) const override;
};

// A cubic Hermite curve from O = origin to C = corner with unit end tangents
// t0 = (cos angleOrigin, sin angleOrigin), t1 = (cos angleCorner, sin angleCorner) and the
// chord length L = |C − O| as parameter range:
//   P(s) = O + t0·s + A·s² + B·s³,  A = 3(C − O)/L² − (2·t0 + t1)/L,
//   B = 2(O − C)/L³ + (t0 + t1)/L²,  0 ≤ s ≤ L.
// Drawn as a polyline through samples every L/10 plus a closing line to C.
class TSplineSegment : public TShape {
 public:
  // Radians, counter-clockwise from +x.
  double angleOrigin = 0.0;
  double angleCorner = 0.0;

  void Draw(TCanvas& aCanvas) const override;

  // Point on the curve P(s); O when the chord is empty.
  TPointDouble PointAt(double s) const;

  // Whether (ax, ay) lies within 3 model units of one of the sampled chords (the closing
  // piece to C excluded). Allocates nothing.
  bool Contains(std::int32_t ax, std::int32_t ay) const;
};

}  // namespace orvela
