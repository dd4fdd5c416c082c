#include "workspace/toolhost.h"

#include <QLabel>

#include "document/settings.h"
#include "platform/cursors.h"
#include "workspace/view.h"

namespace orvela {

const TCanvas& TFormToolHost::HitCanvas() const { return FView.DisplayCanvas(); }

bool TFormToolHost::SnapGrid() const { return FPrefs.SnapGrid; }

void TFormToolHost::SetCursor(std::int16_t cursor) {
  FView.Display()->setCursor(CursorFromNumber(cursor));
}

void TFormToolHost::SetStatusText(const std::string& text) {
  FStatusLine.setText(QString::fromStdString(text));
  // Shown at once, also in the middle of a drag.
  FStatusLine.repaint();
}

void TFormToolHost::SetInfoText(const std::string& text) {
  FInfoLine.setText(QString::fromStdString(text));
}

void TFormToolHost::Redraw() { FView.DrawDisplay(); }

void TFormToolHost::SelectionChanged() { FHooks.SelectionChanged(); }

void TFormToolHost::Properties() { FHooks.Properties(); }

void TFormToolHost::ZoomInAt(TPoint centre) { FView.ZoomStepAt(true, centre); }

void TFormToolHost::ZoomOutAt(TPoint centre) { FView.ZoomStepAt(false, centre); }

void TFormToolHost::ZoomRect(const TRect& rect) { FView.ZoomRect(rect); }

void TFormToolHost::InvertBand(const TRectangle& band) { FView.InvertBand(band); }

}  // namespace orvela
