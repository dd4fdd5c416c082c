#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "allocation_counter.h"
#include "mechanics/forcedraw.h"
#include "qtgraphics/qtcanvas.h"
#include "scenes.h"
#include "setup_scenes.h"
#include "util/startup.h"
#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela {
namespace {

// One application and temporary data folders for the whole run, headless unless the caller
// chose a platform.
struct TBenchEnvironment {
  int Argc = 1;
  char Name[8] = "bench";
  char* Argv[2] = {Name, nullptr};
  std::unique_ptr<QApplication> App;
  QTemporaryDir Dir;

  TBenchEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App = std::make_unique<QApplication>(Argc, Argv);
    QDir(Dir.path()).mkpath("common");
    QDir(Dir.path()).mkpath("user/Settings");
    ModelExtent = 1000;
    CommonDataFolder = Dir.path().toStdString() + "/common/";
    UserDataFolder = Dir.path().toStdString() + "/user/";
    SettingsIniPath = UserDataFolder + "Settings/Orvela.ini";
  }
};

// Made by main() so that the application ends before the process's exit handlers run; a
// static QApplication would be destroyed after Qt's own statics and crash.
TBenchEnvironment* CurrentEnvironment = nullptr;

TBenchEnvironment& Environment() { return *CurrentEnvironment; }

// The main window with the eight-tooth arch in an 804 × 506 display, grid on, forces drawn
// at the centres of resistance only.
std::unique_ptr<TMainForm> MakeArchWindow() {
  Environment();
  auto form = std::make_unique<TMainForm>();
  form->show();
  QCoreApplication::processEvents();
  QWidget* display = form->View().Display();
  for (int i = 0; i < 5 && display->size() != QSize(804, 506); ++i) {
    form->resize(form->size() + (QSize(804, 506) - display->size()));
    QCoreApplication::processEvents();
  }
  ForceDrawPlaces = TForceDrawPlaces{true, false, false};
  form->Preferences().ShowGrid = true;
  test::LoadScene(form->Setup(), test::MakeLowerArchScene());
  form->View().ZoomCenterInDisplay(1500, 370, 620);
  return form;
}

void BM_DrawDisplay(benchmark::State& state) {
  auto form = MakeArchWindow();
  form->View().DrawDisplay();
  {
    const test::AllocationCounter allocations;
    form->View().DrawDisplay();
    state.counters["allocations"] = static_cast<double>(allocations.Count());
  }
  for (auto _ : state) form->View().DrawDisplay();
  state.counters["display_px"] = form->View().Display()->width() * form->View().Display()->height();
}
BENCHMARK(BM_DrawDisplay)->Unit(benchmark::kMicrosecond);

// The large scene (copies of the arch one below the other) in the same display: only the
// first copy is on screen, so a frame should cost about what the arch alone costs.
void BM_DrawDisplayCopies(benchmark::State& state) {
  auto form = MakeArchWindow();
  form->Setup().ResetNew();
  test::LoadScene(form->Setup(), test::MakeLargeScene(static_cast<std::int32_t>(state.range(0))));
  form->View().ZoomCenterInDisplay(1500, 370, 620);
  for (auto _ : state) form->View().DrawDisplay();
}
BENCHMARK(BM_DrawDisplayCopies)
    ->ArgName("copies")
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond);

// The floor of a frame: the back buffer filled white and copied to the display, nothing
// drawn.
void BM_FrameFloor(benchmark::State& state) {
  auto form = MakeArchWindow();
  TDisplay& display = *form->View().Display();
  TQtImageCanvas buffer(display.size());
  const TViewMapping& m = form->View().Mapping();
  buffer.SetMapping(QTransform(m.M11(), 0, 0, m.M22(), m.Dx(), m.Dy()));
  display.SetImage(&buffer.Image());
  const TPoint a = form->View().PixelToModel(TPoint{0, 0});
  const TPoint b = form->View().PixelToModel(TPoint{display.width(), display.height()});
  for (auto _ : state) {
    buffer.Begin();
    buffer.FillRectWhite(TRect{a.x - 1, b.y - 1, b.x + 1, a.y + 1});
    buffer.End();
    display.repaint();
  }
  display.SetImage(&form->View().BackBuffer());
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMicrosecond);

// One step of the run as the run loop does it: forces, movement, Auto Stop test, redraw,
// pending events. The arch is rebuilt every 200 steps so that it stays in view.
void BM_RunStepWithRedraw(benchmark::State& state) {
  auto form = MakeArchWindow();
  TSetup& setup = form->Setup();
  setup.SetRunning(true);
  int steps = 0;
  for (auto _ : state) {
    if (++steps % 200 == 0) {
      state.PauseTiming();
      setup.ResetNew();
      test::LoadScene(setup, test::MakeLowerArchScene());
      state.ResumeTiming();
    }
    const std::vector<TForceMoment> forces = setup.RunStep();
    benchmark::DoNotOptimize(ThresholdsMet(forces, TThresholds{}));
    form->View().DrawDisplay();
    QCoreApplication::processEvents();
  }
  setup.SetRunning(false);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RunStepWithRedraw)->Unit(benchmark::kMicrosecond);

// From creating the main window to its first painted frame on the display.
void BM_StartToFirstFrame(benchmark::State& state) {
  Environment();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto form = std::make_unique<TMainForm>();
    form->show();
    QCoreApplication::processEvents();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    state.PauseTiming();
    form->hide();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace orvela

int main(int argc, char** argv) {
  orvela::TBenchEnvironment environment;
  orvela::CurrentEnvironment = &environment;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  orvela::CurrentEnvironment = nullptr;
  return 0;
}
