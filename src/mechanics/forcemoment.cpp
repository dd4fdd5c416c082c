#include "mechanics/forcemoment.h"

#include <cmath>

namespace orvela {

namespace {

// (a·wa + b·wb) / w with w = wa + wb ≠ 0. A zero weight gives the other coordinate exactly:
// (b·wb)/wb is not always b in floating point, and adding into an empty sum must keep
// the added system's origin.
double WeightedMean(double a, double wa, double b, double wb, double w) {
  if (wa == 0) return b;
  if (wb == 0) return a;
  return (a * wa + b * wb) / w;
}

}  // namespace

double TForceMoment::MomentAtPoint(TPointDouble aPt) const {
  return m + (origin.y - aPt.y) * x - (origin.x - aPt.x) * y;
}

void TForceMoment::Reorient(TPointDouble aPt) {
  m = MomentAtPoint(aPt);
  origin = aPt;
}

double TForceMoment::Magnitude() const { return std::sqrt(x * x + y * y); }

void TForceMoment::Add(const TForceMoment& aFM) {
  const TPointDouble o1 = origin;
  const TPointDouble o2 = aFM.origin;
  const double fx = x + aFM.x;
  const double fy = y + aFM.y;
  TPointDouble o;
  if (fx == 0 && fy == 0) {
    o = TPointDouble{(o1.x + o2.x) / 2, (o1.y + o2.y) / 2};
  } else {
    o.x = fy != 0 ? WeightedMean(o1.x, y, o2.x, aFM.y, fy) : WeightedMean(o1.x, x, o2.x, aFM.x, fx);
    o.y = fx != 0 ? WeightedMean(o1.y, x, o2.y, aFM.x, fx) : WeightedMean(o1.y, y, o2.y, aFM.y, fy);
  }
  m = MomentAtPoint(o) + aFM.MomentAtPoint(o);
  x = fx;
  y = fy;
  origin = o;
}

}  // namespace orvela
