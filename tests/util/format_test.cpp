#include "util/format.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace orvela {
namespace {

TEST(FormatFloat, PatternsShownByTheProgram) {
  const TFormatSettings fixed;
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {"0", 12.5, "12"},  // an exact binary tie rounds to even
      {"0", 13.5, "14"},
      {"0", -0.4, "0"},  // rounds to zero: no sign
      {"0.0", -0.04, "0.0"},
      {"0", -0.0, "0"},
      {"0", -2.6, "-3"},
      {"0.0", 3.14159, "3.1"},
      {"0.00", 2.005, "2.00"},  // 2.005 is stored just below the tie
      {"0.000", 1.0, "1.000"},
      {"0.#", 1.0, "1"},
      {"0.#", 1.25, "1.2"},
      {"0.##", 1.5, "1.5"},
      {"0.##", 0.004, "0"},
      {"#.##", 0.5, ".5"},
      {"#,##0.0", 1234567.89, "1,234,567.9"},
      {"#,##0.0", -999.96, "-1,000.0"},
      {"#,##0", 12.0, "12"},
      {"000", 7.0, "007"},
      {"0 gf", 15.4, "15 gf"},
      {"0.0 mm", -2.25, "-2.2 mm"},
      {"\"x=\"0.0", 1.0, "x=1.0"},
      {"'#'0", 3.0, "#3"},
      {"0.0;(0.0);zero", -1.5, "(1.5)"},
      {"0.0;(0.0);zero", 0.01, "zero"},
      {"0.0;(0.0)", 2.0, "2.0"},
      {"0", 1e20, "100000000000000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatFloat(c.pattern, c.value, fixed), c.expected)
        << c.pattern << " with " << c.value;
  }
  EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<double>::quiet_NaN(), fixed), "NAN");
  EXPECT_EQ(FormatFloat("0.0", -std::numeric_limits<double>::infinity(), fixed), "-INF");
  EXPECT_EQ(FormatFloat("", 0.1, fixed), "0.1");
  EXPECT_EQ(FormatFloat("", -0.0, fixed), "0");
}

TEST(FormatFloat, UsesTheGivenSeparators) {
  TFormatSettings german;
  german.DecimalSeparator = ",";
  german.ThousandSeparator = ".";
  EXPECT_EQ(FormatFloat("#,##0.00", 12345.678, german), "12.345,68");
  TFormatSettings french;
  french.DecimalSeparator = ",";
  french.ThousandSeparator = "\u202f";  // narrow no-break space: more than one byte
  EXPECT_EQ(FormatFloat("#,##0.0", -1234.5, french), "-1\u202f234,5");

  const TFormatSettings saved = UserFormatSettings();
  SetUserFormatSettings(german);
  EXPECT_EQ(FormatFloat("0.0", 2.5), "2,5");
  SetUserFormatSettings(saved);
}

TEST(TryStrToFloat, AcceptsOnlyNumbersInTheGivenFormat) {
  TFormatSettings german;
  german.DecimalSeparator = ",";
  german.ThousandSeparator = ".";
  const TFormatSettings fixed;
  double v = 0.0;
  EXPECT_TRUE(TryStrToFloat("  -12.5 ", v, fixed));
  EXPECT_EQ(v, -12.5);
  EXPECT_TRUE(TryStrToFloat("+3", v, fixed));
  EXPECT_EQ(v, 3.0);
  EXPECT_TRUE(TryStrToFloat(".5", v, fixed));
  EXPECT_EQ(v, 0.5);
  EXPECT_TRUE(TryStrToFloat("1.5E3", v, fixed));
  EXPECT_EQ(v, 1500.0);
  EXPECT_TRUE(TryStrToFloat("0,25", v, german));
  EXPECT_EQ(v, 0.25);

  v = 42.0;
  for (const char* bad :
       {"", " ", "-", ".", "1.2.3", "1,5", "1e", "abc", "12x", "1e999", "inf", "nan", "1 000"}) {
    EXPECT_FALSE(TryStrToFloat(bad, v, fixed)) << bad;
  }
  EXPECT_FALSE(TryStrToFloat("0.25", v, german));
  EXPECT_EQ(v, 42.0);  // untouched by failures

  // What the settings file writes reads back exactly.
  EXPECT_TRUE(TryStrToFloat(FormatFloat("0.000", 0.123, fixed), v, fixed));
  EXPECT_EQ(v, 0.123);
}

TEST(FormatSettingsTest, FixedFormatIsTheLocaleFreeOne) {
  // Whatever the user's format, the settings file's is fixed.
  TFormatSettings odd;
  odd.DecimalSeparator = ",";
  const TFormatSettings saved = UserFormatSettings();
  SetUserFormatSettings(odd);
  const TFormatSettings fixed = FixedFormatSettings();
  SetUserFormatSettings(saved);
  EXPECT_EQ(fixed.DecimalSeparator, ".");
  EXPECT_EQ(fixed.ThousandSeparator, ",");
  EXPECT_EQ(fixed.DateSeparator, "-");
  EXPECT_EQ(fixed.ShortDateFormat, "yyyy-mm-dd");
  EXPECT_EQ(fixed.LongTimeFormat, "hh:mm:ss.zzz");
}

}  // namespace
}  // namespace orvela
