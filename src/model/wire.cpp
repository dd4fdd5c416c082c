#include "model/wire.h"

#include <algorithm>
#include <cmath>

#include "graphics/shapes.h"
#include "model/tooth.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr std::int32_t WireEndImage = 3;
// Half the width of the band that hit-tests a loose wire, model units.
constexpr double BandHalfWidth = 3.0;
// Points on each stretch between bends of a drawn bent wire.
constexpr int ShapePointsPerStretch = 16;
// Half the length of the tick across the wire at a bend, model units.
constexpr double BendMarkHalf = 6.0;

double ClampedPosition(double position) {
  if (!std::isfinite(position)) return 0.5;
  return std::clamp(position, SmallestBendPosition, LargestBendPosition);
}

// Distance from p to the segment a–b.
double SegmentDistance(TPointDouble p, TPointDouble a, TPointDouble b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return PointDistance(p, TPointDouble{a.x + t * dx, a.y + t * dy});
}

}  // namespace

TWireStraight::TWireStraight(const TModelSettings& settings)
    : material(settings.DefaultWireMaterial), size(settings.DefaultWireSize), FSettings(&settings) {
  FFreeEnds[0] = std::make_unique<TAttachment>(nullptr, "", TPointDouble{100, 900}, 0.0);
  FFreeEnds[1] = std::make_unique<TAttachment>(nullptr, "", TPointDouble{200, 900}, 0.0);
  Attachments = {FFreeEnds[0].get(), FFreeEnds[1].get()};
}

TWireStraight::~TWireStraight() {
  // One listing per tied end; DetachWire of an end already untied does nothing.
  for (std::size_t i = 0; i < Attachments.size(); ++i) {
    if (Attachments[i] != nullptr && Attachments[i] != FFreeEnds[i].get())
      Attachments[i]->DetachWire(this);
  }
}

bool TWireStraight::IsTied(std::size_t end) const {
  return Attachments[end] != nullptr && Attachments[end]->Owner() != nullptr;
}

void TWireStraight::SetAttachment(TAttachment* oldAt, TAttachment* newAt) {
  // An end always sits somewhere; retying an end where it is would destroy a free end
  // that it still uses.
  if (newAt == nullptr || newAt == oldAt) return;
  std::size_t end = 0;
  if (Attachments[0] == oldAt) {
    end = 0;
  } else if (Attachments[1] == oldAt) {
    end = 1;
  } else {
    return;
  }
  oldAt->DetachWire(this);
  if (oldAt == FFreeEnds[end].get()) FFreeEnds[end].reset();
  Attachments[end] = newAt;
  newAt->AttachWire(this);
}

void TWireStraight::ReleaseEnd(TAttachment* dying) {
  for (std::size_t i = 0; i < Attachments.size(); ++i) {
    if (Attachments[i] == dying) {
      FFreeEnds[i] = std::make_unique<TAttachment>(nullptr, "", dying->Origin(), 0.0);
      Attachments[i] = FFreeEnds[i].get();
      return;
    }
  }
}

TWireEndPose TWireStraight::Pose(std::size_t end) const {
  const TAttachment& att = *Attachments[end];
  const TBracket* bracket = att.Owner();
  return TWireEndPose{att.Origin(), bracket != nullptr ? bracket->Origin() : att.Origin(),
                      att.Direction()};
}

std::optional<TSplineSegment> TWireStraight::TiedCurve() const {
  if (!IsTied(0) || !IsTied(1)) return std::nullopt;
  TSplineSegment curve;
  curve.origin = RoundPoint(Attachments[0]->Origin());
  curve.corner = RoundPoint(Attachments[1]->Origin());
  curve.angleOrigin = Attachments[0]->Direction();
  curve.angleCorner = Attachments[1]->Direction() + Pi;
  return curve;
}

TRect TWireStraight::BoundsRect() const {
  if (const std::vector<TPointDouble> shape = BentShape(); !shape.empty()) {
    TRect r = GrownBounds(RoundPoint(shape.front()), RoundPoint(shape.front()), 2);
    for (const TPointDouble& p : shape) {
      const TRect q = GrownBounds(RoundPoint(p), RoundPoint(p), 2);
      r = TRect{std::min(r.Left, q.Left), std::min(r.Top, q.Top), std::max(r.Right, q.Right),
                std::max(r.Bottom, q.Bottom)};
    }
    return r;
  }
  return GrownBounds(RoundPoint(Attachments[0]->Origin()), RoundPoint(Attachments[1]->Origin()), 2);
}

bool TWireStraight::Contains(std::int32_t ax, std::int32_t ay) const {
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
  if (const std::vector<TPointDouble> shape = BentShape(); !shape.empty()) {
    const TPointDouble p{static_cast<double>(ax), static_cast<double>(ay)};
    for (std::size_t i = 0; i + 1 < shape.size(); ++i) {
      if (SegmentDistance(p, shape[i], shape[i + 1]) <= BandHalfWidth) return true;
    }
    return false;
  }
  if (const std::optional<TSplineSegment> curve = TiedCurve()) return curve->Contains(ax, ay);
  std::array<TPoint, 4> band;
  const double length = PointDistance(a, b);
  const double ux = BandHalfWidth * (b.x - a.x) / length;
  const double uy = BandHalfWidth * (b.y - a.y) / length;
  const bool ok = length != 0.0 && TryRoundPoint({a.x + uy, a.y - ux}, band[0]) &&
                  TryRoundPoint({a.x - uy, a.y + ux}, band[1]) &&
                  TryRoundPoint({b.x - uy, b.y + ux}, band[2]) &&
                  TryRoundPoint({b.x + uy, b.y - ux}, band[3]);
  if (!ok) {
    band = {RoundPoint({a.x - 3, a.y - 3}), RoundPoint({a.x - 3, a.y + 3}),
            RoundPoint({b.x + 3, b.y + 3}), RoundPoint({b.x + 3, b.y - 3})};
  }
  return PolygonContainsPoint(band, TPoint{ax, ay}, TFillRule::Winding);
}

void TWireStraight::Draw(TCanvas& aCanvas) const {
  const TPen savedPen = aCanvas.Pen();
  aCanvas.Pen().Width = 3;
  if (BeyondElasticLimit()) aCanvas.Pen().Color = clRed;
  if (const std::vector<TPointDouble> shape = BentShape(); !shape.empty()) {
    std::vector<TPoint> points;
    points.reserve(shape.size());
    for (const TPointDouble& p : shape) points.push_back(RoundPoint(p));
    aCanvas.Polyline(points);
    // A short tick across the wire marks each bend.
    aCanvas.Pen().Width = 1;
    const TPointDouble a = Attachments[0]->Origin();
    const TPointDouble b = Attachments[1]->Origin();
    const double length = PointDistance(a, b);
    const double nx = -(b.y - a.y) / length * BendMarkHalf;
    const double ny = (b.x - a.x) / length * BendMarkHalf;
    for (std::size_t i = 0; i < FBends.size(); ++i) {
      const TPointDouble at = BendPoint(i);
      aCanvas.MoveTo(RoundPoint({at.x - nx, at.y - ny}));
      aCanvas.LineTo(RoundPoint({at.x + nx, at.y + ny}));
    }
  } else if (const std::optional<TSplineSegment> curve = TiedCurve()) {
    curve->Draw(aCanvas);
  } else {
    aCanvas.MoveTo(RoundPoint(Attachments[0]->Origin()));
    aCanvas.LineTo(RoundPoint(Attachments[1]->Origin()));
  }
  aCanvas.Pen() = savedPen;
}

