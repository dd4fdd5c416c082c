#include "model/bracket.h"

#include <algorithm>

#include "model/tooth.h"
#include "model/wire.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr TPointDouble AxisReferenceA{0, 0};
constexpr TPointDouble AxisReferenceB{100, 0};

}  // namespace

// ---- TAttachment ----------------------------------------------------------------------

TAttachment::TAttachment(TBracket* owner, std::string name, TPointDouble origin, double angulation)
    : FOwner(owner), FName(std::move(name)), FOrigin(origin), FAngulation(angulation) {}

TAttachment::~TAttachment() {
  // Each listing stands for one end of a wire tied here.
  while (!FWires.empty()) {
    TWireStraight* wire = FWires.back();
    FWires.pop_back();
    wire->ReleaseEnd(this);
  }
}

double TAttachment::Direction() const {
  return FOwner != nullptr ? FOwner->Tip() + FAngulation : FAngulation;
}

void TAttachment::AttachWire(TWireStraight* aWr) { FWires.push_back(aWr); }

void TAttachment::DetachWire(TWireStraight* aWr) {
  const auto it = std::find(FWires.begin(), FWires.end(), aWr);
  if (it != FWires.end()) FWires.erase(it);
}

void TAttachment::AddWireForces(TForceMoment& sum) const {
  for (const TWireStraight* wire : FWires) sum.Add(wire->Forces(*this));
}

// ---- TBracket -------------------------------------------------------------------------

TBracket::TBracket() { Init(); }

TBracket::~TBracket() = default;

void TBracket::Init() {
  FOrigin = {0, 0};
  FMesial = {15, 0};
  FDistal = {-15, 0};
  FSlot = {TPointDouble{-15, 5}, TPointDouble{15, 5}, TPointDouble{15, -5}, TPointDouble{-15, -5}};
  Attachments.push_back(std::make_unique<TAttachment>(this, "Mesial", FMesial, 0.0));
  Attachments.push_back(std::make_unique<TAttachment>(this, "Distal", FDistal, Pi));
  Attachments.push_back(
      std::make_unique<TAttachment>(this, "Point Contact", TPointDouble{0, 0}, HalfPi));
}

void TBracket::SetPose(const TBracketPose& pose) {
  FOrigin = pose.Origin;
  FMesial = pose.Mesial;
  FDistal = pose.Distal;
  FSlot = pose.Slot;
}

void TBracket::SetOrigin(TPointDouble origin) { Translate(PointDiff(origin, FOrigin)); }

double TBracket::Tip() const {
  return AngleBetweenLines(FDistal, FMesial, AxisReferenceA, AxisReferenceB);
}

double TBracket::Angulation() const { return FTooth != nullptr ? Tip() - FTooth->Tip() : Tip(); }

void TBracket::Translate(TPointDouble aPt) {
  for (TPointDouble& p : FSlot) p = TPointDouble{p.x + aPt.x, p.y + aPt.y};
  FOrigin = TPointDouble{FOrigin.x + aPt.x, FOrigin.y + aPt.y};
  FMesial = TPointDouble{FMesial.x + aPt.x, FMesial.y + aPt.y};
  FDistal = TPointDouble{FDistal.x + aPt.x, FDistal.y + aPt.y};
  for (const auto& att : Attachments) {
    const TPointDouble o = att->Origin();
    att->SetOrigin(TPointDouble{o.x + aPt.x, o.y + aPt.y});
  }
}

void TBracket::Rotate(TPointDouble rotationPt, double theta) {
  Rotate(rotationPt, std::cos(theta), std::sin(theta));
}

void TBracket::Rotate(TPointDouble c, double cosTheta, double sinTheta) {
  for (TPointDouble& p : FSlot) RotatePoint(p, c, cosTheta, sinTheta);
  for (TPointDouble* p : {&FOrigin, &FMesial, &FDistal}) RotatePoint(*p, c, cosTheta, sinTheta);
  for (const auto& att : Attachments) {
    TPointDouble o = att->Origin();
    RotatePoint(o, c, cosTheta, sinTheta);
    att->SetOrigin(o);
  }
}

void TBracket::Draw(TCanvas& aCanvas) const {
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 0;
  std::array<TPoint, 4> corners;
  std::transform(FSlot.begin(), FSlot.end(), corners.begin(), RoundPoint);
  aCanvas.Brush().Color = clSilver;
  aCanvas.Polygon(corners);
  aCanvas.Pen().Width = savedWidth;
}

void TBracket::AddWireForces(TForceMoment& sum) const {
  for (const auto& att : Attachments) att->AddWireForces(sum);
}

TMarkerList TBracket::Markers(const TMarkerStyle& style) const {
  static constexpr std::array<std::int32_t, 3> ImageIndex{1, 0, 2};
  TMarkerList markers;
  markers.reserve(Attachments.size());
  const std::string toothName = FTooth != nullptr ? FTooth->Name() : std::string();
  const double tip = Tip();
  for (std::size_t i = 0; i < Attachments.size(); ++i) {
    TAttachment& att = *Attachments[i];
    std::string hint =
        toothName + " Bracket: " + att.Name() + " " +
        FormatFloat("0.#", (tip + att.Angulation()) * 180.0 / Pi, FixedFormatSettings());
    markers.push_back(MakeImageMarker(att.Origin(), style.WireMarkers,
                                      i < ImageIndex.size() ? ImageIndex[i] : 0, std::move(hint),
                                      PlierCursor, THandleAction::TieWire, &att));
  }
  return markers;
}

}  // namespace orvela
