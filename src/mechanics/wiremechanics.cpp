#include "mechanics/wiremechanics.h"

#include <cmath>

namespace orvela {

std::array<TWireMaterial, 5> BuiltInMaterials() {
  return {{{172000.0, "Stainless Steel"},
           {72000.0, "TMA"},
           {45000.0, "Nitinol"},
           {206000.0, "Elgiloy"},
           {100000.0, "Other"}}};
}

// Row 6 holds 2.5 × 5.3 although its name says otherwise: kept as shipped.
std::array<TWireSize, 8> BuiltInSizes() {
  return {{{4.064, 0.0, "0.016"},
           {4.572, 0.0, "0.018"},
           {3.556, 0.0, "0.014"},
           {4.064, 4.064, "0.016 x 0.016"},
           {4.064, 5.588, "0.016 x 0.022"},
           {4.318, 6.35, "0.017 x 0.025"},
           {2.5, 5.3, "0.010 x 0.021"},
           {4.0, 4.0, "Other"}}};
}

const TModelSettings& DefaultModelSettings() {
  static const TModelSettings settings;
  return settings;
}

namespace {

// The chord directions A→B and B→A in (−π, π], bit for bit what
// AngleBetweenLines(pa, pb, (0,0), (100,0)) and AngleBetweenLines(pb, pa, ...) give, with
// one arctangent: the two quotients (−dy)/(−dx) and dy/dx are the same number.
void ChordDirections(TPointDouble pa, TPointDouble pb, double& a1, double& a2) {
  double ab;
  double ba;
  if (pa.y == pb.y) {
    ab = pb.x >= pa.x ? 0.0 : Pi;
    ba = pa.x >= pb.x ? 0.0 : Pi;
  } else if (pa.x == pb.x) {
    ab = pb.y > pa.y ? HalfPi : ThreeHalfPi;
    ba = pa.y > pb.y ? HalfPi : ThreeHalfPi;
  } else {
    double t = std::atan((pb.y - pa.y) / (pb.x - pa.x));
    if (t < 0) t += Pi;
    ab = pb.y < pa.y ? t + Pi : t;
    ba = pa.y < pb.y ? t + Pi : t;
  }
  // The reference line (0,0)→(100,0) has direction exactly 0.
  a1 = AngleDifference(ab, 0.0);
  a2 = AngleDifference(ba, 0.0);
}

// Angles from the chord to the two leaving directions; B's sense mirrored.
void EndAngles(const TWireEndPose& a, const TWireEndPose& b, TPointDouble pa, TPointDouble pb,
               double& a1, double& thetaA, double& thetaB) {
  double a2;
  ChordDirections(pa, pb, a1, a2);
  thetaA = NormalizeAngle(a.Direction - a1);
  thetaB = NormalizeAngle(-(b.Direction - a2));
}

}  // namespace

double MomentInertiaOf(const TWireSize& size) {
  if (size.CrossB != 0.0) {
    const double a = size.CrossA;
    return size.CrossB * (a * a * a) / 12.0;
  }
  const double r = size.CrossA / 2.0;
  return Pi * (r * r * r * r) / 4.0;
}

TForceMoment WireEndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end,
                           double modulus, double momentInertia, bool zeroWidthBrackets) {
  const TWireEndPose& self = end == TWireEnd::A ? a : b;
  TForceMoment result(self.Point, 0.0, 0.0, 0.0);
  const TPointDouble pa = zeroWidthBrackets ? a.BracketOrigin : a.Point;
  const TPointDouble pb = zeroWidthBrackets ? b.BracketOrigin : b.Point;
  if (zeroWidthBrackets) result.origin = self.BracketOrigin;

  const double length = PointDistance(pa, pb);
  if (length < 0.00001) return result;

  double a1;
  double thetaA;
  double thetaB;
  EndAngles(a, b, pa, pb, a1, thetaA, thetaB);

  const double ei = modulus * momentInertia;
  const double lengthSquared = length * length;
  const double kA = 6.0 * ei * thetaA / lengthSquared;
  const double kB = 6.0 * ei * thetaB / lengthSquared;
  double f;
  if (end == TWireEnd::A) {
    result.m = (2.0 / 3.0) * kA * length - (1.0 / 3.0) * kB * length;
    f = kA - kB;
  } else {
    result.m = (1.0 / 3.0) * kA * length - (2.0 / 3.0) * kB * length;
    f = kB - kA;
  }
  // Both ends push along the chord A→B turned a quarter turn clockwise.
  const double normal = a1 - HalfPi;
  result.x = f * std::cos(normal);
  result.y = f * std::sin(normal);
  return result;
}

double WireAngleRatio(const TWireEndPose& a, const TWireEndPose& b) {
  double a1;
  double c;
  double d;
  EndAngles(a, b, a.Point, b.Point, a1, c, d);
  if (c == 0.0 && d == 0.0) return 1.0;
  return std::fabs(c) >= std::fabs(d) ? -d / c : -c / d;
}

double AngleRatioOfMoments(double mA, double mB) {
  const bool aLarger = std::fabs(mA) >= std::fabs(mB);
  const double large = aLarger ? mA : mB;
  const double small = aLarger ? mB : mA;
  const double q = large == 0.0 ? 1.0 : small / large;
  return (2.0 * q - 1.0) / (2.0 - q);
}

const char* BurstoneClassOf(double angleRatio) {
  if (angleRatio <= -0.875) return "VI";
  if (angleRatio <= -0.625) return "V";
  if (angleRatio <= -0.25) return "IV";
  if (angleRatio <= 0.25) return "III";
  if (angleRatio <= 0.75) return "II";
  return "I";
}

}  // namespace orvela
