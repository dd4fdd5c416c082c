#include "recording_canvas.h"

#include <cmath>
#include <utility>

namespace orvela::test {

TRecordingCanvas::TRecordingCanvas(double pixelsPerUnit, TPoint origin) {
  SetMapping(pixelsPerUnit, origin);
}

void TRecordingCanvas::SetMapping(double pixelsPerUnit, TPoint origin) {
  FPixelsPerUnit = pixelsPerUnit;
  FOrigin = origin;
}

std::vector<TRecordedCall> TRecordingCanvas::CallsOf(TCallKind kind) const {
  std::vector<TRecordedCall> result;
  for (const TRecordedCall& call : FCalls)
    if (call.Kind == kind) result.push_back(call);
  return result;
}

void TRecordingCanvas::Record(TCallKind kind, std::vector<TPoint> points) {
  TRecordedCall call;
  call.Kind = kind;
  call.Points = std::move(points);
  call.Pen = Pen();
  call.Brush = Brush();
  call.TransparentBackground = TransparentBackground();
  FCalls.push_back(std::move(call));
}

void TRecordingCanvas::MoveTo(TPoint p) {
  Record(TCallKind::MoveTo, {p});
  FPosition = p;
}

void TRecordingCanvas::LineTo(TPoint p) {
  Record(TCallKind::LineTo, {FPosition, p});
  FPosition = p;
}

void TRecordingCanvas::Rectangle(TPoint a, TPoint b) { Record(TCallKind::Rectangle, {a, b}); }

void TRecordingCanvas::Ellipse(TPoint a, TPoint b) { Record(TCallKind::Ellipse, {a, b}); }

void TRecordingCanvas::Arc(TPoint a, TPoint b, TPoint start, TPoint end) {
  Record(TCallKind::Arc, {a, b, start, end});
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  Record(TCallKind::Polygon, {points.begin(), points.end()});
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  Record(TCallKind::Polyline, {points.begin(), points.end()});
}

void TRecordingCanvas::FillRectWhite(const TRect& r) {
  Record(TCallKind::FillRectWhite, {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Bottom}});
}

void TRecordingCanvas::CopyRect(const TRect& r, const TCanvas& /*source*/) {
  Record(TCallKind::CopyRect, {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Bottom}});
}

void TRecordingCanvas::DrawImage(const TRect& r, const TImageList& images, int index) {
  Record(TCallKind::DrawImage, {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Bottom}});
  FCalls.back().Images = &images;
  FCalls.back().ImageIndex = index;
}

TPoint TRecordingCanvas::DeviceToLogical(TPoint device) const {
  const double x = std::nearbyint(device.x / FPixelsPerUnit);
  const double y = std::nearbyint(device.y / FPixelsPerUnit);
  return TPoint{FOrigin.x + static_cast<std::int32_t>(x), FOrigin.y - static_cast<std::int32_t>(y)};
}

}  // namespace orvela::test
