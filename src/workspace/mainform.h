#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <QLabel>
#include <QMainWindow>

#include "document/settings.h"
#include "document/setup.h"
#include "graphics/forcedraw.h"
#include "util/startup.h"
#include "workspace/history.h"
#include "workspace/picture.h"

class QAction;
class QActionGroup;
class QMenu;
class QTimer;
class QUndoStack;
class QToolBar;

namespace orvela {

class TAboutForm;
class TFormToolHost;
class THistoryDock;
class TRun;
class TMouseTool;
class TSelectTool;
class TZoomTool;
class TProgramImageLists;
class THintHandler;
class TToothChartAction;
class TToothInfDlg;
class TOptionsDialog;
class TView;
class TWireInfo;

// The Auto Stop switch of the status line: a double click toggles it.
class TAutoPanel : public QLabel {
  Q_OBJECT

 public:
  explicit TAutoPanel(QWidget* parent);

 signals:
  void DoubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The main window. It owns the one setup (TSetup), the preferences and the force-drawing
// settings, holds the menus, commands, tool bars and panels, and hands the drawing to the
// view (TView). Commands are QActions shared by the menus and the tool buttons.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  enum class TTool { Select, Zoom };

  explicit TMainForm(TStartupValues startup, QWidget* parent = nullptr);
  ~TMainForm() override;

  TSetup& Setup() { return *FSetup; }
  TPreferences& Preferences() { return FPrefs; }
  const TStartupValues& Startup() const { return FStartup; }
  const TForceDrawing& ForceDrawing() const { return FForceDrawing; }
  TView& View() { return *FView; }
  // Whether the stored placement asks for a maximized window at the first show.
  bool StartMaximized() const { return FStartMaximized; }
  TTool CurrentTool() const { return FCurrentTool; }
  // The select tool, and the mouse tool that gets the view's events.
  TSelectTool& ChooserTool() const { return *FSelectTool; }
  TMouseTool& ActiveTool() const;

  // Settings of the view kept in the preferences.
  std::int32_t GridDensity() const { return FPrefs.GridDensity; }
  bool ShowGrid() const { return FPrefs.ShowGrid; }
  bool SnapGrid() const { return FPrefs.SnapGrid; }

  QMenu* MenuFile() const { return FMenuFile; }
  QMenu* MenuEdit() const { return FMenuEdit; }
  QMenu* MenuView() const { return FMenuView; }
  QMenu* MenuOrtho() const { return FMenuOrtho; }
  QMenu* MenuHelp() const { return FMenuHelp; }
  QMenu* MenuToothAdd() const { return FMenuToothAdd; }
  QMenu* MenuViewZoomF() const { return FMenuViewZoomF; }
  // The Add Tooth chart with the actions of the eight modelled teeth.
  TToothChartAction* ToothChart() const { return FToothChart; }
  QAction* ActionNew() const { return FActionNew; }
  QAction* ActionOpen() const { return FActionOpen; }
  QAction* ActionSave() const { return FActionSave; }
  QAction* MenuFileSaveAs() const { return FMenuFileSaveAs; }
  QAction* ActionPrint() const { return FActionPrint; }
  QAction* MenuFileExport() const { return FMenuFileExport; }
  QAction* MenuFileExit() const { return FMenuFileExit; }
  QAction* MenuFileExportHistory() const { return FMenuFileExportHistory; }
  QMenu* MenuFileExamples() const { return FMenuFileExamples; }
  QAction* MenuViewCentres() const { return FMenuViewCentres; }
  THistoryDock& HistoryDock() const { return *FHistoryDock; }
  QAction* MenuWireAdd() const { return FMenuWireAdd; }
  QAction* ActionProperties() const { return FActionProperties; }
  QAction* ActionRemove() const { return FActionRemove; }
  QAction* MenuCopyasPicture() const { return FMenuCopyasPicture; }
  QAction* MenuEditOptions() const { return FMenuEditOptions; }
  QAction* MenuViewZoomIn() const { return FMenuViewZoomIn; }
  QAction* MenuViewZoomOut() const { return FMenuViewZoomOut; }
  QAction* MenuViewZoomForcesIn() const { return FMenuViewZoomForcesIn; }
  QAction* MenuViewZoomForcesOut() const { return FMenuViewZoomForcesOut; }
  QAction* MenuViewShowGrid() const { return FMenuViewShowGrid; }
  QAction* MenuViewSnaptoGrid() const { return FMenuViewSnaptoGrid; }
  QAction* ActionRun() const { return FActionRun; }
  QAction* ActionStop() const { return FActionStop; }
  QAction* MenuOrthoRef() const { return FMenuOrthoRef; }
  QAction* MenuOrthoReset() const { return FMenuOrthoReset; }
  QAction* MenuOrthoClear() const { return FMenuOrthoClear; }
  QAction* MenuOrthoCapture() const { return FMenuOrthoCapture; }
  QAction* ActionHelp() const { return FActionHelp; }
  QAction* MenuHelpAbout() const { return FMenuHelpAbout; }
  QAction* ActionUndoLast() const { return FActionUndoLast; }
  QAction* ActionRedoLast() const { return FActionRedoLast; }
  QAction* ActionChooser() const { return FActionChooser; }
  QAction* ActionZoom() const { return FActionZoom; }
  QToolBar* ToolBarMain() const { return FToolBarMain; }
  QToolBar* ToolBarTools() const { return FToolBarTools; }
  QLabel* PanelInfo() const { return FPanelInfo; }
  QLabel* PanelBottom() const { return FPanelBottom; }
  TAutoPanel* PanelAuto() const { return FPanelAuto; }
  TOptionsDialog* OptionsDialog() const { return FOptionsDialog; }
  TAboutForm* AboutForm() const { return FAboutForm; }
  TWireInfo* WireInfo() const { return FWireInfo; }
  TToothInfDlg* ToothInfDlg() const { return FToothInfDlg; }

