#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "mechanics/geometry.h"

namespace orvela {

class TImageList;

// A 24-bit colour.
struct TColor {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clWhite{255, 255, 255};
inline constexpr TColor clBlue{0, 0, 255};
inline constexpr TColor clRed{255, 0, 0};
inline constexpr TColor clSilver{192, 192, 192};

enum class TPenStyle : std::uint8_t { Solid, Dot, Clear };
// NotXor: pixel := NOT(destination XOR colour); drawing a figure twice restores the pixels.
enum class TPenMode : std::uint8_t { Copy, NotXor };
enum class TBrushStyle : std::uint8_t { Solid, Clear };
enum class TFillRule : std::uint8_t { EvenOdd, Winding };

struct TPen {
  TColor Color = clBlack;
  // Logical units; 0 is one device pixel at any scale.
  int Width = 1;
  TPenStyle Style = TPenStyle::Solid;
  TPenMode Mode = TPenMode::Copy;

  friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;

  friend bool operator==(const TBrush&, const TBrush&) = default;
};

// An integer rectangle in logical units; on the y-up model mapping Top is the smaller y.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;

  friend bool operator==(const TRect&, const TRect&) = default;
};

// The rectangle spanned by a and b, grown by margin on every side; far from the model area
// each corner saturates instead of overflowing.
TRect GrownBounds(TPoint a, TPoint b, std::int32_t margin);

// The drawing surface all drawing goes to. Callers draw in integer logical units (model
// units, 0.1 mm, y up); the owner of a surface sets its mapping to device pixels. The pen,
// brush and background mode are state that each drawing call uses as it stands.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TPen& Pen() { return FPen; }
  const TPen& Pen() const { return FPen; }
  TBrush& Brush() { return FBrush; }
  const TBrush& Brush() const { return FBrush; }
  // Transparent: the gaps of a dotted line leave what lies below.
  bool TransparentBackground() const { return FTransparentBackground; }
  void SetTransparentBackground(bool transparent) { FTransparentBackground = transparent; }

  virtual void MoveTo(TPoint p) = 0;
  // A line with the pen from the current position; p becomes the current position.
  virtual void LineTo(TPoint p) = 0;
  // Outline with the pen, fill with the brush; corners in any order.
  virtual void Rectangle(TPoint a, TPoint b) = 0;
  virtual void Ellipse(TPoint a, TPoint b) = 0;
  // Outline of the ellipse in the box a–b from the ray through start to the ray through
  // end, counterclockwise in logical (y-up) coordinates.
  virtual void Arc(TPoint a, TPoint b, TPoint start, TPoint end) = 0;
  // Closed, outlined with the pen, filled with the brush.
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Open chain with the pen.
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void FillRectWhite(const TRect& r) = 0;
  // Pixels of r copied from source, which has the same mapping.
  virtual void CopyRect(const TRect& r, const TCanvas& source) = 0;
  // Picture index of images blended with its per-pixel alpha into the logical rectangle r.
  virtual void DrawImage(const TRect& r, const TImageList& images, int index) = 0;
  // Pixel position to logical coordinates under the current mapping.
  virtual TPoint DeviceToLogical(TPoint device) const = 0;

 private:
  TPen FPen;
  TBrush FBrush;
  bool FTransparentBackground = false;
};

// The rectangle a drawing covers, gathered point by point in model units, for skipping what
// lies outside the part of the model on show. Starts empty; points that are not finite are
// ignored.
class TExtent {
 public:
  // Inline: a repaint adds every outline vertex of every tooth, on screen or not.
  void Add(TPointDouble p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    FMinX = p.x < FMinX ? p.x : FMinX;
    FMaxX = p.x > FMaxX ? p.x : FMaxX;
    FMinY = p.y < FMinY ? p.y : FMinY;
    FMaxY = p.y > FMaxY ? p.y : FMaxY;
  }
  // The bounds stay in locals through the loop: stores to the members could alias the
  // points, which would keep them in memory.
  void Add(std::span<const TPointDouble> points) {
    double minX = FMinX, maxX = FMaxX, minY = FMinY, maxY = FMaxY;
    for (const TPointDouble& p : points) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      minX = p.x < minX ? p.x : minX;
      maxX = p.x > maxX ? p.x : maxX;
      minY = p.y < minY ? p.y : minY;
      maxY = p.y > maxY ? p.y : maxY;
    }
    FMinX = minX;
    FMaxX = maxX;
    FMinY = minY;
    FMaxY = maxY;
  }
  // The square around c reaching r (≥ 0) on every side.
  void AddAround(TPointDouble c, double r);
  bool Empty() const { return FMinX > FMaxX; }
  // The bounds gathered so far; meaningless while Empty().
  double MinX() const { return FMinX; }
  double MaxX() const { return FMaxX; }
  double MinY() const { return FMinY; }
  double MaxY() const { return FMaxY; }
  // Whether the extent grown by margin on every side overlaps r (Left ≤ Right, Top ≤ Bottom),
  // edges included. An empty extent meets nothing.
  bool Meets(const TRect& r, double margin) const;

 private:
  // Empty while the minimum lies above the maximum.
  double FMinX = std::numeric_limits<double>::infinity();
  double FMaxX = -std::numeric_limits<double>::infinity();
  double FMinY = std::numeric_limits<double>::infinity();
  double FMaxY = -std::numeric_limits<double>::infinity();
};

// Whether p lies inside the closed polygon of the given vertices under the fill rule.
bool PolygonContainsPoint(std::span<const TPoint> polygon, TPoint p, TFillRule rule);

}  // namespace orvela
