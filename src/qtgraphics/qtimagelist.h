#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QString>

#include "graphics/imagelist.h"
#include "graphics/markers.h"

namespace orvela {

// A picture list of the Qt layer: equally sized 32-bit images with per-pixel alpha, kept as
// ARGB32 premultiplied for fast blending. Width and height are device-independent pixels;
// the pictures hold that many times the device pixel ratio, so that they are sharp on a
// high-density screen.
class TQtImageList final : public TImageList {
 public:
  TQtImageList(int width, int height, double devicePixelRatio = 1.0);

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  int Count() const override { return static_cast<int>(FImages.size()); }
  // The size of each picture in device pixels.
  QSize PixelSize() const;

  // Appends a picture; false (and nothing added) when it is null or not of PixelSize().
  bool Add(const QImage& image);
  // Loads a picture from a file or resource path, as Add; an SVG is rendered at
  // PixelSize() onto a transparent image.
  bool Load(const QString& path);
  // 0 ≤ index < Count().
  const QImage& Image(int index) const { return FImages.at(static_cast<std::size_t>(index)); }

 private:
  int FWidth;
  int FHeight;
  double FRatio;
  std::vector<QImage> FImages;
};

// The handle pictures compiled into the program (SVG sources in resources/pictures, rendered
// when the lists are made): 44 × 44 (0 centre-of-resistance handle,
// 1 rotation handle) and 22 × 22 (0, 1, 2 bracket slots open to the left, right and bottom;
// 3 wire end). A picture that cannot be loaded leaves the list shorter; a missing index
// draws nothing. Rendered at the given device pixel ratio.
std::unique_ptr<TQtImageList> MakeMarkerImages(double devicePixelRatio = 1.0);
std::unique_ptr<TQtImageList> MakeWireMarkerImages(double devicePixelRatio = 1.0);

// Owns the program's two picture lists, made at the application's device pixel ratio (the
// highest of its screens).
class TProgramImageLists {
 public:
  TProgramImageLists();

  const TQtImageList& Markers() const { return *FMarkers; }
  const TQtImageList& WireMarkers() const { return *FWireMarkers; }
  // The handle style that shows these pictures; valid while the lists live.
  TMarkerStyle Style() const { return TMarkerStyle{FMarkers.get(), FWireMarkers.get()}; }

 private:
  std::unique_ptr<TQtImageList> FMarkers;
  std::unique_ptr<TQtImageList> FWireMarkers;
};

}  // namespace orvela
