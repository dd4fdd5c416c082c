#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "graphics/imagelist.h"
#include "model/teeth.h"
#include "recording_canvas.h"
#include "util/format.h"

namespace orvela {
namespace {

using test::TCallKind;
using test::TRecordingCanvas;

TAttachment& Named(const TTooth& tooth, const std::string& name) {
  for (const auto& att : tooth.Brackets()[0]->Attachments)
    if (att->Name() == name) return *att;
  throw std::logic_error(name);
}

// An upright canine and first premolar whose "Mesial" and "Distal" attachments lie 80
// units apart on one horizontal line: canine Mesial at (220, 915), premolar Distal at
// (300, 915). Turning a tooth about its own attachment leaves the chord as it is and sets
// the angle between chord and slot at that end.
class WirePair : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUserFormatSettings(TFormatSettings{});
    canine.AddBracket(0, 45);
    premolar.AddBracket(0, 40);
    premolar.Translate({115, 20});
  }

  TAttachment& A() { return Named(canine, "Mesial"); }
  TAttachment& B() { return Named(premolar, "Distal"); }
  // θA and θB as the end angles of a wire from A() to B().
  void Bend(double thetaA, double thetaB) {
    canine.Rotate(A().Origin(), thetaA);
    premolar.Rotate(B().Origin(), -thetaB);
  }
  std::unique_ptr<TWireStraight> Tie(TAttachment& a, TAttachment& b) {
    auto wire = std::make_unique<TWireStraight>(model);
    wire->SetAttachment(wire->Attachments[0], &a);
    wire->SetAttachment(wire->Attachments[1], &b);
    return wire;
  }

  // The settings of the pair's wires; outlives them.
  TModelSettings model;
  TTooth33 canine;
  TTooth34 premolar;
};

TEST_F(WirePair, NewWireHasTwoFreeEndsAndNoForce) {
  TWireStraight wire;
  EXPECT_EQ(wire.Attachments[0]->Origin(), (TPointDouble{100, 900}));
  EXPECT_EQ(wire.Attachments[1]->Origin(), (TPointDouble{200, 900}));
  EXPECT_EQ(wire.Attachments[0]->Owner(), nullptr);
  EXPECT_TRUE(wire.Attachments[0]->Wires().empty());
  EXPECT_EQ(wire.MaterialName(), "Stainless Steel");
  EXPECT_EQ(wire.SizeName(), "0.016");
  EXPECT_EQ(wire.Force(), 0.0);
  EXPECT_EQ(wire.MomentA(), 0.0);
  EXPECT_EQ(wire.MomentB(), 0.0);
  EXPECT_EQ(wire.AngleRatio(), 1.0);
  EXPECT_EQ(wire.BurstoneClass(), "I");
  EXPECT_DOUBLE_EQ(wire.Length(), 100.0);
  EXPECT_DOUBLE_EQ(wire.MomentInertia(), Pi * std::pow(2.032, 4) / 4);
  EXPECT_EQ(wire.Forces(*wire.Attachments[1]).origin, (TPointDouble{200, 900}));
  EXPECT_EQ(wire.BoundsRect(), (TRect{98, 898, 202, 902}));
  EXPECT_TRUE(wire.Contains(150, 902));
  EXPECT_FALSE(wire.Contains(150, 904));
  EXPECT_FALSE(wire.Contains(205, 900));
  EXPECT_EQ(wire.Info(),
            "Stainless Steel 0.016   Force: 0 gf   Moment A: 0 gf.mm   Moment B: 0 gf.mm");

  // A wire is made of its settings' default rows; later changes do not reach it.
  model.DefaultWireMaterial = model.MaterialTable[2];
  const TWireStraight nitinol(model);
  model.DefaultWireMaterial = model.MaterialTable[1];
  EXPECT_EQ(wire.MaterialName(), "Stainless Steel");
  EXPECT_EQ(nitinol.MaterialName(), "Nitinol");
}

TEST_F(WirePair, TyingAndRetyingEnds) {
  TWireStraight wire;
  TAttachment stranger;
  wire.SetAttachment(&stranger, &A());  // neither end: nothing changes
  EXPECT_TRUE(A().Wires().empty());
  EXPECT_EQ(wire.Attachments[0]->Owner(), nullptr);

  wire.SetAttachment(wire.Attachments[0], &A());
  EXPECT_EQ(wire.Attachments[0], &A());
  EXPECT_EQ(A().Wires(), (std::vector<TWireStraight*>{&wire}));
  EXPECT_TRUE(wire.IsTied(0));
  EXPECT_FALSE(wire.IsTied(1));

  TAttachment& contact = Named(canine, "Point Contact");
  wire.SetAttachment(&A(), &contact);
  EXPECT_TRUE(A().Wires().empty());
  EXPECT_EQ(contact.Wires(), (std::vector<TWireStraight*>{&wire}));

  // Both ends on one attachment: it lists the wire twice and a move takes end A.
  wire.SetAttachment(wire.Attachments[1], &contact);
  EXPECT_EQ(contact.Wires().size(), 2u);
  EXPECT_EQ(wire.Force(), 0.0);
  wire.SetAttachment(&contact, &B());
  EXPECT_EQ(wire.Attachments[0], &B());
  EXPECT_EQ(wire.Attachments[1], &contact);
  // Retying an end where it already is, or to nowhere, changes nothing.
  wire.SetAttachment(&B(), &B());
  wire.SetAttachment(&B(), nullptr);
  EXPECT_EQ(B().Wires().size(), 1u);
  EXPECT_EQ(wire.Attachments[0], &B());
}

TEST_F(WirePair, DestroyedWireLeavesNoListing) {
  auto other = Tie(A(), B());
  {
    auto wire = Tie(A(), B());
    EXPECT_EQ(A().Wires().size(), 2u);
  }
  EXPECT_EQ(A().Wires(), (std::vector<TWireStraight*>{other.get()}));
  EXPECT_EQ(B().Wires(), (std::vector<TWireStraight*>{other.get()}));

  // The remove command unties first, then destroys: still consistent.
  A().DetachWire(other.get());
  B().DetachWire(other.get());
  other.reset();
  EXPECT_TRUE(A().Wires().empty());
  EXPECT_TRUE(B().Wires().empty());

  // A wire tied at one end and destroyed.
  auto loose = std::make_unique<TWireStraight>();
  loose->SetAttachment(loose->Attachments[1], &B());
  loose.reset();
  EXPECT_TRUE(B().Wires().empty());
}

TEST_F(WirePair, ToothDestroyedUnderATiedWireLeavesAFreeEnd) {
  auto molar = std::make_unique<TTooth36>();
  molar->AddBracket(0, 40);
  TAttachment& far = Named(*molar, "Distal");
  const TPointDouble where = far.Origin();
  auto wire = Tie(A(), far);
  molar.reset();
  EXPECT_EQ(wire->Attachments[1]->Origin(), where);
  EXPECT_EQ(wire->Attachments[1]->Owner(), nullptr);
  EXPECT_EQ(wire->Force(), 0.0);
  wire.reset();
  EXPECT_TRUE(A().Wires().empty());
}

