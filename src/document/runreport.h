#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/setup.h"
#include "mechanics/geometry.h"

namespace orvela {

// What orvela-run prints of a setup, in the user's units: mm, degrees, gf and gf·mm.

struct TToothReport {
  std::string Name;
  TPointDouble CResMm;
  double AngulationDeg = 0.0;
  // The net force system of the tooth's wires carried to its centre of resistance.
  double ForceX = 0.0;
  double ForceY = 0.0;
  double MomentGfMm = 0.0;
};

struct TWireReport {
  std::string Material;
  std::string Size;
  double Force = 0.0;
  double MomentA = 0.0;
  double MomentB = 0.0;
  // Of the effective end angles, bends included.
  double AngleRatio = 0.0;
  std::string Class;
  // Position in % of the chord from end A; a V-bend's angle in degrees, a step's height in mm.
  struct TBendReport {
    bool Step = false;
    double PositionPercent = 0.0;
    double Value = 0.0;
  };
  std::vector<TBendReport> Bends;
};

struct TSetupReport {
  std::vector<TToothReport> Teeth;
  std::vector<TWireReport> Wires;
};

TSetupReport ReportSetup(const TSetup& setup);

struct TRunResult {
  std::uint64_t Steps = 0;
  bool AutoStop = false;
  // What the run said when it was seen to diverge; none when it did not.
  std::optional<std::string> Diverged;
};

// The window's run with Auto Stop on (TRun): step until every force system of the step passes
// the thresholds, the run diverges or maxSteps steps are done, whichever comes first. No step
// at all for maxSteps 0.
TRunResult RunToAutoStop(TSetup& setup, std::uint64_t maxSteps, const TThresholds& thresholds);

struct TRunReport {
  TRunResult Run;
  TSetupReport Start;
  TSetupReport End;
};

// The report as text for a reader, or as one JSON object (docs/orvela-run.md); numbers never
// depend on the locale.
std::string RunReportText(const TRunReport& report);
std::string RunReportJson(const TRunReport& report);

}  // namespace orvela
