#pragma once

#include <optional>

#include <QList>
#include <QRect>

#include "document/settings.h"

class QWidget;

namespace orvela {

// The geometry to give the window before it is first shown: current with the stored left,
// top, width and height put in as far as they were read; empty when nothing was stored, or
// when the result lies wholly outside every screen (the window would be unreachable).
// Positions are held within ±QWIDGETSIZE_MAX and sizes within 0…QWIDGETSIZE_MAX.
std::optional<QRect> PlacementGeometry(const TWindowPlacement& placement, const QRect& current,
                                       const QList<QRect>& screens);

// Applies PlacementGeometry with the available screens (frame position, client size) and,
// for "Maximized", the maximized state. Call before the first show; returns whether the
// window should open maximized.
bool ApplyWindowPlacement(QWidget& window, const TWindowPlacement& placement);

// The window's placement now, for writing: maximized, or frame position and client size.
TWindowPlacement CaptureWindowPlacement(const QWidget& window);

}  // namespace orvela
