#include "document/runreport.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <system_error>

#include "document/run.h"
#include "mechanics/forcemoment.h"
#include "model/wire.h"

namespace orvela {

namespace {

// Model units are 0.1 mm; moments gf·0.1 mm.
constexpr double MmPerUnit = 0.1;

std::string Fixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc{}) return "?";
  std::string text(buffer, end);
  // No "-0.00".
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

void AppendSetupText(std::string& out, const TSetupReport& setup) {
  for (const TToothReport& t : setup.Teeth) {
    out += "  tooth " + t.Name + ": cRes (" + Fixed(t.CResMm.x, 3) + ", " + Fixed(t.CResMm.y, 3) +
           ") mm, angulation " + Fixed(t.AngulationDeg, 3) + "°, force (" + Fixed(t.ForceX, 3) +
           ", " + Fixed(t.ForceY, 3) + ") gf, moment " + Fixed(t.MomentGfMm, 3) + " gf·mm\n";
  }
  for (const TWireReport& w : setup.Wires) {
    out += "  wire " + w.Material + " " + w.Size + ": force " + Fixed(w.Force, 3) +
           " gf, moment A " + Fixed(w.MomentA, 3) + " gf·mm, moment B " + Fixed(w.MomentB, 3) +
           " gf·mm, angle ratio " + Fixed(w.AngleRatio, 3) + ", class " + w.Class + "\n";
    for (const TWireReport::TBendReport& b : w.Bends) {
      out += b.Step ? "    step " + Fixed(b.Value, 3) + " mm"
                    : "    V-bend " + Fixed(b.Value, 3) + "°";
      out += " at " + Fixed(b.PositionPercent, 1) + " % from end A\n";
    }
  }
}

nlohmann::ordered_json SetupJson(const TSetupReport& setup) {
  nlohmann::ordered_json teeth = nlohmann::ordered_json::array();
  for (const TToothReport& t : setup.Teeth) {
    teeth.push_back({{"name", t.Name},
                     {"cRes", {t.CResMm.x, t.CResMm.y}},
                     {"angulation", t.AngulationDeg},
                     {"force", {t.ForceX, t.ForceY}},
                     {"moment", t.MomentGfMm}});
  }
  nlohmann::ordered_json wires = nlohmann::ordered_json::array();
  for (const TWireReport& w : setup.Wires) {
    wires.push_back({{"material", w.Material},
                     {"size", w.Size},
                     {"force", w.Force},
                     {"momentA", w.MomentA},
                     {"momentB", w.MomentB},
                     {"angleRatio", w.AngleRatio},
                     {"class", w.Class}});
    if (w.Bends.empty()) continue;
    nlohmann::ordered_json& bends = wires.back()["bends"] = nlohmann::ordered_json::array();
    for (const TWireReport::TBendReport& b : w.Bends) {
      if (b.Step) {
        bends.push_back({{"kind", "step"}, {"position", b.PositionPercent}, {"height", b.Value}});
      } else {
        bends.push_back({{"kind", "V"}, {"position", b.PositionPercent}, {"angle", b.Value}});
      }
    }
  }
  return {{"teeth", std::move(teeth)}, {"wires", std::move(wires)}};
}

}  // namespace

TSetupReport ReportSetup(const TSetup& setup) {
  TSetupReport report;
  for (const auto& tooth : setup.ToothList()) {
    TForceMoment net = tooth->TotalForce();
    net.Reorient(tooth->cRes());
    report.Teeth.push_back({tooth->Name(),
                            {tooth->cRes().x * MmPerUnit, tooth->cRes().y * MmPerUnit},
                            tooth->Tip() * 180.0 / Pi,
                            net.x,
                            net.y,
                            net.m * MmPerUnit});
  }
  for (const auto& wire : setup.WireList()) {
    report.Wires.push_back({wire->MaterialName(),
                            wire->SizeName(),
                            wire->Force(),
                            wire->MomentA() * MmPerUnit,
                            wire->MomentB() * MmPerUnit,
                            wire->AngleRatio(),
                            wire->BurstoneClass(),
                            {}});
    for (const TWireBend& bend : wire->Bends()) {
      const bool step = bend.Kind == TBendKind::Step;
      report.Wires.back().Bends.push_back(
          {step, bend.Position * 100.0, step ? bend.Value * MmPerUnit : bend.Value * 180.0 / Pi});
    }
  }
  return report;
}

TRunResult RunToAutoStop(TSetup& setup, std::uint64_t maxSteps, const TThresholds& thresholds) {
  TRunResult result;
  if (maxSteps == 0) return result;
  TRun run(setup);
  while (run.Steps() < maxSteps) {
    const TRunOutcome outcome = run.Step(thresholds);
    if (outcome == TRunOutcome::AutoStop) result.AutoStop = true;
    if (outcome == TRunOutcome::Diverged) result.Diverged = run.DivergenceText();
    if (outcome != TRunOutcome::Going) break;
  }
  result.Steps = run.Steps();
  return result;
}

std::string RunReportText(const TRunReport& report) {
  std::string out = "steps: " + std::to_string(report.Run.Steps) +
                    (report.Run.AutoStop   ? " (Auto Stop)\n"
                     : report.Run.Diverged ? " (diverged)\n"
                                           : " (step limit)\n");
  if (report.Run.Diverged) out += *report.Run.Diverged + "\n";
  out += "start:\n";
  AppendSetupText(out, report.Start);
  out += "end:\n";
  AppendSetupText(out, report.End);
  return out;
}

std::string RunReportJson(const TRunReport& report) {
  const nlohmann::ordered_json j = {{"steps", report.Run.Steps},
                                    {"autoStop", report.Run.AutoStop},
                                    {"diverged", report.Run.Diverged.has_value()},
                                    {"start", SetupJson(report.Start)},
                                    {"end", SetupJson(report.End)}};
  // Not finite numbers become null.
  return j.dump(2) + "\n";
}

}  // namespace orvela
