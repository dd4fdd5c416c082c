#include "qtgraphics/solidfill.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTransform>

namespace orvela {
namespace {

// A background that shows any pixel set by mistake.
QImage Striped(QSize size, double ratio, QImage::Format format) {
  QImage image(size, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, ((x + 2 * y) % 5 == 0) ? 0xff204060u : 0xffffffffu);
  image.setDevicePixelRatio(ratio);
  return image;
}

// The same polygon filled by the painter and by TSolidFill on two copies of an image.
template <class Point>
void ExpectSamePixels(const std::vector<Point>& points, Qt::FillRule rule,
                      const QTransform& mapping, double ratio, const std::string& what) {
  const QImage background = Striped(QSize(97, 61), ratio, QImage::Format_ARGB32_Premultiplied);
  QImage byPainter = background;
  QImage byFill = background;
  const QRgb colour = qRgb(200, 30, 90);
  {
    QPainter painter(&byPainter);
    painter.setTransform(mapping);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(colour));
    painter.drawPolygon(points.data(), static_cast<int>(points.size()), rule);
  }
  bool filled = false;
  {
    QPainter painter(&byFill);
    painter.setTransform(mapping);
    ASSERT_TRUE(TSolidFill::Applies(painter)) << what;
    TSolidFill fill;
    filled = fill.Fill(painter, std::span<const Point>(points), rule, colour);
  }
  if (!filled) return;  // the painter's business: nothing to compare
  for (int y = 0; y < byPainter.height(); ++y) {
    for (int x = 0; x < byPainter.width(); ++x) {
      ASSERT_EQ(byFill.pixel(x, y), byPainter.pixel(x, y))
          << what << " differs at (" << x << ", " << y << ")";
    }
  }
}

// Random polygons, some reaching beyond every side of the image, with coordinates on the
// pixel grid, on its halves and sixty-fourths (where rounding ties lie) and anywhere.
TEST(SolidFillTest, SetsThePaintersPixelsForRandomPolygons) {
  std::mt19937 random(20261209);
  const std::vector<QTransform> mappings{
      QTransform(), QTransform::fromTranslate(0.37, -0.5), QTransform(1.7, 0, 0, -1.7, 48.5, 30.25),
      QTransform(0.31, 0, 0, 0.29, 3, 2), QTransform(64.0, 0, 0, -64.0, -1000, 2000)};
  const std::vector<double> ratios{1.0, 1.5, 2.0};
  int compared = 0;
  for (int round = 0; round < 600; ++round) {
    const QTransform& mapping = mappings[static_cast<std::size_t>(round) % mappings.size()];
    const double ratio = ratios[static_cast<std::size_t>(round / 5) % ratios.size()];
    // Logical coordinates spanning a little more than the image at this mapping.
    const QTransform back = (mapping * QTransform::fromScale(ratio, ratio)).inverted();
    const QRectF span = back.mapRect(QRectF(-20, -20, 97 + 40, 61 + 40));
    std::uniform_real_distribution<double> ux(span.left(), span.right());
    std::uniform_real_distribution<double> uy(span.top(), span.bottom());
    const int grid = round % 4;  // 0: anywhere, 1: whole, 2: halves, 3: sixty-fourths
    const auto snap = [grid](double v) {
      const double step[] = {0.0, 1.0, 0.5, 1.0 / 64};
      return grid == 0 ? v : std::round(v / step[grid]) * step[grid];
    };
    const int count = 3 + static_cast<int>(random() % 40);
    std::vector<QPointF> points;
    for (int i = 0; i < count; ++i) {
      // Repeated and axis-parallel neighbours now and then.
      if (i > 0 && random() % 8 == 0) {
        points.push_back(random() % 2 ? points.back()
                                      : QPointF(points.back().x(), snap(uy(random))));
        continue;
      }
      points.emplace_back(snap(ux(random)), snap(uy(random)));
    }
    const Qt::FillRule rule = round % 2 ? Qt::WindingFill : Qt::OddEvenFill;
    const std::string what = "round " + std::to_string(round);
    ExpectSamePixels(points, rule, mapping, ratio, what);
    std::vector<QPoint> whole;
    for (const QPointF& p : points) whole.push_back(p.toPoint());
    ExpectSamePixels(whole, rule, mapping, ratio, what + " (whole points)");
    if (HasFailure()) return;
    ++compared;
  }
  EXPECT_EQ(compared, 600);
}

// Outline bands far larger than the image, as at a high zoom: thin slivers of steep and
// flat edges crossing the sides of the image.
TEST(SolidFillTest, PolygonsFarBeyondTheImageAreClippedAsThePainterClipsThem) {
  const std::vector<std::vector<QPointF>> polygons{
      {{-5000, -3000}, {5000, 40}, {5000, 41.5}, {-5000, -2998.5}},
      {{48.2, -90000}, {49.9, 90000}, {51.3, 90000}, {49.6, -90000}},
      {{-1e6, 30.5}, {1e6, 30.2}, {1e6, 31.9}, {-1e6, 32.3}},
      {{-700, -700}, {800, 20}, {-700, 700}, {90, 10}},
      {{96.99, 0}, {200, 60.99}, {97.01, 61}, {-0.01, 30}},
  };
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    for (const Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
      ExpectSamePixels(polygons[i], rule, QTransform(), 1.0, "polygon " + std::to_string(i));
    }
  }
}

