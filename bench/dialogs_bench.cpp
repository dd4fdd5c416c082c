#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "dialogs/toothinf.h"
#include "document/setup.h"
#include "qt/bench_main.h"
#include "scenes.h"

namespace orvela {
namespace {

constexpr int MillionCurves = 1'000'000;

// One application, a scene and two libraries in a temporary folder for the whole run: the
// shipped five curves and a million (about 53 MB).
struct TBenchEnvironment {
  test::TBenchApplication App;
  QTemporaryDir Dir;
  std::string Small;
  std::string Large;
  TSetup Scene;

  TBenchEnvironment() {
    Small = Dir.path().toStdString() + "/small.INI";
    Large = Dir.path().toStdString() + "/large.INI";
    const std::string curve = "=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n";
    {
      std::ofstream small(Small, std::ios::binary);
      small << "[Responce]\n";
      for (const char* name : {"Default", "Threshold", "Linear", "Plateau", "Optimum"})
        small << name << curve;
    }
    std::string text = "[Responce]\n";
    text.reserve(static_cast<std::size_t>(MillionCurves) * 54);
    char name[16];
    for (int i = 0; i < MillionCurves; ++i) {
      std::snprintf(name, sizeof name, "Curve %07d", i);
      text += name;
      text += curve;
    }
    std::ofstream(Large, std::ios::binary) << text;
    test::AddCanineAndPremolarScene(Scene);
  }
};

// Made by main() (RunBenchmarksWith).
TBenchEnvironment* CurrentEnvironment = nullptr;

TBenchEnvironment& Environment() { return *CurrentEnvironment; }

// From exec() to the dialog closing itself as soon as its event loop runs: showing it,
// reading the library and filling the list.
void ShowAndClose(benchmark::State& state, const std::string& library) {
  TToothInfDlg dialog;
  dialog.SetLibraryPath(library);
  dialog.SetTooth(Environment().Scene.ToothList()[0].get());
  for (auto _ : state) {
    QTimer::singleShot(0, &dialog, [&] { dialog.accept(); });
    const auto start = std::chrono::steady_clock::now();
    dialog.exec();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
  }
}

void BM_ShowToothInfo(benchmark::State& state) { ShowAndClose(state, Environment().Small); }
BENCHMARK(BM_ShowToothInfo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The target: under 1 s.
void BM_ShowToothInfoMillionCurves(benchmark::State& state) {
  ShowAndClose(state, Environment().Large);
}
BENCHMARK(BM_ShowToothInfoMillionCurves)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Using the list of a million-curve library: opening it, and picking a curve with the
// keyboard, which loads it onto the tooth.
void BM_UseListMillionCurves(benchmark::State& state) {
  TToothInfDlg dialog;
  dialog.SetLibraryPath(Environment().Large);
  dialog.SetTooth(Environment().Scene.ToothList()[0].get());
  QTimer::singleShot(0, &dialog, [&] {
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("ResponceCB"));
    for (auto _ : state) {
      list->setCurrentIndex(-1);
      const auto start = std::chrono::steady_clock::now();
      list->showPopup();
      QApplication::processEvents();
      list->hidePopup();
      QTest::keyClick(list, Qt::Key_Down);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      state.SetIterationTime(took.count());
    }
    dialog.accept();
  });
  dialog.exec();
}
BENCHMARK(BM_UseListMillionCurves)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace orvela

int main(int argc, char** argv) {
  return orvela::test::RunBenchmarksWith(argc, argv, orvela::CurrentEnvironment);
}
