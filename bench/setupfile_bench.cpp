// The setup as a document and as a file's text, on ten copies of the lower arch (80 teeth,
// 70 wires). Targets: the document out and back in within 2 ms; the text written, and read
// back, within 20 ms each.
#include <benchmark/benchmark.h>

#include "document/setup.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"
#include "scenes.h"

namespace orvela {
namespace {

constexpr std::int32_t Copies = 10;

void SetupDocumentOutAndIn(benchmark::State& state) {
  TSetup scene;
  test::AddLargeScene(scene, Copies);
  TSetup restored;
  for (auto _ : state) {
    const TSetupDocument doc = CaptureSetup(scene);
    benchmark::DoNotOptimize(RestoreSetup(doc, restored));
  }
  state.counters["teeth"] = static_cast<double>(restored.ToothList().size());
}
BENCHMARK(SetupDocumentOutAndIn)->Unit(benchmark::kMillisecond);

void SetupTextWrite(benchmark::State& state) {
  TSetup scene;
  test::AddLargeScene(scene, Copies);
  const TSetupDocument doc = CaptureSetup(scene);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = WriteSetupText(doc);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SetupTextWrite)->Unit(benchmark::kMillisecond);

void SetupTextRead(benchmark::State& state) {
  TSetup scene;
  test::AddLargeScene(scene, Copies);
  const std::string text = WriteSetupText(CaptureSetup(scene));
  TSetupFileError error;
  for (auto _ : state) {
    std::optional<TSetupDocument> doc = ReadSetupText(text, error);
    if (!doc) state.SkipWithError(error.Text().c_str());
    benchmark::DoNotOptimize(doc);
  }
}
BENCHMARK(SetupTextRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvela
