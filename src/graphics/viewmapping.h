#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "graphics/canvas.h"
#include "mechanics/geometry.h"

namespace orvela {

// Display pixels per millimetre that the fit zooms assume (72 per inch). With this figure
// "Fit All" and the rectangle zoom fit exactly.
inline constexpr double DisplayPixelsPerMm = 2.8346;
// Display pixels per logical unit of the metric mapping (one logical unit = 0.1 mm).
inline constexpr double DisplayPixelsPerLogical = DisplayPixelsPerMm / 10.0;

inline constexpr std::int32_t MinZoomValue = 250;
inline constexpr std::int32_t MaxZoomValue = 6000;

// The items of the zoom box in their order; the last two are commands, not percentages.
inline constexpr std::array<std::string_view, 10> ZoomBoxItems = {
    "600%", "300%", "200%", "150%", "100%", "75%", "50%", "25%", "Best Fit", "Fit All"};
inline constexpr std::string_view ZoomBestFitItem = "Best Fit";
inline constexpr std::string_view ZoomFitAllItem = "Fit All";

// The mapping from model units (0.1 mm, y up) to display pixels (y down).
// Model to logical: scale s = ZoomValue / 250 (single precision), translation
// (−H·ZoomValue / 250, (V − ModelExtent)·ZoomValue / 250), where H and V are the scroll
// positions; logical to pixel: DisplayPixelsPerLogical with y flipped. So a model point
// (x, y) lands at pixel (k·s·(x − H), −k·s·(y + V − ModelExtent)) and at "100%" one model
// millimetre is 4 nominal millimetres long.
struct TViewMapping {
  std::int32_t ZoomValue = 1500;
  std::int32_t H = 0;  // model x at the display's left edge
  std::int32_t V = 0;  // ModelExtent minus the model y at the display's top edge
  std::int32_t Extent = 1000;

  // Pixels per model unit along either axis.
  double PixelsPerUnit() const;
  // Pixel = (M11·x + Dx, M22·y + Dy); M22 is negative.
  double M11() const { return PixelsPerUnit(); }
  double M22() const { return -PixelsPerUnit(); }
  double Dx() const;
  double Dy() const;

  // The model point under a display pixel, rounded to the nearest integer (ties to even).
  TPoint PixelToModel(TPoint pixel) const;
  TPointDouble ModelToPixel(TPointDouble model) const;

  friend bool operator==(const TViewMapping&, const TViewMapping&) = default;
};

// The zoom value of a percentage item ("150%" → 1500); nullopt for "Best Fit", "Fit All" or
// text that is not a number followed by one character.
std::optional<std::int32_t> ZoomItemValue(std::string_view item);

// The next percentage item above (ZoomIn) or below (ZoomOut) aZoom, ending on "600%" or
// "25%". Returns the item's text.
std::string_view ZoomInItem(std::int32_t aZoom);
std::string_view ZoomOutItem(std::int32_t aZoom);

// "Fit All": the whole model area fits the shorter side of the display. Not bounded.
std::int32_t FitAllZoom(std::int32_t width, std::int32_t height, std::int32_t extent);

// The zoom and centre that fit a model rectangle (corners in any order) into the display;
// nullopt when the rectangle has no width or no height. The zoom is bounded to 250…6000.
struct TZoomRectResult {
  std::int32_t Zoom = 0;
  TPoint Centre;
};
std::optional<TZoomRectResult> ZoomRectFit(const TRect& aRect, std::int32_t width,
                                           std::int32_t height);

// The zoom typed into the zoom box: the text up to the first "%" as an integer times 10,
// within 250…6000; nullopt otherwise.
std::optional<std::int32_t> ParseTypedZoom(std::string_view text);

// The zoom box text of a zoom value: nearest integer to value / 10 and "%".
std::string ZoomText(std::int32_t aZoom);

// The "Best Fit" rectangle: the union of the given bounding rectangles (the empty rectangle
// (0, 0, 0, 0) when there are none) grown by 20 units (2 mm) on every side.
TRect BestFitRect(std::span<const TRect> bounds);

}  // namespace orvela
