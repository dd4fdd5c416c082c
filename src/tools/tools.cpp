#include "tools/tools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "mechanics/geometry.h"
#include "util/format.h"
#include "util/startup.h"

namespace orvela {

namespace {

// Nearest whole multiple of step, ties to even (the default rounding mode).
double SnapTo(double value, double step) { return step * std::nearbyint(value / step); }

TAttachment* AttachmentOf(const TMarkerExtended& marker) {
  return dynamic_cast<TAttachment*>(marker.Owner);
}

}  // namespace

std::string TranslateReadout(TPointDouble cRes, TPointDouble offset) {
  return " x: " + FormatFloat("0.00", cRes.x / 10.0) +
         "  y: " + FormatFloat("0.00", cRes.y / 10.0) +
         "    dx: " + FormatFloat("0.00", offset.x / 10.0) +
         "  dy: " + FormatFloat("0.00", offset.y / 10.0);
}

std::string BendReadout(double position) {
  return " bend at " + FormatFloat("0", position * 100.0) + " % from end A";
}

std::string AngulationReadout(double tipRadians) {
  return " angulation: " + FormatFloat("0.00", tipRadians * 180.0 / Pi);
}

// Select tool ---------------------------------------------------------------------------

void TSelectTool::Press(TMouseButton /*button*/, TPoint p) {
  // A second button during a drag starts nothing: the first release ends the drag.
  if (FMouseIsDown) return;
  FMouseIsDown = true;
  // The handle under the pointer was found at the last move; the press does not look again.
  switch (FHoverAction) {
    case THandleAction::None:
      PickDown(p);
      break;
    case THandleAction::TieWire:
      TieWireDown(p);
      break;
    case THandleAction::Translate:
    case THandleAction::Rotate:
      TranslateDown(p);
      break;
    case THandleAction::MoveBend:
      BendDown();
      break;
  }
}

void TSelectTool::Move(TPoint p) {
  if (FMouseIsDown) {
    DraggingMouse(p);
  } else {
    MovingMouse(p);
  }
}

void TSelectTool::Release(TMouseButton button, TPoint /*p*/) {
  if (!FMouseIsDown) return;
  FMouseIsDown = false;
  if (FHoverAction == THandleAction::TieWire) {
    TieWireUp();
  } else {
    PickUp(button);
  }
  EndDragChange();
}

void TSelectTool::Cancel() {
  if (!FMouseIsDown) return;
  FMouseIsDown = false;
  FSetup.SetDraggedAttachment(nullptr);
  FSetup.RebuildSelectionMarkers();
  FHost.Redraw();
  // What the drag changed so far stays, as one action.
  EndDragChange();
}

void TSelectTool::EndDragChange() {
  if (FChange.empty()) return;
  const std::string what = std::move(FChange);
  FChange.clear();
  FHost.EndChange(what);
}

void TSelectTool::ShowHover(const TMarkerExtended* marker) {
  FHost.SetCursor(marker != nullptr ? marker->Cursor : DefaultCursor);
  FHost.SetStatusText(marker != nullptr ? marker->Hint : std::string());
}

void TSelectTool::MovingMouse(TPoint p) {
  const TMarkerExtended* marker = FSetup.MarkerAt(p, FHost.HitCanvas());
  ShowHover(marker);
  FHoverAction = marker != nullptr ? marker->Action : THandleAction::None;
  FHoverIndex = marker != nullptr ? marker->Index : 0;
}

void TSelectTool::DraggingMouse(TPoint p) {
  switch (FHoverAction) {
    case THandleAction::Translate:
      TranslateMove(p);
      break;
    case THandleAction::Rotate:
      RotateMove(p);
      break;
    case THandleAction::TieWire:
      TieWireMove(p);
      break;
    case THandleAction::MoveBend:
      BendMove(p);
      break;
    case THandleAction::None:
      break;
  }
}

void TSelectTool::BendDown() {
  FDragMoved = false;
  if (const TWireStraight* wire = FSetup.SelectedWire();
      wire != nullptr && FHoverIndex < wire->Bends().size()) {
    FChange = "Move Bend";
    FHost.BeginChange();
  }
}

void TSelectTool::BendMove(TPoint p) {
  TWireStraight* wire = FSetup.SelectedWire();
  if (wire == nullptr || FHoverIndex >= wire->Bends().size()) return;
  double position = wire->PositionNearest(MakePointDouble(p.x, p.y));
  if (FHost.SnapGrid())
    position = std::clamp(SnapTo(position, 0.01), SmallestBendPosition, LargestBendPosition);
  wire->MoveBend(FHoverIndex, position);
  FSetup.RebuildSelectionMarkers();
  FHost.Redraw();
  FHost.SetInfoText(wire->Info());
  FHost.SetStatusText(BendReadout(wire->Bends()[FHoverIndex].Position));
  FDragMoved = true;
}

void TSelectTool::PickDown(TPoint p) {
  FDragMoved = false;
  const TSelectedObject picked = FSetup.ObjectAt(p);
  FSetup.Select(picked);
  FHost.SetInfoText(FSetup.SelectionInfo());
  FHost.SelectionChanged();
  FHost.Redraw();
}

void TSelectTool::PickUp(TMouseButton button) {
  if (!FSetup.HasSelection()) return;
  // The last move of the drag rebuilt the handles and redrew; the information line is new.
  if (FDragMoved && FSetup.SelectedTooth() != nullptr) FHost.SetInfoText(FSetup.SelectionInfo());
  if (button == TMouseButton::Right) FHost.Properties();
}

void TSelectTool::TranslateDown(TPoint p) {
  FDragMoved = false;
  FLastMousePoint = p;
  FPointerTurn = 0.0;
  FSnappedTurn = 0.0;
  if (const TTooth* tooth = FSetup.SelectedTooth()) {
    FTranslateStart = tooth->cRes();
    FChange = FHoverAction == THandleAction::Rotate ? "Rotate Tooth" : "Move Tooth";
    FHost.BeginChange();
  }
}

void TSelectTool::TranslateMove(TPoint p) {
  TTooth* tooth = FSetup.SelectedTooth();
  if (tooth == nullptr) return;
  // Held on the model square, so that a tooth can never be dragged out of reach of the
  // scroll bars.
  double x = std::clamp<double>(p.x, 0.0, ModelExtent);
  double y = std::clamp<double>(p.y, 0.0, ModelExtent);
  if (FHost.SnapGrid()) {
    x = SnapTo(x, 10.0);
    y = SnapTo(y, 10.0);
  }
  const TPointDouble cRes = tooth->cRes();
  tooth->Translate(MakePointDouble(x - cRes.x, y - cRes.y));
  FSetup.RebuildSelectionMarkers();
  FHost.Redraw();
  FHost.SetStatusText(TranslateReadout(
      tooth->cRes(), MakePointDouble(x - FTranslateStart.x, y - FTranslateStart.y)));
  FDragMoved = true;
}

void TSelectTool::RotateMove(TPoint p) {
  TTooth* tooth = FSetup.SelectedTooth();
  if (tooth == nullptr) return;
  const TPointDouble cRes = tooth->cRes();
  const TPointDouble pointer = MakePointDouble(p.x, p.y);
  const TPointDouble last = MakePointDouble(FLastMousePoint.x, FLastMousePoint.y);
  // On the centre itself the pointer has no direction: wait for the next move.
  if (PointDistance(pointer, cRes) < 0.5 || PointDistance(last, cRes) < 0.5) {
    if (PointDistance(last, cRes) < 0.5) FLastMousePoint = p;
    return;
  }
  double a = AngleBetweenLines(pointer, cRes, last, cRes);
  if (FHost.SnapGrid()) {
    // The whole turn since the press is rounded, not each move's share of it: a slow drag,
    // whose every move turns less than half a degree, still turns the tooth.
    FPointerTurn += a;
    const double snapped = SnapTo(FPointerTurn * 180.0 / Pi, 1.0) * Pi / 180.0;
    a = snapped - FSnappedTurn;
    FSnappedTurn = snapped;
  }
  tooth->Rotate(cRes, a);
  FSetup.RebuildSelectionMarkers();
  FHost.Redraw();
  FHost.SetStatusText(AngulationReadout(tooth->Tip()));
  FDragMoved = true;
  FLastMousePoint = p;
}

void TSelectTool::SelectNext(bool forward) {
  if (FMouseIsDown) return;
  std::vector<TSelectedObject> objects;
  for (const auto& tooth : FSetup.ToothList()) objects.emplace_back(tooth.get());
  for (const auto& wire : FSetup.WireList()) objects.emplace_back(wire.get());
  if (objects.empty()) return;
  const auto at = std::find(objects.begin(), objects.end(), FSetup.SelectedObject());
  const auto n = static_cast<std::ptrdiff_t>(objects.size());
  std::ptrdiff_t next = forward ? 0 : n - 1;
  if (at != objects.end()) next = ((at - objects.begin()) + (forward ? 1 : n - 1)) % n;
  FSetup.Select(objects[static_cast<std::size_t>(next)]);
  FHost.SetInfoText(FSetup.SelectionInfo());
  FHost.SelectionChanged();
  FHost.Redraw();
}

void TSelectTool::NudgeSelectedTooth(TPointDouble by) {
  TTooth* tooth = FSetup.SelectedTooth();
  if (tooth == nullptr || FMouseIsDown) return;
  const TPointDouble from = tooth->cRes();
  const double x = std::clamp<double>(from.x + by.x, 0.0, ModelExtent);
  const double y = std::clamp<double>(from.y + by.y, 0.0, ModelExtent);
  FHost.BeginChange();
  tooth->Translate(MakePointDouble(x - from.x, y - from.y));
  FSetup.RebuildSelectionMarkers();
  FHost.EndChange("Move Tooth");
  FHost.Redraw();
  FHost.SetStatusText(TranslateReadout(tooth->cRes(), MakePointDouble(x - from.x, y - from.y)));
  FHost.SetInfoText(FSetup.SelectionInfo());
}

void TSelectTool::TurnSelectedTooth(double theta) {
  TTooth* tooth = FSetup.SelectedTooth();
  if (tooth == nullptr || FMouseIsDown) return;
  FHost.BeginChange();
  tooth->Rotate(tooth->cRes(), theta);
  FSetup.RebuildSelectionMarkers();
  FHost.EndChange("Rotate Tooth");
  FHost.Redraw();
  FHost.SetStatusText(AngulationReadout(tooth->Tip()));
  FHost.SetInfoText(FSetup.SelectionInfo());
}

void TSelectTool::TieWireDown(TPoint p) {
  const TWireStraight* wire = FSetup.SelectedWire();
  const TMarkerExtended* marker = FSetup.MarkerAt(p, FHost.HitCanvas());
  if (wire == nullptr || marker == nullptr) return;
  TAttachment* end = AttachmentOf(*marker);
  if (end == nullptr || (end != wire->Attachments[0] && end != wire->Attachments[1])) return;
  FChange = "Tie Wire";
  FHost.BeginChange();
  FSetup.SetDraggedAttachment(end);
  FSetup.SetMarkersToBrackets();
  FHost.Redraw();
}

void TSelectTool::TieWireMove(TPoint p) {
  if (FSetup.SelectedWire() == nullptr || FSetup.DraggedAttachment() == nullptr) return;
  const TMarkerExtended* marker = FSetup.MarkerAt(p, FHost.HitCanvas());
  ShowHover(marker);
  if (marker != nullptr) FSetup.TieDraggedEnd(AttachmentOf(*marker));
  FHost.Redraw();
}

void TSelectTool::TieWireUp() {
  FSetup.SetDraggedAttachment(nullptr);
  if (FSetup.SelectedWire() == nullptr) return;
  // The handles go back from the brackets to the wire's ends.
  FSetup.RebuildSelectionMarkers();
  FHost.SetInfoText(FSetup.SelectionInfo());
  FHost.Redraw();
}

// Zoom tool -----------------------------------------------------------------------------

void TZoomTool::Press(TMouseButton button, TPoint p) {
  if (FMouseIsDown) return;
  if (button == TMouseButton::Right) {
    FHost.ZoomOutAt(p);
    return;
  }
  TRectangle band;
  band.origin = p;
  band.corner = p;
  band.pen.Color = clBlack;
  band.pen.Mode = TPenMode::NotXor;
  band.pen.Style = TPenStyle::Dot;
  band.pen.Width = 0;
  band.brush.Style = TBrushStyle::Clear;
  FZoomBand = band;
  FMouseIsDown = true;
  FHost.InvertBand(*FZoomBand);
}

void TZoomTool::Move(TPoint p) {
  if (!FMouseIsDown || !FZoomBand) return;
  FHost.InvertBand(*FZoomBand);
  FZoomBand->corner = p;
  FHost.InvertBand(*FZoomBand);
}

void TZoomTool::Release(TMouseButton /*button*/, TPoint p) {
  if (!FMouseIsDown || !FZoomBand) return;
  FMouseIsDown = false;
  FHost.InvertBand(*FZoomBand);
  const TRectangle band = *FZoomBand;
  FZoomBand.reset();
  if (std::fabs(band.Width()) >= 2 || std::fabs(band.Height()) >= 2) {
    FHost.ZoomRect(TRect{band.origin.x, band.origin.y, band.corner.x, band.corner.y});
  } else {
    FHost.ZoomInAt(p);
  }
}

void TZoomTool::Cancel() {
  if (FZoomBand) FHost.InvertBand(*FZoomBand);
  FZoomBand.reset();
  FMouseIsDown = false;
}

}  // namespace orvela
