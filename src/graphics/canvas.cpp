#include "graphics/canvas.h"

namespace orvela {

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
