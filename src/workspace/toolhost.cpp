#include "workspace/toolhost.h"

#include <QLabel>

#include "platform/cursors.h"
#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela {

const TCanvas& TFormToolHost::HitCanvas() const { return FForm.View().DisplayCanvas(); }

bool TFormToolHost::SnapGrid() const { return FForm.SnapGrid(); }

void TFormToolHost::SetCursor(std::int16_t cursor) {
  FForm.View().Display()->setCursor(CursorFromNumber(cursor));
}

void TFormToolHost::SetStatusText(const std::string& text) {
  FForm.PanelBottom()->setText(QString::fromStdString(text));
  // Shown at once, also in the middle of a drag.
  FForm.PanelBottom()->repaint();
}

void TFormToolHost::SetInfoText(const std::string& text) {
  FForm.PanelInfo()->setText(QString::fromStdString(text));
}

void TFormToolHost::Redraw() { FForm.View().DrawDisplay(); }

void TFormToolHost::SelectionChanged() { FForm.UpdateMenu(); }

void TFormToolHost::Properties() { FForm.ActionPropertiesExecute(); }

void TFormToolHost::ZoomInAt(TPoint centre) { FForm.View().ZoomStepAt(true, centre); }

void TFormToolHost::ZoomOutAt(TPoint centre) { FForm.View().ZoomStepAt(false, centre); }

void TFormToolHost::ZoomRect(const TRect& rect) { FForm.View().ZoomRect(rect); }

void TFormToolHost::InvertBand(const TRectangle& band) { FForm.View().InvertBand(band); }

}  // namespace orvela
