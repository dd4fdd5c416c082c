#include "document/runreport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

#include "document/setup.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"
#include "model/wire.h"

namespace orvela {
namespace {

std::string Example(const std::string& name) {
  return std::string(ORVELA_BUILD_DATA_DIR) + "examples/" + name + ".orvela";
}

void Open(const std::string& name, TSetup& setup) {
  TSetupFileError error;
  const auto doc = LoadSetupFile(Example(name), error);
  ASSERT_TRUE(doc) << error.Text();
  ASSERT_TRUE(RestoreSetup(*doc, setup));
}

TEST(Examples, TheSixGeometriesOpenInTheirClass) {
  struct TCase {
    const char* File;
    const char* Class;
    double Ratio;
  };
  for (const TCase& c :
       {TCase{"class-1", "I", 1.0}, TCase{"class-2", "II", 0.5}, TCase{"class-3", "III", 0.0},
        TCase{"class-4", "IV", -0.5}, TCase{"class-5", "V", -0.75}, TCase{"class-6", "VI", -1.0}}) {
    SCOPED_TRACE(c.File);
    TSetup setup;
    Open(c.File, setup);
    ASSERT_EQ(setup.ToothList().size(), 2u);
    EXPECT_EQ(setup.ToothList()[0]->Fdi(), 33);
    EXPECT_EQ(setup.ToothList()[1]->Fdi(), 34);
    ASSERT_EQ(setup.WireList().size(), 1u);
    const TWireStraight& wire = *setup.WireList()[0];
    EXPECT_EQ(wire.MaterialName(), "Stainless Steel");
    EXPECT_EQ(wire.BurstoneClass(), c.Class);
    EXPECT_NEAR(wire.AngleRatio(), c.Ratio, 0.01);
    // A wire that acts: class VI is a pair of couples, all moment and no force.
    EXPECT_GT(std::fabs(wire.MomentA()) + std::fabs(wire.MomentB()), 100.0);
  }
  TSetup arch;
  Open("lower-arch", arch);
  EXPECT_EQ(arch.ToothList().size(), 8u);
  ASSERT_EQ(arch.WireList().size(), 7u);
  for (const auto& wire : arch.WireList()) EXPECT_TRUE(wire->IsTied(0) && wire->IsTied(1));
}

// Burstone and Koenig's three activations: the bend alone acts between level brackets in
// line, M_B/M_A (both clockwise positive) −1, 0 and +1, and the report carries the bends.
TEST(Examples, TheThreeBendActivations) {
  struct TCase {
    const char* File;
    double MomentRatio;
    double AngleRatio;
  };
  for (const TCase& c : {TCase{"v-bend-centred", -1.0, -1.0}, TCase{"v-bend-third", 0.0, -0.5},
                         TCase{"step-bend", 1.0, 1.0}}) {
    SCOPED_TRACE(c.File);
    TSetup setup;
    Open(c.File, setup);
    ASSERT_EQ(setup.WireList().size(), 1u);
    const TWireStraight& wire = *setup.WireList()[0];
    ASSERT_EQ(wire.Bends().size(), 1u);
    EXPECT_NEAR(wire.MomentB() / wire.MomentA(), c.MomentRatio, 1e-9);
    EXPECT_NEAR(wire.AngleRatio(), c.AngleRatio, 1e-9);
    EXPECT_FALSE(wire.BeyondElasticLimit());
    const TSetupReport report = ReportSetup(setup);
    ASSERT_EQ(report.Wires[0].Bends.size(), 1u);
    EXPECT_NEAR(report.Wires[0].AngleRatio, c.AngleRatio, 1e-9);
    const std::string json = RunReportJson({{}, report, report});
    EXPECT_NE(json.find("\"bends\""), std::string::npos);
  }
}

// orvela-run and the window's run (workspace/run.cpp RunTick) step the same way: the
// setups they leave are equal, bit for bit, and they stop at the same step.
TEST(RunToAutoStop, StepsAsTheWindowsRun) {
  const TThresholds thresholds{1.0, 100.0};
  for (const char* name : {"lower-arch", "class-2"}) {
    SCOPED_TRACE(name);
    TSetup runner;
    Open(name, runner);
    const TRunResult result = RunToAutoStop(runner, 3000, thresholds);

    TSetup window;
    Open(name, window);
    window.BeginRun();
    std::uint64_t steps = 0;
    bool stopped = false;
    while (!stopped && steps < 3000) {
      const std::vector<TForceMoment> forces = window.RunStep();
      ++steps;
      stopped = ThresholdsMet(forces, thresholds);
    }
    EXPECT_EQ(result.Steps, steps);
    EXPECT_EQ(result.AutoStop, stopped);
    EXPECT_TRUE(CaptureSetup(runner) == CaptureSetup(window));
    EXPECT_GT(steps, 1u);
  }
}

TEST(RunReport, NoStepsReportsTheSetupInUserUnits) {
  TSetup setup;
  Open("canine-premolar", setup);
  const TSetupDocument before = CaptureSetup(setup);
  TRunReport report;
  report.Run = RunToAutoStop(setup, 0, TThresholds{});
  EXPECT_EQ(report.Run.Steps, 0u);
  EXPECT_FALSE(report.Run.AutoStop);
  EXPECT_TRUE(CaptureSetup(setup) == before);
  report.Start = report.End = ReportSetup(setup);

  const nlohmann::json j = nlohmann::json::parse(RunReportJson(report));
  EXPECT_EQ(j["steps"], 0);
  EXPECT_EQ(j["autoStop"], false);
  const nlohmann::json& tooth = j["end"]["teeth"][1];
  const TTooth& premolar = *setup.ToothList()[1];
  EXPECT_NEAR(tooth["cRes"][0].get<double>(), 48.5, 1e-9);
  EXPECT_NEAR(tooth["cRes"][1].get<double>(), 50.4, 1e-9);
  EXPECT_NEAR(tooth["angulation"].get<double>(), -5.0, 1e-9);
  TForceMoment net = premolar.TotalForce();
  net.Reorient(premolar.cRes());
  EXPECT_EQ(tooth["force"][0].get<double>(), net.x);
  EXPECT_EQ(tooth["force"][1].get<double>(), net.y);
  EXPECT_EQ(tooth["moment"].get<double>(), net.m * 0.1);
  const nlohmann::json& wire = j["start"]["wires"][0];
  const TWireStraight& w = *setup.WireList()[0];
  EXPECT_EQ(wire["material"], "Stainless Steel");
  EXPECT_EQ(wire["size"], "0.016");
  EXPECT_EQ(wire["force"].get<double>(), w.Force());
  EXPECT_EQ(wire["momentA"].get<double>(), w.MomentA() * 0.1);
  EXPECT_EQ(wire["momentB"].get<double>(), w.MomentB() * 0.1);
  EXPECT_EQ(wire["angleRatio"].get<double>(), w.AngleRatio());
  EXPECT_EQ(wire["class"], w.BurstoneClass());

  const std::string text = RunReportText(report);
  EXPECT_NE(text.find("steps: 0 (step limit)"), std::string::npos) << text;
  EXPECT_NE(text.find("cRes (48.500, 50.400) mm, angulation -5.000°"), std::string::npos) << text;
}

}  // namespace
}  // namespace orvela
