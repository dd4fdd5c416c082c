#pragma once

#include <cstdint>

#include <QCursor>

#include "graphics/markers.h"

namespace orvela {

// Loads the pictures "PLIER", "ROTATE", "ZOOM" and "MOVER" from the program's resources and
// registers them under the numbers 1 to 4. Safe to call more than once.
void RegisterProgramCursors();

// One of the four pictures drawn at a device pixel ratio, its hot spot scaled with it; the
// arrow for a number that is not one of them.
QCursor MakeProgramCursor(std::int16_t number, double ratio);

// The cursor of a number: a registered one, the four-way move cursor for −22, the default
// arrow for anything else.
QCursor CursorFromNumber(std::int16_t number);

}  // namespace orvela
