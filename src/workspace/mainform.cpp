#include "workspace/mainform.h"

#include <algorithm>
#include <initializer_list>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include "dialogs/about.h"
#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "document/firstrun.h"
#include "document/responcelibrary.h"
#include "document/run.h"
#include "platform/cursors.h"
#include "platform/help.h"
#include "platform/hints.h"
#include "platform/messages.h"
#include "platform/toolbaricons.h"
#include "platform/tooltips.h"
#include "platform/windowface.h"
#include "qtgraphics/qtimagelist.h"
#include "tools/tools.h"
#include "workspace/historydock.h"
#include "workspace/placement.h"
#include "workspace/toolhost.h"
#include "workspace/toothchart.h"
#include "workspace/toptions.h"
#include "workspace/view.h"

namespace orvela {

namespace {

// A sunken panel of the window's edge lines.
template <class TPanel = QLabel>
TPanel* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new TPanel(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

QAction* MakeAction(QObject* parent, const char* caption, const char* hint) {
  auto* action = new QAction(QString::fromUtf8(caption), parent);
  if (hint != nullptr) SetHint(*action, QString::fromUtf8(hint));
  return action;
}

// The desktop's keys for a standard command, then ours where the desktop has none or lacks
// them (the platform themes differ: Ctrl+, for Options is KDE's and macOS's only).
void SetStandardShortcut(QAction& action, QKeySequence::StandardKey key,
                         std::initializer_list<QKeySequence> ours) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  for (const QKeySequence& k : ours) {
    if (!keys.contains(k)) keys.append(k);
  }
  action.setShortcuts(keys);
}

// Swallows the shortcuts of commands whose menu is disabled (File, Edit and View during a
// run), so a key does not reach what the mouse cannot.
// The History dock's first height, px: a plot and two short tables.
constexpr int HistoryDockHeight = 420;

class TMenuShortcutGate : public QObject {
 public:
  TMenuShortcutGate(QObject* parent, QMenu* menu) : QObject(parent), FMenu(menu) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Shortcut && !FMenu->menuAction()->isEnabled()) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  QMenu* FMenu;
};

}  // namespace

TAutoPanel::TAutoPanel(QWidget* parent) : QLabel(parent) {}

void TAutoPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  emit DoubleClicked();
}

TMainForm::TMainForm(TStartupValues startup, QWidget* parent)
    : QMainWindow(parent),
      FStartup(std::move(startup)),
      FImageLists(std::make_unique<TProgramImageLists>()),
      FSetup(std::make_unique<TSetup>(FImageLists->Style())) {
  setObjectName("MainForm");
  FUndoStack = new QUndoStack(this);
  CreateActions();
  CreateMenus();
  CreatePanels();
  FToolHost = std::make_unique<TFormToolHost>(
      *FView, *FPanelBottom, *FPanelInfo, FPrefs,
      TFormToolHost::TWindowHooks{
          [this] { UpdateMenu(); }, [this] { ActionPropertiesExecute(); },
          [this] { BeginChange(); },
          [this](const std::string& what) { EndChange(QString::fromStdString(what)); }});
  FSelectTool = std::make_unique<TSelectTool>(*FSetup, *FToolHost);
  FZoomTool = std::make_unique<TZoomTool>(*FToolHost);
  // The run's steps: one per pass of the event loop, so that every event is served between
  // two steps and never inside one.
  FRunTimer = new QTimer(this);
  FRunTimer->setInterval(0);
  connect(FRunTimer, &QTimer::timeout, this, &TMainForm::RunTick);
  // Unsaved work goes to the recovery copy at most once a minute.
  FRecoveryTimer = new QTimer(this);
  FRecoveryTimer->setInterval(60 * 1000);
  connect(FRecoveryTimer, &QTimer::timeout, this, &TMainForm::WriteRecovery);
  FRecoveryTimer->start();
  CreateToolBars();
  ConnectEditCommands();
  ConnectTools();
  FormCreate();
}

