#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTimer>

#include "dialogs/about.h"
#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/toptions.h"

namespace orvela {
namespace {

using MainFormDialogsTest = test::MainFormTest;

// Until the Properties command opens them, the test opens both dialogs on a shared scene.
TEST_F(MainFormDialogsTest, BothDialogsAreCreatedOnceInOrderAndOpenOnTheScene) {
  TMainForm& form = CreateForm();
  ASSERT_NE(form.WireInfo(), nullptr);
  ASSERT_NE(form.ToothInfDlg(), nullptr);
  EXPECT_EQ(form.WireInfo()->parentWidget(), &form);
  EXPECT_EQ(form.ToothInfDlg()->parentWidget(), &form);
  QList<QDialog*> order;
  for (QObject* child : form.children()) {
    if (auto* dialog = qobject_cast<QDialog*>(child)) order.append(dialog);
  }
  ASSERT_EQ(order.size(), 4);
  EXPECT_NE(qobject_cast<TOptionsDialog*>(order[0]), nullptr);
  EXPECT_EQ(order[1], form.WireInfo());
  EXPECT_NE(qobject_cast<TAboutForm*>(order[2]), nullptr);
  EXPECT_EQ(order[3], form.ToothInfDlg());
  // No library beside the test program: the user's copy.
  EXPECT_EQ(form.ToothInfDlg()->LibraryPath(), FStartup.UserDataFolder + "Responce/Orvela.INI");

  test::AddCanineAndPremolarScene(form.Setup());
  TTooth* tooth = form.Setup().ToothList()[0].get();
  TWireStraight* wire = form.Setup().WireList()[0].get();
  for (QDialog* dialog :
       {static_cast<QDialog*>(form.ToothInfDlg()), static_cast<QDialog*>(form.WireInfo())}) {
    form.ToothInfDlg()->SetTooth(tooth);
    form.WireInfo()->SetWire(wire);
    QString shown;
    QPoint offset;
    QTimer::singleShot(0, dialog, [&] {
      shown = dialog == form.WireInfo() ? dialog->findChild<QLabel*>("Length")->text()
                                        : dialog->findChild<QLabel*>("PanelTop")->text();
      offset = dialog->geometry().center() - form.geometry().center();
      dialog->accept();
    });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_FALSE(shown.isEmpty());
    // Centred on the main window.
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
  }
}

}  // namespace
}  // namespace orvela
