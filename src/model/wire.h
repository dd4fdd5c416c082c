#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/markers.h"
#include "graphics/shapes.h"
#include "mechanics/forcemoment.h"
#include "mechanics/wiremechanics.h"
#include "model/bracket.h"

namespace orvela {

// The wire's force system on the tooth at each end, carried to that tooth's centre of
// resistance, and the geometry class the two moments there fall in: the class whose two
// brackets would bear moments of this ratio (AngleRatioOfMoments).
struct TCResSystems {
  TForceMoment A;
  TForceMoment B;
  double AngleRatio = 1.0;
  std::string Class;
};

// A straight elastic wire between two ends, A = Attachments[0] and B = Attachments[1].
// A tied end is an attachment of a bracket (the wire is listed in its Wires); a free end
// is an ownerless attachment that the wire owns and nobody lists. With both ends tied the
// wire is a beam clamped in the two slots: its force systems come from the two end poses
// (attachment point, slot direction = bracket Tip + attachment Angulation), the modulus
// and the second moment of the cross-section; a wire with a free end exerts nothing.
// Forces are in gf, moments in gf·0.1 mm, clockwise positive. The wire computes them under
// the model settings of its setup (zero-width brackets), which it refers to and which
// outlive it.
// Bends (V-bends and steps, mechanics/wiremechanics.h) are part of the wire's stress-free
// shape: they change its force systems, and a tied wire with bends draws in its deflected
// shape with a mark at each bend. The wire owns its handles' target, so bend handles name it
// as their owner and the bend by index.
class TWireStraight : public TMarkerOwner {
 public:
  TWireMaterial material;
  TWireSize size;
  // End A, end B; observers (a free end is also held by the wire).
  std::array<TAttachment*, 2> Attachments{};

  // The settings' default material and size, free ends at (100, 900) and (200, 900).
  explicit TWireStraight(const TModelSettings& settings = DefaultModelSettings());
  TWireStraight(const TWireStraight&) = delete;
  TWireStraight& operator=(const TWireStraight&) = delete;
  // Unties the wire from its tied ends, so that no attachment keeps listing it.
  ~TWireStraight() override;

  // Moves the end at oldAt (end A first) to newAt; a free end left behind is destroyed.
  // Nothing happens when neither end is at oldAt.
  void SetAttachment(TAttachment* oldAt, TAttachment* newAt);
  bool IsTied(std::size_t end) const;

  // The curve of a wire tied at both ends: from end A's rounded point along A's slot to end
  // B's rounded point, arriving along B's slot; none while an end is free.
  std::optional<TSplineSegment> TiedCurve() const;
  // Rounded end points grown by 2 on every side.
  TRect BoundsRect() const;
  // Within 3 units of the drawn curve (both ends tied) or of the straight band.
  bool Contains(std::int32_t ax, std::int32_t ay) const;
  // Width-3 pen in the caller's colour (red beyond the elastic limit): the curve
  // leaving both slots along them, or a straight line while an end is free.
  void Draw(TCanvas& aCanvas) const;
  // Adds what Draw covers (its 3-unit pen included) to the extent.
  void AddDrawnExtent(TExtent& extent) const;
  // "TieWire" handles on end A and end B, then a "MoveBend" handle at each bend of a tied
  // wire (Index = the bend's), owned by the caller.
  TMarkerList Markers(const TMarkerStyle& style) const;
  // Material, size, force and both moments in the user's number format; then
  // "   beyond small-deflection range" when a slot leaves SmallDeflectionLimit of the chord,
  // and last "   beyond elastic limit (N %)" when the largest bending stress passes the
  // material's yield strength (N = stress over yield).
  std::string Info() const;

  // The settings the wire computes its forces under; their tables are what it can be made of.
  const TModelSettings& ModelSettings() const { return *FSettings; }
  // A row of the wire tables taken over whole, name included.
  void SetMaterial(const TWireMaterial& aMaterial) { material = aMaterial; }
  void SetSize(const TWireSize& aSize) { size = aSize; }

  double ModulusElasticity() const { return material.Modulus; }
  // Second moment of area of the cross-section, model units⁴.
  double MomentInertia() const;
  const std::string& MaterialName() const { return material.Name; }
  const std::string& SizeName() const { return size.Name; }
  // Distance between the two attachment points.
  double Length() const;
  // The force system on the end tied at aAtt (end B unless aAtt is end A).
  TForceMoment Forces(const TAttachment& aAtt) const;
  // Force magnitude at end A, gf.
  double Force() const;
  double MomentA() const;
  double MomentB() const;
  // The bends in the order they were added. Positions are kept within
  // [SmallestBendPosition, LargestBendPosition]; a bend of another kind or value is taken as
  // given.
  const std::vector<TWireBend>& Bends() const { return FBends; }
  // Returns the new bend's index.
  std::size_t AddBend(const TWireBend& bend);
  // False when there is no such bend.
  bool RemoveBend(std::size_t index);
  bool SetBend(std::size_t index, const TWireBend& bend);
  bool MoveBend(std::size_t index, double position);
  void SetBends(std::vector<TWireBend> bends);
  // Where bend index sits on the drawn wire (model units); the chord point for a free wire.
  TPointDouble BendPoint(std::size_t index) const;
  // The fraction of the chord from end A nearest to p, within the bend range.
  double PositionNearest(TPointDouble p) const;

  // The smaller end angle over the larger, in [−1, 1], bends included; 1 with a free end.
  double AngleRatio() const;
  // Largest bending stress along the tied wire, MPa (0 with a free end), and it over the
  // material's yield strength (0 when the yield strength is unknown).
  double LargestStress() const;
  double StressOverYield() const;
  bool BeyondElasticLimit() const { return StressOverYield() > 1.0; }
  // Whether an end's slot lies further than SmallDeflectionLimit from the chord.
  bool BeyondSmallDeflection() const;
  // Geometry class "I" … "VI" of AngleRatio.
  std::string BurstoneClass() const;
  // The tooth whose bracket holds end 0 (A) or 1 (B); null for a free end.
  const TTooth* ToothAt(std::size_t end) const;
  // At the centres of resistance of the teeth at both ends; none while an end is not on a
  // tooth.
  std::optional<TCResSystems> ForcesAtCRes() const;

 private:
  friend class TAttachment;
  // The attachment at an end is being destroyed: the end becomes free at its last point.
  void ReleaseEnd(TAttachment* dying);
  TWireEndPose Pose(std::size_t end) const;

  // The deflected polyline of a tied wire with bends; empty otherwise.
  std::vector<TPointDouble> BentShape() const;

  std::array<std::unique_ptr<TAttachment>, 2> FFreeEnds;
  std::vector<TWireBend> FBends;
  const TModelSettings* FSettings;
};

}  // namespace orvela
