#include "platform/cursors.h"

#include <cmath>
#include <map>

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace orvela {

namespace {

struct TCursorResource {
  std::int16_t Number;
  const char* Name;
  // Hot spot in the 32 × 32 picture.
  int HotX;
  int HotY;
};

constexpr TCursorResource CursorResources[] = {
    {PlierCursor, "PLIER", 2, 2},
    {RotateCursor, "ROTATE", 16, 16},
    {ZoomCursor, "ZOOM", 12, 12},
    {MoverCursor, "MOVER", 16, 16},
};

std::map<std::int16_t, QCursor>& Registry() {
  static std::map<std::int16_t, QCursor> registry;
  return registry;
}

// The 32 × 32 picture at the screen's pixel ratio, so that it is sharp at any scale.
QPixmap RenderCursor(const char* name, double ratio) {
  const int pixels = static_cast<int>(std::lround(32 * ratio));
  QPixmap pixmap(pixels, pixels);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(QString(":/cursors/%1").arg(name));
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
  }
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

}  // namespace

QCursor MakeProgramCursor(std::int16_t number, double ratio) {
  for (const TCursorResource& r : CursorResources) {
    if (r.Number != number) continue;
    // The window system takes the hot spot in the picture's own pixels, so at 2× the centre
    // of the rotate cursor is (32, 32), not (16, 16).
    const int hotX = static_cast<int>(std::lround(r.HotX * ratio));
    const int hotY = static_cast<int>(std::lround(r.HotY * ratio));
    return QCursor(RenderCursor(r.Name, ratio), hotX, hotY);
  }
  return QCursor(Qt::ArrowCursor);
}

void RegisterProgramCursors() {
  const double ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  for (const TCursorResource& r : CursorResources) {
    Registry()[r.Number] = MakeProgramCursor(r.Number, ratio);
  }
}

QCursor CursorFromNumber(std::int16_t number) {
  if (number == MoveCursor) return QCursor(Qt::SizeAllCursor);
  if (number == BendCursor) return QCursor(Qt::SplitHCursor);
  const auto found = Registry().find(number);
  if (found != Registry().end()) return found->second;
  return QCursor(Qt::ArrowCursor);
}

}  // namespace orvela
