#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "mechanics/wiremechanics.h"

namespace orvela {
namespace {

constexpr double SteelModulus = 172000.0;

std::pair<TWireEndPose, TWireEndPose> Poses(TPointDouble pa, TPointDouble pb, double thetaA,
                                            double thetaB) {
  const double a1 = LineAngle(pa, pb);
  return {TWireEndPose{pa, pa, a1 + thetaA}, TWireEndPose{pb, pb, a1 + Pi - thetaB}};
}

// The clamped wire with one bend as two Hermite beam elements meeting at the bend, solved
// for the bend node's offset and slope; the far element starts turned by a V-bend's angle or
// raised by a step's height. Returns the systems on the two brackets in the chord's frame:
// {force to the left of A→B, moment clockwise} at A, then at B.
std::array<double, 4> TwoElementSolution(double ei, double length, double thetaA, double thetaB,
                                         const TWireBend& bend) {
  using M4 = std::array<std::array<double, 4>, 4>;
  const auto element = [ei](double l) {
    const double k = ei / (l * l * l);
    return M4{{{12 * k, 6 * l * k, -12 * k, 6 * l * k},
               {6 * l * k, 4 * l * l * k, -6 * l * k, 2 * l * l * k},
               {-12 * k, -6 * l * k, 12 * k, -6 * l * k},
               {6 * l * k, 2 * l * l * k, -6 * l * k, 4 * l * l * k}}};
  };
  const M4 k1 = element(bend.Position * length);
  const M4 k2 = element((1 - bend.Position) * length);
  const double jumpW = bend.Kind == TBendKind::Step ? bend.Value : 0.0;
  const double jumpS = bend.Kind == TBendKind::V ? bend.Value : 0.0;
  // Element 1: (0, θA, w, s); element 2: (w + jumpW, s + jumpS, 0, −θB). Stationary energy
  // in (w, s): K q = r.
  double k[2][2];
  double r[2];
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) k[i][j] = k1[2 + i][2 + j] + k2[i][j];
    r[i] = -(k1[2 + i][1] * thetaA + k2[i][3] * -thetaB + k2[i][0] * jumpW + k2[i][1] * jumpS);
  }
  const double det = k[0][0] * k[1][1] - k[0][1] * k[1][0];
  const double w = (r[0] * k[1][1] - k[0][1] * r[1]) / det;
  const double s = (k[0][0] * r[1] - k[1][0] * r[0]) / det;
  const std::array<double, 4> d1{0, thetaA, w, s};
  const std::array<double, 4> d2{w + jumpW, s + jumpS, 0, -thetaB};
  const auto row = [](const M4& m, int i, const std::array<double, 4>& d) {
    return m[i][0] * d[0] + m[i][1] * d[1] + m[i][2] * d[2] + m[i][3] * d[3];
  };
  // The clamps' reactions on the wire (force along +y, moment counterclockwise); a bracket
  // takes the force reversed, and a counterclockwise moment on the wire is a clockwise one on
  // the slot.
  return {-row(k1, 0, d1), row(k1, 1, d1), -row(k2, 2, d2), row(k2, 3, d2)};
}

