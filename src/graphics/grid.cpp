#include "graphics/grid.h"

namespace orvela {

namespace {

constexpr std::int32_t GridStepsMm[] = {10, 5, 2, 1};

TPenStyle GridLineStyle(std::int32_t v) { return v % 100 == 0 ? TPenStyle::Solid : TPenStyle::Dot; }

void SetGridPen(TCanvas& aCanvas) {
  aCanvas.SetTransparentBackground(true);
  TPen& pen = aCanvas.Pen();
  pen.Width = 0;
  pen.Mode = TPenMode::Copy;
  pen.Color = TColor{128, 128, 128};
}

}  // namespace

std::int32_t GridStepMm(std::int32_t gridDensity) {
  if (gridDensity < 0 || gridDensity > 3) return GridStepsMm[2];
  return GridStepsMm[gridDensity];
}

void DrawGrid(TCanvas& aCanvas, std::int32_t gridDensity) {
  SetGridPen(aCanvas);
  TPen& pen = aCanvas.Pen();
  const std::int32_t g = 10 * GridStepMm(gridDensity);
  for (std::int32_t v = 0; v <= 1000; v += g) {
    pen.Style = GridLineStyle(v);
    aCanvas.MoveTo(TPoint{v, 0});
    aCanvas.LineTo(TPoint{v, 1000});
    aCanvas.MoveTo(TPoint{0, v});
    aCanvas.LineTo(TPoint{1000, v});
  }
}

void LeaveGridState(TCanvas& aCanvas, std::int32_t gridDensity) {
  SetGridPen(aCanvas);
  const std::int32_t g = 10 * GridStepMm(gridDensity);
  aCanvas.Pen().Style = GridLineStyle(1000 / g * g);
  aCanvas.MoveTo(TPoint{1000, 1000 / g * g});
}

}  // namespace orvela
