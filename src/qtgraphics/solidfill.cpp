#include "qtgraphics/solidfill.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <QPaintEngine>
#include <QPainter>

namespace orvela {

namespace {

// The raster engine's limits and grids: device coordinates within ±(2²³ − 1) (beyond, it
// clips the polygon first), points on a 1/64-pixel grid (26.6), edges walked in 16.16 fixed
// point.
constexpr double CoordLimit = (1 << 23) - 1;
constexpr std::int64_t FixedFactor = 65536;
// The image's left side in 16.16; the right one depends on its width.
constexpr std::int64_t LeftFP = 0;

// The fixed-point products wrap as the engine's 64-bit ones do, without undefined behaviour.
std::int64_t WrapAdd(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t WrapMul(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}
std::int64_t FixedMultiply(std::int64_t a, std::int64_t b) { return WrapMul(a, b) >> 16; }
std::int64_t IntToFixed(int i) { return static_cast<std::int64_t>(i) * FixedFactor; }
// 26.6 to 16.16.
std::int64_t PosToFixed(std::int64_t p) { return WrapMul(p, 1 << 10); }
int FixedToInt(std::int64_t f) { return static_cast<int>(f >> 16); }
// Doubles beyond the 64-bit range become its lowest value, as the x86 conversion makes them.
std::int64_t DoubleToInt64(double d) {
  if (!(d > -9.2233720368547758e18 && d < 9.2233720368547758e18))
    return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(d);
}
std::int64_t To26Dot6(double f) { return qRound(f * 64); }

// One colour into n pixels, sixteen bytes a store: the insides of the teeth are most of a
// frame's pixels, and a plain loop writes four bytes at a time.
void FillPixels(QRgb* p, int n, QRgb colour) {
  using TQuad = std::uint32_t __attribute__((vector_size(16)));
  const TQuad quad = {colour, colour, colour, colour};
  for (; n >= 16; n -= 16, p += 16) {
    std::memcpy(p, &quad, sizeof quad);
    std::memcpy(p + 4, &quad, sizeof quad);
    std::memcpy(p + 8, &quad, sizeof quad);
    std::memcpy(p + 12, &quad, sizeof quad);
  }
  for (; n >= 4; n -= 4, p += 4) std::memcpy(p, &quad, sizeof quad);
  for (; n > 0; --n) *p++ = colour;
}

QPointF ToPointF(QPointF p) { return p; }
QPointF ToPointF(QPoint p) { return QPointF(p); }

// The engine fills a polygon that is an axis-aligned rectangle, given from its top left
// corner, as a rectangle, by another rule.
template <class Point>
bool IsEngineRect(std::span<const Point> p) {
  const auto rect = [&p] {
    return p[0].x() == p[3].x() && p[1].x() == p[2].x() && p[0].y() == p[1].y() &&
           p[2].y() == p[3].y() && p[0].x() < p[2].x() && p[0].y() < p[2].y();
  };
  return (p.size() == 5 && p[0] == p[4] && rect()) || (p.size() == 4 && rect());
}

}  // namespace

bool TSolidFill::Applies(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image ||
      painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster)
    return false;
  const auto* image = static_cast<const QImage*>(device);
  const QImage::Format format = image->format();
  const QPainter::CompositionMode mode = painter.compositionMode();
  return (format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32) &&
         (mode == QPainter::CompositionMode_SourceOver ||
          mode == QPainter::CompositionMode_Source) &&
         !painter.testRenderHint(QPainter::Antialiasing) && !painter.hasClipping() &&
         painter.opacity() == 1.0 && painter.deviceTransform().type() <= QTransform::TxScale;
}

bool TSolidFill::Fill(QPainter& painter, std::span<const QPointF> points, Qt::FillRule rule,
                      QRgb colour) {
  return FillPoints(painter, points, rule, colour);
}

bool TSolidFill::Fill(QPainter& painter, std::span<const QPoint> points, Qt::FillRule rule,
                      QRgb colour) {
  return FillPoints(painter, points, rule, colour);
}

template <class Point>
bool TSolidFill::FillPoints(QPainter& painter, std::span<const Point> points, Qt::FillRule rule,
                            QRgb colour) {
  if (points.size() < 2) return true;  // the engine fills nothing either
  // The engine splits polygons of more points first.
  if (IsEngineRect(points) || points.size() > 0xffff) return false;
  auto* image = static_cast<QImage*>(painter.device());
  const QTransform& m = painter.deviceTransform();
  // The polygon's points mapped as QTransform maps them, closed when open.
  const QTransform::TransformationType type = m.type();
  const auto map = [&m, type](QPointF p) {
    switch (type) {
      case QTransform::TxNone:
        return p;
      case QTransform::TxTranslate:
        return QPointF(p.x() + m.dx(), p.y() + m.dy());
      default:
        return QPointF(m.m11() * p.x() + m.dx(), m.m22() * p.y() + m.dy());
    }
  };
  const bool open = points.front() != points.back();
  const std::size_t count = points.size() + (open ? 1 : 0);
  FMapped.resize(count);
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const QPointF d = map(ToPointF(points[i < points.size() ? i : 0]));
    if (!std::isfinite(d.x()) || !std::isfinite(d.y())) return false;
    FMapped[i] = d;
    minX = i == 0 ? d.x() : std::min(minX, d.x());
    maxX = i == 0 ? d.x() : std::max(maxX, d.x());
    minY = i == 0 ? d.y() : std::min(minY, d.y());
    maxY = i == 0 ? d.y() : std::max(maxY, d.y());
  }
  if (minX < -CoordLimit || maxX > CoordLimit || minY < -CoordLimit || maxY > CoordLimit ||
      maxX - minX > CoordLimit || maxY - minY > CoordLimit)
    return false;
  if (count < 3) return true;
  FPoints.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    FPoints[i] = TVector{To26Dot6(FMapped[i].x()), To26Dot6(FMapped[i].y())};
  }
  // Rounding keeps the order, so the extreme rows come from the extreme points.
  FTop = std::max(0, static_cast<int>((To26Dot6(minY) + 32) >> 6));
  FBottom = std::min(image->height() - 1, static_cast<int>((To26Dot6(maxY) - 32) >> 6));
  if (FTop > FBottom) return true;
  FRightFP = IntToFixed(image->width());
  FLines.clear();
  for (std::size_t i = 0; i + 1 < count; ++i) MergeLine(FPoints[i], FPoints[i + 1]);
  ScanConvert(*image, rule == Qt::WindingFill, colour);
  return true;
}