void TWireStraight::AddDrawnExtent(TExtent& extent) const {
  constexpr double Pen = 3.0;
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
  extent.AddAround(a, Pen);
  extent.AddAround(b, Pen);
  if (const std::vector<TPointDouble> shape = BentShape(); !shape.empty()) {
    for (const TPointDouble& p : shape) extent.AddAround(p, Pen + BendMarkHalf);
  } else if (IsTied(0) && IsTied(1)) {
    // The curve stays within the hull of its Bezier control points, a third of the chord
    // along each end tangent.
    const double third = PointDistance(a, b) / 3.0;
    const double t0 = Attachments[0]->Direction();
    const double t1 = Attachments[1]->Direction() + Pi;
    extent.AddAround(TPointDouble{a.x + third * std::cos(t0), a.y + third * std::sin(t0)}, Pen);
    extent.AddAround(TPointDouble{b.x - third * std::cos(t1), b.y - third * std::sin(t1)}, Pen);
  }
}

TMarkerList TWireStraight::Markers(const TMarkerStyle& style) const {
  static constexpr std::array<const char*, 2> Hints{"End A. Drag this end to tie to a bracket.",
                                                    "End B. Drag this end to tie to a bracket."};
  TMarkerList markers;
  markers.reserve(2 + FBends.size());
  for (std::size_t i = 0; i < Attachments.size(); ++i) {
    markers.push_back(MakeImageMarker(Attachments[i]->Origin(), style.WireMarkers, WireEndImage,
                                      Hints[i], PlierCursor, THandleAction::TieWire,
                                      Attachments[i]));
  }
  if (!IsTied(0) || !IsTied(1)) return markers;
  for (std::size_t i = 0; i < FBends.size(); ++i) {
    auto marker = std::make_unique<TMarkerExtended>();
    marker->ShapeType = oglmDiamond;
    marker->size = DefaultMarkerSize;
    marker->origin = RoundPoint(BendPoint(i));
    marker->pen = TPen{clBlack, 1, TPenStyle::Solid, TPenMode::Copy};
    marker->brush.Color = TColor{255, 200, 0};
    marker->Hint = FBends[i].Kind == TBendKind::V ? "V-bend. Drag it along the wire."
                                                  : "Step bend. Drag it along the wire.";
    marker->Cursor = BendCursor;
    marker->Action = THandleAction::MoveBend;
    marker->Owner = const_cast<TWireStraight*>(this);
    marker->Index = i;
    markers.push_back(std::move(marker));
  }
  return markers;
}

std::string TWireStraight::Info() const {
  return MaterialName() + " " + SizeName() + "   Force: " + FormatFloat("0 gf", Force()) +
         "   Moment A: " + FormatFloat("0 ", MomentA() / 10.0) + "gf.mm" +
         "   Moment B: " + FormatFloat("0 ", MomentB() / 10.0) + "gf.mm" +
         (BeyondSmallDeflection() ? "   beyond small-deflection range" : "") +
         (BeyondElasticLimit()
              ? "   beyond elastic limit (" + FormatFloat("0", StressOverYield() * 100.0) + " %)"
              : "");
}

double TWireStraight::LargestStress() const {
  if (!IsTied(0) || !IsTied(1)) return 0.0;
  return LargestBendingStress(MomentA(), MomentB(), size);
}

double TWireStraight::StressOverYield() const {
  if (material.YieldStrength <= 0.0) return 0.0;
  return LargestStress() / material.YieldStrength;
}

bool TWireStraight::BeyondSmallDeflection() const {
  if (!IsTied(0) || !IsTied(1)) return false;
  const TBendAngles slots = EffectiveEndAngles(Pose(0), Pose(1), {});
  return std::fabs(slots.A) > SmallDeflectionLimit || std::fabs(slots.B) > SmallDeflectionLimit;
}

double TWireStraight::MomentInertia() const { return MomentInertiaOf(size); }

double TWireStraight::Length() const {
  return PointDistance(Attachments[0]->Origin(), Attachments[1]->Origin());
}

TForceMoment TWireStraight::Forces(const TAttachment& aAtt) const {
  if (!IsTied(0) || !IsTied(1)) return TForceMoment(aAtt.Origin(), 0.0, 0.0, 0.0);
  const TWireEnd end = &aAtt == Attachments[0] ? TWireEnd::A : TWireEnd::B;
  if (FBends.empty()) {
    return WireEndForces(Pose(0), Pose(1), end, ModulusElasticity(), MomentInertia(),
                         FSettings->ZeroWidthBrackets);
  }
  return BentWireEndForces(Pose(0), Pose(1), end, ModulusElasticity(), MomentInertia(),
                           FSettings->ZeroWidthBrackets, FBends);
}

