#include "workspace/placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMargins>
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
  if (r.isEmpty()) return std::nullopt;
  if (screens.isEmpty()) return r;
  // The screen it overlaps most; overlapping none, the one whose centre is nearest.
  const QRect* best = nullptr;
  qint64 bestOverlap = -1;
  double bestDistance = 0.0;
  for (const QRect& screen : screens) {
    if (screen.contains(r)) return r;
    const QRect overlap = screen.intersected(r);
    const qint64 area = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
    const double dx = double(screen.left()) + screen.width() / 2.0 - r.left() - r.width() / 2.0;
    const double dy = double(screen.top()) + screen.height() / 2.0 - r.top() - r.height() / 2.0;
    const double distance = dx * dx + dy * dy;
    if (area > bestOverlap || (area == bestOverlap && distance < bestDistance)) {
      best = &screen;
      bestOverlap = area;
      bestDistance = distance;
    }
  }
  // A screen taken away or made smaller since: the window comes back whole onto one.
  r.setSize(r.size().boundedTo(best->size()));
  r.moveLeft(std::clamp(r.left(), best->left(), best->right() - r.width() + 1));
  r.moveTop(std::clamp(r.top(), best->top(), best->bottom() - r.height() + 1));
  return r;
}

QRect FirstWindowGeometry(const QSize& preferred, const QRect& available) {
  constexpr QSize Roomy(1280, 800);
  QSize size = preferred;
  if (available.width() > Roomy.width() || available.height() > Roomy.height()) {
    size = size.expandedTo(QSize(available.width() * 2 / 3, available.height() * 2 / 3));
  }
  size = size.boundedTo(available.size());
  return QRect(available.left() + (available.width() - size.width()) / 2,
               available.top() + (available.height() - size.height()) / 2, size.width(),
               size.height());
}

bool ApplyWindowPlacement(QWidget& window, const TWindowPlacement& placement) {
  if (placement.Maximized) {
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
  }
  // The rectangle is the frame's position with the client's size, and the frame is not known
  // before the first show: leave room for a usual title bar and border at the right and
  // bottom, so that the status line stays on the screen.
  constexpr QMargins FrameAllowance(0, 0, 8, 36);
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    screens.append(screen->availableGeometry() - FrameAllowance);
  }
  std::optional<QRect> r =
      PlacementGeometry(placement, QRect(window.pos(), window.size()), screens);
  if (!r && !screens.isEmpty()) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area =
        primary != nullptr ? primary->availableGeometry() - FrameAllowance : screens.front();
    r = FirstWindowGeometry(window.size(), area);
  }
  if (r) {
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
