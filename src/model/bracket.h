#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/markers.h"
#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"

namespace orvela {

class TBracket;
class TTooth;
class TWireStraight;

// A point of a bracket where wires are tied. Origin is absolute (model units, 0.1 mm);
// Angulation is the direction of the slot relative to the bracket's axis (radians,
// counterclockwise), so a tied wire leaves in direction bracket Tip + Angulation. The free
// end of a wire is an attachment without owner. Wires are listed, never owned: a wire is
// listed once for every end tied here.
class TAttachment : public TMarkerOwner {
 public:
  TAttachment() = default;
  TAttachment(TBracket* owner, std::string name, TPointDouble origin, double angulation);
  TAttachment(const TAttachment&) = delete;
  TAttachment& operator=(const TAttachment&) = delete;
  // A wire still tied here gets a free end in its place, so it never refers to a
  // destroyed attachment.
  ~TAttachment() override;

  TBracket* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  TPointDouble Origin() const { return FOrigin; }
  void SetOrigin(TPointDouble origin) { FOrigin = origin; }
  double Angulation() const { return FAngulation; }
  const std::vector<TWireStraight*>& Wires() const { return FWires; }

  // Direction in which a tied wire leaves the slot: the bracket's Tip plus Angulation
  // (Angulation alone for a free end, which has no bracket).
  double Direction() const;

  // Appends aWr; a wire attached twice is listed twice.
  void AttachWire(TWireStraight* aWr);
  // Removes the first occurrence of aWr; nothing happens when it is absent.
  void DetachWire(TWireStraight* aWr);

  // Adds the force system of every wire tied here, in list order, into sum.
  void AddWireForces(TForceMoment& sum) const;

 private:
  TBracket* FOwner = nullptr;
  std::string FName;
  TPointDouble FOrigin;
  double FAngulation = 0.0;
  std::vector<TWireStraight*> FWires;
};

using TAttachmentList = std::vector<std::unique_ptr<TAttachment>>;

// Where a bracket's own points lie, as a setup file keeps them (absolute model units).
struct TBracketPose {
  TPointDouble Origin;
  TPointDouble Mesial;
  TPointDouble Distal;
  std::array<TPointDouble, 4> Slot{};

  friend bool operator==(const TBracketPose&, const TBracketPose&) = default;
};

// The small rectangular part bonded on a crown. A new bracket is centred at the model
// origin with its 3 mm axis from Distal (−15, 0) to Mesial (15, 0) and a 3 mm × 1 mm
// outline, and carries "Mesial" (15, 0) at angulation 0, "Distal" (−15, 0) at π and
// "Point Contact" (0, 0) at π/2. All points are absolute and move with the bracket.
class TBracket {
 public:
  // The bracket's attachments, in order; owned by the bracket.
  TAttachmentList Attachments;

  TBracket();
  TBracket(const TBracket&) = delete;
  TBracket& operator=(const TBracket&) = delete;
  ~TBracket();

  TTooth* Tooth() const { return FTooth; }
  void SetTooth(TTooth* tooth) { FTooth = tooth; }
  TPointDouble Origin() const { return FOrigin; }
  // Moves the whole bracket so that its centre lies at origin.
  void SetOrigin(TPointDouble origin);
  TPointDouble Mesial() const { return FMesial; }
  TPointDouble Distal() const { return FDistal; }
  const std::array<TPointDouble, 4>& Slot() const { return FSlot; }
  TBracketPose Pose() const { return TBracketPose{FOrigin, FMesial, FDistal, FSlot}; }
  // Puts the bracket's own points where pose has them; the attachments keep theirs.
  void SetPose(const TBracketPose& pose);

  // Direction of the axis from distal to mesial, in (−π, π].
  double Tip() const;
  // Tip relative to the tooth's Tip (the tooth's is measured from +y, the bracket's from
  // +x, so a bracket square to an upright tooth has 0); Tip alone without a tooth.
  double Angulation() const;

  void Translate(TPointDouble aPt);
  void Rotate(TPointDouble rotationPt, double theta);
  // The same turn given by cos θ and sin θ, as the tooth turns all its points.
  void Rotate(TPointDouble c, double cosTheta, double sinTheta);

  // Silver outline with a width-0 pen in the caller's colour; the pen width is restored.
  void Draw(TCanvas& aCanvas) const;

  // Adds the wire forces at every attachment, in order, into sum.
  void AddWireForces(TForceMoment& sum) const;

  // One "TieWire" handle per attachment, in order, owned by the caller.
  TMarkerList Markers(const TMarkerStyle& style) const;

 private:
  void Init();

  TTooth* FTooth = nullptr;
  TPointDouble FOrigin;
  TPointDouble FMesial;
  TPointDouble FDistal;
  std::array<TPointDouble, 4> FSlot{};
};

using TBracketList = std::vector<std::unique_ptr<TBracket>>;

}  // namespace orvela
