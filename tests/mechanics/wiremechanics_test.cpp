#include "mechanics/wiremechanics.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <utility>

namespace orvela {
namespace {

constexpr double SteelModulus = 172000.0;

// Two tied ends with end angles thetaA, thetaB against the chord pa→pb; the brackets sit
// a little beside their attachments.
std::pair<TWireEndPose, TWireEndPose> Poses(TPointDouble pa, TPointDouble pb, double thetaA,
                                            double thetaB) {
  const double a1 = AngleBetweenLines(pa, pb, {0, 0}, {100, 0});
  const double a2 = AngleBetweenLines(pb, pa, {0, 0}, {100, 0});
  return {TWireEndPose{pa, {pa.x - 3, pa.y + 1}, a1 + thetaA},
          TWireEndPose{pb, {pb.x + 2, pb.y - 4}, a2 - thetaB}};
}

// The end computation written out step by step, for a bit-for-bit comparison.
TForceMoment ReferenceEnd(const TWireEndPose& a, const TWireEndPose& b, TWireEnd end, double e,
                          double i, bool zero) {
  const TWireEndPose& self = end == TWireEnd::A ? a : b;
  TForceMoment r(zero ? self.BracketOrigin : self.Point, 0, 0, 0);
  const TPointDouble pa = zero ? a.BracketOrigin : a.Point;
  const TPointDouble pb = zero ? b.BracketOrigin : b.Point;
  const double l = PointDistance(pa, pb);
  if (l < 0.00001) return r;
  const double a1 = AngleBetweenLines(pa, pb, {0, 0}, {100, 0});
  const double a2 = AngleBetweenLines(pb, pa, {0, 0}, {100, 0});
  const double ta = NormalizeAngle(a.Direction - a1);
  const double tb = NormalizeAngle(-(b.Direction - a2));
  const double ei = e * i;
  const double ka = 6 * ei * ta / (l * l);
  const double kb = 6 * ei * tb / (l * l);
  double f;
  if (end == TWireEnd::A) {
    r.m = (2.0 / 3.0) * ka * l - (1.0 / 3.0) * kb * l;
    f = ka - kb;
  } else {
    r.m = (1.0 / 3.0) * ka * l - (2.0 / 3.0) * kb * l;
    f = kb - ka;
  }
  r.x = f * std::cos(a1 - HalfPi);
  r.y = f * std::sin(a1 - HalfPi);
  return r;
}

TEST(WireTables, BuiltInRowsAreTheDefaultSettings) {
  const TModelSettings model;
  EXPECT_EQ(model.MaterialTable[0].Name, "Stainless Steel");
  EXPECT_EQ(model.MaterialTable[0].Modulus, 172000.0);
  EXPECT_EQ(model.MaterialTable[1].Modulus, 72000.0);
  EXPECT_EQ(model.MaterialTable[2].Name, "Nitinol");
  EXPECT_EQ(model.MaterialTable[3].Modulus, 206000.0);
  EXPECT_EQ(model.MaterialTable[4].Name, "Other");
  EXPECT_EQ(model.SizeTable[2].Name, "0.014");
  EXPECT_EQ(model.SizeTable[2].CrossA, 3.556);
  EXPECT_EQ(model.SizeTable[5].CrossB, 6.35);
  EXPECT_EQ(model.SizeTable[6].Name, "0.010 x 0.021");
  EXPECT_EQ(model.SizeTable[6].CrossA, 2.5);
  EXPECT_EQ(model.SizeTable[6].CrossB, 5.3);
  EXPECT_EQ(model.SizeTable[7].CrossA, 4.0);
  EXPECT_EQ(model.DefaultWireMaterial.Name, "Stainless Steel");
  EXPECT_EQ(model.DefaultWireSize.Name, "0.016");
  EXPECT_FALSE(model.ZeroWidthBrackets);
  EXPECT_EQ(DefaultModelSettings(), model);
}

TEST(WireMechanics, MomentInertia) {
  EXPECT_DOUBLE_EQ(MomentInertiaOf({4.064, 0, "0.016"}), Pi * std::pow(2.032, 4) / 4);
  EXPECT_DOUBLE_EQ(MomentInertiaOf({4.064, 4.064, "sq"}), std::pow(4.064, 4) / 12);
  // Bending across CrossA: the in-plane side is cubed.
  EXPECT_DOUBLE_EQ(MomentInertiaOf({4.064, 5.588, "r"}), 5.588 * std::pow(4.064, 3) / 12);
  EXPECT_DOUBLE_EQ(MomentInertiaOf({5.588, 0, "read back round"}), Pi * std::pow(2.794, 4) / 4);
}

TEST(WireMechanics, ClosedFormsOnAnyChord) {
  const double inertia = MomentInertiaOf({4.064, 0, ""});
  const double ei = SteelModulus * inertia;
  const std::pair<TPointDouble, TPointDouble> chords[] = {
      {{0, 0}, {80, 0}},    {{300, 200}, {220, 200}}, {{50, 10}, {50, 90}},
      {{50, 90}, {50, 10}}, {{100, 100}, {160, 20}},  {{400, 500}, {345, 530}},
  };
  const std::pair<double, double> angles[] = {
      {0.1, 0.1}, {0.1, -0.1}, {0.1, 0.0}, {-0.12, -0.06}, {0.05, 0.2}, {0.0, -0.3},
  };
  for (const auto& [pa, pb] : chords) {
    const double l = PointDistance(pa, pb);
    const double a1 = LineAngle(pa, pb);
    const TPointDouble normal{std::sin(a1), -std::cos(a1)};  // chord turned clockwise
    for (const auto& [ta, tb] : angles) {
      SCOPED_TRACE(testing::Message() << "chord " << pa.x << "," << pa.y << " -> " << pb.x << ","
                                      << pb.y << ", angles " << ta << ", " << tb);
      const auto [a, b] = Poses(pa, pb, ta, tb);
      const TForceMoment fa = WireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false);
      const TForceMoment fb = WireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, false);
      const double mA = 2 * ei / l * (2 * ta - tb);
      const double mB = 2 * ei / l * (ta - 2 * tb);
      const double f = 6 * ei * (ta - tb) / (l * l);
      const double tol = 1e-9 * (std::fabs(mA) + std::fabs(mB) + 1);
      EXPECT_NEAR(fa.m, mA, tol);
      EXPECT_NEAR(fb.m, mB, tol);
      EXPECT_NEAR(fa.x, f * normal.x, tol);
      EXPECT_NEAR(fa.y, f * normal.y, tol);
      EXPECT_NEAR(fa.Magnitude(), std::fabs(fa.m + fb.m) / l, tol);
      EXPECT_EQ(fb.x, -fa.x);
      EXPECT_EQ(fb.y, -fa.y);
      EXPECT_EQ(fa.origin, pa);
      EXPECT_EQ(fb.origin, pb);
      if (ta == tb) {
        EXPECT_NEAR(fa.Magnitude(), 0.0, tol);
        EXPECT_NEAR(fa.m, 2 * ei * ta / l, tol);
        EXPECT_NEAR(fb.m, -fa.m, tol);
      }
      if (tb == -ta) {
        EXPECT_NEAR(fa.m, 6 * ei * ta / l, tol);
        EXPECT_NEAR(fb.m, fa.m, tol);
        EXPECT_NEAR(fa.Magnitude(), 12 * ei * std::fabs(ta) / (l * l), tol);
      }
      if (tb == 0) {
        EXPECT_NEAR(fa.m, 4 * ei * ta / l, tol);
        EXPECT_NEAR(fb.m, 2 * ei * ta / l, tol);
        EXPECT_GT(fa.m * ta, 0.0);  // the moment turns slot A back towards the chord
      }
      if (tb == ta / 2) {
        EXPECT_NEAR(fb.m, 0.0, tol);
      }
    }
  }
}

