#include "document/setup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "model/catalogue.h"

namespace orvela {

bool ThresholdsMet(std::span<const TForceMoment> forces, const TThresholds& thresholds) {
  for (const TForceMoment& fm : forces) {
    // "Greater than" holds the run; an undefined (NaN) force or moment does not, so a run
    // whose forces cannot be computed stops.
    if (fm.Magnitude() > thresholds.Force) return false;
    if (std::fabs(fm.m) > thresholds.Moment) return false;
  }
  return true;
}

TSetup::~TSetup() {
  FWireList.clear();
  FToothList.clear();
  FMarkerList.clear();
}

TTooth* TSetup::SelectedTooth() const {
  const auto* tooth = std::get_if<TTooth*>(&FSelectedObject);
  return tooth != nullptr ? *tooth : nullptr;
}

TWireStraight* TSetup::SelectedWire() const {
  const auto* wire = std::get_if<TWireStraight*>(&FSelectedObject);
  return wire != nullptr ? *wire : nullptr;
}

TTooth& TSetup::AddTooth(std::unique_ptr<TTooth> tooth) {
  if (tooth->Key() == 0) tooth->SetKey(FNextKey++);
  FToothList.push_back(std::move(tooth));
  return *FToothList.back();
}

TWireStraight& TSetup::AddWire(std::unique_ptr<TWireStraight> wire) {
  FWireList.push_back(std::move(wire));
  return *FWireList.back();
}

void TSetup::Select(TSelectedObject selection) {
  FSelectedObject = selection;
  FDraggedAttachment = nullptr;
  RebuildSelectionMarkers();
}

void TSetup::ClearSelection() { Select(std::monostate{}); }

std::string TSetup::SelectionInfo() const {
  if (const TTooth* tooth = SelectedTooth()) return tooth->Info();
  if (const TWireStraight* wire = SelectedWire()) return wire->Info();
  return {};
}

TTooth* TSetup::AddToothOfType(std::int32_t fdi) {
  std::unique_ptr<TTooth> tooth = CreateTooth(fdi);
  if (!tooth) return nullptr;
  tooth->AddBracket(0, StandardBracketDepth(fdi));
  return &AddTooth(std::move(tooth));
}

TWireStraight& TSetup::AddNewWire() {
  return AddWire(std::make_unique<TWireStraight>(FModelSettings));
}

namespace {

template <class T>
void EraseFirst(std::vector<std::unique_ptr<T>>& list, const T* object) {
  const auto at =
      std::find_if(list.begin(), list.end(), [object](const auto& p) { return p.get() == object; });
  if (at != list.end()) list.erase(at);
}

bool HoldsWire(const TTooth& tooth) {
  for (const auto& bracket : tooth.Brackets()) {
    for (const auto& attachment : bracket->Attachments) {
      if (!attachment->Wires().empty()) return true;
    }
  }
  return false;
}

}  // namespace

TSetup::TRemoveResult TSetup::RemoveSelection() {
  if (TWireStraight* wire = SelectedWire()) {
    ClearSelection();
    for (TAttachment* end : wire->Attachments) {
      if (end != nullptr) end->DetachWire(wire);
    }
    EraseFirst(FWireList, wire);
    return TRemoveResult::Removed;
  }
  if (TTooth* tooth = SelectedTooth()) {
    if (HoldsWire(*tooth)) return TRemoveResult::ToothLigated;
    ClearSelection();
    EraseFirst(FToothList, tooth);
    return TRemoveResult::Removed;
  }
  return TRemoveResult::Nothing;
}

TSelectedObject TSetup::ObjectAt(TPoint p) const {
  for (auto wire = FWireList.rbegin(); wire != FWireList.rend(); ++wire) {
    if ((*wire)->Contains(p.x, p.y)) return wire->get();
  }
  for (auto tooth = FToothList.rbegin(); tooth != FToothList.rend(); ++tooth) {
    if ((*tooth)->Contains(p.x, p.y)) return tooth->get();
  }
  return std::monostate{};
}

const TMarkerExtended* TSetup::MarkerAt(TPoint p, const TCanvas& aCanvas) const {
  for (const auto& marker : FMarkerList) {
    if (marker->Contains(p.x, p.y, aCanvas)) return marker.get();
  }
  return nullptr;
}

void TSetup::SetMarkersToBrackets() {
  const TWireStraight* wire = SelectedWire();
  if (wire == nullptr) return;
  FMarkerList.clear();
  const TAttachment* a = wire->Attachments[0];
  const TAttachment* b = wire->Attachments[1];
  // The attachment holding the other end is no drop target.
  const TAttachment* other = FDraggedAttachment == a ? b : FDraggedAttachment == b ? a : nullptr;
  for (const auto& tooth : FToothList) {
    for (const auto& bracket : tooth->Brackets()) {
      for (auto& marker : bracket->Markers(FMarkerStyle)) {
        if (other != nullptr && marker->Owner == other) continue;
        FMarkerList.push_back(std::move(marker));
      }
    }
  }
}

bool TSetup::TieDraggedEnd(TAttachment* target) {
  TWireStraight* wire = SelectedWire();
  if (wire == nullptr || FDraggedAttachment == nullptr || target == nullptr) return false;
  wire->SetAttachment(FDraggedAttachment, target);
  FDraggedAttachment = target;
  return true;
}

void TSetup::ResetNew() {
  ClearSelection();
  FWireList.clear();
  FToothList.clear();
  ClearHistory();
}

void TSetup::SetHistory(std::shared_ptr<const TRunHistory> history) {
  FHistory = history ? std::move(history) : std::make_shared<const TRunHistory>();
  FRecording.reset();
}

TRunHistory& TSetup::RecordingHistory() {
  if (!FRecording) {
    FRecording = std::make_shared<TRunHistory>(*FHistory);
    FHistory = FRecording;
  }
  return *FRecording;
}

std::vector<std::uint64_t> TSetup::ToothKeys() const {
  std::vector<std::uint64_t> keys;
  keys.reserve(FToothList.size());
  for (const auto& tooth : FToothList) keys.push_back(tooth->Key());
  return keys;
}

void TSetup::SetToothKeys(const std::vector<std::uint64_t>& keys) {
  if (keys.size() != FToothList.size()) return;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    FToothList[i]->SetKey(keys[i]);
    FNextKey = std::max(FNextKey, keys[i] + 1);
  }
}

void TSetup::RebuildSelectionMarkers() {
  FMarkerList.clear();
  if (TTooth* tooth = SelectedTooth()) {
    FMarkerList = tooth->Markers(FMarkerStyle);
  } else if (const TWireStraight* wire = SelectedWire()) {
    FMarkerList = wire->Markers(FMarkerStyle);
  }
}

void TSetup::SetAsReference() {
  for (const auto& tooth : FToothList) {
    tooth->SetOriginalOutline();
    tooth->SetAsOriginalPosition();
  }
}

void TSetup::ClearReference() {
  for (const auto& tooth : FToothList) tooth->ClearOriginalOutline();
}

void TSetup::ResetToReference() {
  for (const auto& tooth : FToothList) tooth->ResetToOriginalPosition();
  RebuildSelectionMarkers();
}

void TSetup::BeginRun() {
  ClearSelection();
  FRecording.reset();
}

std::vector<TForceMoment> TSetup::RunStep() {
  std::vector<TForceMoment> forces;
  forces.reserve(FToothList.size());
  for (const auto& tooth : FToothList) forces.push_back(tooth->TotalForce());
  std::vector<TToothStep>& steps = FStepScratch;
  steps.resize(FToothList.size());
  for (std::size_t i = 0; i < FToothList.size(); ++i) {
    forces[i] = FToothList[i]->OrthoMove(forces[i], steps[i]);
    // A tooth put into the list by hand still needs a line of its own.
    if (FToothList[i]->Key() == 0) FToothList[i]->SetKey(FNextKey++);
  }
  if (FRecordsHistory) RecordingHistory().Record(FToothList, steps, forces);
  return forces;
}

void TSetup::DrawCentresOfRotation(TCanvas& aCanvas) const {
  // Half the arm of the cross, model units (0.6 mm).
  constexpr double Arm = 6.0;
  const TPen pen = aCanvas.Pen();
  const TBrush brush = aCanvas.Brush();
  // Dark magenta: apart from the black teeth, the blue reference and the red forces.
  aCanvas.Pen().Color = TColor{160, 0, 160};
  aCanvas.Pen().Width = 0;
  aCanvas.Pen().Style = TPenStyle::Solid;
  aCanvas.Brush().Style = TBrushStyle::Clear;
  for (const auto& tooth : FToothList) {
    const TToothSeries* series = FHistory->SeriesOf(tooth->Key());
    if (!series || series->Last.Step == 0) continue;
    const TToothSample& last = series->Last;
    const std::optional<TPointDouble> c =
        CentreOfRotation(tooth->cRes(), {last.TranslationX * 10.0, last.TranslationY * 10.0},
                         last.Rotation * Pi / 180.0);
    TPoint p;
    // A centre too far off to round lies well outside anything drawn.
    if (!c || !TryRoundPoint(*c, p)) continue;
    constexpr auto arm = static_cast<std::int32_t>(Arm);
    aCanvas.MoveTo({p.x - arm, p.y - arm});
    aCanvas.LineTo({p.x + arm, p.y + arm});
    aCanvas.MoveTo({p.x - arm, p.y + arm});
    aCanvas.LineTo({p.x + arm, p.y - arm});
    aCanvas.Ellipse({p.x - arm / 2, p.y + arm / 2}, {p.x + arm / 2, p.y - arm / 2});
  }
  aCanvas.Pen() = pen;
  aCanvas.Brush() = brush;
}

std::vector<TRect> TSetup::Bounds() const {
  std::vector<TRect> bounds;
  bounds.reserve(FToothList.size() + FWireList.size());
  for (const auto& tooth : FToothList) bounds.push_back(tooth->BoundsRect());
  for (const auto& wire : FWireList) bounds.push_back(wire->BoundsRect());
  return bounds;
}

void TSetup::DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing) const {
  DrawAll(aCanvas, drawing, nullptr);
}

void TSetup::DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing, const TRect& visible) const {
  DrawAll(aCanvas, drawing, &visible);
}

void TSetup::DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing, const TRect* visible) const {
  // Rounding of drawn points to whole units.
  constexpr double Margin = 1.0;
  for (const auto& tooth : FToothList) {
    if (visible != nullptr) {
      TExtent extent;
      extent.Add(tooth->origOutline);
      if (!extent.Meets(*visible, Margin)) continue;
    }
    tooth->DrawOriginalOutline(aCanvas);
  }
  for (const auto& tooth : FToothList) {
    if (visible != nullptr) {
      // The tooth itself first: only a tooth off screen costs the computation of its forces.
      TExtent extent;
      tooth->AddDrawnExtent(extent);
      if (!extent.Meets(*visible, Margin)) {
        tooth->AddForcesExtent(extent, drawing);
        if (!extent.Meets(*visible, Margin)) {
          tooth->LeaveDrawState(aCanvas);
          continue;
        }
      }
    }
    tooth->Draw(aCanvas, drawing);
  }
  for (const auto& wire : FWireList) {
    if (visible != nullptr) {
      TExtent extent;
      wire->AddDrawnExtent(extent);
      if (!extent.Meets(*visible, Margin)) continue;
    }
    wire->Draw(aCanvas);
  }
}

void TSetup::DrawMarkers(TCanvas& aCanvas) const {
  for (const auto& marker : FMarkerList) marker->Draw(aCanvas);
}

}  // namespace orvela
