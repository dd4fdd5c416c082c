#include "workspace/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvela {

std::optional<QRect> PlacementGeometry(const TWindowPlacement& placement, const QRect& current,
                                       const QList<QRect>& screens) {
  if (placement.Maximized || !placement.Left) return std::nullopt;
  QRect r = current;
  r.moveLeft(*placement.Left);
  if (placement.Top) r.moveTop(*placement.Top);
  if (placement.Width) r.setWidth(*placement.Width);
  if (placement.Height) r.setHeight(*placement.Height);
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
