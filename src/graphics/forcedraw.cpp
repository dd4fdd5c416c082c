#include "mechanics/forcedraw.h"

#include <cmath>
#include <cstdint>

#include "graphics/canvas.h"
#include "graphics/shapes.h"
#include "mechanics/forcemoment.h"

namespace orvela {

TForceDrawOptions ForceDrawOptions;
double ForceScale = 4.0;

void TForceMoment::Draw(TCanvas& aCanvas) const {
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 2;
  const TPoint at = RoundPoint(origin);

  if (ForceDrawOptions.forces) {
    TArrow arrow;
    arrow.origin = at;
    arrow.corner = at;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    if (TryRoundToInt32(x / ForceScale, dx) && TryRoundToInt32(y / ForceScale, dy)) {
      if (ForceDrawOptions.reversed) {
        dx = -dx;
        dy = -dy;
      }
      TPoint tip;
      if (TryOffsetPoint(at, dx, dy, tip)) arrow.corner = tip;
    }
    const TColor savedColor = aCanvas.Pen().Color;
    aCanvas.Pen().Color = clBlue;
    arrow.Draw(aCanvas);
    aCanvas.Pen().Color = savedColor;
  }

  if (ForceDrawOptions.moments) {
    TCircularArrow circular;
    circular.origin = at;
    std::int32_t k = 0;
    if (!TryRoundToInt32(m / ForceScale / 100.0, k)) k = 0;
    if (ForceDrawOptions.reversed) k = -k;
    circular.corner = TPoint{k, k};
    const TColor savedColor = aCanvas.Pen().Color;
    aCanvas.Pen().Color = clRed;
    circular.Draw(aCanvas);
    aCanvas.Pen().Color = savedColor;
  }

  aCanvas.Pen().Width = savedWidth;
}

void TForceMoment::AddDrawnExtent(TExtent& extent) const {
  // The pen is 2 units wide; a unit more for rounding the ends to whole units.
  constexpr double Pen = 3.0;
  extent.AddAround(origin, Pen);
  if (ForceDrawOptions.forces) {
    // An arrow of either direction; its head lies within about a quarter of its length of
    // the tip (the head's corners are √10 / 12 of it away).
    const double dx = x / ForceScale;
    const double dy = y / ForceScale;
    if (std::isfinite(dx) && std::isfinite(dy)) {
      const double head = std::hypot(dx, dy) / ArrowHeadDivisor * 1.1 + Pen;
      const double sign = ForceDrawOptions.reversed ? -1.0 : 1.0;
      extent.AddAround(TPointDouble{origin.x + sign * dx, origin.y + sign * dy}, head);
    }
  }
  if (ForceDrawOptions.moments) {
    // The head reaches a seventh of the radius beyond the circle and a quarter beside it.
    const double r = m / ForceScale / 100.0;
    if (std::isfinite(r)) extent.AddAround(origin, std::abs(r) * 1.2 + Pen);
  }
}

}  // namespace orvela
