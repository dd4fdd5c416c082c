#include "document/run.h"

#include <cmath>
#include <limits>
#include <vector>

#include "model/wire.h"
#include "util/format.h"

namespace orvela {

namespace {

std::string ToothNameAt(const TWireStraight& wire, std::size_t end) {
  const TTooth* tooth = wire.ToothAt(end);
  return tooth ? tooth->Name() : std::string("a free end");
}

}  // namespace

TRun::TRun(TSetup& setup) : FSetup(setup) {
  FSetup.BeginRun();
  FSetup.SetRunning(true);
}

TRun::~TRun() { FSetup.SetRunning(false); }

TRunOutcome TRun::Step(const std::optional<TThresholds>& autoStop) {
  const std::vector<TForceMoment> forces = FSetup.RunStep();
  ++FSteps;
  if (autoStop && ThresholdsMet(forces, *autoStop)) return TRunOutcome::AutoStop;
  if (FWatch.Observe(forces)) {
    if (FSetup.RecordsHistory()) FSetup.MarkDivergence();
    FDivergenceText = DescribeDivergence();
    return TRunOutcome::Diverged;
  }
  return TRunOutcome::Going;
}

std::string TRun::DescribeDivergence() const {
  const auto& teeth = FSetup.ToothList();
  std::string text = "The run diverges: the forces grew steadily instead of settling";
  if (FWatch.LargestTooth() < teeth.size()) {
    const double f = FWatch.Largest();
    text += ", to " + (std::isfinite(f) ? FormatFloat("0", f) + " gf" : std::string("no finite")) +
            " on " + teeth[FWatch.LargestTooth()]->Name();
  }
  const TWireStraight* heaviest = nullptr;
  double heaviestForce = -1.0;
  for (const auto& wire : FSetup.WireList()) {
    const double f = wire->Force();
    if (f > heaviestForce || (std::isnan(f) && heaviestForce >= 0.0)) {
      heaviest = wire.get();
      heaviestForce = std::isnan(f) ? std::numeric_limits<double>::infinity() : f;
    }
  }
  if (heaviest) {
    text += "; the " + heaviest->MaterialName() + " " + heaviest->SizeName() + " wire from " +
            ToothNameAt(*heaviest, 0) + " to " + ToothNameAt(*heaviest, 1) +
            " carries the largest force" +
            (std::isfinite(heaviestForce) ? " (" + FormatFloat("0", heaviestForce) + " gf)"
                                          : std::string());
  }
  return text + ". Stopped at step " + std::to_string(FSteps) + ".";
}

}  // namespace orvela
