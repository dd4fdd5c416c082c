#include "util/format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <langinfo.h>
#include <locale.h>
#include <system_error>
#include <utility>
#include <vector>

namespace orvela {

namespace {

// One section of a picture pattern, split into its literal text and its number layout.
struct TNumberLayout {
  std::string Prefix;         // literal text before the first placeholder
  std::string Suffix;         // literal text after it (interior literals go here too)
  int MinIntegerDigits = 0;   // '0' placeholders before the decimal point
  int MinFractionDigits = 0;  // placeholders up to the last '0' after the decimal point
  int MaxFractionDigits = 0;  // all placeholders after the decimal point
  bool HasPlaceholders = false;
  bool Grouping = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '.' || c == ','; }

// Splits the pattern at ';' outside quotes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

TNumberLayout ParseSection(std::string_view section) {
  TNumberLayout layout;
  bool inFraction = false;
  bool seenIntegerZero = false;
  int fractionPlaces = 0;
  std::string interior;  // literal text met after the first placeholder
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = section.find(c, i + 1);
      const std::size_t end = close == std::string_view::npos ? section.size() : close;
      std::string_view text = section.substr(i + 1, end - i - 1);
      (layout.HasPlaceholders ? interior : layout.Prefix).append(text);
      i = end;
      continue;
    }
    if (!IsPlaceholder(c)) {
      (layout.HasPlaceholders ? interior : layout.Prefix).push_back(c);
      continue;
    }
    layout.HasPlaceholders = true;
    // Literal text between placeholders is kept and shown after the number.
    layout.Suffix.append(interior);
    interior.clear();
    if (c == ',') {
      layout.Grouping = true;
    } else if (c == '.') {
      inFraction = true;
    } else if (inFraction) {
      ++fractionPlaces;
      if (c == '0') layout.MinFractionDigits = fractionPlaces;
    } else if (c == '0' || seenIntegerZero) {
      seenIntegerZero = true;
      ++layout.MinIntegerDigits;
    }
  }
  layout.MaxFractionDigits = fractionPlaces;
  layout.Suffix.append(interior);
  return layout;
}

// Decimal digits of |value| rounded to `decimals` places, without separators. std::to_chars
// never reads the C locale, which QApplication sets from the environment (a decimal comma
// there must not reach the settings file).
void RoundedDigits(double value, int decimals, std::string& integer, std::string& fraction) {
  // The largest double has 309 integer digits; the patterns ask for a handful of decimals.
  std::array<char, 400> buffer{};
  const int places = std::clamp(decimals, 0, 60);
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       std::fabs(value), std::chars_format::fixed, places);
  const std::string_view text =
      ec == std::errc() ? std::string_view(buffer.data(), end - buffer.data()) : "0";
  const std::size_t point = text.find('.');
  integer = std::string(text.substr(0, point));
  fraction = point == std::string_view::npos ? std::string() : std::string(text.substr(point + 1));
}

bool AllZero(const std::string& a, const std::string& b) {
  return a.find_first_not_of('0') == std::string::npos &&
         b.find_first_not_of('0') == std::string::npos;
}

std::string Group(const std::string& digits, const std::string& separator) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// Formats |value| with one section; `negative` adds the minus sign.
std::string FormatWithLayout(const TNumberLayout& layout, const std::string& integerIn,
                             std::string fraction, bool negative, const TFormatSettings& fs) {
  if (!layout.HasPlaceholders) return layout.Prefix + layout.Suffix;
  while (static_cast<int>(fraction.size()) > layout.MinFractionDigits && !fraction.empty() &&
         fraction.back() == '0') {
    fraction.pop_back();
  }
  std::string integer = integerIn;
  if (layout.MinIntegerDigits == 0 && integer == "0") integer.clear();
  if (static_cast<int>(integer.size()) < layout.MinIntegerDigits) {
    integer.insert(0, static_cast<std::size_t>(layout.MinIntegerDigits) - integer.size(), '0');
  }
  if (layout.Grouping) integer = Group(integer, fs.ThousandSeparator);
  std::string out;
  if (negative) out += '-';
  out += layout.Prefix;
  out += integer;
  if (!fraction.empty()) {
    out += fs.DecimalSeparator;
    out += fraction;
  }
  out += layout.Suffix;
  return out;
}

