#pragma once

namespace orvela {

// Which parts of a force system TForceMoment::Draw shows, and whether it shows them as
// acting on the wires (arrow and couple both reversed) instead of on the teeth.
struct TForceDrawOptions {
  bool forces = true;
  bool moments = true;
  bool reversed = false;

  friend bool operator==(const TForceDrawOptions&, const TForceDrawOptions&) = default;
};

// Program-wide drawing settings of force systems; forces and moments, not reversed, at start.
// (The drawing itself, TForceMoment::Draw, lives with the shapes in graphics/forcedraw.cpp.)
extern TForceDrawOptions ForceDrawOptions;

// Divisor from gf to arrow length in model units (0.1 mm): an arrow is force / ForceScale
// long, and a couple m (gf·0.1 mm) draws as a circular arrow of radius m / ForceScale / 100.
// Positive; 4.0 at start.
extern double ForceScale;

}  // namespace orvela
