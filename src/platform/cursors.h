#pragma once

#include <cstdint>

#include <QCursor>

#include "graphics/markers.h"

namespace orvela {

// Loads the pictures "PLIER", "ROTATE", "ZOOM" and "MOVER" from the program's resources and
// registers them under the numbers 1 to 4. Safe to call more than once.
void RegisterProgramCursors();

// The cursor of a number: a registered one, the four-way move cursor for −22, the default
// arrow for anything else.
QCursor CursorFromNumber(std::int16_t number);

}  // namespace orvela
