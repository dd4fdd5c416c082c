#include "workspace/view.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "document/settings.h"
#include "document/setup.h"
#include "graphics/grid.h"
#include "platform/hints.h"
#include "platform/messages.h"
#include "qtgraphics/qtcanvas.h"
#include "util/startup.h"

namespace orvela {

namespace {

// One wheel notch is 120 eighths of a degree and scrolls QApplication::wheelScrollLines()
// lines of this many pixels.
constexpr int WheelNotch = 120;
constexpr double WheelLinePixels = 20.0;

// What the display says while the setup is empty.
constexpr const char* EmptySetupHint = "Add a tooth with Edit > Add Tooth";
// In the grid's grey, which stays readable on the plot's white at any palette.
const QColor EmptyHintColor(96, 96, 96);

constexpr const char* InvalidZoomText =
    "This is not a valid zoom value.\r\nUse an integer number in the range 25 - 600.";

TPoint PixelOf(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return TPoint{p.x(), p.y()};
}

}  // namespace

TDisplay::TDisplay(QWidget* parent) : QWidget(parent) {
  setObjectName("Display");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // The display takes the keyboard first: Tab walks the selection, the arrows move it.
  setFocusPolicy(Qt::StrongFocus);
  setBackgroundRole(QPalette::Base);
}

bool TDisplay::event(QEvent* event) {
  // Before QWidget::event, which would spend Tab on moving the focus.
  if (event->type() == QEvent::KeyPress && OnKey && OnKey(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void TDisplay::SetEmptyHint(const QString& hint) {
  if (hint == FEmptyHint) return;
  FEmptyHint = hint;
  update();
}

void TDisplay::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const auto drawHint = [this, &painter] {
    if (FEmptyHint.isEmpty()) return;
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    painter.setFont(font);
    // On a white band, so that the grid's lines do not run through the words.
    const QRect text = painter.fontMetrics()
                           .boundingRect(rect(), Qt::AlignCenter, FEmptyHint)
                           .adjusted(-8, -4, 8, 4);
    painter.fillRect(text, Qt::white);
    painter.setPen(EmptyHintColor);
    painter.drawText(rect(), Qt::AlignCenter, FEmptyHint);
  };
  if (FImage == nullptr || FImage->isNull()) {
    painter.fillRect(rect(), Qt::white);
    drawHint();
    return;
  }
  if (FBands.empty()) {
    painter.drawImage(0, 0, *FImage);
    drawHint();
    return;
  }
  // The bands go on a copy of the frame, where the not-xor pen inverts what lies below.
  QImage frame = FImage->copy();
  {
    TQtCanvas canvas(frame);
    canvas.SetMapping(FBandMapping);
    canvas.Begin();
    for (const TRectangle& band : FBands) band.Draw(canvas);
    canvas.End();
  }
  painter.drawImage(0, 0, frame);
  drawHint();
}

void TDisplay::InvertBand(const TRectangle& band, const QTransform& mapping) {
  const auto same = [&band](const TRectangle& b) {
    return b.origin == band.origin && b.corner == band.corner;
  };
  const auto at = std::find_if(FBands.begin(), FBands.end(), same);
  if (at != FBands.end()) {
    FBands.erase(at);
  } else {
    FBands.push_back(band);
  }
  FBandMapping = mapping;
  repaint();
}

void TDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
}

void TDisplay::mousePressEvent(QMouseEvent* event) { emit Pressed(event); }
void TDisplay::mouseMoveEvent(QMouseEvent* event) { emit Moved(event); }
void TDisplay::mouseReleaseEvent(QMouseEvent* event) { emit Released(event); }

TView::TView(TSetup& setup, const TPreferences& prefs, const TForceDrawing& forceDrawing,
             QWidget* parent)
    : QWidget(parent),
      FSetup(setup),
      FPrefs(prefs),
      FForceDrawing(forceDrawing),
      FBackBuffer(std::make_unique<TQtImageCanvas>(QSize(1, 1))) {
  FMapping.Extent = ModelExtent;

  FDisplay = new TDisplay(this);
  FScrollBarHorz = new QScrollBar(Qt::Horizontal, this);
  FScrollBarHorz->setObjectName("ScrollBarHorz");
  FScrollBarVert = new QScrollBar(Qt::Vertical, this);
  FScrollBarVert->setObjectName("ScrollBarVert");
  FScrollBestFitSB = new QToolButton(this);
  FScrollBestFitSB->setObjectName("ScrollBestFitSB");
  FScrollBestFitSB->setAutoRaise(true);
  SetHint(*FScrollBestFitSB, "Best Fit|Zoom to best fit.");

  // The bars take the system's scroll-bar extent; the button fills the corner.
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  FScrollBarHorz->setFixedHeight(extent);
  FScrollBarVert->setFixedWidth(extent);
  FScrollBestFitSB->setFixedSize(extent, extent);
  for (QScrollBar* bar : {FScrollBarHorz, FScrollBarVert}) {
    bar->setRange(0, ModelExtent);
    bar->setSingleStep(1);
  }

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(FDisplay, 0, 0);
  grid->addWidget(FScrollBarVert, 0, 1);
  grid->addWidget(FScrollBarHorz, 1, 0);
  grid->addWidget(FScrollBestFitSB, 1, 1);

  FZoomCB = new QComboBox(this);
  FZoomCB->setObjectName("ZoomCB");
  FZoomCB->setEditable(true);
  FZoomCB->setInsertPolicy(QComboBox::NoInsert);
  FZoomCB->setCompleter(nullptr);  // typed digits are never completed to an item
  FZoomCB->setMaxVisibleItems(10);
  FZoomCB->setFocusPolicy(Qt::ClickFocus);  // skipped by the Tab key
  FZoomCB->setMinimumContentsLength(8);
  for (std::string_view item : ZoomBoxItems) {
    FZoomCB->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  }
  SetHint(*FZoomCB, "Zoom Control|Select the desired zoom level or enter a value.");
  // Typed keys reach the box, which has the focus and hands them straight on to its edit
  // line; so the box is watched, and the edit line for keys sent to it directly.
  FZoomCB->installEventFilter(this);
  FZoomCB->lineEdit()->installEventFilter(this);
  connect(FZoomCB, &QComboBox::activated, this, [this] { ZoomCBClick(); });
  // The corner button does what the box's "Best Fit" item does.
  connect(FScrollBestFitSB, &QToolButton::clicked, this, [this] {
    BestFit();
    PostZoomText();
  });

  for (QScrollBar* bar : {FScrollBarHorz, FScrollBarVert}) {
    connect(bar, &QScrollBar::valueChanged, this, &TView::ScrollBarMainScroll);
  }
  connect(FDisplay, &TDisplay::Resized, this, &TView::PanelDisplayResize);
  connect(FDisplay, &TDisplay::Pressed, this, [this](QMouseEvent* event) {
    emit DisplayPressed(event->button(), PixelToModel(PixelOf(event)));
  });
  connect(FDisplay, &TDisplay::Moved, this, [this](QMouseEvent* event) {
    emit DisplayMoved(event->buttons(), PixelToModel(PixelOf(event)));
  });
  connect(FDisplay, &TDisplay::Released, this, [this](QMouseEvent* event) {
    emit DisplayReleased(event->button(), PixelToModel(PixelOf(event)));
  });

  FDisplay->SetImage(&FBackBuffer->Image());
}

TView::~TView() {
  FDisplay->SetImage(nullptr);
  FBackBuffer.reset();
}

const QImage& TView::BackBuffer() const { return *FBackBuffer->SourceImage(); }

const TViewMapping& TView::Mapping() const { return FMapping; }

TViewMapping TView::CurrentMapping() const {
  TViewMapping mapping = FMapping;
  mapping.Extent = ModelExtent;
  mapping.H = FScrollBarHorz->isEnabled() ? FScrollBarHorz->value() : 0;
  mapping.V = FScrollBarVert->isEnabled() ? FScrollBarVert->value() : 0;
  return mapping;
}

void TView::SetMapping() {
  FMapping = CurrentMapping();
  FBackBuffer->SetMapping(
      QTransform(FMapping.M11(), 0.0, 0.0, FMapping.M22(), FMapping.Dx(), FMapping.Dy()));
}

TPoint TView::PixelToModel(TPoint pixel) const { return CurrentMapping().PixelToModel(pixel); }

TPoint TView::CentreModelPoint() const {
  return PixelToModel(TPoint{FDisplay->width() / 2, FDisplay->height() / 2});
}

const TCanvas& TView::DisplayCanvas() const { return *FBackBuffer; }

void TView::DrawBackground(TQtImageCanvas& canvas, const TRect& visible) {
  if (!FPrefs.ShowGrid) {
    canvas.FillRectWhite(visible);
    return;
  }
  const TBackgroundKey key{FMapping, canvas.Size(), FPrefs.GridDensity, canvas.DevicePixelRatio()};
  if (FGridBackgroundKey == key && canvas.CopyFrom(FGridRows)) {
    LeaveGridState(canvas, FPrefs.GridDensity);
    return;
  }
  // Drawn in the frame itself, whose rows are then kept for the frames that follow; the
  // grid leaves the pen as LeaveGridState does.
  canvas.FillRectWhite(visible);
  DrawGrid(canvas, FPrefs.GridDensity);
  FGridRows.Take(canvas);
  canvas.Begin();
  FGridBackgroundKey = key;
}

void TView::DrawDisplay() {
  if (FDetached) return;
  const double ratio = FDisplay->devicePixelRatioF();
  if ((FBackBuffer->Size() != FDisplay->size() || FBackBuffer->DevicePixelRatio() != ratio) &&
      !FDisplay->size().isEmpty()) {
    FBackBuffer->Resize(FDisplay->size(), ratio);
  }
  SetMapping();
  const TPoint a = FMapping.PixelToModel(TPoint{0, 0});
  const TPoint b = FMapping.PixelToModel(TPoint{FDisplay->width(), FDisplay->height()});
  // The corners are rounded to whole model units, which at a high zoom are several pixels:
  // one unit more on every side clears the edge columns and rows too.
  const TRect visible{a.x - 1, b.y - 1, b.x + 1, a.y + 1};
  TQtImageCanvas& canvas = *FBackBuffer;
  canvas.Begin();
  DrawBackground(canvas, visible);
  // What lies off screen is skipped; a one-pixel line may reach a few units beyond its
  // points at a low zoom.
  const std::int32_t reach =
      static_cast<std::int32_t>(std::ceil(2.0 / std::max(FMapping.PixelsPerUnit(), 1e-6)));
  FSetup.DrawAll(canvas, FForceDrawing,
                 TRect{visible.Left - reach, visible.Top - reach, visible.Right + reach,
                       visible.Bottom + reach});
  if (FPrefs.ShowCentresOfRotation) FSetup.DrawCentresOfRotation(canvas);
  if (!FSetup.Running()) FSetup.DrawMarkers(canvas);
  canvas.End();
  const bool empty = FSetup.ToothList().empty() && FSetup.WireList().empty();
  FDisplay->SetEmptyHint(empty ? QString::fromUtf8(EmptySetupHint) : QString());
  // The finished frame goes to the display in one block.
  FDisplay->repaint();
}

void TView::AdjustScrollBars() {
  SetMapping();
  const TPoint p0 = FMapping.PixelToModel(TPoint{0, 0});
  const TPoint p1 = FMapping.PixelToModel(TPoint{FDisplay->width() - 1, FDisplay->height() - 1});
  const std::int32_t visibleWidth = p1.x - p0.x;
  const std::int32_t visibleHeight = p0.y - p1.y;
  FSettingBars = true;
  const auto adjust = [](QScrollBar* bar, std::int32_t visible) {
    if (visible >= ModelExtent) {
      bar->setValue(0);
      bar->setEnabled(false);
    } else {
      bar->setEnabled(true);
      const int page = std::max(1, visible);
      // Qt's maximum is the largest position: the bar's maximum minus its page.
      bar->setRange(0, ModelExtent - page);
      bar->setPageStep(page);
    }
  };
  adjust(FScrollBarHorz, visibleWidth);
  adjust(FScrollBarVert, visibleHeight);
  FSettingBars = false;
}

void TView::SetBarPosition(QScrollBar* bar, int position) {
  if (!bar->isEnabled()) return;
  bar->setValue(std::clamp(position, 0, bar->maximum()));
}

void TView::ZoomCenterInDisplay(std::int32_t aZ, std::int32_t X, std::int32_t Y) {
  FMapping.ZoomValue = aZ;
  AdjustScrollBars();
  SetMapping();
  const TPoint p0 = FMapping.PixelToModel(TPoint{0, 0});
  const TPoint pc = FMapping.PixelToModel(TPoint{FDisplay->width() / 2, FDisplay->height() / 2});
  const std::int64_t h = static_cast<std::int64_t>(X) - (pc.x - p0.x);
  const std::int64_t v =
      static_cast<std::int64_t>(ModelExtent) - (static_cast<std::int64_t>(Y) - pc.y + p0.y);
  FSettingBars = true;
  SetBarPosition(FScrollBarHorz, static_cast<int>(std::clamp<std::int64_t>(h, 0, ModelExtent)));
  SetBarPosition(FScrollBarVert, static_cast<int>(std::clamp<std::int64_t>(v, 0, ModelExtent)));
  FSettingBars = false;
  DrawDisplay();
}

void TView::ShowAt(std::int32_t zoom, std::int32_t h, std::int32_t v) {
  FMapping.ZoomValue = std::clamp(zoom, MinZoomValue, MaxZoomValue);
  AdjustScrollBars();
  FSettingBars = true;
  SetBarPosition(FScrollBarHorz, h);
  SetBarPosition(FScrollBarVert, v);
  FSettingBars = false;
  DrawDisplay();
  PostZoomText();
}

void TView::ScrollBarMainScroll() {
  if (FSettingBars) return;
  // The bar's range already keeps the position within 0 … maximum − page.
  DrawDisplay();
}

void TView::PanelDisplayResize() {
  if (FDisplay->size().isEmpty()) return;
  FBackBuffer->Resize(FDisplay->size(), FDisplay->devicePixelRatioF());
  // The centre pixel's model point is rounded to the nearest unit, so it is taken as it is:
  // adding a unit (as for a truncating conversion) would creep the view at every resize.
  const TPoint c = CentreModelPoint();
  ZoomCenterInDisplay(FMapping.ZoomValue, c.x, c.y);
}

void TView::TakeZoomItem(std::string_view item) {
  FZoomCB->setEditText(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  FMapping.ZoomValue = *ZoomItemValue(item);
}

void TView::ZoomIn() { TakeZoomItem(ZoomInItem(FMapping.ZoomValue)); }

void TView::ZoomOut() { TakeZoomItem(ZoomOutItem(FMapping.ZoomValue)); }

void TView::ZoomStepAt(bool zoomIn, TPoint centre) {
  if (zoomIn) {
    ZoomIn();
  } else {
    ZoomOut();
  }
  ZoomCenterInDisplay(FMapping.ZoomValue, centre.x, centre.y);
}

void TView::MenuViewZoom(bool zoomIn) { ZoomStepAt(zoomIn, CentreModelPoint()); }

void TView::ZoomRect(const TRect& aRect) {
  const auto fit = ZoomRectFit(aRect, FDisplay->width(), FDisplay->height());
  if (!fit) return;
  ZoomCenterInDisplay(fit->Zoom, fit->Centre.x, fit->Centre.y);
  ShowZoomText();
}

void TView::InvertBand(const TRectangle& band) {
  FDisplay->InvertBand(band, FBackBuffer->Mapping());
}

void TView::FitAll() {
  ZoomCenterInDisplay(FitAllZoom(FDisplay->width(), FDisplay->height(), ModelExtent), 0, 0);
}

void TView::BestFit() {
  const std::vector<TRect> bounds = FSetup.Bounds();
  ZoomRect(BestFitRect(bounds));
}

void TView::PostZoomText() {
  // The event loop takes the event over.
  auto message = std::make_unique<QEvent>(static_cast<QEvent::Type>(ZoomTextMessage));
  QCoreApplication::postEvent(window(), message.release());
}

void TView::ShowZoomText() {
  FZoomCB->setEditText(QString::fromStdString(ZoomText(FMapping.ZoomValue)));
}

void TView::FocusToolbar() {
  if (QWidget* bar = FZoomCB->parentWidget()) bar->setFocus(Qt::OtherFocusReason);
  if (FZoomCB->hasFocus() || FZoomCB->lineEdit()->hasFocus()) FZoomCB->clearFocus();
}

void TView::ZoomCBClick() {
  FocusToolbar();
  const std::string text = FZoomCB->currentText().toStdString();
  if (text == ZoomFitAllItem) {
    FitAll();
  } else if (text == ZoomBestFitItem) {
    BestFit();
  } else if (const auto zoom = ZoomItemValue(text)) {
    const TPoint c = CentreModelPoint();
    ZoomCenterInDisplay(*zoom, c.x, c.y);
  }
  PostZoomText();
}

void TView::ApplyTypedZoom() {
  FocusToolbar();
  const auto zoom = ParseTypedZoom(FZoomCB->currentText().toStdString());
  if (!zoom) {
    ShowMessage(this, TMessageKind::Error, InvalidZoomText);
    FZoomCB->setFocus(Qt::OtherFocusReason);
    return;
  }
  const TPoint c = CentreModelPoint();
  ZoomCenterInDisplay(*zoom, c.x, c.y);
  ShowZoomText();
}

bool TView::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == FZoomCB || watched == FZoomCB->lineEdit()) && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      ApplyTypedZoom();
      return true;
    }
    const QString text = key->text();
    // Keys that type nothing (arrows, Delete, Tab, modifiers) keep their usual meaning.
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    const QChar c = text.at(0);
    if (c.isDigit() && c.unicode() < 128) return false;
    if (c == '%' || c == '/') return false;
    Beep();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TView::wheelEvent(QWheelEvent* event) {
  if (!FDisplay->geometry().contains(event->position().toPoint())) {
    QWidget::wheelEvent(event);
    return;
  }
  event->accept();
  const QPoint angle = event->angleDelta();
  if (event->modifiers() & Qt::ControlModifier) {
    // High-resolution wheels send parts of a notch: a step is taken per whole notch.
    FWheelZoomAngle += angle.y() != 0 ? angle.y() : angle.x();
    const int steps = FWheelZoomAngle / WheelNotch;
    if (steps == 0) return;
    FWheelZoomAngle -= steps * WheelNotch;
    std::int32_t zoom = FMapping.ZoomValue;
    for (int i = 0; i < std::abs(steps); ++i) {
      zoom = *ZoomItemValue(steps > 0 ? ZoomInItem(zoom) : ZoomOutItem(zoom));
    }
    ZoomAboutPixel(zoom, event->position() - QPointF(FDisplay->pos()));
    return;
  }
  // Wheel up or left shows what lies above or to the left.
  QPointF distance;
  if (!event->pixelDelta().isNull()) {
    distance = -QPointF(event->pixelDelta());
  } else {
    const double perNotch = QApplication::wheelScrollLines() * WheelLinePixels;
    distance = -QPointF(angle) * perNotch / WheelNotch;
  }
  // Shift turns a vertical wheel sideways (some systems turn it already).
  if ((event->modifiers() & Qt::ShiftModifier) && distance.x() == 0.0) {
    distance = QPointF(distance.y(), 0.0);
  }
  ScrollByPixels(distance.x(), distance.y());
}

void TView::ScrollByPixels(double dx, double dy) {
  const double k = FMapping.PixelsPerUnit();
  // A model unit can span several pixels: the rest waits for the next event, so that a
  // touchpad's small deltas add up instead of being lost.
  FWheelRestX += dx / k;
  FWheelRestY += dy / k;
  const double unitsX = std::trunc(FWheelRestX);
  const double unitsY = std::trunc(FWheelRestY);
  FWheelRestX -= unitsX;
  FWheelRestY -= unitsY;
  // At an end, or with the bar disabled, the rest is dropped, so that turning back
  // responds at once.
  const auto moveBar = [](QScrollBar* bar, double units, double& rest) {
    if (!bar->isEnabled()) {
      rest = 0.0;
      return false;
    }
    if (units == 0.0) return false;
    const int target = static_cast<int>(
        std::clamp(bar->value() + units, 0.0, static_cast<double>(bar->maximum())));
    if (target == bar->value()) {
      rest = 0.0;
      return false;
    }
    bar->setValue(target);
    return true;
  };
  FSettingBars = true;
  const bool movedX = moveBar(FScrollBarHorz, unitsX, FWheelRestX);
  const bool movedY = moveBar(FScrollBarVert, unitsY, FWheelRestY);
  FSettingBars = false;
  if (movedX || movedY) DrawDisplay();
}

void TView::ZoomAboutPixel(std::int32_t aZ, QPointF pixel) {
  SetMapping();
  const double k0 = FMapping.PixelsPerUnit();
  const double x = (pixel.x() - FMapping.Dx()) / k0;
  const double y = (pixel.y() - FMapping.Dy()) / -k0;
  FMapping.ZoomValue = aZ;
  AdjustScrollBars();
  const double k = FMapping.PixelsPerUnit();
  // The positions that put (x, y) under the pixel: x = H + px / k and
  // y = ModelExtent − V − py / k.
  const double h = x - pixel.x() / k;
  const double v = ModelExtent - y - pixel.y() / k;
  FSettingBars = true;
  SetBarPosition(FScrollBarHorz, static_cast<int>(std::lround(std::clamp(h, 0.0, 1e9))));
  SetBarPosition(FScrollBarVert, static_cast<int>(std::lround(std::clamp(v, 0.0, 1e9))));
  FSettingBars = false;
  FWheelRestX = 0.0;
  FWheelRestY = 0.0;
  DrawDisplay();
  ShowZoomText();
}

}  // namespace orvela
