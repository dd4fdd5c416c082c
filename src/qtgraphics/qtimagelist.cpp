#include "qtgraphics/qtimagelist.h"

#include <cmath>

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

// The pictures live in a static library: registering them here makes the linker keep them.
static void InitPictureResources() { Q_INIT_RESOURCE(orvela_pictures); }

namespace orvela {

TQtImageList::TQtImageList(int width, int height, double devicePixelRatio)
    : FWidth(width), FHeight(height), FRatio(devicePixelRatio > 0.0 ? devicePixelRatio : 1.0) {}

QSize TQtImageList::PixelSize() const {
  return QSize(static_cast<int>(std::lround(FWidth * FRatio)),
               static_cast<int>(std::lround(FHeight * FRatio)));
}

bool TQtImageList::Add(const QImage& image) {
  if (image.isNull() || image.size() != PixelSize()) return false;
  QImage picture = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(FRatio);
  FImages.push_back(std::move(picture));
  return true;
}

bool TQtImageList::Load(const QString& path) {
  if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) return Add(QImage(path));
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return false;
  QImage image(PixelSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
  painter.end();
  return Add(image);
}

namespace {

std::unique_ptr<TQtImageList> LoadList(int size, const char* prefix, int count, double ratio) {
  InitPictureResources();
  auto list = std::make_unique<TQtImageList>(size, size, ratio);
  for (int i = 0; i < count; ++i) {
    const QString path = QStringLiteral(":/pictures/%1_%2.svg").arg(QLatin1String(prefix)).arg(i);
    if (!list->Load(path)) break;  // later pictures must not slide onto a wrong index
  }
  return list;
}

}  // namespace

std::unique_ptr<TQtImageList> MakeMarkerImages(double devicePixelRatio) {
  return LoadList(44, "markers", 2, devicePixelRatio);
}

std::unique_ptr<TQtImageList> MakeWireMarkerImages(double devicePixelRatio) {
  return LoadList(22, "wiremarkers", 4, devicePixelRatio);
}

TProgramImageLists::TProgramImageLists()
    : FMarkers(MakeMarkerImages(qGuiApp->devicePixelRatio())),
      FWireMarkers(MakeWireMarkerImages(qGuiApp->devicePixelRatio())) {}

}  // namespace orvela
