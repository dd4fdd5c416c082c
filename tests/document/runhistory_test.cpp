#include "document/runhistory.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "document/run.h"
#include "document/runreport.h"
#include "document/setup.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"
#include "model/wire.h"
#include "scenes.h"

namespace orvela {
namespace {

constexpr double Degree = Pi / 180.0;

void Open(const std::string& name, TSetup& setup) {
  TSetupFileError error;
  const auto doc =
      LoadSetupFile(std::string(ORVELA_BUILD_DATA_DIR) + "examples/" + name + ".orvela", error);
  ASSERT_TRUE(doc) << error.Text();
  ASSERT_TRUE(RestoreSetup(*doc, setup));
}

TEST(RunHistory, RecordsEachStepAsTheModelMovedTheTeeth) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  const auto& teeth = setup.ToothList();
  std::vector<TForceMoment> before;
  for (const auto& tooth : teeth) {
    TForceMoment fm = tooth->TotalForce();
    fm.Reorient(tooth->cRes());
    before.push_back(fm);
  }
  const std::vector<TPointDouble> cRes0{teeth[0]->cRes(), teeth[1]->cRes()};
  const double tip0 = teeth[0]->Tip();
  setup.BeginRun();
  setup.RunStep();

  const TRunHistory& history = *setup.History();
  ASSERT_EQ(history.Steps(), 1u);
  ASSERT_EQ(history.Series().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const TToothSeries& series = history.Series()[i];
    EXPECT_EQ(series.Name, teeth[i]->Name());
    ASSERT_EQ(series.Samples.size(), 1u);
    const TToothSample& s = series.Samples[0];
    EXPECT_EQ(s.Step, 1u);
    EXPECT_NEAR(s.ForceX, before[i].x, 1e-4);
    EXPECT_NEAR(s.ForceY, before[i].y, 1e-4);
    EXPECT_NEAR(s.Moment, before[i].m / 10.0, 1e-3);
    EXPECT_NEAR(s.MomentToForce(), before[i].m / 10.0 / before[i].Magnitude(), 1e-4);
    EXPECT_NEAR(s.CResX, teeth[i]->cRes().x / 10.0, 1e-5);
    EXPECT_NEAR(s.CResY, teeth[i]->cRes().y / 10.0, 1e-5);
    EXPECT_NEAR(s.TranslationX, (teeth[i]->cRes().x - cRes0[i].x) / 10.0, 1e-7);
    // The second tooth's step length reads its wires after the first has moved.
    const double stress = before[i].Magnitude() / teeth[i]->rootAreaFunctional() * 100;
    EXPECT_NEAR(s.StressTranslation, stress, stress * (i == 0 ? 1e-5 : 1e-2));
    EXPECT_GT(s.StressRotation, 0.0f);
    // The clinical-time estimate reads the path and the mean stress of every step.
    EXPECT_NEAR(series.PathMm, std::hypot(s.TranslationX, s.TranslationY), 1e-9);
    EXPECT_NEAR(series.MeanStressKPa(), s.StressTranslation * 9.80665, 1e-5);
  }
  EXPECT_NEAR(history.Series()[0].Last.Rotation, (teeth[0]->Tip() - tip0) / Degree, 1e-6);
}

TEST(RunHistory, KeepsAtMostTheLimitPerToothAndAlwaysTheLastStep) {
  TSetup setup;
  test::AddTooth(setup, 33, {0, 0});
  TRunHistory history;
  const std::vector<TToothStep> steps(1);
  const std::vector<TForceMoment> forces(1, TForceMoment({0, 0}, 1.0, 0.0, 0.0));
  constexpr std::uint64_t Steps = 3 * TRunHistory::SampleLimit + 7;
  for (std::uint64_t i = 0; i < Steps; ++i) history.Record(setup.ToothList(), steps, forces);
  const TToothSeries& series = history.Series().at(0);
  EXPECT_LE(series.Samples.size(), TRunHistory::SampleLimit);
  EXPECT_GT(series.Samples.size(), TRunHistory::SampleLimit / 2);
  EXPECT_EQ(history.Stride(), 4u);
  for (const TToothSample& s : series.Samples) ASSERT_EQ(s.Step % history.Stride(), 0u);
  EXPECT_EQ(series.Last.Step, Steps);
  // The bound in bytes: a few MB per tooth however long the run.
  EXPECT_LT(series.Samples.capacity() * sizeof(TToothSample), 8u << 20);
}

TEST(RunHistory, BelongsToTheSetupAcrossRunsRemovalsAndUndo) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  {
    TRun run(setup);
    for (int i = 0; i < 5; ++i) run.Step(std::nullopt);
  }
  const std::shared_ptr<const TRunHistory> afterFirst = setup.History();
  const std::vector<std::uint64_t> keys = setup.ToothKeys();
  ASSERT_EQ(afterFirst->Steps(), 5u);

  // A second run adds to a copy: whoever kept the first history (an undo step) keeps it.
  {
    TRun run(setup);
    for (int i = 0; i < 3; ++i) run.Step(std::nullopt);
  }
  EXPECT_EQ(afterFirst->Steps(), 5u);
  EXPECT_EQ(setup.History()->Steps(), 8u);
  EXPECT_EQ(setup.History()->Series()[0].Samples.back().Step, 8u);

  // Undo: the document, the keys and the history come back together, and the next run goes
  // on with the same lines.
  const TSetupDocument doc = CaptureSetup(setup);
  ASSERT_TRUE(RestoreSetup(doc, setup));
  setup.SetToothKeys(keys);
  setup.SetHistory(afterFirst);
  setup.RunStep();
  EXPECT_EQ(setup.History()->Series().size(), 2u);
  EXPECT_EQ(setup.History()->Series()[1].Last.Step, 6u);

  // A removed tooth keeps its line, which ends; New clears everything.
  setup.Select(setup.WireList()[0].get());
  setup.RemoveSelection();
  setup.Select(setup.ToothList()[1].get());
  ASSERT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  setup.RunStep();
  ASSERT_EQ(setup.History()->Series().size(), 2u);
  EXPECT_EQ(setup.History()->Series()[0].Last.Step, 7u);
  EXPECT_EQ(setup.History()->Series()[1].Last.Step, 6u);
  setup.ResetNew();
  EXPECT_TRUE(setup.History()->Empty());
}

TEST(CentreOfRotation, OfARotationAboutAPointAndOfATranslation) {
  // A turn by φ about p, as a translation t followed by the same turn about c + t.
  const TPointDouble p{120.0, -40.0};
  const TPointDouble c{10.0, 30.0};
  const double phi = 0.3;
  const TPointDouble turned{p.x + std::cos(phi) * (c.x - p.x) - std::sin(phi) * (c.y - p.y),
                            p.y + std::sin(phi) * (c.x - p.x) + std::cos(phi) * (c.y - p.y)};
  const TPointDouble t{turned.x - c.x, turned.y - c.y};
  const auto centre = CentreOfRotation(turned, t, phi);
  ASSERT_TRUE(centre);
  EXPECT_NEAR(centre->x, p.x, 1e-9);
  EXPECT_NEAR(centre->y, p.y, 1e-9);
  // A pure turn about c is about c; a pure translation has its centre at infinity.
  const auto still = CentreOfRotation(c, {0, 0}, 0.01);
  ASSERT_TRUE(still);
  EXPECT_NEAR(still->x, c.x, 1e-12);
  EXPECT_FALSE(CentreOfRotation(c, {3, 4}, 0.0));
}

// In the linear start of the response curve the step is k·F/A along the force and a turn of
// k·M/I, so the centre of rotation lies I/(A·M/F) from the centre of resistance: distance
// times moment-to-force ratio is the same for any force system on one tooth (the textbook
// relation of the centre of rotation to the moment-to-force ratio).
TEST(CentreOfRotation, DistanceTimesMomentToForceIsConstantPerTooth) {
  for (const std::int32_t fdi : {33, 34, 35, 36}) {
    SCOPED_TRACE(fdi);
    std::vector<double> products;
    for (const double lift : {2.0, 4.0, 6.0}) {
      for (const double turn : {-3.0, 2.0, 5.0}) {
        TSetup setup;
        TTooth& tooth = test::AddTooth(setup, fdi, {0, 0});
        TTooth& anchor = test::AddTooth(setup, 43, {150, lift});
        anchor.SetAnkylosed(true);
        anchor.Rotate(anchor.cRes(), turn * Degree);
        TWireStraight& wire = test::Tie(setup, test::AttachmentOf(tooth, "Mesial"),
                                        test::AttachmentOf(anchor, "Distal"));
        // A soft wire keeps the stresses in the linear start of the curve, and the moment
        // the step's own translation adds (the turn reads the wires after it) small.
        wire.SetMaterial({200.0, "Soft"});
        TForceMoment fm = tooth.TotalForce();
        fm.Reorient(tooth.cRes());
        TToothStep step;
        tooth.OrthoMove(tooth.TotalForce(), step);
        // Only the linear start of the default curve (stress below 10/1000) counts.
        if (step.StressTranslation >= 0.01 || step.StressRotation >= 0.01) continue;
        const auto centre = CentreOfRotation(tooth.cRes(), step.Translation, step.Rotation);
        ASSERT_TRUE(centre);
        const double distance = PointDistance(*centre, tooth.cRes()) / 10.0;  // mm
        const double ratio = std::fabs(fm.m) / fm.Magnitude() / 10.0;         // mm
        products.push_back(distance * ratio);
      }
    }
    ASSERT_GE(products.size(), 4u);
    for (const double product : products) EXPECT_NEAR(product, products[0], products[0] * 0.01);
    std::printf("centre of rotation × M/F for tooth %d: %.2f mm²\n", fdi, products[0]);
  }
}

