// Cost of a simulation step and of drawing a whole setup, on the lower arch (8 teeth,
// 7 wires) and on ten copies of it (80 teeth, 70 wires): both should grow linearly.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <string>

#include <QImage>
#include <QSize>
#include <QTransform>

#include "document/runreport.h"
#include "document/setup.h"
#include "document/setupdoc.h"
#include "graphics/forcedraw.h"
#include "model/teeth.h"
#include "qtgraphics/qtcanvas.h"
#include "recording_canvas.h"
#include "scenes.h"

namespace orvela {
namespace {

void AddSceneOfSize(TSetup& setup, std::int64_t copies) {
  if (copies == 1) {
    test::AddLowerArchScene(setup);
  } else {
    test::AddLargeScene(setup, static_cast<std::int32_t>(copies));
  }
}

// Every tooth's TotalForce, then every OrthoMove, as a run does per step.
void ModelStep(benchmark::State& state) {
  TSetup scene;
  AddSceneOfSize(scene, state.range(0));
  const TSetup::TToothList& teeth = scene.ToothList();
  std::vector<TForceMoment> forces(teeth.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < teeth.size(); ++i) forces[i] = teeth[i]->TotalForce();
    for (std::size_t i = 0; i < teeth.size(); ++i) forces[i] = teeth[i]->OrthoMove(forces[i]);
    benchmark::DoNotOptimize(forces.data());
  }
  state.counters["teeth"] = static_cast<double>(teeth.size());
}
BENCHMARK(ModelStep)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

// The eight-tooth arch's step with a V-bend in every wire (at a third of the span, 2°) against
// the same arch without, both timed in each iteration so that the ratio comes from one run on
// one machine state. Each iteration starts both from their first poses (untimed), so that the
// two runs stay alike and neither settles into a cheaper equilibrium.
void ModelStepBendsRatio(benchmark::State& state) {
  TSetup plain;
  TSetup bent;
  test::AddLowerArchScene(plain);
  test::AddLowerArchScene(bent);
  for (const auto& wire : bent.WireList()) wire->AddBend({TBendKind::V, 1.0 / 3.0, 0.035});
  const TSetupDocument plainStart = CaptureSetup(plain);
  const TSetupDocument bentStart = CaptureSetup(bent);
  std::vector<TForceMoment> forces(plain.ToothList().size());
  const auto run = [&forces](TSetup& scene) {
    const auto t0 = std::chrono::steady_clock::now();
    const TSetup::TToothList& teeth = scene.ToothList();
    for (int s = 0; s < 20; ++s) {
      for (std::size_t i = 0; i < teeth.size(); ++i) forces[i] = teeth[i]->TotalForce();
      for (std::size_t i = 0; i < teeth.size(); ++i) forces[i] = teeth[i]->OrthoMove(forces[i]);
      benchmark::DoNotOptimize(forces.data());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  };
  // The forces alone, from the first poses: what the bends themselves cost, apart from the
  // different movements they cause.
  const auto forcesOnly = [&forces](const TSetup& scene) {
    const auto t0 = std::chrono::steady_clock::now();
    const TSetup::TToothList& teeth = scene.ToothList();
    for (int s = 0; s < 20; ++s) {
      for (std::size_t i = 0; i < teeth.size(); ++i) forces[i] = teeth[i]->TotalForce();
      benchmark::DoNotOptimize(forces.data());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  };
  double plainSeconds = 0.0;
  double bentSeconds = 0.0;
  double plainForces = 0.0;
  double bentForces = 0.0;
  bool plainFirst = true;
  for (auto _ : state) {
    state.PauseTiming();
    RestoreSetup(plainStart, plain);
    RestoreSetup(bentStart, bent);
    state.ResumeTiming();
    plainForces += forcesOnly(plain);
    bentForces += forcesOnly(bent);
    if (plainFirst) {
      plainSeconds += run(plain);
      bentSeconds += run(bent);
    } else {
      bentSeconds += run(bent);
      plainSeconds += run(plain);
    }
    plainFirst = !plainFirst;
  }
  const double steps = static_cast<double>(state.iterations()) * 20.0;
  state.counters["plain_us"] = plainSeconds / steps * 1e6;
  state.counters["bends_us"] = bentSeconds / steps * 1e6;
  state.counters["ratio"] = bentSeconds / plainSeconds;
  state.counters["forces_ratio"] = bentForces / plainForces;
}
BENCHMARK(ModelStepBendsRatio)->Unit(benchmark::kMillisecond);

// Recording a step into the history on the 80-tooth scene, as the share of a step: the same
// steps with recording on and off, timed in turn in each iteration from the same start.
void RecordStepShare(benchmark::State& state) {
  TSetup on;
  TSetup off;
  test::AddLargeScene(on, 10);
  test::AddLargeScene(off, 10);
  off.SetRecordsHistory(false);
  const TSetupDocument start = CaptureSetup(on);
  const auto run = [](TSetup& scene) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int s = 0; s < 20; ++s) benchmark::DoNotOptimize(scene.RunStep());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  };
  double onSeconds = 0.0;
  double offSeconds = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    RestoreSetup(start, on);
    RestoreSetup(start, off);
    state.ResumeTiming();
    offSeconds += run(off);
    onSeconds += run(on);
  }
  const double steps = static_cast<double>(state.iterations()) * 20.0;
  state.counters["step_us"] = offSeconds / steps * 1e6;
  state.counters["recorded_step_us"] = onSeconds / steps * 1e6;
  state.counters["recording_share"] = onSeconds / offSeconds - 1.0;
}
BENCHMARK(RecordStepShare)->Unit(benchmark::kMillisecond);

