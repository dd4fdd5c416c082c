#include "qtgraphics/qtcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include <QPainterPath>
#include <QPolygon>
#include <QSvgGenerator>

#include "qtgraphics/qtimagelist.h"

namespace orvela {

namespace {

QColor ToQColor(TColor c) { return QColor(c.r, c.g, c.b); }

QPoint ToQPoint(TPoint p) { return QPoint(p.x, p.y); }

QRectF BoxOf(TPoint a, TPoint b) {
  return QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)).normalized();
}

QPolygon ToQPolygon(std::span<const TPoint> points) {
  QPolygon polygon(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i)
    polygon[static_cast<int>(i)] = ToQPoint(points[i]);
  return polygon;
}

bool SupportsRasterOps(const QPaintDevice& device) { return device.devType() == QInternal::Image; }

}  // namespace

class TQtCanvas::TPaint {
 public:
  explicit TPaint(TQtCanvas& canvas) {
    if (canvas.FDisabled) return;
    if (canvas.FPainter) {
      FPainter = canvas.FPainter.get();
      if (!canvas.FPainterAtMapping) {
        FPainter->setTransform(canvas.FMapping);
        canvas.FPainterAtMapping = true;
      }
      return;
    }
    FOwn.emplace();
    if (!FOwn->begin(&canvas.FDevice)) return;
    FPainter = &*FOwn;
    Setup(*FPainter);
    FPainter->setTransform(canvas.FMapping);
  }
  // What every painter starts with: whole pixels, white gaps behind opaque dotted lines.
  static void Setup(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackground(Qt::white);
  }

  TPaint(const TPaint&) = delete;
  TPaint& operator=(const TPaint&) = delete;
  ~TPaint() {
    if (FOwn && FOwn->isActive()) FOwn->end();
  }

  // Null when the device cannot be painted on.
  QPainter* operator->() const { return FPainter; }
  QPainter& operator*() const { return *FPainter; }
  explicit operator bool() const { return FPainter != nullptr; }

 private:
  std::optional<QPainter> FOwn;
  QPainter* FPainter = nullptr;
};

TQtCanvas::TQtCanvas(QPaintDevice& device) : FDevice(device), FInverse(QTransform()) {}

TQtCanvas::~TQtCanvas() { End(); }

void TQtCanvas::SetMapping(const QTransform& modelToDevice) {
  FMapping = modelToDevice;
  FPainterAtMapping = false;
  FQPenOf.reset();  // the width of a thin pen depends on the scale
  bool invertible = false;
  const QTransform inverse = modelToDevice.inverted(&invertible);
  FInverse = invertible ? std::optional<QTransform>(inverse) : std::nullopt;
}

void TQtCanvas::Begin() {
  if (FPainter || FDisabled) return;
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(&FDevice)) return;
  TPaint::Setup(*painter);
  FPainter = std::move(painter);
  FPainterAtMapping = false;
}

void TQtCanvas::UseDevicePixels(QPainter& painter) {
  painter.resetTransform();
  FPainterAtMapping = false;
}

void TQtCanvas::End() {
  if (!FPainter) return;
  if (FPainter->isActive()) FPainter->end();
  FPainter.reset();
}

void TQtCanvas::Disable() {
  End();
  FDisabled = true;
}

void TQtCanvas::PrepareMode(QPainter& painter) const {
  const bool notXor = Pen().Mode == TPenMode::NotXor && SupportsRasterOps(FDevice);
  painter.setCompositionMode(notXor ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
  painter.setBackgroundMode(TransparentBackground() ? Qt::TransparentMode : Qt::OpaqueMode);
}

void TQtCanvas::PreparePen(QPainter& painter) {
  const TPen& pen = Pen();
  if (FQPenOf != pen) {
    FQPenOf = pen;
    if (pen.Style == TPenStyle::Clear) {
      FQPen = QPen(Qt::NoPen);
    } else {
      FQPen = QPen(ToQColor(pen.Color));
      FQPen.setStyle(pen.Style == TPenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
      // Lines thinner than a pixel would break up without antialiasing: they become
      // cosmetic.
      const double devicePixels = pen.Width * std::sqrt(std::abs(FMapping.determinant()));
      if (pen.Width <= 0 || devicePixels < 1.0) {
        FQPen.setWidth(0);
        FQPen.setCosmetic(true);
        FQPen.setCapStyle(Qt::FlatCap);
      } else {
        FQPen.setWidthF(pen.Width);
        FQPen.setCosmetic(false);
        // Square ends close the outer corners where separate segments meet; round ends
        // would look alike and cost several times as much to fill.
        FQPen.setCapStyle(Qt::SquareCap);
        FQPen.setJoinStyle(Qt::MiterJoin);
      }
    }
  }
  painter.setPen(FQPen);
}

void TQtCanvas::PrepareBrush(QPainter& painter) {
  const TBrush& brush = Brush();
  if (FQBrushOf != brush) {
    FQBrushOf = brush;
    FQBrush =
        brush.Style == TBrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush.Color));
  }
  painter.setBrush(FQBrush);
}

void TQtCanvas::MoveTo(TPoint p) { FPosition = p; }

void TQtCanvas::LineTo(TPoint p) {
  const TPoint from = FPosition;
  FPosition = p;
  TPaint paint(*this);
  if (!paint || Pen().Style == TPenStyle::Clear) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  paint->drawLine(ToQPoint(from), ToQPoint(p));
}

void TQtCanvas::Rectangle(TPoint a, TPoint b) {
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  PrepareBrush(*paint);
  paint->drawRect(BoxOf(a, b));
}

void TQtCanvas::Ellipse(TPoint a, TPoint b) {
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  PrepareBrush(*paint);
  paint->drawEllipse(BoxOf(a, b));
}