TEST(WireBends, AgreeWithATwoElementBeamSolution) {
  const double inertia = MomentInertiaOf({4.064, 5.588, ""});
  const double ei = SteelModulus * inertia;
  const std::pair<TPointDouble, TPointDouble> chords[] = {
      {{0, 0}, {80, 0}}, {{100, 100}, {160, 20}}, {{300, 200}, {220, 230}}};
  const TWireBend bends[] = {{TBendKind::V, 0.5, 0.2},
                             {TBendKind::V, 0.2, -0.15},
                             {TBendKind::V, 0.9, 0.3},
                             {TBendKind::Step, 0.4, 5.0},
                             {TBendKind::Step, 0.75, -3}};
  const std::pair<double, double> angles[] = {{0, 0}, {0.1, -0.05}, {-0.08, 0.12}};
  for (const auto& [pa, pb] : chords) {
    const double l = PointDistance(pa, pb);
    const double a1 = LineAngle(pa, pb);
    const TPointDouble left{-std::sin(a1), std::cos(a1)};
    for (const TWireBend& bend : bends) {
      for (const auto& [ta, tb] : angles) {
        SCOPED_TRACE(testing::Message()
                     << "chord " << pa.x << "," << pa.y << " bend " << bend.Position << " "
                     << bend.Value << " angles " << ta << " " << tb);
        const auto [a, b] = Poses(pa, pb, ta, tb);
        const std::array<TWireBend, 1> list{bend};
        const TForceMoment fa =
            BentWireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false, list);
        const TForceMoment fb =
            BentWireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, false, list);
        const std::array<double, 4> fe = TwoElementSolution(ei, l, ta, tb, bend);
        const double tol = 1e-9 * (std::fabs(fe[1]) + std::fabs(fe[3]) + 1);
        EXPECT_NEAR(fa.m, fe[1], tol);
        EXPECT_NEAR(fb.m, fe[3], tol);
        EXPECT_NEAR(fa.x, fe[0] * left.x, tol / l);
        EXPECT_NEAR(fa.y, fe[0] * left.y, tol / l);
        EXPECT_NEAR(fb.x, fe[2] * left.x, tol / l);
        EXPECT_NEAR(fb.y, fe[2] * left.y, tol / l);
        // The two end systems are in equilibrium: forces cancel, and so do the moments about
        // A, the force at B acting at arm L across the chord.
        EXPECT_NEAR(fa.x + fb.x, 0.0, tol / l);
        EXPECT_NEAR(fa.y + fb.y, 0.0, tol / l);
        const double armMoment = (pb.x - pa.x) * fb.y - (pb.y - pa.y) * fb.x;  // ccw
        EXPECT_NEAR(-fa.m - fb.m + armMoment, 0.0, tol);
      }
    }
  }
}

TEST(WireBends, BurstoneKoenigTablePointsAndTheStep) {
  const double inertia = MomentInertiaOf({4.572, 0, ""});
  const auto [a, b] = Poses({100, 100}, {180, 100}, 0.0, 0.0);
  const auto ratio = [&](double alpha) {
    const std::array<TWireBend, 1> v{{{TBendKind::V, alpha, 0.2}}};
    const double mA = BentWireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false, v).m;
    const double mB = BentWireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, false, v).m;
    return mB / mA;
  };
  EXPECT_NEAR(ratio(1e-6), 0.5, 1e-6);
  EXPECT_NEAR(ratio(1.0 / 3.0), 0.0, 1e-12);
  EXPECT_NEAR(ratio(0.5), -1.0, 1e-12);
  // Symmetric about the middle: a V near B gives B twice A's moment.
  EXPECT_NEAR(ratio(1 - 1e-6), 2.0, 1e-5);
  const std::array<TWireBend, 1> centred{{{TBendKind::V, 0.5, 0.2}}};
  EXPECT_NEAR(
      BentWireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false, centred).Magnitude(), 0.0,
      1e-9);
  EXPECT_DOUBLE_EQ(BentWireAngleRatio(a, b, centred), -1.0);
  const std::array<TWireBend, 1> third{{{TBendKind::V, 1.0 / 3.0, 0.2}}};
  EXPECT_NEAR(BentWireAngleRatio(a, b, third), -0.5, 1e-12);

  // A step: equal moments of the same sense wherever it sits, F = 2M/L.
  for (const double alpha : {0.1, 0.5, 0.8}) {
    const std::array<TWireBend, 1> step{{{TBendKind::Step, alpha, 4.0}}};
    const TForceMoment fa =
        BentWireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false, step);
    const TForceMoment fb =
        BentWireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, false, step);
    EXPECT_NEAR(fa.m, fb.m, 1e-9 * std::fabs(fa.m));
    EXPECT_NEAR(fa.m, 6 * SteelModulus * inertia * 4.0 / (80.0 * 80.0), 1e-9 * fa.m);
    EXPECT_NEAR(fa.Magnitude(), 2 * fa.m / 80.0, 1e-9 * fa.Magnitude());
    EXPECT_DOUBLE_EQ(BentWireAngleRatio(a, b, step), 1.0);
  }
}

TEST(WireBends, NoBendsIsTheStraightWireBitForBit) {
  const double inertia = MomentInertiaOf({4.064, 0, ""});
  const auto [a, b] = Poses({10, 20}, {93, 41}, 0.13, -0.07);
  for (const bool zero : {false, true}) {
    for (const TWireEnd end : {TWireEnd::A, TWireEnd::B}) {
      const TForceMoment straight = WireEndForces(a, b, end, SteelModulus, inertia, zero);
      const TForceMoment bent = BentWireEndForces(a, b, end, SteelModulus, inertia, zero, {});
      EXPECT_EQ((std::array<double, 3>{bent.x, bent.y, bent.m}),
                (std::array<double, 3>{straight.x, straight.y, straight.m}));
    }
  }
  EXPECT_EQ(BentWireAngleRatio(a, b, {}), WireAngleRatio(a, b));
}

TEST(WireBends, ShapeRunsThroughTheEndsAlongTheSlotsAndKinksAtTheBend) {
  const auto [a, b] = Poses({0, 0}, {100, 0}, 0.05, 0.02);
  const std::array<TWireBend, 2> bends{{{TBendKind::V, 0.3, 0.2}, {TBendKind::Step, 0.7, 3.0}}};
  const std::vector<TPointDouble> shape = BentWireShape(a, b, bends, 100);
  ASSERT_EQ(shape.size(), 3u * 101u);
  EXPECT_EQ(shape.front(), a.Point);
  EXPECT_EQ(shape.back(), b.Point);
  const auto slope = [&shape](std::size_t i) {
    return std::atan2(shape[i + 1].y - shape[i].y, shape[i + 1].x - shape[i].x);
  };
  // Leaves A along its slot and arrives at B along its slot.
  EXPECT_NEAR(slope(0), 0.05, 2e-3);
  EXPECT_NEAR(-slope(shape.size() - 2), 0.02, 2e-3);
  // The V turns the wire by its angle at the bend, where the two stretches meet.
  EXPECT_EQ(shape[100], shape[101]);
  EXPECT_NEAR(slope(101) - slope(99), 0.2, 3e-3);
  // The step's two sides sit at the same x, h apart.
  EXPECT_NEAR(shape[202].x, shape[201].x, 1e-12);
  EXPECT_NEAR(shape[202].y - shape[201].y, 3.0, 1e-12);
}

// By hand in N and mm: a round wire's σ = 32M/(πd³), a rectangle bent across its side h in
// the plane, σ = 6M/(b·h²); the larger end moment counts.
TEST(WireBends, LargestBendingStressByHand) {
  constexpr double NPerGf = 0.00980665;
  const double m = 1000.0 * NPerGf;  // 1000 gf·mm
  EXPECT_NEAR(LargestBendingStress(-10000.0, 4000.0, {4.064, 0, "0.016"}),
              32 * m / (Pi * std::pow(0.4064, 3)), 1e-9);
  EXPECT_NEAR(LargestBendingStress(-10000.0, 4000.0, {4.064, 0, "0.016"}), 1488.2, 0.1);
  EXPECT_NEAR(LargestBendingStress(3000.0, 10000.0, {4.064, 5.588, "0.016 x 0.022"}),
              6 * m / (0.5588 * 0.4064 * 0.4064), 1e-9);
  EXPECT_NEAR(LargestBendingStress(3000.0, 10000.0, {4.064, 5.588, "0.016 x 0.022"}), 637.5, 0.1);
  EXPECT_EQ(LargestBendingStress(5.0, 5.0, {0, 0, "none"}), 0.0);
}

}  // namespace
}  // namespace orvela
