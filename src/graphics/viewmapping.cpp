#include "graphics/viewmapping.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvela {

namespace {

// The percentage items: all but the last two.
constexpr std::size_t PercentItemCount = ZoomBoxItems.size() - 2;

float ScaleOf(std::int32_t zoom) { return static_cast<float>(zoom) / 250.0F; }

}  // namespace

double TViewMapping::PixelsPerUnit() const {
  return DisplayPixelsPerLogical * static_cast<double>(ScaleOf(ZoomValue));
}

double TViewMapping::Dx() const {
  const double tx = static_cast<double>(-static_cast<std::int64_t>(H) * ZoomValue) / 250.0;
  return DisplayPixelsPerLogical * tx;
}

double TViewMapping::Dy() const {
  const double ty =
      static_cast<double>((static_cast<std::int64_t>(V) - Extent) * ZoomValue) / 250.0;
  return -DisplayPixelsPerLogical * ty;
}

TPoint TViewMapping::PixelToModel(TPoint pixel) const {
  const double k = PixelsPerUnit();
  return RoundPoint(MakePointDouble((pixel.x - Dx()) / k, (pixel.y - Dy()) / -k));
}

TPointDouble TViewMapping::ModelToPixel(TPointDouble model) const {
  return MakePointDouble(M11() * model.x + Dx(), M22() * model.y + Dy());
}

std::optional<std::int32_t> ZoomItemValue(std::string_view item) {
  if (item.size() < 2) return std::nullopt;
  const std::string_view number = item.substr(0, item.size() - 1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  if (value > MaxZoomValue || value < -MaxZoomValue) return std::nullopt;
  return value * 10;
}

std::string_view ZoomInItem(std::int32_t aZoom) {
  for (std::size_t i = PercentItemCount; i-- > 0;) {
    if (*ZoomItemValue(ZoomBoxItems[i]) > aZoom) return ZoomBoxItems[i];
  }
  return ZoomBoxItems[0];
}

std::string_view ZoomOutItem(std::int32_t aZoom) {
  for (std::size_t i = 0; i < PercentItemCount; ++i) {
    if (*ZoomItemValue(ZoomBoxItems[i]) < aZoom) return ZoomBoxItems[i];
  }
  return ZoomBoxItems[PercentItemCount - 1];
}

std::int32_t FitAllZoom(std::int32_t width, std::int32_t height, std::int32_t extent) {
  const double side = std::min(height - 1, width - 1);
  return static_cast<std::int32_t>(std::nearbyint(side * 2500.0 / extent / DisplayPixelsPerMm));
}

std::optional<TZoomRectResult> ZoomRectFit(const TRect& aRect, std::int32_t width,
                                           std::int32_t height) {
  const std::int64_t b = std::abs(static_cast<std::int64_t>(aRect.Top) - aRect.Bottom);
  const std::int64_t c = std::abs(static_cast<std::int64_t>(aRect.Right) - aRect.Left);
  if (b == 0 || c == 0) return std::nullopt;
  const double w = width;
  const double h = height;
  double z = 0.0;
  if (w / static_cast<double>(c) > h / static_cast<double>(b)) {
    z = 2500.0 * h / static_cast<double>(b) / DisplayPixelsPerMm;
  } else {
    z = 2500.0 * w / static_cast<double>(c) / DisplayPixelsPerMm;
  }
  z = std::clamp(std::nearbyint(z), static_cast<double>(MinZoomValue),
                 static_cast<double>(MaxZoomValue));
  TZoomRectResult result;
  result.Zoom = static_cast<std::int32_t>(z);
  result.Centre.x = static_cast<std::int32_t>(std::min(aRect.Left, aRect.Right) +
                                              std::nearbyint(static_cast<double>(c) / 2.0));
  result.Centre.y = static_cast<std::int32_t>(std::min(aRect.Top, aRect.Bottom) +
                                              std::nearbyint(static_cast<double>(b) / 2.0));
  return result;
}

std::optional<std::int32_t> ParseTypedZoom(std::string_view text) {
  const std::size_t percent = text.find('%');
  const std::string_view number = text.substr(0, percent);
  if (number.empty()) return std::nullopt;
  std::string_view digits = number;
  if (digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  if (value > MaxZoomValue || value < -MaxZoomValue) return std::nullopt;
  const std::int64_t zoom = value * 10;
  if (zoom < MinZoomValue || zoom > MaxZoomValue) return std::nullopt;
  return static_cast<std::int32_t>(zoom);
}

std::string ZoomText(std::int32_t aZoom) {
  const auto percent = static_cast<std::int64_t>(std::nearbyint(aZoom / 10.0));
  return std::to_string(percent) + "%";
}

TRect BestFitRect(std::span<const TRect> bounds) {
  TRect r;
  bool first = true;
  for (const TRect& b : bounds) {
    if (first) {
      r = b;
      first = false;
      continue;
    }
    r.Left = std::min(r.Left, b.Left);
    r.Top = std::min(r.Top, b.Top);
    r.Right = std::max(r.Right, b.Right);
    r.Bottom = std::max(r.Bottom, b.Bottom);
  }
  r.Left -= 20;
  r.Top -= 20;
  r.Right += 20;
  r.Bottom += 20;
  return r;
}

}  // namespace orvela
