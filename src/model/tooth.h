#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/forcedraw.h"
#include "graphics/markers.h"
#include "mechanics/forcemoment.h"
#include "mechanics/geometry.h"
#include "model/bracket.h"

namespace orvela {

// Five control points of a periodontal response curve: x = 1000 × stress in gf per square
// model unit (10 × gf/mm²), y = 1000 × step length in model units (0.1 µm per unit).
using TResponceCurve = std::array<TPoint, 5>;

inline constexpr TResponceCurve DefaultResponce{{{10, 50}, {25, 75}, {50, 80}, {75, 75}, {90, 70}}};

// The response editor's square: 0…ResponceExtent on both axes.
inline constexpr std::int32_t ResponceExtent = 100;

// What one movement step did to a tooth: the stresses its steps came from (gf per square
// model unit) and the rigid motion, a translation followed by a turn about the centre of
// resistance where the translation left it (radians, counterclockwise positive). All zero
// for a step in which the tooth stayed.
struct TToothStep {
  double StressTranslation = 0.0;
  double StressRotation = 0.0;
  TPointDouble Translation;
  double Rotation = 0.0;
};

// A tooth type's fixed numbers, in its local frame (the crown–root junction near the
// origin, crown up).
struct TToothTable {
  TPointDouble cusp;
  TPointDouble apex;
  TPointDouble cRes;
  TPointDouble cervix;
  std::int32_t cervixDiameter;
  std::span<const TPointDouble> crown;
  std::span<const TPointDouble> root;
};

// Where a tooth's body lies, as a setup file keeps it: the axis landmarks, the centre of
// resistance, the supporting cervix, the root diameter at the anatomic cervix and both
// outlines, in model units.
struct TToothGeometry {
  TPointDouble Cusp;
  TPointDouble Apex;
  TPointDouble CervixAnatomic;
  TPointDouble Cervix;
  TPointDouble CRes;
  std::int32_t CervixDiameter = 0;
  std::vector<TPointDouble> Crown;
  std::vector<TPointDouble> Root;

  friend bool operator==(const TToothGeometry&, const TToothGeometry&) = default;
};

// One lower tooth seen from the side, in model units (0.1 mm, y up: the crown lies above
// the root). The axis runs from apex to cusp; cervixAnatomic, the supporting Cervix and
// cRes lie on it and every rigid motion moves them, both outlines and the brackets
// together. Tip is the angle of apex→cusp from +y, counterclockwise positive.
//
// Movement: the root is a paraboloid r² = 4·a·s about the axis (s from the apex,
// a = D²/16/La, diameter D = cervixDiameter at the anatomic cervix). Its supported
// surface A (apex to Cervix) resists translation, stress F/A; its second moment I about
// the level of cRes resists rotation, stress |M|·dc/I with M the moment about cRes and
// dc = |cRes − apex|. Each stress maps through Responce to a step: a translation along
// the net force and a turn of −atan(r/dc) about cRes (a clockwise-positive moment turns
// the tooth clockwise).
class TTooth : public TMarkerOwner {
 public:
  TResponceCurve Responce = DefaultResponce;
  TPointDouble cusp;
  TPointDouble apex;
  TPointDouble cervixAnatomic;
  // Root diameter at the anatomic cervix, model units.
  std::int32_t cervixDiameter = 0;
  // Closed polygons given by their vertices.
  std::vector<TPointDouble> crown;
  std::vector<TPointDouble> root;
  // Crown vertices then root vertices as stored by SetOriginalOutline; empty when none.
  std::vector<TPointDouble> origOutline;

  // The "Generic" tooth: no outline, every landmark at the origin.
  TTooth();
  TTooth(const TTooth&) = delete;
  TTooth& operator=(const TTooth&) = delete;
  // The Remove command refuses a tooth that still holds wires; should one be destroyed
  // anyway, each wire tied to it gets a free end in place of the lost attachment.
  ~TTooth() override;

  // Tells the teeth of one setup apart across runs and undo steps; 0 until the setup gives
  // the tooth one. Not part of the tooth's document or file.
  std::uint64_t Key() const { return FKey; }
  void SetKey(std::uint64_t key) { FKey = key; }
  bool Ankylosed() const { return FAnkylosed; }
  void SetAnkylosed(bool ankylosed) { FAnkylosed = ankylosed; }
  const std::string& Name() const { return FName; }
  // The FDI number of the tooth's type (33…36, 43…46); none for the "Generic" tooth.
  std::optional<std::int32_t> Fdi() const { return FFdi; }
  TPointDouble cRes() const { return FcRes; }
  const TBracketList& Brackets() const { return FBrackets; }
  TPointDouble Cervix() const { return FCervix; }
  // Places the supporting cervix value.y model units below the anatomic cervix, toward
  // the apex (value.x is ignored), and cRes at 40 % of the supported root from it.
  void SetCervix(TPointDouble value);

  double Tip() const;
  double toothLength() const;
  double rootLengthAnatomic() const;
  double rootLengthFunctional() const;
  // Supported root surface, square model units.
  double rootAreaFunctional() const;
  // Second moment of the supported root surface about the level of cRes, model units⁴.
  double momentArea() const;
  // Net force of a fresh TotalForce over rootAreaFunctional; 0 when that fails.
  double stressTranslation() const;
  // |moment about cRes| · dc / momentArea from a fresh TotalForce; 0 when that fails.
  double stressRotation() const;
  // The response curve at a stress (gf per square model unit), as a step in model units.
  double ResponceAt(double stress) const;
  // Replaces the whole response curve.
  void SetResponce(const TResponceCurve& curve) { Responce = curve; }
  // Moves point k of the response curve to p, kept inside the editor's square 0…100 and
  // between its neighbours in x (it may share their x), and returns where it went.
  TPoint MoveResponcePoint(std::size_t k, TPoint p);
  // Moves the supporting cervix down the root by this percentage of the anatomic root
  // (0 = full support, 100 = none) and re-places cRes (SetCervix).
  void SetSupportLoss(double percent);

  // (smallest x, largest y) and (largest x, smallest y) over cRes and all vertices.
  TPointDouble UpperLeft() const;
  TPointDouble LowerRight() const;
  // Rounded axis ends, grown by 2 on every side; the outlines are not included.
  TRect BoundsRect() const;
  // Hit test in model units: the rounded crown, then the rounded root, even-odd rule.
  bool Contains(std::int32_t ax, std::int32_t ay) const;
  // Name, angulation in degrees and supported root area in mm², in the user's format.
  std::string Info() const;

  void Translate(TPointDouble aPt);
  // Turns the tooth and its brackets by theta (counterclockwise) about rotationPt.
  void Rotate(TPointDouble rotationPt, double theta);
  // Adds a bracket dy units down the axis from the cusp and dx across it (toward +x when
  // upright); the bracket keeps its axis along +x.
  TBracket& AddBracket(double dx, double dy);
  // Adds a bracket whose own points are those of pose; its three attachments are a new
  // bracket's, where TBracket puts them, for the caller to replace.
  TBracket& AddBracket(const TBracketPose& pose);

  // The body as it lies now, and the same put back: the brackets do not move with it.
  TToothGeometry Geometry() const;
  void SetGeometry(const TToothGeometry& geometry);

  void SetAsOriginalPosition();
  // The remembered pose, (0, 0) and upright until one is stored.
  TPointDouble OriginalCRes() const { return FOrigCRes; }
  double OriginalTip() const { return FOrigTip; }
  void SetOriginalPosition(TPointDouble cRes, double tip);
  // Back to the stored cRes and Tip (the pose is (0, 0), upright until one is stored).
  void ResetToOriginalPosition();
  void SetOriginalOutline();
  void ClearOriginalOutline();

  // Sum of the force systems of every wire at every attachment of every bracket; its
  // origin is wherever the sum leaves it (zero system at (0, 0) without wires).
  TForceMoment TotalForce() const;
  // One movement step under aFM, the TotalForce taken at the start of the run step.
  // Returns the system the step moved by, aFM carried to cRes (what the Auto Stop test
  // reads), or aFM itself when the tooth is ankylosed, aFM is empty or not finite at cRes.
  // The step length comes from a fresh TotalForce (earlier teeth may have moved), the turn
  // from one taken after the translation.
  TForceMoment OrthoMove(const TForceMoment& aFM);
  // The same, telling step what the step did.
  TForceMoment OrthoMove(const TForceMoment& aFM, TToothStep& step);

  // Crown, root, centre of resistance, supporting-cervix line, brackets and forces.
  void Draw(TCanvas& aCanvas, const TForceDrawing& drawing) const;
  // The force systems at the places drawing.Places selects.
  void DrawForces(TCanvas& aCanvas, const TForceDrawing& drawing) const;
  // Adds what Draw covers to the extent, the force arrows left out (AddForcesExtent).
  void AddDrawnExtent(TExtent& extent) const;
  // Adds the force arrows alone, which costs the forces' computation.
  void AddForcesExtent(TExtent& extent, const TForceDrawing& drawing) const;
  // Sets the pen and brush as Draw leaves them, without drawing: a skipped tooth hands the
  // next figure the same surface state as a drawn one.
  void LeaveDrawState(TCanvas& aCanvas) const;
  // The stored reference outline as a dotted open polyline in the caller's colour.
  void DrawOriginalOutline(TCanvas& aCanvas) const;
  // Cusp and apex "Rotate" handles and the cRes "Translate" handle, owned by the caller.
  TMarkerList Markers(const TMarkerStyle& style);
  // Five invisible hit boxes on the response curve points (editor coordinates).
  TMarkerList ResponceMarkers() const;

 protected:
  // Leaves the tooth empty for a derived type's constructor to fill in with its own Init
  // (a base constructor cannot dispatch to it).
  struct TDeferInit {};
  explicit TTooth(TDeferInit) {}

  // Fills in the tooth; each type replaces it completely.
  virtual void Init();
  // The FDI number and name, then landmarks, cRes, cervix and outlines from table (x negated
  // when mirrored), then the move to the common starting place (200, 850).
  void InitFromTable(std::int32_t fdi, const char* name, const TToothTable& table, bool mirrored);

 private:
  // The bone-support line across the axis at the cervix, as wide as the root there.
  std::pair<TPointDouble, TPointDouble> CervixLine() const;
  // Calls f with each force system DrawForces draws, in its order.
  template <class F>
  void ForEachDrawnForce(const TForceDrawPlaces& places, F&& f) const;
  bool FAnkylosed = false;
  std::uint64_t FKey = 0;
  std::optional<std::int32_t> FFdi;
  std::string FName;
  TPointDouble FcRes;
  TBracketList FBrackets;
  TPointDouble FCervix;
  TPointDouble FOrigCRes;
  double FOrigTip = 0.0;
};

}  // namespace orvela
