#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include <QDialog>

#include "dialogs/responcelib.h"
#include "model/tooth.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;

namespace orvela {

class TPaintBox;
class TQtCanvas;

// The "Tooth Info" dialog, shown modally on one tooth and reused for every tooth. Page
// "Tooth": the tooth drawn by itself, its bone support (ScrollBarRoot: the percentage of the
// anatomic root that has lost support), ankylosis, angulation and a typed shift. Page
// "Perio": the response-curve editor with the named curve library, and the tooth's total
// force system. Every change acts on the tooth at once; there is nothing to cancel. Numbers
// are shown and read in the user's number format.
class TToothInfDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TToothInfDlg(QWidget* parent = nullptr);

  TTooth* Tooth() const { return theTooth; }
  // Set before exec(); the dialog never owns the tooth.
  void SetTooth(TTooth* tooth) { theTooth = tooth; }
  // The response library the Perio page lists and saves to (ChooseResponceLibrary); beside
  // the executable unless set. It is read each time the dialog is shown.
  void SetLibraryPath(std::string path) { FLibraryPath = std::move(path); }
  const std::string& LibraryPath() const { return FLibraryPath; }
  // How the preview draws the tooth's force systems: as the display does.
  void SetForceDrawing(const TForceDrawing& drawing) { FForceDrawing = drawing; }
  // The clinical-time estimate of the tooth's movement in the runs so far, for the Perio page;
  // empty before any run.
  void SetClinicalTime(const QString& text) { FClinicalTimeText = text; }

  bool PerioDragging() const { return FPerioDragging; }
  // The curve point the keyboard moves while the editor has the focus.
  int PerioKeyIndex() const { return FPerioKeyIndex; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateToothPage();
  QWidget* CreatePerioPage();

  void FormShow();
  void ShowRootMeasures();
  void ShowTotalForce();
  void DisplayPaint(TQtCanvas& canvas) const;
  void AnkylosedClick(bool checked);
  void ApplyButClick();
  void ScrollBarRootChange(int position);

  // Response editor (the Perio page).
  void SetPerioMapping(TQtCanvas& canvas) const;
  TPoint PerioPoint(const QMouseEvent& event) const;
  void PerioDisplayPaint(TQtCanvas& canvas) const;
  void PerioDisplayMouseDown(const QMouseEvent& event);
  void PerioDisplayMouseMove(const QMouseEvent& event);
  void PerioDisplayMouseUp(const QMouseEvent& event);
  // The editor's mouse in curve coordinates (0…100 both ways, y up): the cursor over the
  // points, and one step of dragging point PerioDragIndex.
  void PerioMove(TPoint p);
  void PerioDrag(TPoint p);
  // Tab and Shift+Tab pick the next or previous point (leaving the editor past the ends), the
  // arrows move it by 1 curve unit, with Shift by 10, within the limits of a drag.
  bool PerioDisplayKey(const QKeyEvent& event);
  // The response point whose handle holds p (curve coordinates) and that handle's cursor.
  struct TPerioHit {
    int Index = -1;
    std::int16_t Cursor = DefaultCursor;
  };
  TPerioHit PerioPointAt(TPoint p) const;
  // Lists the library's first ResponceListMax names, and select (when the library holds it)
  // selected, also when it comes later.
  void FillResponceList(const QString& select = {});
  void ResponceCBChange(int index);
  void ButSaveResponceClick();

  TTooth* theTooth = nullptr;
  TForceDrawing FForceDrawing;
  std::string FLibraryPath = ResponceIniPathBesideExecutable();
  // The library as read when the dialog was shown, or as last saved.
  TResponceLibrary FLibrary;
  // How many items of ResponceCB are curves; a note may follow them.
  int FListedCurves = 0;
  bool FPerioDragging = false;
  int FPerioDragIndex = 0;
  int FPerioKeyIndex = 0;

  QLabel* FPanelTop = nullptr;
  QTabWidget* FPageControl = nullptr;
  TPaintBox* FDisplay = nullptr;
  QScrollBar* FScrollBarRoot = nullptr;
  QLabel* FAnatomicRoot = nullptr;
  QLabel* FFunctRoot = nullptr;
  QLabel* FFunctArea = nullptr;
  QLineEdit* FTip = nullptr;
  QLineEdit* Fdx = nullptr;
  QLineEdit* Fdy = nullptr;
  QPushButton* FApplyBut = nullptr;
  QCheckBox* FAnkylosed = nullptr;
  TPaintBox* FPerioDisplay = nullptr;
  QComboBox* FResponceCB = nullptr;
  QPushButton* FButSaveResponce = nullptr;
  QLabel* FTotalForce = nullptr;
  QLabel* FTotalForceX = nullptr;
  QLabel* FTotalForceY = nullptr;
  QLabel* FTotalMoment = nullptr;
  QLabel* FMomentToForce = nullptr;
  QLabel* FClinicalTime = nullptr;
  QString FClinicalTimeText;
};

}  // namespace orvela
