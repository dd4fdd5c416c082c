#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QSize>
#include <QTransform>

#include "graphics/canvas.h"

class QPaintDevice;
class QSvgGenerator;

namespace orvela {

// TCanvas over a QPainter on any paint device. The owner sets the mapping from logical
// (model) units to device pixels, normally a y-flipping affine transform; every call draws
// through it without antialiasing, so figures land on whole pixels.
//
// Pens: width 0 is cosmetic (one device pixel at any zoom); a positive width is in logical
// units and grows with the zoom, but never drawn thinner than one device pixel. The outline
// of a polygon, disc or arc with a wide pen is filled after the fill as the band between its
// two offset sides instead of running Qt's general stroker: only the joins differ from a
// stroked mitred outline. Not-xor is the raster operation NOT(source XOR destination): on a
// QImage drawing a figure twice restores every pixel; devices without raster operations
// (SVG) draw not-xor figures in copy mode.
//
// Painting: each call opens a painter for itself unless the owner has opened one with
// Begin(); Begin() … End() around a whole repaint is much faster. While a painter is open
// the device must not be resized or reassigned.
class TQtCanvas : public TCanvas {
 public:
  // The device must outlive the canvas.
  explicit TQtCanvas(QPaintDevice& device);
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;
  ~TQtCanvas() override;

  QPaintDevice& Device() const { return FDevice; }

  // Logical (model) units to device pixels. A transform that cannot be inverted makes
  // DeviceToLogical return (0, 0).
  void SetMapping(const QTransform& modelToDevice);
  const QTransform& Mapping() const { return FMapping; }

  // Keeps one painter open on the device until End() (or the canvas goes).
  void Begin();
  void End();
  bool IsActive() const { return FPainter != nullptr; }

  void MoveTo(TPoint p) override;
  void LineTo(TPoint p) override;
  void Rectangle(TPoint a, TPoint b) override;
  void Ellipse(TPoint a, TPoint b) override;
  // Counter-clockwise in logical coordinates from the ray through start to the ray through
  // end; equal rays give the whole ellipse.
  void Arc(TPoint a, TPoint b, TPoint start, TPoint end) override;
  // Even-odd fill.
  void Polygon(std::span<const TPoint> points) override;
  void Polyline(std::span<const TPoint> points) override;
  void FillRectWhite(const TRect& r) override;
  // The source must be a TQtImageCanvas (or a TQtCanvas on a QImage); others copy nothing.
  void CopyRect(const TRect& r, const TCanvas& source) override;
  // The picture at its natural pixel size, centred on the logical point
  // (left + width div 2, bottom + height div 2) of r: for a handle, whose r is the
  // picture's pixel extent around its point, that is the point itself. (Stretching the
  // picture to r would blur it and let it grow by up to a model unit at high zoom.) Lists
  // other than TQtImageList and indices out of range draw nothing.
  void DrawImage(const TRect& r, const TImageList& images, int index) override;
  // Inverse mapping, rounded to the nearest integer (ties to even).
  TPoint DeviceToLogical(TPoint device) const override;

  // The pixels of the device when it is a QImage, else null.
  const QImage* SourceImage() const;

 protected:
  // Ends an open painter; every later call draws nothing.
  void Disable();

 private:
  // The open painter, or a temporary one for the current call.
  class TPaint;
  // Device pixels from here on; the next call that draws in logical units sets the mapping.
  void UseDevicePixels(QPainter& painter);

  void PreparePen(QPainter& painter);
  void PrepareBrush(QPainter& painter);
  void PrepareMode(QPainter& painter) const;
  // Logical units to device pixels, the device's pixel ratio included.
  QTransform DeviceMapping() const;
  // The points into the reused polygon buffer.
  const QPolygon& ToPolygon(std::span<const TPoint> points);
  // The outline buffer from the points, or from the ellipse in box from parametric angle t0
  // (y up) through sweep radians.
  void OutlineFromPoints(std::span<const TPoint> points);
  void OutlineFromEllipse(const QRectF& box, double t0, double sweep);
  // The edges of the outline buffer, square-capped with the current pen; leaves the
  // painter without a pen.
  void DrawEdges(QPainter& painter, bool closed);
  // Fills the polygon with the colour and no outline; leaves the painter without a pen.
  template <class Point>
  void FillSolid(QPainter& painter, std::span<const Point> points, Qt::FillRule rule,
                 TColor colour);
  // A Qt brush of that kind, made once.
  const QBrush& KeptBrush(const TBrush& brush);

