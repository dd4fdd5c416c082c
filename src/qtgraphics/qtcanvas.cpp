#include "qtgraphics/qtcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string_view>
#include <unordered_map>
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

bool SupportsRasterOps(const QPaintDevice& device) { return device.devType() == QInternal::Image; }

// Bounds the pens and brushes kept: a repaint uses a handful, a pathological caller more.
constexpr std::size_t MaxKeptPens = 32;

QPen MakeQPen(const TPen& pen, double devicePixelsPerUnit) {
  if (pen.Style == TPenStyle::Clear) return QPen(Qt::NoPen);
  QPen q(ToQColor(pen.Color));
  q.setStyle(pen.Style == TPenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
  // Lines thinner than a device pixel would break up without antialiasing: they become
  // cosmetic.
  if (pen.Width <= 0 || pen.Width * devicePixelsPerUnit < 1.0) {
    q.setWidth(0);
    q.setCosmetic(true);
    q.setCapStyle(Qt::FlatCap);
  } else {
    q.setWidthF(pen.Width);
    q.setCosmetic(false);
    // Square ends close the outer corners where separate segments meet; round ends
    // would look alike and cost several times as much to fill.
    q.setCapStyle(Qt::SquareCap);
    q.setJoinStyle(Qt::MiterJoin);
  }
  return q;
}

}  // namespace

