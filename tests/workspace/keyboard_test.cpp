#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include "mechanics/geometry.h"
#include "platform/help.h"
#include "qt/mainform_fixture.h"
#include "tools/tools.h"
#include "workspace/toothchart.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class KeyboardTest : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
    QApplication::setActiveWindow(FForm.get());
    FForm->View().Display()->setFocus();
  }
  // Key presses where the keyboard sends them: to the open menu's focus widget, else to the
  // focus widget.
  static QWidget* KeyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    }
    return QApplication::focusWidget();
  }
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = KeyTarget();
    if (target == nullptr) target = FForm.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }
  // The key's action fires without running its command, which these tests do not judge.
  int Fires(QAction* action, int key, Qt::KeyboardModifiers modifiers) {
    action->setEnabled(true);
    QObject::disconnect(action, &QAction::triggered, FForm.get(), nullptr);
    QSignalSpy spy(action, &QAction::triggered);
    Press(key, modifiers);
    return static_cast<int>(spy.count());
  }
};

TEST_F(KeyboardTest, CommandsCarryTheirShortcutsAndShowThemInTheMenus) {
  const auto has = [](QAction* action, const char* key) {
    return action->shortcuts().contains(QKeySequence(QString::fromLatin1(key)));
  };
  EXPECT_TRUE(has(FForm->ActionNew(), "Ctrl+N"));
  EXPECT_TRUE(has(FForm->MenuFileExit(), "Ctrl+Q"));
  EXPECT_TRUE(has(FForm->MenuViewZoomIn(), "Ctrl++"));
  EXPECT_TRUE(has(FForm->MenuViewZoomIn(), "Ctrl+="));
  EXPECT_TRUE(has(FForm->MenuViewZoomOut(), "Ctrl+-"));
  EXPECT_TRUE(has(FForm->MenuCopyasPicture(), "Ctrl+Shift+C"));
  EXPECT_TRUE(has(FForm->ActionProperties(), "Alt+Return"));
  EXPECT_TRUE(has(FForm->MenuEditOptions(), "Ctrl+,"));
  EXPECT_EQ(FForm->ActionRun()->shortcut(), QKeySequence("F5"));
  // The menu shows the first: Shift+F5; Escape stops too.
  EXPECT_EQ(FForm->ActionStop()->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Shift+F5"), QKeySequence("Esc")}));
  EXPECT_EQ(FForm->ActionRemove()->shortcut(), QKeySequence("Del"));
  EXPECT_TRUE(has(FForm->ActionPrint(), "Ctrl+P"));
  EXPECT_TRUE(has(FForm->ActionUndoLast(), "Ctrl+Z"));
  EXPECT_TRUE(has(FForm->ActionRedoLast(), "Ctrl+Shift+Z"));
  EXPECT_TRUE(has(FForm->ActionOpen(), "Ctrl+O"));
  EXPECT_TRUE(has(FForm->ActionSave(), "Ctrl+S"));
  EXPECT_TRUE(has(FForm->MenuFileSaveAs(), "Ctrl+Shift+S"));
  // A menu item shows its key beside its caption.
  EXPECT_TRUE(FForm->MenuEdit()->actions().contains(FForm->MenuEditOptions()));
  EXPECT_FALSE(FForm->MenuEditOptions()->shortcut().toString(QKeySequence::NativeText).isEmpty());

  EXPECT_EQ(Fires(FForm->MenuCopyasPicture(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier),
            1);
  EXPECT_EQ(Fires(FForm->ActionProperties(), Qt::Key_Return, Qt::AltModifier), 1);
  EXPECT_EQ(Fires(FForm->MenuEditOptions(), Qt::Key_Comma, Qt::ControlModifier), 1);
  EXPECT_EQ(Fires(FForm->ActionNew(), Qt::Key_N, Qt::ControlModifier), 1);
  EXPECT_EQ(Fires(FForm->MenuFileExit(), Qt::Key_Q, Qt::ControlModifier), 1);
}

TEST_F(KeyboardTest, ZoomKeysStepTheZoomBox) {
  ASSERT_EQ(FForm->View().ZoomValue(), 1500);
  Press(Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(FForm->View().ZoomValue(), 2000);
  Press(Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(FForm->View().ZoomValue(), 3000);
  Press(Qt::Key_Minus, Qt::ControlModifier);
  Press(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(FForm->View().ZoomValue(), 1500);
  EXPECT_EQ(FForm->View().ZoomCB()->currentText(), "150%");
}

TEST_F(KeyboardTest, F5RunsAndEscapeOrShiftF5StopsWhileTheMenusKeysRest) {
  FForm->PanelAutoDblClick();  // no Auto Stop: the run goes on until stopped
  ASSERT_FALSE(FForm->Preferences().AutoStop);
  QSignalSpy stops(FForm->ActionStop(), &QAction::triggered);
  Press(Qt::Key_Escape);  // Stop is disabled: Escape does nothing outside a run
  EXPECT_EQ(stops.count(), 0);

  for (const auto& [key, modifiers] :
       {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
        std::pair{Qt::Key_F5, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
    std::int32_t zoomDuringRun = 0;
    int newDuringRun = 0;
    QSignalSpy news(FForm->ActionNew(), &QAction::triggered);
    auto* duringRun = new QTimer(FForm.get());
    duringRun->setInterval(0);
    bool pressed = false;
    QObject::connect(duringRun, &QTimer::timeout, duringRun,
                     [&, duringRun, key = key, modifiers = modifiers] {
                       // Once: the timer may fire again before it is deleted.
                       if (pressed || FForm->RunSteps() < 1) return;
                       pressed = true;
                       duringRun->deleteLater();
                       // The View menu is disabled during a run, and so are its keys; New
                       // stays.
                       Press(Qt::Key_Equal, Qt::ControlModifier);
                       zoomDuringRun = FForm->View().ZoomValue();
                       Press(Qt::Key_N, Qt::ControlModifier);
                       newDuringRun = static_cast<int>(news.count());
                       Press(key, modifiers);
                     });
    duringRun->start();
    Press(Qt::Key_F5);
    WaitForRunEnd();
    EXPECT_GE(FForm->RunSteps(), 1);
    EXPECT_FALSE(FForm->Setup().Running());
    EXPECT_TRUE(FForm->ActionRun()->isEnabled());
    EXPECT_EQ(zoomDuringRun, 1500);
    EXPECT_EQ(newDuringRun, 1);
  }
  EXPECT_EQ(stops.count(), 2);
  // After the run the View keys work again.
  Press(Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(FForm->View().ZoomValue(), 2000);
}

TEST_F(KeyboardTest, TheAddToothChartIsUsedWithArrowsAndEnterLikeAMenu) {
  const std::vector<QAction*>& teeth = FForm->ToothChart()->ToothActions();
  ASSERT_EQ(teeth.size(), 8U);
  for (QAction* tooth : teeth)
    QObject::disconnect(tooth, &QAction::triggered, FForm.get(), nullptr);
  QSignalSpy picked44(teeth[2], &QAction::triggered);
  QSignalSpy picked33(teeth[4], &QAction::triggered);

  // Alt+E opens the Edit menu, Return the Add Tooth submenu with its chart.
  Press(Qt::Key_E, Qt::AltModifier);
  auto* edit = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_EQ(edit, FForm->MenuEdit());
  ASSERT_EQ(edit->activeAction(), FForm->MenuToothAdd()->menuAction());
  QTest::keyClick(edit, Qt::Key_Right);
  ASSERT_EQ(QApplication::activePopupWidget(), FForm->MenuToothAdd());
  QWidget* chart = KeyTarget();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->objectName(), "ToothChart");

  // The first tooth is current; two steps right is 44, shown in the menu's highlight.
  Press(Qt::Key_Right);
  Press(Qt::Key_Right);
  auto* button44 = chart->findChildren<QToolButton*>().at(0);
  for (QToolButton* b : chart->findChildren<QToolButton*>()) {
    if (b->defaultAction() == teeth[2]) button44 = b;
  }
  EXPECT_EQ(button44->backgroundRole(), QPalette::Highlight);
  Press(Qt::Key_Return);
  EXPECT_EQ(picked44.count(), 1);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // picking closes the menus

  // Again, with the keys Down and Enter across the midline to 33; Up goes back one.
  Press(Qt::Key_E, Qt::AltModifier);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
  for (int i = 0; i < 5; ++i) Press(Qt::Key_Down);
  Press(Qt::Key_Up);
  Press(Qt::Key_Enter);
  EXPECT_EQ(picked33.count(), 1);
  EXPECT_EQ(picked44.count(), 1);

  // Escape closes the chart like any submenu.
  Press(Qt::Key_E, Qt::AltModifier);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
  Press(Qt::Key_Escape);
  EXPECT_EQ(QApplication::activePopupWidget(), FForm->MenuEdit());
  Press(Qt::Key_Escape);
}

TEST_F(KeyboardTest, TheDisplayWalksTheSelectionAndEachArrowIsOneUndoStep) {
  FForm->MenuAddToothClick(43);
  FForm->MenuAddToothClick(44);
  const int steps = FForm->UndoStack().count();
  FForm->View().Display()->setFocus();
  Press(Qt::Key_Tab);
  TTooth* first = FForm->Setup().ToothList()[0].get();
  ASSERT_EQ(FForm->Setup().SelectedTooth(), first);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(FForm->Setup().SelectedTooth(), FForm->Setup().ToothList()[1].get());
  Press(Qt::Key_Tab);
  ASSERT_EQ(FForm->Setup().SelectedTooth(), first);
  EXPECT_EQ(QApplication::focusWidget(), FForm->View().Display());

  const TPointDouble start = first->cRes();
  Press(Qt::Key_Right);
  Press(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_DOUBLE_EQ(first->cRes().x, start.x + 1.0);   // 0.1 mm
  EXPECT_DOUBLE_EQ(first->cRes().y, start.y + 10.0);  // 1 mm
  const double tip = first->Tip();
  Press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_NEAR(tip - first->Tip(), 5.0 * Pi / 180.0, 1e-9);
  EXPECT_EQ(FForm->PanelBottom()->text().toStdString(), AngulationReadout(first->Tip()));
  EXPECT_EQ(FForm->UndoStack().count(), steps + 3);
  EXPECT_EQ(FForm->UndoStack().undoText(), "Rotate Tooth");
  FForm->UndoStack().undo();
  FForm->UndoStack().undo();
  EXPECT_EQ(FForm->UndoStack().undoText(), "Move Tooth");
  EXPECT_DOUBLE_EQ(FForm->Setup().ToothList()[0]->cRes().y, start.y);
}

// F1 on the display opens the main window's topic, F1 in the Add Tooth chart its own (closing
// the menus), and Help > Contents the contents.
TEST_F(KeyboardTest, F1OpensTheTopicOfWhereTheKeyboardIsAndContentsTheContents) {
  const auto topic = [this] {
    auto* help = FForm->findChild<QWidget*>("HelpWindow");
    return help != nullptr && help->isVisible()
               ? help->findChild<QTextBrowser*>("HelpBrowser")->source().fragment()
               : QString();
  };
  Press(Qt::Key_F1);
  EXPECT_EQ(topic(), HelpMainWindow);

  QApplication::setActiveWindow(FForm.get());
  FForm->View().Display()->setFocus();
  Press(Qt::Key_E, Qt::AltModifier);
  ASSERT_EQ(QApplication::activePopupWidget(), FForm->MenuEdit());
  QTest::keyClick(FForm->MenuEdit(), Qt::Key_Right);
  ASSERT_EQ(QApplication::activePopupWidget(), FForm->MenuToothAdd());
  Press(Qt::Key_F1);
  EXPECT_EQ(topic(), HelpAddTooth);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  ASSERT_TRUE(FForm->ActionHelp()->isEnabled());
  FForm->ActionHelp()->trigger();
  EXPECT_EQ(topic(), HelpContents);
}

}  // namespace
}  // namespace orvela
