#include "model/wire.h"

#include <cmath>

#include "graphics/shapes.h"
#include "model/tooth.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr std::int32_t WireEndImage = 3;
// Half the width of the band that hit-tests a loose wire, model units.
constexpr double BandHalfWidth = 3.0;

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
  return GrownBounds(RoundPoint(Attachments[0]->Origin()), RoundPoint(Attachments[1]->Origin()), 2);
}

bool TWireStraight::Contains(std::int32_t ax, std::int32_t ay) const {
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
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
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 3;
  if (const std::optional<TSplineSegment> curve = TiedCurve()) {
    curve->Draw(aCanvas);
  } else {
    aCanvas.MoveTo(RoundPoint(Attachments[0]->Origin()));
    aCanvas.LineTo(RoundPoint(Attachments[1]->Origin()));
  }
  aCanvas.Pen().Width = savedWidth;
}

void TWireStraight::AddDrawnExtent(TExtent& extent) const {
  constexpr double Pen = 3.0;
  const TPointDouble a = Attachments[0]->Origin();
  const TPointDouble b = Attachments[1]->Origin();
  extent.AddAround(a, Pen);
  extent.AddAround(b, Pen);
  if (IsTied(0) && IsTied(1)) {
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
  markers.reserve(2);
  for (std::size_t i = 0; i < Attachments.size(); ++i) {
    markers.push_back(MakeImageMarker(Attachments[i]->Origin(), style.WireMarkers, WireEndImage,
                                      Hints[i], PlierCursor, THandleAction::TieWire,
                                      Attachments[i]));
  }
  return markers;
}

std::string TWireStraight::Info() const {
  return MaterialName() + " " + SizeName() + "   Force: " + FormatFloat("0 gf", Force()) +
         "   Moment A: " + FormatFloat("0 ", MomentA() / 10.0) + "gf.mm" +
         "   Moment B: " + FormatFloat("0 ", MomentB() / 10.0) + "gf.mm";
}

double TWireStraight::MomentInertia() const { return MomentInertiaOf(size); }

double TWireStraight::Length() const {
  return PointDistance(Attachments[0]->Origin(), Attachments[1]->Origin());
}

TForceMoment TWireStraight::Forces(const TAttachment& aAtt) const {
  if (!IsTied(0) || !IsTied(1)) return TForceMoment(aAtt.Origin(), 0.0, 0.0, 0.0);
  const TWireEnd end = &aAtt == Attachments[0] ? TWireEnd::A : TWireEnd::B;
  return WireEndForces(Pose(0), Pose(1), end, ModulusElasticity(), MomentInertia(),
                       FSettings->ZeroWidthBrackets);
}

double TWireStraight::Force() const { return Forces(*Attachments[0]).Magnitude(); }

double TWireStraight::MomentA() const { return Forces(*Attachments[0]).m; }

double TWireStraight::MomentB() const { return Forces(*Attachments[1]).m; }

double TWireStraight::AngleRatio() const {
  if (!IsTied(0) || !IsTied(1)) return 1.0;
  return WireAngleRatio(Pose(0), Pose(1));
}

std::string TWireStraight::BurstoneClass() const { return BurstoneClassOf(AngleRatio()); }

std::optional<TCResSystems> TWireStraight::ForcesAtCRes() const {
  const TTooth* teeth[2]{};
  for (std::size_t end = 0; end < 2; ++end) {
    const TBracket* bracket = IsTied(end) ? Attachments[end]->Owner() : nullptr;
    teeth[end] = bracket ? bracket->Tooth() : nullptr;
    if (!teeth[end]) return std::nullopt;
  }
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