TMainForm::~TMainForm() {
  // The undo steps go with the window; their going reaches no menu of a freed setup.
  FUndoStack->disconnect(this);
  // Wires, teeth and handles go before the view and its back buffer; the view draws
  // nothing more once the setup has gone.
  FView->DetachSetup();
  FRun.reset();
  FSetup.reset();
}

void TMainForm::CreateActions() {
  FActionNew = MakeAction(this, "&New...", "New Radiograph|Enter a new radiograph.");
  FActionNew->setIcon(ToolbarIcon(TToolbarIcon::New));
  FActionOpen = MakeAction(this, "&Open...", "Open Setup|Open a setup from a file.");
  FActionOpen->setIcon(ToolbarIcon(TToolbarIcon::Open));
  FActionSave = MakeAction(this, "&Save", "Save Setup|Save the setup to its file.");
  FActionSave->setIcon(ToolbarIcon(TToolbarIcon::Save));
  FMenuFileSaveAs = MakeAction(this, "Save &As...", "Save the setup to a file of a new name.");
  FActionPrint =
      MakeAction(this, "&Print...", "Print|Print the drawing of the setup with its wires' forces.");
  FActionPrint->setIcon(ToolbarIcon(TToolbarIcon::Print));
  FMenuFileExport = MakeAction(
      this, "&Export Picture...",
      "Export Picture|Save the drawing of the setup as an SVG, PNG or PDF file, cropped to what is "
      "drawn.");
  FMenuFileExit = MakeAction(this, "E&xit", "Exit program.");
  FMenuFileExportHistory =
      MakeAction(this, "Export &History...",
                 "Export History|Save the run history as a CSV file: one row per tooth and step.");
  FMenuFileExportHistory->setObjectName(QStringLiteral("MenuFileExportHistory"));
  SetStandardShortcut(*FActionOpen, QKeySequence::Open, {QKeySequence(Qt::CTRL | Qt::Key_O)});
  SetStandardShortcut(*FActionSave, QKeySequence::Save, {QKeySequence(Qt::CTRL | Qt::Key_S)});
  SetStandardShortcut(*FMenuFileSaveAs, QKeySequence::SaveAs,
                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
  SetStandardShortcut(*FActionNew, QKeySequence::New, {QKeySequence(Qt::CTRL | Qt::Key_N)});
  SetStandardShortcut(*FActionPrint, QKeySequence::Print, {QKeySequence(Qt::CTRL | Qt::Key_P)});
  SetStandardShortcut(*FMenuFileExit, QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)});

  FMenuWireAdd = MakeAction(this, "Add &Wire", "Add a new piece of wire.");
  FActionProperties =
      MakeAction(this, "&Properties", "Properties|Change the properties of the selected item.");
  FActionRemove = MakeAction(this, "Re&move", "Remove|Remove the selected item.");
  FActionRemove->setShortcut(QKeySequence(Qt::Key_Delete));
  // The shortcut stays active while the Edit menu is disabled during a run.
  FActionRemove->setShortcutContext(Qt::WindowShortcut);
  addAction(FActionRemove);
  FActionProperties->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
  FMenuCopyasPicture = MakeAction(this, "&Copy as Picture",
                                  "Copy the drawing of the setup to the clipboard as a picture.");
  FMenuCopyasPicture->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  FMenuEditOptions = MakeAction(this, "&Options...", "Change various program options.");
  SetStandardShortcut(*FMenuEditOptions, QKeySequence::Preferences,
                      {QKeySequence(Qt::CTRL | Qt::Key_Comma)});

  FMenuViewZoomIn = MakeAction(this, "&Zoom In", "Zoom in.");
  FMenuViewZoomOut = MakeAction(this, "Zoom &Out", "Zoom out.");
  // Ctrl+= is Ctrl++ without Shift on most keyboards.
  SetStandardShortcut(
      *FMenuViewZoomIn, QKeySequence::ZoomIn,
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  SetStandardShortcut(*FMenuViewZoomOut, QKeySequence::ZoomOut,
                      {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
  FMenuViewZoomForcesIn = MakeAction(this, "&Zoom In", "Draw forces larger.");
  FMenuViewZoomForcesOut = MakeAction(this, "Zoom &Out", "Draw forces smaller.");
  FMenuViewShowGrid =
      MakeAction(this, "Show &Grid", "Show a grid to help align and bend the wire.");
  FMenuViewShowGrid->setCheckable(true);
  FMenuViewShowGrid->setChecked(true);
  FMenuViewSnaptoGrid =
      MakeAction(this, "&Snap to Grid", "Restrict movement to 1mm and 1 degree steps.");
  FMenuViewSnaptoGrid->setCheckable(true);
  FMenuViewSnaptoGrid->setChecked(true);
  FMenuViewCentres = MakeAction(this, "Centres of &Rotation",
                                "Mark the centre of rotation of each tooth's last step.");
  FMenuViewCentres->setObjectName(QStringLiteral("MenuViewCentresOfRotation"));
  FMenuViewCentres->setCheckable(true);

  FActionRun = MakeAction(this, "&Run", "Run|Start orthodontic movement.");
  FActionRun->setIcon(ToolbarIcon(TToolbarIcon::Run));
  FActionStop = MakeAction(this, "&Stop", "Stop|Stop orthodontic movement.");
  FActionStop->setIcon(ToolbarIcon(TToolbarIcon::Stop));
  FActionRun->setShortcut(QKeySequence(Qt::Key_F5));
  // Stop is enabled only during a run, so Escape keeps its usual meaning otherwise.
  FActionStop->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F5), QKeySequence(Qt::Key_Escape)});
  FMenuOrthoRef = MakeAction(this, "Set as Re&ference", "Remember this as the initial position.");
  FMenuOrthoReset = MakeAction(this, "R&eset to Reference", "Reset teeth to the initial position.");
  FMenuOrthoClear = MakeAction(this, "&Clear Reference", "Delete initial position.");
  FMenuOrthoCapture = MakeAction(this, "C&apture", "Send information to capture file.");
  FMenuOrthoCapture->setVisible(false);

  FActionHelp = MakeAction(this, "&Contents", "Open the help at its contents.");
  FMenuHelpAbout = MakeAction(this, "&About...", "Information about Orvela.");

  FActionUndoLast = MakeAction(this, "&Undo", "Undo|Undo last movement.");
  FActionUndoLast->setIcon(ToolbarIcon(TToolbarIcon::Undo));
  FActionUndoLast->setEnabled(false);
  FActionRedoLast = MakeAction(this, "&Redo", "Redo|Repeat last movement.");
  FActionRedoLast->setIcon(ToolbarIcon(TToolbarIcon::Redo));
  FActionRedoLast->setEnabled(false);
  SetStandardShortcut(*FActionUndoLast, QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
  SetStandardShortcut(*FActionRedoLast, QKeySequence::Redo,
                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(FActionUndoLast, &QAction::triggered, FUndoStack, &QUndoStack::undo);
  connect(FActionRedoLast, &QAction::triggered, FUndoStack, &QUndoStack::redo);
  // The commands name the step they take back or do again ("Undo Move Tooth").
  connect(FUndoStack, &QUndoStack::undoTextChanged, this, [this](const QString& text) {
    FActionUndoLast->setText(text.isEmpty() ? QStringLiteral("&Undo")
                                            : QStringLiteral("&Undo ") + text);
  });
  connect(FUndoStack, &QUndoStack::redoTextChanged, this, [this](const QString& text) {
    FActionRedoLast->setText(text.isEmpty() ? QStringLiteral("&Redo")
                                            : QStringLiteral("&Redo ") + text);
  });
  connect(FUndoStack, &QUndoStack::indexChanged, this, [this] { SetMenuButtons(); });
  connect(FUndoStack, &QUndoStack::cleanChanged, this, [this] { UpdateCaption(); });

  FActTools = new QActionGroup(this);
  FActTools->setObjectName("ActTools");
  FActionChooser = MakeAction(FActTools, "Select", "Select|Select");
  FActionChooser->setIcon(ToolbarIcon(TToolbarIcon::Chooser));
  FActionChooser->setCheckable(true);
  FActionChooser->setData(0);
  FActionZoom = MakeAction(FActTools, "Zoom In/Out",
                           "Zoom In/Out|Zoom in (Left Button) / Zoom out (Right Button).");
  FActionZoom->setIcon(ToolbarIcon(TToolbarIcon::Zoom));
  FActionZoom->setCheckable(true);
  FActionZoom->setData(1);

  connect(FActionNew, &QAction::triggered, this, &TMainForm::ActionNewExecute);
  connect(FActionOpen, &QAction::triggered, this, &TMainForm::ActionOpenExecute);
  connect(FActionSave, &QAction::triggered, this, [this] { ActionSaveExecute(); });
  connect(FMenuFileSaveAs, &QAction::triggered, this, [this] { MenuFileSaveAsClick(); });
  connect(FActionPrint, &QAction::triggered, this, &TMainForm::ActionPrintExecute);
  connect(FMenuFileExport, &QAction::triggered, this, &TMainForm::MenuFileExportClick);
  connect(FMenuFileExportHistory, &QAction::triggered, this,
          &TMainForm::MenuFileExportHistoryClick);
  connect(FMenuViewCentres, &QAction::triggered, this, [this](bool checked) {
    FPrefs.ShowCentresOfRotation = checked;
    FView->DrawDisplay();
  });
  connect(FMenuFileExit, &QAction::triggered, this, &QWidget::close);
  connect(FMenuEditOptions, &QAction::triggered, this, &TMainForm::MenuEditOptionsClick);
  connect(FMenuViewZoomIn, &QAction::triggered, this, [this] { FView->MenuViewZoom(true); });
  connect(FMenuViewZoomOut, &QAction::triggered, this, [this] { FView->MenuViewZoom(false); });
  connect(FMenuViewZoomForcesIn, &QAction::triggered, this,
          [this] { MenuViewZoomForcesClick(true); });
  connect(FMenuViewZoomForcesOut, &QAction::triggered, this,
          [this] { MenuViewZoomForcesClick(false); });
  connect(FMenuViewShowGrid, &QAction::triggered, this, &TMainForm::MenuViewShowGridClick);
  connect(FMenuViewSnaptoGrid, &QAction::triggered, this, &TMainForm::MenuViewSnaptoGridClick);
  connect(FActionRun, &QAction::triggered, this, &TMainForm::ActionRunExecute);
  connect(FActionStop, &QAction::triggered, this, &TMainForm::ActionStopExecute);
  connect(FMenuOrthoRef, &QAction::triggered, this, &TMainForm::MenuOrthoRefClick);
  connect(FMenuOrthoReset, &QAction::triggered, this, &TMainForm::MenuOrthoResetClick);
  connect(FMenuOrthoClear, &QAction::triggered, this, &TMainForm::MenuOrthoClearClick);
  connect(FMenuHelpAbout, &QAction::triggered, this, &TMainForm::MenuHelpAboutClick);
  connect(FActionHelp, &QAction::triggered, this,
          [this] { ShowHelpTopic(this, QLatin1String(HelpContents)); });
  connect(FActionChooser, &QAction::triggered, this, [this] { SelectTool(TTool::Select); });
  connect(FActionZoom, &QAction::triggered, this, [this] { SelectTool(TTool::Zoom); });
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  FMenuFile = bar->addMenu("&File");
  FMenuFile->addAction(FActionNew);
  FMenuFile->addAction(FActionOpen);
  FMenuFileRecent = FMenuFile->addMenu("Open &Recent");
  FMenuFile->addAction(FActionSave);
  FMenuFile->addAction(FMenuFileSaveAs);
  FMenuFile->addSeparator();
  FMenuFile->addAction(FActionPrint);
  FMenuFile->addAction(FMenuFileExport);
  FMenuFile->addAction(FMenuFileExportHistory);
  FMenuFile->addSeparator();
  FMenuFileExamples = FMenuFile->addMenu("Exa&mples");
  FMenuFileExamples->setObjectName(QStringLiteral("MenuFileExamples"));
  FillExamplesMenu();
  FMenuFile->addSeparator();
  FMenuFile->addAction(FMenuFileExit);

  FMenuEdit = bar->addMenu("&Edit");
  FMenuEdit->addAction(FActionUndoLast);
  FMenuEdit->addAction(FActionRedoLast);
  FMenuEdit->addSeparator();
  FMenuToothAdd = FMenuEdit->addMenu("&Add Tooth");
  FToothChart = new TToothChartAction(FMenuToothAdd);
  FMenuToothAdd->addAction(FToothChart);
  FMenuEdit->addAction(FMenuWireAdd);
  FMenuEdit->addSeparator();
  FMenuEdit->addAction(FActionProperties);
  FMenuEdit->addAction(FActionRemove);
  FMenuEdit->addSeparator();
  FMenuEdit->addAction(FMenuCopyasPicture);
  FMenuEdit->addSeparator();
  FMenuEdit->addAction(FMenuEditOptions);

  FMenuView = bar->addMenu("&View");
  FMenuView->addAction(FMenuViewZoomIn);
  FMenuView->addAction(FMenuViewZoomOut);
  FMenuViewZoomF = FMenuView->addMenu("Zoom &Forces");
  FMenuViewZoomF->addAction(FMenuViewZoomForcesIn);
  FMenuViewZoomF->addAction(FMenuViewZoomForcesOut);
  FMenuView->addSeparator();
  FMenuView->addAction(FMenuViewShowGrid);
  FMenuView->addAction(FMenuViewSnaptoGrid);
  FMenuView->addSeparator();
  FMenuView->addAction(FMenuViewCentres);
  FHistoryDock = new THistoryDock(*FSetup, this);
  addDockWidget(Qt::BottomDockWidgetArea, FHistoryDock);
  FHistoryDock->hide();
  // The display keeps its room the first time the dock opens: the window grows by the dock
  // as far as the screen allows.
  connect(FHistoryDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible || FHistoryDockSized || isMaximized() || isFullScreen() ||
        FHistoryDock->isFloating())
      return;
    FHistoryDockSized = true;
    const QRect screen = this->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int grow = std::min(HistoryDockHeight, screen.height() - frame.height());
    if (grow > 0) {
      resize(width(), height() + grow);
      if (frameGeometry().bottom() > screen.bottom()) {
        move(x(), std::max(screen.top(), screen.bottom() - frameGeometry().height()));
      }
    }
    // Once the dock is laid out, and again once the window manager has grown the window, the
    // dock takes what the window grew by; a window that could not grow gives it under half.
    FPendingDockHeight =
        grow >= HistoryDockHeight / 2 ? grow : std::min(HistoryDockHeight, height() * 9 / 20);
    QTimer::singleShot(0, this, [this] { SizeHistoryDock(); });
  });
  QAction* history = FHistoryDock->toggleViewAction();
  history->setText(QStringLiteral("&History"));
  history->setObjectName(QStringLiteral("MenuViewHistory"));
  SetHint(
      *history,
      QStringLiteral("Show how force, moment and the teeth's poses changed over the run's steps."));
  FMenuView->addAction(history);

  FMenuOrtho = bar->addMenu("&Ortho");
  FMenuOrtho->addAction(FActionRun);
  FMenuOrtho->addAction(FActionStop);
  FMenuOrtho->addSeparator();
  FMenuOrtho->addAction(FMenuOrthoRef);
  FMenuOrtho->addAction(FMenuOrthoReset);
  FMenuOrtho->addAction(FMenuOrthoClear);
  FMenuOrtho->addAction(FMenuOrthoCapture);

  FMenuHelp = bar->addMenu("&Help");
  FMenuHelp->addAction(FActionHelp);
  FMenuHelp->addSeparator();
  FMenuHelp->addAction(FMenuHelpAbout);

  for (QMenu* menu : {FMenuFile, FMenuEdit, FMenuView, FMenuOrtho, FMenuHelp}) {
    connect(menu, &QMenu::aboutToShow, this, &TMainForm::UpdateMenu);
  }

  // New stays on the toolbar and Remove's Del stays active during a run.
  for (QMenu* menu : {FMenuFile, FMenuEdit, FMenuView}) {
    auto* gate = new TMenuShortcutGate(this, menu);
    for (QAction* action : findChildren<QAction*>()) {
      if (action == FActionNew || action == FActionRemove || action->shortcut().isEmpty()) continue;
      if (action->associatedObjects().contains(menu)) action->installEventFilter(gate);
    }
  }
}

void TMainForm::CreatePanels() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  FPanelInfo = MakePanel(central, "PanelInfo");
  FPanelInfo->setMinimumHeight(FPanelInfo->fontMetrics().height() + 6);
  layout->addWidget(FPanelInfo);

  FView = new TView(*FSetup, FPrefs, FForceDrawing, central);
  FView->setObjectName("PanelDisplay");
  layout->addWidget(FView, 1);
  connect(FView, &TView::DisplayMoved, this, [this] { UpdateMenu(); });

  auto* bottom = new QWidget(central);
  auto* bottomLayout = new QHBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  bottomLayout->setSpacing(2);
  FPanelBottom = MakePanel(bottom, "PanelBottom");
  FPanelBottom->setMinimumHeight(FPanelBottom->fontMetrics().height() + 6);
  bottomLayout->addWidget(FPanelBottom, 1);
  FPanelAuto = MakePanel<TAutoPanel>(bottom, "PanelAuto");
  FPanelAuto->setAlignment(Qt::AlignCenter);
  FPanelAuto->setMinimumWidth(FPanelAuto->fontMetrics().horizontalAdvance("Manual Stop") + 16);
  SetHint(*FPanelAuto,
          "Auto / Manual Stop|Stop wire activation automatically when desired position is "
          "reached. Double click to change.");
  connect(FPanelAuto, &TAutoPanel::DoubleClicked, this, &TMainForm::PanelAutoDblClick);
  bottomLayout->addWidget(FPanelAuto);
  layout->addWidget(bottom);

  setCentralWidget(central);
}