  // Discards the setup and its file: the caption "Orvela [Untitled]", the preferences'
  // model settings; does not repaint.
  void ResetNew();
  // With unsaved changes asks "Save changes to <name>?" (Save / Discard / Cancel) and saves
  // when told to; true when the setup may go (nothing to save, saved, or discarded).
  bool AskAndSave();

  // The user actions: the setup as it is now becomes the "before" of the action that
  // begins; at its end the setup as it is then the "after", and the pair is one undo step,
  // named what, unless nothing changed. BeginChange while one is open does nothing.
  void BeginChange();
  void EndChange(const QString& what);
  QUndoStack& UndoStack() const { return *FUndoStack; }

  // The setup file; empty for a setup never saved.
  const QString& FilePath() const { return FFilePath; }
  // File > Open of that file, without the questions: false, with a message naming the file
  // and its first problem and the setup as it was, when it cannot be read.
  bool OpenFile(const QString& path);
  // Saves the setup to that file and makes it the setup's file; false, with a message naming
  // the file and why, and the setup still marked modified, when it cannot be written.
  bool SaveFile(const QString& path);
  // The recovery copy of unsaved work, in the user data folder.
  QString RecoveryPath() const;
  // Writes the recovery copy now, when there are unsaved changes not yet written to it.
  void WriteRecovery();
  // At start: offers to restore a recovery copy left by an earlier session.
  void OfferRecovery();
  // Applies the run state to the menus and commands.
  void SetMenuButtons();
  // Properties and Remove are enabled exactly when something is selected.
  void UpdateMenu();
  void SelectTool(TTool tool);

  void ActionNewExecute();
  // File > Print: the print preview, whose Print button prints (workspace/printcommands.cpp).
  void ActionPrintExecute();
  // File > Export Picture: the drawing cropped to its content as SVG, PNG or PDF.
  void MenuFileExportClick();

  // The Edit commands; each is one user action from start to end.
  // Edit > Add Tooth > number (the FDI number of the chart's item).
  void MenuAddToothClick(int fdi);
  void MenuWireAddClick();
  // Edit > Properties: the dialog of the selected tooth or wire; also a right click.
  void ActionPropertiesExecute();
  // Edit > Remove and Del (also during a run, when nothing is selected).
  void ActionRemoveExecute();
  // Edit > Copy as Picture: the model square at 2:1 as SVG and PNG on the clipboard; false
  // when the platform has no clipboard.
  bool CopyPicture();
  void MenuEditOptionsClick();
  void MenuHelpAboutClick();
  void MenuViewZoomForcesClick(bool larger);
  void MenuViewShowGridClick();
  void MenuViewSnaptoGridClick();

  // The run: starts the steps, which the event loop drives one at a time (RunTick) until
  // Stop, Auto Stop, closing the window or an error ends them; returns at once.
  void ActionRunExecute();
  void ActionStopExecute();
  void PanelAutoDblClick();
  void MenuOrthoRefClick();
  void MenuOrthoResetClick();
  void MenuOrthoClearClick();

