#include "platform/cursors.h"

#include <map>

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

QPixmap RenderCursor(const char* name) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(QString(":/cursors/%1").arg(name));
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    renderer.render(&painter);
  }
  return pixmap;
}

}  // namespace

void RegisterProgramCursors() {
  for (const TCursorResource& r : CursorResources) {
    Registry()[r.Number] = QCursor(RenderCursor(r.Name), r.HotX, r.HotY);
  }
}

QCursor CursorFromNumber(std::int16_t number) {
  if (number == MoveCursor) return QCursor(Qt::SizeAllCursor);
  const auto found = Registry().find(number);
  if (found != Registry().end()) return found->second;
  return QCursor(Qt::ArrowCursor);
}

}  // namespace orvela
