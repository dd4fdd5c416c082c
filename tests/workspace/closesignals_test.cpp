#include "platform/closesignals.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
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

// The built program, started offscreen with its documents folder in a temporary folder.
TEST(CloseOnSignalsTest, TheProgramWritesItsSettingsOnTermAndHup) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    const test::TTempFolder home;
    const auto ini = home.Path() / "Documents/Kestrin Orvela/Settings/Orvela.ini";
    test::WriteTextFile(ini, "[View]\nGrid Density=1\n[Foreign]\nkeep=me\n");
    test::WriteTextFile(home.Path() / "common/.keep", "");

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

    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    // Wait until the program handles the signal, then send it.
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!Catches(pid, signal) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(Catches(pid, signal)) << "the program never installed its handler";
    std::this_thread::sleep_for(300ms);  // let the window come up fully
    ASSERT_EQ(::kill(pid, signal), 0);
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline + 30s) {
      std::this_thread::sleep_for(20ms);
    }
    if (done == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      FAIL() << "the program did not end after signal " << signal;
    }
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string text = test::ReadTextFile(ini);
    for (const char* line :
         {"[General]\nOrvela Rect=Default\n", "Auto Stop=1\n", "Grid Density=1\n",
          "[Foreign]\nkeep=me\n", "Draw Forces at Bracket=1\n"}) {
      EXPECT_NE(text.find(line), std::string::npos) << line << " after signal " << signal;
    }
  }
}

}  // namespace
}  // namespace orvela