TEST_F(WirePair, ForcesOfASingleBend) {
  Bend(0.1, 0.0);
  auto wire = Tie(A(), B());
  const double ei = 172000 * Pi * std::pow(2.032, 4) / 4;
  const double f = 6 * ei * 0.1 / 6400;
  const double mA = 2.0 / 3.0 * f * 80;

  const TForceMoment atA = wire->Forces(A());
  EXPECT_EQ(atA.origin, A().Origin());
  EXPECT_NEAR(atA.x, 0.0, 1e-9);
  EXPECT_NEAR(atA.y, -f, f * 1e-9);  // the chord A→B turned a quarter clockwise
  EXPECT_NEAR(atA.m, mA, mA * 1e-9);
  const TForceMoment atB = wire->Forces(B());
  EXPECT_EQ(atB.origin, B().Origin());
  EXPECT_NEAR(atB.y, f, f * 1e-9);
  EXPECT_NEAR(atB.m, mA / 2, mA * 1e-9);
  EXPECT_NEAR(wire->Force(), f, f * 1e-9);
  EXPECT_NEAR(wire->MomentB(), mA / 2, mA * 1e-9);
  EXPECT_NEAR(wire->AngleRatio(), 0.0, 1e-12);
  EXPECT_EQ(wire->BurstoneClass(), "III");
  // 0.1 rad at one end of an 8 mm span is past the yield of 0.016 steel: by hand,
  // 32·M/(π·d³) = 32 · 1152 · 0.00980665 N·mm / (π · 0.4064³ mm³) = 1714 MPa over 1579.
  EXPECT_EQ(wire->Info(),
            "Stainless Steel 0.016   Force: 216 gf   Moment A: 1152 gf.mm   Moment B: 576 gf.mm"
            "   beyond elastic limit (109 %)");

  // The two end systems cancel: no net force, no net moment about any point.
  TForceMoment sum = atA;
  sum.Add(atB);
  EXPECT_NEAR(sum.Magnitude(), 0.0, 1e-9);
  EXPECT_NEAR(sum.MomentAtPoint({0, 0}), 0.0, 1e-6);
  EXPECT_NEAR(sum.MomentAtPoint({500, -300}), 0.0, 1e-6);

  // Swapping the ends leaves each attachment's system; the moments change places.
  auto swapped = Tie(B(), A());
  const TForceMoment swappedAtA = swapped->Forces(A());
  EXPECT_NEAR(swappedAtA.y, atA.y, f * 1e-9);
  EXPECT_NEAR(swappedAtA.m, atA.m, mA * 1e-9);
  EXPECT_NEAR(swapped->MomentA(), wire->MomentB(), mA * 1e-9);
  EXPECT_NEAR(swapped->MomentB(), wire->MomentA(), mA * 1e-9);
}

TEST_F(WirePair, EndAnglesGiveRatioAndClass) {
  struct TCase {
    double ThetaA, ThetaB, Ratio;
    const char* Class;
  };
  const TCase cases[] = {{0.0, 0.0, 1.0, "I"},   {0.1, -0.1, 1.0, "I"},  {0.1, 0.05, -0.5, "IV"},
                         {0.1, 0.0, 0.0, "III"}, {0.1, 0.1, -1.0, "VI"}, {-0.04, 0.1, 0.4, "II"},
                         {0.1, 0.07, -0.7, "V"}};
  const double ei = 172000 * Pi * std::pow(2.032, 4) / 4;
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ThetaA << ", " << c.ThetaB);
    canine.Rotate(A().Origin(), -canine.Tip());
    premolar.Rotate(B().Origin(), -premolar.Tip());
    Bend(c.ThetaA, c.ThetaB);
    auto wire = Tie(A(), B());
    EXPECT_NEAR(wire->AngleRatio(), c.Ratio, 1e-9);
    EXPECT_EQ(wire->BurstoneClass(), c.Class);
    // Closed forms of the clamped beam.
    EXPECT_NEAR(wire->MomentA(), 2 * ei / 80 * (2 * c.ThetaA - c.ThetaB), 1e-6);
    EXPECT_NEAR(wire->MomentB(), 2 * ei / 80 * (c.ThetaA - 2 * c.ThetaB), 1e-6);
    EXPECT_NEAR(wire->Force(), std::abs(6 * ei * (c.ThetaA - c.ThetaB) / 6400), 1e-6);
  }
}