  QPaintDevice& FDevice;
  // The painter opened by Begin (null when none is), made once and reused.
  QPainter* FPainter = nullptr;
  std::unique_ptr<QPainter> FKeptPainter;
  // Whether the open painter holds FMapping: setting a transform is costly.
  bool FPainterAtMapping = false;
  // The Qt pens and brushes made so far (a handful per repaint), kept so that a repaint
  // makes none; pens are kept for one scale of the mapping, as a thin pen's width depends
  // on it.
  std::vector<std::pair<TPen, QPen>> FQPens;
  double FQPensScale = 0.0;
  std::vector<std::pair<TBrush, QBrush>> FQBrushes;
  // The pen and brush in use (shared copies of cache entries) and what they were made of.
  std::optional<TPen> FQPenOf;
  QPen FQPen;
  std::optional<TBrush> FQBrushOf;
  QBrush FQBrush;
  // Whether the current pen outlines polygons as separate edges.
  bool FEdgeOutline = false;
  QPen FNoPen{Qt::NoPen};
  QPolygon FPolygon;
  QPolygonF FOutline;
  std::vector<QPointF> FQuads;
  std::vector<QPointF> FDirections;
  QPainterPath FArcPath;
  QTransform FMapping;
  std::optional<QTransform> FInverse;
  TPoint FPosition;
  bool FDisabled = false;
};

namespace qtcanvas_detail {
// Base-from-member holders: the device exists before the TQtCanvas base that draws on it
// and goes after it.
struct TImageHolder {
  QImage FImage;
};
struct TSvgHolder {
  std::unique_ptr<QBuffer> FBuffer;
  std::unique_ptr<QSvgGenerator> FGenerator;
  TSvgHolder(QSize sizePixels, int resolutionDpi);
  TSvgHolder(const TSvgHolder&) = delete;
  TSvgHolder& operator=(const TSvgHolder&) = delete;
  ~TSvgHolder();
};
}  // namespace qtcanvas_detail

class TQtImageCanvas;

// A picture kept as its distinct rows and, for each row, which of them it is. A grid
// background has a few dozen distinct rows, so copying it into a buffer reads a few
// kilobytes that stay in the processor's cache instead of the whole picture, and sets the
// same pixels.
class TRowPicture {
 public:
  // The pixels of the canvas (its painter is ended first).
  void Take(TQtImageCanvas& source);
  std::size_t DistinctRows() const { return Width() == 0 ? 0 : FRows.size() / Width(); }

 private:
  friend class TQtImageCanvas;
  std::size_t Width() const { return static_cast<std::size_t>(std::max(FPixels.width(), 0)); }
  QSize FPixels;
  double FRatio = 0.0;
  std::vector<QRgb> FRows;
  std::vector<std::uint32_t> FRowOf;
};

// A canvas with its own QImage back buffer (ARGB32 premultiplied), white after each resize.
// The size is in device-independent pixels; the buffer holds size × devicePixelRatio pixels,
// so that drawing is sharp on a high-density screen.
class TQtImageCanvas : private qtcanvas_detail::TImageHolder, public TQtCanvas {
 public:
  explicit TQtImageCanvas(QSize size, double devicePixelRatio = 1.0);

  // Ends an open painter first; the new buffer is white.
  void Resize(QSize size, double devicePixelRatio = 1.0);
  QSize Size() const { return FSize; }
  double DevicePixelRatio() const { return FImage.devicePixelRatio(); }
  // Copies the pixels of a picture taken from a canvas of the same size and ratio (a
  // background kept between repaints); false, copying nothing, when they differ.
  bool CopyFrom(const TRowPicture& source);
  // Ends an open painter first, so that the pixels are complete.
  const QImage& Image();

 private:
  QSize FSize;
};

// A canvas that records a vector picture as SVG (for the clipboard): sizePixels device
// units at resolutionDpi per inch give the picture's physical size. The owner sets the
// mapping into those device units as for a screen.
class TQtSvgCanvas : private qtcanvas_detail::TSvgHolder, public TQtCanvas {
 public:
  TQtSvgCanvas(QSize sizePixels, int resolutionDpi);

  // Ends the picture and returns the SVG document; drawing afterwards is ignored.
  QByteArray Finish();

 private:
  bool FFinished = false;
};

}  // namespace orvela
