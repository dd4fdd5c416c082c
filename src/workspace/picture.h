#pragma once

#include <cstdint>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QTransform>

#include "graphics/forcedraw.h"
#include "util/startup.h"

class QPaintDevice;

namespace orvela {

class TSetup;

// A rectangle of the model in model units, y up.
struct TModelArea {
  double Left = 0.0;
  double Bottom = 0.0;
  double Right = ModelExtent;
  double Top = ModelExtent;

  double Width() const { return Right - Left; }
  double Height() const { return Top - Bottom; }
};

// Millimetres of picture per model unit: 0.1 mm of model at twice its size.
inline constexpr double PictureMmPerUnit = 0.2;

// The picture of Edit > Copy as Picture: a rectangle of the model, by default the model
// square 0…ModelExtent (200 mm for 100 mm of model), at twice its size, y up, at the given
// pixels per inch. The grid is drawn when shown; handles never are. Zoom and scroll play no
// part.
struct TSetupPicture {
  double DpiX = 96.0;
  double DpiY = 96.0;
  bool ShowGrid = true;
  std::int32_t GridDensity = 2;
  TForceDrawing ForceDrawing;
  TModelArea Area;

  // Device pixels of the area at 2:1.
  QSize SizePixels() const;
  // Model units to those pixels: the area fills them.
  QTransform Mapping() const;
  // The SVG document; it states its size in millimetres.
  QByteArray Svg(const TSetup& setup) const;
  // The same drawing as pixels on white.
  QImage Image(const TSetup& setup) const;
  // The same drawing on any device whose pixels are SizePixels() at this resolution (a PDF
  // page, a recorded picture); the device must have no painter open.
  void Draw(QPaintDevice& device, const TSetup& setup) const;
};

// What TSetup::DrawAll covers: the reference outlines, the teeth with their brackets and
// force arrows, and the wires, but not the zero force systems of attachments without wires,
// which are drawn at the model origin; empty (Width() < 0) when nothing is drawn.
TModelArea DrawnArea(const TSetup& setup, const TForceDrawing& drawing);

}  // namespace orvela
