#include "mechanics/forcedraw.h"

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

}  // namespace orvela
