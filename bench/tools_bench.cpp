#include <benchmark/benchmark.h>

#include "recording_canvas.h"
#include "scenes.h"
#include "tools/tools.h"

namespace orvela {
namespace {

// Tools without a window: nothing is drawn or shown.
class TQuietHost : public TToolHost {
 public:
  test::TRecordingCanvas Canvas{0.425};
  const TCanvas& HitCanvas() const override { return Canvas; }
  bool SnapGrid() const override { return true; }
  void SetCursor(std::int16_t) override {}
  void SetStatusText(const std::string&) override {}
  void SetInfoText(const std::string&) override {}
  void Redraw() override {}
  void SelectionChanged() override {}
  void Properties() override {}
  void ZoomInAt(TPoint) override {}
  void ZoomOutAt(TPoint) override {}
  void ZoomRect(const TRect&) override {}
  void InvertBand(const TRectangle&) override {}
  void BeginChange() override {}
  void EndChange(const std::string&) override {}
};

// A press and release of the select tool over the 80-tooth scene (80 teeth, 70 wires):
// the pick, the selection's handles and its information line. Arg 0 presses on empty
// ground (every object is tested), arg 1 on the first tooth (the last one tested).
void BM_PickLargeScene(benchmark::State& state) {
  TSetup setup;
  test::AddLargeScene(setup, 10);
  TQuietHost host;
  TSelectTool tool(setup, host);
  const TPoint at =
      state.range(0) == 0 ? TPoint{-500, -500} : RoundPoint(setup.ToothList()[0]->cRes());
  tool.Move(at);
  for (auto _ : state) {
    tool.Press(TMouseButton::Left, at);
    tool.Release(TMouseButton::Left, at);
    benchmark::DoNotOptimize(setup.SelectedObject());
  }
  state.counters["teeth"] = static_cast<double>(setup.ToothList().size());
  state.counters["wires"] = static_cast<double>(setup.WireList().size());
}
BENCHMARK(BM_PickLargeScene)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvela
