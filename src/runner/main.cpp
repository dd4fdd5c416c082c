// orvela-run: runs a setup file without a window and reports what the run did.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "document/runreport.h"
#include "document/settings.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"
#include "util/files.h"

namespace orvela {
namespace {

constexpr int ExitAutoStop = 0;
constexpr int ExitBadFile = 1;
constexpr int ExitUsage = 2;
constexpr int ExitStepLimit = 3;
constexpr int ExitDiverged = 4;
// Without --max-steps: a setup that never settles still ends.
constexpr std::uint64_t DefaultMaxSteps = 1'000'000;

constexpr std::string_view Usage =
    "Usage: orvela-run FILE [--max-steps N] [--threshold-force GF] [--threshold-moment GFMM]\n"
    "                  [--history OUT.csv] [--save OUT.orvela] [--json] | --help | --version\n"
    "Runs the setup file to Auto Stop or N steps (default 1000000) and prints the setup before\n"
    "and after. Exit code 0: Auto Stop reached; 3: step limit first; 4: the run diverged;\n"
    "1: bad file; 2: bad usage.\n";

struct TOptions {
  std::string File;
  std::uint64_t MaxSteps = DefaultMaxSteps;
  TThresholds Thresholds;
  std::optional<std::string> Save;
  std::optional<std::string> History;
  bool Json = false;
};

void Error(const std::string& message) {
  std::fputs(("orvela-run: " + message + "\n").c_str(), stderr);
}

bool ParseCount(std::string_view text, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc{} && end == text.data() + text.size();
}

bool ParseAmount(std::string_view text, double& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc{} && end == text.data() + text.size() && std::isfinite(value) &&
         value >= 0.0;
}

// Nothing, after saying why, on bad usage; help and version are set by --help and --version.
std::optional<TOptions> ParseArguments(int argc, char** argv, bool& help, bool& version) {
  TPreferences defaults;
  TOptions options;
  options.Thresholds = {defaults.ThresholdForce, defaults.ThresholdMoment};
  bool haveFile = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      help = true;
      return options;
    }
    if (arg == "--version") {
      version = true;
      return options;
    }
    if (arg == "--json") {
      options.Json = true;
      continue;
    }
    if (arg == "--max-steps" || arg == "--threshold-force" || arg == "--threshold-moment" ||
        arg == "--save" || arg == "--history") {
      if (i + 1 >= argc) {
        Error("option '" + std::string(arg.substr(2)) + "' needs a value");
        return std::nullopt;
      }
      const std::string_view value = argv[++i];
      double amount = 0.0;
      if (arg == "--save") {
        options.Save = std::string(value);
      } else if (arg == "--history") {
        options.History = std::string(value);
      } else if (arg == "--max-steps") {
        if (!ParseCount(value, options.MaxSteps)) {
          Error("--max-steps: '" + std::string(value) + "' is not a whole number ≥ 0");
          return std::nullopt;
        }
      } else if (!ParseAmount(value, amount)) {
        Error(std::string(arg) + ": '" + std::string(value) + "' is not a number ≥ 0");
        return std::nullopt;
      } else if (arg == "--threshold-force") {
        options.Thresholds.Force = amount;
      } else {
        // gf·mm on the command line, gf·0.1 mm in the model.
        options.Thresholds.Moment = amount * 10.0;
      }
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      Error("unknown option '" + std::string(arg.substr(arg.find_first_not_of('-'))) + "'");
      return std::nullopt;
    }
    if (haveFile) {
      Error("one setup file only: '" + std::string(arg) + "'");
      return std::nullopt;
    }
    options.File = std::string(arg);
    haveFile = true;
  }
  if (!haveFile) {
    Error("no setup file given");
    return std::nullopt;
  }
  return options;
}

int Run(int argc, char** argv) {
  bool help = false;
  bool version = false;
  const std::optional<TOptions> options = ParseArguments(argc, argv, help, version);
  if (version) {
    std::fputs("orvela-run " ORVELA_VERSION_TEXT "\n", stdout);
    return 0;
  }
  if (help) {
    std::fputs(Usage.data(), stdout);
    return 0;
  }
  if (!options) {
    std::fputs(Usage.data(), stderr);
    return ExitUsage;
  }

  TSetupFileError error;
  const std::optional<TSetupDocument> doc = LoadSetupFile(options->File, error);
  if (!doc) {
    Error(error.Text());
    return ExitBadFile;
  }
  TSetup setup;
  if (!RestoreSetup(*doc, setup)) {
    Error(options->File + ": the setup does not hold together");
    return ExitBadFile;
  }

  // Only a history that is asked for costs its memory.
  setup.SetRecordsHistory(options->History.has_value());
  TRunReport report;
  report.Start = ReportSetup(setup);
  try {
    report.Run = RunToAutoStop(setup, options->MaxSteps, options->Thresholds);
  } catch (const std::exception& failure) {
    Error(options->File + ": the run failed: " + failure.what());
    return ExitBadFile;
  }
  report.End = ReportSetup(setup);

  if (options->Save) {
    TSetupDocument result = CaptureSetup(setup);
    result.View = doc->View;
    if (!SaveSetupFile(*options->Save, result, error)) {
      Error(error.Text());
      return ExitBadFile;
    }
  }
  if (options->History) {
    std::string problem;
    if (!ReplaceFileText(*options->History, HistoryCsv(*setup.History()), &problem)) {
      Error(*options->History + ": " + problem);
      return ExitBadFile;
    }
  }
  const std::string out = options->Json ? RunReportJson(report) : RunReportText(report);
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (report.Run.AutoStop) return ExitAutoStop;
  return report.Run.Diverged ? ExitDiverged : ExitStepLimit;
}

}  // namespace
}  // namespace orvela

int main(int argc, char** argv) { return orvela::Run(argc, argv); }
