#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QUndoStack>

#include "document/setupdoc.h"
#include "files.h"
#include "platform/closesignals.h"
#include "platform/messages.h"
#include "qt/gui_driver.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class DocumentTest : public test::GuiTest {
 protected:
  TSetupDocument Now() { return CaptureSetup(Model()); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(FForm.get(), key, modifiers);
  }
  QString PathOf(const char* name) const { return FDir->filePath(QString::fromLatin1(name)); }
};

TEST_F(DocumentTest, UndoAndRedoStepThroughEveryKindOfAction) {
  std::vector<TSetupDocument> states{Now()};
  const auto done = [&] { states.push_back(Now()); };
  FGui->AddTooth(33);
  done();
  FGui->AddTooth(34);
  done();
  TTooth* premolar = Model().ToothList()[1].get();
  FGui->Click(premolar->cRes());
  FGui->Drag(premolar->cRes(), MakePointDouble(premolar->cRes().x + 100, premolar->cRes().y));
  done();
  EXPECT_EQ(FForm->ActionUndoLast()->text(), "&Undo Move Tooth");
  FGui->ChooseMenu("&Edit", "Add &Wire");
  done();
  TWireStraight* wire = Model().WireList()[0].get();
  FGui->Click(wire->Attachments[0]->Origin());
  ASSERT_EQ(Model().SelectedWire(), wire);
  FGui->Drag(wire->Attachments[0]->Origin(),
             test::AttachmentOf(*Model().ToothList()[0], "Mesial").Origin());
  done();
  FGui->ChooseMenu("&Ortho", "Set as Re&ference");
  done();
  FGui->Click(MakePointDouble(900, 100));  // selects nothing: no step
  FGui->Click(wire->Attachments[1]->Origin());
  ASSERT_EQ(Model().SelectedWire(), wire);
  FGui->KeyOnDisplay(Qt::Key_Delete);
  done();
  FAnswer = QMessageBox::Discard;  // New asks about the unsaved setup
  FForm->ActionNew()->trigger();
  done();
  ASSERT_EQ(FForm->UndoStack().count(), static_cast<int>(states.size()) - 1);

  for (std::size_t i = states.size() - 1; i > 0; --i) {
    Key(Qt::Key_Z);
    EXPECT_EQ(Now(), states[i - 1]) << i;
  }
  EXPECT_TRUE(Model().ToothList().empty());
  EXPECT_FALSE(FForm->ActionUndoLast()->isEnabled());
  for (std::size_t i = 1; i < states.size(); ++i) {
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Now(), states[i]) << i;
  }
  // Undo keeps the selection on the same object: the removed wire comes back selected.
  Key(Qt::Key_Z);
  Key(Qt::Key_Z);
  ASSERT_EQ(Model().WireList().size(), 1U);
  EXPECT_EQ(Model().SelectedWire(), Model().WireList()[0].get());
}

TEST_F(DocumentTest, SavingAndOpeningGiveTheSameSetupAndForces) {
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  const TSetupDocument before = Now();
  const std::string info = Model().WireList()[0]->Info();
  const QString path = PathOf("arch.orvela");
  ASSERT_TRUE(FForm->SaveFile(path));
  EXPECT_EQ(FForm->windowTitle(), "Orvela [arch.orvela]");
  FForm->ActionNew()->trigger();
  EXPECT_TRUE(Model().ToothList().empty());
  ASSERT_TRUE(FForm->OpenFile(path));
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(Model().WireList()[0]->Info(), info);
  EXPECT_EQ(FForm->windowTitle(), "Orvela [arch.orvela]");
  EXPECT_EQ(FForm->Preferences().RecentFiles.front(), path.toStdString());

  // A bad file names itself and its first problem; the setup stays as it was.
  test::WriteTextFile(PathOf("bad.orvela").toStdString(), "{\"format\": \"orvela-setup\"");
  FMessages.clear();
  EXPECT_FALSE(FForm->OpenFile(PathOf("bad.orvela")));
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_TRUE(FMessages[0].contains("bad.orvela")) << FMessages[0].toStdString();
  EXPECT_EQ(Now(), before);

  // A file that cannot be written says so and the setup stays modified.
  FGui->AddTooth(35);
  FMessages.clear();
  EXPECT_FALSE(FForm->SaveFile(PathOf("missing/folder/x.orvela")));
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_TRUE(FMessages[0].contains("x.orvela"));
  EXPECT_TRUE(FForm->windowTitle().endsWith("*]"));
}

TEST_F(DocumentTest, UnsavedChangesAreAskedAboutBeforeNewAndClosing) {
  FForm->ActionNew()->trigger();
  EXPECT_TRUE(FMessages.empty());  // nothing to save, nothing asked
  FGui->AddTooth(33);
  FAnswer = QMessageBox::Cancel;
  FForm->ActionNew()->trigger();
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_EQ(FMessages[0], "Save changes to Untitled?");
  EXPECT_EQ(Model().ToothList().size(), 1U);
  EXPECT_FALSE(FForm->close());
  EXPECT_TRUE(FForm->isVisible());

  FAnswer = QMessageBox::Discard;
  FForm->ActionNew()->trigger();
  EXPECT_TRUE(Model().ToothList().empty());
  EXPECT_EQ(FForm->windowTitle(), "Orvela [Untitled]");

  // Save writes the setup's own file without a dialog, then the window closes.
  FGui->AddTooth(34);
  ASSERT_TRUE(FForm->SaveFile(PathOf("kept.orvela")));
  FGui->AddTooth(35);
  FAnswer = QMessageBox::Save;
  FMessages.clear();
  EXPECT_TRUE(FForm->close());
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_EQ(FMessages[0], "Save changes to kept.orvela?");
  EXPECT_TRUE(test::ReadTextFile(PathOf("kept.orvela").toStdString()).find("35") !=
              std::string::npos);
}

TEST_F(DocumentTest, ASignalKeepsUnsavedWorkForTheNextStart) {
  test::AddCanineAndPremolarScene(Model());
  FGui->AddTooth(36);
  const TSetupDocument before = Now();
  const auto* closer = new TCloseOnSignals(*FForm);
  Q_UNUSED(closer);
  ::raise(SIGTERM);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !FForm->isVisible(); }, 5000));
  const QString recovery = FForm->RecoveryPath();
  EXPECT_TRUE(QFileInfo::exists(recovery));

  // The next start offers it; Yes brings the work back, still unsaved.
  FForm.reset();
  FMessages.clear();
  FAnswer = QMessageBox::Yes;
  CreateForm();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !FMessages.empty(); }, 5000));
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_TRUE(FMessages[0].contains("Restore")) << FMessages[0].toStdString();
  EXPECT_EQ(Now(), before);
  EXPECT_TRUE(FForm->windowTitle().endsWith("*]"));
  // A save removes the copy.
  ASSERT_TRUE(FForm->SaveFile(PathOf("saved.orvela")));
  EXPECT_FALSE(QFileInfo::exists(recovery));
}

}  // namespace
}  // namespace orvela
