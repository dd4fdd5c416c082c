#include <benchmark/benchmark.h>
#include <cmath>

#include <QImage>
#include <QTransform>

#include "graphics/forcedraw.h"
#include "graphics/markers.h"
#include "graphics/shapes.h"
#include "mechanics/forcemoment.h"
#include "qtgraphics/qtcanvas.h"
#include "qtgraphics/qtimagelist.h"

namespace orvela {
namespace {

// The view's back buffer at 150 %: model (0, 1000) at the upper left corner.
TQtImageCanvas& BackBuffer() {
  static TQtImageCanvas canvas(QSize(804, 506));
  const double k = 1500.0 / 250.0 * 0.28346;
  canvas.SetMapping(QTransform(k, 0, 0, -k, 0, k * 1000));
  return canvas;
}

TSplineSegment Wire() {
  TSplineSegment s;
  s.origin = {150, 780};
  s.corner = {450, 800};
  s.angleOrigin = 0.5;
  s.angleCorner = -0.3;
  return s;
}

void BM_DrawForceSystem(benchmark::State& state) {
  TQtImageCanvas& canvas = BackBuffer();
  const bool session = state.range(0) != 0;
  if (session) canvas.Begin();
  const TForceMoment fm({200, 900}, 120, 60, 4000);
  const TForceDrawing drawing;
  for (auto _ : state) DrawForceMoment(canvas, fm, drawing);
  canvas.End();
}
BENCHMARK(BM_DrawForceSystem)->ArgName("painter_open")->Arg(1)->Arg(0);

void BM_DrawSpline(benchmark::State& state) {
  TQtImageCanvas& canvas = BackBuffer();
  canvas.Begin();
  canvas.Pen() = TPen{};
  const TSplineSegment wire = Wire();
  for (auto _ : state) wire.Draw(canvas);
  canvas.End();
}
BENCHMARK(BM_DrawSpline);

void BM_DrawImageMarker(benchmark::State& state) {
  TQtImageCanvas& canvas = BackBuffer();
  const auto pictures = MakeMarkerImages();
  if (pictures->Count() == 0) {
    state.SkipWithError("pictures not compiled in");
    return;
  }
  canvas.Begin();
  TMarker marker;
  marker.ShapeType = oglmImage;
  marker.ImageList = pictures.get();
  marker.origin = {300, 850};
  for (auto _ : state) marker.Draw(canvas);
  canvas.End();
}
BENCHMARK(BM_DrawImageMarker);

void BM_SplineContains(benchmark::State& state) {
  const TSplineSegment wire = Wire();
  // A hit late on the curve (most pieces tried first) and a miss (every piece tried).
  const bool hit = state.range(0) != 0;
  const double length = std::hypot(wire.corner.x - wire.origin.x, wire.corner.y - wire.origin.y);
  const TPointDouble onCurve = wire.PointAt(0.85 * length);
  const TPoint p = hit ? RoundPoint(onCurve) : TPoint{300, 600};
  if (wire.Contains(p.x, p.y) != hit) {
    state.SkipWithError("probe point not as intended");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(wire.Contains(p.x, p.y));
}
BENCHMARK(BM_SplineContains)->ArgName("hit")->Arg(1)->Arg(0);

}  // namespace
}  // namespace orvela
