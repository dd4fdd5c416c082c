#include "dialogs/responcelib.h"

#include <array>
#include <charconv>

#include <QCoreApplication>
#include <QFileInfo>

#include "util/ini.h"

namespace orvela {

namespace {

std::string& ResponceIniPathOverride() {
  static std::string path;
  return path;
}

bool HasControlCharacter(std::string_view s) {
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string ResponceIniPath() {
  if (!ResponceIniPathOverride().empty()) return ResponceIniPathOverride();
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  return (exe.absolutePath() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".INI"))
      .toStdString();
}

void SetResponceIniPath(std::string path) { ResponceIniPathOverride() = std::move(path); }

bool SameResponceName(std::string_view a, std::string_view b) { return SameIniName(a, b); }

bool IsValidResponceName(std::string_view name) {
  if (name.empty() || name.size() > ResponceNameMaxLength) return false;
  if (TrimBlanks(name) != name) return false;
  if (name.front() == ';' || name.front() == '[') return false;
  if (name.find('=') != std::string_view::npos) return false;
  return !HasControlCharacter(name) && IsValidUtf8(name);
}

std::vector<std::string> ReadResponceNames(const std::string& path) {
  std::vector<std::string> names;
  TIniDocument library;
  if (LoadIniDocument(path, library) != TIniLoadResult::Ok) return names;
  for (std::string& key : library.ReadSectionKeys(ResponceSection)) {
    if (IsValidResponceName(key)) names.push_back(std::move(key));
  }
  return names;
}

std::string FormatResponce(const TResponceCurve& curve) {
  std::string value;
  for (const TPoint& p : curve) {
    if (!value.empty()) value += ", ";
    value += std::to_string(p.x) + ", " + std::to_string(p.y);
  }
  return value;
}

std::optional<TResponceCurve> ParseResponce(std::string_view value, std::string& badText) {
  std::array<std::int32_t, 10> numbers{};
  std::size_t count = 0;
  std::string_view rest = value;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view piece = TrimBlanks(rest.substr(0, comma));
    if (count == numbers.size()) {
      badText = std::string(value);
      return std::nullopt;
    }
    const char* begin = piece.data();
    const char* end = piece.data() + piece.size();
    // from_chars takes no '+'; a leading one is still a plain decimal integer.
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, numbers[count]);
    if (piece.empty() || begin == end || ec != std::errc() || ptr != end) {
      badText = std::string(piece);
      return std::nullopt;
    }
    ++count;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (count != numbers.size()) {
    badText = std::string(value);
    return std::nullopt;
  }
  TResponceCurve curve;
  for (std::size_t i = 0; i < curve.size(); ++i)
    curve[i] = TPoint{numbers[2 * i], numbers[2 * i + 1]};
  return curve;
}

}  // namespace orvela
