#include "qtgraphics/qtimagelist.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

// The pictures live in a static library: registering them here makes the linker keep them.
static void InitPictureResources() { Q_INIT_RESOURCE(orvela_pictures); }

namespace orvela {

TQtImageList::TQtImageList(int width, int height) : FWidth(width), FHeight(height) {}

bool TQtImageList::Add(const QImage& image) {
  if (image.isNull() || image.width() != FWidth || image.height() != FHeight) return false;
  FImages.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  return true;
}

bool TQtImageList::Load(const QString& path) {
  if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) return Add(QImage(path));
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return false;
  QImage image(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return Add(image);
}

namespace {

std::unique_ptr<TQtImageList> LoadList(int size, const char* prefix, int count) {
  InitPictureResources();
  auto list = std::make_unique<TQtImageList>(size, size);
  for (int i = 0; i < count; ++i) {
    const QString path = QStringLiteral(":/pictures/%1_%2.svg").arg(QLatin1String(prefix)).arg(i);
    if (!list->Load(path)) break;  // later pictures must not slide onto a wrong index
  }
  return list;
}

}  // namespace

std::unique_ptr<TQtImageList> MakeMarkerImages() { return LoadList(44, "markers", 2); }

std::unique_ptr<TQtImageList> MakeWireMarkerImages() { return LoadList(22, "wiremarkers", 4); }

TProgramImageLists::TProgramImageLists()
    : FMarkers(MakeMarkerImages()), FWireMarkers(MakeWireMarkerImages()) {
  ImageListMarkers = FMarkers.get();
  ImageListWireMarkers = FWireMarkers.get();
}

TProgramImageLists::~TProgramImageLists() {
  if (ImageListMarkers == FMarkers.get()) ImageListMarkers = nullptr;
  if (ImageListWireMarkers == FWireMarkers.get()) ImageListWireMarkers = nullptr;
}

}  // namespace orvela
