#pragma once

#include <functional>
#include <utility>

#include "tools/tools.h"

class QLabel;

namespace orvela {

struct TPreferences;
class TView;

// The main window as the tools see it: its view, status and information lines, the Snap to
// Grid preference, and what the window does when the selection changes, Properties is asked
// for, or a drag begins and ends a change.
class TFormToolHost : public TToolHost {
 public:
  struct TWindowHooks {
    std::function<void()> SelectionChanged;
    std::function<void()> Properties;
    std::function<void()> BeginChange;
    std::function<void(const std::string&)> EndChange;
  };

  TFormToolHost(TView& view, QLabel& statusLine, QLabel& infoLine, const TPreferences& prefs,
                TWindowHooks hooks)
      : FView(view),
        FStatusLine(statusLine),
        FInfoLine(infoLine),
        FPrefs(prefs),
        FHooks(std::move(hooks)) {}

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
  void BeginChange() override { FHooks.BeginChange(); }
  void EndChange(const std::string& what) override { FHooks.EndChange(what); }

 private:
  TView& FView;
  QLabel& FStatusLine;
  QLabel& FInfoLine;
  const TPreferences& FPrefs;
  TWindowHooks FHooks;
};

}  // namespace orvela