  // Number of steps of the run in progress or the last run.
  std::int64_t RunSteps() const { return FRunSteps; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreatePanels();
  void FormCreate();
  void FormShow();
  void ApplyPreferences();
  void SizeHistoryDock();
  void UpdateAutoPanel();
  // False when the settings file could not be written.
  bool WriteSettings();
  // One step of the run, its Auto Stop test and a redraw.
  void RunTick();
  // The setup and the view take the preferences' model and drawing settings.
  void ApplyModelPreferences();
  void ConnectEditCommands();
  // The drawing of Copy as Picture, Print and Export: grid as shown, the window's force
  // drawing, the model square.
  TSetupPicture ShownPicture() const;
  // The setup's file name ("Untitled" without one), for the caption and a printout.
  QString DocumentName() const;
  // "Orvela [name]", with "*" after the name while there are unsaved changes.
  void UpdateCaption();
  // The setup's document form with the view as it is now, for a file.
  TSetupDocument DocumentWithView() const;
  // Shows a file's view: its zoom, scroll and force scale.
  void ShowDocumentView(const TSetupView& view);
  // Replaces the setup by a checked file document as one undo step named what, and shows
  // it with the file's view.
  void TakeDocument(const TSetupDocument& doc, const QString& what);
  // Rebuilds the setup from an undo step's state and shows it.
  void ApplyState(const TSetupState& state);
  void ActionOpenExecute();
  // File > Examples: the example setups of the shared data folder, each opened as a new,
  // untitled setup.
  void FillExamplesMenu();
  void OpenExample(const QString& path);
  // File > Export History...: the run history as CSV.
  void MenuFileExportHistoryClick();
  bool ActionSaveExecute();
  bool MenuFileSaveAsClick();
  void UpdateRecentMenu();
  void AddRecentFile(const QString& path);
  void RemoveRecovery();
  void ConnectTools();

  TStartupValues FStartup;
  // The handle pictures outlive the setup whose handles show them.
  std::unique_ptr<TProgramImageLists> FImageLists;
  std::unique_ptr<TSetup> FSetup;
  TPreferences FPrefs;
  TForceDrawing FForceDrawing;
  TTool FCurrentTool = TTool::Select;
  std::unique_ptr<TFormToolHost> FToolHost;
  std::unique_ptr<TSelectTool> FSelectTool;
  std::unique_ptr<TZoomTool> FZoomTool;
  bool FStartMaximized = false;
  bool FShown = false;
  QTimer* FRunTimer = nullptr;
  // The run in progress; none between runs.
  std::unique_ptr<TRun> FRun;
  std::int64_t FRunSteps = 0;
  THistoryDock* FHistoryDock = nullptr;
  bool FHistoryDockSized = false;
  // The height the History dock takes when it first opens; 0 once it has it.
  int FPendingDockHeight = 0;
  // The file of the last export, where the next one starts.
  QString FExportPath;
  QString FExportHistoryPath;
  QString FFilePath;
  QUndoStack* FUndoStack = nullptr;
  // The setup at the beginning of the user action in progress.
  std::optional<TSetupState> FChangeBefore;
  QTimer* FRecoveryTimer = nullptr;
  // The undo index the recovery copy holds; -1 when there is none.
  int FRecoveryIndex = -1;
  QMenu* FMenuFileRecent = nullptr;

  TView* FView = nullptr;
  THintHandler* FHintHandler = nullptr;
  TOptionsDialog* FOptionsDialog = nullptr;
  TAboutForm* FAboutForm = nullptr;
  TWireInfo* FWireInfo = nullptr;
  TToothInfDlg* FToothInfDlg = nullptr;

  QMenu* FMenuFile = nullptr;
  QMenu* FMenuEdit = nullptr;
  QMenu* FMenuView = nullptr;
  QMenu* FMenuOrtho = nullptr;
  QMenu* FMenuHelp = nullptr;
  QMenu* FMenuToothAdd = nullptr;
  QMenu* FMenuViewZoomF = nullptr;
  TToothChartAction* FToothChart = nullptr;
  QAction* FActionNew = nullptr;
  QAction* FActionOpen = nullptr;
  QAction* FActionSave = nullptr;
  QAction* FMenuFileSaveAs = nullptr;
  QAction* FActionPrint = nullptr;
  QAction* FMenuFileExport = nullptr;
  QAction* FMenuFileExit = nullptr;
  QAction* FMenuFileExportHistory = nullptr;
  QMenu* FMenuFileExamples = nullptr;
  QAction* FMenuViewCentres = nullptr;
  QAction* FMenuWireAdd = nullptr;
  QAction* FActionProperties = nullptr;
  QAction* FActionRemove = nullptr;
  QAction* FMenuCopyasPicture = nullptr;
  QAction* FMenuEditOptions = nullptr;
  QAction* FMenuViewZoomIn = nullptr;
  QAction* FMenuViewZoomOut = nullptr;
  QAction* FMenuViewZoomForcesIn = nullptr;
  QAction* FMenuViewZoomForcesOut = nullptr;
  QAction* FMenuViewShowGrid = nullptr;
  QAction* FMenuViewSnaptoGrid = nullptr;
  QAction* FActionRun = nullptr;
  QAction* FActionStop = nullptr;
  QAction* FMenuOrthoRef = nullptr;
  QAction* FMenuOrthoReset = nullptr;
  QAction* FMenuOrthoClear = nullptr;
  QAction* FMenuOrthoCapture = nullptr;
  QAction* FActionHelp = nullptr;
  QAction* FMenuHelpAbout = nullptr;
  QAction* FActionUndoLast = nullptr;
  QAction* FActionRedoLast = nullptr;
  QAction* FActionChooser = nullptr;
  QAction* FActionZoom = nullptr;
  QActionGroup* FActTools = nullptr;
  QToolBar* FToolBarMain = nullptr;
  QToolBar* FToolBarTools = nullptr;
  QLabel* FPanelInfo = nullptr;
  QLabel* FPanelBottom = nullptr;
  TAutoPanel* FPanelAuto = nullptr;
};

}  // namespace orvela
