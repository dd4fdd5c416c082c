#pragma once

#include <array>
#include <string>

#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"

namespace orvela {

// A wire alloy: Young's modulus in the unit that, with lengths in model units (0.1 mm),
// gives forces in gf and moments in gf·0.1 mm without a further factor.
struct TWireMaterial {
  double Modulus = 0.0;
  std::string Name;

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

// Smaller end angle over the larger, negated, in [−1, 1] (1 when the wire leaves both slots
// along its chord); measured between the attachment points whatever the bracket width.
double WireAngleRatio(const TWireEndPose& a, const TWireEndPose& b);

// The angle ratio whose two clamped ends bear moments mA and mB (either order): with q the
// smaller moment over the larger (1 when both vanish), (2q − 1)/(2 − q), the inverse of the
// beam's moment ratio (1 + 2r)/(2 + r) at angle ratio r.
double AngleRatioOfMoments(double mA, double mB);

// Two-bracket geometry class "I" … "VI" of an angle ratio; each boundary belongs to the
// class on its lower side.
const char* BurstoneClassOf(double angleRatio);

}  // namespace orvela
