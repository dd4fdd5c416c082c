// The simulation run and the reference commands of the main window.

#include "document/run.h"

#include <exception>
#include <memory>
#include <optional>

#include <QAction>
#include <QLabel>
#include <QTimer>

#include "platform/messages.h"
#include "tools/tools.h"
#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela {

void TMainForm::ActionRunExecute() {
  if (FSetup->Running()) return;
  ActiveTool().Cancel();
  // The whole run, from here to its stop, is one user action.
  BeginChange();
  // Nothing is selected during a run, so the information line describes nothing.
  FRun = std::make_unique<TRun>(*FSetup);
  SetMenuButtons();
  FPanelInfo->clear();
  FRunSteps = 0;
  FRunTimer->start();
}

void TMainForm::RunTick() {
  if (!FRun) return;
  try {
    std::optional<TThresholds> autoStop;
    if (FPrefs.AutoStop) autoStop = TThresholds{FPrefs.ThresholdForce, FPrefs.ThresholdMoment};
    const TRunOutcome outcome = FRun->Step(autoStop);
    FRunSteps = static_cast<std::int64_t>(FRun->Steps());
    // The count stays on the status line after the run, until a hint takes its place.
    FPanelBottom->setText(QStringLiteral("Step %1").arg(FRunSteps));
    if (outcome == TRunOutcome::Diverged) {
      const QString why = QString::fromStdString(FRun->DivergenceText());
      ActionStopExecute();
      FView->DrawDisplay();
      ShowMessage(this, TMessageKind::Warning, why);
      return;
    }
    if (outcome == TRunOutcome::AutoStop) ActionStopExecute();
    FView->DrawDisplay();
  } catch (const std::exception& error) {
    // A step that fails ends the run.
    ActionStopExecute();
    ShowMessage(this, TMessageKind::Error, QString::fromUtf8(error.what()));
  }
}

void TMainForm::ActionStopExecute() {
  FRunTimer->stop();
  FRun.reset();
  EndChange(QStringLiteral("Run"));
  SetMenuButtons();
}

void TMainForm::PanelAutoDblClick() {
  FPrefs.AutoStop = !FPrefs.AutoStop;
  UpdateAutoPanel();
}

void TMainForm::MenuOrthoRefClick() {
  BeginChange();
  FSetup->SetAsReference();
  EndChange(QStringLiteral("Set as Reference"));
  FView->DrawDisplay();
}

void TMainForm::MenuOrthoClearClick() {
  BeginChange();
  FSetup->ClearReference();
  EndChange(QStringLiteral("Clear Reference"));
  FView->DrawDisplay();
}

void TMainForm::MenuOrthoResetClick() {
  BeginChange();
  FSetup->ResetToReference();
  EndChange(QStringLiteral("Reset to Reference"));
  FView->DrawDisplay();
}

}  // namespace orvela
