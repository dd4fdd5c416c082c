// The string helpers and the number format of the settings file: no crash on any input, and
// every number the writer formats reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "util/format.h"
#include "util/misc.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const orvela::TFormatSettings fixed;

  for (const std::string& field : orvela::SplitQuoted(text, ' ')) Check(field.size() <= size);
  const std::string trimmed = orvela::TrimChar(text, '"');
  Check(trimmed.empty() || (trimmed.front() != '"' && trimmed.back() != '"'));

  double parsed = 0.0;
  if (orvela::TryStrToFloat(text, parsed, fixed)) Check(std::isfinite(parsed));

  // The first eight bytes as a number, the rest as a picture pattern.
  if (size >= sizeof(double)) {
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    const std::string_view pattern = text.substr(sizeof value, 64);
    orvela::FormatFloat(pattern, value, fixed);
    if (std::isfinite(value) && std::abs(value) < 1e15) {
      for (const char* p : {"0", "0.000", ""}) {
        double back = 0.0;
        Check(orvela::TryStrToFloat(orvela::FormatFloat(p, value, fixed), back, fixed));
        Check(std::abs(back - value) <= 0.5 + std::abs(value) * 1e-14);
      }
    }
  }
  return 0;
}
