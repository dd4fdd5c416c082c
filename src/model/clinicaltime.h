#pragma once

#include <optional>
#include <string>

namespace orvela {

// An estimate of clinical time for a tooth's movement from the mean compressive stress in its
// periodontal ligament. Rate law, fitted to the two mean rates Iwasaki et al. measured when
// retracting human maxillary canines with continuous low forces (Am J Orthod Dentofacial
// Orthop 2000;117:175–183: 0.87 mm/month at an estimated 4 kPa, 1.27 mm/month at 13 kPa):
//   v = 0.5576 · σ^0.3209  mm/month,  σ in kPa,
// the power law through both points (v → 0 as σ → 0). Valid only within the fitted stresses,
// FittedStressLow … FittedStressHigh; individuals varied by as much as 3 to 1 there.
// docs/clinical-time.md gives more.
inline constexpr double FittedStressLow = 4.0;    // kPa
inline constexpr double FittedStressHigh = 13.0;  // kPa
inline constexpr double DaysPerMonth = 365.25 / 12.0;

// Rate of movement, mm per month, at stress kPa; none outside the fitted range.
std::optional<double> MovementRate(double stressKPa);

// Days a movement of distanceMm takes at stressKPa; none outside the fitted range (or for a
// negative or not finite distance). A distance of 0 takes 0 days.
std::optional<double> DaysForMovement(double distanceMm, double stressKPa);

// What the tooth dialog and the history show: "≈ N days (estimate)", N whole, or
// "outside the fitted range (4–13 kPa)".
std::string ClinicalTimeText(double distanceMm, double stressKPa);

}  // namespace orvela
