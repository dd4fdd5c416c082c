#include "platform/toolbaricons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace orvela {

namespace {

struct TIconNames {
  const char* Theme;
  const char* Resource;
};

TIconNames NamesOf(TToolbarIcon icon) {
  switch (icon) {
    case TToolbarIcon::New:
      return {"document-new", "new"};
    case TToolbarIcon::Open:
      return {"document-open", "open"};
    case TToolbarIcon::Save:
      return {"document-save", "save"};
    case TToolbarIcon::Print:
      return {"document-print", "print"};
    case TToolbarIcon::Run:
      return {"media-playback-start", "run"};
    case TToolbarIcon::Stop:
      return {"media-playback-stop", "stop"};
    case TToolbarIcon::Undo:
      return {"edit-undo", "undo"};
    case TToolbarIcon::Redo:
      return {"edit-redo", "redo"};
    case TToolbarIcon::Zoom:
      return {"zoom-in", "zoom"};
    case TToolbarIcon::Chooser:
      return {"edit-select", "chooser"};
  }
  return {"", ""};
}

// Our own picture (its SVG carries a pale halo that keeps it readable on a dark toolbar),
// rendered at the usual tool-button sizes so that it needs no image format plugin.
QIcon OwnIcon(const char* resource) {
  QIcon icon;
  QSvgRenderer renderer(QString(":/toolbar/%1.svg").arg(resource));
  if (!renderer.isValid()) return icon;
  for (int size : {16, 22, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ToolbarIcon(TToolbarIcon icon) {
  const TIconNames names = NamesOf(icon);
  // Our picture is rendered only when the theme has none.
  const QString theme = QString::fromLatin1(names.Theme);
  return QIcon::hasThemeIcon(theme) ? QIcon::fromTheme(theme) : OwnIcon(names.Resource);
}

QIcon OwnToolbarIcon(TToolbarIcon icon) { return OwnIcon(NamesOf(icon).Resource); }

}  // namespace orvela
