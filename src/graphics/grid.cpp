#include "graphics/grid.h"

namespace orvela {

namespace {

constexpr std::int32_t GridStepsMm[] = {10, 5, 2, 1};

}  // namespace

std::int32_t GridStepMm(std::int32_t gridDensity) {
  if (gridDensity < 0 || gridDensity > 3) return GridStepsMm[2];
  return GridStepsMm[gridDensity];
}

void DrawGrid(TCanvas& aCanvas, std::int32_t gridDensity) {
  aCanvas.SetTransparentBackground(true);
  TPen& pen = aCanvas.Pen();
  pen.Width = 0;
  pen.Mode = TPenMode::Copy;
  pen.Color = TColor{128, 128, 128};
  const std::int32_t g = 10 * GridStepMm(gridDensity);
  for (std::int32_t v = 0; v <= 1000; v += g) {
    pen.Style = v % 100 == 0 ? TPenStyle::Solid : TPenStyle::Dot;
    aCanvas.MoveTo(TPoint{v, 0});
    aCanvas.LineTo(TPoint{v, 1000});
    aCanvas.MoveTo(TPoint{0, v});
    aCanvas.LineTo(TPoint{1000, v});
  }
}

}  // namespace orvela
