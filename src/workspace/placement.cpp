#include "workspace/placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvela {

std::optional<QRect> PlacementGeometry(const TWindowPlacement& placement, const QRect& current,
                                       const QList<QRect>& screens) {
  if (placement.Maximized || !placement.Left) return std::nullopt;
  // Stored numbers near the 32-bit limit would overflow QRect's right and bottom: hold the
  // position and the size to what a widget can have.
  const auto coordinate = [](int v) { return std::clamp(v, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); };
  const auto extent = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
  QRect r(coordinate(current.left()), coordinate(current.top()), extent(current.width()),
          extent(current.height()));
  r.moveLeft(coordinate(*placement.Left));
  if (placement.Top) r.moveTop(coordinate(*placement.Top));
  if (placement.Width) r.setWidth(extent(*placement.Width));
  if (placement.Height) r.setHeight(extent(*placement.Height));
  if (screens.isEmpty()) return r;
  for (const QRect& screen : screens) {
    if (r.intersects(screen)) return r;
  }
  return std::nullopt;
}

bool ApplyWindowPlacement(QWidget& window, const TWindowPlacement& placement) {
  if (placement.Maximized) {
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
  }
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->geometry());
  if (const auto r = PlacementGeometry(placement, QRect(window.pos(), window.size()), screens)) {
    window.move(r->topLeft());
    window.resize(r->size());
  }
  return false;
}

TWindowPlacement CaptureWindowPlacement(const QWidget& window) {
  TWindowPlacement placement;
  if (window.isMaximized()) {
    placement.Maximized = true;
    return placement;
  }
  placement.Left = window.x();
  placement.Top = window.y();
  placement.Width = window.width();
  placement.Height = window.height();
  return placement;
}

}  // namespace orvela
