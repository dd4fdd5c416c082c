#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/setup.h"
#include "graphics/canvas.h"
#include "graphics/shapes.h"

namespace orvela {

enum class TMouseButton : std::uint8_t { Left, Right, Middle };

// What the tools need of the window around the display. Positions are model units.
class TToolHost {
 public:
  TToolHost() = default;
  TToolHost(const TToolHost&) = delete;
  TToolHost& operator=(const TToolHost&) = delete;
  virtual ~TToolHost() = default;

  // The display's surface, for hit tests of handles whose size is in pixels.
  virtual const TCanvas& HitCanvas() const = 0;
  // Snap to Grid: translation in whole millimetres, turning in whole degrees.
  virtual bool SnapGrid() const = 0;
  // Cursor numbers as for handles (DefaultCursor, PlierCursor, …).
  virtual void SetCursor(std::int16_t cursor) = 0;
  // The status line and the information line; shown at once.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetInfoText(const std::string& text) = 0;
  // Draws the setup again (DrawDisplay).
  virtual void Redraw() = 0;
  // The selection has changed: commands that depend on it follow.
  virtual void SelectionChanged() = 0;
  // Edit > Properties for the selection.
  virtual void Properties() = 0;
  // One zoom step in or out, then the point at the display's centre.
  virtual void ZoomInAt(TPoint centre) = 0;
  virtual void ZoomOutAt(TPoint centre) = 0;
  virtual void ZoomRect(const TRect& rect) = 0;
  // Draws the band with its not-xor pen over the frame on show, never into the back
  // buffer: drawing the same band twice leaves no trace.
  virtual void InvertBand(const TRectangle& band) = 0;
  // A drag that changes the setup begins at its press, and ends at its release or when it
  // is cancelled; what names the change ("Move Tooth"). Each pair is one user action.
  virtual void BeginChange() = 0;
  virtual void EndChange(const std::string& what) = 0;
};

// A tool of the Tools toolbar: the view hands it every press, move and release on the
// display. A press that starts a drag is where a user action begins, the release that ends
// it is where it ends.
class TMouseTool {
 public:
  TMouseTool() = default;
  TMouseTool(const TMouseTool&) = delete;
  TMouseTool& operator=(const TMouseTool&) = delete;
  virtual ~TMouseTool() = default;

  virtual void Press(TMouseButton button, TPoint p) = 0;
  virtual void Move(TPoint p) = 0;
  // Ignored unless MouseIsDown.
  virtual void Release(TMouseButton button, TPoint p) = 0;
  // Ends a drag in progress without finishing it (another tool is chosen).
  virtual void Cancel() = 0;
  bool MouseIsDown() const { return FMouseIsDown; }

 protected:
  bool FMouseIsDown = false;
};

// Picks a tooth or a wire and drags the handles its selection offers: "Translate" and
// "Rotate" move a tooth about its centre of resistance, "TieWire" ties a wire end to the
// attachment handle it passes over, "MoveBend" slides a bend along the selected wire. The tool
// keeps no pointer into the setup: the selection, the handles and the dragged attachment live in
// the setup, which clears them together, so a removal between two events leaves nothing dangling
// here.
class TSelectTool : public TMouseTool {
 public:
  TSelectTool(TSetup& setup, TToolHost& host) : FSetup(setup), FHost(host) {}

  void Press(TMouseButton button, TPoint p) override;
  void Move(TPoint p) override;
  void Release(TMouseButton button, TPoint p) override;
  void Cancel() override;

  // Action of the handle under the pointer at the last move with no button down.
  THandleAction HoverAction() const { return FHoverAction; }
  // Remove forgets the handle under the pointer with the object.
  void ClearHover() { FHoverAction = THandleAction::None; }

  // The keyboard on the display. The next (or previous) object in list order, teeth before
  // wires, wrapping round; from nothing, the first (or last).
  void SelectNext(bool forward);
  // Moves the selected tooth by `by` model units, its cRes held on the model square, or turns
  // it by theta (counterclockwise) about cRes; each is one change, read out as a drag is.
  // Nothing happens without a selected tooth or while a drag is on.
  void NudgeSelectedTooth(TPointDouble by);
  void TurnSelectedTooth(double theta);

 private:
  void MovingMouse(TPoint p);
  void DraggingMouse(TPoint p);
  // A press or release away from any handle: picks what lies under the pointer, and a right
  // click asks for its properties.
  void PickDown(TPoint p);
  void PickUp(TMouseButton button);
  void TranslateDown(TPoint p);
  void TranslateMove(TPoint p);
  void RotateMove(TPoint p);
  void TieWireDown(TPoint p);
  void TieWireMove(TPoint p);
  // "MoveBend": slides the bend of the selected wire whose handle was pressed along the
  // chord to the point nearest the pointer, in whole percent with Snap to Grid.
  void BendDown();
  void BendMove(TPoint p);
  void TieWireUp();
  // The cursor and hint of the handle under the pointer, or the plain ones.
  void ShowHover(const TMarkerExtended* marker);
  // The change a drag began, if one is open, ends.
  void EndDragChange();

  TSetup& FSetup;
  TToolHost& FHost;
  THandleAction FHoverAction = THandleAction::None;
  // The Index of the handle under the pointer at the last move.
  std::size_t FHoverIndex = 0;
  bool FDragMoved = false;
  TPoint FLastMousePoint;
  TPointDouble FTranslateStart;
  // A rotate drag with Snap to Grid: the pointer's whole turn about cRes since the press,
  // and the whole degrees of it the tooth has been turned by.
  double FPointerTurn = 0.0;
  double FSnappedTurn = 0.0;
  // The name of the change the drag in progress makes; empty while none is open.
  std::string FChange;
};

// Zooms: a left click in one step about the release point, a right click out one step
// about the pressed point, a band to the rectangle dragged.
class TZoomTool : public TMouseTool {
 public:
  explicit TZoomTool(TToolHost& host) : FHost(host) {}

  void Press(TMouseButton button, TPoint p) override;
  void Move(TPoint p) override;
  void Release(TMouseButton button, TPoint p) override;
  void Cancel() override;
  // The rubber band while it is dragged.
  const std::optional<TRectangle>& ZoomBand() const { return FZoomBand; }

 private:
  TToolHost& FHost;
  std::optional<TRectangle> FZoomBand;
};

// The status-line read-outs of the drags, in the user's number format: position and offset
// since the press in millimetres, and a tooth's angulation in degrees.
std::string TranslateReadout(TPointDouble cRes, TPointDouble offset);
std::string AngulationReadout(double tipRadians);
// A bend's place while it is dragged, in whole percent of the chord from end A.
std::string BendReadout(double position);

}  // namespace orvela
