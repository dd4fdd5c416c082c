#include "model/responce.h"

#include <array>
#include <charconv>

#include "util/ini.h"

namespace orvela {

namespace {

bool HasControlCharacter(std::string_view s) {
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

bool InSquare(std::int32_t v) { return v >= 0 && v <= ResponceExtent; }

}  // namespace

bool SameResponceName(std::string_view a, std::string_view b) { return SameIniName(a, b); }

bool IsValidResponceName(std::string_view name) {
  if (name.empty() || name.size() > ResponceNameMaxLength) return false;
  if (TrimBlanks(name) != name) return false;
  if (name.front() == ';' || name.front() == '[') return false;
  if (name.find('=') != std::string_view::npos) return false;
  return !HasControlCharacter(name) && IsValidUtf8(name);
}

std::string FormatResponce(const TResponceCurve& curve) {
  std::string value;
  for (const TPoint& p : curve) {
    if (!value.empty()) value += ", ";
    value += std::to_string(p.x) + ", " + std::to_string(p.y);
  }
  return value;
}

std::optional<TResponceFault> FindResponceFault(std::span<const std::int32_t, 10> numbers) {
  using TKind = TResponceParseError::TKind;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (!InSquare(numbers[i])) return TResponceFault{i, TKind::OutOfRange};
    // Even places hold the x of a point, compared with the x of the point before.
    if (i % 2 == 0 && i > 0 && numbers[i] < numbers[i - 2])
      return TResponceFault{i, TKind::Decreasing};
  }
  return std::nullopt;
}

std::optional<TResponceCurve> ParseResponce(std::string_view value, TResponceParseError& error) {
  using TKind = TResponceParseError::TKind;
  const auto fail = [&error](TKind kind, std::string_view text) {
    error = {kind, std::string(text)};
    return std::nullopt;
  };
  std::array<std::int32_t, 10> numbers{};
  std::array<std::string_view, 10> pieces{};
  std::size_t count = 0;
  std::string_view rest = value;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view piece = TrimBlanks(rest.substr(0, comma));
    if (count == numbers.size()) return fail(TKind::NotAnInteger, value);
    const char* begin = piece.data();
    const char* end = piece.data() + piece.size();
    // from_chars takes no '+'; a leading one is still a plain decimal integer.
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, numbers[count]);
    if (piece.empty() || begin == end || ec != std::errc() || ptr != end) {
      return fail(TKind::NotAnInteger, piece);
    }
    pieces[count] = piece;
    ++count;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (count != numbers.size()) return fail(TKind::NotAnInteger, value);
  if (const std::optional<TResponceFault> fault = FindResponceFault(numbers)) {
    return fail(fault->Kind, pieces[fault->Index]);
  }
  TResponceCurve curve;
  for (std::size_t i = 0; i < curve.size(); ++i)
    curve[i] = TPoint{numbers[2 * i], numbers[2 * i + 1]};
  return curve;
}

}  // namespace orvela