void TMainForm::CreateToolBars() {
  FToolBarMain = new QToolBar("Main", this);
  FToolBarMain->setObjectName("ToolBarMain");
  FToolBarMain->addAction(FActionNew);
  FToolBarMain->addAction(FActionOpen);
  FToolBarMain->addAction(FActionSave);
  FToolBarMain->addAction(FActionPrint);
  FToolBarMain->addSeparator();
  FToolBarMain->addAction(FActionRun);
  FToolBarMain->addAction(FActionStop);
  FToolBarMain->addSeparator();
  FToolBarMain->addAction(FActionUndoLast);
  FToolBarMain->addAction(FActionRedoLast);

  FToolBarTools = new QToolBar("Tools", this);
  FToolBarTools->setObjectName("ToolBarTools");
  FToolBarTools->addAction(FActionZoom);
  FToolBarTools->addWidget(FView->ZoomCB());
  FToolBarTools->addAction(FActionChooser);

  for (QToolBar* bar : {FToolBarMain, FToolBarTools}) {
    // Each button's tooltip names its first key: "Run (F5)".
    for (QAction* action : bar->actions()) {
      if (action->shortcut().isEmpty()) continue;
      action->setToolTip(QStringLiteral("%1 (%2)").arg(
          action->toolTip(), action->shortcut().toString(QKeySequence::NativeText)));
    }
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setAllowedAreas(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, bar);
  }
}

