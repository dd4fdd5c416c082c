#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <QImage>
#include <QKeyEvent>
#include <QString>
#include <QTransform>
#include <QWidget>

#include "graphics/canvas.h"
#include "graphics/forcedraw.h"
#include "graphics/grid.h"
#include "graphics/shapes.h"
#include "graphics/viewmapping.h"
#include "qtgraphics/qtcanvas.h"

class QComboBox;
class QScrollBar;
class QToolButton;

namespace orvela {

class TSetup;
struct TPreferences;

// The paint area: shows the view's back buffer in one block and hands mouse events to the
// view.
class TDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit TDisplay(QWidget* parent);

  void SetImage(const QImage* image) { FImage = image; }
  // A line centred over the frame, drawn on the screen only (never into the frame, so no
  // picture or printout has it); empty for none.
  void SetEmptyHint(const QString& hint);
  const QString& EmptyHint() const { return FEmptyHint; }
  // Keys for the setup, Tab and Shift+Tab included; returns whether it took the key.
  std::function<bool(const QKeyEvent&)> OnKey;
  // Draws the band with its not-xor pen over the frame on show (model units under
  // mapping); drawing the same band again takes it away. The back buffer never holds it.
  void InvertBand(const TRectangle& band, const QTransform& mapping);

 signals:
  void Pressed(QMouseEvent* event);
  void Moved(QMouseEvent* event);
  void Released(QMouseEvent* event);
  void Resized();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const QImage* FImage = nullptr;
  QString FEmptyHint;
  // The bands drawn an odd number of times, with the mapping of the frame they were
  // drawn on.
  std::vector<TRectangle> FBands;
  QTransform FBandMapping;
};

// The view (PanelDisplay): the mapping from model units to display pixels, the zoom and its
// box, the two scroll bars, the grid and the painting of the setup through a back buffer.
// Scroll positions are model units: the horizontal one is the model x at the display's left
// edge, the vertical one ModelExtent minus the model y at its top edge.
class TView : public QWidget {
  Q_OBJECT

 public:
  // The event number of the zoom-text message the window posts to itself.
  static constexpr int ZoomTextMessage = 1124;

  TView(TSetup& setup, const TPreferences& prefs, const TForceDrawing& forceDrawing,
        QWidget* parent);
  ~TView() override;

  TDisplay* Display() const { return FDisplay; }
  QScrollBar* ScrollBarHorz() const { return FScrollBarHorz; }
  QScrollBar* ScrollBarVert() const { return FScrollBarVert; }
  QToolButton* ScrollBestFitSB() const { return FScrollBestFitSB; }
  // The zoom box; the main window puts it into its Tools toolbar.
  QComboBox* ZoomCB() const { return FZoomCB; }
  // The frame last drawn.
  const QImage& BackBuffer() const;

  std::int32_t ZoomValue() const { return FMapping.ZoomValue; }
  void SetZoomValue(std::int32_t zoom) { FMapping.ZoomValue = zoom; }
  const TViewMapping& Mapping() const;

  // Renders the whole setup into the back buffer and copies it to the display.
  void DrawDisplay();
  // The setup is about to go: nothing is drawn from now on.
  void DetachSetup() { FDetached = true; }
  void AdjustScrollBars();
  // Zoom aZ with the model point (X, Y) at the display's centre, as far as the scroll
  // ranges allow; redraws.
  void ZoomCenterInDisplay(std::int32_t aZ, std::int32_t X, std::int32_t Y);
  // The zoom and the scroll positions a setup file keeps (TViewMapping's ZoomValue, H and
  // V), each held to what the view can show.
  void ShowAt(std::int32_t zoom, std::int32_t h, std::int32_t v);
  void ZoomRect(const TRect& aRect);
  // The zoom tool's rubber band over the displayed frame (see TDisplay::InvertBand).
  void InvertBand(const TRectangle& band);
  // One step of the zoom box's percentages; neither scrolls nor redraws.
  void ZoomIn();
  void ZoomOut();
  // One step with the model point centre at the display's centre; redraws.
  void ZoomStepAt(bool zoomIn, TPoint centre);
  // View > Zoom In / Zoom Out: one step about the display's centre.
  void MenuViewZoom(bool zoomIn);
  void FitAll();
  void BestFit();

  // The model point under a display pixel.
  TPoint PixelToModel(TPoint pixel) const;
  TPoint CentreModelPoint() const;
  // The surface of the display for hit tests in pixel sizes (the back buffer's mapping).
  const TCanvas& DisplayCanvas() const;

  // Posts the zoom-text message to the window; ShowZoomText is its handler.
  void PostZoomText();
  void ShowZoomText();

  // The zoom box: a chosen item, and Enter on typed text.
  void ZoomCBClick();
  void ApplyTypedZoom();

 signals:
  void DisplayPressed(Qt::MouseButton button, TPoint model);
  void DisplayMoved(Qt::MouseButtons buttons, TPoint model);
  void DisplayReleased(Qt::MouseButton button, TPoint model);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Over the display: the wheel scrolls (Shift: sideways), Ctrl+wheel zooms one step of
  // the zoom box about the pointer; touchpads scroll by their pixel deltas.
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The mapping of the zoom and the scroll positions now; a disabled bar counts as 0.
  TViewMapping CurrentMapping() const;
  void SetMapping();
  // Either bar moved by the user: redraw.
  void ScrollBarMainScroll();
  // Shows a percentage item in the zoom box and takes its zoom.
  void TakeZoomItem(std::string_view item);
  void PanelDisplayResize();
  void SetBarPosition(QScrollBar* bar, int position);
  void FocusToolbar();
  // White, with the grid when it is shown. The grid is drawn anew only when the mapping, the
  // size, the grid density or the pixel ratio has changed since the last frame; otherwise
  // its kept rows are copied.
  void DrawBackground(TQtImageCanvas& canvas, const TRect& visible);

  struct TBackgroundKey {
    TViewMapping Mapping;
    QSize Size;
    std::int32_t GridDensity = 0;
    double Ratio = 1.0;
    friend bool operator==(const TBackgroundKey&, const TBackgroundKey&) = default;
  };

  // Scrolls by a distance in display pixels (positive: right, down); the fraction of a
  // model unit left over is kept for the next wheel event.
  void ScrollByPixels(double dx, double dy);
  // Zoom aZ keeping the model point under the display pixel where it is, as far as the
  // scroll ranges allow; redraws.
  void ZoomAboutPixel(std::int32_t aZ, QPointF pixel);

  TSetup& FSetup;
  const TPreferences& FPrefs;
  const TForceDrawing& FForceDrawing;
  TViewMapping FMapping;
  std::unique_ptr<TQtImageCanvas> FBackBuffer;
  TRowPicture FGridRows;
  std::optional<TBackgroundKey> FGridBackgroundKey;
  TDisplay* FDisplay = nullptr;
  QScrollBar* FScrollBarHorz = nullptr;
  QScrollBar* FScrollBarVert = nullptr;
  QToolButton* FScrollBestFitSB = nullptr;
  QComboBox* FZoomCB = nullptr;
  bool FSettingBars = false;
  bool FDetached = false;
  // Wheel movement not yet turned into a scroll unit or a zoom step.
  double FWheelRestX = 0.0;
  double FWheelRestY = 0.0;
  int FWheelZoomAngle = 0;
};

}  // namespace orvela
