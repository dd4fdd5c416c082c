#pragma once

#include <benchmark/benchmark.h>
#include <memory>

#include <QApplication>

namespace orvela::test {

// The one application of a benchmark run, headless unless the caller chose a platform.
class TBenchApplication {
 public:
  TBenchApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    FApp = std::make_unique<QApplication>(FArgc, FArgv);
  }

 private:
  int FArgc = 1;
  char FName[8] = "bench";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<QApplication> FApp;
};

// Runs the benchmarks with one TEnvironment alive for all of them, reachable through
// current while they run. It lives on this stack, not as a static, so that an application
// inside it ends before the process's exit handlers: a static QApplication would be
// destroyed after Qt's own statics and crash.
template <class TEnvironment>
int RunBenchmarksWith(int argc, char** argv, TEnvironment*& current) {
  TEnvironment environment;
  current = &environment;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  current = nullptr;
  return 0;
}

}  // namespace orvela::test
