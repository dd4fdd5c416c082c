#pragma once

#include "graphics/canvas.h"
#include "mechanics/forcemoment.h"

namespace orvela {

// Which parts of a force system DrawForceMoment shows, and whether it shows them as acting
// on the wires (arrow and couple both reversed) instead of on the teeth.
struct TForceDrawOptions {
  bool forces = true;
  bool moments = true;
  bool reversed = false;

  friend bool operator==(const TForceDrawOptions&, const TForceDrawOptions&) = default;
};

// Where a tooth draws force systems: at its centre of resistance (moved there), at every
// attachment (the sum of its wires), at every bracket (the sum of its attachments, moved
// to the bracket's centre).
struct TForceDrawPlaces {
  bool atCRes = true;
  bool atAttachments = false;
  bool atBrackets = false;

  friend bool operator==(const TForceDrawPlaces&, const TForceDrawPlaces&) = default;
};

// How force systems are drawn. Scale is the divisor from gf to arrow length in model units
// (0.1 mm): an arrow is force / Scale long, and a couple m (gf·0.1 mm) draws as a circular
// arrow of radius m / Scale / 100. Positive.
struct TForceDrawing {
  TForceDrawOptions Options;
  TForceDrawPlaces Places;
  double Scale = 4.0;

  friend bool operator==(const TForceDrawing&, const TForceDrawing&) = default;
};

// Blue arrow for the force, red circular arrow for the couple, as the options say; the
// pen's width and colour are put back.
void DrawForceMoment(TCanvas& aCanvas, const TForceMoment& fm, const TForceDrawing& drawing);
// Adds what DrawForceMoment covers (arrow heads and pen included) to the extent.
void AddForceMomentExtent(TExtent& extent, const TForceMoment& fm, const TForceDrawing& drawing);

}  // namespace orvela
