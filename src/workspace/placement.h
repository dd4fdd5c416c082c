#pragma once

#include <optional>

#include <QList>
#include <QRect>

#include "document/settings.h"

class QWidget;

namespace orvela {

// The geometry to give the window before it is first shown: current with the stored left,
// top, width and height put in as far as they were read; empty when nothing was stored or
// the stored size is empty. A result that no longer fits on any of the screens (their
// available areas) is pulled onto the one it overlaps most, or the first when it overlaps
// none: shrunk to that area where it is larger, then moved into it. Positions are held within
// ±QWIDGETSIZE_MAX and sizes within 0…QWIDGETSIZE_MAX.
std::optional<QRect> PlacementGeometry(const TWindowPlacement& placement, const QRect& current,
                                       const QList<QRect>& screens);

// The window's geometry at its first start on a screen's available area: the preferred size,
// or on an area larger than 1280 × 800 about two thirds of it each way (never less than the
// preferred size), held within the area, centred.
QRect FirstWindowGeometry(const QSize& preferred, const QRect& available);

// Applies PlacementGeometry with the available screen areas (frame position, client size),
// FirstWindowGeometry on the primary screen when nothing was stored, and for "Maximized" the
// maximized state. Call before the first show, with the window at its preferred size;
// returns whether the window should open maximized.
bool ApplyWindowPlacement(QWidget& window, const TWindowPlacement& placement);

// The window's placement now, for writing: maximized, or frame position and client size.
TWindowPlacement CaptureWindowPlacement(const QWidget& window);

}  // namespace orvela