class TQtCanvas::TPaint {
 public:
  explicit TPaint(TQtCanvas& canvas) {
    if (canvas.FDisabled) return;
    if (canvas.FPainter) {
      FPainter = canvas.FPainter;
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
    // Made once: a brush made from a colour allocates, a copy shares.
    static const QBrush white(Qt::white);
    painter.setBackground(white);
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
  if (!FKeptPainter) FKeptPainter = std::make_unique<QPainter>();
  if (!FKeptPainter->begin(&FDevice)) return;
  TPaint::Setup(*FKeptPainter);
  FPainter = FKeptPainter.get();
  FPainterAtMapping = false;
}

void TQtCanvas::UseDevicePixels(QPainter& painter) {
  const double ratio = FDevice.devicePixelRatio();
  if (ratio == 1.0) {
    painter.resetTransform();
  } else {
    painter.setTransform(QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
  }
  FPainterAtMapping = false;
}

QTransform TQtCanvas::DeviceMapping() const {
  const double ratio = FDevice.devicePixelRatio();
  return ratio == 1.0 ? FMapping : FMapping * QTransform::fromScale(ratio, ratio);
}

const QPolygon& TQtCanvas::ToPolygon(std::span<const TPoint> points) {
  FPolygon.resize(static_cast<qsizetype>(points.size()));
  QPoint* out = FPolygon.data();
  for (const TPoint& p : points) *out++ = ToQPoint(p);
  return FPolygon;
}

void TQtCanvas::OutlineFromPoints(std::span<const TPoint> points) {
  FOutline.resize(static_cast<qsizetype>(points.size()));
  QPointF* out = FOutline.data();
  for (const TPoint& p : points) *out++ = QPointF(p.x, p.y);
}

void TQtCanvas::OutlineFromEllipse(const QRectF& box, double t0, double sweep) {
  // Pieces about two device pixels long: finer than the eye sees at the joins.
  const double rx = box.width() / 2.0, ry = box.height() / 2.0;
  const double scale = std::sqrt(std::abs(DeviceMapping().determinant()));
  const double length = std::abs(sweep) * std::max(rx, ry) * scale;
  const int pieces = std::clamp(static_cast<int>(std::ceil(length / 2.0)), 8, 720);
  const QPointF c = box.center();
  FOutline.resize(pieces + 1);
  for (int i = 0; i <= pieces; ++i) {
    const double t = t0 + sweep * i / pieces;
    FOutline[i] = QPointF(c.x() + rx * std::cos(t), c.y() + ry * std::sin(t));
  }
}

void TQtCanvas::DrawEdges(QPainter& painter, bool closed) {
  // The band the pen covers: the outline offset by half the pen's width to either side,
  // with mitred outer corners and inner corners taken through the vertex, as the stroker
  // makes it but without its generality; square ends on an open outline. Filled with the
  // winding rule, the two sides enclose the band. Only the corners differ from the stroker.
  const double half = FQPen.widthF() / 2.0;
  // Repeated points make no edge.
  QPointF* pts = FOutline.data();
  qsizetype n = 0;
  for (qsizetype i = 0; i < FOutline.size(); ++i) {
    if (n == 0 || pts[i] != pts[n - 1]) pts[n++] = pts[i];
  }
  if (closed && n > 1 && pts[n - 1] == pts[0]) --n;
  if (n == 0) return;
  if (closed && n == 2) closed = false;
  FQuads.clear();
  if (n == 1) {
    const QPointF c = pts[0];
    FQuads.push_back(QPointF(c.x() - half, c.y() - half));
    FQuads.push_back(QPointF(c.x() + half, c.y() - half));
    FQuads.push_back(QPointF(c.x() + half, c.y() + half));
    FQuads.push_back(QPointF(c.x() - half, c.y() + half));
  } else {
    const qsizetype edges = closed ? n : n - 1;
    // Unit direction of edge i, from point i to the next.
    FDirections.resize(static_cast<std::size_t>(edges));
    for (qsizetype i = 0; i < edges; ++i) {
      const QPointF a = pts[i], b = pts[(i + 1) % n];
      const double dx = b.x() - a.x(), dy = b.y() - a.y();
      const double length = std::sqrt(dx * dx + dy * dy);
      FDirections[static_cast<std::size_t>(i)] = QPointF(dx / length, dy / length);
    }
    const auto direction = [this](qsizetype i) { return FDirections[static_cast<std::size_t>(i)]; };
    // One side (sign +1 left of the direction of travel, −1 right), its points appended.
    const auto side = [&](double sign) {
      const auto normal = [sign](QPointF d) { return QPointF(-d.y() * sign, d.x() * sign); };
      const auto join = [&](qsizetype vertex, QPointF in, QPointF out) {
        const QPointF v = pts[vertex];
        const QPointF na = normal(in), nb = normal(out);
        const double turn = (in.x() * out.y() - in.y() * out.x()) * sign;
        const double cosine = na.x() * nb.x() + na.y() * nb.y();
        if (turn > 0.0) {
          // The inner side of the turn.
          FQuads.push_back(v + na * half);
          FQuads.push_back(v);
          FQuads.push_back(v + nb * half);
        } else if (1.0 + cosine > 0.5) {
          // The miter point, no further than twice the half width from the vertex.
          FQuads.push_back(v + (na + nb) * (half / (1.0 + cosine)));
        } else {
          // A sharp turn keeps the square ends of its two edges, as the rectangles of the
          // separate edges would cover it; a path that turns back keeps its end.
          FQuads.push_back(v + (na + in) * half);
          FQuads.push_back(v + (nb - out) * half);
        }
      };
      if (closed) {
        for (qsizetype i = 0; i < n; ++i) join(i, direction((i + n - 1) % n), direction(i));
      } else {
        const QPointF d0 = direction(0);
        FQuads.push_back(pts[0] - d0 * half + normal(d0) * half);
        for (qsizetype i = 1; i < edges; ++i) join(i, direction(i - 1), direction(i));
        const QPointF dl = direction(edges - 1);
        FQuads.push_back(pts[n - 1] + dl * half + normal(dl) * half);
      }
    };
    side(1.0);
    if (closed) {
      // Two rings, the right one walked backwards; the bridge between them is crossed once
      // each way and so covers nothing.
      const QPointF leftStart = FQuads.front();
      FQuads.push_back(leftStart);
      const std::size_t rightStart = FQuads.size();
      side(-1.0);
      std::reverse(FQuads.begin() + static_cast<std::ptrdiff_t>(rightStart) + 1, FQuads.end());
      const QPointF rightFirst = FQuads[static_cast<std::size_t>(rightStart)];
      FQuads.push_back(rightFirst);
    } else {
      const std::size_t rightStart = FQuads.size();
      side(-1.0);
      std::reverse(FQuads.begin() + static_cast<std::ptrdiff_t>(rightStart), FQuads.end());
    }
  }
  FillSolid(painter, std::span<const QPointF>(FQuads), Qt::WindingFill, Pen().Color);
}

template <class Point>
void TQtCanvas::FillSolid(QPainter& painter, std::span<const Point> points, Qt::FillRule rule,
                          TColor colour) {
  TBrush brush;
  brush.Color = colour;
  painter.setPen(FNoPen);
  painter.setBrush(KeptBrush(brush));
  painter.drawPolygon(points.data(), static_cast<int>(points.size()), rule);
}

const QBrush& TQtCanvas::KeptBrush(const TBrush& brush) {
  if (FQBrushes.size() >= MaxKeptPens) FQBrushes.clear();
  auto found = std::find_if(FQBrushes.begin(), FQBrushes.end(),
                            [&brush](const auto& kept) { return kept.first == brush; });
  if (found == FQBrushes.end()) {
    FQBrushes.emplace_back(brush, brush.Style == TBrushStyle::Clear
                                      ? QBrush(Qt::NoBrush)
                                      : QBrush(ToQColor(brush.Color)));
    found = std::prev(FQBrushes.end());
  }
  return found->second;
}

void TQtCanvas::End() {
  if (!FPainter) return;
  if (FPainter->isActive()) FPainter->end();
  FPainter = nullptr;
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
    const double scale = std::sqrt(std::abs(FMapping.determinant())) * FDevice.devicePixelRatio();
    if (scale != FQPensScale || FQPens.size() >= MaxKeptPens) {
      FQPens.clear();
      FQPensScale = scale;
    }
    auto found = std::find_if(FQPens.begin(), FQPens.end(),
                              [&pen](const auto& kept) { return kept.first == pen; });
    if (found == FQPens.end()) {
      FQPens.emplace_back(pen, MakeQPen(pen, scale));
      found = std::prev(FQPens.end());
    }
    FQPen = found->second;
    // Edges drawn one by one would cancel each other's ends under not-xor, and a vector
    // picture keeps its polygons whole.
    FEdgeOutline = pen.Style == TPenStyle::Solid && !FQPen.isCosmetic() &&
                   pen.Mode == TPenMode::Copy && SupportsRasterOps(FDevice);
  }
  painter.setPen(FQPen);
}

void TQtCanvas::PrepareBrush(QPainter& painter) {
  const TBrush& brush = Brush();
  if (FQBrushOf != brush) {
    FQBrushOf = brush;
    FQBrush = KeptBrush(brush);
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
  const QRectF box = BoxOf(a, b);
  if (!FEdgeOutline || box.width() <= 0.0 || box.height() <= 0.0) {
    paint->drawEllipse(box);
    return;
  }
  OutlineFromEllipse(box, 0.0, TwoPi);
  if (Brush().Style != TBrushStyle::Clear) {
    // The pieces of the outline bound the fill: the band drawn along them covers every pixel
    // where they part from the true ellipse, so the polygon costs less and looks the same.
    FillSolid(*paint, std::span<const QPointF>(FOutline.constData(), FOutline.size()),
              Qt::OddEvenFill, Brush().Color);
  }
  DrawEdges(*paint, true);
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
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  paint->setBrush(Qt::NoBrush);
  if (FEdgeOutline) {
    OutlineFromEllipse(box, t0, sweep);
    DrawEdges(*paint, false);
    return;
  }
  // QPainterPath measures angles with y down: negate them for the y-up logical space. The
  // path's memory is reused from one arc to the next.
  const double startDeg = -t0 * 180.0 / Pi;
  const double sweepDeg = -sweep * 180.0 / Pi;
  FArcPath.clear();
  FArcPath.arcMoveTo(box, startDeg);
  FArcPath.arcTo(box, startDeg, sweepDeg);
  paint->drawPath(FArcPath);
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  PrepareBrush(*paint);
  const QPolygon& polygon = ToPolygon(points);
  if (!FEdgeOutline) {
    paint->drawPolygon(polygon, Qt::OddEvenFill);
    return;
  }
  if (Brush().Style != TBrushStyle::Clear) {
    FillSolid(*paint, std::span<const QPoint>(polygon.constData(), polygon.size()), Qt::OddEvenFill,
              Brush().Color);
  }
  OutlineFromPoints(points);
  DrawEdges(*paint, true);
}

void TQtCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || Pen().Style == TPenStyle::Clear) return;
  TPaint paint(*this);
  if (!paint) return;
  PrepareMode(*paint);
  PreparePen(*paint);
  if (FEdgeOutline) {
    OutlineFromPoints(points);
    DrawEdges(*paint, false);
  } else {
    paint->drawPolyline(ToPolygon(points));
  }
}

void TQtCanvas::FillRectWhite(const TRect& r) {
  TPaint paint(*this);
  if (!paint) return;
  paint->setCompositionMode(QPainter::CompositionMode_Source);
  const QRect device =
      DeviceMapping().mapRect(BoxOf({r.Left, r.Top}, {r.Right, r.Bottom})).toAlignedRect();
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
  // Device pixels of both, which have the same ratio when they have the same mapping.
  const QRect device =
      DeviceMapping().mapRect(BoxOf({r.Left, r.Top}, {r.Right, r.Bottom})).toAlignedRect();
  paint->setCompositionMode(QPainter::CompositionMode_Source);
  UseDevicePixels(*paint);
  paint->drawImage(QRectF(device), *image, QRectF(device));
}

void TQtCanvas::DrawImage(const TRect& r, const TImageList& images, int index) {
  const auto* list = dynamic_cast<const TQtImageList*>(&images);
  if (list == nullptr || index < 0 || index >= list->Count()) return;
  const QImage& picture = list->Image(index);
  // The anchor is the handle's point when r is a picture's pixel extent around it.
  const std::int64_t left = std::min(r.Left, r.Right), top = std::min(r.Top, r.Bottom);
  const std::int64_t width = std::abs(static_cast<std::int64_t>(r.Right) - r.Left);
  const std::int64_t height = std::abs(static_cast<std::int64_t>(r.Bottom) - r.Top);
  const QPointF anchor = DeviceMapping().map(
      QPointF(static_cast<double>(left + width / 2), static_cast<double>(top + height / 2)));
  // Device pixels: a picture made at the device's ratio lands pixel for pixel.
  const QSizeF size = picture.deviceIndependentSize() * FDevice.devicePixelRatio();
  const QPointF topLeft(RoundToInt32(anchor.x() - size.width() / 2.0),
                        RoundToInt32(anchor.y() - size.height() / 2.0));
  TPaint paint(*this);
  if (!paint) return;
  paint->setCompositionMode(QPainter::CompositionMode_SourceOver);
  paint->setOpacity(1.0);
  UseDevicePixels(*paint);
  paint->drawImage(QRectF(topLeft, size), picture, QRectF(picture.rect()));
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

TQtImageCanvas::TQtImageCanvas(QSize size, double devicePixelRatio)
    : TImageHolder{QImage()}, TQtCanvas(FImage) {
  Resize(size, devicePixelRatio);
}

void TQtImageCanvas::Resize(QSize size, double devicePixelRatio) {
  End();
  FSize = size.expandedTo(QSize(1, 1));
  const double ratio = devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
  // Whole device pixels covering the size, as the window system's backing store has them.
  const QSize pixels(static_cast<int>(std::ceil(FSize.width() * ratio - 1e-9)),
                     static_cast<int>(std::ceil(FSize.height() * ratio - 1e-9)));
  FImage = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  FImage.setDevicePixelRatio(ratio);
  FImage.fill(Qt::white);
  SetMapping(Mapping());  // pens are made anew for the new ratio
}

void TRowPicture::Take(TQtImageCanvas& source) {
  const QImage& image = source.Image();
  FPixels = image.size();
  FRatio = image.devicePixelRatio();
  FRows.clear();
  FRowOf.assign(static_cast<std::size_t>(image.height()), 0);
  // Rows by their hash, to find a row seen before without comparing it with all of them.
  std::unordered_multimap<std::size_t, std::uint32_t> seen;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const std::size_t width = Width();
    const auto equals = [&](std::uint32_t index) {
      return std::equal(row, row + width, FRows.begin() + index * width);
    };
    // Most rows repeat one of the few rows above them: a dotted line's pattern repeats
    // every three pixels. A row that differs mostly does so at its first dotted column.
    const auto uy = static_cast<std::size_t>(y);
    const std::size_t back = std::min<std::size_t>(uy, 4);
    std::size_t above = 1;
    while (above <= back && !equals(FRowOf[uy - above])) ++above;
    if (above <= back) {
      FRowOf[uy] = FRowOf[uy - above];
      continue;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(row), width * sizeof(QRgb));
    const std::size_t hash = std::hash<std::string_view>{}(bytes);
    const auto [first, last] = seen.equal_range(hash);
    const auto same =
        std::find_if(first, last, [&](const auto& entry) { return equals(entry.second); });
    if (same != last) {
      FRowOf[uy] = same->second;
    } else {
      FRowOf[uy] = static_cast<std::uint32_t>(DistinctRows());
      FRows.insert(FRows.end(), row, row + width);
      seen.emplace(hash, FRowOf[uy]);
    }
  }
}

bool TQtImageCanvas::CopyFrom(const TRowPicture& source) {
  if (source.FPixels != FImage.size() || source.FRatio != FImage.devicePixelRatio()) return false;
  // An open painter holds the image unshared and writes through the same pointer; without
  // one the image may be shared and is detached first.
  uchar* const bits = IsActive() ? const_cast<uchar*>(FImage.constBits()) : FImage.bits();
  const qsizetype stride = FImage.bytesPerLine();
  const std::size_t width = source.Width();
  for (std::size_t y = 0; y < source.FRowOf.size(); ++y) {
    std::memcpy(bits + stride * static_cast<qsizetype>(y),
                source.FRows.data() + source.FRowOf[y] * width, width * sizeof(QRgb));
  }
  return true;
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