void TQtCanvas::Arc(TPoint a, TPoint b, TPoint start, TPoint end) {
  const QRectF box = BoxOf(a, b);
  if (box.width() <= 0.0 || box.height() <= 0.0 || Pen().Style == TPenStyle::Clear) return;
  const QPointF c = box.center();
  const double rx = box.width() / 2.0, ry = box.height() / 2.0;
  // Parametric angles (y up) of the points where the two rays meet the ellipse.
  const double t0 = std::atan2(rx * (start.y - c.y()), ry * (start.x - c.x()));
  const double t1 = std::atan2(rx * (end.y - c.y()), ry * (end.x - c.x()));
  double sweep = t1 - t0;
  while (sweep <= 0.0) sweep += TwoPi;
  while (sweep > TwoPi) sweep -= TwoPi;
  // QPainterPath measures angles with y down: negate them for the y-up logical space.
  const double startDeg = -t0 * 180.0 / Pi;
  const double sweepDeg = -sweep * 180.0 / Pi;
  QPainterPath path;
  path.arcMoveTo(box, startDeg);
  path.arcTo(box, startDeg, sweepDeg);
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  paint->setBrush(Qt::NoBrush);
  paint->drawPath(path);
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  PrepareBrush(*paint);
  paint->drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void TQtCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || Pen().Style == TPenStyle::Clear) return;
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  paint->drawPolyline(ToQPolygon(points));
}

void TQtCanvas::FillRectWhite(const TRect& r) {
  TPaint paint(*this);
  if (!paint) return;
  paint->setCompositionMode(QPainter::CompositionMode_Source);
  const QRect device =
      FMapping.mapRect(BoxOf({r.Left, r.Top}, {r.Right, r.Bottom})).toAlignedRect();
  UseDevicePixels(*paint);
  paint->fillRect(device, Qt::white);
}

const QImage* TQtCanvas::SourceImage() const {
  if (FDevice.devType() != QInternal::Image) return nullptr;
  return static_cast<const QImage*>(&FDevice);
}

void TQtCanvas::CopyRect(const TRect& r, const TCanvas& source) {
  const auto* qtSource = dynamic_cast<const TQtCanvas*>(&source);
  const QImage* image = qtSource ? qtSource->SourceImage() : nullptr;
  if (image == nullptr || qtSource == this) return;
  TPaint paint(*this);
  if (!paint) return;
  const QRect device =
      FMapping.mapRect(BoxOf({r.Left, r.Top}, {r.Right, r.Bottom})).toAlignedRect();
  paint->setCompositionMode(QPainter::CompositionMode_Source);
  UseDevicePixels(*paint);
  paint->drawImage(device.topLeft(), *image, device);
}

void TQtCanvas::DrawImage(const TRect& r, const TImageList& images, int index) {
  const auto* list = dynamic_cast<const TQtImageList*>(&images);
  if (list == nullptr || index < 0 || index >= list->Count()) return;
  const QImage& picture = list->Image(index);
  // The anchor is the handle's point when r is a picture's pixel extent around it.
  const std::int64_t left = std::min(r.Left, r.Right), top = std::min(r.Top, r.Bottom);
  const std::int64_t width = std::abs(static_cast<std::int64_t>(r.Right) - r.Left);
  const std::int64_t height = std::abs(static_cast<std::int64_t>(r.Bottom) - r.Top);
  const QPointF anchor = FMapping.map(
      QPointF(static_cast<double>(left + width / 2), static_cast<double>(top + height / 2)));
  const QPoint topLeft(RoundToInt32(anchor.x() - picture.width() / 2.0),
                       RoundToInt32(anchor.y() - picture.height() / 2.0));
  TPaint paint(*this);
  if (!paint) return;
  paint->setCompositionMode(QPainter::CompositionMode_SourceOver);
  paint->setOpacity(1.0);
  UseDevicePixels(*paint);
  paint->drawImage(topLeft, picture);
}

TPoint TQtCanvas::DeviceToLogical(TPoint device) const {
  if (!FInverse) return TPoint{};
  const QPointF p = FInverse->map(QPointF(device.x, device.y));
  return TPoint{RoundToInt32(p.x()), RoundToInt32(p.y())};
}

namespace qtcanvas_detail {

TSvgHolder::TSvgHolder(QSize sizePixels, int resolutionDpi)
    : FBuffer(std::make_unique<QBuffer>()), FGenerator(std::make_unique<QSvgGenerator>()) {
  FBuffer->open(QIODevice::WriteOnly);
  FGenerator->setOutputDevice(FBuffer.get());
  FGenerator->setSize(sizePixels);
  FGenerator->setViewBox(QRect(QPoint(0, 0), sizePixels));
  FGenerator->setResolution(resolutionDpi);
  FGenerator->setTitle("Orvela");
}

TSvgHolder::~TSvgHolder() = default;

}  // namespace qtcanvas_detail

TQtImageCanvas::TQtImageCanvas(QSize size) : TImageHolder{QImage()}, TQtCanvas(FImage) {
  Resize(size);
}

void TQtImageCanvas::Resize(QSize size) {
  End();
  FImage = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  FImage.fill(Qt::white);
}

const QImage& TQtImageCanvas::Image() {
  End();
  return FImage;
}

TQtSvgCanvas::TQtSvgCanvas(QSize sizePixels, int resolutionDpi)
    : TSvgHolder(sizePixels, resolutionDpi), TQtCanvas(*FGenerator) {
  // A generator writes one document per painter: keep one open until Finish.
  Begin();
}

QByteArray TQtSvgCanvas::Finish() {
  if (!FFinished) {
    Disable();
    FFinished = true;
  }
  return FBuffer->data();
}

}  // namespace orvela
