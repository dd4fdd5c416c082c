#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"

namespace orvela {

// A wire alloy: Young's modulus in the unit that, with lengths in model units (0.1 mm),
// gives forces in gf and moments in gf·0.1 mm without a further factor.
struct TWireMaterial {
  double Modulus = 0.0;
  std::string Name;
  // 0.1 % offset yield strength, MPa: beyond it the wire bends for good and its force system
  // no longer holds. 0 is unknown: no warning.
  double YieldStrength = 0.0;

  friend bool operator==(const TWireMaterial&, const TWireMaterial&) = default;
};

// A wire cross-section in model units. CrossA lies in the plane of the model (the wire
// bends across it), CrossB is the other side; CrossB = 0 marks a round wire of diameter
// CrossA. Name is the nominal size in inches.
struct TWireSize {
  double CrossA = 0.0;
  double CrossB = 0.0;
  std::string Name;

  friend bool operator==(const TWireSize&, const TWireSize&) = default;
};

// Beyond these a wire's forces overflow and the first run step turns the teeth's poses into
// not-a-number: the settings file and setup files take no row beyond them. Modulus in
// (0, LargestModulus], cross-section dimensions in [0, LargestCrossDimension] model units.
inline constexpr double LargestModulus = 1e7;
inline constexpr double LargestCrossDimension = 100.0;  // 10 mm
// Yield strengths in [0, LargestYieldStrength] MPa.
inline constexpr double LargestYieldStrength = 100000.0;

// The rows the program ships with.
std::array<TWireMaterial, 5> BuiltInMaterials();
std::array<TWireSize, 8> BuiltInSizes();

// What the forces of a setup and its new wires depend on: the wire tables (the settings may
// rewrite any row), the rows a new wire is made of, and whether forces are computed as if
// brackets had no width (both ends at their brackets' origins). The setup owns one; the
// preferences hold what a new setup starts with.
struct TModelSettings {
  std::array<TWireMaterial, 5> MaterialTable = BuiltInMaterials();
  std::array<TWireSize, 8> SizeTable = BuiltInSizes();
  // Copies of one row each.
  TWireMaterial DefaultWireMaterial = MaterialTable[0];
  TWireSize DefaultWireSize = SizeTable[0];
  bool ZeroWidthBrackets = false;

  friend bool operator==(const TModelSettings&, const TModelSettings&) = default;
};

// The built-in settings, for objects made outside a setup.
const TModelSettings& DefaultModelSettings();

// Second moment of area, (model units)^4: CrossB·CrossA³/12 for a rectangle, π·r⁴/4 with
// r = CrossA/2 for a round wire.
double MomentInertiaOf(const TWireSize& size);

// One end of a tied wire: where it sits and in which direction it leaves its slot.
struct TWireEndPose {
  TPointDouble Point;          // the attachment's Origin
  TPointDouble BracketOrigin;  // the Origin of the attachment's bracket
  double Direction = 0.0;      // leaving direction: bracket Tip + attachment Angulation
};

enum class TWireEnd { A, B };

// Force system a straight elastic beam, clamped at both ends, exerts on end `end`.
// With the chord A→B of length L and direction a1, θA = angle from the chord to the
// leaving direction at A (counterclockwise positive) and θB the same at B mirrored (a
// symmetric bend has θA = θB), EI = modulus·momentInertia:
//   m_A = (2EI/L)(2θA − θB),  m_B = (2EI/L)(θA − 2θB)   (gf·0.1 mm, clockwise positive)
//   f_A = 6EI(θA − θB)/L² = −f_B, acting along the chord turned a quarter turn clockwise.
// The two end systems cancel. The system sits at the end's Point, or at its BracketOrigin
// when zeroWidthBrackets is set, which also measures the chord between bracket origins.
// Ends closer than 0.00001 units give a zero system. Both ends tied; free ends are the
// caller's case.
TForceMoment WireEndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end,
                           double modulus, double momentInertia, bool zeroWidthBrackets);

// A bend placed in the wire's stress-free shape, at Position α ∈ [0, 1] of the chord from end
// A. A V-bend turns the wire by Value = θ radians as it runs from A to B, counterclockwise
// positive; a step offsets the part beyond it by Value = h model units to the left of A→B.
enum class TBendKind { V, Step };

struct TWireBend {
  TBendKind Kind = TBendKind::V;
  double Position = 0.5;
  double Value = 0.0;