TEST(WireMechanics, SteelRoundWireWorkedExample) {
  const double inertia = Pi * std::pow(2.032, 4) / 4;
  const auto [a, b] = Poses({100, 100}, {180, 100}, 0.1, 0.0);
  const TForceMoment fa = WireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false);
  const TForceMoment fb = WireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, false);
  const double f = 6 * SteelModulus * inertia * 0.1 / 6400;
  EXPECT_NEAR(fa.x, 0.0, 1e-12);
  EXPECT_NEAR(fa.y, -f, 1e-9);  // horizontal chord: pushed straight down at A
  EXPECT_NEAR(fa.m, 2.0 / 3.0 * f * 80, 1e-9);
  EXPECT_NEAR(fb.m, fa.m / 2, 1e-9);
}

TEST(WireMechanics, EndSystemsCancel) {
  const double inertia = MomentInertiaOf({4.318, 6.35, ""});
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> pos(0, 1000);
  std::uniform_real_distribution<double> ang(-0.4, 0.4);
  for (int i = 0; i < 50; ++i) {
    const auto [a, b] = Poses({pos(gen), pos(gen)}, {pos(gen), pos(gen)}, ang(gen), ang(gen));
    for (const bool zero : {false, true}) {
      const TForceMoment fa = WireEndForces(a, b, TWireEnd::A, 45000, inertia, zero);
      const TForceMoment fb = WireEndForces(a, b, TWireEnd::B, 45000, inertia, zero);
      const double scale = std::fabs(fa.m) + std::fabs(fb.m) + 1;
      EXPECT_EQ(fa.x + fb.x, 0.0);
      EXPECT_EQ(fa.y + fb.y, 0.0);
      for (const TPointDouble p :
           {a.Point, b.BracketOrigin, TPointDouble{0, 0}, TPointDouble{1000, -250}}) {
        EXPECT_NEAR(fa.MomentAtPoint(p) + fb.MomentAtPoint(p), 0.0, 1e-9 * scale);
      }
      // Both ends tied to one tooth leave its total unchanged.
      TForceMoment total({3, 4}, 1, 2, 3);
      total.Add(fa);
      total.Add(fb);
      EXPECT_NEAR(total.x, 1, 1e-9 * scale);
      EXPECT_NEAR(total.y, 2, 1e-9 * scale);
      EXPECT_NEAR(total.MomentAtPoint({3, 4}), 3, 1e-6 * scale);
    }
  }
}

