#include "model/clinicaltime.h"

#include <cmath>

#include "util/format.h"

namespace orvela {

namespace {

// v = k·σ^n through (4 kPa, 0.87 mm/month) and (13 kPa, 1.27 mm/month).
const double RateExponent = std::log(1.27 / 0.87) / std::log(13.0 / 4.0);
const double RateFactor = 0.87 / std::pow(4.0, RateExponent);

}  // namespace

std::optional<double> MovementRate(double stressKPa) {
  if (!(stressKPa >= FittedStressLow && stressKPa <= FittedStressHigh)) return std::nullopt;
  return RateFactor * std::pow(stressKPa, RateExponent);
}

std::optional<double> DaysForMovement(double distanceMm, double stressKPa) {
  const std::optional<double> rate = MovementRate(stressKPa);
  if (!rate || !std::isfinite(distanceMm) || distanceMm < 0.0) return std::nullopt;
  return distanceMm / *rate * DaysPerMonth;
}

std::string ClinicalTimeText(double distanceMm, double stressKPa) {
  const std::optional<double> days = DaysForMovement(distanceMm, stressKPa);
  if (!days) return "outside the fitted range (4–13 kPa)";
  return "≈ " + FormatFloat("0", *days) + " days (estimate)";
}

}  // namespace orvela