void TMainForm::FormCreate() {
  // 1. The shared data folder on first start (or after a version change).
  CopyDataOnFirstRun(FStartup);

  // 2. The face of the system's title font.
  TakeTitleFontFace(*this);

  // 3, 4. The scroll bars and the back buffer are laid out by the view.

  // 5. Hints: the status line and "##" line breaks in every tooltip; a readable tooltip
  // background when the system's is black.
  FHintHandler = new THintHandler(this);
  qApp->installEventFilter(FHintHandler);
  MakeTooltipsReadable();

  // F1 opens the help about the main window; each dialog has its own topic.
  SetHelpTopic(*this, HelpMainWindow);
  AddHelpKey(*this);

  // 6. The program's cursors.
  RegisterProgramCursors();

  // 7. Defaults.
  FView->SetZoomValue(1500);
  FPrefs = TPreferences{};
  FForceDrawing = TForceDrawing{};
  ApplyModelPreferences();
  FSetup->SetRunning(false);

  // 8.
  ResetNew();

  // 9. The settings file replaces the defaults it holds.
  ReadIniSettings(FStartup.SettingsIniPath, FPrefs);
  if (FPrefs.GridDensity < 0 || FPrefs.GridDensity > 3) FPrefs.GridDensity = 2;
  ApplyModelPreferences();
  ApplyPreferences();
  UpdateRecentMenu();
  resize(804, 506 + menuBar()->sizeHint().height());
  FStartMaximized = ApplyWindowPlacement(*this, FPrefs.WindowPlacement);

  // 10.
  SelectTool(TTool::Select);
  UpdateMenu();

  // The four dialogs live as long as the window, created in this order.
  FOptionsDialog = new TOptionsDialog(this);
  FWireInfo = new TWireInfo(this);
  FAboutForm = new TAboutForm(this);
  FToothInfDlg = new TToothInfDlg(this);
  FToothInfDlg->SetLibraryPath(ChooseResponceLibrary(ResponceIniPathBesideExecutable(), FStartup));
}

