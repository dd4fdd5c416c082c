#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>

#include "qt/gui_driver.h"
#include "workspace/mainform.h"

namespace orvela::test {

// A main window on temporary data folders, with message boxes and beeps answered by the
// test: every message is recorded and answered with OK.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates (and shows) the main window; a settings file may be written before. Returns
  // when it is shown.
  TMainForm& CreateForm(bool show = true);
  // Resizes the window until its display has this size.
  void SetDisplaySize(int width, int height);
  // Creates the window with a display of 804 × 506, the grid shown and the eight-tooth arch
  // with the handles of its fourth tooth.
  TMainForm& CreateArchFormWithHandles();
  // Returns once the run in progress has ended (Stop, Auto Stop, closing); fails the test
  // after two minutes.
  void WaitForRunEnd();
  // Run, then WaitForRunEnd.
  void RunToEnd();
  void WriteSettingsFile(const std::string& text);
  std::string ReadSettingsFile() const;

  // Folders inside FDir.
  TStartupValues FStartup;
  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<TMainForm> FForm;
  std::vector<QString> FMessages;
  // What every message box is answered with (a question to save changes among them).
  QMessageBox::StandardButton FAnswer = QMessageBox::Ok;
  int FBeeps = 0;
};

// A shown window whose display is 804 × 506, driven by real events through FGui.
class GuiTest : public MainFormTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  TSetup& Model() { return FForm->Setup(); }

  std::unique_ptr<TGuiDriver> FGui;
};

}  // namespace orvela::test
