#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/runhistory.h"
#include "document/setup.h"

namespace orvela {

enum class TRunOutcome : std::uint8_t { Going, AutoStop, Diverged };

// One run of a setup, step by step: the window drives it from its event loop, orvela-run in
// a loop, so both take the same steps to the same end.
class TRun {
 public:
  // Begins the run (TSetup::BeginRun) and marks the setup running until the TRun goes.
  explicit TRun(TSetup& setup);
  TRun(const TRun&) = delete;
  TRun& operator=(const TRun&) = delete;
  ~TRun();

  // One step; with thresholds given, AutoStop once every force system of the step passes
  // them. Diverged (and the history marked) once the divergence watch says so.
  TRunOutcome Step(const std::optional<TThresholds>& autoStop);
  std::uint64_t Steps() const { return FSteps; }
  // What the run said when it diverged: the largest force, where it acts and the wire that
  // carries the most; empty before.
  const std::string& DivergenceText() const { return FDivergenceText; }

 private:
  std::string DescribeDivergence() const;

  TSetup& FSetup;
  TDivergenceWatch FWatch;
  std::uint64_t FSteps = 0;
  std::string FDivergenceText;
};

}  // namespace orvela