double TWireStraight::Force() const { return Forces(*Attachments[0]).Magnitude(); }

double TWireStraight::MomentA() const { return Forces(*Attachments[0]).m; }

double TWireStraight::MomentB() const { return Forces(*Attachments[1]).m; }

double TWireStraight::AngleRatio() const {
  if (!IsTied(0) || !IsTied(1)) return 1.0;
  if (FBends.empty()) return WireAngleRatio(Pose(0), Pose(1));
  return BentWireAngleRatio(Pose(0), Pose(1), FBends);
}

std::size_t TWireStraight::AddBend(const TWireBend& bend) {
  FBends.push_back(bend);
  FBends.back().Position = ClampedPosition(bend.Position);
  return FBends.size() - 1;
}

bool TWireStraight::RemoveBend(std::size_t index) {
  if (index >= FBends.size()) return false;
  FBends.erase(FBends.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool TWireStraight::SetBend(std::size_t index, const TWireBend& bend) {
  if (index >= FBends.size()) return false;
  FBends[index] = bend;
  FBends[index].Position = ClampedPosition(bend.Position);
  return true;
}

bool TWireStraight::MoveBend(std::size_t index, double position) {
  if (index >= FBends.size()) return false;
  FBends[index].Position = ClampedPosition(position);
  return true;
}

void TWireStraight::SetBends(std::vector<TWireBend> bends) {
  FBends = std::move(bends);
  for (TWireBend& bend : FBends) bend.Position = ClampedPosition(bend.Position);
}

std::vector<TPointDouble> TWireStraight::BentShape() const {
  if (FBends.empty() || !IsTied(0) || !IsTied(1)) return {};
  return BentWireShape(Pose(0), Pose(1), FBends, ShapePointsPerStretch);
}

TPointDouble TWireStraight::BendPoint(std::size_t index) const {
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
  if (index >= FBends.size()) return a;
  const double t = FBends[index].Position;
  const TPointDouble chord{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
  if (!IsTied(0) || !IsTied(1)) return chord;
  // The near side of the bend: the end of the stretch before it.
  const std::vector<TPointDouble> shape = BentWireShape(Pose(0), Pose(1), FBends, 1);
  std::vector<double> stops;
  for (const TWireBend& bend : FBends) stops.push_back(bend.Position);
  std::sort(stops.begin(), stops.end());
  const auto rank =
      static_cast<std::size_t>(std::lower_bound(stops.begin(), stops.end(), t) - stops.begin());
  return shape[2 * rank + 1];
}

double TWireStraight::PositionNearest(TPointDouble p) const {
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  if (len2 <= 0.0) return 0.5;
  return ClampedPosition(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2);
}

std::string TWireStraight::BurstoneClass() const { return BurstoneClassOf(AngleRatio()); }

const TTooth* TWireStraight::ToothAt(std::size_t end) const {
  const TBracket* bracket = IsTied(end) ? Attachments[end]->Owner() : nullptr;
  return bracket ? bracket->Tooth() : nullptr;
}

std::optional<TCResSystems> TWireStraight::ForcesAtCRes() const {
  const TTooth* teeth[2]{ToothAt(0), ToothAt(1)};
  if (!teeth[0] || !teeth[1]) return std::nullopt;
  TCResSystems result;
  result.A = Forces(*Attachments[0]);
  result.A.Reorient(teeth[0]->cRes());
  result.B = Forces(*Attachments[1]);
  result.B.Reorient(teeth[1]->cRes());
  result.AngleRatio = AngleRatioOfMoments(result.A.m, result.B.m);
  result.Class = BurstoneClassOf(result.AngleRatio);
  return result;
}

}  // namespace orvela