TEST_F(WirePair, ZeroWidthBracketsAndNearlyCoincidentEnds) {
  Bend(0.1, 0.0);
  auto wire = Tie(A(), B());
  // The setting reaches a wire already tied.
  model.ZeroWidthBrackets = true;
  // Chord between the bracket origins, 110 long, still horizontal up to the turn of the
  // canine's bracket centre about its mesial end.
  const TPointDouble oa = canine.Brackets()[0]->Origin();
  const TPointDouble ob = premolar.Brackets()[0]->Origin();
  const double l = PointDistance(oa, ob);
  const double chord = std::atan2(ob.y - oa.y, ob.x - oa.x);
  const double ei = 172000 * Pi * std::pow(2.032, 4) / 4;
  const TForceMoment atA = wire->Forces(A());
  EXPECT_EQ(atA.origin, oa);
  EXPECT_EQ(wire->Forces(B()).origin, ob);
  EXPECT_NEAR(atA.Magnitude(), 6 * ei * ((0.1 - chord) - chord) / (l * l), 1e-6);
  EXPECT_DOUBLE_EQ(wire->Length(), 80.0);
  EXPECT_NEAR(wire->AngleRatio(), 0.0, 1e-12);
  model.ZeroWidthBrackets = false;

  // Ends 0.000009 apart exert nothing.
  TTooth34 close;
  close.AddBracket(0, 40);
  close.Translate({220.000009 - 185, 20});
  auto tiny = Tie(A(), Named(close, "Distal"));
  ASSERT_LT(tiny->Length(), 0.00001);
  EXPECT_EQ(tiny->Force(), 0.0);
  EXPECT_EQ(tiny->MomentA(), 0.0);
  EXPECT_EQ(tiny->MomentB(), 0.0);
}

TEST_F(WirePair, WireWithBothEndsOnOneToothLeavesItsTotal) {
  Bend(0.05, -0.02);
  auto between = Tie(A(), B());
  const TForceMoment before = canine.TotalForce();
  auto own = Tie(Named(canine, "Point Contact"), Named(canine, "Distal"));
  ASSERT_GT(own->Force(), 1.0);
  const TForceMoment after = canine.TotalForce();
  EXPECT_NEAR(after.x, before.x, 1e-6);
  EXPECT_NEAR(after.y, before.y, 1e-6);
  EXPECT_NEAR(after.MomentAtPoint(canine.cRes()), before.MomentAtPoint(canine.cRes()), 1e-4);
}

TEST_F(WirePair, DrawingHitTestAndHandles) {
  const TBlankImageList images(22, 22, 4);
  const TMarkerStyle style{nullptr, &images};

  TRecordingCanvas canvas;
  canvas.Pen().Width = 1;
  canvas.Pen().Color = TColor{1, 2, 3};
  TWireStraight loose;
  loose.Draw(canvas);
  ASSERT_EQ(canvas.Calls().size(), 2u);
  EXPECT_EQ(canvas.Calls()[0].Kind, TCallKind::MoveTo);
  EXPECT_EQ(canvas.Calls()[0].Points[0], (TPoint{100, 900}));
  EXPECT_EQ(canvas.Calls()[1].Points.back(), (TPoint{200, 900}));
  EXPECT_EQ(canvas.Calls()[1].Pen.Width, 3);
  EXPECT_EQ(canvas.Calls()[1].Pen.Color, (TColor{1, 2, 3}));
  EXPECT_EQ(canvas.Pen().Width, 1);

  TMarkerList markers = loose.Markers(style);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[1]->origin, (TPoint{200, 900}));
  EXPECT_EQ(markers[1]->Hint, "End B. Drag this end to tie to a bracket.");
  EXPECT_EQ(markers[0]->Hint, "End A. Drag this end to tie to a bracket.");
  EXPECT_EQ(markers[0]->Owner, loose.Attachments[0]);
  EXPECT_EQ(markers[1]->imageIdx, 3);
  EXPECT_EQ(markers[1]->Action, THandleAction::TieWire);
  EXPECT_EQ(markers[1]->Cursor, 1);
  EXPECT_EQ(markers[1]->ImageList, &images);

  // Tied at one end only: still a straight band.
  loose.SetAttachment(loose.Attachments[0], &A());  // (220, 915) to (200, 900)
  EXPECT_TRUE(loose.Contains(210, 907));
  EXPECT_FALSE(loose.Contains(210, 915));

  // Tied at both ends: a curve leaving each slot along it.
  Bend(0.3, 0.0);
  auto wire = Tie(A(), B());
  canvas.Clear();
  wire->Draw(canvas);
  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_GE(lines.size(), 11u);
  EXPECT_EQ(canvas.Calls()[0].Points[0], (TPoint{220, 915}));
  EXPECT_EQ(lines.back().Points.back(), (TPoint{300, 915}));
  // Near A the curve rises along the slot turned 0.3 counterclockwise.
  const TPoint firstSample = lines[1].Points.back();
  EXPECT_NEAR(firstSample.y - 915, std::tan(0.3) * (firstSample.x - 220), 1.5);
  EXPECT_TRUE(wire->Contains(firstSample.x, firstSample.y));
  // The curve rises about 3 units above the chord halfway: it, not the chord, is hit.
  EXPECT_TRUE(wire->Contains(260, 918));
  EXPECT_FALSE(wire->Contains(260, 912));
  EXPECT_EQ(wire->BoundsRect(), (TRect{218, 913, 302, 917}));
}

