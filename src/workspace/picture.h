#pragma once

#include <cstdint>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QTransform>

#include "graphics/forcedraw.h"

namespace orvela {

class TSetup;

// The picture of Edit > Copy as Picture: the model square 0…ModelExtent at twice its size
// (200 mm for 100 mm of model), y up, origin at the lower left, at the screen's pixels per
// inch. The grid is drawn when shown; handles never are. Zoom and scroll play no part.
struct TSetupPicture {
  double DpiX = 96.0;
  double DpiY = 96.0;
  bool ShowGrid = true;
  std::int32_t GridDensity = 2;
  TForceDrawing ForceDrawing;

  // Device pixels of the 200 mm square.
  QSize SizePixels() const;
  // Model units to those pixels.
  QTransform Mapping() const;
  // The SVG document; it states its size in millimetres.
  QByteArray Svg(const TSetup& setup) const;
  // The same drawing as pixels on white.
  QImage Image(const TSetup& setup) const;
};

}  // namespace orvela
