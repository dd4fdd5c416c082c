#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "document/runhistory.h"
#include "graphics/canvas.h"
#include "graphics/forcedraw.h"
#include "graphics/markers.h"
#include "mechanics/forcemoment.h"
#include "model/teeth.h"

namespace orvela {

// The selection: a tooth, a wire or nothing. It refers to an object of the setup and never
// owns it.
using TSelectedObject = std::variant<std::monostate, TTooth*, TWireStraight*>;

// The Auto Stop thresholds: a force system passes when its force magnitude is at most
// Force (gf) and the absolute value of its moment at most Moment (gf × model unit, i.e.
// gf·0.1 mm). The moment is compared by its size: a large moment of either sense holds the
// run.
struct TThresholds {
  double Force = 1.0;
  double Moment = 100.0;
};

// Whether every force system of one step passes the thresholds; an empty list does.
bool ThresholdsMet(std::span<const TForceMoment> forces, const TThresholds& thresholds);

// The one setup of the main window: the teeth and wires the user has placed, the handles on
// offer and the selection. ToothList owns the teeth, WireList the wires, MarkerList the
// handles. A wire refers to the attachments of teeth, so whenever the setup is discarded
// (ResetNew, destruction) every wire goes before any tooth. The setup owns the model
// settings its forces and new wires depend on, and builds handles in the style it is given.
class TSetup {
 public:
  using TToothList = std::vector<std::unique_ptr<TTooth>>;
  using TWireList = std::vector<std::unique_ptr<TWireStraight>>;

  explicit TSetup(const TMarkerStyle& markerStyle = {},
                  const TModelSettings& modelSettings = TModelSettings{})
      : FModelSettings(modelSettings), FMarkerStyle(markerStyle) {}
  TSetup(const TSetup&) = delete;
  TSetup& operator=(const TSetup&) = delete;
  // Wires first, then teeth, then markers.
  ~TSetup();

  TToothList& ToothList() { return FToothList; }
  const TToothList& ToothList() const { return FToothList; }
  TWireList& WireList() { return FWireList; }
  const TWireList& WireList() const { return FWireList; }
  TMarkerList& MarkerList() { return FMarkerList; }
  const TMarkerList& MarkerList() const { return FMarkerList; }

  const TModelSettings& ModelSettings() const { return FModelSettings; }
  // The wires already placed compute their forces under the new settings at once.
  void SetModelSettings(const TModelSettings& settings) { FModelSettings = settings; }
  const TMarkerStyle& MarkerStyle() const { return FMarkerStyle; }

  const TSelectedObject& SelectedObject() const { return FSelectedObject; }
  // The attachment that holds the wire end being dragged; none outside a tie-wire drag.
  TAttachment* DraggedAttachment() const { return FDraggedAttachment; }
  void SetDraggedAttachment(TAttachment* attachment) { FDraggedAttachment = attachment; }
  // Selects the object (or nothing) and offers its handles.
  void Select(TSelectedObject selection);
  // Nothing selected, no handles, no dragged attachment: the three go together, so that no
  // later mouse event can reach an object that has been freed.
  void ClearSelection();
  TTooth* SelectedTooth() const;
  TWireStraight* SelectedWire() const;
  bool HasSelection() const { return !std::holds_alternative<std::monostate>(FSelectedObject); }
  // The information line of the selected tooth or wire; empty when nothing is selected.
  std::string SelectionInfo() const;

  bool Running() const { return FRunning; }
  void SetRunning(bool running) { FRunning = running; }

  // Appends and returns the object; the setup owns it from now on.
  TTooth& AddTooth(std::unique_ptr<TTooth> tooth);
  TWireStraight& AddWire(std::unique_ptr<TWireStraight> wire);

  // Edit > Add Tooth: a new tooth of that FDI number (33…36, 43…46) with its bracket bonded
  // at the standard depth below the cusp tip; null for any other number. Not selected.
  TTooth* AddToothOfType(std::int32_t fdi);
  // Edit > Add Wire: a wire of the model settings' default material and size with two free
  // ends. Not selected.
  TWireStraight& AddNewWire();

  enum class TRemoveResult : std::uint8_t { Nothing, Removed, ToothLigated };
  // Edit > Remove. A wire is untied from both ends and freed; a tooth is freed unless one
  // of its attachments still holds a wire (ToothLigated: nothing changes, the tooth stays
  // selected). After a removal nothing is selected.
  TRemoveResult RemoveSelection();

  // The object a click at p picks: the last wire containing p, else the last tooth, else
  // nothing.
  TSelectedObject ObjectAt(TPoint p) const;
  // The first handle of MarkerList whose pixel box on aCanvas holds p; null when none.
  const TMarkerExtended* MarkerAt(TPoint p, const TCanvas& aCanvas) const;

  // Offers the handles of every attachment of every bracket of every tooth, except the
  // attachment holding the other end of the selected wire (the end at DraggedAttachment is
  // being dragged). Only with a wire selected.
  void SetMarkersToBrackets();
  // Ties the selected wire's end at DraggedAttachment to target, which becomes the
  // DraggedAttachment. False (and no change) without a selected wire and a dragged end.
  bool TieDraggedEnd(TAttachment* target);

  // Discards the setup: markers, wires, teeth, in this order, and the history; nothing
  // selected.
  void ResetNew();

  // Replaces the handles by those of the selection (none without one).
  void RebuildSelectionMarkers();
  void ClearMarkers() { FMarkerList.clear(); }

  // Set as Reference: every tooth keeps its outline and pose.
  void SetAsReference();
  // Clear Reference: the outlines go, the remembered poses stay.
  void ClearReference();
  // Reset to Reference: every tooth back to its remembered pose; the handles of the
  // selection follow.
  void ResetToReference();

  // The start of a run: no handles, nothing selected; the steps to come add to a copy of the
  // history, so that whoever kept the history as it was keeps it unchanged.
  void BeginRun();
  // One step: the force system of every tooth is taken before any tooth moves, then each
  // tooth moves under its own. Returns the step's force systems as each tooth moved by them
  // (OrthoMove: at the centre of resistance of a tooth that moved). The step goes into the
  // history unless recording is off.
  std::vector<TForceMoment> RunStep();

  // What the runs since the last New, Open or ClearHistory did; never null.
  const std::shared_ptr<const TRunHistory>& History() const { return FHistory; }
  void SetHistory(std::shared_ptr<const TRunHistory> history);
  void ClearHistory() { SetHistory(std::make_shared<const TRunHistory>()); }
  // Marks the last step as the one at which the run was seen to diverge.
  void MarkDivergence() { RecordingHistory().MarkDivergence(); }
  bool RecordsHistory() const { return FRecordsHistory; }
  void SetRecordsHistory(bool records) { FRecordsHistory = records; }
  // The keys of the teeth in list order (TTooth::Key), and the same given back to teeth
  // rebuilt from a document; a list of another length is ignored.
  std::vector<std::uint64_t> ToothKeys() const;
  void SetToothKeys(const std::vector<std::uint64_t>& keys);

  // The bounding rectangles of all teeth, then of all wires.
  std::vector<TRect> Bounds() const;

  // Reference outlines, then teeth, then wires, each in list order, with the pen and brush
  // the surface has.
  void DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing) const;
  // The same, skipping every outline, tooth and wire whose drawing (force arrows included)
  // lies wholly outside visible, the model rectangle on show (Left ≤ Right, Top ≤ Bottom),
  // which the caller grows by what a device pixel needs. A skipped tooth still leaves the
  // pen and brush as drawing it would, so what follows looks the same.
  void DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing, const TRect& visible) const;
  void DrawMarkers(TCanvas& aCanvas) const;
  // A small marked cross at the centre of rotation of each tooth's last recorded step, where
  // it lies at a finite place.
  void DrawCentresOfRotation(TCanvas& aCanvas) const;

 private:
  TRunHistory& RecordingHistory();

  void DrawAll(TCanvas& aCanvas, const TForceDrawing& drawing, const TRect* visible) const;

  TModelSettings FModelSettings;
  TMarkerStyle FMarkerStyle;
  TToothList FToothList;
  TWireList FWireList;
  TMarkerList FMarkerList;
  TSelectedObject FSelectedObject;
  TAttachment* FDraggedAttachment = nullptr;
  bool FRunning = false;
  std::shared_ptr<const TRunHistory> FHistory = std::make_shared<const TRunHistory>();
  // The history the steps of this run add to: FHistory, owned by this setup alone.
  std::shared_ptr<TRunHistory> FRecording;
  bool FRecordsHistory = true;
  // What each tooth's last step did; kept to spare an allocation a step.
  std::vector<TToothStep> FStepScratch;
  std::uint64_t FNextKey = 1;
};

}  // namespace orvela
