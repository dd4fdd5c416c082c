#include "document/runhistory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include "model/clinicaltime.h"

namespace orvela {

namespace {

constexpr double MmPerUnit = 0.1;
// A stress in gf per square model unit (0.01 mm²) is a hundred times as many gf/mm².
constexpr double GfPerMm2 = 100.0;
constexpr double DegreesPerRadian = 180.0 / Pi;
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

TToothSample SampleOf(std::uint64_t step, const TTooth& tooth, const TToothStep& motion,
                      const TForceMoment& force) {
  TToothSample s;
  s.Step = step;
  s.CResX = static_cast<float>(tooth.cRes().x * MmPerUnit);
  s.CResY = static_cast<float>(tooth.cRes().y * MmPerUnit);
  s.Angulation = static_cast<float>(tooth.Tip() * DegreesPerRadian);
  s.ForceX = static_cast<float>(force.x);
  s.ForceY = static_cast<float>(force.y);
  s.Moment = static_cast<float>(force.m * MmPerUnit);
  s.StressTranslation = static_cast<float>(motion.StressTranslation * GfPerMm2);
  s.StressRotation = static_cast<float>(motion.StressRotation * GfPerMm2);
  s.TranslationX = static_cast<float>(motion.Translation.x * MmPerUnit);
  s.TranslationY = static_cast<float>(motion.Translation.y * MmPerUnit);
  s.Rotation = static_cast<float>(motion.Rotation * DegreesPerRadian);
  return s;
}

void AppendNumber(std::string& out, double value) {
  if (std::isnan(value)) return;
  if (std::isinf(value)) {
    out += value > 0 ? "inf" : "-inf";
    return;
  }
  char buffer[32];
  // The float's shortest form: the digits the history holds, no more.
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
  if (ec == std::errc{}) out.append(buffer, end);
}

void AppendField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

double TToothSample::Force() const {
  return std::hypot(static_cast<double>(ForceX), static_cast<double>(ForceY));
}

double TToothSample::CentreOfRotation() const {
  const double t = std::hypot(static_cast<double>(TranslationX), static_cast<double>(TranslationY));
  if (Rotation == 0.0f) return t != 0.0 ? std::numeric_limits<double>::infinity() : NotANumber;
  // Relative to the centre of resistance, where the centre lies depends on the motion alone.
  const std::optional<TPointDouble> c = orvela::CentreOfRotation(
      {0.0, 0.0}, {TranslationX, TranslationY}, Rotation / DegreesPerRadian);
  if (!c) return std::numeric_limits<double>::infinity();
  // The axis toward the apex: the tooth's angulation turns apex→cusp from +y.
  const double tip = Angulation / DegreesPerRadian;
  return c->x * std::sin(tip) - c->y * std::cos(tip);
}

double TToothSample::MomentToForce() const {
  const double f = Force();
  return f == 0.0 ? NotANumber : Moment / f;
}

const char* HistoryQuantityCaption(THistoryQuantity quantity) {
  switch (quantity) {
    case THistoryQuantity::Force:
      return "Force (gf)";
    case THistoryQuantity::Moment:
      return "Moment (gf·mm)";
    case THistoryQuantity::MomentToForce:
      return "Moment to force (mm)";
    case THistoryQuantity::StressTranslation:
      return "Translation stress (gf/mm²)";
    case THistoryQuantity::StressRotation:
      return "Rotation stress (gf/mm²)";
    case THistoryQuantity::Angulation:
      return "Angulation (°)";
    case THistoryQuantity::CResX:
      return "cRes x (mm)";
    case THistoryQuantity::CResY:
      return "cRes y (mm)";
    case THistoryQuantity::Translation:
      return "Step translation (mm)";
    case THistoryQuantity::Rotation:
      return "Step rotation (°)";
    case THistoryQuantity::CentreOfRotation:
      return "Centre of rotation from cRes (mm)";
  }
  return "";
}

double HistoryValue(const TToothSample& s, THistoryQuantity quantity) {
  switch (quantity) {
    case THistoryQuantity::Force:
      return s.Force();
    case THistoryQuantity::Moment:
      return s.Moment;
    case THistoryQuantity::MomentToForce:
      return s.MomentToForce();
    case THistoryQuantity::StressTranslation:
      return s.StressTranslation;
    case THistoryQuantity::StressRotation:
      return s.StressRotation;
    case THistoryQuantity::Angulation:
      return s.Angulation;
    case THistoryQuantity::CResX:
      return s.CResX;
    case THistoryQuantity::CResY:
      return s.CResY;
    case THistoryQuantity::Translation:
      return std::hypot(static_cast<double>(s.TranslationX), static_cast<double>(s.TranslationY));
    case THistoryQuantity::Rotation:
      return s.Rotation;
    case THistoryQuantity::CentreOfRotation:
      return s.CentreOfRotation();
  }
  return NotANumber;
}

std::optional<TPointDouble> CentreOfRotation(TPointDouble c, TPointDouble t, double rotation) {
  // A point p goes to R(p + t − c) + c. With u = p − c the fixed point solves
  // (I − R)·u = R·t, and I − R is invertible for every turn that is not whole.
  const double cs = std::cos(rotation);
  const double sn = std::sin(rotation);
  const double a = 1.0 - cs;
  const double det = a * a + sn * sn;
  if (det == 0.0 || !std::isfinite(det)) return std::nullopt;
  const TPointDouble rt{cs * t.x - sn * t.y, sn * t.x + cs * t.y};
  // (I − R)⁻¹ = [[a, −sn], [sn, a]] / det.
  return TPointDouble{c.x + (a * rt.x - sn * rt.y) / det, c.y + (sn * rt.x + a * rt.y) / det};
}

void TRunHistory::Record(std::span<const std::unique_ptr<TTooth>> teeth,
                         std::span<const TToothStep> steps, std::span<const TForceMoment> forces) {
  ++FSteps;
  const bool kept = FSteps % FStride == 0;
  bool full = false;
  const std::size_t count = std::min({teeth.size(), steps.size(), forces.size()});
  FLineOfPlace.resize(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const TTooth& tooth = *teeth[i];
    std::size_t& line = FLineOfPlace[i];
    if (line >= FSeries.size() || FSeries[line].Key != tooth.Key()) {
      const auto found = std::find_if(FSeries.begin(), FSeries.end(),
                                      [&](const TToothSeries& s) { return s.Key == tooth.Key(); });
      if (found == FSeries.end()) {
        FSeries.push_back({tooth.Key(), tooth.Name(), {}, {}});
        line = FSeries.size() - 1;
      } else {
        line = static_cast<std::size_t>(found - FSeries.begin());
      }
    }
    TToothSeries* series = &FSeries[line];
    series->Last = SampleOf(FSteps, tooth, steps[i], forces[i]);
    series->PathMm += std::hypot(steps[i].Translation.x, steps[i].Translation.y) * MmPerUnit;
    series->StressSum += steps[i].StressTranslation * GfPerMm2;
    ++series->StepCount;
    if (kept) {
      series->Samples.push_back(series->Last);
      full = full || series->Samples.size() > SampleLimit;
    }
  }
  if (full) Decimate();
}

void TRunHistory::Decimate() {
  FStride *= 2;
  for (TToothSeries& series : FSeries) {
    std::erase_if(series.Samples, [this](const TToothSample& s) { return s.Step % FStride != 0; });
  }
}

double TToothSeries::MeanStressKPa() const {
  // 1 gf/mm² = 9.80665 mN/mm² = 9.80665 kPa.
  constexpr double KPaPerGfMm2 = 9.80665;
  return StepCount == 0 ? 0.0 : StressSum / static_cast<double>(StepCount) * KPaPerGfMm2;
}

std::string TToothSeries::ClinicalTime() const { return ClinicalTimeText(PathMm, MeanStressKPa()); }

const TToothSeries* TRunHistory::SeriesOf(std::uint64_t key) const {
  for (const TToothSeries& series : FSeries) {
    if (series.Key == key) return &series;
  }
  return nullptr;
}

std::string HistoryCsv(const TRunHistory& history) {
  std::string out =
      "step,tooth,cRes x (mm),cRes y (mm),angulation (deg),force x (gf),force y (gf),force "
      "(gf),moment (gf*mm),moment to force (mm),translation stress (gf/mm^2),rotation stress "
      "(gf/mm^2),translation x (mm),translation y (mm),rotation (deg),centre of rotation from "
      "cRes (mm)\r\n";
  std::vector<std::pair<const TToothSample*, const std::string*>> rows;
  for (const TToothSeries& series : history.Series()) {
    series.ForEachShown([&](const TToothSample& s) { rows.emplace_back(&s, &series.Name); });
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.first->Step < b.first->Step; });
  for (const auto& [s, name] : rows) {
    out += std::to_string(s->Step);
    out += ',';
    AppendField(out, *name);
    for (const double value :
         {double{s->CResX}, double{s->CResY}, double{s->Angulation}, double{s->ForceX},
          double{s->ForceY}, s->Force(), double{s->Moment}, s->MomentToForce(),
          double{s->StressTranslation}, double{s->StressRotation}, double{s->TranslationX},
          double{s->TranslationY}, double{s->Rotation}, s->CentreOfRotation()}) {
      out += ',';
      AppendNumber(out, value);
    }
    out += "\r\n";
  }
  return out;
}

bool TDivergenceWatch::Observe(std::span<const TForceMoment> forces) {
  FLargest = 0.0;
  FLargestTooth = 0;
  for (std::size_t i = 0; i < forces.size(); ++i) {
    const double f = forces[i].Magnitude();
    if (!std::isfinite(f)) {
      FLargest = f;
      FLargestTooth = i;
      return true;
    }
    if (f > FLargest) {
      FLargest = f;
      FLargestTooth = i;
    }
  }
  if (++FSteps % CheckInterval != 0) return false;
  FRises = FSteps > CheckInterval && FLargest > FPrevious ? FRises + 1 : 0;
  FPrevious = FLargest;
  return FRises >= CheckCount && FLargest > BoundGf;
}

}  // namespace orvela
