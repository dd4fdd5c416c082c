#include "workspace/picture.h"

#include <cmath>

#include <QRegularExpression>
#include <QString>

#include "document/setup.h"
#include "graphics/grid.h"
#include "qtgraphics/qtcanvas.h"
#include "util/startup.h"

namespace orvela {

namespace {

// Inches in 200 mm.
constexpr double PictureInches = 2.0 / 0.254;

int Pixels(double dpi) { return static_cast<int>(std::nearbyint(PictureInches * dpi)); }

void DrawPicture(TQtCanvas& canvas, const TSetupPicture& picture, const TSetup& setup) {
  canvas.SetMapping(picture.Mapping());
  if (picture.ShowGrid) DrawGrid(canvas, picture.GridDensity);
  setup.DrawAll(canvas, picture.ForceDrawing);
}

}  // namespace

QSize TSetupPicture::SizePixels() const { return QSize(Pixels(DpiX), Pixels(DpiY)); }

QTransform TSetupPicture::Mapping() const {
  const QSize size = SizePixels();
  const double extent = ModelExtent > 0 ? ModelExtent : 1000;
  return QTransform(size.width() / extent, 0.0, 0.0, -size.height() / extent, 0.0, size.height());
}

QByteArray TSetupPicture::Svg(const TSetup& setup) const {
  TQtSvgCanvas canvas(SizePixels(), static_cast<int>(std::nearbyint(DpiX)));
  DrawPicture(canvas, *this, setup);
  QByteArray svg = canvas.Finish();
  // The generator states the size of the whole pixels, 200.025 mm at 96 per inch; the
  // picture is 200 mm, and its view box scales the drawing to exactly that.
  static const QRegularExpression size(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")");
  return QString::fromUtf8(svg).replace(size, R"(<svg width="200mm" height="200mm")").toUtf8();
}

QImage TSetupPicture::Image(const TSetup& setup) const {
  TQtImageCanvas canvas(SizePixels());
  canvas.Begin();
  DrawPicture(canvas, *this, setup);
  return canvas.Image().convertToFormat(QImage::Format_RGB32);
}

}  // namespace orvela
