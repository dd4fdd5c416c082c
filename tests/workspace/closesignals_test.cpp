#include "platform/closesignals.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include "files.h"

extern char** environ;

namespace orvela {
namespace {

using namespace std::chrono_literals;

class TCountingWindow : public QWidget {
 public:
  int Closes = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++Closes;
    event->accept();
  }
};

void ProcessEventsFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
}

TEST(CloseOnSignalsTest, TermAndHupCloseTheWindowThroughItsCloseEvent) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    TCountingWindow window;
    window.show();
    auto* closer = new TCloseOnSignals(window);
    Q_UNUSED(closer);
    // An open modal dialog is dismissed first; the window closes after its loop returns.
    QDialog dialog(&window);
    QTimer::singleShot(50, [signal] { ::raise(signal); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ProcessEventsFor(100ms);
    EXPECT_EQ(window.Closes, 1) << signal;
    EXPECT_FALSE(window.isVisible());
  }
  // With the window gone the default action is back: a second closer can be made.
  TCountingWindow again;
  EXPECT_NO_THROW(TCloseOnSignals{again});
}

// A dialog that stays open whatever it is told: Cancel, Escape and closing do nothing.
class TStubbornDialog : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

TEST(CloseOnSignalsTest, ADialogThatIgnoresItsRejectionDoesNotKeepTheWindowOpen) {
  TCountingWindow window;
  window.show();
  auto* closer = new TCloseOnSignals(window);
  Q_UNUSED(closer);
  TStubbornDialog dialog(&window);
  bool rescued = false;
  QTimer::singleShot(50, [] { ::raise(SIGTERM); });
  // Should the signal fail, the test ends the dialog itself rather than hang.
  QTimer::singleShot(5000, &dialog, [&] {
    rescued = dialog.isVisible();
    dialog.hide();
  });
  dialog.exec();
  ProcessEventsFor(100ms);
  EXPECT_FALSE(rescued);
  EXPECT_EQ(window.Closes, 1);
  EXPECT_FALSE(window.isVisible());
}

// Whether the process with pid has a handler for signal (a bit of "SigCgt").
bool Catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigCgt:")) {
      const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
      return (mask >> (signal - 1)) & 1u;
    }
  }
  return false;
}

// The built program, started offscreen with its documents folder in home and its standard
// error in home/stderr.txt; once it handles signal, it gets it. The exit status, or nothing
// when it was still running `wait` after the signal (it is then killed).
std::optional<int> RunUntilSignal(const test::TTempFolder& home, int signal,
                                  std::chrono::seconds wait) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const char* name :
         {"HOME=", "XDG_CONFIG_HOME=", "ORVELA_COMMON_APPDATA=", "QT_QPA_PLATFORM="}) {
      replaced = replaced || entry.starts_with(name);
    }
    if (!replaced) env.push_back(entry);
  }
  env.push_back("HOME=" + home.Path().string());
  env.push_back("XDG_CONFIG_HOME=" + (home.Path() / "config").string());
  env.push_back("ORVELA_COMMON_APPDATA=" + (home.Path() / "common").string());
  env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = ORVELA_PROGRAM;
  char* argv[] = {program.data(), nullptr};
  const std::string errors = (home.Path() / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);

  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  ::posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(spawned, 0);
  if (spawned != 0) return std::nullopt;
  // Wait until the program handles the signal, then send it.
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (!Catches(pid, signal) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(Catches(pid, signal)) << "the program never installed its handler";
  std::this_thread::sleep_for(300ms);  // let the window come up fully
  EXPECT_EQ(::kill(pid, signal), 0);
  const auto end = std::chrono::steady_clock::now() + wait;
  int status = 0;
  pid_t done = 0;
  while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(20ms);
  }
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return std::nullopt;
  }
  return status;
}

void WriteHome(const test::TTempFolder& home, const std::string& settings) {
  test::WriteTextFile(home.Path() / "Documents/Kestrin Orvela/Settings/Orvela.ini", settings);
  test::WriteTextFile(home.Path() / "common/.keep", "");
}

TEST(CloseOnSignalsTest, TheProgramWritesItsSettingsOnTermAndHup) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    const test::TTempFolder home;
    WriteHome(home, "[View]\nGrid Density=1\n[Foreign]\nkeep=me\n");
    const std::optional<int> status = RunUntilSignal(home, signal, 30s);
    ASSERT_TRUE(status) << "the program did not end after signal " << signal;
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    const std::string text =
        test::ReadTextFile(home.Path() / "Documents/Kestrin Orvela/Settings/Orvela.ini");
    for (const char* line :
         {"[General]\nOrvela Rect=Default\n", "Auto Stop=1\n", "Grid Density=1\n",
          "[Foreign]\nkeep=me\n", "Draw Forces at Bracket=1\n"}) {
      EXPECT_NE(text.find(line), std::string::npos) << line << " after signal " << signal;
    }
  }
}

// No box waits for a click that nobody gives: the failure goes to standard error.
TEST(CloseOnSignalsTest, SettingsThatCannotBeSavedAreReportedOnStandardError) {
  const test::TTempFolder home;
  WriteHome(home, "[View]\nGrid Density=1\n");
  std::filesystem::permissions(home.Path() / "Documents/Kestrin Orvela/Settings/Orvela.ini",
                               std::filesystem::perms::owner_read);
  const std::optional<int> status = RunUntilSignal(home, SIGTERM, 15s);
  ASSERT_TRUE(status) << "the program did not end after the signal";
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
  const std::string errors = test::ReadTextFile(home.Path() / "stderr.txt");
  EXPECT_NE(errors.find("orvela: Could not save preferences to INI file.\n"), std::string::npos)
      << errors;
}

}  // namespace
}  // namespace orvela
