#include "workspace/mainform.h"

#include <gtest/gtest.h>
#include <set>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include "graphics/forcedraw.h"
#include "platform/cursors.h"
#include "platform/tooltips.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "util/startup.h"
#include "workspace/toothchart.h"
#include "workspace/toptions.h"
#include "workspace/view.h"

namespace orvela {
namespace {

using test::MainFormTest;

TEST_F(MainFormTest, StartsWithTheBuiltInDefaultsAndTheUntitledCaption) {
  TMainForm& form = CreateForm();
  EXPECT_EQ(form.windowTitle(), "Orvela [Untitled]");
  EXPECT_EQ(form.View().ZoomValue(), 1500);
  EXPECT_EQ(form.GridDensity(), 2);
  EXPECT_TRUE(form.ShowGrid());
  EXPECT_TRUE(form.SnapGrid());
  EXPECT_TRUE(form.MenuViewShowGrid()->isChecked());
  EXPECT_TRUE(form.MenuViewSnaptoGrid()->isChecked());
  EXPECT_EQ(form.ForceDrawing().Scale, 4.0);
  // Without a settings file every drawing flag is set.
  EXPECT_EQ(form.ForceDrawing().Options, (TForceDrawOptions{true, true, true}));
  EXPECT_EQ(form.ForceDrawing().Places, (TForceDrawPlaces{true, true, true}));
  EXPECT_TRUE(form.Preferences().AutoStop);
  EXPECT_EQ(form.PanelAuto()->text(), "Auto Stop");
  EXPECT_FALSE(form.Setup().Running());
  EXPECT_TRUE(form.Setup().ToothList().empty());
  EXPECT_EQ(form.CurrentTool(), TMainForm::TTool::Select);
  EXPECT_TRUE(form.ActionChooser()->isChecked());
  EXPECT_FALSE(form.ActionZoom()->isChecked());

  // Nothing to undo yet; the run state of an idle window.
  EXPECT_TRUE(form.ActionHelp()->isEnabled());
  for (QAction* off : {form.ActionUndoLast(), form.ActionRedoLast()}) {
    EXPECT_TRUE(off->isVisible()) << off->text().toStdString();
    EXPECT_FALSE(off->isEnabled()) << off->text().toStdString();
  }
  for (QAction* on : {form.ActionOpen(), form.ActionSave(), form.MenuFileSaveAs()}) {
    EXPECT_TRUE(on->isEnabled()) << on->text().toStdString();
  }
  EXPECT_FALSE(form.MenuOrthoCapture()->isVisible());
  // Print and, under it, Export Picture.
  const QList<QAction*> file = form.MenuFile()->actions();
  ASSERT_TRUE(file.contains(form.ActionPrint()));
  EXPECT_EQ(file.indexOf(form.MenuFileExport()), file.indexOf(form.ActionPrint()) + 1);
  EXPECT_TRUE(form.ActionPrint()->isEnabled());
  EXPECT_TRUE(form.MenuFileExport()->isEnabled());
  EXPECT_EQ(form.ActionPrint()->toolTip(), "Print (Ctrl+P)");
  EXPECT_TRUE(form.ActionRun()->isEnabled());
  EXPECT_FALSE(form.ActionStop()->isEnabled());
  EXPECT_FALSE(form.ActionProperties()->isEnabled());
  EXPECT_FALSE(form.ActionRemove()->isEnabled());
  EXPECT_EQ(form.ActionRemove()->shortcut(), QKeySequence(Qt::Key_Delete));

  // Captions with their access letters, hints split into tooltip and status text.
  EXPECT_EQ(form.MenuFile()->title(), "&File");
  EXPECT_EQ(form.MenuOrthoReset()->text(), "R&eset to Reference");
  EXPECT_EQ(form.MenuViewZoomF()->title(), "Zoom &Forces");
  EXPECT_EQ(form.ActionNew()->toolTip(), "New Radiograph (Ctrl+N)");
  EXPECT_EQ(form.ActionRun()->toolTip(), "Run (F5)");
  EXPECT_EQ(form.ActionChooser()->toolTip(), "Select");
  // Within each menu every item has its own access letter.
  QList<QMenu*> menus{form.MenuViewZoomF()};
  for (const QAction* title : form.menuBar()->actions()) menus.append(title->menu());
  for (const QMenu* menu : menus) {
    std::set<int> letters;
    for (const QAction* item : menu->actions()) {
      if (item->isSeparator() || !item->isVisible() || item->text().isEmpty()) continue;
      const QKeySequence letter = QKeySequence::mnemonic(item->text());
      EXPECT_FALSE(letter.isEmpty()) << item->text().toStdString();
      EXPECT_TRUE(letters.insert(letter[0].toCombined()).second) << item->text().toStdString();
    }
  }
  EXPECT_EQ(form.ActionNew()->statusTip(), "Enter a new radiograph.");
  EXPECT_EQ(form.MenuFileExit()->statusTip(), "Exit program.");
  EXPECT_EQ(form.ToolBarMain()->windowTitle(), "Main");
  EXPECT_EQ(form.ToolBarTools()->windowTitle(), "Tools");
  EXPECT_TRUE(form.ToolBarMain()->isMovable());
  EXPECT_EQ(form.ToolBarMain()->actions().size(), 10);  // eight buttons, two dividers
  EXPECT_FALSE(form.ActionRun()->icon().isNull());

  // The Add Tooth chart: the eight modelled lower teeth, with their numbers as tags.
  const std::vector<QAction*>& teeth = form.ToothChart()->ToothActions();
  ASSERT_EQ(teeth.size(), 8U);
  EXPECT_EQ(teeth[0]->data().toInt(), 46);
  EXPECT_EQ(teeth[4]->data().toInt(), 33);
  EXPECT_EQ(teeth[3]->statusTip(), "Add a lower right canine.");

  // The program's cursors are registered under their numbers.
  for (std::int16_t number : {PlierCursor, RotateCursor, ZoomCursor, MoverCursor}) {
    EXPECT_FALSE(CursorFromNumber(number).pixmap().isNull()) << number;
  }
  EXPECT_EQ(CursorFromNumber(0).shape(), Qt::ArrowCursor);
  EXPECT_EQ(CursorFromNumber(MoveCursor).shape(), Qt::SizeAllCursor);
  // At 2× the picture has twice the pixels and its hot spot stays on the same point of it.
  const QCursor rotate = MakeProgramCursor(RotateCursor, 2.0);
  EXPECT_EQ(rotate.pixmap().size(), QSize(64, 64));
  EXPECT_EQ(rotate.hotSpot(), QPoint(32, 32));
  EXPECT_EQ(MakeProgramCursor(PlierCursor, 1.5).hotSpot(), QPoint(3, 3));
  form.SelectTool(TMainForm::TTool::Zoom);
  EXPECT_TRUE(form.ActionZoom()->isChecked());
  EXPECT_FALSE(form.ActionChooser()->isChecked());
  EXPECT_EQ(form.View().Display()->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(MainFormTest, SettingsFileReplacesTheDefaultsAndIsWrittenAtClose) {
  WriteSettingsFile(
      "[General]\nVersion=1.2.1.0\n[Calculation]\nAuto Stop=0\n[View]\nView Grid=0\n"
      "Snap to Grid=0\nGrid Density=7\n");
  TMainForm& form = CreateForm();
  EXPECT_FALSE(form.Preferences().AutoStop);
  EXPECT_EQ(form.PanelAuto()->text(), "Manual Stop");
  EXPECT_FALSE(form.MenuViewShowGrid()->isChecked());
  EXPECT_FALSE(form.MenuViewSnaptoGrid()->isChecked());
  EXPECT_EQ(form.GridDensity(), 2);

  form.MenuViewShowGrid()->trigger();
  EXPECT_TRUE(form.ShowGrid());
  form.PanelAutoDblClick();
  EXPECT_EQ(form.PanelAuto()->text(), "Auto Stop");
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(FMessages.empty());
  const std::string written = ReadSettingsFile();
  EXPECT_NE(written.find("Orvela Rect=Default"), std::string::npos) << written;
  EXPECT_NE(written.find("View Grid=1"), std::string::npos) << written;
  EXPECT_NE(written.find("Auto Stop=1"), std::string::npos) << written;
}

TEST_F(MainFormTest, ASettingsFolderThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
  FStartup.SettingsIniPath = FDir->path().toStdString() + "/missing/folder/Orvela.ini";
  TMainForm& form = CreateForm();
  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.isVisible());
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_EQ(FMessages[0], "Could not save preferences to INI file.");
}

TEST_F(MainFormTest, OptionsDialogChangesTheViewOnlyWhenClosedWithOK) {
  TMainForm& form = CreateForm();
  const auto answer = [&form](bool ok) {
    QTimer::singleShot(0, &form, [&form, ok] {
      TOptionsDialog* dialog = form.OptionsDialog();
      ASSERT_TRUE(dialog->isVisible());
      dialog->ViewGrid()->setChecked(false);
      dialog->SnapGrid()->setChecked(false);
      dialog->AutoStop()->setChecked(false);
      QTest::mouseClick(ok ? dialog->OKBut() : dialog->CancelBut(), Qt::LeftButton);
    });
    form.MenuEditOptions()->trigger();
  };
  answer(false);
  EXPECT_TRUE(form.ShowGrid());
  EXPECT_TRUE(form.MenuViewShowGrid()->isChecked());
  EXPECT_EQ(form.PanelAuto()->text(), "Auto Stop");

  answer(true);
  EXPECT_FALSE(form.ShowGrid());
  EXPECT_FALSE(form.SnapGrid());
  EXPECT_FALSE(form.MenuViewShowGrid()->isChecked());
  EXPECT_FALSE(form.MenuViewSnaptoGrid()->isChecked());
  EXPECT_FALSE(form.Preferences().AutoStop);
  EXPECT_EQ(form.PanelAuto()->text(), "Manual Stop");
}

TEST_F(MainFormTest, NewDiscardsTheSetupAndDisablesTheSelectionCommands) {
  TMainForm& form = CreateForm();
  test::AddLowerArchScene(form.Setup());
  form.Setup().Select(form.Setup().ToothList()[0].get());
  // A move of the pointer over the display brings the selection commands up to date.
  EXPECT_FALSE(form.ActionProperties()->isEnabled());
  QTest::mouseMove(form.View().Display(), QPoint(30, 30));
  EXPECT_TRUE(form.ActionProperties()->isEnabled());
  EXPECT_TRUE(form.ActionRemove()->isEnabled());
  form.setWindowTitle("changed");
  form.ActionNew()->trigger();
  EXPECT_TRUE(form.Setup().ToothList().empty());
  EXPECT_TRUE(form.Setup().WireList().empty());
  EXPECT_TRUE(form.Setup().MarkerList().empty());
  EXPECT_FALSE(form.ActionProperties()->isEnabled());
  EXPECT_FALSE(form.ActionRemove()->isEnabled());
  EXPECT_EQ(form.windowTitle(), "Orvela [Untitled]");
}

TEST_F(MainFormTest, HintsReachTheStatusLineAndTooltipsBreakAtDoubleHashes) {
  TMainForm& form = CreateForm();
  QStatusTipEvent tip("Zoom in.");
  QApplication::sendEvent(&form, &tip);
  EXPECT_EQ(form.PanelBottom()->text(), "Zoom in.");

  EXPECT_EQ(THintHandler::ShownTooltip("Show forces##  on teeth##  on wires."),
            "Show forces\n  on teeth\n  on wires.");
  QLabel label("x", &form);
  label.setToolTip("first##second");
  label.show();
  QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), label.mapToGlobal(QPoint(1, 1)));
  QApplication::sendEvent(&label, &help);
  EXPECT_EQ(QToolTip::text(), "first\nsecond");
  QToolTip::hideText();
}

}  // namespace
}  // namespace orvela
