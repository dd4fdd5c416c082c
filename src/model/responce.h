#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/tooth.h"

namespace orvela {

// The text form of a response curve, as the curve library keeps it: the ten integers
// x0, y0, x1, y1, … x4, y4 joined by ", ", under a name.

// Whether a name can be stored as an INI key and read back: not empty, not longer than
// ResponceNameMaxLength, no control characters or '=', no blanks at either end, valid UTF-8,
// and not starting like a comment or a section (';', '[').
inline constexpr std::size_t ResponceNameMaxLength = 255;
bool IsValidResponceName(std::string_view name);

// Names compare without regard to ASCII letter case, as INI names do.
bool SameResponceName(std::string_view a, std::string_view b);

// "10, 50, 25, 75, 50, 80, 75, 75, 90, 70" for the default curve.
std::string FormatResponce(const TResponceCurve& curve);

// Why a text is not a curve, with the piece at fault.
struct TResponceParseError {
  enum class TKind {
    NotAnInteger,  // a piece is not a 32-bit decimal integer, or there are not ten pieces
    OutOfRange,    // a number outside 0…ResponceExtent
    Decreasing,    // an x smaller than the one before it
  };
  TKind Kind = TKind::NotAnInteger;
  // The piece at fault; the whole value when it does not have ten pieces.
  std::string Text;
};

// The first of the ten numbers x0, y0, x1, y1, … x4, y4 that no curve of the response editor
// could hold, and why (OutOfRange or Decreasing); none when they make such a curve.
struct TResponceFault {
  std::size_t Index = 0;
  TResponceParseError::TKind Kind = TResponceParseError::TKind::OutOfRange;
};
std::optional<TResponceFault> FindResponceFault(std::span<const std::int32_t, 10> numbers);

// The curve of a text, or nothing and why in error. Only a curve the response editor could
// make is taken (TTooth::MoveResponcePoint): every number within 0…ResponceExtent and x never
// decreasing from one point to the next. Another would move a tooth kilometres in one step,
// or against its force.
std::optional<TResponceCurve> ParseResponce(std::string_view value, TResponceParseError& error);

}  // namespace orvela
