#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace orvela {

// SIGTERM and SIGHUP (logout, shutdown, a closed terminal) close the window through its
// normal close path, as the user closing it would: a run ends, the preferences are written,
// the setup is freed. The signal handler only writes to a pipe; the event loop reads it.
// Open modal dialogs and message boxes are dismissed first (as with Cancel; one that
// ignores it is hidden), since the window cannot close under them, and any message after
// the signal goes to standard error instead of a box. One instance at a time; the default
// actions come back when it goes.
class TCloseOnSignals : public QObject {
  Q_OBJECT

 public:
  explicit TCloseOnSignals(QWidget& window);
  ~TCloseOnSignals() override;
  TCloseOnSignals(const TCloseOnSignals&) = delete;
  TCloseOnSignals& operator=(const TCloseOnSignals&) = delete;

 private:
  void SignalArrived();

  QWidget& FWindow;
  QSocketNotifier* FNotifier = nullptr;
};

}  // namespace orvela