// Near end B the curve arrives along B's slot, on the side the slot points to; a hit test
// with the wrong tangent at B would find the curve mirrored across the chord.
TEST_F(WirePair, HitTestFollowsTheCurveIntoEndB) {
  constexpr double ThetaB = 0.5;
  Bend(0.0, ThetaB);
  auto wire = Tie(A(), B());
  ASSERT_EQ(A().Origin(), (TPointDouble{220, 915}));
  ASSERT_EQ(B().Origin(), (TPointDouble{300, 915}));
  // Leaving A along the chord and arriving at B turned by θB, the curve stands
  // L·sin θB·u²(1 − u) off the chord at the fraction u of its length, on the side θB turns
  // to, and runs (1 − cos θB)·L·u²(1 − u) ahead. (The fractions lie between the tenths
  // where the sampled chords meet: the rounded bands of two chords can leave a one-unit
  // column between them.)
  constexpr double L = 80.0;
  for (const double u : {0.65, 0.75, 0.85}) {
    const double bow = u * u * (1.0 - u) * L;
    const double x = 220.0 + u * L + (1.0 - std::cos(ThetaB)) * bow;
    const double off = std::sin(ThetaB) * bow;
    ASSERT_GT(off, 3.5) << u;  // far enough off the chord for the mirror to miss
    const TPoint on = RoundPoint({x, 915.0 + off});
    const TPoint mirrored = RoundPoint({x, 915.0 - off});
    EXPECT_TRUE(wire->Contains(on.x, on.y)) << u;
    EXPECT_FALSE(wire->Contains(mirrored.x, mirrored.y)) << u;
  }
  // The drawn curve is the one hit-tested.
  TRecordingCanvas canvas;
  wire->Draw(canvas);
  const auto lines = canvas.CallsOf(TCallKind::LineTo);
  ASSERT_GE(lines.size(), 10u);
  const TPoint nearB = lines[lines.size() - 3].Points.back();
  EXPECT_GT(nearB.y, 915);
  EXPECT_TRUE(wire->Contains(nearB.x, nearB.y));
  EXPECT_FALSE(wire->Contains(nearB.x, 2 * 915 - nearB.y));
}

