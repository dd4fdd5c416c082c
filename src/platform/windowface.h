#pragma once

class QDialog;
class QWidget;

namespace orvela {

// Gives a window the face of the system's title font (the icon-title font of the desktop),
// keeping its size; every window of the program calls it when it is created.
void TakeTitleFontFace(QWidget& window);

// A fixed dialog border: title and close button only (no minimise or maximise), no size grip,
// and a size that follows the layout's size hint and cannot be dragged. Call after the
// dialog's layout is set.
void SetFixedDialogBorder(QDialog& dialog);

}  // namespace orvela