void TSolidFill::MergeLine(TVector a, TVector b) {
  int winding = 1;
  if (a.y > b.y) {
    std::swap(a, b);
    winding = -1;
  }
  int top = std::max(FTop, static_cast<int>((a.y + 32) >> 6));
  int bottom = std::min(FBottom, static_cast<int>((b.y - 32) >> 6));
  if (top > bottom) return;
  const std::int64_t aFP = FixedFactor / 2 + PosToFixed(a.x);
  if (b.x == a.x) {
    FLines.push_back(TLine{std::clamp(aFP, LeftFP, FRightFP), 0, top, bottom, winding});
    return;
  }
  const double slope = static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
  const std::int64_t slopeFP = DoubleToInt64(slope * 65536.);
  std::int64_t xFP =
      WrapAdd(aFP, FixedMultiply(slopeFP, IntToFixed(top) + FixedFactor / 2 - PosToFixed(a.y)));
  if (Clip(xFP, top, bottom, slopeFP, false, winding)) return;
  if (Clip(xFP, top, bottom, slopeFP, true, winding)) return;
  FLines.push_back(TLine{xFP, slopeFP, top, bottom, winding});
}

bool TSolidFill::Clip(std::int64_t& xFP, int& top, int& bottom, std::int64_t slopeFP, bool right,
                      int winding) {
  const std::int64_t edgeFP = right ? FRightFP : LeftFP;
  if (xFP == edgeFP) {
    if ((slopeFP > 0) ^ right) return false;
    FLines.push_back(TLine{edgeFP, 0, top, bottom, winding});
    return true;
  }
  const std::int64_t lastFP = WrapAdd(xFP, WrapMul(slopeFP, bottom - top));
  if (lastFP == edgeFP) {
    if ((slopeFP < 0) ^ right) return false;
    FLines.push_back(TLine{edgeFP, 0, top, bottom, winding});
    return true;
  }
  // Does the edge cross the side?
  if ((lastFP < edgeFP) ^ (xFP < edgeFP)) {
    const std::int64_t deltaY = DoubleToInt64(static_cast<double>(edgeFP - xFP) /
                                              (static_cast<double>(slopeFP) * (1. / 65536.)));
    if ((xFP < edgeFP) ^ right) {
      // The top part lies beyond the side.
      const int height = FixedToInt(deltaY + 1);
      const int middle = top + height;
      FLines.push_back(TLine{edgeFP, 0, top, middle, winding});
      if (middle == bottom) return true;
      xFP = WrapAdd(xFP, WrapMul(slopeFP, height + 1));
      top = middle + 1;
    } else {
      // The bottom part lies beyond the side.
      const int height = FixedToInt(deltaY);
      const int middle = top + height;
      if (middle != bottom) {
        FLines.push_back(TLine{edgeFP, 0, middle + 1, bottom, winding});
        bottom = middle;
      }
    }
    return false;
  }
  if ((xFP < edgeFP) ^ right) {
    FLines.push_back(TLine{edgeFP, 0, top, bottom, winding});
    return true;
  }
  return false;
}

void TSolidFill::ScanConvert(QImage& image, bool winding, QRgb colour) {
  if (FLines.empty()) return;
  const int mask = winding ? ~0 : 1;
  // The pointer the painter's engine writes through: taken without detaching the image,
  // which the open painter holds.
  uchar* const bits = const_cast<uchar*>(image.constBits());
  const qsizetype stride = image.bytesPerLine();
  const QRgb pixel = colour | 0xff000000u;
  std::sort(FLines.begin(), FLines.end(),
            [](const TLine& a, const TLine& b) { return a.top < b.top; });
  FActive.clear();
  std::size_t next = 0;
  for (int y = FLines.front().top; y <= FBottom; ++y) {
    for (; next < FLines.size() && FLines[next].top == y; ++next) FActive.push_back(&FLines[next]);
    if (FActive.empty()) {
      if (next == FLines.size()) break;
      continue;
    }
    // The active edges stay nearly in order from row to row.
    for (std::size_t i = 1; i < FActive.size(); ++i) {
      TLine* l = FActive[i];
      std::size_t j = i;
      for (; j > 0 && l->x < FActive[j - 1]->x; --j) FActive[j] = FActive[j - 1];
      FActive[j] = l;
    }
    auto* row = reinterpret_cast<QRgb*>(bits + stride * y);
    int x = 0;
    int wind = 0;
    std::size_t kept = 0;
    for (TLine* line : FActive) {
      const int current = FixedToInt(line->x);
      if ((wind & mask) != 0 && current > x) FillPixels(row + x, current - x, pixel);
      x = current;
      wind += line->winding;
      if (line->bottom != y) {
        line->x = WrapAdd(line->x, line->delta);
        FActive[kept++] = line;
      }
    }
    FActive.resize(kept);
  }
}

}  // namespace orvela