TEST(WireMechanics, SwappingEndsKeepsEachAttachmentsSystem) {
  const double inertia = MomentInertiaOf({2.5, 5.3, ""});
  const auto [a, b] = Poses({120, 340}, {210, 300}, 0.15, -0.05);
  for (const bool zero : {false, true}) {
    const TForceMoment atA = WireEndForces(a, b, TWireEnd::A, 72000, inertia, zero);
    const TForceMoment atB = WireEndForces(a, b, TWireEnd::B, 72000, inertia, zero);
    const TForceMoment swappedA = WireEndForces(b, a, TWireEnd::B, 72000, inertia, zero);
    const TForceMoment swappedB = WireEndForces(b, a, TWireEnd::A, 72000, inertia, zero);
    for (const auto& [x, y] : {std::pair{atA, swappedA}, std::pair{atB, swappedB}}) {
      EXPECT_EQ(x.origin, y.origin);
      EXPECT_NEAR(x.x, y.x, 1e-9);
      EXPECT_NEAR(x.y, y.y, 1e-9);
      EXPECT_NEAR(x.m, y.m, 1e-9);
    }
    EXPECT_NE(atA.m, atB.m);
  }
}

TEST(WireMechanics, ZeroWidthBracketsUseBracketOrigins) {
  const double inertia = MomentInertiaOf({4.064, 0, ""});
  const auto [a, b] = Poses({100, 100}, {180, 100}, 0.1, 0.0);
  const TForceMoment fa = WireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, true);
  const TForceMoment fb = WireEndForces(a, b, TWireEnd::B, SteelModulus, inertia, true);
  EXPECT_EQ(fa.origin, a.BracketOrigin);
  EXPECT_EQ(fb.origin, b.BracketOrigin);
  // The same as attachments placed at the bracket origins.
  TWireEndPose ma = a;
  TWireEndPose mb = b;
  ma.Point = a.BracketOrigin;
  mb.Point = b.BracketOrigin;
  const TForceMoment moved = WireEndForces(ma, mb, TWireEnd::A, SteelModulus, inertia, false);
  EXPECT_EQ(fa.x, moved.x);
  EXPECT_EQ(fa.y, moved.y);
  EXPECT_EQ(fa.m, moved.m);
  EXPECT_NE(fa.m, WireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, false).m);
  // The ratio still looks at the attachment points: 0.1 against 0 there.
  EXPECT_EQ(WireAngleRatio(a, b), 0.0);
}

