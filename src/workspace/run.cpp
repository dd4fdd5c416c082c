// The simulation run and the reference commands of the main window.

#include <exception>

#include <QAction>
#include <QCoreApplication>

#include "platform/messages.h"
#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela {

void TMainForm::ActionRunExecute() {
  FSetup->SetRunning(true);
  SetMenuButtons();
  // Nothing is selected during a run, so the information line describes nothing.
  FSetup->BeginRun();
  FPanelInfo->clear();
  // Stop and Run again between two steps: the loop that is still on the stack goes on.
  if (FInRunLoop) return;
  FInRunLoop = true;
  FCloseRequested = false;
  FRunSteps = 0;

  // Enabling Run again (Stop, Auto Stop) is what ends the loop.
  try {
    while (!FActionRun->isEnabled()) {
      const std::vector<TForceMoment> forces = FSetup->RunStep();
      ++FRunSteps;
      if (FPrefs.AutoStop &&
          ThresholdsMet(forces, TThresholds{FPrefs.ThresholdForce, FPrefs.ThresholdMoment})) {
        ActionStopExecute();
      }
      if (FSetup->Running()) FView->DrawDisplay();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (FCloseRequested && FSetup->Running()) ActionStopExecute();
    }
  } catch (const std::exception& error) {
    // A failing step ends the loop; the menus stay in their running state until Stop,
    // unless the window is to close.
    FInRunLoop = false;
    ShowMessage(this, TMessageKind::Error, QString::fromUtf8(error.what()));
    if (FCloseRequested) ActionStopExecute();
  }

  FInRunLoop = false;
  if (FCloseRequested) {
    FCloseRequested = false;
    close();
  }
}

void TMainForm::ActionStopExecute() {
  FSetup->SetRunning(false);
  SetMenuButtons();
}

void TMainForm::PanelAutoDblClick() {
  FPrefs.AutoStop = !FPrefs.AutoStop;
  UpdateAutoPanel();
}

void TMainForm::MenuOrthoRefClick() {
  FSetup->SetAsReference();
  FView->DrawDisplay();
}

void TMainForm::MenuOrthoClearClick() {
  FSetup->ClearReference();
  FView->DrawDisplay();
}

void TMainForm::MenuOrthoResetClick() {
  FSetup->ResetToReference();
  FView->DrawDisplay();
}

}  // namespace orvela
