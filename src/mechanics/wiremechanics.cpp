#include "mechanics/wiremechanics.h"

#include <algorithm>
#include <cmath>

namespace orvela {

// Yield strengths (0.1 % offset, tension) as tabulated by Kapila & Sachdeva, "Mechanical
// properties and clinical applications of orthodontic wires", Am J Orthod Dentofacial Orthop
// 1989;96:100–109: stainless steel 1579 MPa, TMA (beta titanium) 965 MPa and Elgiloy
// (cobalt-chromium, blue, as received) 1413 MPa; Verstrynge et al., Am J Orthod Dentofacial
// Orthop 2006;130:460–470, measured 0.2 % yield strengths of the same order for current steel
// and beta-titanium wires. Nitinol's 0.1 % offset figure (about 430 MPa) marks the start of
// its transformation plateau, not permanent set: Rucker & Kusy, Am J Orthod Dentofacial Orthop
// 2002;122:528–541, found round superelastic NiTi wires elastic to about 90 % of their
// ultimate tensile strength, taken here as 1200 MPa. "Other" takes 1000 MPa, a middle figure.
std::array<TWireMaterial, 5> BuiltInMaterials() {
  return {{{172000.0, "Stainless Steel", 1579.0},
           {72000.0, "TMA", 965.0},
           {45000.0, "Nitinol", 1200.0},
           {206000.0, "Elgiloy", 1413.0},
           {100000.0, "Other", 1000.0}}};
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

namespace {

// The end system with the bends' angles added after the slots' are measured; no bends adds
// nothing, not even a zero, so the straight wire keeps its numbers.
TForceMoment EndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end, double modulus,
                       double momentInertia, bool zeroWidthBrackets,
                       std::span<const TWireBend> bends) {
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
  if (!bends.empty()) {
    const TBendAngles extra = BendEndAngles(bends, length);
    thetaA += extra.A;
    thetaB += extra.B;
  }

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

double RatioOf(double c, double d) {
  if (c == 0.0 && d == 0.0) return 1.0;
  return std::fabs(c) >= std::fabs(d) ? -d / c : -c / d;
}

}  // namespace

TBendAngles BendEndAngles(std::span<const TWireBend> bends, double length) {
  TBendAngles sum;
  for (const TWireBend& bend : bends) {
    if (bend.Kind == TBendKind::V) {
      sum.A += bend.Value * (1.0 - bend.Position);
      sum.B += bend.Value * bend.Position;
    } else if (length > 0.0) {
      sum.A += bend.Value / length;
      sum.B -= bend.Value / length;
    }
  }
  return sum;
}

TForceMoment WireEndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end,
                           double modulus, double momentInertia, bool zeroWidthBrackets) {
  return EndForces(a, b, end, modulus, momentInertia, zeroWidthBrackets, {});
}

TForceMoment BentWireEndForces(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end,
                               double modulus, double momentInertia, bool zeroWidthBrackets,
                               std::span<const TWireBend> bends) {
  return EndForces(a, b, end, modulus, momentInertia, zeroWidthBrackets, bends);
}

TBendAngles EffectiveEndAngles(const TWireEndPose& a, const TWireEndPose& b,
                               std::span<const TWireBend> bends) {
  double a1;
  TBendAngles angles;
  EndAngles(a, b, a.Point, b.Point, a1, angles.A, angles.B);
  if (!bends.empty()) {
    const TBendAngles extra = BendEndAngles(bends, PointDistance(a.Point, b.Point));
    angles.A += extra.A;
    angles.B += extra.B;
  }
  return angles;
}

double BentWireAngleRatio(const TWireEndPose& a, const TWireEndPose& b,
                          std::span<const TWireBend> bends) {
  const TBendAngles angles = EffectiveEndAngles(a, b, bends);
  return RatioOf(angles.A, angles.B);
}

std::vector<TPointDouble> BentWireShape(const TWireEndPose& a, const TWireEndPose& b,
                                        std::span<const TWireBend> bends, int perSegment) {
  const TPointDouble pa = a.Point;
  const TPointDouble pb = b.Point;
  const double length = PointDistance(pa, pb);
  std::vector<TPointDouble> points;
  if (length < 0.00001 || perSegment < 1) {
    points = {pa, pb};
    return points;
  }
  const TBendAngles theta = EffectiveEndAngles(a, b, bends);
  const double ux = (pb.x - pa.x) / length;
  const double uy = (pb.y - pa.y) / length;
  // Offset at t ∈ [0, 1]: the Hermite cubic of the effective slopes plus the stress-free
  // shape; `past` counts a bend at exactly t as passed (a step's far side).
  const auto offset = [&](double t, bool past) {
    const double t2 = t * t;
    double w = length * (theta.A * (t2 * t - 2.0 * t2 + t) - theta.B * (t2 * t - t2));
    for (const TWireBend& bend : bends) {
      const bool beyond = past ? t >= bend.Position : t > bend.Position;
      if (bend.Kind == TBendKind::V) {
        w += bend.Value * length * (-(1.0 - bend.Position) * t + std::max(0.0, t - bend.Position));
      } else {
        w += bend.Value * ((beyond ? 1.0 : 0.0) - t);
      }
    }
    return w;
  };
  const auto at = [&](double t, bool past) {
    const double w = offset(t, past);
    return TPointDouble{pa.x + t * length * ux - w * uy, pa.y + t * length * uy + w * ux};
  };
  std::vector<double> stops{0.0};
  for (const TWireBend& bend : bends) stops.push_back(std::clamp(bend.Position, 0.0, 1.0));
  stops.push_back(1.0);
  std::sort(stops.begin(), stops.end());
  points.reserve((stops.size() - 1) * static_cast<std::size_t>(perSegment + 1));
  for (std::size_t s = 0; s + 1 < stops.size(); ++s) {
    const double t0 = stops[s];
    const double t1 = stops[s + 1];
    for (int k = 0; k <= perSegment; ++k) {
      const double t = t0 + (t1 - t0) * k / perSegment;
      // Each stretch starts on the far side of its bend and ends on the near side.
      points.push_back(at(t, k < perSegment));
    }
  }
  points.front() = pa;
  points.back() = pb;
  return points;
}

double WireAngleRatio(const TWireEndPose& a, const TWireEndPose& b) {
  double a1;
  double c;
  double d;
  EndAngles(a, b, a.Point, b.Point, a1, c, d);
  return RatioOf(c, d);
}

double LargestBendingStress(double momentA, double momentB, const TWireSize& size) {
  const double inertia = MomentInertiaOf(size);
  if (inertia <= 0.0) return 0.0;
  // gf per (0.1 mm)² is 100 gf/mm², and 1 gf/mm² is 0.00980665 MPa.
  constexpr double MPaPerModelStress = 100.0 * 0.00980665;
  const double moment = std::max(std::fabs(momentA), std::fabs(momentB));
  return moment * (size.CrossA / 2.0) / inertia * MPaPerModelStress;
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
