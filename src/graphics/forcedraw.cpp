#include "graphics/forcedraw.h"

#include <cmath>
#include <cstdint>

#include "graphics/shapes.h"

namespace orvela {

void DrawForceMoment(TCanvas& aCanvas, const TForceMoment& fm, const TForceDrawing& drawing) {
  const TForceDrawOptions& options = drawing.Options;
  const double scale = drawing.Scale;
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 2;
  const TPoint at = RoundPoint(fm.origin);

  if (options.forces) {
    TArrow arrow;
    arrow.origin = at;
    arrow.corner = at;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    if (TryRoundToInt32(fm.x / scale, dx) && TryRoundToInt32(fm.y / scale, dy)) {
      if (options.reversed) {
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

  if (options.moments) {
    TCircularArrow circular;
    circular.origin = at;
    std::int32_t k = 0;
    if (!TryRoundToInt32(fm.m / scale / 100.0, k)) k = 0;
    if (options.reversed) k = -k;
    circular.corner = TPoint{k, k};
    const TColor savedColor = aCanvas.Pen().Color;
    aCanvas.Pen().Color = clRed;
    circular.Draw(aCanvas);
    aCanvas.Pen().Color = savedColor;
  }

  aCanvas.Pen().Width = savedWidth;
}

void AddForceMomentExtent(TExtent& extent, const TForceMoment& fm, const TForceDrawing& drawing) {
  const TForceDrawOptions& options = drawing.Options;
  const double scale = drawing.Scale;
  // The pen is 2 units wide; a unit more for rounding the ends to whole units.
  constexpr double Pen = 3.0;
  extent.AddAround(fm.origin, Pen);
  if (options.forces) {
    // An arrow of either direction; its head lies within about a quarter of its length of
    // the tip (the head's corners are √10 / 12 of it away).
    const double dx = fm.x / scale;
    const double dy = fm.y / scale;
    if (std::isfinite(dx) && std::isfinite(dy)) {
      const double head = std::hypot(dx, dy) / ArrowHeadDivisor * 1.1 + Pen;
      const double sign = options.reversed ? -1.0 : 1.0;
      extent.AddAround(TPointDouble{fm.origin.x + sign * dx, fm.origin.y + sign * dy}, head);
    }
  }
  if (options.moments) {
    // The head reaches a seventh of the radius beyond the circle and a quarter beside it.
    const double r = fm.m / scale / 100.0;
    if (std::isfinite(r)) extent.AddAround(fm.origin, std::abs(r) * 1.2 + Pen);
  }
}

}  // namespace orvela