TEST(SolidFillTest, LeavesToThePainterWhatItFillsByOtherRules) {
  QImage image = Striped(QSize(40, 30), 1.0, QImage::Format_ARGB32_Premultiplied);
  const QImage before = image;
  QPainter painter(&image);
  TSolidFill fill;
  // A rectangle from its top left corner is filled as a rectangle.
  const std::vector<QPointF> rect{{2, 3}, {20, 3}, {20, 15}, {2, 15}};
  EXPECT_FALSE(fill.Fill(painter, std::span<const QPointF>(rect), Qt::OddEvenFill, 0));
  const std::vector<QPoint> closedRect{{2, 3}, {20, 3}, {20, 15}, {2, 15}, {2, 3}};
  EXPECT_FALSE(fill.Fill(painter, std::span<const QPoint>(closedRect), Qt::OddEvenFill, 0));
  // More points than the engine fills in one go.
  std::vector<QPointF> many;
  for (int i = 0; i < 70000; ++i)
    many.emplace_back(20 + 15 * std::cos(i * 0.001), 15 + 10 * std::sin(i * 0.001));
  EXPECT_FALSE(fill.Fill(painter, std::span<const QPointF>(many), Qt::OddEvenFill, 0));
  // Beyond the raster engine's coordinates, and not finite.
  const std::vector<QPointF> huge{{0, 0}, {1e7, 5}, {0, 10}};
  EXPECT_FALSE(fill.Fill(painter, std::span<const QPointF>(huge), Qt::WindingFill, 0));
  const std::vector<QPointF> notFinite{{0, 0}, {std::nan(""), 5}, {0, 10}};
  EXPECT_FALSE(fill.Fill(painter, std::span<const QPointF>(notFinite), Qt::WindingFill, 0));
  painter.end();
  EXPECT_EQ(image, before);
}

TEST(SolidFillTest, AppliesOnlyWhereItSetsThePaintersPixels) {
  QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
  const auto check = [](QPaintDevice& device, const auto& prepare) {
    QPainter painter(&device);
    prepare(painter);
    return TSolidFill::Applies(painter);
  };
  EXPECT_TRUE(check(image, [](QPainter&) {}));
  EXPECT_TRUE(check(image, [](QPainter& p) { p.setTransform(QTransform(2, 0, 0, -3, 1, 1)); }));
  EXPECT_TRUE(
      check(image, [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Source); }));
  EXPECT_FALSE(check(image, [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }));
  EXPECT_FALSE(check(image, [](QPainter& p) { p.setClipRect(2, 2, 5, 5); }));
  EXPECT_FALSE(check(image, [](QPainter& p) { p.setOpacity(0.5); }));
  EXPECT_FALSE(check(image, [](QPainter& p) { p.rotate(10); }));
  EXPECT_FALSE(check(image, [](QPainter& p) {
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  }));
  QImage rgb32(20, 20, QImage::Format_RGB32);
  EXPECT_TRUE(check(rgb32, [](QPainter&) {}));
  QImage narrow(20, 20, QImage::Format_RGB16);
  EXPECT_FALSE(check(narrow, [](QPainter&) {}));
  QPixmap pixmap(20, 20);
  EXPECT_FALSE(check(pixmap, [](QPainter&) {}));
}

}  // namespace
}  // namespace orvela
