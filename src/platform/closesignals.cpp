#include "platform/closesignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "platform/messages.h"

namespace orvela {

namespace {

// The self-pipe: [0] read by the event loop, [1] written by the handler.
std::array<int, 2> SignalPipe{-1, -1};

constexpr std::array<int, 2> ClosingSignals{SIGTERM, SIGHUP};

extern "C" void WriteSignalToPipe(int signal) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(signal);
  // Non-blocking: with the pipe full a close is pending anyway.
  [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
  errno = savedErrno;
}

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

TCloseOnSignals::TCloseOnSignals(QWidget& window) : QObject(&window), FWindow(window) {
  if (SignalPipe[0] >= 0) throw std::logic_error("signals are already turned into a close");
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0) {
    throw std::runtime_error("no pipe for the close signals");
  }
  SignalPipe = {fds[0], fds[1]};
  FNotifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
  connect(FNotifier, &QSocketNotifier::activated, this, &TCloseOnSignals::SignalArrived);
  for (const int signal : ClosingSignals) SetHandler(signal, WriteSignalToPipe);
}

TCloseOnSignals::~TCloseOnSignals() {
  SetMessagesToStandardError(false);
  for (const int signal : ClosingSignals) SetHandler(signal, SIG_DFL);
  delete FNotifier;
  FNotifier = nullptr;
  for (int& fd : SignalPipe) {
    ::close(fd);
    fd = -1;
  }
}

void TCloseOnSignals::SignalArrived() {
  std::array<unsigned char, 64> drained{};
  while (::read(SignalPipe[0], drained.data(), drained.size()) > 0) {
  }
  // A message box on the way out (preferences that cannot be saved) would keep the program
  // alive until someone clicks it.
  SetMessagesToStandardError(true);
  // A modal loop on the stack would keep the window from closing: dismiss every open
  // dialog, innermost first; the window closes once the loops have returned.
  for (int guard = 0; guard < 16; ++guard) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == &FWindow) break;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
      // A box that ignores the rejection is hidden all the same.
      if (dialog->isVisible()) dialog->hide();
    } else {
      modal->close();
      if (modal->isVisible()) modal->hide();
    }
  }
  QTimer::singleShot(0, &FWindow, [window = &FWindow] {
    if (window->isVisible()) window->close();
  });
}

}  // namespace orvela
