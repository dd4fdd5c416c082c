#include "qt/mainform_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>

#include "files.h"
#include "platform/messages.h"
#include "scenes.h"
#include "util/startup.h"
#include "workspace/view.h"

namespace orvela::test {

void MainFormTest::SetUp() {
  FDir = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(FDir->isValid());
  const std::string root = FDir->path().toStdString();
  QDir(FDir->path()).mkpath("common/Settings");
  QDir(FDir->path()).mkpath("user/Settings");
  FStartup.CommonDataFolder = root + "/common/";
  FStartup.UserDataFolder = root + "/user/";
  FStartup.SettingsIniPath = FStartup.UserDataFolder + "Settings/Orvela.ini";
  SetMessageHook([this](TMessageKind, const QString& text) {
    FMessages.push_back(text);
    return FAnswer;
  });
  SetBeepHook([this] { ++FBeeps; });
}

void MainFormTest::TearDown() {
  FForm.reset();
  SetMessageHook({});
  SetBeepHook({});
  FDir.reset();
}

TMainForm& MainFormTest::CreateForm(bool show) {
  FForm = std::make_unique<TMainForm>(FStartup);
  if (show) {
    FForm->show();
    QApplication::processEvents();
  }
  return *FForm;
}

void MainFormTest::SetDisplaySize(int width, int height) {
  QWidget* display = FForm->View().Display();
  for (int i = 0; i < 5 && display->size() != QSize(width, height); ++i) {
    const QSize delta = QSize(width, height) - display->size();
    FForm->resize(FForm->size() + delta);
    QApplication::processEvents();
  }
  ASSERT_EQ(display->size(), QSize(width, height));
}

TMainForm& MainFormTest::CreateArchFormWithHandles() {
  TMainForm& form = CreateForm();
  SetDisplaySize(804, 506);
  if (!form.ShowGrid()) form.MenuViewShowGrid()->trigger();
  test::AddLowerArchScene(form.Setup());
  form.Setup().Select(form.Setup().ToothList()[3].get());
  return form;
}

void MainFormTest::WaitForRunEnd() {
  EXPECT_TRUE(QTest::qWaitFor([this] { return !FForm->Setup().Running(); }, 120000));
}

void MainFormTest::RunToEnd() {
  FForm->ActionRun()->trigger();
  WaitForRunEnd();
}

void GuiTest::SetUp() {
  MainFormTest::SetUp();
  CreateForm();
  SetDisplaySize(804, 506);
  FGui = std::make_unique<TGuiDriver>(*FForm);
}

void GuiTest::TearDown() {
  FGui.reset();
  MainFormTest::TearDown();
}

void MainFormTest::WriteSettingsFile(const std::string& text) {
  WriteTextFile(FStartup.SettingsIniPath, text);
}

std::string MainFormTest::ReadSettingsFile() const {
  return ReadTextFile(FStartup.SettingsIniPath);
}

}  // namespace orvela::test