void TMainForm::ApplyModelPreferences() {
  FSetup->SetModelSettings(ModelSettingsOf(FPrefs));
  ApplyDrawPreferences(FPrefs, FForceDrawing);
}

void TMainForm::ApplyPreferences() {
  FMenuViewShowGrid->setChecked(FPrefs.ShowGrid);
  FMenuViewSnaptoGrid->setChecked(FPrefs.SnapGrid);
  FMenuViewCentres->setChecked(FPrefs.ShowCentresOfRotation);
  UpdateAutoPanel();
}

void TMainForm::UpdateAutoPanel() {
  FPanelAuto->setText(QString::fromUtf8(AutoStopCaption(FPrefs.AutoStop)));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
}

void TMainForm::FormShow() {
  FView->ZoomCenterInDisplay(FView->ZoomValue(), 0, ModelExtent);
  FView->PostZoomText();
  SetMenuButtons();
  // Once the window is up, so that the question has a window to stand over.
  QTimer::singleShot(0, this, &TMainForm::OfferRecovery);
}

void TMainForm::SizeHistoryDock() {
  if (FPendingDockHeight > 0) resizeDocks({FHistoryDock}, {FPendingDockHeight}, Qt::Vertical);
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::Resize && FPendingDockHeight > 0) {
    QTimer::singleShot(0, this, [this] {
      SizeHistoryDock();
      FPendingDockHeight = 0;
    });
  }
  if (event->type() == QEvent::StatusTip) {
    FPanelBottom->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() == QEvent::WindowBlocked) {
    // A modal window takes the mouse release, so a drag in progress would go on with no
    // button held: it ends here.
    ActiveTool().Cancel();
  }
  if (event->type() == static_cast<QEvent::Type>(TView::ZoomTextMessage)) {
    FView->ShowZoomText();
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // A run ends with the window; no step is left to come after it.
  if (FSetup->Running()) ActionStopExecute();
  if (MessagesGoToStandardError()) {
    // Closing on a signal: nobody is there to answer, so the unsaved work goes to the
    // recovery copy, which the next start offers.
    WriteRecovery();
  } else if (!AskAndSave()) {
    event->ignore();
    return;
  } else {
    RemoveRecovery();
  }
  if (!WriteSettings()) {
    ShowMessage(this, TMessageKind::Error, QString::fromUtf8(SavePreferencesFailedText));
  }
  event->accept();
}

