// The Edit commands of the main window and the forwarding of the display's mouse events to
// the active tool.

#include <memory>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>

#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "mechanics/geometry.h"
#include "platform/messages.h"
#include "tools/tools.h"
#include "workspace/mainform.h"
#include "workspace/picture.h"
#include "workspace/toothchart.h"
#include "workspace/view.h"

namespace orvela {

namespace {

constexpr const char* ToothLigatedText = "Tooth is ligated to wire. Un-tie tooth first.";

TMouseButton ToolButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return TMouseButton::Right;
    case Qt::MiddleButton:
      return TMouseButton::Middle;
    default:
      return TMouseButton::Left;
  }
}

}  // namespace

void TMainForm::ConnectEditCommands() {
  for (QAction* tooth : FToothChart->ToothActions()) {
    connect(tooth, &QAction::triggered, this,
            [this, tooth] { MenuAddToothClick(tooth->data().toInt()); });
  }
  connect(FMenuWireAdd, &QAction::triggered, this, &TMainForm::MenuWireAddClick);
  connect(FActionProperties, &QAction::triggered, this, &TMainForm::ActionPropertiesExecute);
  connect(FActionRemove, &QAction::triggered, this, &TMainForm::ActionRemoveExecute);
  connect(FMenuCopyasPicture, &QAction::triggered, this, [this] { CopyPicture(); });
}

void TMainForm::ConnectTools() {
  // Nothing is selected during a run, and nothing can be: the tools get no input then.
  connect(FView, &TView::DisplayPressed, this, [this](Qt::MouseButton button, TPoint p) {
    if (!FSetup->Running()) ActiveTool().Press(ToolButton(button), p);
  });
  connect(FView, &TView::DisplayMoved, this, [this](Qt::MouseButtons, TPoint p) {
    if (!FSetup->Running()) ActiveTool().Move(p);
  });
  connect(FView, &TView::DisplayReleased, this, [this](Qt::MouseButton button, TPoint p) {
    if (!FSetup->Running()) ActiveTool().Release(ToolButton(button), p);
  });
  // The display's keys: Tab walks the selection, the arrows move the selected tooth by
  // 0.1 mm (Shift: 1 mm), Ctrl+Left/Right turn it by 0.5° (Shift: 5°) about cRes.
  FView->Display()->OnKey = [this](const QKeyEvent& event) {
    if (FSetup->Running()) return false;
    const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
    const double step = shift ? 10.0 : 1.0;
    const double turn = (shift ? 5.0 : 0.5) * Pi / 180.0;
    switch (event.key()) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        if (ctrl) return false;
        FSelectTool->SelectNext(event.key() == Qt::Key_Tab && !shift);
        return true;
      case Qt::Key_Left:
      case Qt::Key_Right: {
        const double sign = event.key() == Qt::Key_Left ? 1.0 : -1.0;
        if (ctrl) {
          FSelectTool->TurnSelectedTooth(sign * turn);
        } else {
          FSelectTool->NudgeSelectedTooth(MakePointDouble(-sign * step, 0.0));
        }
        return true;
      }
      case Qt::Key_Up:
      case Qt::Key_Down:
        if (ctrl) return false;
        FSelectTool->NudgeSelectedTooth(
            MakePointDouble(0.0, event.key() == Qt::Key_Up ? step : -step));
        return true;
      default:
        return false;
    }
  };
}

void TMainForm::MenuAddToothClick(int fdi) {
  BeginChange();
  FSetup->AddToothOfType(fdi);
  EndChange(QStringLiteral("Add Tooth"));
  FView->DrawDisplay();
}

void TMainForm::MenuWireAddClick() {
  BeginChange();
  FSetup->AddNewWire();
  EndChange(QStringLiteral("Add Wire"));
  FView->DrawDisplay();
}

void TMainForm::ActionPropertiesExecute() {
  // Opening the dialog begins this action and its return ends it.
  if (TTooth* tooth = FSetup->SelectedTooth()) {
    BeginChange();
    FToothInfDlg->SetTooth(tooth);
    FToothInfDlg->SetForceDrawing(FForceDrawing);
    const TToothSeries* series = FSetup->History()->SeriesOf(tooth->Key());
    FToothInfDlg->SetClinicalTime(series ? QString::fromStdString(series->ClinicalTime())
                                         : QString());
    FToothInfDlg->exec();
    FToothInfDlg->SetTooth(nullptr);
    // However the dialog was closed, the handles and the information line follow the tooth.
    FSetup->RebuildSelectionMarkers();
    FPanelInfo->setText(QString::fromStdString(FSetup->SelectionInfo()));
    FView->DrawDisplay();
    EndChange(QStringLiteral("Tooth Properties"));
  }
  if (TWireStraight* wire = FSetup->SelectedWire()) {
    BeginChange();
    FWireInfo->SetWire(wire);
    FWireInfo->exec();
    FWireInfo->SetWire(nullptr);
    FPanelInfo->setText(QString::fromStdString(FSetup->SelectionInfo()));
    FView->DrawDisplay();
    EndChange(QStringLiteral("Wire Properties"));
  }
}

void TMainForm::ActionRemoveExecute() {
  BeginChange();
  const TSetup::TRemoveResult result = FSetup->RemoveSelection();
  EndChange(QStringLiteral("Remove"));
  switch (result) {
    case TSetup::TRemoveResult::Nothing:
      return;
    case TSetup::TRemoveResult::ToothLigated:
      ShowMessage(this, TMessageKind::Error, QString::fromUtf8(ToothLigatedText));
      return;
    case TSetup::TRemoveResult::Removed:
      break;
  }
  FSelectTool->ClearHover();
  FPanelInfo->clear();
  UpdateMenu();
  FView->DrawDisplay();
}

bool TMainForm::CopyPicture() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  TSetupPicture picture = ShownPicture();
  if (const QScreen* screen = this->screen()) {
    picture.DpiX = screen->logicalDotsPerInchX();
    picture.DpiY = screen->logicalDotsPerInchY();
  }
  auto data = std::make_unique<QMimeData>();
  data->setData("image/svg+xml", picture.Svg(*FSetup));
  // Programs that take no SVG paste the same drawing as pixels.
  data->setImageData(picture.Image(*FSetup));
  clipboard->setMimeData(data.release());
  const QMimeData* held = clipboard->mimeData();
  return held != nullptr && held->hasFormat("image/svg+xml");
}

}  // namespace orvela
