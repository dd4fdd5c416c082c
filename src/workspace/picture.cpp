#include "workspace/picture.h"

#include <cmath>

#include <QRegularExpression>
#include <QString>

#include "document/setup.h"
#include "graphics/grid.h"
#include "qtgraphics/qtcanvas.h"

namespace orvela {

namespace {

int Pixels(double units, double dpi) {
  return static_cast<int>(std::nearbyint(units * PictureMmPerUnit / 25.4 * dpi));
}

void DrawPicture(TQtCanvas& canvas, const TSetupPicture& picture, const TSetup& setup) {
  canvas.SetMapping(picture.Mapping());
  if (picture.ShowGrid) DrawGrid(canvas, picture.GridDensity);
  setup.DrawAll(canvas, picture.ForceDrawing);
}

}  // namespace

QSize TSetupPicture::SizePixels() const {
  return QSize(Pixels(Area.Width(), DpiX), Pixels(Area.Height(), DpiY));
}

QTransform TSetupPicture::Mapping() const {
  const QSize size = SizePixels();
  const double sx = Area.Width() > 0 ? size.width() / Area.Width() : 1.0;
  const double sy = Area.Height() > 0 ? size.height() / Area.Height() : 1.0;
  return QTransform(sx, 0.0, 0.0, -sy, -Area.Left * sx, Area.Top * sy);
}

QByteArray TSetupPicture::Svg(const TSetup& setup) const {
  TQtSvgCanvas canvas(SizePixels(), static_cast<int>(std::nearbyint(DpiX)));
  DrawPicture(canvas, *this, setup);
  QByteArray svg = canvas.Finish();
  // The generator states the size of the whole pixels (200.025 mm for the square at 96 per
  // inch); the picture has its exact size, and its view box scales the drawing to that.
  static const QRegularExpression size(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")");
  const QString stated = QStringLiteral(R"(<svg width="%1mm" height="%2mm")")
                             .arg(Area.Width() * PictureMmPerUnit, 0, 'g', 8)
                             .arg(Area.Height() * PictureMmPerUnit, 0, 'g', 8);
  return QString::fromUtf8(svg).replace(size, stated).toUtf8();
}

QImage TSetupPicture::Image(const TSetup& setup) const {
  TQtImageCanvas canvas(SizePixels());
  canvas.Begin();
  DrawPicture(canvas, *this, setup);
  return canvas.Image().convertToFormat(QImage::Format_RGB32);
}

void TSetupPicture::Draw(QPaintDevice& device, const TSetup& setup) const {
  TQtCanvas canvas(device);
  canvas.Begin();
  DrawPicture(canvas, *this, setup);
  canvas.End();
}

TModelArea DrawnArea(const TSetup& setup, const TForceDrawing& drawing) {
  // An attachment without wires draws its zero force system at the model origin, a dot
  // far from the setup: the area leaves it out rather than stretch to it.
  TForceDrawing elsewhere = drawing;
  elsewhere.Places.atAttachments = false;
  TExtent extent;
  for (const auto& tooth : setup.ToothList()) {
    extent.Add(tooth->origOutline);
    tooth->AddDrawnExtent(extent);
    tooth->AddForcesExtent(extent, elsewhere);
    if (!drawing.Places.atAttachments) continue;
    for (const auto& bracket : tooth->Brackets()) {
      for (const auto& attachment : bracket->Attachments) {
        if (attachment->Wires().empty()) continue;
        TForceMoment sum;
        attachment->AddWireForces(sum);
        AddForceMomentExtent(extent, sum, drawing);
      }
    }
  }
  for (const auto& wire : setup.WireList()) wire->AddDrawnExtent(extent);
  if (extent.Empty()) return TModelArea{0.0, 0.0, -1.0, -1.0};
  return TModelArea{extent.MinX(), extent.MinY(), extent.MaxX(), extent.MaxY()};
}

}  // namespace orvela
