#pragma once

#include <functional>
#include <utility>

#include "tools/tools.h"

class QLabel;

namespace orvela {

struct TPreferences;
class TView;

// The main window as the tools see it: its view, status and information lines, the Snap to
// Grid preference, and what the window does when the selection changes or Properties is
// asked for.
class TFormToolHost : public TToolHost {
 public:
  TFormToolHost(TView& view, QLabel& statusLine, QLabel& infoLine, const TPreferences& prefs,
                std::function<void()> selectionChanged, std::function<void()> properties)
      : FView(view),
        FStatusLine(statusLine),
        FInfoLine(infoLine),
        FPrefs(prefs),
        FSelectionChanged(std::move(selectionChanged)),
        FProperties(std::move(properties)) {}

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
  TView& FView;
  QLabel& FStatusLine;
  QLabel& FInfoLine;
  const TPreferences& FPrefs;
  std::function<void()> FSelectionChanged;
  std::function<void()> FProperties;
};

}  // namespace orvela
