#pragma once

class QWidget;

namespace orvela {

// Gives a window the face of the system's title font (the icon-title font of the desktop),
// keeping its size; every window of the program calls it when it is created.
void TakeTitleFontFace(QWidget& window);

}  // namespace orvela