// A bend is part of the wire: its operations keep it off the slots, it changes the forces
// by the superposition the mechanics test, and the wire draws bent with a tick and a handle
// at the bend.
TEST_F(WirePair, BendsChangeForcesShapeAndHandles) {
  auto wire = Tie(A(), B());  // level and in line: no force without a bend
  EXPECT_EQ(wire->MomentA(), 0.0);
  EXPECT_EQ(wire->AddBend({TBendKind::V, 1.0 / 3.0, 0.2}), 0u);
  EXPECT_NEAR(wire->MomentB(), 0.0, 1e-9 * std::fabs(wire->MomentA()));
  EXPECT_GT(std::fabs(wire->MomentA()), 1.0);
  EXPECT_NEAR(wire->AngleRatio(), -0.5, 1e-12);
  EXPECT_EQ(wire->BurstoneClass(), "IV");
  EXPECT_TRUE(wire->MoveBend(0, 0.5));
  EXPECT_NEAR(wire->MomentB(), -wire->MomentA(), 1e-9 * std::fabs(wire->MomentA()));
  EXPECT_TRUE(wire->MoveBend(0, 1.5));
  EXPECT_EQ(wire->Bends()[0].Position, LargestBendPosition);
  EXPECT_FALSE(wire->MoveBend(1, 0.5));
  wire->SetBends({{TBendKind::Step, -1.0, 4.0}});
  EXPECT_EQ(wire->Bends()[0].Position, SmallestBendPosition);
  EXPECT_NEAR(wire->MomentA(), wire->MomentB(), 1e-9 * std::fabs(wire->MomentA()));
  EXPECT_TRUE(wire->SetBend(0, {TBendKind::V, 0.5, 0.2}));

  const TBlankImageList images(22, 22, 4);
  TRecordingCanvas canvas;
  wire->Draw(canvas);
  const auto chains = canvas.CallsOf(TCallKind::Polyline);
  ASSERT_EQ(chains.size(), 1u);
  EXPECT_EQ(chains[0].Points.front(), (TPoint{220, 915}));
  EXPECT_EQ(chains[0].Points.back(), (TPoint{300, 915}));
  EXPECT_EQ(chains[0].Pen.Width, 3);
  // The centred V (turning counterclockwise) would dip 40·0.1 = 4 units below the chord
  // free; the level slots lift its legs by the cubic's 80·0.025 = 2.
  const TPointDouble apex = wire->BendPoint(0);
  EXPECT_NEAR(apex.x, 260, 1e-9);
  EXPECT_NEAR(apex.y, 913, 1e-9);
  EXPECT_TRUE(wire->Contains(260, 913));
  EXPECT_FALSE(wire->Contains(260, 917));
  EXPECT_EQ(canvas.CallsOf(TCallKind::LineTo).size(), 1u);  // the tick
  TMarkerList markers = wire->Markers({nullptr, &images});
  ASSERT_EQ(markers.size(), 3u);
  EXPECT_EQ(markers[2]->Action, THandleAction::MoveBend);
  EXPECT_EQ(markers[2]->Owner, wire.get());
  EXPECT_EQ(markers[2]->Index, 0u);
  EXPECT_EQ(markers[2]->Cursor, BendCursor);
  EXPECT_EQ(markers[2]->origin, (TPoint{260, 913}));
  EXPECT_DOUBLE_EQ(wire->PositionNearest({240, 930}), 0.25);
  // A typical activation stays elastic and is drawn in the caller's colour.
  EXPECT_FALSE(wire->BeyondElasticLimit());
  EXPECT_EQ(wire->Info().find("beyond"), std::string::npos);
  EXPECT_EQ(chains[0].Pen.Color, canvas.Pen().Color);
  // Overbent, it is drawn red; a slot 11° off the chord leaves small-deflection theory.
  wire->SetBend(0, {TBendKind::V, 0.5, 0.6});
  EXPECT_TRUE(wire->BeyondElasticLimit());
  canvas.Clear();
  wire->Draw(canvas);
  EXPECT_EQ(canvas.CallsOf(TCallKind::Polyline)[0].Pen.Color, clRed);
  EXPECT_NE(canvas.Pen().Color, clRed);
  EXPECT_FALSE(wire->BeyondSmallDeflection());
  Bend(11 * Pi / 180, 0);
  EXPECT_TRUE(wire->BeyondSmallDeflection());
  const std::string info = wire->Info();
  EXPECT_NE(info.find("   beyond small-deflection range   beyond elastic limit ("),
            std::string::npos)
      << info;
  EXPECT_EQ(info.substr(info.size() - 3), " %)");
  EXPECT_TRUE(wire->RemoveBend(0));
  EXPECT_FALSE(wire->RemoveBend(0));
}

}  // namespace
}  // namespace orvela
