#pragma once

#include <cstdint>

#include <QCursor>

namespace orvela {

// Cursor numbers of the program's own cursors; 0 is the default arrow and MoveCursor the
// platform's four-way move cursor.
inline constexpr std::int16_t PlierCursor = 1;
inline constexpr std::int16_t RotateCursor = 2;
inline constexpr std::int16_t ZoomCursor = 3;
inline constexpr std::int16_t MoverCursor = 4;
inline constexpr std::int16_t MoveCursor = -22;

// Loads the pictures "PLIER", "ROTATE", "ZOOM" and "MOVER" from the program's resources and
// registers them under the numbers 1 to 4. Safe to call more than once.
void RegisterProgramCursors();

// The cursor of a number: a registered one, the four-way move cursor for −22, the default
// arrow for anything else.
QCursor CursorFromNumber(std::int16_t number);

}  // namespace orvela
