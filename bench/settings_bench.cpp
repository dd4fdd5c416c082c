// Reading and writing the settings file at start and exit: the shipped file and one of
// 10 MB (foreign sections and keys of other programs, some inside "Wire"). Target: the 10 MB
// file read and written in under 1 s each.
#include <benchmark/benchmark.h>
#include <string>

#include "document/settings.h"
#include "files.h"

namespace orvela {
namespace {

constexpr const char* ShippedIni =
    ORVELA_BUILD_DATA_DIR "Kestrin Software/Orvela/Settings/Orvela.ini";

std::string ShippedText() { return test::ReadTextFile(ShippedIni); }

// The shipped file with foreign lines up to 10 MB: half in a section of another program
// before "Wire", half among the wire keys.
std::string LargeText() {
  constexpr std::size_t Size = 10u << 20;
  const std::string shipped = ShippedText();
  const std::size_t wire = shipped.find("[Wire]\n") + 7;
  std::string foreign = "[Other Program]\n";
  std::string wireForeign;
  for (std::size_t i = 0; foreign.size() + wireForeign.size() + shipped.size() < Size; ++i) {
    std::string& into = i % 2 == 0 ? foreign : wireForeign;
    into += "History Entry " + std::to_string(i) + "=a remembered value, 12345.678 x 9.000\n";
    if (i % 1000 == 0) into += "; comment " + std::to_string(i) + "\n";
  }
  return shipped.substr(0, wire) + wireForeign + shipped.substr(wire) + foreign;
}

std::string TextFor(std::int64_t which) { return which == 0 ? ShippedText() : LargeText(); }

void ReadSettings(benchmark::State& state) {
  const test::TTempFolder folder;
  const std::string path = (folder.Path() / "Orvela.ini").string();
  test::WriteTextFile(path, TextFor(state.range(0)));
  for (auto _ : state) {
    TPreferences prefs;
    ReadIniSettings(path, prefs);
    benchmark::DoNotOptimize(prefs);
  }
}
BENCHMARK(ReadSettings)->Arg(0)->Arg(1)->ArgName("large")->Unit(benchmark::kMillisecond);

// The exit: read the file as it is, set every key, replace the file (with fsync).
void WriteSettings(benchmark::State& state) {
  const test::TTempFolder folder;
  const std::string path = (folder.Path() / "Orvela.ini").string();
  test::WriteTextFile(path, TextFor(state.range(0)));
  TPreferences prefs;
  ReadIniSettings(path, prefs);
  prefs.GridDensity = 1;
  for (auto _ : state) {
    if (!WriteIniSettings(path, prefs)) state.SkipWithError("could not write");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(test::ReadTextFile(path).size()));
}
BENCHMARK(WriteSettings)->Arg(0)->Arg(1)->ArgName("large")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvela
