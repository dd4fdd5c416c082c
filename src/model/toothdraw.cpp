#include <algorithm>

#include "model/tooth.h"
#include "model/wire.h"

namespace orvela {

namespace {

constexpr TColor CrownColor{255, 255, 232};
constexpr TColor RootColor{255, 255, 128};
constexpr TColor AnkylosedRootColor{255, 128, 128};
constexpr TColor OutlineColor{128, 128, 128};

// Rounded vertices of the outline being drawn; kept so that a repaint allocates nothing.
std::vector<TPoint>& RoundedBuffer(const std::vector<TPointDouble>& points) {
  thread_local std::vector<TPoint> rounded;
  rounded.resize(points.size());
  std::transform(points.begin(), points.end(), rounded.begin(), RoundPoint);
  return rounded;
}

void DrawPolygon(TCanvas& aCanvas, const std::vector<TPointDouble>& points) {
  aCanvas.Polygon(RoundedBuffer(points));
}

TColor RootColorOf(bool ankylosed) { return ankylosed ? AnkylosedRootColor : RootColor; }

}  // namespace

void TTooth::Draw(TCanvas& aCanvas, const TForceDrawing& drawing) const {
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 1;
  aCanvas.Pen().Mode = TPenMode::Copy;
  aCanvas.Pen().Color = OutlineColor;
  aCanvas.Brush().Style = TBrushStyle::Solid;

  aCanvas.Brush().Color = CrownColor;
  DrawPolygon(aCanvas, crown);
  // After the crown, so the root covers it where they overlap.
  aCanvas.Brush().Color = RootColorOf(FAnkylosed);
  DrawPolygon(aCanvas, root);

  aCanvas.Ellipse(RoundPoint({FcRes.x - 5, FcRes.y - 5}), RoundPoint({FcRes.x + 5, FcRes.y + 5}));

  const auto [from, to] = CervixLine();
  aCanvas.Pen().Width = 2;
  aCanvas.Pen().Color = clBlue;
  aCanvas.MoveTo(RoundPoint(from));
  aCanvas.LineTo(RoundPoint(to));

  aCanvas.Pen().Width = 0;
  aCanvas.Pen().Color = clBlack;
  for (const auto& bracket : FBrackets) bracket->Draw(aCanvas);

  DrawForces(aCanvas, drawing);
  aCanvas.Pen().Width = savedWidth;
}

template <class F>
void TTooth::ForEachDrawnForce(const TForceDrawPlaces& places, F&& f) const {
  if (places.atCRes) {
    TForceMoment total = TotalForce();
    total.Reorient(FcRes);
    f(total);
  }
  if (places.atAttachments) {
    for (const auto& bracket : FBrackets) {
      for (const auto& att : bracket->Attachments) {
        TForceMoment sum;
        att->AddWireForces(sum);
        f(sum);
      }
    }
  }
  if (places.atBrackets) {
    for (const auto& bracket : FBrackets) {
      TForceMoment sum;
      bracket->AddWireForces(sum);
      sum.Reorient(bracket->Origin());
      f(sum);
    }
  }
}

void TTooth::DrawForces(TCanvas& aCanvas, const TForceDrawing& drawing) const {
  ForEachDrawnForce(drawing.Places,
                    [&](const TForceMoment& fm) { DrawForceMoment(aCanvas, fm, drawing); });
}

std::pair<TPointDouble, TPointDouble> TTooth::CervixLine() const {
  // Across the axis at the level of bone support, as wide as the root at the cervix.
  const double scale = (cervixDiameter / 2.0) / toothLength();
  const TPointDouble v{(apex.y - cusp.y) * scale, (cusp.x - apex.x) * scale};
  return {TPointDouble{FCervix.x + v.x, FCervix.y + v.y},
          TPointDouble{FCervix.x - v.x, FCervix.y - v.y}};
}

void TTooth::AddDrawnExtent(TExtent& extent) const {
  // Outline pens are a unit or two wide; the centre-of-resistance disc has a radius of 5.
  extent.Add(crown);
  extent.Add(root);
  extent.AddAround(FcRes, 6.0);
  const auto [from, to] = CervixLine();
  extent.Add(from);
  extent.Add(to);
  for (const auto& bracket : FBrackets) {
    extent.Add(bracket->Slot());
  }
}

void TTooth::AddForcesExtent(TExtent& extent, const TForceDrawing& drawing) const {
  ForEachDrawnForce(drawing.Places,
                    [&](const TForceMoment& fm) { AddForceMomentExtent(extent, fm, drawing); });
}

void TTooth::LeaveDrawState(TCanvas& aCanvas) const {
  // Draw keeps the pen's width and style; the force arrows put back what they change.
  aCanvas.Pen().Mode = TPenMode::Copy;
  aCanvas.Pen().Color = clBlack;
  aCanvas.Brush().Style = TBrushStyle::Solid;
  aCanvas.Brush().Color = FBrackets.empty() ? RootColorOf(FAnkylosed) : clSilver;
}

void TTooth::DrawOriginalOutline(TCanvas& aCanvas) const {
  if (origOutline.empty()) return;
  const TPen saved = aCanvas.Pen();
  aCanvas.Pen().Width = 0;
  aCanvas.Pen().Style = TPenStyle::Dot;
  aCanvas.Pen().Mode = TPenMode::Copy;
  aCanvas.Polyline(RoundedBuffer(origOutline));
  aCanvas.Pen().Width = saved.Width;
  aCanvas.Pen().Style = saved.Style;
  aCanvas.Pen().Mode = saved.Mode;
}

TMarkerList TTooth::Markers(const TMarkerStyle& style) {
  struct THandle {
    TPointDouble Position;
    const char* Hint;
    std::int16_t Cursor;
    THandleAction Action;
    std::int32_t Image;
  };
  const std::array<THandle, 3> handles{{
      {cusp, "Cusp Tip.", RotateCursor, THandleAction::Rotate, 1},
      {apex, "Apex.", RotateCursor, THandleAction::Rotate, 1},
      {FcRes, "Center of Resistance.", MoveCursor, THandleAction::Translate, 0},
  }};
  TMarkerList markers;
  markers.reserve(handles.size());
  for (const THandle& h : handles) {
    markers.push_back(
        MakeImageMarker(h.Position, style.Markers, h.Image, h.Hint, h.Cursor, h.Action, this));
  }
  return markers;
}

TMarkerList TTooth::ResponceMarkers() const {
  TMarkerList markers;
  markers.reserve(Responce.size());
  for (const TPoint& p : Responce) {
    auto marker = std::make_unique<TMarkerExtended>();
    marker->origin = p;
    marker->Cursor = MoveCursor;
    marker->size = 2;
    marker->brush.Color = clBlue;
    markers.push_back(std::move(marker));
  }
  return markers;
}

}  // namespace orvela
