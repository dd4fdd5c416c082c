#pragma once

#include "mechanics/geometry.h"

namespace orvela {

// A planar force system: the force (x, y) in gf acting at origin, plus a couple m in
// gf × model unit (gf·0.1 mm). Moments are positive clockwise on the display, the
// opposite of the counterclockwise-positive angles, so a positive m turns a tooth
// clockwise. A small value type: copying it is the way to keep one.
class TForceMoment {
 public:
  TPointDouble origin;
  double x = 0.0;
  double y = 0.0;
  double m = 0.0;

  TForceMoment() = default;
  TForceMoment(TPointDouble org, double ax, double ay, double am)
      : origin(org), x(ax), y(ay), m(am) {}

  // Adds aFM into this system. The new origin lies on the resultant's line of action
  // when both force components are non-zero, is a force-weighted mean of the two
  // origins along the axis without force otherwise, and is the midpoint for a pure couple.
  void Add(const TForceMoment& aFM);

  // Moment of the whole system about aPt: m + (origin.y − aPt.y)·x − (origin.x − aPt.x)·y.
  double MomentAtPoint(TPointDouble aPt) const;

  // Carries the system to aPt without changing its effect.
  void Reorient(TPointDouble aPt);

  double Magnitude() const;
};

}  // namespace orvela
