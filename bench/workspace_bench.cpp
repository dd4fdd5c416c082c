#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "mechanics/forcedraw.h"
#include "qtgraphics/qtcanvas.h"
#include "scenes.h"
#include "tools/tools.h"
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
  test::AddLowerArchScene(form->Setup());
  form->View().ZoomCenterInDisplay(1500, 370, 620);
  return form;
}

void BM_DrawDisplay(benchmark::State& state) {
  auto form = MakeArchWindow();
  for (auto _ : state) form->View().DrawDisplay();
  state.counters["display_px"] = form->View().Display()->width() * form->View().Display()->height();
}
BENCHMARK(BM_DrawDisplay)->Unit(benchmark::kMicrosecond);

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

// One mouse move of a translate drag, as the display receives it: the tooth follows the
// pointer, its handles are rebuilt and the frame is redrawn. Compare with BM_FrameFloor.
void BM_TranslateDragStep(benchmark::State& state) {
  auto form = MakeArchWindow();
  form->Preferences().SnapGrid = false;
  TSetup& setup = form->Setup();
  TTooth* tooth = setup.ToothList()[3].get();
  setup.Select(tooth);
  TDisplay& display = *form->View().Display();
  const TPointDouble c = form->View().Mapping().ModelToPixel(tooth->cRes());
  const QPointF start(std::round(c.x), std::round(c.y));
  const auto send = [&display](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, display.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&display, &event);
  };
  send(QEvent::MouseMove, start, Qt::NoButton);
  send(QEvent::MouseButtonPress, start, Qt::LeftButton);
  if (form->ChooserTool().HoverAction() != ActionTranslateName) {
    state.SkipWithError("the drag did not start on the centre handle");
    return;
  }
  int i = 0;
  for (auto _ : state) {
    // Back and forth over 20 pixels, so that every move moves the tooth.
    const double dx = (i++ % 20) - 10.0;
    send(QEvent::MouseMove, start + QPointF(dx, dx / 2), Qt::LeftButton);
  }
  send(QEvent::MouseButtonRelease, start, Qt::NoButton);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TranslateDragStep)->Unit(benchmark::kMicrosecond);

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
      test::AddLowerArchScene(setup);
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