bool TMainForm::WriteSettings() {
  FPrefs.WindowPlacement = CaptureWindowPlacement(*this);
  return WriteIniSettings(FStartup.SettingsIniPath, FPrefs);
}

void TMainForm::ResetNew() {
  ActiveTool().Cancel();
  FSetup->ResetNew();
  FSetup->SetModelSettings(ModelSettingsOf(FPrefs));
  FFilePath.clear();
  UpdateCaption();
}

void TMainForm::SetMenuButtons() {
  const bool running = FSetup->Running();
  for (QMenu* menu : {FMenuFile, FMenuEdit, FMenuView}) {
    menu->menuAction()->setEnabled(!running);
  }
  // The Print button of the toolbar goes with the File menu.
  FActionPrint->setEnabled(!running);
  FMenuFileExport->setEnabled(!running);
  FActionRun->setEnabled(!running);
  FActionStop->setEnabled(running);
  FActionUndoLast->setEnabled(!running && FUndoStack->canUndo());
  FActionRedoLast->setEnabled(!running && FUndoStack->canRedo());
}

void TMainForm::UpdateMenu() {
  const bool selected = FSetup->HasSelection();
  FActionProperties->setEnabled(selected);
  FActionRemove->setEnabled(selected);
  FMenuFileExportHistory->setEnabled(!FSetup->History()->Empty());
}

