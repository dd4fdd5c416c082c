#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"
#include "model/tooth.h"

namespace orvela {

// What the runs of a setup did, step by step and tooth by tooth, in the user's units. Values
// are kept in single precision: enough for plots and tables, and half the memory.
struct TToothSample {
  // Counted over every run since the history was cleared, from 1.
  std::uint64_t Step = 0;
  float CResX = 0.0f;  // mm, after the step
  float CResY = 0.0f;
  float Angulation = 0.0f;  // degrees, after the step
  // The net force system of the step, at the centre of resistance: gf and gf·mm, the moment
  // clockwise positive.
  float ForceX = 0.0f;
  float ForceY = 0.0f;
  float Moment = 0.0f;
  float StressTranslation = 0.0f;  // gf/mm²
  float StressRotation = 0.0f;     // gf/mm²
  // The step's rigid motion: mm, and degrees counterclockwise positive.
  float TranslationX = 0.0f;
  float TranslationY = 0.0f;
  float Rotation = 0.0f;

  double Force() const;
  // The step's centre of rotation: its distance from the centre of resistance along the
  // tooth's axis, mm, positive toward the apex; infinite for a pure translation, not a number
  // for a step without motion.
  double CentreOfRotation() const;
  // Moment over force at the centre of resistance, mm (the sign is the moment's); not a
  // number without a force.
  double MomentToForce() const;
};

// What a history can show of a sample.
enum class THistoryQuantity : std::uint8_t {
  Force,
  Moment,
  MomentToForce,
  StressTranslation,
  StressRotation,
  Angulation,
  CResX,
  CResY,
  Translation,
  Rotation,
  CentreOfRotation,
};
inline constexpr std::size_t HistoryQuantityCount = 11;

// "Force (gf)", …: the caption of a quantity with its unit.
const char* HistoryQuantityCaption(THistoryQuantity quantity);
double HistoryValue(const TToothSample& sample, THistoryQuantity quantity);

// One tooth's line: Samples at every Stride-th step (decimated), and the tooth's latest step.
struct TToothSeries {
  std::uint64_t Key = 0;
  std::string Name;
  std::vector<TToothSample> Samples;
  TToothSample Last;
  // Over every recorded step, decimated or not: the path the centre of resistance went (mm),
  // and the translation stresses summed (gf/mm²) with their count, for a mean.
  double PathMm = 0.0;
  double StressSum = 0.0;
  std::uint64_t StepCount = 0;

  // The mean translation stress, the mean stress over the supported root, in kPa; 0 before
  // any step.
  double MeanStressKPa() const;
  // The clinical-time estimate of the movement so far (model/clinicaltime.h).
  std::string ClinicalTime() const;

  // Samples, then Last where it is newer: what a plot or an export shows.
  template <class F>
  void ForEachShown(F&& f) const {
    for (const TToothSample& s : Samples) f(s);
    if (Samples.empty() || Samples.back().Step < Last.Step) f(Last);
  }
};

// The fixed point of a translation by t followed by a turn by rotation (radians,
// counterclockwise) about c, the centre the translation led to; none for a pure translation.
std::optional<TPointDouble> CentreOfRotation(TPointDouble c, TPointDouble t, double rotation);

class TRunHistory {
 public:
  // Beyond this many samples in a line, every second one goes and the stride doubles: a run
  // of 10⁷ steps keeps at most this many per tooth, about 5 MB.
  static constexpr std::size_t SampleLimit = 100'000;

  // Records one step of teeth, which moved as steps tells and by forces (at their centres of
  // resistance); the three run in parallel. A tooth without a line gets one from this step.
  void Record(std::span<const std::unique_ptr<TTooth>> teeth, std::span<const TToothStep> steps,
              std::span<const TForceMoment> forces);
  // The step at which a run was seen to diverge.
  void MarkDivergence() { FDivergence.push_back(FSteps); }

  std::uint64_t Steps() const { return FSteps; }
  std::uint64_t Stride() const { return FStride; }
  const std::vector<TToothSeries>& Series() const { return FSeries; }
  const TToothSeries* SeriesOf(std::uint64_t key) const;
  const std::vector<std::uint64_t>& DivergenceSteps() const { return FDivergence; }
  bool Empty() const { return FSteps == 0; }

 private:
  void Decimate();

  std::uint64_t FSteps = 0;
  std::uint64_t FStride = 1;
  std::vector<TToothSeries> FSeries;
  std::vector<std::uint64_t> FDivergence;
  // The line of the tooth at each list place in the last step: a guess checked by key, so
  // that finding a tooth's line costs nothing while the list stays as it is.
  std::vector<std::size_t> FLineOfPlace;
};

// The history as CSV (RFC 4180: CRLF, a header with units, one row per tooth and shown step,
// in step order, then the teeth's order); "." decimals whatever the locale, an empty field
// for a value that does not exist.
std::string HistoryCsv(const TRunHistory& history);

// Watches a run for stepping that grows instead of settling: the largest force at any
// centre of resistance, taken every CheckInterval steps, rose at each of the last
// CheckCount checks and has passed BoundGf. A force that is not finite diverges at once.
class TDivergenceWatch {
 public:
  static constexpr std::uint64_t CheckInterval = 100;
  static constexpr std::size_t CheckCount = 10;
  // Twenty newtons: ten times the heaviest orthodontic force, well beyond any setup that
  // settles.
  static constexpr double BoundGf = 2000.0;

  // True from the step at which the run diverges.
  bool Observe(std::span<const TForceMoment> forces);
  // The tooth (index into the step's forces) and force of the last step observed.
  std::size_t LargestTooth() const { return FLargestTooth; }
  double Largest() const { return FLargest; }

 private:
  std::uint64_t FSteps = 0;
  std::size_t FLargestTooth = 0;
  double FLargest = 0.0;
  double FPrevious = 0.0;
  std::size_t FRises = 0;
};

}  // namespace orvela