// What orvela-run does with the eight-tooth arch for 10⁵ steps (Auto Stop never met), without
// and with a history (--history): steps per second, and how much the resident memory grew.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void Runner100kSteps(benchmark::State& state) {
  const bool history = state.range(0) != 0;
  for (auto _ : state) {
    TSetup setup;
    test::AddLowerArchScene(setup);
    setup.SetRecordsHistory(history);
    const long before = ResidentKb();
    const auto t0 = std::chrono::steady_clock::now();
    const TRunResult result = RunToAutoStop(setup, 100'000, TThresholds{0.0, 0.0});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["steps_per_s"] = static_cast<double>(result.Steps) / seconds;
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - before);
  }
}
BENCHMARK(Runner100kSteps)
    ->ArgName("history")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Forces at the centres of resistance only.
void DrawAll(const TSetup& scene, TCanvas& canvas) {
  const TForceDrawing drawing;
  for (const auto& tooth : scene.ToothList()) tooth->Draw(canvas, drawing);
  for (const auto& wire : scene.WireList()) wire->Draw(canvas);
}

// The whole setup with forces at the centres of resistance into an 804 × 506 back buffer
// at 1 pixel per model unit, y up, as the view repaints it.
void DrawSceneQt(benchmark::State& state) {
  TSetup scene;
  AddSceneOfSize(scene, state.range(0));
  TQtImageCanvas canvas(QSize(804, 506));
  canvas.SetMapping(QTransform(1.0, 0.0, 0.0, -1.0, 30.0, 760.0));
  const TRect visible{-30, 254, 774, 760};
  for (auto _ : state) {
    canvas.Begin();
    canvas.FillRectWhite(visible);
    DrawAll(scene, canvas);
    canvas.End();
  }
  benchmark::DoNotOptimize(canvas.Image().constBits());
}
BENCHMARK(DrawSceneQt)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

// The same with the whole setup scaled to fit the buffer, so that every copy is rasterised
// rather than clipped away.
void DrawSceneQtFitted(benchmark::State& state) {
  TSetup scene;
  AddSceneOfSize(scene, state.range(0));
  TPointDouble upperLeft = scene.ToothList().front()->UpperLeft();
  TPointDouble lowerRight = scene.ToothList().front()->LowerRight();
  for (const auto& tooth : scene.ToothList()) {
    upperLeft.x = std::min(upperLeft.x, tooth->UpperLeft().x);
    upperLeft.y = std::max(upperLeft.y, tooth->UpperLeft().y);
    lowerRight.x = std::max(lowerRight.x, tooth->LowerRight().x);
    lowerRight.y = std::min(lowerRight.y, tooth->LowerRight().y);
  }
  const double scale =
      std::min(804.0 / (lowerRight.x - upperLeft.x), 506.0 / (upperLeft.y - lowerRight.y));
  TQtImageCanvas canvas(QSize(804, 506));
  canvas.SetMapping(QTransform(scale, 0.0, 0.0, -scale, -upperLeft.x * scale, upperLeft.y * scale));
  const TRect all{-100000, -100000, 100000, 100000};
  for (auto _ : state) {
    canvas.Begin();
    canvas.FillRectWhite(all);
    DrawAll(scene, canvas);
    canvas.End();
  }
  benchmark::DoNotOptimize(canvas.Image().constBits());
}
BENCHMARK(DrawSceneQtFitted)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

// The model's share of a repaint: the same calls into a surface that only records them.
void DrawSceneRecorded(benchmark::State& state) {
  TSetup scene;
  AddSceneOfSize(scene, state.range(0));
  test::TRecordingCanvas canvas;
  for (auto _ : state) {
    canvas.Clear();
    DrawAll(scene, canvas);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
}
BENCHMARK(DrawSceneRecorded)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvela
