#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRgb>
#include <QTransform>

class QPainter;

namespace orvela {

// Fills polygons with one opaque colour straight into a 32-bit QImage and sets the very
// pixels that QPainter's raster engine sets without antialiasing: points on the same
// 1/64-pixel grid, the same fixed-point edge walk that samples every row at its centre,
// the same clipping to the image. What it saves is the engine's general work per call
// (outline conversion, span buffers, blend dispatch), which costs more than the filling
// of a thin outline band.
class TSolidFill {
 public:
  // Whether a fill on this painter may go through Fill: it paints a 32-bit image without
  // antialiasing, clip or opacity, draws opaque colours over (or onto) the pixels, and
  // maps without rotation or shear.
  static bool Applies(const QPainter& painter);

  // Fills the polygon (closed implicitly; logical points mapped by the painter's device
  // transform) with the colour, whose alpha is ignored. False, drawing nothing, when the
  // painter must fill it: a rectangle, which the engine fills by another rule, more than
  // 65 535 points, or points beyond the range of its raster coordinates.
  bool Fill(QPainter& painter, std::span<const QPointF> points, Qt::FillRule rule, QRgb colour);
  bool Fill(QPainter& painter, std::span<const QPoint> points, Qt::FillRule rule, QRgb colour);

 private:
  // A point in 26.6 fixed point (1/64 pixel).
  struct TVector {
    std::int64_t x, y;
  };
  // An edge, walked row by row: x (16.16, pixel centre offset) at the current row.
  struct TLine {
    std::int64_t x, delta;
    int top, bottom;
    int winding;
  };

  template <class Point>
  bool FillPoints(QPainter& painter, std::span<const Point> points, Qt::FillRule rule, QRgb colour);
  void MergeLine(TVector a, TVector b);
  // Clips the edge at the image's left or right side; true when nothing of it is left to add.
  bool Clip(std::int64_t& xFP, int& top, int& bottom, std::int64_t slopeFP, bool right,
            int winding);
  void ScanConvert(QImage& image, bool winding, QRgb colour);

  std::vector<QPointF> FMapped;
  std::vector<TVector> FPoints;
  std::vector<TLine> FLines;
  std::vector<TLine*> FActive;
  int FTop = 0, FBottom = 0;
  std::int64_t FRightFP = 0;
};

}  // namespace orvela