  friend bool operator==(const TWireBend&, const TWireBend&) = default;
};

// Bends are kept out of the slots so that both segments exist.
inline constexpr double SmallestBendPosition = 0.01;
inline constexpr double LargestBendPosition = 0.99;

// What the bends add to the end angles θA, θB of WireEndForces (same senses).
//
// Why they superpose: take x along the chord, w the wire's offset to its left, and w₀ the
// stress-free shape with both ends on the chord. Between the slots no load acts, so the
// bending moment EI(w − w₀)'' is linear in x and u = w − w₀ is one cubic over the whole span
// (the kink or offset lies wholly in w₀). u vanishes at both ends and its end slopes are the
// slot slopes less w₀'s: u'(0) = θA − w₀'(0), u'(L) = −θB − w₀'(L). The end systems are then
// those of a straight wire with θA' = θA − w₀'(0) and θB' = θB + w₀'(L).
//   V-bend (α, θ): w₀ = −θ(1−α)x + θ·max(0, x − αL), so ΔθA = θ(1−α), ΔθB = θα.
//   Step (α, h):   w₀ = −hx/L + h·[x ≥ αL],           so ΔθA = h/L,    ΔθB = −h/L.
// In the two slopes (both counterclockwise from the chord) that is (θ(1−α), −θα) for the
// V-bend and h/L at both ends for the step. So a centred V gives m_B = −m_A and no force, a V at
// α = 1/3 leaves end B without moment, a V at a bracket gives m_B/m_A → 1/2, and a step
// anywhere gives m_A = m_B = 6EIh/L² with f = 2m/L.
struct TBendAngles {
  double A = 0.0;
  double B = 0.0;
};
TBendAngles BendEndAngles(std::span<const TWireBend> bends, double length);

// WireEndForces with bends in the wire: the chord length between the ends it measures
// (bracket origins when zeroWidthBrackets) scales the steps. With no bends it is
// WireEndForces bit for bit.
TForceMoment BentWireEndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end,
                               double modulus, double momentInertia, bool zeroWidthBrackets,
                               std::span<const TWireBend> bends);

// The deflected wire between the attachment points of a and b with its bends, in model
// units: `perSegment` + 1 points on each stretch between bends (a step draws as its two
// sides joined), end A first. Offsets are the cubic u plus the stress-free shape w₀ above.
std::vector<TPointDouble> BentWireShape(const TWireEndPose& a, const TWireEndPose& b,
                                        std::span<const TWireBend> bends, int perSegment);

// The end angles θA, θB between the attachment points with the bends added, as
// WireEndForces measures them.
TBendAngles EffectiveEndAngles(const TWireEndPose& a, const TWireEndPose& b,
                               std::span<const TWireBend> bends);

// Largest bending stress along the wire, MPa: the moment is linear between the ends, so it is
// max(|m_A|, |m_B|)·c/I at an end, with c = CrossA/2, the half-height in the plane of the
// model (moments in gf·0.1 mm as WireEndForces gives them).
double LargestBendingStress(double momentA, double momentB, const TWireSize& size);

// Small-deflection beam theory takes the curvature w''/(1 + w'²)^{3/2} as w''. While the
// angle between a slot and the chord stays within 10°, 1/cos³ of it stays under 1.05: the
// curvature, and so the moments, are within 5 %. docs/wire-bends.md says more.
inline constexpr double SmallDeflectionLimit = 10.0 * Pi / 180.0;

// Smaller end angle over the larger, negated, in [−1, 1] (1 when the wire leaves both slots
// along its chord); measured between the attachment points whatever the bracket width.
double WireAngleRatio(const TWireEndPose& a, const TWireEndPose& b);
// The same of the end angles with the bends added (EffectiveEndAngles).
double BentWireAngleRatio(const TWireEndPose& a, const TWireEndPose& b,
                          std::span<const TWireBend> bends);

// The angle ratio whose two clamped ends bear moments mA and mB (either order): with q the
// smaller moment over the larger (1 when both vanish), (2q − 1)/(2 − q), the inverse of the
// beam's moment ratio (1 + 2r)/(2 + r) at angle ratio r.
double AngleRatioOfMoments(double mA, double mB);

// Two-bracket geometry class "I" … "VI" of an angle ratio; each boundary belongs to the
// class on its lower side.
const char* BurstoneClassOf(double angleRatio);

}  // namespace orvela
