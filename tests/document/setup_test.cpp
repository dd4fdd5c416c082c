#include "document/setup.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "scenes.h"

namespace orvela {
namespace {

TEST(Thresholds, ForceAndMomentAtTheThresholdPassAndTheMomentCountsByItsSize) {
  const TThresholds t{2.0, 100.0};
  const TPointDouble o = MakePointDouble(0, 0);
  EXPECT_TRUE(ThresholdsMet({}, t));
  const std::array<TForceMoment, 2> atThreshold{TForceMoment(o, 0.0, 2.0, 100.0),
                                                TForceMoment(o, 1.2, 1.6, -100.0)};
  EXPECT_TRUE(ThresholdsMet(atThreshold, t));
  const std::array<TForceMoment, 1> forceAbove{TForceMoment(o, 0.0, 2.000001, 0.0)};
  EXPECT_FALSE(ThresholdsMet(forceAbove, t));
  // A large moment of the negative sense holds the run as well as a positive one.
  const std::array<TForceMoment, 2> negative{TForceMoment(o, 0.0, 0.0, 0.0),
                                             TForceMoment(o, 0.0, 0.0, -5000.0)};
  EXPECT_FALSE(ThresholdsMet(negative, t));
  const std::array<TForceMoment, 1> nan{
      TForceMoment(o, std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0)};
  EXPECT_TRUE(ThresholdsMet(nan, t));
}

TEST(Thresholds, EachThresholdHoldsItsOwnQuantity) {
  const TPointDouble o = MakePointDouble(0, 0);
  const std::array<TForceMoment, 1> largeForce{TForceMoment(o, 30.0, 40.0, 5.0)};
  const std::array<TForceMoment, 1> largeMoment{TForceMoment(o, 3.0, 4.0, -50.0)};
  // A large force threshold with a small moment one, then the reverse: with the two swapped
  // every answer turns over.
  const TThresholds forceLoose{100.0, 10.0};
  EXPECT_TRUE(ThresholdsMet(largeForce, forceLoose));
  EXPECT_FALSE(ThresholdsMet(largeMoment, forceLoose));
  const TThresholds momentLoose{10.0, 100.0};
  EXPECT_FALSE(ThresholdsMet(largeForce, momentLoose));
  EXPECT_TRUE(ThresholdsMet(largeMoment, momentLoose));
}

TEST(Setup, ResetNewDiscardsWiresBeforeTeethAndTheSelection) {
  TSetup setup;
  test::AddLowerArchScene(setup);
  ASSERT_EQ(setup.ToothList().size(), 8U);
  ASSERT_EQ(setup.WireList().size(), 7U);
  setup.Select(setup.WireList()[2].get());
  EXPECT_EQ(setup.MarkerList().size(), 2U);
  // Freeing a tooth before the wire tied to it would leave the wire untying itself from
  // freed attachments (caught by the sanitizer build).
  setup.ResetNew();
  EXPECT_TRUE(setup.ToothList().empty());
  EXPECT_TRUE(setup.WireList().empty());
  EXPECT_TRUE(setup.MarkerList().empty());
  EXPECT_FALSE(setup.HasSelection());
  EXPECT_TRUE(setup.Bounds().empty());
}

TEST(Setup, RunStepTakesEveryForceBeforeAnyToothMoves) {
  TSetup setup;
  test::AddLowerArchScene(setup);
  TSetup twin;
  test::AddLowerArchScene(twin);
  const TSetup::TToothList& twinTeeth = twin.ToothList();

  std::vector<TForceMoment> before;
  for (const auto& tooth : setup.ToothList()) before.push_back(tooth->TotalForce());
  const std::vector<TForceMoment> forces = setup.RunStep();
  // The same step by hand on the twin.
  std::vector<TForceMoment> twinForces;
  for (const auto& tooth : twinTeeth) twinForces.push_back(tooth->TotalForce());
  for (std::size_t i = 0; i < twinTeeth.size(); ++i) twinTeeth[i]->OrthoMove(twinForces[i]);

  ASSERT_EQ(forces.size(), 8U);
  bool moved = false;
  for (std::size_t i = 0; i < forces.size(); ++i) {
    const TTooth& tooth = *setup.ToothList()[i];
    // The force of the list is the one taken before the step.
    EXPECT_NEAR(forces[i].Magnitude(), before[i].Magnitude(), 1e-9);
    EXPECT_NEAR(tooth.cRes().x, twinTeeth[i]->cRes().x, 1e-9);
    EXPECT_NEAR(tooth.cRes().y, twinTeeth[i]->cRes().y, 1e-9);
    EXPECT_NEAR(tooth.Tip(), twinTeeth[i]->Tip(), 1e-12);
    moved = moved || before[i].Magnitude() > 0.0;
  }
  EXPECT_TRUE(moved);

  // A force exactly at the threshold meets it; the next smaller threshold does not.
  double largest = 0.0;
  for (const TForceMoment& fm : forces) largest = std::max(largest, fm.Magnitude());
  const double huge = std::numeric_limits<double>::max();
  EXPECT_TRUE(ThresholdsMet(forces, TThresholds{largest, huge}));
  EXPECT_FALSE(ThresholdsMet(forces, TThresholds{std::nextafter(largest, 0.0), huge}));
}

TEST(Setup, ReferenceCommandsKeepThePoseAfterTheOutlineIsCleared) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  setup.SetAsReference();
  std::vector<TPointDouble> cres;
  std::vector<double> tips;
  for (const auto& tooth : setup.ToothList()) {
    EXPECT_FALSE(tooth->origOutline.empty());
    cres.push_back(tooth->cRes());
    tips.push_back(tooth->Tip());
  }
  for (int i = 0; i < 5; ++i) setup.RunStep();
  setup.ToothList()[0]->Translate(MakePointDouble(30, -12));
  setup.ClearReference();
  for (const auto& tooth : setup.ToothList()) EXPECT_TRUE(tooth->origOutline.empty());

  TWireStraight* wire = setup.WireList()[0].get();
  setup.Select(wire);
  const TPoint endBefore = setup.MarkerList()[0]->origin;
  setup.ResetToReference();
  for (std::size_t i = 0; i < cres.size(); ++i) {
    EXPECT_NEAR(setup.ToothList()[i]->cRes().x, cres[i].x, 1e-6);
    EXPECT_NEAR(setup.ToothList()[i]->cRes().y, cres[i].y, 1e-6);
    EXPECT_NEAR(setup.ToothList()[i]->Tip(), tips[i], 1e-9);
  }
  // The wire's handles follow its ends back.
  ASSERT_EQ(setup.MarkerList().size(), 2U);
  EXPECT_NE(setup.MarkerList()[0]->origin, endBefore);
  EXPECT_EQ(setup.MarkerList()[0]->Owner, wire->Attachments[0]);
}

TEST(Setup, BeginRunDropsTheHandlesAndTheSelection) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  setup.Select(setup.ToothList()[1].get());
  EXPECT_EQ(setup.MarkerList().size(), 3U);
  setup.BeginRun();
  EXPECT_TRUE(setup.MarkerList().empty());
  EXPECT_EQ(setup.SelectedTooth(), nullptr);
  EXPECT_EQ(setup.Bounds().size(), 3U);
}

}  // namespace
}  // namespace orvela