TEST(HistoryCsv, IsRfc4180WithPointDecimalsInAnyLocale) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  setup.RunStep();
  setup.RunStep();
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const std::string csv = HistoryCsv(*setup.History());
  std::setlocale(LC_ALL, saved.c_str());
  if (!german) std::printf("de_DE.UTF-8 is not installed: checked in the C locale only\n");

  std::vector<std::string> lines;
  for (std::size_t at = 0; at < csv.size();) {
    const std::size_t end = csv.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends in CRLF";
    lines.push_back(csv.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 1u + 2u * 2u);
  EXPECT_EQ(lines[0].rfind("step,tooth,cRes x (mm)", 0), 0u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 15) << line;
    EXPECT_EQ(line.find('"'), std::string::npos);
    EXPECT_NE(line.find('.'), std::string::npos);
  }
  EXPECT_EQ(lines[1].rfind("1,", 0), 0u);
  EXPECT_EQ(lines[4].rfind("2,", 0), 0u);
}

TEST(Divergence, StopsAStiffRunAndNeverOneThatSettles) {
  // A force that rises at every check past the bound diverges; one that rises below the bound,
  // or falls once in the window, does not.
  const auto watch = [](auto force, std::uint64_t steps) {
    TDivergenceWatch w;
    for (std::uint64_t i = 1; i <= steps; ++i) {
      const std::vector<TForceMoment> f{TForceMoment({0, 0}, force(i), 0.0, 0.0)};
      if (w.Observe(f)) return i;
    }
    return std::uint64_t{0};
  };
  EXPECT_EQ(watch([](std::uint64_t i) { return 1500.0 + static_cast<double>(i); }, 3000), 1100u);
  EXPECT_EQ(watch([](std::uint64_t i) { return 100.0 + static_cast<double>(i) / 10.0; }, 5000), 0u);
  EXPECT_EQ(watch([](std::uint64_t i) { return 3000.0 + std::sin(static_cast<double>(i)); }, 5000),
            0u);
  EXPECT_EQ(watch([](std::uint64_t) { return std::nan(""); }, 10), 1u);

  // The examples and the shared scenes settle, with the watch on.
  for (const char* name : {"class-1", "class-2", "class-3", "class-4", "class-5", "class-6",
                           "lower-arch", "canine-premolar"}) {
    SCOPED_TRACE(name);
    TSetup setup;
    Open(name, setup);
    const TRunResult result = RunToAutoStop(setup, 100000, TThresholds{});
    EXPECT_TRUE(result.AutoStop);
    EXPECT_FALSE(result.Diverged);
  }
  TSetup arch;
  test::AddLowerArchScene(arch);
  EXPECT_TRUE(RunToAutoStop(arch, 100000, TThresholds{}).AutoStop);
}

}  // namespace
}  // namespace orvela

namespace orvela {
namespace {

// Two arches joined by one wire from a tooth of the upper row to one of the lower row, 30 mm
// below: the stepping grows instead of settling, and the watch says so.
TEST(Divergence, TwoArchesJoinedBetweenRowsDiverge) {
  TSetup setup;
  test::AddLargeScene(setup, 2);
  const auto& teeth = setup.ToothList();
  test::Tie(setup, test::AttachmentOf(*teeth[3], "Point Contact"),
            test::AttachmentOf(*teeth[12], "Point Contact"));
  setup.SetRecordsHistory(true);
  const TRunResult result = RunToAutoStop(setup, 100000, TThresholds{});
  EXPECT_FALSE(result.AutoStop);
  ASSERT_TRUE(result.Diverged);
  EXPECT_LT(result.Steps, 100000u);
  EXPECT_NE(result.Diverged->find("gf on Lower "), std::string::npos) << *result.Diverged;
  EXPECT_NE(result.Diverged->find(" wire from "), std::string::npos);
  EXPECT_EQ(setup.History()->DivergenceSteps(), std::vector<std::uint64_t>{result.Steps});
}

}  // namespace
}  // namespace orvela
