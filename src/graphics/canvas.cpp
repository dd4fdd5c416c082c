#include "graphics/canvas.h"

#include <algorithm>
#include <cmath>

namespace orvela {

void TExtent::AddAround(TPointDouble c, double r) {
  if (!std::isfinite(r)) return;
  r = std::abs(r);
  Add(TPointDouble{c.x - r, c.y - r});
  Add(TPointDouble{c.x + r, c.y + r});
}

TRect GrownBounds(TPoint a, TPoint b, std::int32_t margin) {
  const TPoint low = OffsetPoint(TPoint{std::min(a.x, b.x), std::min(a.y, b.y)}, -margin, -margin);
  const TPoint high = OffsetPoint(TPoint{std::max(a.x, b.x), std::max(a.y, b.y)}, margin, margin);
  return TRect{low.x, low.y, high.x, high.y};
}

bool TExtent::Meets(const TRect& r, double margin) const {
  if (Empty()) return false;
  return FMinX - margin <= r.Right && FMaxX + margin >= r.Left && FMinY - margin <= r.Bottom &&
         FMaxY + margin >= r.Top;
}

bool PolygonContainsPoint(std::span<const TPoint> polygon, TPoint p, TFillRule rule) {
  const std::size_t n = polygon.size();
  if (n < 3) return false;
  // Crossing count (even-odd) and signed crossings (winding) of a ray towards +x.
  int crossings = 0;
  int winding = 0;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const double xi = polygon[i].x, yi = polygon[i].y;
    const double xj = polygon[j].x, yj = polygon[j].y;
    const bool upward = yj <= p.y && yi > p.y;
    const bool downward = yi <= p.y && yj > p.y;
    if (!upward && !downward) continue;
    const double xCross = xj + (p.y - yj) * (xi - xj) / (yi - yj);
    if (p.x < xCross) {
      ++crossings;
      winding += upward ? 1 : -1;
    }
  }
  return rule == TFillRule::EvenOdd ? (crossings % 2) != 0 : winding != 0;
}

}  // namespace orvela