// Up to 15 significant digits, as "%.15G" would give in the "C" locale, without reading the
// process locale: the shortest of fixed and scientific, trailing zeros removed.
std::string FormatGeneral(double value, const TFormatSettings& fs) {
  std::array<char, 64> buffer{};
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       value == 0.0 ? 0.0 : value, std::chars_format::general, 15);
  std::string out;
  const std::string_view text =
      ec == std::errc() ? std::string_view(buffer.data(), end - buffer.data()) : "0";
  for (const char c : text) {
    if (c == '.') {
      out += fs.DecimalSeparator;
    } else if (c == 'e') {
      out += 'E';
    } else {
      out += c;
    }
  }
  return out;
}

TFormatSettings SettingsFromEnvironment() {
  TFormatSettings fs;
  // A private locale object: the process-wide C locale stays "C" for everybody else.
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return fs;
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  const char* thousands = nl_langinfo_l(THOUSEP, loc);
  std::string decimal = radix != nullptr ? radix : "";
  std::string group = thousands != nullptr ? thousands : "";
  freelocale(loc);
  if (!decimal.empty()) fs.DecimalSeparator = decimal;
  if (!group.empty() && group != fs.DecimalSeparator) fs.ThousandSeparator = group;
  if (fs.ThousandSeparator == fs.DecimalSeparator) {
    fs.DecimalSeparator = ".";
    fs.ThousandSeparator = ",";
  }
  return fs;
}

TFormatSettings& UserSettingsStorage() {
  static TFormatSettings settings = SettingsFromEnvironment();
  return settings;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (pattern.empty()) return FormatGeneral(value, fs);

  const std::vector<std::string_view> sections = SplitSections(pattern);
  const TNumberLayout positive = ParseSection(sections[0]);
  const bool hasNegative = sections.size() > 1 && !sections[1].empty();
  const bool hasZero = sections.size() > 2 && !sections[2].empty();

  const TNumberLayout layout = value < 0.0 && hasNegative ? ParseSection(sections[1]) : positive;
  std::string integer;
  std::string fraction;
  RoundedDigits(value, layout.MaxFractionDigits, integer, fraction);
  if (AllZero(integer, fraction)) {
    if (hasZero) {
      const TNumberLayout zero = ParseSection(sections[2]);
      RoundedDigits(0.0, zero.MaxFractionDigits, integer, fraction);
      return FormatWithLayout(zero, integer, fraction, false, fs);
    }
    RoundedDigits(0.0, positive.MaxFractionDigits, integer, fraction);
    return FormatWithLayout(positive, integer, fraction, false, fs);
  }
  const bool sign = value < 0.0 && !hasNegative;
  return FormatWithLayout(layout, integer, fraction, sign, fs);
}

std::string FormatFloat(std::string_view pattern, double value) {
  return FormatFloat(pattern, value, UserFormatSettings());
}

const TFormatSettings& FixedFormatSettings() {
  static const TFormatSettings fixed;
  return fixed;
}

const TFormatSettings& UserFormatSettings() { return UserSettingsStorage(); }

void SetUserFormatSettings(TFormatSettings fs) { UserSettingsStorage() = std::move(fs); }

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& fs) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);

  std::string plain;  // the number rewritten with '.' for from_chars
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    plain += text[i++];
    ++mantissaDigits;
  }
  const std::string& sep = fs.DecimalSeparator;
  if (!sep.empty() && text.substr(i, sep.size()) == sep) {
    plain += '.';
    i += sep.size();
    while (i < text.size() && IsDigit(text[i])) {
      plain += text[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      plain += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return false;
  }
  if (i != text.size()) return false;

  double parsed = 0.0;
  const char* end = plain.data() + plain.size();
  const auto [ptr, ec] = std::from_chars(plain.data(), end, parsed);
  if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace orvela
