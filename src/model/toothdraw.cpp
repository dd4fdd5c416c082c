#include <algorithm>

#include "model/tooth.h"
#include "model/wire.h"

namespace orvela {

TForceDrawPlaces ForceDrawPlaces;

namespace {

constexpr TColor CrownColor{255, 255, 232};
constexpr TColor RootColor{255, 255, 128};
constexpr TColor AnkylosedRootColor{255, 128, 128};
constexpr TColor OutlineColor{128, 128, 128};

void DrawPolygon(TCanvas& aCanvas, const std::vector<TPointDouble>& points) {
  std::vector<TPoint> rounded(points.size());
  std::transform(points.begin(), points.end(), rounded.begin(), RoundPoint);
  aCanvas.Polygon(rounded);
}

}  // namespace

void TTooth::Draw(TCanvas& aCanvas) const {
  const int savedWidth = aCanvas.Pen().Width;
  aCanvas.Pen().Width = 1;
  aCanvas.Pen().Mode = TPenMode::Copy;
  aCanvas.Pen().Color = OutlineColor;
  aCanvas.Brush().Style = TBrushStyle::Solid;

  aCanvas.Brush().Color = CrownColor;
  DrawPolygon(aCanvas, crown);
  // After the crown, so the root covers it where they overlap.
  aCanvas.Brush().Color = FAnkylosed ? AnkylosedRootColor : RootColor;
  DrawPolygon(aCanvas, root);

  aCanvas.Ellipse(RoundPoint({FcRes.x - 5, FcRes.y - 5}), RoundPoint({FcRes.x + 5, FcRes.y + 5}));

  // Across the axis at the level of bone support, as wide as the root at the cervix.
  const double scale = (cervixDiameter / 2.0) / toothLength();
  const TPointDouble v{(apex.y - cusp.y) * scale, (cusp.x - apex.x) * scale};
  aCanvas.Pen().Width = 2;
  aCanvas.Pen().Color = clBlue;
  aCanvas.MoveTo(RoundPoint({FCervix.x + v.x, FCervix.y + v.y}));
  aCanvas.LineTo(RoundPoint({FCervix.x - v.x, FCervix.y - v.y}));

  aCanvas.Pen().Width = 0;
  aCanvas.Pen().Color = clBlack;
  for (const auto& bracket : FBrackets) bracket->Draw(aCanvas);

  DrawForces(aCanvas);
  aCanvas.Pen().Width = savedWidth;
}

void TTooth::DrawForces(TCanvas& aCanvas) const {
  if (ForceDrawPlaces.atCRes) {
    TForceMoment total = TotalForce();
    total.Reorient(FcRes);
    total.Draw(aCanvas);
  }
  if (ForceDrawPlaces.atAttachments) {
    for (const auto& bracket : FBrackets) {
      for (const auto& att : bracket->Attachments) {
        TForceMoment sum;
        att->AddWireForces(sum);
        sum.Draw(aCanvas);
      }
    }
  }
  if (ForceDrawPlaces.atBrackets) {
    for (const auto& bracket : FBrackets) {
      TForceMoment sum;
      bracket->AddWireForces(sum);
      sum.Reorient(bracket->Origin());
      sum.Draw(aCanvas);
    }
  }
}

void TTooth::DrawOriginalOutline(TCanvas& aCanvas) const {
  if (origOutline.empty()) return;
  const TPen saved = aCanvas.Pen();
  aCanvas.Pen().Width = 0;
  aCanvas.Pen().Style = TPenStyle::Dot;
  aCanvas.Pen().Mode = TPenMode::Copy;
  std::vector<TPoint> rounded(origOutline.size());
  std::transform(origOutline.begin(), origOutline.end(), rounded.begin(), RoundPoint);
  aCanvas.Polyline(rounded);
  aCanvas.Pen().Width = saved.Width;
  aCanvas.Pen().Style = saved.Style;
  aCanvas.Pen().Mode = saved.Mode;
}

TMarkerList TTooth::Markers() {
  struct THandle {
    TPointDouble Position;
    const char* Hint;
    std::int16_t Cursor;
    std::string_view Action;
    std::int32_t Image;
  };
  const std::array<THandle, 3> handles{{
      {cusp, "Cusp Tip.", RotateCursor, ActionRotateName, 1},
      {apex, "Apex.", RotateCursor, ActionRotateName, 1},
      {FcRes, "Center of Resistance.", MoveCursor, ActionTranslateName, 0},
  }};
  TMarkerList markers;
  markers.reserve(handles.size());
  for (const THandle& h : handles) {
    markers.push_back(
        MakeImageMarker(h.Position, ImageListMarkers, h.Image, h.Hint, h.Cursor, h.Action, this));
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
