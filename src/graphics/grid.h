#pragma once

#include <cstdint>

#include "graphics/canvas.h"

namespace orvela {

// The grid step in millimetres for each GridDensity index; an index outside the table is
// drawn with the default 2 mm.
std::int32_t GridStepMm(std::int32_t gridDensity);

// The grid over the fixed square 0…1000: grey one-pixel lines, solid every 10 mm and dotted
// between, at the step of gridDensity. Leaves the pen in its last state.
void DrawGrid(TCanvas& aCanvas, std::int32_t gridDensity);
// Leaves the surface as DrawGrid does (background mode, pen) without drawing: for a surface
// that shows a kept picture of the grid, so that the figures drawn next look the same.
void LeaveGridState(TCanvas& aCanvas, std::int32_t gridDensity);

}  // namespace orvela
