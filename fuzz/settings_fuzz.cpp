// The settings reader and writer on any file: every value read is usable by the model, and
// what is written reads back to the same preferences' numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "document/settings.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// In memory where the system has it: every write flushes the file to disk.
std::string TemporaryPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  std::string folder =
      dir != nullptr ? dir : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
  return folder + "/orvela-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = TemporaryPath("in.ini");
  static const std::string output = TemporaryPath("out.ini");
  // Removed when the fuzzer ends normally.
  static const struct TCleanUp {
    ~TCleanUp() {
      std::remove(input.c_str());
      std::remove(output.c_str());
    }
  } cleanUp;
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  orvela::TPreferences prefs;
  orvela::ReadIniSettings(input, prefs);
  for (const auto& row : prefs.MaterialTable) {
    Check(std::isfinite(row.Modulus) && row.Modulus > 0 && row.Modulus <= 1e7);
  }
  for (const auto& row : prefs.SizeTable) {
    Check(std::isfinite(row.CrossA) && row.CrossA >= 0 && row.CrossA <= 100);
    Check(std::isfinite(row.CrossB) && row.CrossB >= 0 && row.CrossB <= 100);
  }
  Check(prefs.GridDensity >= 0 && prefs.GridDensity <= 3);
  // Thresholds Auto Stop can use.
  for (const double threshold : {prefs.ThresholdForce, prefs.ThresholdMoment}) {
    Check(std::isfinite(threshold) && threshold >= 0);
  }

  std::remove(output.c_str());
  Check(orvela::WriteIniSettings(output, prefs));
  orvela::TPreferences back;
  orvela::ReadIniSettings(output, back);
  Check(back.GridDensity == prefs.GridDensity && back.AutoStop == prefs.AutoStop);
  Check(back.SnapGrid == prefs.SnapGrid && back.ZeroWidthBrackets == prefs.ZeroWidthBrackets);
  Check(back.RememberWindowRect == prefs.RememberWindowRect);
  // Moduli are written as whole numbers where those read back, dimensions to three places.
  for (std::size_t i = 0; i < prefs.MaterialTable.size(); ++i) {
    if (prefs.MaterialTable[i].Name.find(", ") != std::string::npos) continue;
    Check(std::abs(back.MaterialTable[i].Modulus -
                   std::nearbyint(prefs.MaterialTable[i].Modulus)) <= 0.5 ||
          back.MaterialTable[i].Modulus == 100000.0);
  }
  return 0;
}
