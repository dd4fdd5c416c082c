#include <algorithm>
#include <cmath>

#include "model/tooth.h"
#include "model/wire.h"

namespace orvela {

namespace {

constexpr double EightPiThirds = 8.37758040957278;
constexpr double EightThirtyFifths = 0.228571428571429;

// x^p as e^(p·ln x): 0 for x = 0, not a number for x < 0.
double Power(double x, double p) { return std::exp(p * std::log(x)); }

// A stress that could not be computed counts as none.
double OrZero(double value) { return std::isfinite(value) ? value : 0.0; }

bool IsFinite(const TForceMoment& fm) {
  return std::isfinite(fm.x) && std::isfinite(fm.y) && std::isfinite(fm.m) &&
         std::isfinite(fm.origin.x) && std::isfinite(fm.origin.y);
}

}  // namespace

TForceMoment TTooth::TotalForce() const {
  TForceMoment sum;
  for (const auto& bracket : FBrackets) bracket->AddWireForces(sum);
  return sum;
}

double TTooth::rootAreaFunctional() const {
  const double a = static_cast<double>(std::int64_t{cervixDiameter} * cervixDiameter) / 16.0 /
                   rootLengthAnatomic();
  const double lf = rootLengthFunctional();
  return EightPiThirds * std::sqrt(a) * (Power(a + lf, 1.5) - Power(a, 1.5));
}

double TTooth::momentArea() const {
  const double a = static_cast<double>(std::int64_t{cervixDiameter} * cervixDiameter) / 16.0 /
                   rootLengthAnatomic();
  const double lf = rootLengthFunctional();
  const double dc = PointDistance(FcRes, apex);
  const double b = dc - lf;
  return EightPiThirds * std::sqrt(a) *
         (b * b * Power(a + lf, 1.5) - dc * dc * Power(a, 1.5) +
          0.8 * (b * Power(a + lf, 2.5) - dc * Power(a, 2.5)) +
          EightThirtyFifths * (Power(a + lf, 3.5) - Power(a, 3.5)));
}

double TTooth::stressTranslation() const {
  return OrZero(TotalForce().Magnitude() / rootAreaFunctional());
}

double TTooth::stressRotation() const {
  TForceMoment fm = TotalForce();
  fm.Reorient(FcRes);
  return OrZero(std::abs(fm.m) * PointDistance(FcRes, apex) / momentArea());
}

double TTooth::ResponceAt(double stress) const {
  const double s = stress * 1000.0;
  if (s >= Responce[4].x) return Responce[4].y / 1000.0;
  std::size_t i = 0;
  while (i < 4 && !(Responce[i].x > s)) ++i;
  const TPoint p = i == 0 ? TPoint{0, 0} : Responce[i - 1];
  const TPoint q = Responce[i];
  const double px = p.x, py = p.y, qx = q.x, qy = q.y;
  const double value = px == qx ? py + (qy - py) / 2.0 : py + (s - px) * (qy - py) / (qx - px);
  return value / 1000.0;
}

TPoint TTooth::MoveResponcePoint(std::size_t k, TPoint p) {
  if (k >= Responce.size()) return p;
  constexpr std::int32_t Lowest = 0;
  constexpr std::int32_t Highest = ResponceExtent;
  p.y = std::clamp(p.y, Lowest, Highest);
  // Lower bound first, then upper: with neighbours out of order the upper one wins.
  p.x = std::max(p.x, k == 0 ? Lowest : Responce[k - 1].x);
  p.x = std::min(p.x, k + 1 == Responce.size() ? Highest : Responce[k + 1].x);
  Responce[k] = p;
  return p;
}

void TTooth::SetSupportLoss(double percent) {
  SetCervix(TPointDouble{0.0, rootLengthAnatomic() * percent / 100.0});
}

TForceMoment TTooth::OrthoMove(const TForceMoment& aFM) {
  TToothStep step;
  return OrthoMove(aFM, step);
}

TForceMoment TTooth::OrthoMove(const TForceMoment& aFM, TToothStep& step) {
  step = TToothStep{};
  if (FAnkylosed) return aFM;
  if (aFM.Magnitude() == 0.0 && aFM.m == 0.0) return aFM;
  // A force system that overflowed (a wire of absurd stiffness or size) gives no direction
  // and no size to move by: the tooth stays, and no not-a-number ever reaches its pose. Once
  // the system at the centre of resistance is finite, so are the step and the turn below.
  TForceMoment atCRes = aFM;
  atCRes.Reorient(FcRes);
  if (!IsFinite(atCRes)) return aFM;

  // The step length reflects the wires as they are now, after earlier teeth moved; the
  // direction comes from aFM. A pure couple has no direction to translate along.
  step.StressTranslation = stressTranslation();
  const double d = ResponceAt(step.StressTranslation);
  const double magnitude = atCRes.Magnitude();
  if (magnitude != 0.0) {
    step.Translation = TPointDouble{d * atCRes.x / magnitude, d * atCRes.y / magnitude};
    Translate(step.Translation);
  }

  // The turn is read after the translation. Without a supported root (cRes at the apex)
  // there is nothing to turn the tooth against.
  const double dc = PointDistance(FcRes, apex);
  step.StressRotation = stressRotation();
  double r = ResponceAt(step.StressRotation);
  if (atCRes.m < 0.0) r = -r;
  if (dc != 0.0) {
    step.Rotation = -std::atan(r / dc);
    Rotate(FcRes, step.Rotation);
  }
  return atCRes;
}

}  // namespace orvela
