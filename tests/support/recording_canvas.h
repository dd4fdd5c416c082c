#pragma once

#include <vector>

#include "graphics/canvas.h"
#include "graphics/imagelist.h"

namespace orvela::test {

enum class TCallKind {
  MoveTo,
  LineTo,
  Rectangle,
  Ellipse,
  Arc,
  Polygon,
  Polyline,
  FillRectWhite,
  CopyRect,
  DrawImage
};

// One drawing call with the surface state it was made with. Points, by kind:
//   MoveTo: the target;  LineTo: from, to;  Rectangle, Ellipse: the two corners;
//   Arc: box corner a, box corner b, start, end;  Polygon, Polyline: the vertices;
//   FillRectWhite, CopyRect, DrawImage: (Left, Top), (Right, Bottom).
struct TRecordedCall {
  TCallKind Kind = TCallKind::MoveTo;
  std::vector<TPoint> Points;
  TPen Pen;
  TBrush Brush;
  bool TransparentBackground = false;
  // DrawImage only.
  const TImageList* Images = nullptr;
  int ImageIndex = -1;
};

// A drawing surface that keeps every call, for asserting what was drawn. Its mapping is
// y-up with a uniform scale: device (px, py) is logical
// (round(px / PixelsPerUnit) + Origin.x, Origin.y − round(py / PixelsPerUnit)), ties to even,
// so PixelsPerUnit 0.283 and 6.8 stand in for the view at 25 % and 600 %.
class TRecordingCanvas : public TCanvas {
 public:
  // pixelsPerUnit > 0; origin is the logical point at device (0, 0).
  explicit TRecordingCanvas(double pixelsPerUnit = 1.0, TPoint origin = {});

  void SetMapping(double pixelsPerUnit, TPoint origin = {});
  double PixelsPerUnit() const { return FPixelsPerUnit; }

  const std::vector<TRecordedCall>& Calls() const { return FCalls; }
  // The calls of one kind, in order.
  std::vector<TRecordedCall> CallsOf(TCallKind kind) const;
  void Clear() { FCalls.clear(); }
  TPoint CurrentPosition() const { return FPosition; }

  void MoveTo(TPoint p) override;
  void LineTo(TPoint p) override;
  void Rectangle(TPoint a, TPoint b) override;
  void Ellipse(TPoint a, TPoint b) override;
  void Arc(TPoint a, TPoint b, TPoint start, TPoint end) override;
  void Polygon(std::span<const TPoint> points) override;
  void Polyline(std::span<const TPoint> points) override;
  void FillRectWhite(const TRect& r) override;
  void CopyRect(const TRect& r, const TCanvas& source) override;
  void DrawImage(const TRect& r, const TImageList& images, int index) override;
  TPoint DeviceToLogical(TPoint device) const override;

 private:
  void Record(TCallKind kind, std::vector<TPoint> points);

  std::vector<TRecordedCall> FCalls;
  TPoint FPosition;
  double FPixelsPerUnit = 1.0;
  TPoint FOrigin;
};

}  // namespace orvela::test
