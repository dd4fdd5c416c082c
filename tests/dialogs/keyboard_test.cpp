// Both dialogs from the keyboard alone: Tab reaches every control, the access letters reach
// the lists, and the response curve's points move with the arrow keys.
#include <gtest/gtest.h>
#include <set>

#include <QComboBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "dialog_fixture.h"
#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "scenes.h"

namespace orvela {
namespace {

class DialogKeyboardTest : public test::DialogTest {
 protected:
  // The object names of the controls that Tab visits, starting from the focus.
  static std::set<QString> TabWalk(int presses) {
    std::set<QString> reached;
    for (int i = 0; i < presses; ++i) {
      QWidget* focus = QApplication::focusWidget();
      if (focus == nullptr) break;
      reached.insert(focus->objectName());
      QTest::keyClick(focus, Qt::Key_Tab);
    }
    return reached;
  }

  static void Activate(QDialog& dialog) {
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
};

TEST_F(DialogKeyboardTest, WireDialogListsAreReachedByTabAndTheirLetters) {
  TWireStraight wire;
  TWireInfo dialog;
  dialog.SetWire(&wire);
  Exec(dialog, [&] {
    Activate(dialog);
    const std::set<QString> reached = TabWalk(8);
    for (const char* name : {"WireMaterialCB", "WireSizeCB", "OKBut", "HelpBut"}) {
      EXPECT_TRUE(reached.contains(QLatin1String(name))) << name;
    }
    auto* material = Find<QComboBox>(dialog, "WireMaterialCB");
    auto* size = Find<QComboBox>(dialog, "WireSizeCB");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), size);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), material);
    // The arrow changes the wire's material, as a pick with the mouse does.
    material->setCurrentIndex(0);
    QTest::keyClick(material, Qt::Key_Down);
    EXPECT_EQ(wire.MaterialName(), material->itemText(1).toStdString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
  });
}

TEST_F(DialogKeyboardTest, ToothDialogSupportAndCurvePointsFromTheKeyboard) {
  TSetup scene;
  test::AddCanineAndPremolarScene(scene);
  TTooth& tooth = *scene.ToothList()[0];
  TToothInfDlg dialog;
  dialog.SetLibraryPath(FLibrary);
  dialog.SetTooth(&tooth);
  Exec(dialog, [&] {
    Activate(dialog);
    const std::set<QString> tooth_page = TabWalk(14);
    for (const char* name : {"ScrollBarRoot", "Ankylosed", "OKBut", "HelpBut"}) {
      EXPECT_TRUE(tooth_page.contains(QLatin1String(name))) << name;
    }
    auto* support = Find<QScrollBar>(dialog, "ScrollBarRoot");
    support->setFocus(Qt::TabFocusReason);
    const int before = support->value();
    QTest::keyClick(support, Qt::Key_PageDown);
    EXPECT_GT(support->value(), before);

    // Ctrl+Tab turns to the Perio page; Tab walks into the editor and through its points.
    QTest::keyClick(support, Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Find<QTabWidget>(dialog, "PageControl1")->currentIndex(), 1);
    const std::set<QString> perio_page = TabWalk(16);
    for (const char* name : {"PerioDisplay", "ResponceCB", "ButSaveResponce"}) {
      EXPECT_TRUE(perio_page.contains(QLatin1String(name))) << name;
    }
    QWidget* editor = Find<QWidget>(dialog, "PerioDisplay");
    editor->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dialog.PerioKeyIndex(), 0);
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(dialog.PerioKeyIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    const TPoint start = tooth.Responce[1];  // (25, 75) by default
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(tooth.Responce[1].y, start.y + 1);
    EXPECT_EQ(tooth.Responce[1].x, start.x + 10);
    // The limits of a drag: not past the next point in x, not above the square.
    for (int i = 0; i < 5; ++i) QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    for (int i = 0; i < 5; ++i) QTest::keyClick(editor, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(tooth.Responce[1].x, tooth.Responce[2].x);
    EXPECT_EQ(tooth.Responce[1].y, ResponceExtent);
    // Past the last point Tab leaves the editor; Shift+Tab comes back on the last point.
    for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), editor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(dialog.PerioKeyIndex(), 4);
  });
}

}  // namespace
}  // namespace orvela
