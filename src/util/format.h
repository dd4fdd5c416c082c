#pragma once

#include <string>
#include <string_view>

namespace orvela {

// Separators and date/time patterns used to write and read numbers. The defaults are the
// fixed, locale-independent settings of the settings file.
struct TFormatSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator = ",";
  std::string DateSeparator = "-";
  std::string ShortDateFormat = "yyyy-mm-dd";
  std::string LongTimeFormat = "hh:mm:ss.zzz";
};

// Formats value after a picture pattern such as "0", "0.0", "0.##", "#,##0.0", "0 gf":
//   '0'  a digit that is always shown; '#' a digit shown only when significant;
//   '.'  the position of the decimal separator (the first one counts);
//   ','  anywhere in the number: group the integer digits by thousands;
//   ';'  separates sections for positive, negative and zero values (the negative section,
//        when present, supplies its own sign);
//   text in single or double quotes, and every other character, is copied as it stands.
// Rounding is to nearest (exact binary ties to even). A value that rounds to zero is shown
// without a sign. An empty pattern gives up to 15 significant digits.
std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& fs);
// The same with the user's own number format.
std::string FormatFloat(std::string_view pattern, double value);

// The locale-independent number format of the settings file: TFormatSettings' defaults.
const TFormatSettings& FixedFormatSettings();

// The user's number format. Until SetUserFormatSettings is called it comes from the
// environment's locale (LC_NUMERIC / LANG), falling back to "." and ",".
const TFormatSettings& UserFormatSettings();
void SetUserFormatSettings(TFormatSettings fs);

// Reads a finite number written with fs: optional surrounding blanks, an optional sign,
// digits with at most one decimal separator, an optional exponent. No thousands separators.
// Returns false (leaving value unchanged) on anything else.
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& fs);

}  // namespace orvela
