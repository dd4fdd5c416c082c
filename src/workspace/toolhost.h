#pragma once

#include "tools/tools.h"

namespace orvela {

class TMainForm;

// The main window as the tools see it: its display, status and information lines, zoom
// and Properties command.
class TFormToolHost : public TToolHost {
 public:
  explicit TFormToolHost(TMainForm& form) : FForm(form) {}

  const TCanvas& HitCanvas() const override;
  bool SnapGrid() const override;
  void SetCursor(std::int16_t cursor) override;
  void SetStatusText(const std::string& text) override;
  void SetInfoText(const std::string& text) override;
  void Redraw() override;
  void SelectionChanged() override;
  void Properties() override;
  void ZoomInAt(TPoint centre) override;
  void ZoomOutAt(TPoint centre) override;
  void ZoomRect(const TRect& rect) override;
  void InvertBand(const TRectangle& band) override;

 private:
  TMainForm& FForm;
};

}  // namespace orvela