TMouseTool& TMainForm::ActiveTool() const {
  if (FCurrentTool == TTool::Zoom) return *FZoomTool;
  return *FSelectTool;
}

void TMainForm::SelectTool(TTool tool) {
  if (tool != FCurrentTool) ActiveTool().Cancel();
  FCurrentTool = tool;
  FActionChooser->setChecked(tool == TTool::Select);
  FActionZoom->setChecked(tool == TTool::Zoom);
  FView->Display()->setCursor(CursorFromNumber(tool == TTool::Zoom ? ZoomCursor : 0));
}

void TMainForm::ActionNewExecute() {
  if (!AskAndSave()) return;
  // New during a run: the run so far is one step, New another, the rest of the run a third.
  const bool running = FSetup->Running();
  if (running) EndChange(QStringLiteral("Run"));
  BeginChange();
  ResetNew();
  EndChange(QStringLiteral("New"));
  if (running) BeginChange();
  FUndoStack->setClean();
  UpdateCaption();
  UpdateMenu();
  FPanelInfo->clear();
  FView->DrawDisplay();
}

void TMainForm::MenuEditOptionsClick() {
  if (!FOptionsDialog->Execute(FPrefs)) return;
  ApplyModelPreferences();
  ApplyPreferences();
  FView->DrawDisplay();
}

void TMainForm::MenuHelpAboutClick() { FAboutForm->exec(); }

void TMainForm::MenuViewZoomForcesClick(bool larger) {
  if (larger) {
    FForceDrawing.Scale /= 2.0;
  } else {
    FForceDrawing.Scale *= 2.0;
  }
  FView->DrawDisplay();
}

void TMainForm::MenuViewShowGridClick() {
  FPrefs.ShowGrid = FMenuViewShowGrid->isChecked();
  FView->DrawDisplay();
}

void TMainForm::MenuViewSnaptoGridClick() { FPrefs.SnapGrid = FMenuViewSnaptoGrid->isChecked(); }

}  // namespace orvela