TEST(WireMechanics, DegenerateAndAlignedWiresGiveNothing) {
  const double inertia = MomentInertiaOf({4.064, 0, ""});
  const TWireEndPose a{{100, 100}, {90, 100}, 0.3};
  const TWireEndPose b{{100.000009, 100}, {120, 100}, -0.2};
  for (const TWireEnd end : {TWireEnd::A, TWireEnd::B}) {
    const TForceMoment f = WireEndForces(a, b, end, SteelModulus, inertia, false);
    EXPECT_EQ(f.origin, end == TWireEnd::A ? a.Point : b.Point);
    EXPECT_EQ(f.x, 0.0);
    EXPECT_EQ(f.y, 0.0);
    EXPECT_EQ(f.m, 0.0);
  }
  // Bracket origins are 30 apart: with zero-width brackets the wire does push.
  EXPECT_NE(WireEndForces(a, b, TWireEnd::A, SteelModulus, inertia, true).m, 0.0);

  const auto [p, q] = Poses({10, 10}, {70, 50}, 0.0, 0.0);
  const TForceMoment f = WireEndForces(p, q, TWireEnd::A, SteelModulus, inertia, false);
  EXPECT_EQ(f.Magnitude(), 0.0);
  EXPECT_EQ(f.m, 0.0);
  EXPECT_EQ(WireAngleRatio(p, q), 1.0);
  EXPECT_STREQ(BurstoneClassOf(WireAngleRatio(p, q)), "I");
}

TEST(WireMechanics, MatchesTheStepByStepComputationBitForBit) {
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> pos(0, 1000);
  std::uniform_int_distribution<int> grid(0, 4);
  std::uniform_real_distribution<double> dir(-7, 7);
  for (int i = 0; i < 400; ++i) {
    // Every other pose on a coarse grid, so that horizontal and vertical chords occur.
    const bool coarse = i % 2 == 0;
    auto point = [&] {
      return coarse ? TPointDouble{100.0 * grid(gen), 100.0 * grid(gen)}
                    : TPointDouble{pos(gen), pos(gen)};
    };
    const TWireEndPose a{point(), point(), dir(gen)};
    const TWireEndPose b{point(), point(), dir(gen)};
    for (const bool zero : {false, true}) {
      for (const TWireEnd end : {TWireEnd::A, TWireEnd::B}) {
        const TForceMoment got = WireEndForces(a, b, end, 206000, 13.3, zero);
        const TForceMoment want = ReferenceEnd(a, b, end, 206000, 13.3, zero);
        EXPECT_EQ(got.origin, want.origin);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.m, want.m);
      }
    }
  }
}

TEST(WireAngleRatio, SmallerAngleOverLarger) {
  const struct {
    double c, d, ratio;
    const char* cls;
  } cases[] = {
      {0.1, -0.1, 1.0, "I"},   {0.1, 0.05, -0.5, "IV"}, {0.1, 0.0, 0.0, "III"},
      {0.1, 0.1, -1.0, "VI"},  {0.0, 0.2, 0.0, "III"},  {-0.05, 0.2, 0.25, "III"},
      {0.2, 0.15, -0.75, "V"},
  };
  for (const auto& c : cases) {
    const auto [a, b] = Poses({200, 300}, {260, 250}, c.c, c.d);
    const double r = WireAngleRatio(a, b);
    EXPECT_NEAR(r, c.ratio, 1e-12) << c.c << " " << c.d;
    EXPECT_STREQ(BurstoneClassOf(c.ratio), c.cls);
  }
  // Points coinciding: no length check, and still no division by zero.
  const TWireEndPose same{{5, 5}, {0, 0}, 0.5};
  EXPECT_TRUE(std::isfinite(WireAngleRatio(same, same)));
}

TEST(BurstoneClass, BoundariesBelongToTheLowerSide) {
  const struct {
    double bound;
    const char* at;
    const char* above;
  } bounds[] = {{-0.875, "VI", "V"},
                {-0.625, "V", "IV"},
                {-0.25, "IV", "III"},
                {0.25, "III", "II"},
                {0.75, "II", "I"}};
  for (const auto& b : bounds) {
    EXPECT_STREQ(BurstoneClassOf(b.bound), b.at);
    EXPECT_STREQ(BurstoneClassOf(std::nextafter(b.bound, 2.0)), b.above);
  }
  EXPECT_STREQ(BurstoneClassOf(-1.0), "VI");
  EXPECT_STREQ(BurstoneClassOf(1.0), "I");
}

}  // namespace
}  // namespace orvela
